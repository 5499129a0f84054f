#pragma once
// Every message box and input dialog of the program.
#include <QString>

class QWidget;

namespace platform {

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

 private:
  QString title_;
};

}  // namespace platform
