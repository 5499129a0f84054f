#include "crypto/text_cipher.h"

#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "tests/unit/crypto/openssl_des.h"

namespace {

using crypto::DecryptText;
using crypto::EncryptText;
using crypto::FoldKey;
using crypto::KeyBlock;

// The text form built from OpenSSL: zero padding to whole blocks, at least one, hexadecimal.
std::string ReferenceCipherText(std::string_view plain, const KeyBlock& key) {
  std::string padded(plain);
  padded.resize(std::max<std::size_t>(8, (plain.size() + 7) / 8 * 8), '\0');
  return reference::Hex(reference::DesEcbEncrypt(key, padded));
}

KeyBlock Bytes(std::initializer_list<int> values) {
  KeyBlock key{};
  std::size_t i = 0;
  for (int v : values) key[i++] = static_cast<std::uint8_t>(v);
  return key;
}

TEST(FoldKey, AddsCharacterIIntoKeyByteIModEightWrappingAt256) {
  EXPECT_EQ(FoldKey(""), KeyBlock{});
  EXPECT_EQ(FoldKey("zyq"), Bytes({0, 'z', 'y', 'q', 0, 0, 0, 0}));
  EXPECT_EQ(FoldKey("12345678"), Bytes({'8', '1', '2', '3', '4', '5', '6', '7'}));
  EXPECT_EQ(FoldKey("123456789"), Bytes({'8', '1' + '9', '2', '3', '4', '5', '6', '7'}));
  EXPECT_EQ(FoldKey("\xF0"
                    "2345678\x20"),
            Bytes({'8', 0x10, '2', '3', '4', '5', '6', '7'}));
  // 17 characters: the first, ninth and seventeenth all land in byte 1.
  const int twoZeros = 2 * '0';
  EXPECT_EQ(FoldKey("\x80"
                    "0000000"
                    "\x80"
                    "0000000"
                    "\x01"),
            Bytes({twoZeros, 0x01, twoZeros, twoZeros, twoZeros, twoZeros, twoZeros, twoZeros}));
}

TEST(EncryptText, IsZeroPaddedDesEcbInUpperCaseHexWithAtLeastOneBlock) {
  const std::string key = "48213957";
  const struct {
    std::string plain;
    std::size_t digits;
  } cases[] = {{"", 16},
               {"a", 16},
               {"1234567", 16},
               {"12345678", 16},
               {"123456789", 32},
               {"0123456789abcdef", 32},
               {"0123456789abcdefg", 48},
               {"\xC3\xDC\xC2\xEB", 16}};
  for (const auto& c : cases) {
    SCOPED_TRACE("plain of " + std::to_string(c.plain.size()) + " bytes");
    const std::string cipher = EncryptText(c.plain, key);
    EXPECT_EQ(cipher.size(), c.digits);
    EXPECT_EQ(cipher.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_EQ(cipher, ReferenceCipherText(c.plain, FoldKey(key)));
  }
  // The empty text is the encipherment of one block of zeros, here under the all-zero key.
  EXPECT_EQ(EncryptText("", ""), "8CA64DE9C1B123A7");
}

TEST(EncryptText, IsDeterministicAndDependsOnTheKey) {
  EXPECT_EQ(EncryptText("same password", "12345"), EncryptText("same password", "12345"));
  EXPECT_NE(EncryptText("same password", "12345"), EncryptText("same password", "12346"));
  EXPECT_NE(EncryptText("same password", "12345"), EncryptText("same passwore", "12345"));
}

TEST(EncryptText, KeysDifferingOnlyInParityBitsGiveTheSameCipherText) {
  // 'a' (0x61) and '`' (0x60), '3' (0x33) and '2' (0x32) differ in the least significant bit.
  EXPECT_EQ(EncryptText("secret", "a3"), EncryptText("secret", "`2"));
  // After wrapping, byte 1 is 0x01 + 0x00 in one key and 0x01 + 0xFF = 0x00 in the other.
  EXPECT_EQ(EncryptText("secret", std::string("\x01"
                                              "2345678\x00",
                                              9)),
            EncryptText("secret",
                        "\x01"
                        "2345678\xFF"));
}

TEST(DecryptText, InvertsEncryptTextForTextsWithoutZeroBytes) {
  const std::string texts[] = {"",
                               "a",
                               "1234567",
                               "12345678",
                               "123456789",
                               "0123456789abcdef",
                               "\xC3\xDC\xC2\xEB",
                               "p@ss w0rd; 'quoted' \"too\"",
                               std::string(1000, '\xFF')};
  const std::string keys[] = {"", "zyq", "48213957", "a key text longer than eight characters"};
  for (const auto& key : keys) {
    for (const auto& text : texts) {
      EXPECT_EQ(DecryptText(EncryptText(text, key), key), text) << "key '" << key << "' text of " << text.size();
    }
  }
}

TEST(DecryptText, CutsTheResultAtTheFirstZeroByte) {
  const std::string key = "7";
  EXPECT_EQ(DecryptText(EncryptText(std::string("ab\0cd", 5), key), key), "ab");
  EXPECT_EQ(DecryptText(EncryptText(std::string("12345678\0"
                                                "9abcdefg",
                                                17),
                                    key),
                        key),
            "12345678");
  EXPECT_EQ(DecryptText(EncryptText(std::string("\0xyz", 4), key), key), "");
}

TEST(DecryptText, ReadsHexadecimalLeniently) {
  const std::string key = "90210";
  const std::string cipher = EncryptText("lenient reading", key);  // 32 digits
  std::string lower = cipher;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(DecryptText(lower, key), "lenient reading");

  // A last single digit is one byte of its own; a short last block is filled up with zeros.
  const KeyBlock folded = FoldKey(key);
  const std::string block = cipher.substr(0, 16);
  const std::string firstPlain = reference::DesEcbDecrypt(folded, reference::Unhex(block));
  auto cut = [](std::string s) { return s.substr(0, s.find('\0')); };
  EXPECT_EQ(DecryptText(block + "7", key),
            firstPlain + cut(reference::DesEcbDecrypt(folded, reference::Unhex("0700000000000000"))));
  EXPECT_EQ(DecryptText(block + "ABCD", key),
            firstPlain + cut(reference::DesEcbDecrypt(folded, reference::Unhex("ABCD000000000000"))));
  EXPECT_EQ(DecryptText("5", key), cut(reference::DesEcbDecrypt(folded, reference::Unhex("0500000000000000"))));

  // Anything that is not a hexadecimal digit, anywhere, gives the empty text.
  for (const std::string& bad : {std::string(), cipher.substr(0, 15) + "G", " " + cipher, cipher + " ",
                                 cipher.substr(0, 8) + " " + cipher.substr(9), cipher + "-", "0x" + cipher,
                                 cipher.substr(0, 16) + std::string(1, '\0') + cipher.substr(17), cipher + "\xA3"}) {
    EXPECT_EQ(DecryptText(bad, key), "") << "cipher text '" << bad << "'";
  }
}

TEST(DecryptText, GivesATextWithoutZeroBytesForAnyInput) {
  std::mt19937 random(936);
  const std::string alphabet = "0123456789ABCDEFabcdef";
  for (int i = 0; i < 20000; ++i) {
    const std::size_t length = random() % 80;
    std::string input;
    const bool hexOnly = random() % 4 != 0;
    for (std::size_t j = 0; j < length; ++j) {
      input += hexOnly ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
    }
    const std::string key(random() % 20, static_cast<char>(random() % 256));
    const std::string plain = DecryptText(input, key);
    ASSERT_EQ(plain.find('\0'), std::string::npos) << "input '" << input << "'";
    ASSERT_LE(plain.size(), (input.size() + 1) / 2 + 7);
    if (input.find_first_not_of(alphabet) != std::string::npos || input.empty()) {
      ASSERT_EQ(plain, "");
    }
  }
  const std::string huge(4'000'001, 'f');
  EXPECT_LE(DecryptText(huge, "k").size(), 2'000'008u);
}

}  // namespace
