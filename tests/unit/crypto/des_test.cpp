#include "crypto/des.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/unit/crypto/openssl_des.h"

namespace {

using crypto::Block;
using crypto::CryptBlock;
using crypto::KeyBlock;
using crypto::MakeSubkeys;

template <typename T>
T FromHex(const std::string& hex) {
  const std::string bytes = reference::Unhex(hex);
  T out{};
  for (std::size_t i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(bytes[i]);
  return out;
}

std::string ToHex(const Block& block) {
  return reference::Hex(std::string_view(reinterpret_cast<const char*>(block.data()), block.size()));
}

struct KnownAnswer {
  const char* key;
  const char* plain;
  const char* cipher;
};

// The worked FIPS example, the classic "Now is t" vector, and samples of the NBS validation
// tables: variable plain text, variable key, permutation and S-box tests.
constexpr KnownAnswer kKnownAnswers[] = {
    {"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"},
    {"0123456789ABCDEF", "4E6F772069732074", "3FA40E8A984D4815"},
    {"0E329232EA6D0D73", "8787878787878787", "0000000000000000"},
    {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
    {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
    {"0101010101010101", "2000000000000000", "2E8653104F3834EA"},
    {"0101010101010101", "1000000000000000", "4BD388FF6CD81D4F"},
    {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
    {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
    {"2001010101010101", "0000000000000000", "7AD16FFB79C45926"},
    {"1046913489980131", "0000000000000000", "88D55E54F54C97B4"},
    {"1007103489988020", "0000000000000000", "0C0CC00C83EA48FD"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
    {"07A1133E4A0B2686", "0248D43806F67172", "868EBB51CAB4599A"},
};

TEST(Des, ReproducesPublishedVectorsAndDecryptionOrderInvertsThem) {
  for (const KnownAnswer& v : kKnownAnswers) {
    SCOPED_TRACE(std::string("key ") + v.key + " plain " + v.plain);
    const auto key = FromHex<KeyBlock>(v.key);
    const Block cipher = CryptBlock(MakeSubkeys(key, true), FromHex<Block>(v.plain));
    EXPECT_EQ(ToHex(cipher), v.cipher);
    EXPECT_EQ(ToHex(CryptBlock(MakeSubkeys(key, false), cipher)), v.plain);
  }
}

TEST(Des, DecryptionOrderIsTheEncryptionOrderReversed) {
  const auto key = FromHex<KeyBlock>("133457799BBCDFF1");
  const auto encrypt = MakeSubkeys(key, true);
  const auto decrypt = MakeSubkeys(key, false);
  for (std::size_t r = 0; r < 16; ++r) EXPECT_EQ(encrypt.round[r], decrypt.round[15 - r]) << "round " << r;
}

TEST(Des, IgnoresTheParityBitOfEveryKeyByte) {
  const auto key = FromHex<KeyBlock>("133457799BBCDFF1");
  const auto plain = FromHex<Block>("0123456789ABCDEF");
  for (std::size_t i = 0; i < 8; ++i) {
    KeyBlock flipped = key;
    flipped[i] ^= 1;
    EXPECT_EQ(ToHex(CryptBlock(MakeSubkeys(flipped, true), plain)), "85E813540F0AB405") << "byte " << i;
  }
}

TEST(Des, AgreesWithOpenSslOnRandomKeysAndBlocks) {
  std::mt19937_64 random(20130204);
  auto randomBlock = [&] {
    Block b;
    const std::uint64_t word = random();
    for (std::size_t i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(word >> (8 * i));
    return b;
  };
  for (int i = 0; i < 4000; ++i) {
    const KeyBlock key = randomBlock();
    const Block plain = randomBlock();
    const Block cipher = CryptBlock(MakeSubkeys(key, true), plain);
    ASSERT_EQ(ToHex(cipher), ToHex(reference::EncryptBlock(key, plain))) << "key " << ToHex(key);
    ASSERT_EQ(ToHex(CryptBlock(MakeSubkeys(key, false), cipher)), ToHex(plain)) << "key " << ToHex(key);
  }
}

}  // namespace
