#include "platform/dbus/portal_remote_desktop.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>
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

PortalRemoteDesktop::~PortalRemoteDesktop() { closeSession(); }

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

void PortalRemoteDesktop::startFill(std::function<void(FillReadiness)> ready) { ready(startFillNow()); }

FillReadiness PortalRemoteDesktop::startFillNow() {
  if (waiting_) return FillReadiness::kRefused;  // the user has not answered the first fill's question yet
  // A session the desktop ended without telling us fails at the first key: one new one is asked for.
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (session_.isEmpty())
      if (const FillReadiness opened = openSession(); opened != FillReadiness::kPrintableAsciiOnly) return opened;
    releaseModifiers();
    if (!session_.isEmpty()) return FillReadiness::kPrintableAsciiOnly;
  }
  return FillReadiness::kUnavailable;
}

void PortalRemoteDesktop::fillEnded() { releaseModifiers(); }

void PortalRemoteDesktop::closeSession() {
  if (waiting_) {
    // A lock while the user is being asked: what the answer opens is closed at once.
    closedWhileWaiting_ = true;
    waiting_->quit();
  }
  if (session_.isEmpty()) return;
  closeHandle(std::exchange(session_, QString()));
}

void PortalRemoteDesktop::closeHandle(const QString& session) {
  Bus().disconnect(QString(), session, kPortalSession, "Closed", this, SLOT(onSessionClosed(QDBusMessage)));
  Bus().call(QDBusMessage::createMethodCall(kPortalService, session, kPortalSession, "Close"), QDBus::Block,
             kPortalCallTimeoutMs);
}

void PortalRemoteDesktop::rememberToken(const QString& token, const QString& offered) {
  if (tokenStore_.keep && token != offered) tokenStore_.keep(token);
}

FillReadiness PortalRemoteDesktop::openSession() {
  closedWhileWaiting_ = false;
  // A session path of its own each time, also beside one the portal has not closed yet.
  const QString sessionToken = QStringLiteral("keyhaven_session%1").arg(requests_);
  const std::optional<Response> created =
      request("CreateSession", {}, {{"session_handle_token", sessionToken}}, kAnswerWait);
  if (!created || created->code != 0) return Refusal(created);
  const QString session = PortalSessionHandle(created->results.value("session_handle"));
  if (session.isEmpty()) return FillReadiness::kUnavailable;
  Bus().connect(QString(), session, kPortalSession, "Closed", this, SLOT(onSessionClosed(QDBusMessage)));

  QVariantMap devices{{"types", kKeyboardDevice}};
  const QString offered = tokenStore_.load ? tokenStore_.load() : QString();
  if (interfaceVersion() >= 2) {
    devices.insert("persist_mode", kPersistUntilRevoked);
    if (!offered.isEmpty()) devices.insert("restore_token", offered);
  }
  const QVariant sessionPath = QVariant::fromValue(QDBusObjectPath(session));
  const std::optional<Response> selected = request("SelectDevices", {sessionPath}, devices, kAnswerWait);
  if (!selected || selected->code != 0) {
    closeHandle(session);
    return Refusal(selected);
  }
  const std::optional<Response> started = request("Start", {sessionPath, QString()}, {}, kConsentWait);
  // A token is used up by the session it opened; a refusal leaves none.
  if (started && started->code != 2)
    rememberToken(started->code == 0 ? started->results.value("restore_token").toString() : QString(), offered);
  // Unanswered in time, allowed without the keyboard, or a lock meanwhile: not allowed.
  if (!started || started->code != 0 || !(started->results.value("devices").toUInt() & kKeyboardDevice) ||
      closedWhileWaiting_) {
    closeHandle(session);
    return started && started->code == 2 ? FillReadiness::kUnavailable : FillReadiness::kRefused;
  }
  session_ = session;
  return FillReadiness::kPrintableAsciiOnly;
}

// Subscribed before the call, so that an answer sent before the call's reply is not missed.
std::optional<PortalRemoteDesktop::Response> PortalRemoteDesktop::request(const QString& method, QVariantList arguments,
                                                                          QVariantMap options,
                                                                          std::chrono::milliseconds wait) {
  const QString token = QStringLiteral("keyhaven%1").arg(++requests_);
  awaitedRequest_ = PortalRequestPath(Bus(), token);
  response_.reset();
  listenTo(awaitedRequest_, true);
  options.insert("handle_token", token);
  arguments << options;
  QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kRemoteDesktop, method);
  call.setArguments(arguments);
  const QDBusMessage reply = Bus().call(call, QDBus::Block, kPortalCallTimeoutMs);
  const QString handle = reply.arguments().value(0).value<QDBusObjectPath>().path();
  if (reply.type() == QDBusMessage::ReplyMessage && handle != awaitedRequest_) {
    // Portals before 0.9 chose the path themselves.
    listenTo(awaitedRequest_, false);
    awaitedRequest_ = handle;
    listenTo(awaitedRequest_, true);
  }
  if (reply.type() == QDBusMessage::ReplyMessage && !response_ && !closedWhileWaiting_) {
    QEventLoop loop;
    QTimer::singleShot(wait, &loop, &QEventLoop::quit);
    waiting_ = &loop;
    loop.exec();
    waiting_ = nullptr;
  }
  listenTo(awaitedRequest_, false);
  // Unanswered in time: the desktop's question goes away with the request.
  if (reply.type() == QDBusMessage::ReplyMessage && !response_)
    Bus().call(QDBusMessage::createMethodCall(kPortalService, awaitedRequest_, kPortalRequest, "Close"), QDBus::Block,
               kPortalCallTimeoutMs);
  awaitedRequest_.clear();
  return std::exchange(response_, std::nullopt);
}

void PortalRemoteDesktop::listenTo(const QString& request, bool listen) {
  if (listen)
    Bus().connect(QString(), request, kPortalRequest, "Response", this, SLOT(onResponse(QDBusMessage)));
  else
    Bus().disconnect(QString(), request, kPortalRequest, "Response", this, SLOT(onResponse(QDBusMessage)));
}

void PortalRemoteDesktop::onResponse(const QDBusMessage& message) {
  if (message.path() != awaitedRequest_ || response_) return;
  response_ = Response{message.arguments().value(0).toUInt(), qdbus_cast<QVariantMap>(message.arguments().value(1))};
  if (waiting_) waiting_->quit();
}

void PortalRemoteDesktop::onSessionClosed(const QDBusMessage& message) {
  if (message.path() == session_) forgetSession();
}

void PortalRemoteDesktop::forgetSession() {
  Bus().disconnect(QString(), session_, kPortalSession, "Closed", this, SLOT(onSessionClosed(QDBusMessage)));
  session_.clear();
}

unsigned PortalRemoteDesktop::interfaceVersion() {
  QDBusMessage get = QDBusMessage::createMethodCall(kPortalService, kPortalPath, "org.freedesktop.DBus.Properties",
                                                    QStringLiteral("Get"));
  get << kRemoteDesktop << QStringLiteral("version");
  const QDBusMessage reply = Bus().call(get, QDBus::Block, kPortalCallTimeoutMs);
  return reply.arguments().value(0).value<QDBusVariant>().variant().toUInt();
}

void PortalRemoteDesktop::sendKeysym(std::uint32_t keysym, bool down) {
  if (session_.isEmpty() || keysym == 0) return;
  QDBusMessage call =
      QDBusMessage::createMethodCall(kPortalService, kPortalPath, kRemoteDesktop, "NotifyKeyboardKeysym");
  call << QVariant::fromValue(QDBusObjectPath(session_)) << QVariantMap() << static_cast<int>(keysym)
       << static_cast<unsigned>(down ? 1 : 0);
  // Waited for, so that a session the desktop has ended stops the typing at once.
  if (Bus().call(call, QDBus::Block, kPortalCallTimeoutMs).type() == QDBusMessage::ErrorMessage) forgetSession();
}

void PortalRemoteDesktop::releaseModifiers() {
  for (std::uint32_t keysym : kModifierKeysyms) sendKeysym(keysym, false);
}

}  // namespace platform::dbus
