// The program's clipboard on a real Qt clipboard (offscreen platform).
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "input/clipboard.h"
#include "tests/fakes/fake_clipboard_owner.h"

namespace {

QClipboard& System() {
  static int argc = 1;
  static char name[] = "input_clipboard_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  Q_UNUSED(app);
  return *QGuiApplication::clipboard();
}

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { System().clear(); }
  input::TClipboard clipboard;
};

TEST_F(ClipboardTest, OpenLevelsAreCountedAndCloseWithoutOpenDoesNothing) {
  System();
  clipboard.Close();
  EXPECT_EQ(clipboard.openLevels(), 0);
  clipboard.Open();
  clipboard.Open();
  EXPECT_EQ(clipboard.openLevels(), 2);
  // Clearing inside an open level keeps that level.
  clipboard.Clear();
  EXPECT_EQ(clipboard.openLevels(), 2);
  clipboard.Close();
  clipboard.Close();
  clipboard.Close();
  EXPECT_EQ(clipboard.openLevels(), 0);
}

TEST_F(ClipboardTest, ACopiedSecretCarriesTheManagerHint) {
  clipboard.copySecret("pa55+word");
  const QMimeData* data = System().mimeData();
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(data->text(), "pa55+word");
  EXPECT_EQ(data->data("x-kde-passwordManagerHint"), "secret");

  // An address is no secret and goes without the hint.
  clipboard.copyText("https://example.org/");
  EXPECT_EQ(System().text(), "https://example.org/");
  EXPECT_FALSE(System().mimeData()->hasFormat("x-kde-passwordManagerHint"));

  // An empty field copies nothing and leaves the clipboard as it was.
  clipboard.copySecret("");
  EXPECT_EQ(System().text(), "https://example.org/");
  EXPECT_EQ(clipboard.openLevels(), 0);
}

TEST_F(ClipboardTest, ClearEmptiesWhatTheProgramPutThere) {
  clipboard.copySecret("first");
  clipboard.copySecret("second");
  clipboard.Clear();
  EXPECT_TRUE(System().text().isEmpty());
  EXPECT_EQ(clipboard.openLevels(), 0);
}

TEST_F(ClipboardTest, ClearLeavesWhatSomeoneCopiedSince) {
  clipboard.copySecret("secret");
  System().setText("the user's own note");
  clipboard.Clear();
  EXPECT_EQ(System().text(), "the user's own note");

  // Nothing copied in this run: the user's clipboard stays as well.
  input::TClipboard fresh;
  fresh.Clear();
  EXPECT_EQ(System().text(), "the user's own note");

  // After a clearing the old secret is forgotten: the same text copied by the user stays.
  clipboard.copySecret("again");
  clipboard.Clear();
  System().setText("again");
  clipboard.Clear();
  EXPECT_EQ(System().text(), "again");
}

TEST_F(ClipboardTest, TheDesktopsOwnClipboardTakesTheCopiesAlone) {
  fakes::FakeClipboardOwner desktop;
  clipboard.useDesktopClipboard(&desktop);
  System().setText("the user's own note");
  clipboard.Clear();  // nothing copied yet
  clipboard.copySecret("pa55+word");
  clipboard.copyText("https://example.org/");
  clipboard.Clear();
  EXPECT_EQ(desktop.calls, QStringList({"secret pa55+word", "text https://example.org/", "clear"}));
  EXPECT_EQ(System().text(), "the user's own note");
  EXPECT_TRUE(clipboard.ownsClipboard());
  desktop.holds = false;  // another program copied since
  EXPECT_FALSE(clipboard.ownsClipboard()) << "asked of the desktop's clipboard, not the windows'";
}

TEST_F(ClipboardTest, TheSharedInstanceIsMadeOnce) {
  input::TClipboard& shared = input::SharedClipboard();
  EXPECT_EQ(&shared, &input::SharedClipboard());
  shared.copySecret("shared");
  input::SharedClipboard().Clear();
  EXPECT_TRUE(System().text().isEmpty());
}

}  // namespace
