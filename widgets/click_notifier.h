#pragma once
// Turns mouse clicks on any widget into signals (labels used as links, the keyword box).
#include <QObject>

class QWidget;

namespace widgets {

class ClickNotifier : public QObject {
  Q_OBJECT
 public:
  explicit ClickNotifier(QWidget* watched);

 signals:
  void clicked();
  void doubleClicked();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace widgets
