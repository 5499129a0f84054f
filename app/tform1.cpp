// The main window's construction and the wiring of every handler through the error guard.
#include "app/tform1.h"
#include <QLabel>

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "app/about_page.h"
#include "app/accounts_page.h"
#include "app/advanced_page.h"
#include "app/background_work.h"
#include "app/settings_page.h"
#include "app/tray_icon.h"
#include "login/tform2.h"
#include "platform/lock_signals.h"
#include "widgets/handler_guard.h"

namespace app {

TForm1::TForm1(platform::Services& services, login::SessionKeys& keys, QString programFolder)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint),
      services_(services),
      keys_(keys),
      programFolder_(std::move(programFolder)),
      fileWork_(new BackgroundWork(this)) {
  buildWindow();
  connectHandlers();
  Timer1->start();
}

TForm1::~TForm1() {
  // The hot keys belong to the login window, which outlives this one.
  if (login_) login_->releaseHotKeys();
  // The grid's listing lives in the vault, which goes before the widgets do.
  accountsPage_->detachListing();
}

void TForm1::showOnRequest() { ShowME->trigger(); }

template <typename Sender, typename Signal, typename Handler>
void TForm1::onSignal(Sender* sender, Signal signal, Handler handler) {
  connect(sender, signal, this,
          [this, handler] { widgets::Guarded(services_.dialogs, [this, handler] { (this->*handler)(); }); });
}

void TForm1::connectHandlers() {
  onSignal(Timer1, &QTimer::timeout, &TForm1::Timer1Timer);
  onSignal(Timer_CheckLogin, &QTimer::timeout, &TForm1::Timer_CheckLoginTimer);
  onSignal(Timer_CloseMe, &QTimer::timeout, &TForm1::Timer_CloseMeTimer);
  onSignal(Timer_ClearClipbrd, &QTimer::timeout, &TForm1::Timer_ClearClipbrdTimer);
  onSignal(Button_CheckEnCrypt, &QPushButton::clicked, &TForm1::Button_CheckEnCryptClick);
  onSignal(Button_CheckLogin, &QPushButton::clicked, &TForm1::Button_CheckLoginClick);
  onSignal(TrayIcon1, &TrayIcon::clicked, &TForm1::TrayIcon1Click);
  onSignal(Aboutme, &QAction::triggered, &TForm1::AboutmeClick);
  onSignal(ShowME, &QAction::triggered, &TForm1::ShowMEClick);
  onSignal(HideME, &QAction::triggered, &TForm1::HideMEClick);
  onSignal(HideME, &QAction::triggered, &TForm1::HideMEAfterLock);
  onSignal(&services_.lockSignals, &platform::LockSignals::idleLimitReached, &TForm1::IdleLimitReached);
  onSignal(&services_.lockSignals, &platform::LockSignals::screenLockedOrAsleep, &TForm1::ScreenLockedOrAsleep);
  connect(fileWork_, &BackgroundWork::started, this, &TForm1::FileWorkStarted);
  onSignal(fileWork_, &BackgroundWork::ended, &TForm1::FileWorkEnded);
  onSignal(CloseMe, &QAction::triggered, &TForm1::CloseMeClick);
  onSignal(Button_HIde, &QPushButton::clicked, &TForm1::Button_HIdeClick);
  onSignal(settingsPage_, &SettingsPage::saveClicked, &TForm1::Button6Click);
  onSignal(settingsPage_, &SettingsPage::compactClicked, &TForm1::Button11Click);
  onSignal(advancedPage_, &AdvancedPage::saveClicked, &TForm1::Button_SaveAdvancedClick);
  onSignal(PageControl1, &QTabWidget::currentChanged, &TForm1::PageControl1Change);

  auto* accounts = accountsPage_;
  onSignal(accounts, &AccountsPage::refreshClicked, &TForm1::Button_RefreshClick);
  onSignal(accounts, &AccountsPage::recordClicked, &TForm1::DBGrid1CellClick);
  onSignal(accounts, &AccountsPage::firstClicked, &TForm1::Button_FirstClick);
  onSignal(accounts, &AccountsPage::priorClicked, &TForm1::Button_PriorClick);
  onSignal(accounts, &AccountsPage::nextClicked, &TForm1::Button_NextClick);
  onSignal(accounts, &AccountsPage::lastClicked, &TForm1::Button_LastClick);
  onSignal(accounts, &AccountsPage::showOrHideClicked, &TForm1::Button_Pass_ShowOrHideClick);
  onSignal(accounts, &AccountsPage::clearFormClicked, &TForm1::Button_ClearAllEditClick);
  connect(accounts, &AccountsPage::gridWheeled, this,
          [this](int delta) { widgets::Guarded(services_.dialogs, [this, delta] { GridWheel(delta); }); });
  // A listing, as it opens, stands on its first row.
  connect(DataSource1, &QAbstractItemModel::modelReset, this, [this] { accountsPage_->moveCursorTo(0); });

  onSignal(accounts, &AccountsPage::addClicked, &TForm1::Button1Click);
  onSignal(accounts, &AccountsPage::modifyClicked, &TForm1::Button2Click);
  onSignal(accounts, &AccountsPage::deleteClicked, &TForm1::Button3Click);
  onSignal(accounts, &AccountsPage::historyClicked, &TForm1::Button_HistoryClick);
  onSignal(advancedPage_, &AdvancedPage::deletedClicked, &TForm1::Button_DeletedClick);

  onSignal(accounts, &AccountsPage::rebuildCategoriesClicked, &TForm1::Button_GeiClassClick);
  onSignal(accounts, &AccountsPage::categoryChosen, &TForm1::ListBox_ClassClick);
  onSignal(accounts, &AccountsPage::categoryMenuOpening, &TForm1::PopupMenu2Popup);
  onSignal(accounts, &AccountsPage::addCategoryChosen, &TForm1::N5Click);
  onSignal(accounts, &AccountsPage::renameCategoryChosen, &TForm1::N4Click);
  onSignal(accounts, &AccountsPage::deleteCategoryChosen, &TForm1::N3Click);

  onSignal(accounts, &AccountsPage::searchClicked, &TForm1::Button_SearchClick);
  onSignal(accounts, &AccountsPage::keywordClicked, &TForm1::searchkeywordClick);

  onSignal(accounts, &AccountsPage::copyAccountClicked, &TForm1::ButtonCopyZhangHaoClick);
  onSignal(accounts, &AccountsPage::copyPasswordClicked, &TForm1::ButtonCopyEdit_MiMaClick);
  onSignal(accounts, &AccountsPage::generateClicked, &TForm1::Button_GenerateClick);
  onSignal(accounts, &AccountsPage::copyAddressClicked, &TForm1::Button4Click);

  onSignal(settingsPage_, &SettingsPage::changePasswordClicked, &TForm1::Button7Click);
  onSignal(settingsPage_, &SettingsPage::clearClicked, &TForm1::Button_PassClealClick);
  onSignal(settingsPage_, &SettingsPage::maskClicked, &TForm1::Button5Click);
  onSignal(advancedPage_, &AdvancedPage::importClicked, &TForm1::Button_ImportClick);
  onSignal(advancedPage_, &AdvancedPage::exportClicked, &TForm1::Button_ExportClick);
  // Listed again, the form keeps what the user typed there.
  connect(advancedPage_, &AdvancedPage::fileRewritten, this, [this] {
    vault_.listByUsage();
    accountsPage_->applyColumnLayout();
  });

  onSignal(accounts, &AccountsPage::openAddressClicked, &TForm1::Button10Click);
  onSignal(Button8, &QPushButton::clicked, &TForm1::Button8Click);
  onSignal(aboutPage_, &AboutPage::downloadPageClicked, &TForm1::Label23Click);
  onSignal(aboutPage_, &AboutPage::helpPageClicked, &TForm1::Label24Click);
  onSignal(aboutPage_, &AboutPage::mainPageClicked, &TForm1::Label26Click);
  onSignal(aboutPage_, &AboutPage::issuesPageClicked, &TForm1::Label27Click);
}

}  // namespace app
