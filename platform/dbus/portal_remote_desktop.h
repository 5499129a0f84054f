#pragma once
// Synthetic keys for native Wayland windows through the desktop's RemoteDesktop portal (GNOME,
// KDE): a session with a keyboard that the user allows once and that stays open until a lock. Keys
// travel as keysyms, which the compositor types on the focused window's layout, or drops when the
// layout lacks them: only printable ASCII is typed, anything else is left to a paste.
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "platform/key_sink.h"

class QDBusMessage;
class QDBusPendingCallWatcher;

namespace platform::dbus {

class PortalRemoteDesktop final : public QObject, public KeySink {
  Q_OBJECT
 public:
  // Nothing is asked of the session bus before the first fill: the portal may start after the program.
  PortalRemoteDesktop();
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
  // The keys go one at a time: the typing waits while a few are still on their way.
  std::chrono::milliseconds prepareKey(std::uint16_t key) override;

  // Opens the session unless one is open (the desktop asks the user at the first), then lets go of
  // the modifiers; kPrintableAsciiOnly once the desktop has taken them, so that a session it ended
  // without telling is replaced once. Never waits: every step goes on when the desktop answers.
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
  // Where a fill's start stands: which answer it awaits.
  enum class Step : std::uint8_t { kIdle, kConfirming, kCreating, kSelecting, kStarting };
  struct Response {
    unsigned code = 0;  // 0 granted, 1 cancelled by the user, 2 otherwise ended
    QVariantMap results;
  };

  void openSession();
  void sessionCreated(const std::optional<Response>& created);
  void selectDevices(unsigned interfaceVersion);
  void devicesSelected(const std::optional<Response>& selected);
  void sessionStarted(const std::optional<Response>& started);
  // Lets go of the modifiers on the open session and answers when the desktop has taken them.
  void confirmSession();
  // Calls the portal's method; its Request's Response, or nothing when the call fails or no
  // Response comes within wait, goes to the step awaiting it.
  void request(const QString& method, QVariantList arguments, QVariantMap options, std::chrono::milliseconds wait);
  void requestAnswered(const std::optional<Response>& response);
  // Whether the request's Response signal reaches onResponse.
  void listenTo(const QString& request, bool listen);
  void stopAwaitingRequest();
  // Ends the start: closes what it opened without keeping it and calls its ready.
  void answer(FillReadiness readiness);
  std::uint32_t keysymFor(std::uint8_t virtualKey) const;
  // Queued, and sent once the desktop has taken the key before: the portal hands calls that
  // overlap on to its back-end in any order, which scrambles the typing and leaves keys down.
  void sendKeysym(std::uint32_t keysym, bool down);
  void sendNextKey();
  // Runs then once every queued key is taken (or dropped with a session that failed).
  void whenKeysTaken(std::function<void()> then);
  void releaseModifiers();
  void closeHandle(const QString& handle);
  void forgetSession();
  // Hands the token the portal answered to `offered` to the store when it differs.
  void rememberToken(const QString& token, const QString& offered);

  QString session_;  // empty while none is open
  TokenStore tokenStore_;
  std::uint32_t characterKeysym_ = 0;                // of the character that keyForCharacter answered last
  std::deque<std::pair<std::uint32_t, bool>> keys_;  // keysym, down: waiting to be sent
  bool keyUnanswered_ = false;
  std::vector<std::function<void()>> keysTaken_;
  unsigned requests_ = 0;

  // The fill's start under way.
  Step step_ = Step::kIdle;
  std::function<void(FillReadiness)> ready_;  // empty once called: a lock calls it before the start ends
  bool retried_ = false;                      // whether a session was opened anew after a failed one
  QString opening_;                           // the session being opened
  QString offered_;                           // the restore token handed to it
  QString awaitedRequest_;
  QTimer answerTimer_;
  // Counts the answers taken, so that a reply to a step already over is ignored.
  unsigned generation_ = 0;
};

}  // namespace platform::dbus
