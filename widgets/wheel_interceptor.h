#pragma once
// Takes every wheel event of a widget for itself, so the widget's own scrolling never runs.
#include <QObject>

class QWidget;

namespace widgets {

class WheelInterceptor : public QObject {
  Q_OBJECT
 public:
  explicit WheelInterceptor(QWidget* watched);

 signals:
  // The vertical distance of one wheel event; below zero when turned towards the user.
  void wheeled(int delta);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace widgets
