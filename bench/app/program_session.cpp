#include "bench/app/program_session.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <stdexcept>

ProgramSession::ProgramSession(QString programFolder, QString masterPassword,
                               crypto::KeyDerivationParameters keyParameters)
    : folder_(std::move(programFolder)), master_(std::move(masterPassword)), keyParameters_(keyParameters) {
  keys_ = login::SessionKeys(keyParameters_);
  // The start writes a desktop shortcut: it goes to a desktop of the benchmark's own.
  const QString root = desktop_.path();
  QDir().mkpath(root + "/config");
  QDir().mkpath(root + "/Desktop");
  QFile dirs(root + "/config/user-dirs.dirs");
  if (!dirs.open(QIODevice::WriteOnly)) throw std::runtime_error("cannot write " + dirs.fileName().toStdString());
  dirs.write(("XDG_DESKTOP_DIR=\"" + root + "/Desktop\"\n").toUtf8());
  dirs.close();
  qputenv("XDG_CONFIG_HOME", (root + "/config").toUtf8());
  QDir().mkpath(root + "/runtime");
  QFile::setPermissions(root + "/runtime", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", (root + "/runtime").toUtf8());
}

ProgramSession::~ProgramSession() { stop(); }

void ProgramSession::start() {
  stop();
  app::ProgramWindows windows = app::CreateProgramWindows(services_, keys_, folder_);
  main_ = std::move(windows.main);
  login_ = std::move(windows.login);
  if (!windows.created) throw std::runtime_error("the main window refused to start");
  main_->Timer_CheckLoginTimer();
  auto* login = login_->findChild<QPushButton*>("Button_Logining");
  login_->findChild<QLineEdit*>("Edit_LoginPass")->setText(master_);
  login->click();
  // A protected file's login derives its key on a worker thread, the button off meanwhile.
  while (!login->isEnabled()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (!main_->isVisible()) throw std::runtime_error("the login did not open the main window");
  QApplication::processEvents();
}

void ProgramSession::stop() {
  app::DestroyProgramWindows(main_, login_);
  keys_ = login::SessionKeys(keyParameters_);
}

void ProgramSession::bringRowIntoView(int row) {
  auto& grid = control<QTableView>("DBGrid1");
  grid.scrollTo(grid.model()->index(row, 3));
  QApplication::processEvents();
}

void ProgramSession::pickRow(int row) {
  auto& grid = control<QTableView>("DBGrid1");
  const QModelIndex cell = grid.model()->index(row, 3);
  grid.setCurrentIndex(cell);
  emit grid.clicked(cell);
}
