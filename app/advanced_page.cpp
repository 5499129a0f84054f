#include "app/advanced_page.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/clipboard_group.h"
#include "app/hot_key_group.h"
#include "app/locking_group.h"
#include "app/protection_group.h"
#include "app/transfer_group.h"
#include "widgets/named_widgets.h"

namespace app {

using widgets::button;
using widgets::make;

AdvancedPage::AdvancedPage(QWidget* parent, platform::Dialogs& dialogs, vault::Vault& vault, login::SessionKeys& keys,
                           BackgroundWork& work, StatusNote note)
    : QWidget(parent) {
  setObjectName("TabSheet4");
  // Each group is a widget of its own that calls the modules below the window. The window's
  // size is fixed, so the groups scroll once they need more height than the tab has.
  auto* groups = new QWidget;
  auto* tab = new QVBoxLayout(groups);
  tab->addWidget(GroupBox_Locking = new LockingGroup(groups));
  tab->addWidget(GroupBox_Clipboard = new ClipboardGroup(groups));
  tab->addWidget(GroupBox_HotKeys = new HotKeyGroup(groups));
  connect(GroupBox_HotKeys, &HotKeyGroup::recordingChanged, this, &AdvancedPage::hotKeyRecordingChanged);
  auto* protection = new ProtectionGroup(groups, dialogs, vault, keys, work, std::move(note));
  connect(protection, &ProtectionGroup::fileRewritten, this, &AdvancedPage::fileRewritten);
  tab->addWidget(protection);
  auto* transfer = new TransferGroup(groups);
  connect(transfer, &TransferGroup::importClicked, this, &AdvancedPage::importClicked);
  connect(transfer, &TransferGroup::exportClicked, this, &AdvancedPage::exportClicked);
  tab->addWidget(transfer);
  auto* history = make<QGroupBox>(groups, "GroupBox_History", "记录历史");
  auto* deleted = button(history, "Button_Deleted", "最近删除...");
  connect(deleted, &QPushButton::clicked, this, &AdvancedPage::deletedClicked);
  auto* historyRow = new QHBoxLayout(history);
  historyRow->addWidget(new QLabel("修改和删除前的内容保留在数据库文件中.", history), 1);
  historyRow->addWidget(deleted);
  tab->addWidget(history);
  tab->addStretch();
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setWidgetResizable(true);
  scroll->setWidget(groups);
  scroll->viewport()->setAutoFillBackground(false);
  groups->setAutoFillBackground(false);
  auto* save = button(this, "Button_SaveAdvanced", "保存高级设置");
  connect(save, &QPushButton::clicked, this, &AdvancedPage::saveClicked);
  auto* saveRow = new QHBoxLayout;
  saveRow->addStretch();
  saveRow->addWidget(save);
  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(0, 0, 0, 6);
  page->addWidget(scroll);
  page->addLayout(saveRow);
}

settings::Settings AdvancedPage::settingsOver(const settings::Settings& base) const {
  settings::Settings shown = base;
  shown.locking = GroupBox_Locking->locking();
  shown.clipboardSeconds = GroupBox_Clipboard->seconds();
  shown.hotKeys = GroupBox_HotKeys->hotKeys();
  shown.hotKeyArmedMinutes = GroupBox_HotKeys->armedMinutes();
  return shown;
}

void AdvancedPage::showSettings(const settings::Settings& shown) {
  GroupBox_Locking->setLocking(shown.locking);
  GroupBox_Clipboard->setSeconds(shown.clipboardSeconds);
  GroupBox_HotKeys->setHotKeys(shown.hotKeys);
  GroupBox_HotKeys->setArmedMinutes(shown.hotKeyArmedMinutes);
}

void AdvancedPage::showHotKeys(const settings::HotKeySettings& hotKeys) { GroupBox_HotKeys->setHotKeys(hotKeys); }

void AdvancedPage::showIdleTimeKnown(bool known) { GroupBox_Locking->showIdleTimeKnown(known); }

}  // namespace app
