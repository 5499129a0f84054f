#include "cli/session.h"

#include <QFileInfo>

#include "cli/cli_error.h"
#include "cli/terminal_input.h"
#include "settings/settings_file.h"
#include "vault/data_folder.h"

namespace cli {

DatabaseLocation LocateDatabase(const QString& databaseOption) {
  if (databaseOption.isEmpty()) return {vault::ProgramFolder(), QStringLiteral("_.udb")};
  const QFileInfo file(databaseOption);
  QString folder = file.absolutePath();
  if (!folder.endsWith('/')) folder += '/';
  return {folder, file.fileName()};
}

Session::Session(const DatabaseLocation& location, TerminalInput& input) : folder_(location.folder) {
  lock_ = std::make_unique<store::ReplacementLock>(folder_.toStdString(), store::ReplacementLock::Mode::kShared);
  if (!vault::PrepareDatabaseFile(folder_, location.fileName))
    throw Failure("没有发现数据库\"" + location.fileName + "\"文件.\n" + folder_ + location.fileName);
  vault_.open(folder_, crypto::kFileKeyParameters, location.fileName);
  const settings::Settings chosen = settings::SettingsFile(folder_).read();
  vault_.setHistoryLimits({chosen.historyVersions, chosen.deletedDays});
  const std::optional<QString> typed = input.ask("请输入管理密码：", true);
  if (!typed || typed->isEmpty()) throw Failure("请输入密码...");
  logIn(*typed);
}

void Session::logIn(const QString& typed) {
  if (vault_.fileIsProtected()) {
    if (!vault_.acceptLoginKey(vault_.deriveLoginKey(typed))) throw Failure("密码错误...");
    vault_.loadDatabaseKey();
    return;
  }
  // Checked before the key is drawn and stored: a wrong password changes no byte of the file.
  if (!vault_.isMasterPassword(typed, vault_.storedMasterPassword())) throw Failure("密码错误...");
  vault_.loadDatabaseKey();
}

}  // namespace cli
