#include "app/tray_icon.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

namespace app {

namespace {

class StandInWindow : public QLabel {
 public:
  StandInWindow(TrayIcon& owner, const QIcon& icon, const QString& toolTip, QMenu* menu)
      : QLabel(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint), owner_(owner), menu_(menu) {
    setObjectName("TrayIconStandIn");
    setWindowTitle(toolTip + " 托盘");
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setPixmap(icon.pixmap(32, 32));
    setAlignment(Qt::AlignCenter);
    setFixedSize(40, 40);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) emit owner_.clicked();
    if (event->button() == Qt::RightButton) menu_->popup(event->globalPosition().toPoint());
  }

 private:
  TrayIcon& owner_;
  QMenu* menu_;
};

}  // namespace

TrayIcon::TrayIcon(const QIcon& icon, const QString& toolTip, QMenu* menu, QObject* parent)
    : QObject(parent), icon_(icon), toolTip_(toolTip), menu_(menu) {}

void TrayIcon::show() {
  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    if (!tray_) {
      tray_ = new QSystemTrayIcon(icon_, this);
      tray_->setToolTip(toolTip_);
      tray_->setContextMenu(menu_);
      connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) emit clicked();
      });
    }
    tray_->show();
    return;
  }
  if (!standIn_) {
    standIn_ = new StandInWindow(*this, icon_, toolTip_, menu_);
    connect(this, &QObject::destroyed, standIn_, &QObject::deleteLater);
  }
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    standIn_->move(area.right() - standIn_->width() - 8, area.bottom() - standIn_->height() - 8);
  }
  standIn_->show();
}

}  // namespace app
