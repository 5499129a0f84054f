#include "platform/hot_key_text.h"

#include <gtest/gtest.h>

#include "platform/hot_keys.h"

namespace {

using platform::HotKeyCombination;
using platform::HotKeyFromText;

TEST(HotKeyText, CombinationsWithCtrlAltOrMetaBecomeModifiersAndVirtualKeys) {
  EXPECT_EQ(HotKeyFromText("Ctrl+Left"), (HotKeyCombination{platform::kModControl, platform::kVkLeft}));
  EXPECT_EQ(HotKeyFromText("Ctrl+Right"), (HotKeyCombination{platform::kModControl, platform::kVkRight}));
  EXPECT_EQ(HotKeyFromText("Ctrl+Alt+P"), (HotKeyCombination{platform::kModControl | platform::kModAlt, 'P'}));
  EXPECT_EQ(HotKeyFromText("Meta+F5"), (HotKeyCombination{platform::kModWin, 116}));
  EXPECT_EQ(HotKeyFromText("Ctrl+Shift+7"), (HotKeyCombination{platform::kModControl | platform::kModShift, '7'}));
  EXPECT_EQ(HotKeyFromText("Alt+PgDown"), (HotKeyCombination{platform::kModAlt, 34}));
  EXPECT_EQ(HotKeyFromText("Ctrl+Del"), (HotKeyCombination{platform::kModControl, 46}));
}

TEST(HotKeyText, RefusesCombinationsWithoutCtrlAltOrMetaAndKeysThatCannotBeGrabbed) {
  EXPECT_FALSE(HotKeyFromText("P"));
  EXPECT_FALSE(HotKeyFromText("Shift+P"));
  EXPECT_FALSE(HotKeyFromText("Ctrl+;"));      // no fixed key on every layout
  EXPECT_FALSE(HotKeyFromText("Ctrl+Num+5"));  // the keypad
  EXPECT_FALSE(HotKeyFromText("Ctrl+"));
  EXPECT_FALSE(HotKeyFromText("not a key"));
  EXPECT_FALSE(HotKeyFromText(""));
}

TEST(HotKeyText, OnlyTheFirstChordCounts) {
  const QKeySequence recorded = QKeySequence::fromString("Ctrl+Alt+P, Ctrl+Right", QKeySequence::PortableText);
  ASSERT_EQ(recorded.count(), 2);
  EXPECT_EQ(platform::FirstChordText(recorded), "Ctrl+Alt+P");
  EXPECT_EQ(platform::HotKeyFromSequence(recorded),
            (HotKeyCombination{platform::kModControl | platform::kModAlt, 'P'}));
  EXPECT_EQ(HotKeyFromText("P, Ctrl+Right"), std::nullopt);
  EXPECT_EQ(platform::FirstChordText(QKeySequence()), "");
}

TEST(HotKeyText, EditorKeysAreNeverDesktopShortcutsAndOthersTakeTheDesktopsSyntax) {
  for (const char* editorKey : {"Ctrl+Left", "Ctrl+Right", "Shift+Up", "Ctrl+Shift+Down", "Ctrl+Home", "End"}) {
    EXPECT_TRUE(platform::IsEditorKey(editorKey)) << editorKey;
    EXPECT_EQ(platform::PortalTrigger(editorKey), "") << editorKey;
    EXPECT_EQ(platform::GnomeBinding(editorKey), "") << editorKey;
  }
  for (const char* other : {"Ctrl+Alt+Left", "Meta+Home", "Ctrl+PgUp", "Ctrl+Alt+1", ""})
    EXPECT_FALSE(platform::IsEditorKey(other)) << other;
  EXPECT_EQ(platform::PortalTrigger("Ctrl+Alt+P"), "CTRL+ALT+p");
  EXPECT_EQ(platform::PortalTrigger("Meta+Shift+F12"), "SHIFT+LOGO+F12");
  EXPECT_EQ(platform::PortalTrigger("Alt+PgDown"), "ALT+Page_Down");
  EXPECT_EQ(platform::GnomeBinding("Ctrl+Alt+Left"), "<Control><Alt>Left");
  EXPECT_EQ(platform::GnomeBinding("Ctrl+Alt+1"), "<Control><Alt>1");
  EXPECT_EQ(platform::GnomeBinding("Ctrl+;"), "") << "not a hot key";
}

}  // namespace
