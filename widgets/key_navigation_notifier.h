#pragma once
// Tells when the keyboard has moved the current item of a list (the key is released after the
// list has moved), so a keyboard choice acts like a click.
#include <QObject>

class QWidget;

namespace widgets {

class KeyNavigationNotifier : public QObject {
  Q_OBJECT
 public:
  explicit KeyNavigationNotifier(QWidget* watched);

 signals:
  void navigated();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace widgets
