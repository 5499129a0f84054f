#pragma once
// A status bar of fixed-width text panels; the last panel takes the rest of the width.
#include <QFrame>
#include <QList>
#include <QString>

class QLabel;

namespace widgets {

class PanelStatusBar : public QFrame {
  Q_OBJECT
 public:
  PanelStatusBar(const QList<int>& widths, QWidget* parent);

  QString panelText(int panel) const;
  void setPanelText(int panel, const QString& text);

 private:
  QList<QLabel*> panels_;
};

}  // namespace widgets
