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

// Each category with its number of records, separated by a tab.
void PrintCategories(const QStringList& names, const std::vector<int>& counts);

void PrintLine(const QString& text);
void PrintErrorLine(const QString& text);

}  // namespace cli
