// keyhaven_e2e_receiver <file>: one focused line edit; its text goes to <file> on every change,
// and <file>.ready appears once the edit has the keyboard focus.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
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
  if (argc != 2) {
    std::fprintf(stderr, "usage: keyhaven_e2e_receiver <file>\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);

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
    WriteFile(path + ".ready", QByteArray());
  });
  readiness.start(50);
  return app.exec();
}
