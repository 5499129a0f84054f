#pragma once
// Every event handler runs through this guard: an error it does not handle itself is shown in
// the error box, and the program carries on. No exception crosses into Qt.
#include <QString>
#include <exception>
#include <utility>

#include "platform/dialogs.h"

namespace widgets {

template <typename Handler>
bool Guarded(platform::Dialogs& dialogs, Handler&& handler) {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (const platform::DialogsClosed&) {
    // The program locked while a dialog of this handler was open: it ends quietly.
  } catch (const std::exception& error) {
    dialogs.error(QString::fromUtf8(error.what()));
  } catch (...) {
    dialogs.error("未知错误");
  }
  return false;
}

}  // namespace widgets
