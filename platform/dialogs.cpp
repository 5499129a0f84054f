#include "platform/dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {
QWidget* activeOwner() { return QApplication::activeWindow(); }
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

}  // namespace platform
