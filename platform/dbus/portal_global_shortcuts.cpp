#include "platform/dbus/portal_global_shortcuts.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <utility>

#include "platform/dbus/portal_request.h"

namespace platform::dbus {
namespace {

const QString kGlobalShortcuts = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
constexpr int kAnswerTimeoutMs = 5000;

// BindShortcuts takes a(sa{sv}): each shortcut's id and its description and preferred trigger.
using ShortcutList = QList<std::pair<QString, QVariantMap>>;

QDBusConnection ShortcutsBus() { return QDBusConnection::sessionBus(); }

QDBusMessage PortalCall(const QString& path, const QString& interface, const QString& method) {
  return QDBusMessage::createMethodCall(kPortalService, path, interface, method);
}

}  // namespace

PortalGlobalShortcuts::~PortalGlobalShortcuts() { unbind(); }

void PortalGlobalShortcuts::bind(const std::vector<GlobalShortcut>& shortcuts) {
  if (step_ != Step::kUnbound) return;
  shortcuts_ = shortcuts;
  step_ = Step::kAsking;
  // Asked at each bind: the portal may have started after the program.
  AskForGlobalShortcuts(this, [this, generation = ++generation_](bool offered) {
    if (generation != generation_ || step_ != Step::kAsking) return;
    if (!offered) {
      step_ = Step::kUnbound;
      return;
    }
    step_ = Step::kCreating;
    // Where the portal knows no application id, KDE files the keys the user assigns under the
    // session's token: the same token at every unlock keeps them. The last session is closed by then.
    request("CreateSession", {QVariantMap{{"session_handle_token", QStringLiteral("keyhaven_shortcuts")}}});
  });
}

void PortalGlobalShortcuts::unbind() {
  ++generation_;
  step_ = Step::kUnbound;
  if (!awaitedRequest_.isEmpty()) {
    listenToRequest(false);
    // The desktop's dialog goes away with the request.
    ShortcutsBus().send(PortalCall(std::exchange(awaitedRequest_, QString()), kPortalRequest, "Close"));
  }
  if (session_.isEmpty()) return;
  listenToSession(false);
  ShortcutsBus().send(PortalCall(std::exchange(session_, QString()), kPortalSession, "Close"));
}

// Listened to before the call, so that an answer sent before the call's reply is not missed.
void PortalGlobalShortcuts::request(const QString& method, QVariantList arguments) {
  const QString token = QStringLiteral("keyhaven_shortcuts_request%1").arg(++requests_);
  awaitedRequest_ = PortalRequestPath(ShortcutsBus(), token);
  listenToRequest(true);
  QVariantMap options = arguments.takeLast().toMap();
  options.insert("handle_token", token);
  arguments << options;
  QDBusMessage call = PortalCall(kPortalPath, kGlobalShortcuts, method);
  call.setArguments(arguments);
  auto* watcher = new QDBusPendingCallWatcher(ShortcutsBus().asyncCall(call, kAnswerTimeoutMs), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation = generation_] {
    watcher->deleteLater();
    if (generation != generation_) return;
    const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
    if (reply.isError()) return unbind();
    if (reply.value().path() != awaitedRequest_ && !awaitedRequest_.isEmpty()) {
      // Portals before 0.9 chose the path themselves.
      listenToRequest(false);
      awaitedRequest_ = reply.value().path();
      listenToRequest(true);
    }
  });
}

void PortalGlobalShortcuts::onResponse(const QDBusMessage& message) {
  if (message.path() != awaitedRequest_) return;
  listenToRequest(false);
  awaitedRequest_.clear();
  const unsigned code = message.arguments().value(0).toUInt();  // 0 granted, 1 cancelled, 2 otherwise ended
  if (step_ == Step::kCreating) return sessionCreated(code, qdbus_cast<QVariantMap>(message.arguments().value(1)));
  if (step_ != Step::kBinding) return;
  // Turned down, the keys are asked for again at the next unlock.
  if (code != 0) return unbind();
  step_ = Step::kBound;
}

void PortalGlobalShortcuts::sessionCreated(unsigned code, const QVariantMap& results) {
  session_ = code == 0 ? PortalSessionHandle(results.value("session_handle")) : QString();
  if (session_.isEmpty()) return unbind();
  listenToSession(true);
  step_ = Step::kBinding;
  [[maybe_unused]] static const bool registered = [] {
    qDBusRegisterMetaType<ShortcutList::value_type>();
    qDBusRegisterMetaType<ShortcutList>();
    return true;
  }();
  ShortcutList shortcuts;
  for (const GlobalShortcut& shortcut : shortcuts_) {
    QVariantMap properties{{"description", shortcut.description}};
    if (!shortcut.preferredTrigger.isEmpty()) properties.insert("preferred_trigger", shortcut.preferredTrigger);
    shortcuts.append({shortcut.id, properties});
  }
  request("BindShortcuts",
          {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString(), QVariantMap()});
}

void PortalGlobalShortcuts::listenToRequest(bool listen) {
  if (listen)
    ShortcutsBus().connect(QString(), awaitedRequest_, kPortalRequest, "Response", this,
                           SLOT(onResponse(QDBusMessage)));
  else
    ShortcutsBus().disconnect(QString(), awaitedRequest_, kPortalRequest, "Response", this,
                              SLOT(onResponse(QDBusMessage)));
}

void PortalGlobalShortcuts::listenToSession(bool listen) {
  QDBusConnection bus = ShortcutsBus();
  const auto change = [&bus, listen, this](const QString& path, const QString& interface, const QString& signal,
                                           const char* slot) {
    if (listen)
      bus.connect(QString(), path, interface, signal, this, slot);
    else
      bus.disconnect(QString(), path, interface, signal, this, slot);
  };
  change(session_, kPortalSession, "Closed", SLOT(onSessionClosed(QDBusMessage)));
  change(kPortalPath, kGlobalShortcuts, "Activated", SLOT(onActivated(QDBusMessage)));
  change(kPortalPath, kGlobalShortcuts, "Deactivated", SLOT(onDeactivated(QDBusMessage)));
}

QString PortalGlobalShortcuts::shortcutOf(const QDBusMessage& message) const {
  if (step_ != Step::kBound || message.arguments().value(0).value<QDBusObjectPath>().path() != session_) return {};
  return message.arguments().value(1).toString();
}

void PortalGlobalShortcuts::onActivated(const QDBusMessage& message) {
  if (const QString id = shortcutOf(message); !id.isEmpty()) emit activated(id);
}

void PortalGlobalShortcuts::onDeactivated(const QDBusMessage& message) {
  if (const QString id = shortcutOf(message); !id.isEmpty()) emit deactivated(id);
}

void PortalGlobalShortcuts::onSessionClosed(const QDBusMessage& message) {
  if (message.path() != session_) return;
  // Ended by the desktop: nothing left to close.
  listenToSession(false);
  session_.clear();
  unbind();
}

void AskForGlobalShortcuts(QObject* context, std::function<void(bool offered)> answer) {
  QDBusMessage get = PortalCall(kPortalPath, "org.freedesktop.DBus.Properties", "Get");
  get << kGlobalShortcuts << QStringLiteral("version");
  auto* watcher = new QDBusPendingCallWatcher(ShortcutsBus().asyncCall(get, kAnswerTimeoutMs), context);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context, [watcher, answer = std::move(answer)] {
    watcher->deleteLater();
    answer(!watcher->isError());
  });
}

}  // namespace platform::dbus
