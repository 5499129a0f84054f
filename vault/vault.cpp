#include "vault/vault.h"

#include <QSet>
#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "crypto/database_key.h"
#include "crypto/protected_field.h"
#include "store/backup.h"
#include "store/compaction.h"
#include "store/protected_file.h"
#include "store/record_inserter.h"
#include "store/statements.h"
#include "store/store_error.h"
#include "store/temporary_files.h"
#include "vault/categories.h"
#include "vault/master_password.h"
#include "vault/note_search.h"

namespace vault {

namespace {

std::string Text(const QString& text) { return text.toStdString(); }

}  // namespace

void Vault::open(const QString& folder, const crypto::KeyDerivationParameters& parameters, const QString& fileName) {
  folder_ = folder;
  fileName_ = fileName;
  parameters_ = parameters;
  fileKey_.reset();
  connection_.setFileKey(std::nullopt);
  connection_.setConnectionString(store::BuildConnectionString(Text(folder_), Text(fileName_)));
}

std::string Vault::databaseFile() const { return Text(folder_) + Text(fileName_); }

void Vault::close() {
  listing_.close();
  statements_.close();
  connection_.close();
}

bool Vault::compact() {
  close();
  if (fileKey_) return store::CompactDatabaseFile(databaseFile(), heldFileKey());
  return store::CompactDatabaseFile(databaseFile(), std::string(store::kDatabasePassword));
}

bool Vault::fileIsProtected() const {
  return store::ClassifyDatabaseFile(databaseFile()) == store::DatabaseFileKind::kProtected;
}

DerivedFileKey Vault::deriveLoginKey(const QString& typed) const {
  const auto salt = store::ReadFileSalt(databaseFile());
  if (!salt) throw store::StoreError("The database file has no salt: " + databaseFile());
  return {KeyOfTypedMasterPassword(typed, *salt, parameters_), *salt};
}

bool Vault::acceptLoginKey(DerivedFileKey derived) {
  if (fileKey_) return crypto::SameKey(derived.key, fileKey_->key) && derived.salt == fileKey_->salt;
  if (!store::OpensWithKey(databaseFile(), {derived.key.bytes(), derived.salt})) return false;
  holdFileKey(std::move(derived));
  return true;
}

bool Vault::isMasterPassword(const QString& typed, const QString& storedCipher) const {
  if (!fileKey_) return IsMasterPassword(typed, storedCipher);
  return crypto::SameKey(KeyOfTypedMasterPassword(typed, fileKey_->salt, parameters_), fileKey_->key);
}

namespace {

// Protects the folder's fixed-key backups of _.udb with the main file's key; one that fails stays as it was.
void ProtectFixedKeyBackups(const std::string& folder, const store::FileKey& key, Vault::Protection& protection) {
  // A copy that a killed program left would still give the records away: it goes.
  store::RemoveLeftovers(folder, store::kBesideTargetPrefixes);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (!entry.is_regular_file() || name.find("_bak_") == std::string::npos || !name.ends_with("_.udb")) continue;
    try {
      if (store::ClassifyDatabaseFile(entry.path().string()) != store::DatabaseFileKind::kFixedKey) continue;
      store::ProtectDatabaseFile(entry.path().string(), key);
      ++protection.backupsProtected;
    } catch (const store::StoreError&) {
      ++protection.backupsFailed;
    }
  }
}

}  // namespace

std::function<Vault::Protection()> Vault::protectionWork(const QString& masterPassword, bool withBackups) {
  close();
  return [file = databaseFile(), folder = Text(folder_), parameters = parameters_, withBackups,
          password = masterPassword]() mutable {
    const crypto::KeySalt salt = crypto::NewKeySalt(parameters);
    Protection protection{{KeyOfTypedMasterPassword(password, salt, parameters), salt}};
    const store::FileKey key{protection.key.key.bytes(), salt};
    store::ProtectDatabaseFile(file, key);
    if (withBackups) ProtectFixedKeyBackups(folder, key, protection);
    return protection;
  };
}

void Vault::holdProtection(Protection protection) { holdFileKey(std::move(protection.key)); }

void Vault::protectFile(const QString& masterPassword) { holdProtection(protectionWork(masterPassword, false)()); }

void Vault::unprotectFile(const QString& masterPassword) {
  close();
  store::UnprotectDatabaseFile(databaseFile(), heldFileKey(), Text(CipherOfTypedMasterPassword(masterPassword)));
  fileKey_.reset();
  connection_.setFileKey(std::nullopt);
}

void Vault::loadDatabaseKey() {
  const std::string stored = readFirst(store::sql::SelectDatabaseKey(), "序列号");
  if (stored.empty() || stored == "0") run({store::sql::UpdateDatabaseKey(crypto::DrawDatabaseKeyText())});
  databaseKey_ = readFirst(store::sql::SelectDatabaseKey(), "序列号");
}

QString Vault::storedMasterPassword() {
  return QString::fromStdString(readFirst(store::sql::SelectMasterPassword(), "密码"));
}

void Vault::changeMasterPassword(const QString& typed, const QString& clockText) {
  takeBackup(std::string(store::kPasswordBackupPrefix), clockText);
  if (fileKey_) {
    DerivedFileKey next = newFileKey(typed);
    close();
    store::RekeyDatabaseFile(databaseFile(), heldFileKey(), {next.key.bytes(), next.salt});
    holdFileKey(std::move(next));
    return;
  }
  listing_.execute({store::sql::UpdateMasterPassword(Text(CipherOfTypedMasterPassword(typed)))});
}

int Vault::listByUsage() {
  listing_.show(store::sql::SelectAllByUsage());
  return listing_.count();
}

int Vault::listCategory(const QString& category) {
  listing_.show(store::sql::SelectCategoryByUsage(Text(category)));
  return listing_.count();
}

int Vault::listAllUnordered() {
  listing_.show(store::sql::SelectAllUnordered());
  return listing_.count();
}

int Vault::listMatching(const QString& column, const QString& keyword) {
  listing_.close();
  if (column == FieldName(Field::kNote)) {
    // Notes are read by a query of their own: the listing is replaced only by the hits.
    store::Query notes(connection_);
    notes.addSql(store::sql::SelectNotes());
    notes.open();
    listing_.show(store::sql::SelectRecordsNumbered(NumbersOfNotesContaining(notes.rows(), databaseKey_, keyword)));
  } else {
    listing_.show(store::sql::SelectLike(Text(column), Text(keyword)));
  }
  return listing_.count();
}

int Vault::listAll() {
  listing_.show(store::sql::SelectAll());
  return listing_.count();
}

Record Vault::listedRecord(int row) const {
  Record record;
  for (const Field field : kFields) {
    const std::string text = listing_.field(row, ColumnName(field));
    const bool secret = field == Field::kPassword || field == Field::kNote;
    record.value(field) = QString::fromStdString(secret ? crypto::RevealField(text, databaseKey_) : text);
  }
  return record;
}

void Vault::countUse(const QString& number) { run({store::sql::CountUse(Text(number))}); }

void Vault::addRecord(const Record& r) { listing_.execute({store::sql::InsertRecord(stored(r))}); }

std::vector<Record> Vault::records() { return selected(store::sql::SelectAllUnordered(), true); }

bool Vault::addRecords(std::size_t count, const std::function<Record(std::size_t i)>& record,
                       const std::function<bool(int added)>& goOn) {
  listing_.close();
  statements_.close();
  store::RecordInserter inserter(connection_);
  int added = 0;
  for (std::size_t i = 0; i < count; ++i) {
    inserter.insert(stored(record(i)));
    if (++added % kAddedBetweenAsks == 0 && !goOn(added)) return false;
  }
  if (!goOn(added)) return false;
  inserter.commit();
  return true;
}

int Vault::modifyRecord(const Record& r) {
  store::WriteTransaction write(connection_.handle());
  keepState(r.number, false);
  const int changed = listing_.execute(store::sql::UpdateRecordLines(stored(r), Text(r.number)));
  if (changed > 0) pruneVersionsOf(r.number);
  write.commit();
  return changed;
}

void Vault::deleteRecord(const QString& number, int listedRow) {
  const std::string wanted = Text(number);
  if (wanted.empty() || listing_.field(listedRow, ColumnName(Field::kNumber)) != wanted)
    listedRow = listing_.rowOf(wanted);
  if (listedRow < 0) return listing_.deleteRow(listedRow);  // says that it is not listed
  store::WriteTransaction write(connection_.handle());
  keepState(number, true);
  listing_.deleteRow(listedRow);
  pruneDeleted();
  write.commit();
}

QStringList Vault::categoriesOfListing() {
  listing_.reopen();
  // Names that differ only in letter case are one category; the first met stands. Byte-equal
  // names are decided without converting them, which keeps large files fast.
  QSet<QString> seen;
  QStringList names;
  std::unordered_set<std::string_view> met;
  const auto& fieldNames = listing_.fieldNames();
  const auto column = static_cast<std::size_t>(
      std::find(fieldNames.begin(), fieldNames.end(), ColumnName(Field::kCategory)) - fieldNames.begin());
  if (column < fieldNames.size()) {
    for (const auto& row : listing_.rows()) {
      const std::string& category = row[column];
      if (category.empty() || !met.insert(category).second) continue;
      QString name = QString::fromStdString(category);
      if (QString folded = CategoryIdentity(name); !seen.contains(folded)) {
        seen.insert(std::move(folded));
        names << std::move(name);
      }
    }
  }
  listing_.close();
  return names;
}

void Vault::addCategory(const QString& name) {
  listing_.execute({store::sql::InsertCategoryPlaceholder(Text(name), protect("密码"))});
}

void Vault::renameCategory(const QString& oldName, const QString& newName) {
  listing_.close();
  statements_.close();
  store::WriteTransaction write(connection_.handle());
  keepCategoryStates(oldName, false);
  run(store::sql::RenameCategoryLines(Text(newName), Text(oldName)));
  if (keeps(false)) store::PruneVersions(connection_.handle(), historyLimits_.versions);
  write.commit();
  listing_.close();
  statements_.close();
}

int Vault::recordsInCategory(const QString& name) {
  return std::stoi(readFirst(store::sql::CountCategory(Text(name)), "条数"));
}

bool Vault::deleteCategory(const QString& name, const QString& clockText) {
  // The backup is the only way back from this deletion: without it nothing is deleted.
  if (!takeBackup(store::CategoryBackupPrefix(Text(name)), clockText)) return false;
  store::WriteTransaction write(connection_.handle());
  keepCategoryStates(name, true);
  listing_.execute({store::sql::DeleteCategory(Text(name))});
  pruneDeleted();
  write.commit();
  return true;
}

int Vault::run(const std::vector<std::string>& lines) {
  statements_.clearSql();
  for (const std::string& line : lines) statements_.addSql(line);
  return statements_.execSql();
}

std::string Vault::readFirst(const std::string& statement, std::string_view column) {
  statements_.close();
  statements_.clearSql();
  statements_.addSql(statement);
  statements_.open();
  return statements_.field(column);
}

bool Vault::takeBackup(const std::string& prefix, const QString& clockText) const {
  return store::TakeBackup(Text(folder_), prefix, Text(clockText), Text(fileName_));
}

store::sql::NewRecord Vault::stored(const Record& r) const {
  return {Text(r.category), Text(r.title), Text(r.address), Text(r.account), protect(r.password), protect(r.note)};
}

std::string Vault::protect(const QString& plain) const { return crypto::ProtectField(Text(plain), databaseKey_); }

store::FileKey Vault::heldFileKey() const { return {fileKey_->key.bytes(), fileKey_->salt}; }

void Vault::holdFileKey(DerivedFileKey derived) {
  fileKey_ = std::move(derived);
  connection_.setFileKey(heldFileKey());
}

DerivedFileKey Vault::newFileKey(const QString& password) const {
  const crypto::KeySalt salt = crypto::NewKeySalt(parameters_);
  return {KeyOfTypedMasterPassword(password, salt, parameters_), salt};
}

}  // namespace vault
