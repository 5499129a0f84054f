#include "crypto/key_derivation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>

#include "crypto/held_key.h"

namespace crypto {
namespace {

TEST(KeySalt, CarriesTheParameterSetNumberAndFourteenRandomBytes) {
  const KeySalt first = NewKeySalt(kFileKeyParameters);
  const KeySalt second = NewKeySalt(kFileKeyParameters);
  EXPECT_EQ(first[0], 0x00);
  EXPECT_EQ(first[1], 0x01);
  EXPECT_EQ(SaltParameterNumber(first), 1);
  EXPECT_FALSE(std::equal(first.begin() + 2, first.end(), second.begin() + 2));
  EXPECT_EQ(SaltParameterNumber(NewKeySalt(kTestKeyParameters)), kTestKeyParameters.number);
  EXPECT_EQ(SaltParameterNumber(KeySalt{0x12, 0x34}), 0x1234);
}

TEST(DeriveFileKey, DependsOnPasswordSaltAndCostsAlone) {
  const KeySalt salt = NewKeySalt(kTestKeyParameters);
  const HeldKey key = DeriveFileKey("Secret42", salt, kTestKeyParameters);
  EXPECT_TRUE(SameKey(key, DeriveFileKey("Secret42", salt, kTestKeyParameters)));
  EXPECT_FALSE(SameKey(key, DeriveFileKey("Secret43", salt, kTestKeyParameters)));
  EXPECT_FALSE(SameKey(key, DeriveFileKey("Secret42", NewKeySalt(kTestKeyParameters), kTestKeyParameters)));
  KeyDerivationParameters twoPasses = kTestKeyParameters;
  twoPasses.passes = 2;
  EXPECT_FALSE(SameKey(key, DeriveFileKey("Secret42", salt, twoPasses)));
  const HeldKey zero;
  EXPECT_FALSE(SameKey(key, zero));

  KeyDerivationParameters impossible = kTestKeyParameters;
  impossible.lanes = 0;
  EXPECT_THROW(DeriveFileKey("Secret42", salt, impossible), std::runtime_error);
}

TEST(HeldKey, MovesWithItsBytes) {
  HeldKey key;
  std::fill(key.writableBytes().begin(), key.writableBytes().end(), 0xA5);
  const HeldKey moved = std::move(key);
  EXPECT_TRUE(std::all_of(moved.bytes().begin(), moved.bytes().end(), [](unsigned char b) { return b == 0xA5; }));
  HeldKey assigned;
  EXPECT_FALSE(SameKey(assigned, moved));
  HeldKey source;
  std::fill(source.writableBytes().begin(), source.writableBytes().end(), 0xA5);
  assigned = std::move(source);
  EXPECT_TRUE(SameKey(assigned, moved));
}

TEST(ConstantTimeEqual, ComparesEveryByteAndTheLength) {
  const std::array<unsigned char, 4> a{1, 2, 3, 4};
  EXPECT_TRUE(ConstantTimeEqual(a, std::array<unsigned char, 4>{1, 2, 3, 4}));
  EXPECT_FALSE(ConstantTimeEqual(a, std::array<unsigned char, 4>{0, 2, 3, 4}));
  EXPECT_FALSE(ConstantTimeEqual(a, std::array<unsigned char, 4>{1, 2, 3, 5}));
  EXPECT_FALSE(ConstantTimeEqual(a, std::array<unsigned char, 3>{1, 2, 3}));
  EXPECT_TRUE(ConstantTimeEqual({}, {}));
}

}  // namespace
}  // namespace crypto
