#pragma once
// The notification-area icon with its menu. Where the desktop has no notification area, a small
// always-on-top window with the same icon, click and menu stands in, so the program stays reachable.
#include <QIcon>
#include <QObject>
#include <QString>

class QMenu;
class QSystemTrayIcon;
class QWidget;

namespace app {

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  TrayIcon(const QIcon& icon, const QString& toolTip, QMenu* menu, QObject* parent);

  void show();

 signals:
  // A left click on the icon.
  void clicked();

 private:
  QIcon icon_;
  QString toolTip_;
  QMenu* menu_;
  QSystemTrayIcon* tray_ = nullptr;
  QWidget* standIn_ = nullptr;
};

}  // namespace app
