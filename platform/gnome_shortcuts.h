#pragma once
// GNOME's custom keyboard shortcuts (Settings → Keyboard → Custom Shortcuts), where a desktop
// without a global-shortcut portal lets a key run a command. They live in gsettings: a list of
// paths under the media-keys schema, each path an entry with a name, a command and a binding.
// The program writes two entries at paths of its own and removes only those.
#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Settings as gsettings reads and writes them: values in GVariant text. A relocatable schema is
// named with its path ("schema:/path/").
class GSettingsStore {
 public:
  virtual ~GSettingsStore() = default;
  virtual std::optional<QString> get(const QString& schema, const QString& key) = 0;
  virtual bool set(const QString& schema, const QString& key, const QString& value) = 0;
  virtual bool reset(const QString& schema, const QString& key) = 0;
};

// Through the gsettings command.
class GSettingsCommand final : public GSettingsStore {
 public:
  std::optional<QString> get(const QString& schema, const QString& key) override;
  bool set(const QString& schema, const QString& key, const QString& value) override;
  bool reset(const QString& schema, const QString& key) override;
};

struct DesktopShortcut {
  QString name;
  QString command;
  QString binding;  // GNOME's syntax ("<Control><Alt>1"); empty leaves the key to the user
};

// A string array in GVariant text and back: ['a', 'b'] or @as [].
std::optional<QStringList> ParseStringArray(const QString& text);
QString StringArrayText(const QStringList& strings);
QString StringText(const QString& string);

class GnomeCustomShortcuts {
 public:
  explicit GnomeCustomShortcuts(GSettingsStore& store) : store_(store) {}

  // Writes both entries and lists them after the user's own; false when gsettings failed.
  bool write(const DesktopShortcut& account, const DesktopShortcut& password);
  // Takes the program's entries out of the list and forgets their values.
  bool remove();

 private:
  GSettingsStore& store_;
};

}  // namespace platform
