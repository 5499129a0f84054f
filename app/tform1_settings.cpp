// The advanced tab's settings: read from Config.ini at start, written and put to work by "保存配置".
#include <QLabel>
#include <QTimer>

#include "app/clipboard_group.h"
#include "app/locking_group.h"
#include "app/tform1.h"
#include "platform/lock_signals.h"
#include "settings/settings_file.h"

void TForm1::loadAdvancedSettings() {
  const settings::Settings saved = settings::SettingsFile(programFolder_).read();
  GroupBox_Locking->setLocking(saved.locking);
  applyLocking(saved.locking);
  GroupBox_Clipboard->setSeconds(saved.clipboardSeconds);
  Label20->setText(ClipboardNote(saved.clipboardSeconds));
  Timer_ClearClipbrd->setInterval(saved.clipboardSeconds * 1000);
}

void TForm1::saveAdvancedSettings() {
  const settings::SettingsFile file(programFolder_);
  file.writeLocking(GroupBox_Locking->locking());
  applyLocking(GroupBox_Locking->locking());
  file.writeClipboardSeconds(GroupBox_Clipboard->seconds());
  Label20->setText(ClipboardNote(GroupBox_Clipboard->seconds()));
  // A countdown already running keeps its end: a copy never lasts longer than the time it began with.
  if (!Timer_ClearClipbrd->isActive()) Timer_ClearClipbrd->setInterval(GroupBox_Clipboard->seconds() * 1000);
}

void TForm1::applyLocking(const settings::LockingSettings& locking) {
  lockOnScreenLock_ = locking.lockOnScreenLock;
  clearOnLock_ = locking.clearOnLock;
  services_.lockSignals.setIdleLimit(std::chrono::minutes(locking.idleMinutes));
}
