// The advanced tab's settings: read from Config.ini at start, written and put to work by "保存高级设置"
// (and by "保存配置" with the rest); changes left unsaved are asked about once or given up.
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "app/advanced_page.h"
#include "app/clipboard_group.h"
#include "app/hot_key_group.h"
#include "app/settings_page.h"
#include "app/tform1.h"
#include "login/tform2.h"
#include "platform/dialogs.h"
#include "platform/lock_signals.h"
#include "widgets/panel_status_bar.h"

namespace app {

void TForm1::loadAdvancedSettings() {
  advancedInForce_ = settings::SettingsFile(programFolder_).read();
  vault_.setHistoryLimits({advancedInForce_.historyVersions, advancedInForce_.deletedDays});
  showAdvancedSettings(advancedInForce_);
  applyLocking(advancedInForce_.locking);
  settingsPage_->showClipboardNote(ClipboardNote(advancedInForce_.clipboardSeconds));
  Timer_ClearClipbrd->setInterval(advancedInForce_.clipboardSeconds * 1000);
  Label22->setText(HotKeyHint(advancedInForce_.hotKeys));
  settingsPage_->showHotKeyHint(HotKeyHint(advancedInForce_.hotKeys));
}

void TForm1::showAdvancedSettings(const settings::Settings& shown) { advancedPage_->showSettings(shown); }

settings::Settings TForm1::advancedSettingsInForm() const { return advancedPage_->settingsOver(advancedInForce_); }

void TForm1::setLoginWindow(login::TForm2* login) {
  login_ = login;
  const settings::Settings shown = advancedSettingsInForm();
  login_->changeHotKeys(shown.hotKeys);
  login_->setHotKeyArmedMinutes(shown.hotKeyArmedMinutes);
  connect(advancedPage_, &AdvancedPage::hotKeyRecordingChanged, login_, &login::TForm2::suspendHotKeys);
}

bool TForm1::saveAdvancedSettings() {
  const settings::Settings chosen = advancedSettingsInForm();
  if (const QString problem = HotKeyChoiceProblem(chosen.hotKeys); !problem.isEmpty()) {
    services_.dialogs.message(problem + "\n配置没有保存.");
    return false;
  }
  const settings::SettingsFile file(programFolder_);
  file.writeLocking(chosen.locking);
  applyLocking(chosen.locking);
  file.writeClipboardSeconds(chosen.clipboardSeconds);
  settingsPage_->showClipboardNote(ClipboardNote(chosen.clipboardSeconds));
  // A countdown already running keeps its end: a copy never lasts longer than the time it began with.
  if (!Timer_ClearClipbrd->isActive()) Timer_ClearClipbrd->setInterval(chosen.clipboardSeconds * 1000);

  // A combination another program holds is neither written nor shown: the old one stays in force.
  const settings::HotKeySettings inForce = login_->changeHotKeys(chosen.hotKeys);
  if (inForce.account == chosen.hotKeys.account) file.writeAccountHotKey(inForce.account);
  if (inForce.password == chosen.hotKeys.password) file.writePasswordHotKey(inForce.password);
  advancedPage_->showHotKeys(inForce);
  file.writeHotKeyArmedMinutes(chosen.hotKeyArmedMinutes);
  login_->setHotKeyArmedMinutes(chosen.hotKeyArmedMinutes);
  Label22->setText(HotKeyHint(inForce));
  settingsPage_->showHotKeyHint(HotKeyHint(inForce));
  advancedInForce_ = chosen;
  advancedInForce_.hotKeys = inForce;
  return true;
}

void TForm1::Button_SaveAdvancedClick() {
  if (saveAdvancedSettings()) services_.dialogs.message("配置保存成功！");
}

void TForm1::PageControl1Change() {
  const bool leftAdvancedTab = shownTab_ == advancedPage_ && PageControl1->currentWidget() != advancedPage_;
  shownTab_ = PageControl1->currentWidget();
  if (!leftAdvancedTab || advancedSettingsInForm() == advancedInForce_) return;
  if (!services_.dialogs.question("高级设置", "高级设置已修改, 要保存吗?")) {
    showAdvancedSettings(advancedInForce_);
  } else if (!saveAdvancedSettings()) {
    PageControl1->setCurrentWidget(advancedPage_);  // the message said why; the choice is still to be mended
  }
}

void TForm1::discardAdvancedChanges() {
  if (advancedSettingsInForm() == advancedInForce_) return;
  showAdvancedSettings(advancedInForce_);
  StatusBar1->setPanelText(0, "高级设置的修改没有保存, 已放弃.");
}

void TForm1::applyLocking(const settings::LockingSettings& locking) {
  lockOnScreenLock_ = locking.lockOnScreenLock;
  clearOnLock_ = locking.clearOnLock;
  services_.lockSignals.setIdleLimit(std::chrono::minutes(locking.idleMinutes));
  advancedPage_->showIdleTimeKnown(services_.lockSignals.idleTimeKnown());
}

}  // namespace app
