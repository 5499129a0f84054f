// Where the single-instance lock is taken, and when the program may say it runs already.
#include "platform/instance_guard.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace platform {
namespace {

namespace fs = std::filesystem;

class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
  }
  ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A home, a temporary folder and a runtime folder of the test's own.
class InstanceGuardTest : public ::testing::Test {
 protected:
  InstanceGuardTest()
      : root_(MakeRoot()),
        home_("HOME", root_ + "/home"),
        tmp_("TMPDIR", root_ + "/tmp"),
        runtime_("XDG_RUNTIME_DIR", root_ + "/run") {
    fs::create_directories(root_ + "/home");
    fs::create_directories(root_ + "/tmp");
    fs::create_directories(root_ + "/run");
    ::chmod((root_ + "/run").c_str(), 0700);
  }
  ~InstanceGuardTest() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  static std::string MakeRoot() {
    std::string pattern = (fs::temp_directory_path() / "instance-guard-XXXXXX").string();
    return ::mkdtemp(pattern.data());
  }
  std::string cache() const { return root_ + "/home/.cache/keyhaven"; }
  static unsigned Mode(const std::string& path) {
    struct stat status {};
    ::lstat(path.c_str(), &status);
    return status.st_mode & 07777;
  }

  std::string root_;
  ScopedVariable home_, tmp_, runtime_;
};

TEST_F(InstanceGuardTest, OnlyALockHeldByAnotherHolderMeansRunningAlready) {
  {
    InstanceGuard first("钥匣");
    InstanceGuard second("钥匣");
    EXPECT_TRUE(first.acquired());
    EXPECT_TRUE(second.heldElsewhere());
    EXPECT_EQ(first.foldersTried(), std::vector<std::string>{root_ + "/run"});
  }
  EXPECT_TRUE(InstanceGuard("钥匣").acquired()) << "the lock goes with its holder";
}

TEST_F(InstanceGuardTest, AFolderOthersCanWriteOrALinkGivesWayToThePrivateCacheFolder) {
  ::chmod((root_ + "/run").c_str(), 0777);
  {
    InstanceGuard guard("钥匣");
    ASSERT_TRUE(guard.acquired());
    EXPECT_EQ(guard.foldersTried().back(), cache());
    EXPECT_TRUE(fs::exists(cache() + "/钥匣"));
    EXPECT_FALSE(fs::exists(root_ + "/run/钥匣")) << "nothing is made where others can write";
    EXPECT_EQ(Mode(cache()), 0700u);
    EXPECT_TRUE(InstanceGuard("钥匣").heldElsewhere()) << "a second start finds the lock in the same place";
  }

  // No runtime folder: /tmp/keyhaven-<uid>, made first by someone else, or a link to elsewhere.
  ScopedVariable noRuntime("XDG_RUNTIME_DIR", std::nullopt);
  const std::string perUser = root_ + "/tmp/keyhaven-" + std::to_string(::getuid());
  fs::create_directory(perUser);
  ::chmod(perUser.c_str(), 0777);
  EXPECT_EQ(InstanceGuard("钥匣").foldersTried().back(), cache());
  fs::remove(perUser);
  fs::create_directory_symlink(root_ + "/run", perUser);
  InstanceGuard viaLink("钥匣");
  EXPECT_TRUE(viaLink.acquired());
  EXPECT_EQ(viaLink.foldersTried(), (std::vector<std::string>{perUser, cache()}));

  if (::geteuid() == 0) {  // only root can give a folder away
    fs::remove(perUser);
    fs::create_directory(perUser);
    ASSERT_EQ(::chown(perUser.c_str(), 65534, 65534), 0);
    EXPECT_EQ(InstanceGuard("钥匣").foldersTried().back(), cache()) << "a folder of another user";
  }
}

TEST_F(InstanceGuardTest, WithoutAnyUsableFolderTheMessageNamesThem) {
  ::chmod((root_ + "/run").c_str(), 0777);
  fs::create_directories(cache());
  ::chmod(cache().c_str(), 0777);
  InstanceGuard guard("钥匣");
  EXPECT_EQ(guard.state(), InstanceGuard::State::kNoUsableFolder);
  EXPECT_FALSE(guard.heldElsewhere()) << "the program must not end silently";
  const std::string message = InstanceGuard::NoUsableFolderMessage(guard.foldersTried());
  EXPECT_NE(message.find("\"" + root_ + "/run\""), std::string::npos) << message;
  EXPECT_NE(message.find("\"" + cache() + "\""), std::string::npos) << message;
}

}  // namespace
}  // namespace platform
