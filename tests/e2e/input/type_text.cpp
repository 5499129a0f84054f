// keyhaven_type_text [--raw] <file>: types the UTF-8 text of <file> literally into the focused
// window through the X11 keystroke backend; with --raw the text is read as key language.
// Exit status 0 only when everything was sent without a message.
#include <QFile>
#include <QString>
#include <cstdio>

#include "input/send_keys.h"
#include "platform/dialogs.h"
#include "platform/x11/x11_key_sink.h"

namespace {

class CancelledProgress final : public platform::Progress {
 public:
  bool advance(int, int) override { return false; }
};

// Every message the sender shows counts as a failure of the run.
class ReportingDialogs final : public platform::Dialogs {
 public:
  void message(const QString& text) override { report("", text); }
  void messageWithCaption(const QString& caption, const QString& text) override { report(caption, text); }
  void error(const QString& text) override { report("error", text); }
  bool confirm(const QString& caption, const QString& text) override {
    report(caption, text);
    return false;
  }
  QString input(const QString& caption, const QString& prompt, const QString& initial) override {
    report(caption, prompt);
    return initial;
  }
  QString passwordInput(const QString& caption, const QString& prompt) override {
    report(caption, prompt);
    return QString();
  }
  bool question(const QString& caption, const QString& text) override {
    report(caption, text);
    return false;
  }
  QString openFileName(const QString& caption, const QString& filter) override {
    report(caption, filter);
    return QString();
  }
  QString saveFileName(const QString& caption, const QString& suggestedName, const QString&) override {
    report(caption, suggestedName);
    return QString();
  }
  std::unique_ptr<platform::Progress> progress(const QString& caption, const QString& text) override {
    report(caption, text);
    return std::make_unique<CancelledProgress>();
  }
  std::optional<platform::NewMasterPassword> newMasterPassword(bool) override {
    report("设置管理密码", "");
    return std::nullopt;
  }
  std::optional<int> chooseVersion(const std::vector<platform::RecordVersion>&) override {
    report("历史版本", "");
    return std::nullopt;
  }
  std::optional<platform::DeletedChoice> chooseDeleted(const QStringList&) override {
    report("最近删除", "");
    return std::nullopt;
  }
  void closeAll() override {}
  int shown = 0;

 private:
  void report(const QString& caption, const QString& text) {
    ++shown;
    std::fprintf(stderr, "type_text: message [%s] %s\n", qPrintable(caption), qPrintable(text));
  }
};

}  // namespace

int main(int argc, char** argv) {
  const bool raw = argc == 3 && QByteArray(argv[1]) == "--raw";
  if (argc != 2 && !raw) {
    std::fprintf(stderr, "usage: keyhaven_type_text [--raw] <file>\n");
    return 2;
  }
  QFile file(QString::fromLocal8Bit(argv[argc - 1]));
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "type_text: cannot read %s\n", argv[argc - 1]);
    return 2;
  }
  const QString text = QString::fromUtf8(file.readAll());
  auto sink = platform::x11::X11KeySink::open();
  if (!sink) {
    std::fprintf(stderr, "type_text: no X display with XTest and XKB\n");
    return 2;
  }
  ReportingDialogs dialogs;
  const bool sent = input::SendKeys(*sink, dialogs, raw ? text : input::EscapeForKeyLanguage(text), false);
  return sent && dialogs.shown == 0 ? 0 : 1;
}
