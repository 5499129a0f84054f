#include "store/engine_error.h"

#include <sqlcipher/sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace store {

namespace {

bool IsMissing(std::string_view file) {
  struct stat status {};
  return ::lstat(std::string(file).c_str(), &status) != 0 && errno == ENOENT;
}

// The first line for the failures a user can meet; empty for the others.
std::string WhatHappened(std::string_view file, int code, int systemError) {
  const std::string quoted = "\"" + std::string(file) + "\"";
  const int primary = code & 0xff;
  const bool refusedBySystem = systemError == EACCES || systemError == EPERM || systemError == EROFS;
  const bool diskFull = systemError == ENOSPC || systemError == EDQUOT || systemError == EFBIG;
  if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
    return "数据库文件" + quoted + "正被另一个程序使用(已锁定), 请关闭该程序后再试.";
  if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT)
    return "文件" + quoted + "不是钥匣个人版的数据库, 或者已经损坏.";
  if (primary == SQLITE_FULL || (primary == SQLITE_IOERR && diskFull))
    return "磁盘空间已满, 无法写入数据库文件" + quoted + ".";
  if (primary == SQLITE_READONLY || (primary == SQLITE_IOERR && refusedBySystem))
    return "数据库文件" + quoted + "是只读的, 无法写入.";
  if (primary == SQLITE_CANTOPEN && (systemError == ENOENT || IsMissing(file)))
    return "找不到数据库文件" + quoted + ".";
  if (primary == SQLITE_CANTOPEN && refusedBySystem) return "没有权限打开数据库文件" + quoted + ".";
  return {};
}

}  // namespace

std::string DescribeEngineFailure(std::string_view file, int code, int systemError, std::string_view engineText) {
  const std::string first = WhatHappened(file, code, systemError);
  return first.empty() ? std::string(engineText) : first + "\n" + std::string(engineText);
}

std::string DescribeEngineFailure(std::string_view file, sqlite3* db, std::string_view context) {
  if (db == nullptr) return std::string(context) + sqlite3_errstr(SQLITE_NOMEM);
  const int code = sqlite3_extended_errcode(db);
  const int reason = sqlite3_system_errno(db);
  std::string text = std::string(context) + sqlite3_errmsg(db);
  // A bare "disk I/O error" says nothing about a full disk or a file that may not be written.
  const int primary = code & 0xff;
  if ((primary == SQLITE_IOERR || primary == SQLITE_FULL || primary == SQLITE_CANTOPEN) && reason != 0)
    text += std::string(" (") + std::strerror(reason) + ")";
  return DescribeEngineFailure(file, code, reason, text);
}

}  // namespace store
