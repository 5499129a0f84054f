// Automatic locking: idle time, screen lock and sleep lock as "最小化" does; a lock may also clear.
#include <QAction>
#include <QLineEdit>
#include <QTimer>

#include "app/tform1.h"
#include "input/clipboard.h"
#include "login/tform2.h"
#include "platform/dialogs.h"

void TForm1::IdleLimitReached() { lockBecauseTheUserLeft(); }

void TForm1::ScreenLockedOrAsleep() {
  if (lockOnScreenLock_) lockBecauseTheUserLeft();
}

void TForm1::lockBecauseTheUserLeft() {
  HideME->trigger();
  // Whatever the box says: a hot key pressed by whoever comes to the machine types nothing.
  if (!clearOnLock_) forgetPickedRecord();
}

void TForm1::HideMEAfterLock() {
  // Whatever was asked before the lock is not to be answered over the login window.
  services_.dialogs.closeAll();
  maskPassword();  // whoever unlocks next did not ask to see it
  discardAdvancedChanges();
  if (clearOnLock_) forgetPickedRecord();
}

void TForm1::forgetPickedRecord() {
  Button_ClearAllEditClick();
  Edit_MiMa_Temp->clear();
  input::SharedClipboard().Clear();  // only while it still holds our copy
  Timer_ClearClipbrd->stop();
  // The next pick registers them again.
  login_->releaseHotKeys();
}
