// The records' history: what 修改, a rename and a delete leave behind, brought back on request.
#include <QDateTime>

#include "crypto/protected_field.h"
#include "store/record_history.h"
#include "vault/vault.h"

namespace vault {

namespace {

// Kept states are stamped and compared in this form, which sorts as the times do.
std::string Stamp(const QDateTime& time) { return time.toString("yyyy-MM-dd hh:mm:ss").toStdString(); }

}  // namespace

bool Vault::keeps(bool deleted) const { return (deleted ? historyLimits_.deletedDays : historyLimits_.versions) > 0; }

void Vault::keepState(const QString& number, bool deleted) {
  if (keeps(deleted))
    store::KeepRecordState(connection_.handle(), number.toStdString(), Stamp(QDateTime::currentDateTime()), deleted);
}

void Vault::keepCategoryStates(const QString& category, bool deleted) {
  if (keeps(deleted))
    store::KeepCategoryStates(connection_.handle(), category.toStdString(), Stamp(QDateTime::currentDateTime()),
                              deleted);
}

void Vault::pruneVersionsOf(const QString& number) {
  store::PruneVersionsOf(connection_.handle(), number.toStdString(), historyLimits_.versions);
}

void Vault::pruneDeleted() { store::PruneDeletedBefore(connection_.handle(), deletedCutoff()); }

std::string Vault::deletedCutoff() const {
  // No days: every deleted record is past keeping.
  if (historyLimits_.deletedDays == 0) return "9999";
  return Stamp(QDateTime::currentDateTime().addDays(-historyLimits_.deletedDays));
}

void Vault::pruneHistory() {
  sqlite3* db = connection_.handle();
  if (!store::HasHistory(db)) return;
  store::WriteTransaction write(db);
  pruneDeleted();
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
  pruneVersionsOf(number);
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
