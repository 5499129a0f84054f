#pragma once
// Every message box and input dialog of the program.
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

class QWidget;

namespace platform {

// Thrown out of a dialog that closeAll() closed: the operation that asked ends without a word.
class DialogsClosed : public std::runtime_error {
 public:
  DialogsClosed() : std::runtime_error("dialogs closed") {}
};

// The window of a long operation, with a cancel button; open while this object lives.
class Progress {
 public:
  virtual ~Progress() = default;
  // Shows done of total and lets the program answer the user; false once the user cancelled or
  // closeAll() closed the window.
  virtual bool advance(int done, int total) = 0;
};

// What the offer "设置管理密码" brings back on 确定: the new password as typed twice, and its box.
struct NewMasterPassword {
  QString typed;
  QString repeated;
  bool protectFile = true;
};

// One earlier version of a record as the dialog "历史版本" lists it.
struct RecordVersion {
  QString line;      // its time and the names of the fields that differ from the current record
  QString fields;    // its fields, one "名称: 值" line each, the password aside
  QString password;  // masked until 显示
};

// What the dialog "最近删除" was closed with: a deleted record to bring back or to remove for good.
struct DeletedChoice {
  int index = 0;
  bool removeForGood = false;  // 永久删除 rather than 恢复
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A plain modal message with an OK button, captioned with the application title.
  virtual void message(const QString& text) = 0;
  // A modal message with a caption of its own and an OK button.
  virtual void messageWithCaption(const QString& caption, const QString& text) = 0;
  // The error box that shows the text of an error a handler did not catch.
  virtual void error(const QString& text) = 0;
  // The deletion warning: Yes/No, warning icon, stays on top; true only for Yes.
  virtual bool confirm(const QString& caption, const QString& text) = 0;
  // The one-line input dialog: the edited text on OK, the initial text on Cancel.
  virtual QString input(const QString& caption, const QString& prompt, const QString& initial) = 0;
  // The one-line input dialog with its text shown as dots; the empty text on Cancel.
  virtual QString passwordInput(const QString& caption, const QString& prompt) = 0;
  // A Yes/No question with Yes the default; true for Yes.
  virtual bool question(const QString& caption, const QString& text) = 0;
  // The file dialog that picks an existing file; the path, or empty on Cancel. filter as Qt's
  // file dialogs take it ("CSV 文件 (*.csv)").
  virtual QString openFileName(const QString& caption, const QString& filter) = 0;
  // The file dialog that names a file to write, offering suggestedName; empty on Cancel.
  virtual QString saveFileName(const QString& caption, const QString& suggestedName, const QString& filter) = 0;
  // The window of a long operation, with text above its bar, open while the result lives.
  virtual std::unique_ptr<Progress> progress(const QString& caption, const QString& text) = 0;
  // The offer "设置管理密码", window-modal over the main window: a new master password of letters and
  // digits typed twice, and the box that protects the file with it (ticked as given); nothing for "以后再说".
  virtual std::optional<NewMasterPassword> newMasterPassword(bool protectFile) = 0;
  // The dialog "历史版本": the versions, newest first, and a selected one's fields; the index of
  // the one to restore on "恢复此版本", nothing on 关闭.
  virtual std::optional<int> chooseVersion(const std::vector<RecordVersion>& versions) = 0;
  // The dialog "最近删除": one line per deleted record, newest first; nothing on 关闭.
  virtual std::optional<DeletedChoice> chooseDeleted(const QStringList& lines) = 0;
  // Closes every dialog of the program that is open, ours or Qt's, as the program locks; each of
  // these calls still waiting then throws DialogsClosed.
  virtual void closeAll() = 0;
};

// QMessageBox and QInputDialog.
class QtDialogs final : public Dialogs {
 public:
  // Plain messages and errors are captioned with the application's title.
  explicit QtDialogs(QString applicationTitle) : title_(std::move(applicationTitle)) {}

  void message(const QString& text) override;
  void messageWithCaption(const QString& caption, const QString& text) override;
  void error(const QString& text) override;
  bool confirm(const QString& caption, const QString& text) override;
  QString input(const QString& caption, const QString& prompt, const QString& initial) override;
  QString passwordInput(const QString& caption, const QString& prompt) override;
  bool question(const QString& caption, const QString& text) override;
  QString openFileName(const QString& caption, const QString& filter) override;
  QString saveFileName(const QString& caption, const QString& suggestedName, const QString& filter) override;
  std::unique_ptr<Progress> progress(const QString& caption, const QString& text) override;
  std::optional<NewMasterPassword> newMasterPassword(bool protectFile) override;
  std::optional<int> chooseVersion(const std::vector<RecordVersion>& versions) override;
  std::optional<DeletedChoice> chooseDeleted(const QStringList& lines) override;
  void closeAll() override;

 private:
  // Runs a dialog; throws DialogsClosed when closeAll() came while it was open.
  template <typename Run>
  auto closable(Run run);

  QString title_;
  int closings_ = 0;
};

}  // namespace platform
