#include "app/protection_group.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/file_protection.h"
#include "app/master_password_prompt.h"
#include "platform/dialogs.h"
#include "store/store_error.h"
#include "vault/vault.h"
#include "widgets/handler_guard.h"

namespace app {

namespace {

const QString kCaption = "文件保护";

}  // namespace

ProtectionGroup::ProtectionGroup(QWidget* parent, platform::Dialogs& dialogs, vault::Vault& vault,
                                 login::SessionKeys& keys, BackgroundWork& work, StatusNote note)
    : QGroupBox(kCaption, parent), dialogs_(dialogs), vault_(vault), keys_(keys), work_(work), note_(std::move(note)) {
  setObjectName("GroupBox_Protection");
  Label_FileState = new QLabel(this);
  Label_FileState->setObjectName("Label_FileState");
  Label_FileState->setWordWrap(true);
  Button_Protect = new QPushButton(this);
  Button_Protect->setObjectName("Button_Protect");
  // Room for the longer of its two texts, so neither is cut.
  Button_Protect->setMinimumWidth(Button_Protect->fontMetrics().horizontalAdvance("用管理密码加密") + 24);
  auto* alphabetNote = new QLabel("登录窗口只接受字母和数字, 管理密码的强度因此有限.", this);
  auto* grid = new QGridLayout(this);
  grid->addWidget(Label_FileState, 0, 0);
  grid->addWidget(Button_Protect, 0, 1);
  grid->addWidget(alphabetNote, 1, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  connect(Button_Protect, &QPushButton::clicked, this, [this] {
    widgets::Guarded(dialogs_, [this] { vault_.isProtected() ? unprotectFile() : protectFile(); });
    refresh();
  });
  refresh();
}

void ProtectionGroup::refresh() {
  const bool isProtected = vault_.isProtected();
  Label_FileState->setText(isProtected ? "数据库文件已用管理密码加密."
                                       : "数据库文件未加密: 拿到 _.udb 的人可以读出全部密码.");
  Button_Protect->setText(isProtected ? "取消加密" : "用管理密码加密");
}

void ProtectionGroup::showEvent(QShowEvent* event) {
  refresh();  // a login may have opened a protected file since
  QGroupBox::showEvent(event);
}

void ProtectionGroup::protectFile() {
  const QString master = AskMasterPasswordAgain(dialogs_, vault_, keys_, kCaption, note_);
  if (master.isEmpty() || !AcceptsWeakProtection(dialogs_, kCaption, master)) return;
  if (!dialogs_.question(kCaption, "用管理密码加密数据库文件吗?\n" + kForgottenMasterPassword)) return;
  const bool withBackups = dialogs_.question(kCaption, "也用管理密码加密文件夹中已有的备份吗?");
  ProtectInBackground(work_, dialogs_, vault_, keys_, master, withBackups, [this] {
    refresh();
    emit fileRewritten();
  });
}

void ProtectionGroup::unprotectFile() {
  if (!dialogs_.confirm(kCaption, "取消加密后, 拿到 _.udb 的人可以读出全部密码.\n已加密的备份保持加密.\n仍要取消吗?"))
    return;
  const QString master = AskMasterPasswordAgain(dialogs_, vault_, keys_, kCaption, note_);
  if (master.isEmpty()) return;
  try {
    vault_.unprotectFile(master);
  } catch (const store::StoreError& error) {
    return dialogs_.message("取消加密失败, 数据库文件保持原样.\n" + QString::fromUtf8(error.what()));
  }
  keys_.fileUnprotected(vault_);
  emit fileRewritten();
}

}  // namespace app
