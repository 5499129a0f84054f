#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include "encoding/codepage.h"
#include "tests/gui/app/app_harness.h"

namespace {

void writeConfig(const AppHarness& app, const QByteArray& bytes) {
  QFile file(app.folder() + "Config.ini");
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
}

// A settings file as a Chinese Windows writes it: code page 936.
void writeConfigText(const AppHarness& app, const char* utf8) {
  writeConfig(app, QByteArray::fromStdString(encoding::Utf8ToCp936(utf8)));
}

QByteArray readConfig(const AppHarness& app) {
  QFile file(app.folder() + "Config.ini");
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

// The mode that a start with this Config.ini selects.
QString modeAtStart(AppHarness& app) {
  app.restart();
  EXPECT_TRUE(app.create());
  bool paste = Named<QRadioButton>(*app.main, "RadioButton_IntoPass1")->isChecked();
  EXPECT_NE(paste, Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->isChecked())
      << "exactly one mode is selected";
  return paste ? "paste" : "keys";
}

}  // namespace

TEST(Settings, TheModeAtStartFollowsConfigIni) {
  AppHarness app;
  app.makeDatabase();
  EXPECT_EQ(modeAtStart(app), "keys") << "without Config.ini both keys read true";
  EXPECT_FALSE(QFile::exists(app.folder() + "Config.ini")) << "a start never creates the file";
  writeConfigText(app, "[软件配置]\r\n粘贴式=1\r\n非粘贴式=0\r\n");
  EXPECT_EQ(modeAtStart(app), "paste");
  writeConfigText(app, "[软件配置]\r\n粘贴式=0\r\n非粘贴式=0\r\n");
  EXPECT_EQ(modeAtStart(app), "paste") << "both false keep the window's own choice";
  writeConfigText(app, "[软件配置]\r\n粘贴式=1\r\n非粘贴式=1\r\n");
  EXPECT_EQ(modeAtStart(app), "keys");
  writeConfigText(app, "[软件配置]\r\n粘贴式=1\r\n非粘贴式=yes\r\n");
  EXPECT_EQ(modeAtStart(app), "keys") << "a value that is not a number reads as the default";
  // Written by hand on a Chinese Windows: code page 936 bytes of the section and keys.
  QByteArray section = QByteArray::fromHex("c8edbcfec5e4d6c3");  // 软件配置
  QByteArray pasteKey = QByteArray::fromHex("d5b3ccf9cabd");     // 粘贴式
  QByteArray keysKey = QByteArray::fromHex("b7c7d5b3ccf9cabd");  // 非粘贴式
  writeConfig(app, "; hand-made\r\n[" + section + "]\r\n" + pasteKey + "=1\r\n" + keysKey + "=0\r\n");
  EXPECT_EQ(modeAtStart(app), "paste");
  writeConfig(app, QByteArray("\x00\xff\xfe\x01garbage\x00", 12));
  EXPECT_EQ(modeAtStart(app), "keys");
  writeConfig(app, QByteArray());
  EXPECT_EQ(modeAtStart(app), "keys");
}

TEST(Settings, SavingWritesBothKeysInCodePage936) {
  AppHarness app;
  app.makeDatabase();
  ASSERT_TRUE(app.create());
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass1")->setChecked(true);
  Named<QPushButton>(*app.main, "Button6")->click();
  EXPECT_EQ(app.dialogs.texts(), QStringList{"配置保存成功！"});
  QByteArray written = readConfig(app);
  EXPECT_TRUE(written.contains(QByteArray::fromHex("d5b3ccf9cabd") + "=1\r\n")) << written.toHex().toStdString();
  EXPECT_TRUE(written.contains(QByteArray::fromHex("b7c7d5b3ccf9cabd") + "=0\r\n"));
  EXPECT_EQ(modeAtStart(app), "paste");
  Named<QRadioButton>(*app.main, "RadioButton_IntoPass2")->setChecked(true);
  Named<QPushButton>(*app.main, "Button6")->click();
  EXPECT_EQ(modeAtStart(app), "keys");
}

TEST(Settings, ASaveThatCannotWriteShowsTheErrorAndNoSuccess) {
  AppHarness app;
  app.makeDatabase();
  ASSERT_TRUE(app.create());
  QDir().mkpath(app.folder() + "Config.ini");  // a folder where the file should be
  Named<QPushButton>(*app.main, "Button6")->click();
  EXPECT_EQ(app.dialogs.texts("error"),
            QStringList{"Unable to write to " + QDir(app.folder()).absoluteFilePath("Config.ini")});
  EXPECT_TRUE(app.dialogs.texts().isEmpty());
}
