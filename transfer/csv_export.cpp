#include "transfer/csv_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "store/file_copy.h"
#include "store/file_descriptor.h"
#include "store/store_error.h"
#include "store/temporary_files.h"

namespace transfer {

namespace {

// Password managers read this header as their own export's, so it is theirs to the letter.
const QStringList kHeader{"Group", "Title", "Username", "Password",      "URL",
                          "Notes", "TOTP",  "Icon",     "Last Modified", "Created"};

void AppendLine(QByteArray& out, const QStringList& fields) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (i > 0) out += ',';
    out += '"';
    out += fields[i].toUtf8().replace('"', "\"\"");
    out += '"';
  }
  out += '\n';
}

const QString kCalledOff = "导出已取消, 没有写入文件.";

QString Failure(const QString& path, int error) {
  return "无法写入文件 " + path + ": " + QString::fromLocal8Bit(std::strerror(error));
}

bool WriteAll(int fd, const QByteArray& bytes) {
  qsizetype written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + written, static_cast<std::size_t>(bytes.size() - written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += n;
  }
  return true;
}

// A fresh file beside the target, readable by the user alone, renamed over it when complete:
// the target is either as it was or the whole export. The file holds every password in plain
// text, so it is locked while it is written (a start-up sweep passes over it) and removed on
// any failure or when the export is called off.
void WriteAtomically(const QString& path, const QByteArray& bytes, const std::function<bool()>& goOn) {
  const std::string target = path.toStdString();
  store::LockedTemporary temporary(store::FolderOf(target) + "/" + std::string(store::kExportPrefix));
  if (!temporary.created()) throw TransferError(Failure(path, temporary.error()));
  store::FileDescriptor file(temporary.openForWriting());
  const bool written = file.get() >= 0 && WriteAll(file.get(), bytes) && ::fsync(file.get()) == 0;
  const int writeError = errno;
  if (!file.closeChecked() || !written) throw TransferError(Failure(path, written ? errno : writeError));
  if (!goOn()) throw TransferError(kCalledOff);
  if (::rename(temporary.path().c_str(), target.c_str()) != 0) throw TransferError(Failure(path, errno));
  temporary.renamed();
  store::SyncFolder(store::FolderOf(target));
}

}  // namespace

int ExportCsv(vault::Vault& vault, const QString& path, const std::function<bool()>& goOn) {
  std::vector<vault::Record> records;
  try {
    records = vault.records();
  } catch (const store::StoreError& error) {
    throw TransferError(QString::fromStdString(error.what()));
  }
  if (!goOn()) throw TransferError(kCalledOff);
  QByteArray out;
  AppendLine(out, kHeader);
  for (const vault::Record& r : records) {
    const QString group = r.category.isEmpty() ? QString("Root") : "Root/" + r.category;
    AppendLine(out, {group, r.title, r.account, r.password, r.address, r.note, {}, "0", {}, {}});
  }
  WriteAtomically(path, out, goOn);
  return static_cast<int>(records.size());
}

}  // namespace transfer
