// The records' history: what 修改, a rename and a delete leave behind, brought back on request.
#include <QDateTime>

#include "crypto/protected_field.h"
#include "store/record_history.h"
#include "vault/vault.h"

namespace vault {

namespace {

QString Now() { return QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss"); }

}  // namespace

void Vault::keepState(const QString& number, bool deleted) {
  if ((deleted ? historyLimits_.deletedDays : historyLimits_.versions) == 0) return;
  store::KeepRecordState(connection_.handle(), number.toStdString(), Now().toStdString(), deleted);
}

void Vault::keepCategoryStates(const QString& category, bool deleted) {
  if ((deleted ? historyLimits_.deletedDays : historyLimits_.versions) == 0) return;
  store::KeepCategoryStates(connection_.handle(), category.toStdString(), Now().toStdString(), deleted);
}

void Vault::pruneAfterWrite(const QString& number) {
  sqlite3* db = connection_.handle();
  if (!number.isEmpty()) store::PruneVersionsOf(db, number.toStdString(), historyLimits_.versions);
  store::PruneDeletedBefore(db, deletedCutoff());
}

std::string Vault::deletedCutoff() const {
  // No days: every deleted record is past keeping.
  if (historyLimits_.deletedDays == 0) return "9999";
  return QDateTime::currentDateTime()
      .addDays(-historyLimits_.deletedDays)
      .toString("yyyy-MM-dd hh:mm:ss")
      .toStdString();
}

void Vault::pruneHistory() {
  sqlite3* db = connection_.handle();
  if (!store::HasHistory(db)) return;
  store::WriteTransaction write(db);
  store::PruneDeletedBefore(db, deletedCutoff());
  store::PruneVersions(db, historyLimits_.versions);
  write.commit();
}

KeptRecord Vault::kept(const store::KeptState& state) const {
  const auto text = [](const std::string& value) { return QString::fromStdString(value); };
  const auto reveal = [this](const std::string& cipher) {
    return QString::fromStdString(crypto::RevealField(cipher, databaseKey_));
  };
  return {state.id,
          text(state.time),
          state.deleted,
          {text(state.number), text(state.category), text(state.address), text(state.title), text(state.account),
           reveal(state.passwordCipher), reveal(state.noteCipher)}};
}

std::vector<KeptRecord> Vault::versionsOf(const QString& number) {
  std::vector<KeptRecord> versions;
  for (const store::KeptState& state : store::VersionsOf(connection_.handle(), number.toStdString()))
    versions.push_back(kept(state));
  return versions;
}

std::vector<KeptRecord> Vault::deletedRecords() {
  std::vector<KeptRecord> deleted;
  for (const store::KeptState& state : store::DeletedRecords(connection_.handle())) deleted.push_back(kept(state));
  return deleted;
}

bool Vault::restoreVersion(long long id) {
  sqlite3* db = connection_.handle();
  const store::KeptState version = store::KeptStateById(db, id);
  if (version.number.empty() || version.deleted) return false;
  listing_.close();
  store::WriteTransaction write(db);
  const QString number = QString::fromStdString(version.number);
  keepState(number, false);  // the current values become a version first
  if (store::WriteBack(db, version) == 0) return false;
  pruneAfterWrite(number);
  write.commit();
  return true;
}

std::optional<store::KeptState> Vault::deletedState(long long id) {
  store::KeptState deleted = store::KeptStateById(connection_.handle(), id);
  if (deleted.number.empty() || !deleted.deleted) return std::nullopt;
  return deleted;
}

bool Vault::restoreDeleted(long long id) {
  const std::optional<store::KeptState> deleted = deletedState(id);
  if (!deleted) return false;
  listing_.close();
  store::WriteTransaction write(connection_.handle());
  store::PutBack(connection_.handle(), *deleted);
  write.commit();
  return true;
}

bool Vault::forgetDeleted(long long id) {
  const std::optional<store::KeptState> deleted = deletedState(id);
  if (!deleted) return false;
  store::WriteTransaction write(connection_.handle());
  store::ForgetRecord(connection_.handle(), deleted->number);
  write.commit();
  return true;
}

}  // namespace vault
