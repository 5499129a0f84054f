#include "transfer/import_formats.h"

#include <QUrl>
#include <algorithm>
#include <array>
#include <string>

#include "encoding/codepage.h"

namespace transfer {

namespace {

struct KnownHeader {
  CsvFormat format;
  QStringList required;  // lower case
};

// Tried in this order: the browsers' headers share url, username and password.
const std::array<KnownHeader, 4> kKnownHeaders{{
    {CsvFormat::KeePassXc, {"group", "title", "username", "password", "url", "notes"}},
    {CsvFormat::Bitwarden, {"folder", "type", "name", "notes", "login_uri", "login_username", "login_password"}},
    {CsvFormat::Firefox, {"url", "username", "password", "httprealm", "formactionorigin", "guid"}},
    {CsvFormat::Chromium, {"name", "url", "username", "password"}},
}};

QString HostOf(const QString& address) {
  QString host = QUrl(address).host();
  if (host.isEmpty() && !address.isEmpty()) host = QUrl::fromUserInput(address).host();
  return host;
}

QString TitleOrHost(const QString& title, const QString& address) {
  if (!title.isEmpty()) return title;
  const QString host = HostOf(address);
  return host.isEmpty() ? kNoTitle : host;
}

void AppendLine(QString& note, const QString& line) {
  if (!note.isEmpty()) note += u'\n';
  note += line;
}

// "Root/网站/邮箱" is the category "网站/邮箱"; the root group's own name varies.
QString CategoryOfGroupPath(const QString& group) {
  const qsizetype slash = group.indexOf(u'/');
  const QString below = slash < 0 ? QString() : group.mid(slash + 1);
  return below.isEmpty() ? kImportCategory : below;
}

class Fields {
 public:
  Fields(const RecognisedHeader& header, const QStringList& fields) : header_(header), fields_(fields) {}
  QString operator[](const char* name) const {
    const int column = header_.columns.value(QString::fromLatin1(name), -1);
    return column >= 0 && column < fields_.size() ? fields_[column] : QString();
  }

 private:
  const RecognisedHeader& header_;
  const QStringList& fields_;
};

MappedRow KeePassXcRow(const Fields& f) {
  vault::Record r;
  r.category = CategoryOfGroupPath(f["group"]);
  r.address = f["url"];
  r.title = TitleOrHost(f["title"], r.address);
  r.account = f["username"];
  r.password = f["password"];
  r.note = f["notes"];
  if (const QString totp = f["totp"]; !totp.isEmpty()) AppendLine(r.note, "TOTP: " + totp);
  return {MappedRow::Kind::Record, r, {}};
}

MappedRow BitwardenRow(const Fields& f) {
  if (f["type"] != "login") return {MappedRow::Kind::OtherType, {}, {}};
  vault::Record r;
  r.category = f["folder"].isEmpty() ? kImportCategory : f["folder"];
  r.address = f["login_uri"];
  r.title = TitleOrHost(f["name"], r.address);
  r.account = f["login_username"];
  r.password = f["login_password"];
  r.note = f["notes"];
  if (const QString totp = f["login_totp"]; !totp.isEmpty()) AppendLine(r.note, "TOTP: " + totp);
  // Custom fields come as one "<name>: <value>" line each.
  for (QString line : f["fields"].split(u'\n')) {
    if (line.endsWith(u'\r')) line.chop(1);
    if (!line.isEmpty()) AppendLine(r.note, line);
  }
  return {MappedRow::Kind::Record, r, {}};
}

MappedRow ChromiumRow(const Fields& f) {
  vault::Record r;
  r.category = kBrowserCategory;
  r.address = f["url"];
  r.title = TitleOrHost(f["name"], r.address);
  r.account = f["username"];
  r.password = f["password"];
  r.note = f["note"];
  return {MappedRow::Kind::Record, r, {}};
}

MappedRow FirefoxRow(const Fields& f) {
  vault::Record r;
  r.category = kBrowserCategory;
  r.address = f["url"];
  r.title = TitleOrHost({}, r.address);
  r.account = f["username"];
  r.password = f["password"];
  return {MappedRow::Kind::Record, r, {}};
}

// The first character of the record's values that code page 936 cannot carry; empty if none.
QString FirstCharacterNotStorable(const vault::Record& r) {
  for (const QString* value : {&r.category, &r.title, &r.address, &r.account, &r.password, &r.note}) {
    const std::string outside = encoding::FirstCharacterOutsideCp936(value->toStdString());
    if (!outside.empty()) return QString::fromStdString(outside);
  }
  return {};
}

}  // namespace

std::optional<RecognisedHeader> RecogniseHeader(const QStringList& header) {
  QHash<QString, int> columns;
  for (int i = 0; i < header.size(); ++i) {
    const QString name = header[i].trimmed().toLower();
    if (!columns.contains(name)) columns.insert(name, i);
  }
  for (const KnownHeader& known : kKnownHeaders) {
    if (std::all_of(known.required.begin(), known.required.end(),
                    [&](const QString& name) { return columns.contains(name); }))
      return RecognisedHeader{known.format, columns};
  }
  return std::nullopt;
}

MappedRow MapRow(const RecognisedHeader& header, const QStringList& fields) {
  const int needed = *std::max_element(header.columns.begin(), header.columns.end()) + 1;
  if (fields.size() < needed) return {MappedRow::Kind::Unreadable, {}, "字段数少于标题行"};
  const Fields f(header, fields);
  MappedRow mapped;
  switch (header.format) {
    case CsvFormat::KeePassXc:
      mapped = KeePassXcRow(f);
      break;
    case CsvFormat::Bitwarden:
      mapped = BitwardenRow(f);
      break;
    case CsvFormat::Chromium:
      mapped = ChromiumRow(f);
      break;
    case CsvFormat::Firefox:
      mapped = FirefoxRow(f);
      break;
  }
  if (mapped.kind != MappedRow::Kind::Record) return mapped;
  // Stored text ends at a NUL: the value kept would not be the value read.
  for (const QString* value : {&mapped.record.category, &mapped.record.title, &mapped.record.address,
                               &mapped.record.account, &mapped.record.password, &mapped.record.note})
    if (value->contains(QChar(u'\0'))) return {MappedRow::Kind::Unreadable, {}, "含有空字符 (NUL)"};
  if (const QString outside = FirstCharacterNotStorable(mapped.record); !outside.isEmpty())
    return {MappedRow::Kind::Unreadable, {}, "含有无法保存的字符: " + outside};
  return mapped;
}

}  // namespace transfer
