#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace platform {

namespace {
QWidget* activeOwner() { return QApplication::activeWindow(); }

// Qt's own file dialog rather than the desktop's: only a dialog of ours can be closed as the
// program locks.
constexpr QFileDialog::Options kFileDialogOptions = QFileDialog::DontUseNativeDialog;

class QtProgress final : public Progress {
 public:
  QtProgress(const QString& caption, const QString& text, const int& closings)
      : dialog_(text, "取消", 0, 0, activeOwner()), closings_(closings), closingsAtStart_(closings) {
    dialog_.setWindowTitle(caption);
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setAutoReset(false);
    dialog_.setAutoClose(false);
    dialog_.setMinimumDuration(500);  // a short operation ends before anything flashes up
  }

  bool advance(int done, int total) override {
    dialog_.setMaximum(total);
    dialog_.setValue(done);
    QApplication::processEvents();
    return !dialog_.wasCanceled() && closings_ == closingsAtStart_;
  }

 private:
  QProgressDialog dialog_;
  const int& closings_;
  const int closingsAtStart_;
};

}  // namespace

template <typename Run>
auto QtDialogs::closable(Run run) {
  const int closingsBefore = closings_;
  auto result = run();
  if (closings_ != closingsBefore) throw DialogsClosed();
  return result;
}

void QtDialogs::closeAll() {
  ++closings_;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* dialog = qobject_cast<QDialog*>(window); dialog && dialog->isVisible()) dialog->reject();
}

void QtDialogs::message(const QString& text) { messageWithCaption(title_, text); }

void QtDialogs::messageWithCaption(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, activeOwner());
  closable([&] { return box.exec(); });
}

void QtDialogs::error(const QString& text) {
  QMessageBox box(QMessageBox::Critical, title_, text, QMessageBox::Ok, activeOwner());
  closable([&] { return box.exec(); });
}

bool QtDialogs::confirm(const QString& caption, const QString& text) {
  // No button is the default, so a stray Enter never confirms a deletion.
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Yes | QMessageBox::No, activeOwner(),
                  Qt::Dialog | Qt::WindowStaysOnTopHint);
  // Buttons of a dialog act on Enter while focused (auto-default), so that is turned off too.
  box.setDefaultButton(static_cast<QPushButton*>(nullptr));
  for (QAbstractButton* button : box.buttons())
    if (auto* push = qobject_cast<QPushButton*>(button)) push->setAutoDefault(false);
  box.setEscapeButton(QMessageBox::No);
  return closable([&] { return box.exec(); }) == QMessageBox::Yes;
}

QString QtDialogs::input(const QString& caption, const QString& prompt, const QString& initial) {
  bool ok = false;
  QString text =
      closable([&] { return QInputDialog::getText(activeOwner(), caption, prompt, QLineEdit::Normal, initial, &ok); });
  return ok ? text : initial;
}

QString QtDialogs::passwordInput(const QString& caption, const QString& prompt) {
  bool ok = false;
  QString text = closable(
      [&] { return QInputDialog::getText(activeOwner(), caption, prompt, QLineEdit::Password, QString(), &ok); });
  return ok ? text : QString();
}

bool QtDialogs::question(const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, activeOwner());
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return closable([&] { return box.exec(); }) == QMessageBox::Yes;
}

QString QtDialogs::openFileName(const QString& caption, const QString& filter) {
  return closable([&] {
    return QFileDialog::getOpenFileName(activeOwner(), caption, QDir::homePath(), filter, nullptr, kFileDialogOptions);
  });
}

QString QtDialogs::saveFileName(const QString& caption, const QString& suggestedName, const QString& filter) {
  return closable([&] {
    return QFileDialog::getSaveFileName(activeOwner(), caption, QDir::home().filePath(suggestedName), filter, nullptr,
                                        kFileDialogOptions);
  });
}

std::unique_ptr<Progress> QtDialogs::progress(const QString& caption, const QString& text) {
  return std::make_unique<QtProgress>(caption, text, closings_);
}

}  // namespace platform
