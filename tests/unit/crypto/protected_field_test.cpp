#include "crypto/protected_field.h"

#include <gtest/gtest.h>

#include <string>

#include "crypto/text_cipher.h"
#include "tests/unit/crypto/openssl_des.h"

namespace {

using crypto::MasterPasswordCipher;
using crypto::ProtectField;
using crypto::RevealField;

TEST(ProtectField, EnciphersTheCodePageBytesOfValueAndKey) {
  // "密码" is C3 DC C2 EB in code page 936; the key "12345678" folds to "81234567".
  const crypto::KeyBlock key = {'8', '1', '2', '3', '4', '5', '6', '7'};
  EXPECT_EQ(ProtectField("密码", "12345678"),
            reference::Hex(reference::DesEcbEncrypt(key, std::string("\xC3\xDC\xC2\xEB\0\0\0\0", 8))));
  // A key with Chinese characters is folded from its code page bytes D4 BF CF BB.
  const crypto::KeyBlock chineseKey = {0, 0xD4, 0xBF, 0xCF, 0xBB, 0, 0, 0};
  EXPECT_EQ(ProtectField("abc", "钥匣"),
            reference::Hex(reference::DesEcbEncrypt(chineseKey, std::string("abc\0\0\0\0\0", 8))));
}

TEST(RevealField, GivesBackTheValueOrTheEmptyText) {
  const std::string key = "73195";
  for (const std::string value : {"", "p4ssw0rd", "中文密码", "note with € and ASCII", "多行\r\n备注"}) {
    EXPECT_EQ(RevealField(ProtectField(value, key), key), value);
  }
  // Characters outside the code page come back as the code page's default character.
  EXPECT_EQ(RevealField(ProtectField("pw😀", key), key), "pw?");
  EXPECT_EQ(RevealField("", key), "");
  EXPECT_EQ(RevealField("not hex", key), "");
  EXPECT_EQ(RevealField("１２", key), "");  // full-width digits are not hexadecimal
  // Two accounts with the same password store the same text.
  EXPECT_EQ(ProtectField("same", key), ProtectField("same", key));
}

TEST(FieldRevealer, RevealsEveryValueUnderItsOwnKeyOnly) {
  const crypto::FieldRevealer chinese("钥匣73195"), digits("73195");
  for (const std::string value : {"", "p4ssw0rd", "中文密码", "a longer note that spans several blocks 多行\r\n备注"}) {
    EXPECT_EQ(chinese(ProtectField(value, "钥匣73195")), value);
    EXPECT_EQ(digits(ProtectField(value, "73195")), value);
    if (!value.empty()) {
      EXPECT_NE(digits(ProtectField(value, "钥匣73195")), value);
    }
  }
  EXPECT_EQ(chinese("not hex"), "");
}

TEST(MasterPasswordCipher, IsTheCipherTextUnderTheFixedKeyAndCaseSensitive) {
  const crypto::KeyBlock zyq = {0, 'z', 'y', 'q', 0, 0, 0, 0};
  EXPECT_EQ(MasterPasswordCipher("123456"),
            reference::Hex(reference::DesEcbEncrypt(zyq, std::string("123456\0\0", 8))));
  EXPECT_EQ(MasterPasswordCipher("密码"), ProtectField("密码", "zyq"));
  EXPECT_NE(MasterPasswordCipher("Secret"), MasterPasswordCipher("secret"));
}

}  // namespace
