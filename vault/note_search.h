#pragma once
// Notes are stored enciphered, so a search in them compares the deciphered text in memory.
#include <QString>
#include <string>
#include <vector>

namespace vault {

// A keyword found in a text as the engine's LIKE '%keyword%' would find it in plain text:
// '%' stands for any run of characters, '_' for one, and ASCII letters match ignoring case.
// Built once per search, then tried on every note.
class LikeKeyword {
 public:
  explicit LikeKeyword(const QString& keyword);
  bool foundIn(QStringView text) const;

 private:
  QString pattern_;
};

// Of rows (record number, enciphered note), the numbers of those whose note under databaseKey
// holds the keyword, in row order. Deciphering dominates, so the rows are shared among the cores.
std::vector<std::string> NumbersOfNotesContaining(const std::vector<std::vector<std::string>>& rows,
                                                  const std::string& databaseKey, const QString& keyword);

}  // namespace vault
