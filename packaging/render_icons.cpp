// keyhaven-render-icons FOLDER: writes the program's drawn icon as FOLDER/<n>x<n>/apps/keyhaven.png
// for every size it is drawn at, the layout of an icon theme such as hicolor.
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

#include "app/program_icon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: keyhaven-render-icons FOLDER\n");
    return 2;
  }
  // Drawing needs no display; the build may run where there is none.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);
  const QIcon icon = app::ProgramIcon();
  for (const QSize& size : icon.availableSizes()) {
    const QString sizeFolder = QStringLiteral("%1/%2x%3/apps").arg(folder).arg(size.width()).arg(size.height());
    const QString file = sizeFolder + "/keyhaven.png";
    if (!QDir().mkpath(sizeFolder) || !icon.pixmap(size).save(file, "PNG")) {
      std::fprintf(stderr, "keyhaven-render-icons: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
