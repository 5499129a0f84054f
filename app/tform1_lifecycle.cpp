// Start-up, the start-up check, the clock, locking and showing, the settings file, ending.
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "app/about_page.h"
#include "app/accounts_page.h"
#include "app/background_work.h"
#include "app/launcher_icon.h"
#include "app/maker_info.h"
#include "app/program_folder.h"
#include "app/settings_page.h"
#include "app/tform1.h"
#include "app/tray_icon.h"
#include "input/clipboard.h"
#include "input/shortcut_writer.h"
#include "login/tform2.h"
#include "platform/dialogs.h"
#include "platform/taskbar.h"
#include "store/file_key.h"
#include "vault/data_folder.h"
#include "widgets/handler_guard.h"
#include "widgets/panel_status_bar.h"

namespace app {

bool TForm1::FormCreate() {
  try {
    setWindowTitle(windowTitle() + "ver:" + aboutPage_->version());
    settingsPage_->showAutoFillMode(
        settings::SettingsFile(programFolder_).readAutoFillMode(settingsPage_->autoFillMode()));
    loadAdvancedSettings();
    if (!vault::PrepareDatabaseFile(programFolder_, QString::fromUtf8(store::kDatabaseFileName))) {
      services_.dialogs.message("没有发现数据库\"_.udb\"文件.");
      Timer_CloseMe->start();
      return false;
    }
    vault_.open(programFolder_, keys_.keyParameters());
    Timer_CheckLogin->start();
  } catch (const std::exception&) {
    services_.dialogs.message("程序发生未知错误,请联系客服 QQ" + maker::kHomePage + " ");
    Timer_CloseMe->start();
    return false;
  }
  TrayIcon1->show();
  // A shortcut without its icon, or a desktop that does not know the program, is no error either.
  ProvideLauncherIcon(vault::DataHome(), DataDirs());
  ProvideApplicationEntry(vault::DataHome(), DataDirs(), QApplication::applicationFilePath());
  input::CreateShortcut(QApplication::applicationFilePath(), maker::kTitle, QString(), -1);
  return true;
}

void TForm1::Timer1Timer() {
  // Fixed widths and no zone word: the text stamps backup names, which must differ every second.
  StatusBar1->setPanelText(2, QDateTime::currentDateTime().toString("yyyy-MM-dd hh:mm:ss"));
  if (login_ && login_->unlocked()) takeDailyBackupIfDue();
}

void TForm1::Timer_CheckLoginTimer() {
  // The login gate lets pending events run; a tick arriving then must not start a second check.
  if (startupCheckRunning_) return;
  startupCheckRunning_ = true;
  try {
    Button_CheckEnCryptClick();
    Button_CheckLoginClick();
  } catch (const std::exception& error) {
    // Shown once: the check would fail the same way at every tick.
    Timer_CheckLogin->stop();
    services_.dialogs.error(QString::fromUtf8(error.what()));
    closeMainWindow();
    return;
  }
  Timer_CheckLogin->stop();
  startupCheckRunning_ = false;
}

void TForm1::Timer_CloseMeTimer() {
  Timer_CloseMe->stop();
  closeMainWindow();
}

void TForm1::Button_CheckEnCryptClick() {
  // The database key is read, or drawn and stored, only after a right password (openAfterLogin):
  // a wrong one must not change a byte of the file.
  keys_.readProtection(vault_);
}

void TForm1::Button_CheckLoginClick() {
  if (!keys_.readStoredMasterPassword(vault_)) {
    closeMainWindow();
    return;
  }
  hide();
  login_->present();
  QApplication::processEvents();
}

void TForm1::TrayIcon1Click() { ShowMEClick(); }

void TForm1::ShowMEClick() {
  if (!login_->unlocked()) {
    Button_CheckLogin->click();
    return;
  }
  hide();
  show();
  raise();
  activateWindow();
  QApplication::processEvents();
  showOnTaskbar();
}

void TForm1::HideMEClick() {
  services_.taskbar.hideFromTaskbar(*this);
  hide();
  login_->forgetUnlock();
}

void TForm1::Button_HIdeClick() { HideME->trigger(); }

void TForm1::CloseMeClick() { closeMainWindow(); }

void TForm1::Button6Click() {
  if (!saveAdvancedSettings()) return;
  settings::SettingsFile(programFolder_).writeAutoFillMode(settingsPage_->autoFillMode());
  services_.dialogs.message("配置保存成功！");
}

void TForm1::openAfterLogin() {
  if (vault_.databaseKey().empty()) vault_.loadDatabaseKey();
  vault_.pruneHistory();
  if (QScreen* screen = QGuiApplication::primaryScreen()) move(screen->availableGeometry().center() - rect().center());
  show();
  raise();
  activateWindow();
  accountsPage_->pressRebuildCategories();
  accountsPage_->pressRefresh();
  takeDailyBackupIfDue();
}

void TForm1::showOnTaskbar() { services_.taskbar.showOnTaskbar(*this); }

void TForm1::closeMainWindow() {
  // An import runs under its progress window, whose events may ask for the end (the tray menu):
  // the import is cancelled first, and the window closes once it has rolled back.
  if (importRunning_) {
    closeAfterImport_ = true;
    return;
  }
  close();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    widgets::Guarded(services_.dialogs, [this] { FormClose(); });
  }
  event->accept();
  QApplication::quit();
}

// A window manager offers a minimise button that the window itself lacks; it hides to the
// tray and locks, as "最小化" does, instead of leaving the unlocked window on the taskbar.
void TForm1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
  QMetaObject::invokeMethod(
      this,
      [this] {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        HideME->trigger();
      },
      Qt::QueuedConnection);
}

void TForm1::FormClose() {
  fileWork_->finish();  // the file it rewrites must not be left half done
  vault_.close();
  input::SharedClipboard().Clear();
}

}  // namespace app
