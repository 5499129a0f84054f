#pragma once
// The tab "高级设置": one group per setting beyond the original tabs, the file's protection, the
// transfer and the deleted records, and "保存高级设置".
#include <QWidget>

#include "app/master_password_prompt.h"
#include "login/session_keys.h"
#include "settings/settings_file.h"

namespace platform {
class Dialogs;
}
namespace vault {
class Vault;
}

namespace app {

class BackgroundWork;
class ClipboardGroup;
class HotKeyGroup;
class LockingGroup;

class AdvancedPage : public QWidget {
  Q_OBJECT
 public:
  // The protection group works on the file itself with these.
  AdvancedPage(QWidget* parent, platform::Dialogs& dialogs, vault::Vault& vault, login::SessionKeys& keys,
               BackgroundWork& work, StatusNote note);

  // The settings the groups show; the rest comes from base.
  settings::Settings settingsOver(const settings::Settings& base) const;
  void showSettings(const settings::Settings& shown);
  void showHotKeys(const settings::HotKeySettings& hotKeys);
  void showIdleTimeKnown(bool known);

 signals:
  // True while a hot-key field takes the keys pressed.
  void hotKeyRecordingChanged(bool recording);
  // The file was rewritten: listings are to be opened again.
  void fileRewritten();
  void importClicked();
  void exportClicked();
  void deletedClicked();
  void saveClicked();

 private:
  LockingGroup* GroupBox_Locking;
  ClipboardGroup* GroupBox_Clipboard;
  HotKeyGroup* GroupBox_HotKeys;
};

}  // namespace app
