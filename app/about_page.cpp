#include "app/about_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/maker_info.h"
#include "widgets/click_notifier.h"
#include "widgets/named_widgets.h"

namespace app {

using widgets::label;
using widgets::make;

AboutPage::AboutPage(QWidget* parent) : QWidget(parent) {
  setObjectName("TabSheet3");
  auto* group = make<QGroupBox>(this, "GroupBox2");
  auto* name = label(group, "Label10", "软件名称 钥匣个人版");
  auto* versionCaption = label(group, "Label11", "当前版本");
  EditVer = make<QLineEdit>(group, "EditVer", maker::kVersion);
  EditVer->setReadOnly(true);
  versionCaption->setBuddy(EditVer);
  EditVer->setAccessibleName("当前版本");
  auto* homePage = label(group, "Label12", "主页：" + maker::kHomePage);
  auto* feedback = label(group, "Label14", "问题反馈：" + maker::kHomePage + maker::kIssuesPage.path);
  auto* developer = label(group, "Label15", "开发：" + maker::kBrand + " 开发者");
  auto* notes = make<QPlainTextEdit>(group, "Memo1");
  notes->setReadOnly(true);
  notes->setPlainText(
      "更新说明:\n1.备注也更正为加密字段\n2.分类采用列表框模式，更直观\n"
      "3.加入密码常用排序功能，常用的将自动排在最前\n4.密码自动输入方式分粘贴式输入和非粘贴式输入\n"
      "特别说明:\n1.该程序不能直接覆盖升级旧版的钥匣，不同版本加密算法不同。\n"
      "2.注意事项：程序不支持（中文、全角等非ASCII码字符的密码）自动输入.");
  auto* download = label(group, "Label23", maker::kDownloadPage.caption);
  auto* help = label(group, "Label24", maker::kHelpPage.caption);
  auto* mainPage = label(group, "Label26", maker::kMainPage.caption);
  auto* issues = label(group, "Label27", maker::kIssuesPage.caption);
  auto* links = new QHBoxLayout;
  for (QLabel* l : {mainPage, download, help, issues}) {
    l->setCursor(Qt::PointingHandCursor);
    l->setStyleSheet("color: #1f4e79; text-decoration: underline;");
    links->addWidget(l);
  }
  connect(new widgets::ClickNotifier(download), &widgets::ClickNotifier::clicked, this,
          &AboutPage::downloadPageClicked);
  connect(new widgets::ClickNotifier(help), &widgets::ClickNotifier::clicked, this, &AboutPage::helpPageClicked);
  connect(new widgets::ClickNotifier(mainPage), &widgets::ClickNotifier::clicked, this, &AboutPage::mainPageClicked);
  connect(new widgets::ClickNotifier(issues), &widgets::ClickNotifier::clicked, this, &AboutPage::issuesPageClicked);
  auto* about = new QGridLayout(group);
  about->addWidget(name, 0, 0, 1, 2);
  about->addWidget(versionCaption, 1, 0);
  about->addWidget(EditVer, 1, 1);
  about->addWidget(homePage, 2, 0, 1, 2);
  about->addWidget(feedback, 3, 0, 1, 2);
  about->addWidget(developer, 4, 0, 1, 2);
  about->addWidget(notes, 5, 0, 1, 2);
  about->addLayout(links, 6, 0, 1, 2);
  about->setColumnStretch(1, 1);
  auto* tab = new QVBoxLayout(this);
  tab->addWidget(group);
}

QString AboutPage::version() const { return EditVer->text(); }

}  // namespace app
