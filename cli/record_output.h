#pragma once
// What the commands print on standard output: listings one record per line, a record in full,
// the categories; and the messages on standard output and standard error.
#include <QString>
#include <QStringList>
#include <vector>

#include "vault/listing.h"
#include "vault/vault.h"

namespace cli {

// Every listed record: number, category, title, account, separated by tabs, one per line.
void PrintListing(const vault::Listing& listing);

// Every field with its name; the password as "******" unless revealed.
void PrintRecord(const vault::Record& record, bool revealPassword);

// Each version with its id and time on a line of its own, then its fields as PrintRecord shows them.
void PrintVersions(const std::vector<vault::KeptRecord>& versions, bool revealPassword);

// Every deleted record: its id (for restore --deleted), the time, category, title, account,
// separated by tabs, one per line.
void PrintDeletedRecords(const std::vector<vault::KeptRecord>& deleted);

// Each category with its number of records, separated by a tab.
void PrintCategories(const QStringList& names, const std::vector<int>& counts);

void PrintLine(const QString& text);
void PrintErrorLine(const QString& text);

}  // namespace cli
