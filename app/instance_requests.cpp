#include "app/instance_requests.h"

#include <cstdio>

#include "app/tform1.h"
#include "input/fill_outcome.h"
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
// The answer comes once the fill has ended: the desktop may ask the user first, and a long value
// types for seconds.
constexpr auto kLongestFill = 90s;

}  // namespace

void AnswerInstanceRequest(TForm1& main, login::TForm2& login, const std::string& request,
                           const std::function<void(const std::string& answer)>& reply) {
  if (request == kShow) {
    main.showOnRequest();
    return reply(kDone);
  }
  if (request != std::string(kFillPrefix) + "account" && request != std::string(kFillPrefix) + "password")
    return reply(kUnknown);
  switch (login.fillOnRequest(request.ends_with("account"), [reply](input::FillOutcome outcome) {
    reply(outcome == input::FillOutcome::kEntered ? kDone : input::FillOutcomeWord(outcome));
  })) {
    case login::TForm2::FillRequest::kStarted:
      return;
    case login::TForm2::FillRequest::kLocked:
      return reply(kLocked);
    case login::TForm2::FillRequest::kDisarmed:
      return reply(kDisarmed);
  }
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
  } else if (const std::optional<input::FillOutcome> outcome = input::FillOutcomeOfWord(*answer)) {
    std::fprintf(stderr, "%s\n", input::FillOutcomeText(*outcome).toUtf8().constData());
    return 1;
  } else {
    said = "钥匣不认识这个请求.";
  }
  std::fprintf(stderr, "%s\n", said);
  return 1;
}

}  // namespace app
