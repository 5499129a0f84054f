#include "cli/record_output.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/terminal_text.h"

namespace cli {

namespace {

// A tab or line break inside a field would split its line: it is shown as a blank.
void AppendField(std::string& out, std::string_view field) {
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

ListingPrinter::ListingPrinter() { out_.reserve(kBlock); }

ListingPrinter::~ListingPrinter() { std::fwrite(out_.data(), 1, out_.size(), stdout); }

void ListingPrinter::add(const std::array<std::string_view, 4>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) out_ += '\t';
    AppendField(out_, fields[i]);
  }
  out_ += '\n';
  if (out_.size() > kBlock - 4096) {
    std::fwrite(out_.data(), 1, out_.size(), stdout);
    out_.clear();
  }
}

void ListingPrinter::add(const vault::StoredRecord& record) {
  add({record[vault::Field::kNumber], record[vault::Field::kCategory], record[vault::Field::kTitle],
       record[vault::Field::kAccount]});
}

void PrintListing(const std::vector<vault::Record>& records) {
  ListingPrinter printer;
  for (const vault::Record& record : records) {
    const std::string number = record.number.toStdString(), category = record.category.toStdString(),
                      title = record.title.toStdString(), account = record.account.toStdString();
    printer.add({number, category, title, account});
  }
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

void PrintCategories(const std::vector<vault::Vault::CategoryCount>& categories) {
  QString text;
  for (const vault::Vault::CategoryCount& category : categories)
    text += ForStandardOutput(category.name) + "\t" + QString::number(category.records) + "\n";
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
