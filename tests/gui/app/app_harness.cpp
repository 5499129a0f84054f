#include "tests/gui/app/app_harness.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "crypto/protected_field.h"
#include "input/fill_engine.h"
#include "store/connection.h"
#include "store/database_file.h"
#include "store/query.h"
#include "widgets/panel_status_bar.h"

AppHarness::AppHarness() {
  programFolder_ = dir_.path() + "/program/";
  QDir().mkpath(programFolder_);
  // The desktop shortcut goes to a desktop of the test's own.
  QDir().mkpath(dir_.path() + "/config");
  QDir().mkpath(dir_.path() + "/Desktop");
  QFile dirs(dir_.path() + "/config/user-dirs.dirs");
  dirs.open(QIODevice::WriteOnly);
  dirs.write(("XDG_DESKTOP_DIR=\"" + dir_.path() + "/Desktop\"\n").toUtf8());
  dirs.close();
  oldConfigHome_ = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", (dir_.path() + "/config").toUtf8());
  // So is the icon the shortcut shows.
  oldDataHome_ = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toUtf8());
}

AppHarness::~AppHarness() {
  destroyWindows();
  qputenv("XDG_CONFIG_HOME", oldConfigHome_);
  oldDataHome_.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldDataHome_);
}

void AppHarness::destroyWindows() { app::DestroyProgramWindows(main, login); }

void AppHarness::makeDatabase(const std::string& master) {
  store::CreateDatabaseFile(databasePath(), crypto::MasterPasswordCipher(master), true);
}

namespace {
store::Connection& outsideConnection(store::Connection& c, const std::string& path) {
  c.setConnectionString(store::BuildConnectionString(path.substr(0, path.size() - 5)));
  return c;
}
}  // namespace

void AppHarness::exec(const std::string& statement) {
  store::Connection c;
  store::Query q(outsideConnection(c, databasePath()));
  q.addSql(statement);
  q.execSql();
}

std::string AppHarness::scalar(const std::string& statement) {
  store::Connection c;
  store::Query q(outsideConnection(c, databasePath()));
  q.addSql(statement);
  q.open();
  return q.field(0);
}

std::vector<StoredRecord> AppHarness::records(const std::string& orderBy) {
  store::Connection c;
  store::Query q(outsideConnection(c, databasePath()));
  q.addSql("select 编号,分类,网址,标题,帐号,密码,备注,统计 from data order by " + orderBy);
  q.open();
  std::vector<StoredRecord> out;
  for (const auto& r : q.rows()) out.push_back({r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7]});
  return out;
}

bool AppHarness::create() {
  destroyWindows();
  dialogs.asked.clear();
  app::ProgramWindows windows = app::CreateProgramWindows(services, keys, programFolder_);
  main = std::move(windows.main);
  login = std::move(windows.login);
  hotKeys.afterPress = globalShortcuts.afterRelease = [this] { waitForFill(); };
  return windows.created;
}

void AppHarness::waitForFill() {
  const auto* engine = Named<input::FillEngine>(*login, "FillEngine");
  EXPECT_TRUE(QTest::qWaitFor([engine] { return !engine->busy(); }, 10000)) << "the fill did not end";
}

void AppHarness::runStartupCheck() { main->Timer_CheckLoginTimer(); }

void AppHarness::typeLogin(const QString& password) {
  Named<QLineEdit>(*login, "Edit_LoginPass")->setText(password);
  Named<QPushButton>(*login, "Button_Logining")->click();
}

void AppHarness::startAndLogin(const QString& password) {
  ASSERT_TRUE(create());
  runStartupCheck();
  ASSERT_TRUE(login->isVisible());
  typeLogin(password);
  ASSERT_TRUE(main->isVisible()) << "login with " << password.toStdString() << " failed";
}

void AppHarness::restart() {
  destroyWindows();
  keys = login::SessionKeys{};
}

void AppHarness::addRecord(const QString& category, const QString& title, const QString& account,
                           const QString& password, const QString& note, const QString& address) {
  auto* categories = Named<QComboBox>(*main, "Edit_FenLei");
  int index = categories->findText(category);
  ASSERT_GE(index, 0) << "no category " << category.toStdString();
  categories->setCurrentIndex(index);
  Named<QLineEdit>(*main, "Edit_BiaoTi")->setText(title);
  Named<QLineEdit>(*main, "Edit_ZhangHao")->setText(account);
  Named<QLineEdit>(*main, "Edit_MiMa")->setText(password);
  Named<QPlainTextEdit>(*main, "Memo_BeiZhu")->setPlainText(note);
  Named<QLineEdit>(*main, "Edit_WangZhi")->setText(address);
  Named<QPushButton>(*main, "Button1")->click();
}

void AppHarness::addCategory(const QString& name) {
  dialogs.inputAnswers.push_back(name);
  Named<QAction>(*main, "N5")->trigger();
}

void AppHarness::pickRow(int row) {
  auto* grid = Named<QTableView>(*main, "DBGrid1");
  QModelIndex cell = grid->model()->index(row, 3);
  grid->setCurrentIndex(cell);
  emit grid->clicked(cell);
}

void AppHarness::pickAnyRecord() {
  if (gridRowCount() == 0) {
    exec("insert into data (分类,标题,网址,帐号,密码,备注) values ('c','t','','me','','')");
    Named<QPushButton>(*main, "Button_Refresh")->click();
  }
  pickRow(0);
}

int AppHarness::cursorRecordNumber() const { return Named<QTableView>(*main, "DBGrid1")->currentIndex().row() + 1; }

int AppHarness::gridRowCount() const { return Named<QTableView>(*main, "DBGrid1")->model()->rowCount(); }

QString AppHarness::gridText(int row, int column) const {
  return Named<QTableView>(*main, "DBGrid1")->model()->index(row, column).data().toString();
}

QString AppHarness::panel(int index) const {
  return Named<widgets::PanelStatusBar>(*main, "StatusBar1")->panelText(index);
}
