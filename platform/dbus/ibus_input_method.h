#pragma once
// IBus, asked on the private bus its daemon serves: an engine that composes text (pinyin, rime …)
// gives way to a keyboard engine for the time of a fill. IBus's `ibus engine` command would also
// reset the keyboard layout, so the daemon is asked over D-Bus and nothing else is touched.
#include <QDBusConnection>
#include <QString>
#include <QStringList>
#include <optional>

#include "platform/input_method.h"
#include "platform/keyboard_group.h"

namespace platform::dbus {

// The keyboard engine ("xkb:us::eng") that types as the keyboard does. gnome-shell sets the layout
// itself and runs every layout on xkb:us::eng; elsewhere IBus's panel applies the engine's layout,
// so it is the user's own engine of the current group, else the user's first keyboard engine.
QString DirectEngine(bool gnome, const QStringList& preloadEngines, const std::optional<KeyboardGroup>& group);

class IBusInputMethod final : public InputMethod {
 public:
  explicit IBusInputMethod(KeyboardGroupReader currentGroup);

  // Whether an IBus daemon serves its bus now; state() finds kOff without one.
  bool serves();
  InputMethodState state() override;
  bool switchToDirectInput() override;
  // Back to the engine that was active, unless the user has chosen another one meanwhile.
  bool switchBack() override;

 private:
  struct Switch {
    QString from;
    QString to;
  };

  KeyboardGroupReader currentGroup_;
  std::optional<QDBusConnection> bus_;
  QString active_;                  // the composing engine that the last state() found
  std::optional<Switch> switched_;  // until switched back
};

}  // namespace platform::dbus
