// keyhaven_e2e_receiver <file> [--clipboard [TEXT]]: one focused line edit; its text goes to <file>
// on every change, and <file>.ready appears once the edit has the keyboard focus. With --clipboard,
// the clipboard's password-manager hint, a line feed and its text go to <file>.clipboard then and
// on every change, after it put TEXT there itself where given.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QSaveFile>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

namespace {

void WriteFile(const QString& path, const QByteArray& content) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
    std::fprintf(stderr, "receiver: cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool watchClipboard = argc > 2 && QByteArray(argv[2]) == "--clipboard";
  if (argc < 2 || argc > 4 || (argc > 2 && !watchClipboard)) {
    std::fprintf(stderr, "usage: keyhaven_e2e_receiver <file> [--clipboard [TEXT]]\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);
  const QString ownCopy = argc == 4 ? QString::fromUtf8(argv[3]) : QString();
  auto reportClipboard = [&path] {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    const QByteArray hint = data ? data->data("x-kde-passwordManagerHint") : QByteArray();
    WriteFile(path + ".clipboard", hint + '\n' + (data ? data->text().toUtf8() : QByteArray()));
  };

  QWidget window;
  window.setWindowTitle("keyhaven-receiver");
  auto* edit = new QLineEdit(&window);
  edit->setAccessibleName("typed text");
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(edit);
  QObject::connect(edit, &QLineEdit::textChanged, [&path](const QString& text) { WriteFile(path, text.toUtf8()); });
  window.resize(400, 80);
  window.show();
  window.activateWindow();
  edit->setFocus();

  QTimer readiness;
  QObject::connect(&readiness, &QTimer::timeout, [&] {
    if (!window.isActiveWindow() || !edit->hasFocus()) {
      window.activateWindow();
      return;
    }
    readiness.stop();
    if (!ownCopy.isEmpty()) QGuiApplication::clipboard()->setText(ownCopy);
    if (watchClipboard) {
      QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, reportClipboard);
      reportClipboard();
    }
    WriteFile(path + ".ready", QByteArray());
  });
  readiness.start(50);
  return app.exec();
}
