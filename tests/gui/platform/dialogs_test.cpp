#include <gtest/gtest.h>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/dialogs.h"
#include "platform/standard_texts.h"

namespace {

// Runs `act` on the dialog that `open` shows, once it is up.
template <typename Dialog, typename Result>
Result WithDialog(const std::function<Result()>& open, const std::function<void(Dialog&)>& act) {
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<Dialog*>(w); dialog && dialog->isVisible()) return act(*dialog);
    ADD_FAILURE() << "no dialog is up";
  });
  return open();
}

QStringList ButtonTexts(QMessageBox& box) {
  QStringList texts;
  for (QAbstractButton* b : box.buttons()) texts << b->text();
  return texts;
}

class Dialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(platform::InstallChineseStandardTexts(*QCoreApplication::instance())); }
  platform::QtDialogs dialogs{"钥匣个人版"};
};

TEST_F(Dialogs, MessagesCarryTheProgramsTitleAndAChineseButton) {
  QString caption, text;
  QStringList buttons;
  WithDialog<QMessageBox, int>(
      [&] {
        dialogs.message("数据库压缩完成.");
        return 0;
      },
      [&](QMessageBox& box) {
        caption = box.windowTitle();
        text = box.text();
        buttons = ButtonTexts(box);
        QTest::keyClick(&box, Qt::Key_Return);
      });
  EXPECT_EQ(caption, "钥匣个人版");
  EXPECT_EQ(text, "数据库压缩完成.");
  EXPECT_EQ(buttons, QStringList{"确定"});
}

TEST_F(Dialogs, AConfirmationNeedsAnExplicitYes) {
  QStringList buttons;
  const bool enter =
      WithDialog<QMessageBox, bool>([&] { return dialogs.confirm("警告", "您真的要删除该分类吗?"); },
                                    [&](QMessageBox& box) {
                                      buttons = ButtonTexts(box);
                                      // Enter goes to the focused button, as a typed key does, and from there to the
                                      // box.
                                      QTest::keyClick(box.focusWidget() ? box.focusWidget() : &box, Qt::Key_Return);
                                      if (box.isVisible()) QTest::keyClick(&box, Qt::Key_Escape);
                                    });
  EXPECT_FALSE(enter) << "Enter alone never confirms";
  EXPECT_EQ(buttons.filter("是").size(), 1) << buttons.join(",").toStdString();
  EXPECT_EQ(buttons.filter("否").size(), 1) << buttons.join(",").toStdString();

  const bool yes = WithDialog<QMessageBox, bool>([&] { return dialogs.confirm("警告", "您真的要删除该分类吗?"); },
                                                 [](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
  EXPECT_TRUE(yes);
}

TEST_F(Dialogs, AnInputGivesTheTypedTextOrTheInitialOneWhenCancelled) {
  auto typeAndPress = [](const QString& typed, bool accept) {
    return [=](QInputDialog& dialog) {
      auto* edit = dialog.findChild<QLineEdit*>();
      edit->setText(typed);
      if (accept)
        dialog.accept();
      else
        dialog.reject();
    };
  };
  EXPECT_EQ((WithDialog<QInputDialog, QString>([&] { return dialogs.input("修改分类", "新名称", "旧名"); },
                                               typeAndPress("新名", true))),
            "新名");
  EXPECT_EQ((WithDialog<QInputDialog, QString>([&] { return dialogs.input("修改分类", "新名称", "旧名"); },
                                               typeAndPress("新名", false))),
            "旧名");
}

TEST_F(Dialogs, AProgressGoesOnUntilItsCancelButtonOrALock) {
  const auto progress = dialogs.progress("导入CSV", "正在导入...");
  EXPECT_TRUE(progress->advance(1, 10));
  QProgressDialog* window = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<QProgressDialog*>(w)) window = found;
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "导入CSV");
  window->cancel();  // as its button does
  EXPECT_FALSE(progress->advance(2, 10));

  const auto another = dialogs.progress("导入CSV", "正在导入...");
  EXPECT_TRUE(another->advance(1, 10));
  dialogs.closeAll();
  EXPECT_FALSE(another->advance(2, 10));
}

}  // namespace
