#include "app/clipboard_group.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include "settings/settings_file.h"

namespace app {

ClipboardGroup::ClipboardGroup(QWidget* parent) : QGroupBox("剪贴板", parent) {
  setObjectName("GroupBox_Clipboard");
  auto* before = new QLabel("复制后", this);
  SpinBox_ClipboardSeconds = new QSpinBox(this);
  SpinBox_ClipboardSeconds->setObjectName("SpinBox_ClipboardSeconds");
  SpinBox_ClipboardSeconds->setRange(settings::Settings::kShortestClipboardSeconds,
                                     settings::Settings::kLongestClipboardSeconds);
  SpinBox_ClipboardSeconds->setValue(settings::Settings().clipboardSeconds);
  SpinBox_ClipboardSeconds->setAccessibleName("复制后 N 秒清空剪贴板");
  before->setBuddy(SpinBox_ClipboardSeconds);
  auto* row = new QHBoxLayout(this);
  row->addWidget(before);
  row->addWidget(SpinBox_ClipboardSeconds);
  row->addWidget(new QLabel("秒清空剪贴板", this));
  row->addStretch();
}

int ClipboardGroup::seconds() const { return SpinBox_ClipboardSeconds->value(); }

void ClipboardGroup::setSeconds(int seconds) { SpinBox_ClipboardSeconds->setValue(seconds); }

QString ClipboardNote(int seconds) {
  if (seconds == 60) return "2.当复制帐号或密码后1分钟程序会自动清空剪切板.";
  return "2.当复制帐号或密码后" + QString::number(seconds) + "秒程序会自动清空剪切板.";
}

}  // namespace app
