#include "app/instance_requests.h"

#include <cstdio>

#include "app/tform1.h"
#include "login/tform2.h"
#include "platform/instance_channel.h"

namespace app {

namespace {

using namespace std::chrono_literals;

constexpr const char* kShow = "show";
constexpr const char* kFillPrefix = "fill ";
constexpr const char* kDone = "done";
constexpr const char* kLocked = "locked";
constexpr const char* kDisarmed = "disarmed";
constexpr const char* kUnknown = "unknown";
// A fill types at a human pace; a long value takes seconds.
constexpr auto kLongestFill = 60s;

}  // namespace

std::string AnswerInstanceRequest(TForm1& main, login::TForm2& login, const std::string& request) {
  if (request == kShow) {
    main.showOnRequest();
    return kDone;
  }
  if (request != std::string(kFillPrefix) + "account" && request != std::string(kFillPrefix) + "password")
    return kUnknown;
  switch (login.fillOnRequest(request.ends_with("account"))) {
    case login::TForm2::FillRequest::kFilled:
      return kDone;
    case login::TForm2::FillRequest::kLocked:
      return kLocked;
    case login::TForm2::FillRequest::kDisarmed:
      return kDisarmed;
  }
  return kUnknown;
}

bool AskToShow(const std::string& socketPath) {
  return platform::AskRunningInstance(socketPath, kShow, 1s, 2s).has_value();
}

int RunFillCommand(const std::string& socketPath, const std::string& which) {
  const std::optional<std::string> answer =
      platform::AskRunningInstance(socketPath, kFillPrefix + which, 1s, kLongestFill);
  const char* said = nullptr;
  if (!answer) {
    said = "钥匣没有运行, 无法自动输入.";
  } else if (*answer == kDone) {
    return 0;
  } else if (*answer == kLocked) {
    said = "钥匣已锁定, 请先登录.";
  } else if (*answer == kDisarmed) {
    said = "热键已停用, 单击记录重新启用.";
  } else {
    said = "钥匣不认识这个请求.";
  }
  std::fprintf(stderr, "%s\n", said);
  return 1;
}

}  // namespace app
