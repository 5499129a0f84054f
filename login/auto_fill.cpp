// The hot-key handler: checks that a record is picked and hands its account name or password to
// the fill engine, which enters it into whatever window has the focus.
#include "input/fill_engine.h"
#include "login/tform2.h"
#include "platform/dialogs.h"

namespace login {

void TForm2::WMHotKey(int id) {
  if (id == kAccountHotKeyId || id == kPasswordHotKeyId) fill(id, nullptr);
}

void TForm2::fill(int id, std::function<void(input::FillOutcome)> ended) {
  const QString account = host_.autoFillAccount();
  const QString password = host_.autoFillPassword();
  if (account.isEmpty() || password.isEmpty()) {
    services_.dialogs.message(input::FillOutcomeText(input::FillOutcome::kNoRecord));
    if (ended) ended(input::FillOutcome::kNoRecord);
    return;
  }
  const bool forAccount = id == kAccountHotKeyId;
  fillEngine_->start(
      {forAccount ? account : password, host_.pasteStyleSelected(),
       [this, forAccount] { forAccount ? host_.copyAccountToClipboard() : host_.copyPasswordToClipboard(); },
       std::move(ended)});
}

}  // namespace login
