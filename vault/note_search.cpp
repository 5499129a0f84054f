#include "vault/note_search.h"

#include <algorithm>
#include <cstddef>
#include <future>
#include <thread>

#include "crypto/protected_field.h"

namespace vault {

namespace {

bool sameCharacter(QChar a, QChar b) {
  auto fold = [](QChar c) { return (c >= 'A' && c <= 'Z') ? QChar(c.unicode() + 32) : c; };
  return fold(a) == fold(b);
}

// '_' stands for a whole character, also one outside the basic plane (two UTF-16 units).
qsizetype nextCharacter(QStringView text, qsizetype at) {
  const bool pair = text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
  return at + (pair ? 2 : 1);
}

// Classic wildcard matching with backtracking to the last '%', linear in practice.
bool likeMatches(QStringView text, QStringView pattern) {
  qsizetype t = 0, p = 0, starP = -1, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '%') {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && pattern[p] == '_') {
      ++p;
      t = nextCharacter(text, t);
    } else if (p < pattern.size() && sameCharacter(pattern[p], text[t])) {
      ++p;
      ++t;
    } else if (starP >= 0) {
      p = starP + 1;
      t = starT = nextCharacter(text, starT);
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '%') ++p;
  return p == pattern.size();
}

}  // namespace

LikeKeyword::LikeKeyword(const QString& keyword) : pattern_("%" + keyword + "%") {}

bool LikeKeyword::foundIn(QStringView text) const { return likeMatches(text, pattern_); }

std::vector<std::string> NumbersOfNotesContaining(const std::vector<std::vector<std::string>>& rows,
                                                  const std::string& databaseKey, const QString& keyword) {
  // Below a few thousand notes a thread costs more than it saves.
  constexpr std::size_t kRowsPerWorker = 4096;
  const crypto::FieldRevealer reveal(databaseKey);
  const LikeKeyword wanted(keyword);
  std::vector<char> found(rows.size(), 0);
  auto matchSlice = [&](std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i)
      found[i] = wanted.foundIn(QString::fromStdString(reveal(rows[i][1]))) ? 1 : 0;
  };
  const std::size_t workers =
      std::clamp<std::size_t>(rows.size() / kRowsPerWorker, 1, std::max(1u, std::thread::hardware_concurrency()));
  const std::size_t slice = (rows.size() + workers - 1) / workers;
  std::vector<std::future<void>> others;
  for (std::size_t w = 1; w < workers; ++w)
    others.push_back(std::async(std::launch::async, matchSlice, w * slice, std::min(rows.size(), (w + 1) * slice)));
  matchSlice(0, std::min(rows.size(), slice));
  for (auto& other : others) other.get();  // passes on a worker's exception

  std::vector<std::string> numbers;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (found[i]) numbers.push_back(rows[i][0]);
  return numbers;
}

}  // namespace vault
