#pragma once
// The group "剪贴板" of the advanced tab: how long a copied account or password stays.
#include <QGroupBox>
#include <QString>

class QSpinBox;

namespace app {

class ClipboardGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit ClipboardGroup(QWidget* parent);

  int seconds() const;
  void setSeconds(int seconds);

 private:
  QSpinBox* SpinBox_ClipboardSeconds;
};

// The safety note's line about the clipboard for this time; the minute reads as it always did.
QString ClipboardNote(int seconds);

}  // namespace app
