#include "app/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace app {

namespace {

QPixmap drawIcon(int size) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1f, 0x4e, 0x79));
  painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
  QPainterPath key;
  key.addEllipse(QPointF(22, 32), 12, 12);
  key.addRect(QRectF(30, 28, 26, 8));
  key.addRect(QRectF(46, 36, 5, 9));
  key.addRect(QRectF(38, 36, 5, 7));
  QPainterPath hole;
  hole.addEllipse(QPointF(20, 32), 4.5, 4.5);
  painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
  painter.drawPath(key.simplified().subtracted(hole));
  return picture;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128}) icon.addPixmap(drawIcon(size));
  return icon;
}

}  // namespace app
