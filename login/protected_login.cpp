#include "login/protected_login.h"

#include <exception>

namespace login {

ProtectedLogin::ProtectedLogin(vault::Vault& vault, QObject* parent) : QObject(parent), vault_(vault) {}

ProtectedLogin::~ProtectedLogin() {
  if (worker_.joinable()) worker_.join();
}

void ProtectedLogin::start(const QString& typed) {
  if (isRunning()) return;
  derived_.reset();
  error_.clear();
  worker_ = std::thread([this, text = typed]() mutable {
    try {
      derived_ = vault_.deriveLoginKey(text);
    } catch (const std::exception& error) {
      error_ = QString::fromUtf8(error.what());
    }
    text.fill(QChar(0));
    QMetaObject::invokeMethod(this, &ProtectedLogin::complete, Qt::QueuedConnection);
  });
}

void ProtectedLogin::complete() {
  worker_.join();
  bool opened = false;
  try {
    if (derived_) {
      opened = vault_.acceptLoginKey(std::move(*derived_));
      if (opened && vault_.databaseKey().empty()) vault_.loadDatabaseKey();
    }
  } catch (const std::exception& error) {
    error_ = QString::fromUtf8(error.what());
  }
  derived_.reset();
  emit finished(opened, error_);
}

}  // namespace login
