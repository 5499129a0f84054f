#include "transfer/csv_import.h"

#include <QFile>
#include <QHash>
#include <filesystem>
#include <optional>
#include <unordered_set>

#include "store/store_error.h"
#include "transfer/csv_reader.h"
#include "transfer/import_formats.h"
#include "transfer/import_room.h"
#include "transfer/text_decoding.h"
#include "vault/categories.h"

namespace transfer {

namespace {

constexpr char kImportBackupPrefix[] = "导入前备份_bak_";

// Categories by their identity: a name met again in another letter case is the first one.
class Categories {
 public:
  void addExisting(const QString& name) {
    if (!name.isEmpty()) names_.insert(vault::CategoryIdentity(name), name);
  }
  // The category a name goes into; a name not known before is added to `added`.
  QString resolve(const QString& name, QStringList& added) {
    const QString folded = vault::CategoryIdentity(name);
    if (const auto found = names_.constFind(folded); found != names_.cend()) return *found;
    names_.insert(folded, name);
    added << name;
    return name;
  }

 private:
  QHash<QString, QString> names_;
};

// The records met so far, the existing ones first and then those planned, each once by its six
// fields. They are known by their place, so no copy of their text is kept.
class MetRecords {
 public:
  MetRecords(const PlannedRecords& existing, const PlannedRecords& planned)
      : existing_(existing), planned_(planned), places_(0, Hash{this}, Equal{this}) {}
  MetRecords(const MetRecords&) = delete;
  MetRecords& operator=(const MetRecords&) = delete;
  // Whether the record at `place` is the first with its six fields; it is met from now on.
  bool firstAt(std::size_t place) { return places_.insert(place).second; }

 private:
  struct Located {
    const PlannedRecords& records;
    std::size_t i;
  };
  Located locate(std::size_t place) const {
    return place < existing_.size() ? Located{existing_, place} : Located{planned_, place - existing_.size()};
  }
  struct Hash {
    const MetRecords* met;
    std::size_t operator()(std::size_t place) const {
      const Located r = met->locate(place);
      return r.records.hash(r.i);
    }
  };
  struct Equal {
    const MetRecords* met;
    bool operator()(std::size_t a, std::size_t b) const {
      const Located left = met->locate(a);
      const Located right = met->locate(b);
      return left.records.same(left.i, right.records, right.i);
    }
  };

  const PlannedRecords& existing_;
  const PlannedRecords& planned_;
  std::unordered_set<std::size_t, Hash, Equal> places_;
};

void OpenImportFile(QFile& file, const QString& path) {
  if (!file.open(QIODevice::ReadOnly)) throw TransferError("无法读取文件 " + path + ": " + file.errorString());
  if (file.size() > kLargestImport)
    throw TransferError("文件 " + path + " 超过 64 MiB, 不像是密码的导出文件, 没有导入.");
}

void CheckRead(const QFile& file, const QString& path) {
  if (file.error() != QFileDevice::NoError) throw TransferError("无法读取文件 " + path + ": " + file.errorString());
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
  // Read row by row and planned at once: neither the file's bytes nor its text nor its rows are
  // ever held whole beside the records.
  QFile file(path);
  OpenImportFile(file, path);
  TextReader text(file);
  CsvReader reader([&text] { return text.next(); });
  const std::optional<CsvRow> first = reader.next();
  CheckRead(file, path);
  const auto header = first ? RecogniseHeader(first->fields) : std::nullopt;
  if (!header)
    throw TransferError("无法识别文件的格式: 第一行不是KeePassXC、Bitwarden、Chrome/Chromium或Firefox导出的标题行.");

  Categories categories;
  PlannedRecords existing;
  try {
    for (const vault::Record& record : vault.records()) {
      categories.addExisting(record.category);
      existing.push_back(record);
    }
  } catch (const store::StoreError& error) {
    throw TransferError(QString::fromStdString(error.what()));
  }
  ImportPlan plan{header->format, {}, {}, 0, 0, {}};
  MetRecords met(existing, plan.records);
  for (std::size_t i = 0; i < existing.size(); ++i) met.firstAt(i);

  while (std::optional<CsvRow> row = reader.next()) {
    if (!row->complete) {
      plan.unreadable.push_back({row->line, "引号没有结束"});
      continue;
    }
    MappedRow mapped = MapRow(*header, row->fields);
    if (mapped.kind == MappedRow::Kind::OtherType) {
      ++plan.otherTypes;
      continue;
    }
    if (mapped.kind == MappedRow::Kind::Unreadable) {
      plan.unreadable.push_back({row->line, mapped.reason});
      continue;
    }
    vault::Record& record = mapped.record;
    record.category = categories.resolve(record.category, plan.newCategories);
    plan.records.push_back(record);
    if (!met.firstAt(existing.size() + plan.records.size() - 1)) {
      plan.records.pop_back();
      ++plan.duplicates;
    }
  }
  CheckRead(file, path);
  return plan;
}

ImportOutcome RunImport(vault::Vault& vault, const ImportPlan& plan, const QString& clockText,
                        const std::function<bool(int done, int total)>& progress) {
  if (!vault.takeBackup(kImportBackupPrefix, clockText)) throw TransferError("无法建立导入前的备份, 没有导入任何记录.");
  CheckRoomFor(plan.records, std::filesystem::path(vault.databaseFile()).parent_path().string());
  const int total = static_cast<int>(plan.records.size());
  try {
    const bool added = vault.addRecords(
        plan.records.size(), [&plan](std::size_t i) { return plan.records[i]; },
        [&](int done) { return progress(done, total); });
    return added ? ImportOutcome::Imported : ImportOutcome::Cancelled;
  } catch (const store::StoreError& error) {
    throw TransferError("导入失败, 没有导入任何记录.\n" + QString::fromStdString(error.what()));
  }
}

}  // namespace transfer
