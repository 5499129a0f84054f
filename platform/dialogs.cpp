#include "platform/dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

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

// A box for the new master password: the login window takes letters and digits only, and no
// input method may compose into it.
QLineEdit* NewPasswordEdit(QDialog& dialog, const char* name, const QString& accessibleName) {
  auto* edit = new QLineEdit(&dialog);
  edit->setObjectName(name);
  edit->setAccessibleName(accessibleName);
  edit->setEchoMode(QLineEdit::Password);
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[A-Za-z0-9]*"), edit));
  return edit;
}

// A dialog of ours over the main window, which stays visible but takes no input meanwhile.
void MakeWindowModal(QDialog& dialog, const char* name, const QString& title) {
  dialog.setObjectName(name);
  dialog.setWindowTitle(title);
  dialog.setWindowModality(Qt::WindowModal);
}

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

std::optional<NewMasterPassword> QtDialogs::newMasterPassword(bool protectFile) {
  QDialog dialog(activeOwner());
  MakeWindowModal(dialog, "Dialog_NewMasterPassword", "设置管理密码");
  auto* intro = new QLabel(
      "钥匣仍在使用初始管理密码 123456, 拿到数据库文件的人可以读出全部密码.\n"
      "请设置您自己的管理密码 (字母和数字, 至少 8 个):",
      &dialog);
  QLineEdit* typed = NewPasswordEdit(dialog, "Edit_NewPassword", "请输入密码");
  QLineEdit* repeated = NewPasswordEdit(dialog, "Edit_NewPasswordAgain", "确认密码");
  auto* protect = new QCheckBox("用管理密码加密数据库文件 (推荐)", &dialog);
  protect->setObjectName("CheckBox_ProtectFile");
  protect->setChecked(protectFile);
  auto* warning = new QLabel("忘记管理密码后, 任何人都无法恢复数据.", &dialog);
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton("确定", QDialogButtonBox::AcceptRole)->setObjectName("Button_SetPassword");
  buttons->addButton("以后再说", QDialogButtonBox::RejectRole)->setObjectName("Button_Later");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* fields = new QFormLayout;
  fields->addRow("请输入密码", typed);
  fields->addRow("确认密码", repeated);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(intro);
  layout->addLayout(fields);
  layout->addWidget(protect);
  layout->addWidget(warning);
  layout->addWidget(buttons);
  if (closable([&] { return dialog.exec(); }) != QDialog::Accepted) return std::nullopt;
  return NewMasterPassword{typed->text(), repeated->text(), protect->isChecked()};
}

std::optional<int> QtDialogs::chooseVersion(const std::vector<RecordVersion>& versions) {
  QDialog dialog(activeOwner());
  MakeWindowModal(dialog, "Dialog_History", "历史版本");
  auto* list = new QListWidget(&dialog);
  list->setObjectName("ListBox_Versions");
  for (const RecordVersion& version : versions) list->addItem(version.line);
  auto* fields = new QPlainTextEdit(&dialog);
  fields->setReadOnly(true);
  auto* password = new QLineEdit(&dialog);
  password->setReadOnly(true);
  password->setEchoMode(QLineEdit::Password);
  password->setAccessibleName("密码");
  auto* show = new QPushButton("显示", &dialog);
  QObject::connect(show, &QPushButton::clicked, &dialog, [password, show] {
    const bool shown = password->echoMode() == QLineEdit::Normal;
    password->setEchoMode(shown ? QLineEdit::Password : QLineEdit::Normal);
    show->setText(shown ? "显示" : "隐藏");
  });
  QObject::connect(list, &QListWidget::currentRowChanged, &dialog, [&versions, fields, password, show](int row) {
    if (row < 0) return;
    fields->setPlainText(versions[static_cast<std::size_t>(row)].fields);
    password->setText(versions[static_cast<std::size_t>(row)].password);
    password->setEchoMode(QLineEdit::Password);  // each version's password is asked for anew
    show->setText("显示");
  });
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton("恢复此版本", QDialogButtonBox::AcceptRole)->setObjectName("Button_RestoreVersion");
  buttons->addButton("关闭", QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* passwordRow = new QHBoxLayout;
  passwordRow->addWidget(new QLabel("密码", &dialog));
  passwordRow->addWidget(password, 1);
  passwordRow->addWidget(show);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(list);
  layout->addWidget(fields);
  layout->addLayout(passwordRow);
  layout->addWidget(buttons);
  list->setCurrentRow(0);
  dialog.resize(420, 360);
  if (closable([&] { return dialog.exec(); }) != QDialog::Accepted || list->currentRow() < 0) return std::nullopt;
  return list->currentRow();
}

std::optional<DeletedChoice> QtDialogs::chooseDeleted(const QStringList& lines) {
  QDialog dialog(activeOwner());
  MakeWindowModal(dialog, "Dialog_Deleted", "最近删除");
  auto* list = new QListWidget(&dialog);
  list->setObjectName("ListBox_Deleted");
  list->addItems(lines);
  list->setCurrentRow(0);
  bool removeForGood = false;
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton("恢复", QDialogButtonBox::AcceptRole);
  QPushButton* remove = buttons->addButton("永久删除", QDialogButtonBox::DestructiveRole);
  buttons->addButton("关闭", QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(remove, &QPushButton::clicked, &dialog, [&dialog, &removeForGood] {
    removeForGood = true;
    dialog.accept();
  });
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(list);
  layout->addWidget(buttons);
  dialog.resize(480, 320);
  if (closable([&] { return dialog.exec(); }) != QDialog::Accepted || list->currentRow() < 0) return std::nullopt;
  return DeletedChoice{list->currentRow(), removeForGood};
}

}  // namespace platform
