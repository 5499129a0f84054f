#pragma once
// The records' earlier states in the table `history` of the same file, so that the file's protection
// and every copy of it carry them: the stored values a change wrote over (versions), and the records
// deleted. The table is made by the first write that keeps something, inside that write's
// transaction; a file without it reads as one without history.
#include <sqlcipher/sqlite3.h>

#include <string>
#include <string_view>
#include <vector>

#include "store/added_tables.h"

namespace store {

struct KeptState {
  long long id = 0;  // the state's own number, in the order kept
  std::string number, category, title, address, account, passwordCipher, noteCipher;
  std::string time;  // "yyyy-MM-dd hh:mm:ss", local
  bool deleted = false;
};

// One write and what it keeps, all or nothing: BEGIN IMMEDIATE now, ROLLBACK unless committed.
class WriteTransaction {
 public:
  explicit WriteTransaction(sqlite3* db);
  ~WriteTransaction();
  WriteTransaction(const WriteTransaction&) = delete;
  WriteTransaction& operator=(const WriteTransaction&) = delete;
  void commit();

 private:
  sqlite3* db_;
  bool open_ = true;
};

bool HasHistory(sqlite3* db);

// Keeps the stored state of the record with this number, or of every record of the category
// (letter case aside), as a version or as deleted. Inside a WriteTransaction.
void KeepRecordState(sqlite3* db, std::string_view number, std::string_view time, bool deleted);
void KeepCategoryStates(sqlite3* db, std::string_view category, std::string_view time, bool deleted);

// The versions of a record, newest first; the deleted records, newest first.
std::vector<KeptState> VersionsOf(sqlite3* db, std::string_view number);
std::vector<KeptState> DeletedRecords(sqlite3* db);
// A kept state by its id; empty number when there is none.
KeptState KeptStateById(sqlite3* db, long long id);

// Writes a version's values over the record of its number (inside a WriteTransaction, after the
// current state was kept); gives the number of records changed.
int WriteBack(sqlite3* db, const KeptState& version);
// Puts a deleted record back under its old number and drops its deleted state. Inside a WriteTransaction.
void PutBack(sqlite3* db, const KeptState& deleted);
// Removes every kept state of the record number, overwriting the freed pages.
void ForgetRecord(sqlite3* db, std::string_view number);

// Keeps the newest `versions` versions of one record (0: none); indexed by the record's number.
void PruneVersionsOf(sqlite3* db, std::string_view number, int versions);
// Deleted records kept since before `cutoff` go, with all their versions; indexed by the time.
void PruneDeletedBefore(sqlite3* db, std::string_view cutoff);
// Keeps the newest `versions` versions of every record: a pass over the kept states, not the records.
void PruneVersions(sqlite3* db, int versions);

}  // namespace store
