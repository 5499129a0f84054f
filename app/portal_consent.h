#pragma once
// The RemoteDesktop portal's restore token lives in the open database file, so that a user who
// allowed typing once is not asked again at every unlock.
#include "platform/dbus/portal_remote_desktop.h"

namespace login {
class TForm2;
}  // namespace login

namespace app {

class TForm1;

platform::dbus::PortalRemoteDesktop::TokenStore PortalTokenInFile(TForm1& main, const login::TForm2& login);

}  // namespace app
