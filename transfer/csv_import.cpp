#include "transfer/csv_import.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <filesystem>

#include "store/store_error.h"
#include "transfer/csv_reader.h"
#include "transfer/import_formats.h"
#include "transfer/import_room.h"
#include "transfer/text_decoding.h"

namespace transfer {

namespace {

constexpr char kImportBackupPrefix[] = "导入前备份_bak_";

// Categories by their case-folded name: a name met again in another letter case is the first one.
class Categories {
 public:
  void addExisting(const QString& name) {
    if (!name.isEmpty()) names_.insert(name.toCaseFolded(), name);
  }
  // The category a name goes into; a name not known before is added to `added`.
  QString resolve(const QString& name, QStringList& added) {
    const QString folded = name.toCaseFolded();
    if (const auto found = names_.constFind(folded); found != names_.cend()) return *found;
    names_.insert(folded, name);
    added << name;
    return name;
  }

 private:
  QHash<QString, QString> names_;
};

// The six fields of a record as one text, each with its length so that no two records meet.
QString SixFields(const vault::Record& r) {
  QString key;
  for (const QString* value : {&r.category, &r.title, &r.address, &r.account, &r.password, &r.note})
    key += QString::number(value->size()) + u':' + *value;
  return key;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw TransferError("无法读取文件 " + path + ": " + file.errorString());
  if (file.size() > kLargestImport)
    throw TransferError("文件 " + path + " 超过 64 MiB, 不像是密码的导出文件, 没有导入.");
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) throw TransferError("无法读取文件 " + path + ": " + file.errorString());
  return bytes;
}

}  // namespace

QString FormatName(CsvFormat format) {
  switch (format) {
    case CsvFormat::KeePassXc:
      return "KeePassXC";
    case CsvFormat::Bitwarden:
      return "Bitwarden";
    case CsvFormat::Chromium:
      return "Chrome/Chromium";
    case CsvFormat::Firefox:
      return "Firefox";
  }
  return {};
}

ImportPlan PlanImport(vault::Vault& vault, const QString& path) {
  const std::vector<CsvRow> rows = ReadCsv(DecodeText(ReadFile(path)).text);
  const auto header = rows.empty() ? std::nullopt : RecogniseHeader(rows.front().fields);
  if (!header)
    throw TransferError("无法识别文件的格式: 第一行不是KeePassXC、Bitwarden、Chrome/Chromium或Firefox导出的标题行.");

  std::vector<vault::Record> existing;
  try {
    existing = vault.records();
  } catch (const store::StoreError& error) {
    throw TransferError(QString::fromStdString(error.what()));
  }
  Categories categories;
  QSet<QString> known;
  for (const vault::Record& record : existing) {
    categories.addExisting(record.category);
    known.insert(SixFields(record));
  }

  ImportPlan plan{header->format, {}, {}, 0, 0, {}};
  for (std::size_t i = 1; i < rows.size(); ++i) {
    const CsvRow& row = rows[i];
    if (!row.complete) {
      plan.unreadable.push_back({row.line, "引号没有结束"});
      continue;
    }
    MappedRow mapped = MapRow(*header, row.fields);
    if (mapped.kind == MappedRow::Kind::OtherType) {
      ++plan.otherTypes;
      continue;
    }
    if (mapped.kind == MappedRow::Kind::Unreadable) {
      plan.unreadable.push_back({row.line, mapped.reason});
      continue;
    }
    vault::Record& record = mapped.record;
    record.category = categories.resolve(record.category, plan.newCategories);
    QString fields = SixFields(record);
    if (known.contains(fields)) {
      ++plan.duplicates;
      continue;
    }
    known.insert(std::move(fields));
    plan.records.push_back(std::move(record));
  }
  return plan;
}

ImportOutcome RunImport(vault::Vault& vault, const ImportPlan& plan, const QString& clockText,
                        const std::function<bool(int done, int total)>& progress) {
  if (!vault.takeBackup(kImportBackupPrefix, clockText)) throw TransferError("无法建立导入前的备份, 没有导入任何记录.");
  CheckRoomFor(plan.records, std::filesystem::path(vault.databaseFile()).parent_path().string());
  const int total = static_cast<int>(plan.records.size());
  try {
    const bool added = vault.addRecords(plan.records, [&](int done) { return progress(done, total); });
    return added ? ImportOutcome::Imported : ImportOutcome::Cancelled;
  } catch (const store::StoreError& error) {
    throw TransferError("导入失败, 没有导入任何记录.\n" + QString::fromStdString(error.what()));
  }
}

}  // namespace transfer
