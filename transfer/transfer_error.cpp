#include "transfer/transfer_error.h"

namespace transfer {

TransferError::TransferError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString TransferError::message() const { return QString::fromUtf8(what()); }

}  // namespace transfer
