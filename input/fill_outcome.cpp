#include "input/fill_outcome.h"

#include <array>

namespace input {
namespace {

struct Told {
  FillOutcome outcome;
  const char* word;
  const char* text;
};

constexpr std::array<Told, 9> kTold{{
    {FillOutcome::kEntered, "entered", ""},
    {FillOutcome::kNoRecord, "no-record", "请先选择一组帐号,才能自动输入账户密码.!"},
    {FillOutcome::kBusy, "busy", "钥匣正在自动输入, 请稍后再试."},
    {FillOutcome::kDesktopRefused, "refused", "桌面未允许模拟键盘输入, 没有自动输入."},
    {FillOutcome::kNoDesktopInterface, "no-interface", "未找到桌面的远程桌面接口(xdg-desktop-portal), 没有自动输入."},
    {FillOutcome::kKeysHeld, "keys-held", "按键未松开,没有自动输入."},
    {FillOutcome::kInputMethodComposes, "input-method", "输入法处于中文状态, 没有自动输入."},
    {FillOutcome::kUntypable, "untypable", "程序不支持（中文、全角等非ASCII码字符的密码）自动输入."},
    {FillOutcome::kStopped, "stopped", "钥匣已锁定, 没有自动输入."},
}};

const Told& TellingOf(FillOutcome outcome) {
  for (const Told& told : kTold)
    if (told.outcome == outcome) return told;
  return kTold.back();
}

}  // namespace

std::string FillOutcomeWord(FillOutcome outcome) { return TellingOf(outcome).word; }

std::optional<FillOutcome> FillOutcomeOfWord(const std::string& word) {
  for (const Told& told : kTold)
    if (word == told.word) return told.outcome;
  return std::nullopt;
}

QString FillOutcomeText(FillOutcome outcome) { return QString::fromUtf8(TellingOf(outcome).text); }

}  // namespace input
