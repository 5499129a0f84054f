#pragma once
// The one error of importing and exporting: its text is shown to the user as it is.
#include <QString>
#include <stdexcept>

namespace transfer {

class TransferError : public std::runtime_error {
 public:
  explicit TransferError(const QString& message);
  QString message() const;
};

}  // namespace transfer
