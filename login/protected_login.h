#pragma once
// The login of a protected file: the key is derived on a worker thread, so the window keeps
// repainting, and the outcome comes back on the window's thread.
#include <QObject>
#include <QString>
#include <optional>
#include <thread>

#include "vault/vault.h"

namespace login {

class ProtectedLogin : public QObject {
  Q_OBJECT
 public:
  explicit ProtectedLogin(vault::Vault& vault, QObject* parent = nullptr);
  ~ProtectedLogin() override;

  bool isRunning() const { return worker_.joinable(); }
  // Derives the typed password's key and emits finished; ignored while one is running.
  void start(const QString& typed);

 signals:
  // opened: the key opens the file (or equals the held key after a lock), and the database
  // key has been read. A non-empty error: the derivation or the file failed.
  void finished(bool opened, const QString& error);

 private:
  void complete();

  vault::Vault& vault_;
  std::thread worker_;
  // Written by the worker before it posts complete(), read after the join.
  std::optional<vault::DerivedFileKey> derived_;
  QString error_;
};

}  // namespace login
