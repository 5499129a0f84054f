#include "app/portal_consent.h"

#include "app/tform1.h"
#include "login/tform2.h"
#include "store/store_error.h"

namespace app {

namespace {

const QString kInterface = QStringLiteral("org.freedesktop.portal.RemoteDesktop");

}  // namespace

platform::dbus::PortalRemoteDesktop::TokenStore PortalTokenInFile(TForm1& main, const login::TForm2& login) {
  // Read and written only while unlocked. A file that cannot keep the token costs the user one
  // more question from the desktop, never the fill.
  return {[&main, &login]() -> QString {
            if (!login.unlocked()) return {};
            try {
              return main.vault().desktopConsent(kInterface);
            } catch (const store::StoreError&) {
              return {};
            }
          },
          [&main, &login](const QString& token) {
            if (!login.unlocked()) return;
            try {
              main.vault().keepDesktopConsent(kInterface, token);
            } catch (const store::StoreError&) {
              // the desktop asks again at the next unlock
            }
          }};
}

}  // namespace app
