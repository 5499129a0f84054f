#pragma once
// A list that behaves like the list box users know from the desktop: a right click opens the
// context menu without moving the highlight, and an empty list shows a grey hint in its area.
#include <QListWidget>

namespace widgets {

class ListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit ListBox(QWidget* parent = nullptr);

  // Drawn while the list has no items; it is not an item.
  void setEmptyHint(const QString& hint);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QString emptyHint_;
};

}  // namespace widgets
