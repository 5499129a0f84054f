#pragma once
// The real windows over a real database in a temporary program folder, with every platform
// service replaced by a recording fake.
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/program_windows.h"
#include "tests/fakes/fake_desktop.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_global_shortcuts.h"
#include "tests/fakes/fake_hot_keys.h"
#include "tests/fakes/fake_input_method.h"
#include "tests/fakes/fake_key_sink.h"
#include "tests/fakes/fake_lock_signals.h"

// The one control below root with this object name; the test fails when none or several carry it.
template <typename Control>
Control* Named(const QObject& root, const QString& name) {
  const QList<Control*> found = root.findChildren<Control*>(name);
  if (found.size() != 1) throw std::logic_error(std::to_string(found.size()) + " controls named " + name.toStdString());
  return found.front();
}

struct StoredRecord {
  std::string number, category, address, title, account, passwordCipher, noteCipher, uses;
};

class AppHarness {
 public:
  static constexpr const char* kMaster = "123456";

  AppHarness();
  ~AppHarness();

  QString folder() const { return programFolder_; }
  std::string databasePath() const { return (programFolder_ + "_.udb").toStdString(); }

  // A fresh database with the given master password (and no key drawn yet).
  void makeDatabase(const std::string& master = kMaster);
  // Runs one SQL statement on the file, outside the program.
  void exec(const std::string& statement);
  // The value of the first column of the first row of a query, outside the program.
  std::string scalar(const std::string& statement);
  std::vector<StoredRecord> records(const std::string& orderBy = "编号");

  // Creates the windows as the program start does; FormCreate's result.
  bool create();
  // The start-up check that the timer runs one second after start.
  void runStartupCheck();
  // Creates the windows, runs the check and logs in.
  void startAndLogin(const QString& password = kMaster);
  void typeLogin(const QString& password);
  // A fresh start of the program on the same folder (the old windows are gone).
  void restart();

  // Adds a record through the form; the category must be in the form's list.
  void addRecord(const QString& category, const QString& title, const QString& account, const QString& password,
                 const QString& note = QString(), const QString& address = QString());
  // Adds a category through the list's menu.
  void addCategory(const QString& name);
  // Picks the grid row (0-based) as a click on it does.
  void pickRow(int row);
  // Picks the first record, stored first when there is none: a pick arms the hot keys.
  void pickAnyRecord();
  int gridRowCount() const;
  // The 1-based number of the grid's current row; 0 when there is none.
  int cursorRecordNumber() const;
  QString gridText(int row, int column) const;
  QString panel(int index) const;
  // Until the fill underway has ended; hot-key presses and shortcut releases wait by themselves.
  void waitForFill();

  fakes::FakeDialogs dialogs;
  fakes::FakeShell shell;
  fakes::FakeTaskbar taskbar;
  fakes::FakeBeeper beeper;
  fakes::FakeHotKeys hotKeys;
  fakes::FakeKeySink keySink;
  fakes::FakeInputMethod inputMethod{keySink.events};
  fakes::FakeLockSignals lockSignals;
  fakes::FakeGlobalShortcuts globalShortcuts;
  platform::Services services{dialogs, shell,       taskbar,     beeper,         hotKeys,
                              keySink, inputMethod, lockSignals, globalShortcuts};
  login::SessionKeys keys;
  std::unique_ptr<app::TForm1> main;
  std::unique_ptr<login::TForm2> login;

 private:
  void destroyWindows();
  QTemporaryDir dir_;
  QString programFolder_;
  QByteArray oldConfigHome_;
  QByteArray oldDataHome_;
};
