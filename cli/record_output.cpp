#include "cli/record_output.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/terminal_text.h"

namespace cli {

namespace {

constexpr std::array<std::string_view, 4> kListedFields = {"编号", "分类", "标题", "帐号"};

// A tab or line break inside a field would split its line: it is shown as a blank.
void AppendField(std::string& out, const std::string& field) {
  const std::size_t start = out.size();
  out += ForStandardOutput(field);
  std::replace_if(
      out.begin() + static_cast<std::ptrdiff_t>(start), out.end(),
      [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
}

void Write(std::FILE* stream, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
}

}  // namespace

void PrintListing(const vault::Listing& listing) {
  const auto& names = listing.fieldNames();
  std::array<std::size_t, kListedFields.size()> columns{};
  for (std::size_t i = 0; i < kListedFields.size(); ++i)
    columns[i] = static_cast<std::size_t>(std::find(names.begin(), names.end(), kListedFields[i]) - names.begin());
  // One write per large block: a listing of many records is mostly this loop.
  std::string out;
  out.reserve(1 << 20);
  for (const auto& row : listing.rows()) {
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) out += '\t';
      if (columns[i] < row.size()) AppendField(out, row[columns[i]]);
    }
    out += '\n';
    if (out.size() > (1 << 20) - 4096) {
      std::fwrite(out.data(), 1, out.size(), stdout);
      out.clear();
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void PrintRecord(const vault::Record& record, bool revealPassword) {
  QString text;
  text += "编号: " + record.number + "\n";
  text += "分类: " + ForStandardOutput(record.category) + "\n";
  text += "标题: " + ForStandardOutput(record.title) + "\n";
  text += "网址: " + ForStandardOutput(record.address) + "\n";
  text += "帐号: " + ForStandardOutput(record.account) + "\n";
  text += "密码: " + (revealPassword ? ForStandardOutput(record.password) : QString("******")) + "\n";
  text += "备注: " + ForStandardOutput(record.note) + "\n";
  Write(stdout, text);
}

void PrintVersions(const std::vector<vault::KeptRecord>& versions, bool revealPassword) {
  for (const vault::KeptRecord& version : versions) {
    Write(stdout, "版本 " + QString::number(version.id) + "\t" + version.time + "\n");
    PrintRecord(version.record, revealPassword);
  }
}

void PrintDeletedRecords(const std::vector<vault::KeptRecord>& deleted) {
  std::string out;
  for (const vault::KeptRecord& kept : deleted) {
    out += std::to_string(kept.id);
    for (const QString& field : {kept.time, kept.record.category, kept.record.title, kept.record.account}) {
      out += '\t';
      AppendField(out, field.toStdString());
    }
    out += '\n';
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
}

void PrintCategories(const QStringList& names, const std::vector<int>& counts) {
  QString text;
  for (qsizetype i = 0; i < names.size(); ++i)
    text += ForStandardOutput(names[i]) + "\t" + QString::number(counts[static_cast<std::size_t>(i)]) + "\n";
  Write(stdout, text);
}

void PrintLine(const QString& text) {
  Write(stdout, text + "\n");
  std::fflush(stdout);
}

void PrintErrorLine(const QString& text) {
  std::fflush(stdout);
  Write(stderr, text + "\n");
}

}  // namespace cli
