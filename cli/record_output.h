#pragma once
// What the commands print on standard output: listings one record per line, a record in full,
// the categories; and the messages on standard output and standard error.
#include <QString>
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "vault/vault.h"

namespace cli {

// Lines of a listing: a record's number, category, title and account, separated by tabs. Written
// in large blocks, the last when the printer goes.
class ListingPrinter {
 public:
  ListingPrinter();
  ~ListingPrinter();
  ListingPrinter(const ListingPrinter&) = delete;
  ListingPrinter& operator=(const ListingPrinter&) = delete;

  void add(const vault::StoredRecord& record);
  void add(const std::array<std::string_view, 4>& fields);

 private:
  static constexpr std::size_t kBlock = 1 << 20;

  std::string out_;
};

// The records' lines as ListingPrinter writes them.
void PrintListing(const std::vector<vault::Record>& records);

// Every field with its name; the password as "******" unless revealed.
void PrintRecord(const vault::Record& record, bool revealPassword);

// Each version with its id and time on a line of its own, then its fields as PrintRecord shows them.
void PrintVersions(const std::vector<vault::KeptRecord>& versions, bool revealPassword);

// Every deleted record: its id (for restore --deleted), the time, category, title, account,
// separated by tabs, one per line.
void PrintDeletedRecords(const std::vector<vault::KeptRecord>& deleted);

// Each category with its number of records, separated by a tab.
void PrintCategories(const std::vector<vault::Vault::CategoryCount>& categories);

void PrintLine(const QString& text);
void PrintErrorLine(const QString& text);

}  // namespace cli
