#pragma once
// The group "导入导出" of the advanced tab: accounts brought in from other programs' CSV files,
// and every record taken out as one.
#include <QGroupBox>

class QPushButton;

namespace app {

class TransferGroup : public QGroupBox {
  Q_OBJECT
 public:
  explicit TransferGroup(QWidget* parent);

 signals:
  void importClicked();
  void exportClicked();

 private:
  QPushButton* Button_Import;
  QPushButton* Button_Export;
};

}  // namespace app
