// The running instance's socket: requests of this user are answered, nobody else's.
#include "platform/instance_channel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <future>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Asks on another thread while this one runs the channel's event loop.
std::optional<std::string> Ask(const std::string& path, const std::string& request) {
  auto answer = std::async(std::launch::async, [&] { return platform::AskRunningInstance(path, request, 1s, 5s); });
  while (answer.wait_for(10ms) != std::future_status::ready) QCoreApplication::processEvents();
  return answer.get();
}

}  // namespace

TEST(InstanceChannel, AnswersThisUserAndNoOtherInAPrivateFolderOnly) {
  int argc = 0;
  QCoreApplication application(argc, nullptr);
  std::string pattern = (fs::temp_directory_path() / "instance-channel-XXXXXX").string();
  const std::string folder = ::mkdtemp(pattern.data());
  ::chmod(folder.c_str(), 0750);
  EXPECT_EQ(platform::InstanceSocketPath(folder), "") << "a folder others may enter";
  EXPECT_EQ(platform::InstanceSocketPath(folder + "/" + std::string(120, 'x')), "");
  ::chmod(folder.c_str(), 0700);
  const std::string path = platform::InstanceSocketPath(folder);
  ASSERT_EQ(path, folder + "/keyhaven.sock");
  EXPECT_EQ(platform::AskRunningInstance(path, "show", 1s, 1s), std::nullopt) << "nothing runs yet";

  ::close(::creat(path.c_str(), 0600));  // what an ended instance may leave
  std::vector<std::string> asked;
  const platform::InstanceChannel channel(
      path, [&](const std::string& request, platform::InstanceChannel::Reply reply) {
        asked.push_back(request);
        // A fill answers once it has ended, which may be long after the wait for a request.
        QTimer::singleShot(request == "fill account" ? 2500 : 0, [reply] { reply("done"); });
      });
  ASSERT_TRUE(channel.listening());
  EXPECT_EQ(Ask(path, "fill password"), "done");
  EXPECT_EQ(Ask(path, "fill account"), "done") << "a fill that outlasts the wait for a request";
  EXPECT_EQ(asked, (std::vector<std::string>{"fill password", "fill account"}));

  if (::geteuid() != 0) GTEST_SKIP() << "another user's request needs root to be made";
  // Opened up by mistake, the folder still lets no other user's request through.
  ::chmod(folder.c_str(), 0711);
  ::chmod(path.c_str(), 0777);
  const pid_t child = ::fork();
  if (child == 0) {
    const bool answered = ::setuid(65534) == 0 && platform::AskRunningInstance(path, "show", 1s, 2s).has_value();
    ::_exit(answered ? 1 : 0);
  }
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) QTest::qWait(10);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "another user was answered";
  EXPECT_EQ(asked.size(), 2u);
  fs::remove_all(folder);
}
