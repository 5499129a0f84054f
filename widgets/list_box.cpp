#include "widgets/list_box.h"

#include <QMouseEvent>
#include <QPainter>

namespace widgets {

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {}

void ListBox::setEmptyHint(const QString& hint) {
  emptyHint_ = hint;
  viewport()->update();
}

// The menu's operations act on the highlighted item, so the right button must not move it.
void ListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) QListWidget::mousePressEvent(event);
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) QListWidget::mouseReleaseEvent(event);
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) QListWidget::mouseDoubleClickEvent(event);
}

void ListBox::paintEvent(QPaintEvent* event) {
  QListWidget::paintEvent(event);
  if (count() > 0 || emptyHint_.isEmpty()) return;
  QPainter painter(viewport());
  painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
  constexpr int kMargin = 6;
  painter.drawText(viewport()->rect().adjusted(kMargin, kMargin, -kMargin, -kMargin),
                   Qt::AlignCenter | Qt::TextWordWrap, emptyHint_);
}

}  // namespace widgets
