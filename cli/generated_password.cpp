#include "cli/generated_password.h"

#include <stdexcept>

#include "cli/cli_error.h"
#include "crypto/password_generator.h"
#include "settings/settings_file.h"

namespace cli {

QString GeneratedPassword(const QString& folder, const QString& length, bool withSymbols) {
  crypto::PasswordRules rules = settings::SettingsFile(folder).read().generator;
  if (!length.isEmpty()) {
    bool number = false;
    rules.length = length.toInt(&number);
    if (!number || rules.length < crypto::PasswordRules::kShortest || rules.length > crypto::PasswordRules::kLongest)
      throw UsageError(QString("密码长度须在 %1 到 %2 之间.")
                           .arg(crypto::PasswordRules::kShortest)
                           .arg(crypto::PasswordRules::kLongest));
  }
  rules.symbols = rules.symbols && withSymbols;
  try {
    return QString::fromStdString(crypto::GeneratePassword(rules));
  } catch (const std::invalid_argument&) {
    throw Failure("密码生成器没有可用的字符类别.");
  }
}

}  // namespace cli
