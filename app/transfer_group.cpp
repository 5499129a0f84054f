#include "app/transfer_group.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace app {

TransferGroup::TransferGroup(QWidget* parent) : QGroupBox("导入导出", parent) {
  setObjectName("GroupBox_Transfer");
  Button_Import = new QPushButton("导入CSV...", this);
  Button_Import->setObjectName("Button_Import");
  Button_Export = new QPushButton("导出CSV...", this);
  Button_Export->setObjectName("Button_Export");
  // One line, so the advanced tab keeps all its groups in view; the formats are in the tooltip.
  Button_Import->setToolTip("KeePassXC、Bitwarden、Chrome/Chromium或Firefox导出的CSV文件");
  auto* note = new QLabel("导入前自动备份数据库.", this);
  auto* grid = new QGridLayout(this);
  grid->addWidget(note, 0, 0);
  grid->addWidget(Button_Import, 0, 1);
  grid->addWidget(Button_Export, 0, 2);
  grid->setColumnStretch(0, 1);
  connect(Button_Import, &QPushButton::clicked, this, &TransferGroup::importClicked);
  connect(Button_Export, &QPushButton::clicked, this, &TransferGroup::exportClicked);
}

}  // namespace app
