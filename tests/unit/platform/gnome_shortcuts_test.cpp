#include "platform/gnome_shortcuts.h"

#include <gtest/gtest.h>

#include <map>

namespace {

const QString kList = "org.gnome.settings-daemon.plugins.media-keys custom-keybindings";
const QString kOthers = "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/custom0/";
const QString kOwnAccount =
    "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding:"
    "/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/keyhaven-fill-account/";

// dconf in memory: values by "schema key", as gsettings prints them.
class MemoryGSettings final : public platform::GSettingsStore {
 public:
  std::optional<QString> get(const QString& schema, const QString& key) override {
    const auto found = values.find(schema + " " + key);
    return found == values.end() ? std::optional<QString>() : found->second;
  }
  bool set(const QString& schema, const QString& key, const QString& value) override {
    values[schema + " " + key] = value;
    return true;
  }
  bool reset(const QString& schema, const QString& key) override {
    values.erase(schema + " " + key);
    return true;
  }
  std::map<QString, QString> values;
};

TEST(GnomeShortcuts, OwnEntriesAreAddedOnceAndRemovedWhileTheUsersOwnStay) {
  MemoryGSettings store;
  store.values[kList] = "['" + kOthers + "']";
  platform::GnomeCustomShortcuts shortcuts(store);
  const platform::DesktopShortcut account{"输入帐号", "'/opt/key haven/keyhaven' --fill account", "<Control><Alt>1"};
  ASSERT_TRUE(shortcuts.write(account, {"输入密码", "keyhaven --fill password", ""}));
  ASSERT_TRUE(shortcuts.write(account, {"输入密码", "keyhaven --fill password", ""}));
  const std::optional<QStringList> listed = platform::ParseStringArray(store.values[kList]);
  ASSERT_TRUE(listed);
  ASSERT_EQ(listed->size(), 3) << "written twice, listed once";
  EXPECT_EQ(listed->at(0), kOthers);
  EXPECT_TRUE(listed->at(1).endsWith("/keyhaven-fill-account/"));
  EXPECT_EQ(store.values[kOwnAccount + " command"], R"('\'/opt/key haven/keyhaven\' --fill account')");
  EXPECT_EQ(store.values[kOwnAccount + " name"], "'输入帐号'");
  EXPECT_EQ(store.values[kOwnAccount + " binding"], "'<Control><Alt>1'");

  ASSERT_TRUE(shortcuts.remove());
  EXPECT_EQ(store.values, (std::map<QString, QString>{{kList, "['" + kOthers + "']"}}));
  store.values[kList] = "@as []";
  ASSERT_TRUE(shortcuts.write(account, account));
  ASSERT_TRUE(shortcuts.remove());
  EXPECT_EQ(store.values[kList], "@as []");
  store.values.erase(kList);
  EXPECT_FALSE(shortcuts.write(account, account)) << "no GNOME: nothing written";
  EXPECT_TRUE(store.values.empty());
}

TEST(GnomeShortcuts, StringArraysAreReadAsGSettingsPrintsThem) {
  EXPECT_EQ(platform::ParseStringArray(R"(['/a/', "/b's/", '/c\\d/'])"), (QStringList{"/a/", "/b's/", "/c\\d/"}));
  EXPECT_EQ(platform::ParseStringArray("@as []"), QStringList());
  for (const char* broken : {"", "['/a/'", "['/a/' '/b/']", "['/a/]", "[/a/]"})
    EXPECT_EQ(platform::ParseStringArray(broken), std::nullopt) << broken;
  EXPECT_EQ(platform::StringArrayText({"/a/", "b'c"}), R"(['/a/', 'b\'c'])");
}

}  // namespace
