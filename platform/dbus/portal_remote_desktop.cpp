#include "platform/dbus/portal_remote_desktop.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <array>
#include <utility>

#include "platform/character_keys.h"
#include "platform/dbus/portal_request.h"
#include "platform/x11/x11_virtual_keys.h"

namespace platform::dbus {
namespace {

const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");

// The user may take a while to answer the desktop's question; every other answer comes at once.
constexpr std::chrono::milliseconds kConsentWait = std::chrono::seconds(60);
constexpr std::chrono::milliseconds kAnswerWait = std::chrono::seconds(5);
constexpr int kPortalCallTimeoutMs = 5000;

constexpr unsigned kKeyboardDevice = 1;
constexpr unsigned kPersistUntilRevoked = 2;

// The first character key stands for the last character looked up.
constexpr std::uint8_t kCharacterKey = kFirstCharacterKey;

// Left and right Shift, Control, Alt and Super: the user's hot key may still hold some of them.
constexpr std::array<std::uint32_t, 8> kModifierKeysyms{0xFFE1, 0xFFE2, 0xFFE3, 0xFFE4, 0xFFE9, 0xFFEA, 0xFFEB, 0xFFEC};

QDBusConnection Bus() { return QDBusConnection::sessionBus(); }

template <typename Response>
FillReadiness Refusal(const std::optional<Response>& answer) {
  return answer && answer->code == 1 ? FillReadiness::kRefused : FillReadiness::kUnavailable;
}

}  // namespace

PortalRemoteDesktop::PortalRemoteDesktop() {
  answerTimer_.setSingleShot(true);
  connect(&answerTimer_, &QTimer::timeout, this, [this] {
    // Unanswered in time: the desktop's question goes away with the request.
    Bus().send(QDBusMessage::createMethodCall(kPortalService, awaitedRequest_, kPortalRequest, "Close"));
    stopAwaitingRequest();
    requestAnswered(std::nullopt);
  });
}

PortalRemoteDesktop::~PortalRemoteDesktop() {
  ready_ = nullptr;  // whoever waits for it may be gone already
  closeSession();
}

void PortalRemoteDesktop::keyDown(std::uint8_t virtualKey, bool) { sendKeysym(keysymFor(virtualKey), true); }

void PortalRemoteDesktop::keyUp(std::uint8_t virtualKey, bool) { sendKeysym(keysymFor(virtualKey), false); }

// Keysyms are 29-bit values.
std::uint32_t PortalRemoteDesktop::keysymFor(std::uint8_t virtualKey) const {
  return virtualKey == kCharacterKey ? characterKeysym_
                                     : static_cast<std::uint32_t>(x11::KeysymForVirtualKey(virtualKey));
}

// Printable ASCII characters are their own keysyms; the compositor adds Shift where the layout
// needs it.
std::uint16_t PortalRemoteDesktop::keyForCharacter(char32_t character) {
  if (!IsPrintableAscii(character)) return kNoKey;
  characterKeysym_ = character;
  return kCharacterKey;
}

void PortalRemoteDesktop::startFill(std::function<void(FillReadiness)> ready) {
  // The user has not answered the first fill's question yet.
  if (step_ != Step::kIdle) return ready(FillReadiness::kRefused);
  ready_ = std::move(ready);
  retried_ = false;
  if (session_.isEmpty())
    openSession();
  else
    confirmSession();
}

void PortalRemoteDesktop::fillEnded() { releaseModifiers(); }

void PortalRemoteDesktop::closeSession() {
  keys_.clear();  // nothing of the fill cut short goes to a later session
  if (!session_.isEmpty()) closeHandle(std::exchange(session_, QString()));
  if (step_ == Step::kCreating) {
    // Only the answer names the session: it is closed when it comes.
    if (ready_) std::exchange(ready_, nullptr)(FillReadiness::kRefused);
    return;
  }
  if (step_ == Step::kIdle) return;
  // A lock while the user is asked: the question goes away with the request, the session with the start.
  if (!awaitedRequest_.isEmpty())
    Bus().send(QDBusMessage::createMethodCall(kPortalService, awaitedRequest_, kPortalRequest, "Close"));
  answer(FillReadiness::kRefused);
}

void PortalRemoteDesktop::answer(FillReadiness readiness) {
  step_ = Step::kIdle;
  ++generation_;
  stopAwaitingRequest();
  if (!opening_.isEmpty()) closeHandle(std::exchange(opening_, QString()));
  if (ready_) std::exchange(ready_, nullptr)(readiness);
}

void PortalRemoteDesktop::closeHandle(const QString& handle) {
  Bus().disconnect(QString(), handle, kPortalSession, "Closed", this, SLOT(onSessionClosed(QDBusMessage)));
  Bus().send(QDBusMessage::createMethodCall(kPortalService, handle, kPortalSession, "Close"));
}

void PortalRemoteDesktop::rememberToken(const QString& token, const QString& offered) {
  if (tokenStore_.keep && token != offered) tokenStore_.keep(token);
}

void PortalRemoteDesktop::openSession() {
  step_ = Step::kCreating;
  // A session path of its own each time, also beside one the portal has not closed yet.
  const QString sessionToken = QStringLiteral("keyhaven_session%1").arg(requests_);
  request("CreateSession", {}, {{"session_handle_token", sessionToken}}, kAnswerWait);
}

void PortalRemoteDesktop::sessionCreated(const std::optional<Response>& created) {
  const QString session =
      created && created->code == 0 ? PortalSessionHandle(created->results.value("session_handle")) : QString();
  if (!ready_) {
    // A lock came first: what the answer opened is closed at once.
    if (!session.isEmpty()) closeHandle(session);
    return answer(FillReadiness::kRefused);
  }
  if (!created || created->code != 0) return answer(Refusal(created));
  if (session.isEmpty()) return answer(FillReadiness::kUnavailable);
  opening_ = session;
  Bus().connect(QString(), session, kPortalSession, "Closed", this, SLOT(onSessionClosed(QDBusMessage)));
  step_ = Step::kSelecting;
  // The interface's version says whether the desktop can remember the consent.
  QDBusMessage get = QDBusMessage::createMethodCall(kPortalService, kPortalPath, "org.freedesktop.DBus.Properties",
                                                    QStringLiteral("Get"));
  get << kRemoteDesktop << QStringLiteral("version");
  auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(get, kPortalCallTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation = generation_] {
    watcher->deleteLater();
    if (generation == generation_) selectDevices(QDBusPendingReply<QDBusVariant>(*watcher).value().variant().toUInt());
  });
}

void PortalRemoteDesktop::selectDevices(unsigned interfaceVersion) {
  QVariantMap devices{{"types", kKeyboardDevice}};
  offered_ = tokenStore_.load ? tokenStore_.load() : QString();
  if (interfaceVersion >= 2) {
    devices.insert("persist_mode", kPersistUntilRevoked);
    if (!offered_.isEmpty()) devices.insert("restore_token", offered_);
  }
  request("SelectDevices", {QVariant::fromValue(QDBusObjectPath(opening_))}, devices, kAnswerWait);
}

void PortalRemoteDesktop::devicesSelected(const std::optional<Response>& selected) {
  if (!selected || selected->code != 0) return answer(Refusal(selected));
  step_ = Step::kStarting;
  request("Start", {QVariant::fromValue(QDBusObjectPath(opening_)), QString()}, {}, kConsentWait);
}

void PortalRemoteDesktop::sessionStarted(const std::optional<Response>& started) {
  // A token is used up by the session it opened; a refusal leaves none.
  if (started && started->code != 2)
    rememberToken(started->code == 0 ? started->results.value("restore_token").toString() : QString(), offered_);
  // Unanswered in time, or allowed without the keyboard: not allowed.
  if (!started || started->code != 0 || !(started->results.value("devices").toUInt() & kKeyboardDevice))
    return answer(started && started->code == 2 ? FillReadiness::kUnavailable : FillReadiness::kRefused);
  session_ = std::exchange(opening_, QString());
  confirmSession();
}

// A session the desktop ended without telling us refuses the keys: one new one is asked for.
void PortalRemoteDesktop::confirmSession() {
  step_ = Step::kConfirming;
  releaseModifiers();
  // A refused release has forgotten the session by then.
  whenKeysTaken([this, generation = generation_] {
    if (generation != generation_) return;
    if (!session_.isEmpty()) return answer(FillReadiness::kPrintableAsciiOnly);
    if (std::exchange(retried_, true)) return answer(FillReadiness::kUnavailable);
    openSession();
  });
}

// Listened to before the call, so that an answer sent before the call's reply is not missed.
void PortalRemoteDesktop::request(const QString& method, QVariantList arguments, QVariantMap options,
                                  std::chrono::milliseconds wait) {
  const QString token = QStringLiteral("keyhaven%1").arg(++requests_);
  awaitedRequest_ = PortalRequestPath(Bus(), token);
  listenTo(awaitedRequest_, true);
  options.insert("handle_token", token);
  arguments << options;
  QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kRemoteDesktop, method);
  call.setArguments(arguments);
  auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(call, kPortalCallTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, wait, generation = generation_] {
    watcher->deleteLater();
    if (generation != generation_) return;  // answered already, or given up
    const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
    if (reply.isError()) {
      stopAwaitingRequest();
      return requestAnswered(std::nullopt);
    }
    if (reply.value().path() != awaitedRequest_) {
      // Portals before 0.9 chose the path themselves.
      listenTo(awaitedRequest_, false);
      awaitedRequest_ = reply.value().path();
      listenTo(awaitedRequest_, true);
    }
    answerTimer_.start(wait);
  });
}

void PortalRemoteDesktop::requestAnswered(const std::optional<Response>& response) {
  switch (step_) {
    case Step::kCreating:
      return sessionCreated(response);
    case Step::kSelecting:
      return devicesSelected(response);
    case Step::kStarting:
      return sessionStarted(response);
    case Step::kIdle:
    case Step::kConfirming:
      return;
  }
}

void PortalRemoteDesktop::stopAwaitingRequest() {
  answerTimer_.stop();
  if (awaitedRequest_.isEmpty()) return;
  listenTo(std::exchange(awaitedRequest_, QString()), false);
  ++generation_;
}

void PortalRemoteDesktop::listenTo(const QString& request, bool listen) {
  if (listen)
    Bus().connect(QString(), request, kPortalRequest, "Response", this, SLOT(onResponse(QDBusMessage)));
  else
    Bus().disconnect(QString(), request, kPortalRequest, "Response", this, SLOT(onResponse(QDBusMessage)));
}

void PortalRemoteDesktop::onResponse(const QDBusMessage& message) {
  if (message.path() != awaitedRequest_) return;
  stopAwaitingRequest();
  requestAnswered(
      Response{message.arguments().value(0).toUInt(), qdbus_cast<QVariantMap>(message.arguments().value(1))});
}

void PortalRemoteDesktop::onSessionClosed(const QDBusMessage& message) {
  if (message.path() == session_) forgetSession();
}

void PortalRemoteDesktop::forgetSession() {
  Bus().disconnect(QString(), session_, kPortalSession, "Closed", this, SLOT(onSessionClosed(QDBusMessage)));
  session_.clear();
}

void PortalRemoteDesktop::sendKeysym(std::uint32_t keysym, bool down) {
  if (session_.isEmpty() || keysym == 0) return;
  keys_.emplace_back(keysym, down);
  if (!keyUnanswered_) sendNextKey();
}

void PortalRemoteDesktop::sendNextKey() {
  if (session_.isEmpty()) keys_.clear();
  if (keys_.empty()) {
    keyUnanswered_ = false;
    for (auto& then : std::exchange(keysTaken_, {})) then();
    return;
  }
  const auto [keysym, down] = keys_.front();
  keys_.pop_front();
  keyUnanswered_ = true;
  QDBusMessage call =
      QDBusMessage::createMethodCall(kPortalService, kPortalPath, kRemoteDesktop, "NotifyKeyboardKeysym");
  call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariantMap() << static_cast<int>(keysym)
       << static_cast<unsigned>(down ? 1 : 0);
  auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(call, kPortalCallTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, session = session_] {
    watcher->deleteLater();
    // A session that refuses keys is gone: the rest of them with it.
    if (watcher->isError() && session == session_) forgetSession();
    sendNextKey();
  });
}

void PortalRemoteDesktop::whenKeysTaken(std::function<void()> then) {
  if (!keyUnanswered_) return then();
  keysTaken_.push_back(std::move(then));
}

std::chrono::milliseconds PortalRemoteDesktop::prepareKey(std::uint16_t) {
  constexpr std::size_t kKeysOnTheirWay = 8;  // two characters with Shift
  return keys_.size() < kKeysOnTheirWay ? std::chrono::milliseconds(0) : std::chrono::milliseconds(5);
}

void PortalRemoteDesktop::releaseModifiers() {
  for (std::uint32_t keysym : kModifierKeysyms) sendKeysym(keysym, false);
}

}  // namespace platform::dbus
