#pragma once
// Synthetic keys for native Wayland windows through the desktop's RemoteDesktop portal (GNOME,
// KDE): a session with a keyboard that the user allows once and that stays open until a lock. Keys
// travel as keysyms, which the compositor types on the focused window's layout, or drops when the
// layout lacks them: only printable ASCII is typed, anything else is left to a paste.
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <chrono>
#include <functional>
#include <optional>

#include "platform/key_sink.h"

class QDBusMessage;
class QEventLoop;

namespace platform::dbus {

class PortalRemoteDesktop final : public QObject, public KeySink {
  Q_OBJECT
 public:
  // Nothing is asked of the session bus before the first fill: the portal may start after the program.
  PortalRemoteDesktop() = default;
  ~PortalRemoteDesktop() override;
  PortalRemoteDesktop(const PortalRemoteDesktop&) = delete;
  PortalRemoteDesktop& operator=(const PortalRemoteDesktop&) = delete;

  void keyDown(std::uint8_t virtualKey, bool extended) override;
  void keyUp(std::uint8_t virtualKey, bool extended) override;
  std::uint16_t keyForCharacter(char32_t character) override;
  // The portal neither reads the keyboard's state nor sets a lock to a known state.
  bool numLockOn() override { return false; }
  void setNumLock(bool) override {}
  bool keysHeld() override { return false; }
  void pumpMessages() override {}

  // Opens the session unless one is open (the desktop asks the user at the first), then lets go of
  // the modifiers; kPrintableAsciiOnly when keys can be sent.
  void startFill(std::function<void(FillReadiness)> ready) override;
  void fillEnded() override;
  void closeSession() override;

  // Where the restore token is kept between unlocks. The token lets the next session start without
  // asking (portal interface version 2); single use, each granted session brings a new one. Without
  // a store, every unlock asks.
  struct TokenStore {
    std::function<QString()> load;
    std::function<void(const QString&)> keep;
  };
  void setTokenStore(TokenStore store) { tokenStore_ = std::move(store); }

 private slots:
  void onResponse(const QDBusMessage& message);
  void onSessionClosed(const QDBusMessage& message);

 private:
  struct Response {
    unsigned code = 0;  // 0 granted, 1 cancelled by the user, 2 otherwise ended
    QVariantMap results;
  };

  FillReadiness startFillNow();
  FillReadiness openSession();
  std::optional<Response> request(const QString& method, QVariantList arguments, QVariantMap options,
                                  std::chrono::milliseconds wait);
  // Whether the request's Response signal reaches onResponse.
  void listenTo(const QString& request, bool listen);
  unsigned interfaceVersion();
  std::uint32_t keysymFor(std::uint8_t virtualKey) const;
  void sendKeysym(std::uint32_t keysym, bool down);
  void releaseModifiers();
  void closeHandle(const QString& session);
  void forgetSession();
  // Hands the token the portal answered to `offered` to the store when it differs.
  void rememberToken(const QString& token, const QString& offered);

  QString session_;  // empty while none is open
  TokenStore tokenStore_;
  std::uint32_t characterKeysym_ = 0;  // of the character that keyForCharacter answered last
  unsigned requests_ = 0;
  QString awaitedRequest_;
  std::optional<Response> response_;
  QEventLoop* waiting_ = nullptr;
  bool closedWhileWaiting_ = false;
};

}  // namespace platform::dbus
