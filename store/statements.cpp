#include "store/statements.h"

#include <algorithm>

#include "store/ascii_text.h"
#include "store/store_error.h"

namespace store::sql {

namespace {

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Bytes that continue an identifier: ASCII letters, digits, '_' and every byte of a
// multi-byte UTF-8 character (column names here are Chinese).
bool IsWordByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 0x80 || IsAsciiAlnum(c) || c == '_';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

bool KeywordAt(std::string_view text, std::size_t at, std::string_view keyword) {
  if (at + keyword.size() > text.size()) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (AsciiLower(text[at + i]) != keyword[i]) return false;
  }
  const bool startsWord = at == 0 || !IsWordByte(text[at - 1]);
  const bool endsWord = at + keyword.size() == text.size() || !IsWordByte(text[at + keyword.size()]);
  return startsWord && endsWord;
}

// Position just past a quoted literal or identifier that opens at `at`, or npos when it
// does not close. A doubled closing quote stands for itself.
std::size_t SkipQuoted(std::string_view text, std::size_t at) {
  const char open = text[at];
  const char close = open == '[' ? ']' : open;
  for (std::size_t i = at + 1; i < text.size(); ++i) {
    if (text[i] != close) continue;
    if (close != ']' && i + 1 < text.size() && text[i + 1] == close) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return std::string_view::npos;
}

// Position of the first "from" keyword outside quotes at or after `at`, or npos.
std::size_t FindFromKeyword(std::string_view text, std::size_t at) {
  std::size_t i = at;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
      i = SkipQuoted(text, i);
      if (i == std::string_view::npos) return std::string_view::npos;
      continue;
    }
    if (KeywordAt(text, i, "from")) return i;
    ++i;
  }
  return std::string_view::npos;
}

}  // namespace

std::string RecordNumber(std::string_view number) {
  if (number.empty() || !std::all_of(number.begin(), number.end(), IsAsciiDigit)) {
    throw StoreError("not a record number: \"" + std::string(number) + "\"");
  }
  return std::string(number);
}

std::vector<std::string> UpdateRecordLines(const NewRecord& r, std::string_view number) {
  return {
      "update data  set 分类='" + Quote(r.category) + "' ",
      ", 网址='" + Quote(r.address) + "' ",
      ", 标题='" + Quote(r.title) + "' ",
      ", 帐号='" + Quote(r.account) + "' ",
      ", 密码='" + Quote(r.passwordCipher) + "' ",
      ", 备注='" + Quote(r.noteCipher) + "' ",
      "where  编号=" + RecordNumber(number),
  };
}

std::string ToEngineDialect(std::string_view statement) {
  std::size_t start = 0;
  while (start < statement.size() && IsBlank(statement[start])) ++start;
  if (!KeywordAt(statement, start, "delete")) return std::string(statement);

  const std::size_t afterDelete = start + std::string_view("delete").size();
  const std::size_t from = FindFromKeyword(statement, afterDelete);
  if (from == std::string_view::npos) return std::string(statement);

  const std::string_view between = statement.substr(afterDelete, from - afterDelete);
  if (std::all_of(between.begin(), between.end(), IsBlank)) return std::string(statement);

  // The original engine deleted whole rows for "delete <columns> from"; SQLite only knows
  // "delete from", which does the same.
  std::string out(statement.substr(0, afterDelete));
  out += ' ';
  out += statement.substr(from);
  return out;
}

}  // namespace store::sql

namespace store::sql {

std::string SelectRecordsNumbered(const std::vector<std::string>& numbers) {
  std::string list;
  for (const std::string& number : numbers) {
    if (!list.empty()) list += ',';
    list += RecordNumber(number);
  }
  return "Select  编号,分类,网址,标题,帐号,密码,备注  from data where 编号 in (" + list + ") order by 编号";
}

}  // namespace store::sql
