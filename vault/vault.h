#pragma once
// A data folder's account database and the operations on it in plain values: the listings the
// grid shows, picking, adding, modifying and deleting records, the categories, the searches, the
// database key and the master password. Which record an operation means is the caller's choice.
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "crypto/held_key.h"
#include "crypto/key_derivation.h"
#include "store/connection.h"
#include "store/query.h"
#include "store/record_history.h"
#include "store/statements.h"
#include "vault/listing.h"
#include "vault/record_fields.h"

namespace vault {

// A record as the user reads and types it: the password and the note in plain text.
struct Record {
  QString number, category, address, title, account, password, note;

  QString& value(Field field) {
    switch (field) {
      case Field::kNumber:
        return number;
      case Field::kCategory:
        return category;
      case Field::kAddress:
        return address;
      case Field::kTitle:
        return title;
      case Field::kAccount:
        return account;
      case Field::kPassword:
        return password;
      case Field::kNote:
        return note;
    }
    return note;
  }
  const QString& value(Field field) const { return const_cast<Record*>(this)->value(field); }
};

// A record's fields as the file stores them: UTF-8 text, the password and the note enciphered.
// Views into rows that last only as long as the call that hands them out.
class StoredRecord {
 public:
  std::string_view operator[](Field field) const { return fields_[static_cast<std::size_t>(field)]; }

 private:
  friend class Vault;
  std::array<std::string_view, kFields.size()> fields_{};
};

// A record's earlier state: a version that a change wrote over, or the record as it was deleted.
struct KeptRecord {
  long long id = 0;  // in the order kept; what a restore names
  QString time;      // "yyyy-MM-dd hh:mm:ss"
  bool deleted = false;
  Record record;  // deciphered
};

// How much history is kept; 0 turns either off.
struct HistoryLimits {
  int versions = 10;  // per record
  int deletedDays = 30;
};

// A protected file's key as derived from a typed password, with the salt it was derived with.
struct DerivedFileKey {
  crypto::HeldKey key;
  crypto::KeySalt salt{};
};

class Vault {
 public:
  Vault() = default;
  Vault(const Vault&) = delete;
  Vault& operator=(const Vault&) = delete;

  // Names folder + "_.udb" (folder ends in '/'), or another file of the folder by its name; the
  // first operation that needs the file opens it. A protected file's keys are derived with `parameters`.
  void open(const QString& folder, const crypto::KeyDerivationParameters& parameters = crypto::kFileKeyParameters,
            const QString& fileName = QString::fromUtf8(store::kDatabaseFileName.data(),
                                                        static_cast<qsizetype>(store::kDatabaseFileName.size())));
  std::string databaseFile() const;
  const store::Connection& connection() const { return connection_; }
  // Closes the listing and the file; the next operation opens it again.
  void close();
  // Compacts the closed file; false when it could not be done and the file is as it was. Throws
  // store::FileBusyError, the file untouched, while another program (keyhaven-cli) keeps the
  // folder's replacement lock; so do the protection on and off and a protected file's password change.
  bool compact();

  // Whether the file on disk is a protected one, told by its bytes before any login.
  // Throws StoreError when it cannot be read.
  bool fileIsProtected() const;
  // Whether a protected file's key is held (from a login or from turning protection on).
  bool isProtected() const { return fileKey_.has_value(); }
  // The key a typed password gives with the file's salt. Touches nothing of the vault but
  // reads the file, so a login can run it on a worker thread. Throws StoreError without a salt.
  DerivedFileKey deriveLoginKey(const QString& typed) const;
  // A login's key: held from now on when it opens the file; with a key held already (a login
  // after a lock) it must equal that key.
  bool acceptLoginKey(DerivedFileKey derived);
  // Whether the typed text is the master password: by its key for a protected file, else by
  // the stored cipher text.
  bool isMasterPassword(const QString& typed, const QString& storedCipher) const;
  // What turning protection on did, beside the file itself.
  struct Protection {
    DerivedFileKey key;
    int backupsProtected = 0;
    int backupsFailed = 0;  // still readable with a fixed key
  };
  // Turning protection on in two halves, so that the slow one can run on another thread.
  // protectionWork closes the file, so nothing writes into it while it is copied, and gives the work:
  // it derives a key from the master password and rewrites the file with it (and, when asked, the folder's
  // fixed-key backups, removing the temporary copies that killed programs left), touching nothing of the vault; it
  // throws StoreError, the file then as it was. holdProtection takes the outcome on the vault's thread.
  std::function<Protection()> protectionWork(const QString& masterPassword, bool withBackups);
  void holdProtection(Protection protection);
  // Both halves at once.
  void protectFile(const QString& masterPassword);
  // Turns protection off; Pass holds the master password's cipher text again. Throws StoreError.
  void unprotectFile(const QString& masterPassword);

  // Reads the key of the passwords and notes, first drawing and storing one when the file has none.
  void loadDatabaseKey();
  const std::string& databaseKey() const { return databaseKey_; }
  // The stored cipher text of the master password; empty when none is stored.
  QString storedMasterPassword();
  // Takes the password backup, whose outcome does not matter, then stores the new password
  // (a protected file is re-keyed instead and keeps its marker in Pass).
  void changeMasterPassword(const QString& typed, const QString& clockText);

  // The listings; each replaces what listing() holds and gives its number of records.
  Listing& listing() { return listing_; }
  int listByUsage();
  int listCategory(const QString& category);
  int listAllUnordered();
  // Records whose column holds the keyword; a note is searched in its deciphered text.
  int listMatching(const QString& column, const QString& keyword);
  int listAll();

  // A listed row with its password and note deciphered.
  Record listedRecord(int row) const;

  // The records in plain values, beside the listing, which stays as it is. A record found by its
  // number comes whole, its password and note deciphered; those found by a field's word as a
  // listing shows them, their password and note left empty.
  // The record of this number as it is stored ("007" names none); nullopt when there is none.
  std::optional<Record> record(const QString& number);
  // Most used first, as listByUsage and listCategory list them, one record at a time as stored,
  // so that long listings are written out as they are read; gives the number of records.
  int visitByUsage(const std::function<void(const StoredRecord&)>& visit,
                   const std::optional<QString>& category = std::nullopt);
  // As listMatching finds them.
  std::vector<Record> recordsMatching(Field field, const QString& keyword);
  // Each category once (letter case aside) in the spelling met first by use, with its records.
  struct CategoryCount {
    QString name;
    int records = 0;
  };
  std::vector<CategoryCount> categoryCounts();
  // Deletes the record of this number, keeping it among the deleted records; false when there
  // is none. An open listing is not told: the window deletes through deleteRecord.
  bool removeRecord(const QString& number);
  // One more use of a record, which lists it higher by usage.
  void countUse(const QString& number);
  void addRecord(const Record& record);
  // Every record with its password and note deciphered, in the table's order; the listing stays.
  std::vector<Record> records();
  // Adds `count` records, the i-th as record(i) gives it, in one transaction. goOn(added) is
  // asked after every kAddedBetweenAsks records; its false rolls the transaction back. Throws
  // StoreError with nothing added. Gives whether the records were added.
  static constexpr int kAddedBetweenAsks = 500;
  bool addRecords(std::size_t count, const std::function<Record(std::size_t i)>& record,
                  const std::function<bool(int added)>& goOn);
  // Overwrites the record of record.number; gives the number of records changed (0: gone meanwhile).
  int modifyRecord(const Record& record);
  // Deletes a listed record; the listing keeps its other rows. Throws when it is not listed.
  // listedRow, where the caller sees it listed, spares a search through a long listing.
  void deleteRecord(const QString& number, int listedRow = -1);

  // The categories of the listing's records, each once (letter case aside) in the order first
  // met; runs the listing's statement again and leaves the listing closed.
  QStringList categoriesOfListing();
  // A category is made by its first record, a placeholder.
  void addCategory(const QString& name);
  void renameCategory(const QString& oldName, const QString& newName);
  // The number of records that deleteCategory deletes.
  int recordsInCategory(const QString& name);
  // Deletes the category's records after a backup; false, with nothing deleted, when the backup failed.
  bool deleteCategory(const QString& name, const QString& clockText);
  // Copies the file to folder + prefix + stamp + "_.udb" (for another file than "_.udb": "_" and
  // its name in place of "_.udb"), never over an earlier backup; gives
  // whether the whole copy was written.
  bool takeBackup(const std::string& prefix, const QString& clockText) const;

  // History: 修改, a category's rename, a restore and every delete keep the stored state before
  // them; pruned to the limits after each such write, and by pruneHistory (at a login, and when
  // the limits change).
  void setHistoryLimits(HistoryLimits limits) { historyLimits_ = limits; }
  void pruneHistory();
  // Newest first; nothing for a file that has kept none.
  std::vector<KeptRecord> versionsOf(const QString& number);
  std::vector<KeptRecord> deletedRecords();
  // The version becomes the record's values, the current ones a version first; false when there is
  // no such version or its record is gone.
  bool restoreVersion(long long id);
  // The deleted record comes back under its old number (and with it its category); false when
  // there is no such deleted record.
  bool restoreDeleted(long long id);
  // Removes a deleted record and all its versions for good, overwriting the freed pages.
  bool forgetDeleted(long long id);

  // What the desktop handed back when the user allowed typing through `interface`, kept so the next
  // unlock need not ask; written only when it changed, an empty one removed.
  QString desktopConsent(const QString& interface);
  void keepDesktopConsent(const QString& interface, const QString& token);

 private:
  int run(const std::vector<std::string>& lines);
  // The statement's records, by their fields' column names; password and note only when asked.
  std::vector<Record> selected(const std::string& statement, bool withSecrets);
  int visitSelected(const std::string& statement, const std::function<void(const StoredRecord&)>& visit);
  std::string readFirst(const std::string& statement, std::string_view column);
  std::string protect(const QString& plain) const;
  // The six values as the table keeps them: the password and the note enciphered.
  store::sql::NewRecord stored(const Record& record) const;
  store::FileKey heldFileKey() const;
  void holdFileKey(DerivedFileKey derived);
  DerivedFileKey newFileKey(const QString& password) const;
  // Whether versions (or deleted records) are kept at all.
  bool keeps(bool deleted) const;
  void keepState(const QString& number, bool deleted);
  void keepCategoryStates(const QString& category, bool deleted);
  // After the write that kept something, inside its transaction.
  void pruneVersionsOf(const QString& number);
  void pruneDeleted();
  std::string deletedCutoff() const;
  KeptRecord kept(const store::KeptState& state) const;
  std::optional<store::KeptState> deletedState(long long id);

  QString folder_;
  QString fileName_;
  crypto::KeyDerivationParameters parameters_ = crypto::kFileKeyParameters;
  std::optional<DerivedFileKey> fileKey_;
  HistoryLimits historyLimits_;
  std::string databaseKey_;
  store::Connection connection_;
  Listing listing_{connection_};
  // Reads and writes beside the listing, which stays as it is.
  store::Query statements_{connection_};
};

}  // namespace vault
