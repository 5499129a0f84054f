#pragma once
// The RemoteDesktop portal's restore token lives in the open database file, so that a user who
// allowed typing once is not asked again at every unlock.
#include "platform/dbus/portal_remote_desktop.h"

class TForm1;
class TForm2;

platform::dbus::PortalRemoteDesktop::TokenStore PortalTokenInFile(TForm1& main, const TForm2& login);
