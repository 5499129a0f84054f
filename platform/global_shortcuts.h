#pragma once
// Keys that the desktop itself owns for the program (the GlobalShortcuts portal on Wayland): it
// tells of each press and release, whatever window has the focus.
#include <QObject>
#include <QString>
#include <vector>

namespace platform {

struct GlobalShortcut {
  QString id;
  QString description;       // what the desktop's dialog shows
  QString preferredTrigger;  // in the portal's syntax; empty leaves the choice to the user
};

class GlobalShortcuts : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~GlobalShortcuts() override = default;

  // Asks the desktop for the shortcuts unless it holds them already; the desktop may ask the user
  // and choose other keys. Nothing where it offers no such shortcuts.
  virtual void bind(const std::vector<GlobalShortcut>& shortcuts) = 0;
  // Gives them back; a bind under way is dropped.
  virtual void unbind() = 0;

 signals:
  void activated(const QString& id);
  void deactivated(const QString& id);
};

// Where the desktop owns no keys for programs (an X11 session grabs them itself).
class NoGlobalShortcuts final : public GlobalShortcuts {
 public:
  void bind(const std::vector<GlobalShortcut>&) override {}
  void unbind() override {}
};

}  // namespace platform
