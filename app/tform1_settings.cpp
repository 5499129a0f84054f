// The advanced tab's settings: read from Config.ini at start, written and put to work by "保存配置".
#include <QLabel>
#include <QTimer>

#include "app/clipboard_group.h"
#include "app/hot_key_group.h"
#include "app/locking_group.h"
#include "app/tform1.h"
#include "login/tform2.h"
#include "platform/dialogs.h"
#include "platform/lock_signals.h"
#include "settings/settings_file.h"

void TForm1::loadAdvancedSettings() {
  const settings::Settings saved = settings::SettingsFile(programFolder_).read();
  GroupBox_Locking->setLocking(saved.locking);
  applyLocking(saved.locking);
  GroupBox_Clipboard->setSeconds(saved.clipboardSeconds);
  Label20->setText(ClipboardNote(saved.clipboardSeconds));
  Timer_ClearClipbrd->setInterval(saved.clipboardSeconds * 1000);
  GroupBox_HotKeys->setHotKeys(saved.hotKeys);
  Label22->setText(HotKeyHint(saved.hotKeys));
  Label16->setText(HotKeyHint(saved.hotKeys));
}

void TForm1::setLoginWindow(TForm2* login) {
  login_ = login;
  login_->changeHotKeys(GroupBox_HotKeys->hotKeys());
  connect(GroupBox_HotKeys, &HotKeyGroup::recordingChanged, login_, &TForm2::suspendHotKeys);
}

bool TForm1::saveAdvancedSettings() {
  const settings::HotKeySettings chosen = GroupBox_HotKeys->hotKeys();
  if (const QString problem = HotKeyChoiceProblem(chosen); !problem.isEmpty()) {
    services_.dialogs.message(problem + "\n配置没有保存.");
    return false;
  }
  const settings::SettingsFile file(programFolder_);
  file.writeLocking(GroupBox_Locking->locking());
  applyLocking(GroupBox_Locking->locking());
  file.writeClipboardSeconds(GroupBox_Clipboard->seconds());
  Label20->setText(ClipboardNote(GroupBox_Clipboard->seconds()));
  // A countdown already running keeps its end: a copy never lasts longer than the time it began with.
  if (!Timer_ClearClipbrd->isActive()) Timer_ClearClipbrd->setInterval(GroupBox_Clipboard->seconds() * 1000);

  // A combination another program holds is neither written nor shown: the old one stays in force.
  const settings::HotKeySettings inForce = login_->changeHotKeys(chosen);
  if (inForce.account == chosen.account) file.writeAccountHotKey(inForce.account);
  if (inForce.password == chosen.password) file.writePasswordHotKey(inForce.password);
  GroupBox_HotKeys->setHotKeys(inForce);
  Label22->setText(HotKeyHint(inForce));
  Label16->setText(HotKeyHint(inForce));
  return true;
}

void TForm1::applyLocking(const settings::LockingSettings& locking) {
  lockOnScreenLock_ = locking.lockOnScreenLock;
  clearOnLock_ = locking.clearOnLock;
  services_.lockSignals.setIdleLimit(std::chrono::minutes(locking.idleMinutes));
}
