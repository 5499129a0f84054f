#pragma once
// Hands addresses to the desktop's default handler.
#include <QString>

namespace platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Nothing is reported when the desktop cannot open it.
  virtual void openAddress(const QString& address) = 0;
};

class DesktopShell final : public Shell {
 public:
  void openAddress(const QString& address) override;
};

}  // namespace platform
