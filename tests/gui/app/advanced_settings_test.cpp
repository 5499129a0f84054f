#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include "app/clipboard_group.h"
#include "settings/settings_file.h"
#include "tests/gui/app/app_harness.h"

TEST(AdvancedSettings, TheClipboardTimeIsSavedWithTheConfigurationAndTimesTheEmptying) {
  AppHarness app;
  app.makeDatabase();
  app.startAndLogin();
  QSpinBox* seconds = app.main->GroupBox_Clipboard->SpinBox_ClipboardSeconds;
  EXPECT_EQ(seconds->value(), 60) << "without the key, the minute stands";
  EXPECT_EQ(app.main->Label20->text(), "2.当复制帐号或密码后1分钟程序会自动清空剪切板.");
  EXPECT_EQ(app.main->Timer_ClearClipbrd->interval(), 60000);

  seconds->setValue(90);
  EXPECT_EQ(app.main->Timer_ClearClipbrd->interval(), 60000) << "nothing changes before 保存配置";
  app.main->Button6->click();
  EXPECT_EQ(settings::SettingsFile(app.folder()).read().clipboardSeconds, 90);
  EXPECT_EQ(app.main->Label20->text(), "2.当复制帐号或密码后90秒程序会自动清空剪切板.");
  EXPECT_EQ(app.main->Timer_ClearClipbrd->interval(), 90000);

  app.restart();
  app.startAndLogin();
  EXPECT_EQ(app.main->GroupBox_Clipboard->SpinBox_ClipboardSeconds->value(), 90);
  EXPECT_EQ(app.main->Timer_ClearClipbrd->interval(), 90000);
}
