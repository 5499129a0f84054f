// Automatic locking: idle time, screen lock and sleep lock as "最小化" does; a lock may also clear.
#include <QAction>
#include <QLineEdit>
#include <QTimer>

#include "app/accounts_page.h"
#include "app/background_work.h"
#include "app/tform1.h"
#include "input/clipboard.h"
#include "login/tform2.h"
#include "platform/dialogs.h"
#include "widgets/handler_guard.h"
#include "widgets/panel_status_bar.h"

namespace app {

void TForm1::IdleLimitReached() { lockBecauseTheUserLeft(); }

void TForm1::ScreenLockedOrAsleep() {
  if (lockOnScreenLock_) lockBecauseTheUserLeft();
}

void TForm1::FileWorkStarted(const QString& status) {
  setEnabled(false);
  login_->setEnabled(false);
  for (QAction* action : {Aboutme, ShowME, HideME}) action->setEnabled(false);
  StatusBar1->setPanelText(0, status);
}

void TForm1::FileWorkEnded() {
  setEnabled(true);
  login_->setEnabled(true);
  for (QAction* action : {Aboutme, ShowME, HideME}) action->setEnabled(true);
  if (!lockWaitsForFileWork_) return;
  lockWaitsForFileWork_ = false;
  // After what the work's end says, which the lock then closes like any dialog.
  QTimer::singleShot(0, this, [this] { widgets::Guarded(services_.dialogs, [this] { lockBecauseTheUserLeft(); }); });
}

void TForm1::lockBecauseTheUserLeft() {
  if (fileWork_->isRunning()) {
    lockWaitsForFileWork_ = true;
    return;
  }
  HideME->trigger();
  // Whatever the box says: a hot key pressed by whoever comes to the machine types nothing.
  if (!clearOnLock_) forgetPickedRecord();
}

void TForm1::HideMEAfterLock() {
  // Whatever was asked before the lock is not to be answered over the login window.
  services_.dialogs.closeAll();
  accountsPage_->maskPassword();  // whoever unlocks next did not ask to see it
  discardAdvancedChanges();
  if (clearOnLock_) forgetPickedRecord();
}

void TForm1::forgetPickedRecord() {
  Button_ClearAllEditClick();
  accountsPage_->forgetPickedPassword();
  input::SharedClipboard().Clear();  // only while it still holds our copy
  Timer_ClearClipbrd->stop();
  // The next pick registers them again.
  login_->releaseHotKeys();
}

}  // namespace app
