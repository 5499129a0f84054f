#include "app/note_search.h"

#include <vector>

namespace {

bool sameCharacter(QChar a, QChar b) {
  auto fold = [](QChar c) { return (c >= 'A' && c <= 'Z') ? QChar(c.unicode() + 32) : c; };
  return fold(a) == fold(b);
}

// Classic wildcard matching with backtracking to the last '%', linear in practice.
bool likeMatches(const QString& text, const QString& pattern) {
  qsizetype t = 0, p = 0, starP = -1, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '%') {
      starP = p++;
      starT = t;
    } else if (p < pattern.size() && (pattern[p] == '_' || sameCharacter(pattern[p], text[t]))) {
      ++p;
      ++t;
    } else if (starP >= 0) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '%') ++p;
  return p == pattern.size();
}

}  // namespace

bool LikeContains(const QString& text, const QString& keyword) { return likeMatches(text, "%" + keyword + "%"); }
