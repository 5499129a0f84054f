#include "platform/dbus/ibus_input_method.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <utility>

namespace platform::dbus {
namespace {

// IBus slower than this to answer a question counts as one that does not answer.
constexpr int kIBusCallTimeoutMs = 300;
// A switch of engines is confirmed within this, or the fill is pasted instead.
constexpr int kSwitchTimeoutMs = 500;
constexpr unsigned long kSwitchPollMs = 10;
const QString kIBusService = QStringLiteral("org.freedesktop.IBus");
const QString kIBusPath = QStringLiteral("/org/freedesktop/IBus");
const QString kKeyboardEnginePrefix = QStringLiteral("xkb:");
// gnome-shell runs every keyboard layout on this engine; it is also IBus's own default.
const QString kUsKeyboardEngine = QStringLiteral("xkb:us::eng");

// The file in which the daemon leaves its address: one per display, as IBus's clients look for it.
QString IBusAddressFile() {
  QString file = qEnvironmentVariable("IBUS_ADDRESS_FILE");
  if (!file.isEmpty()) return file;
  QString host = QStringLiteral("unix");
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) {
    // "host:number.screen"; IBus takes ":0" when DISPLAY is not set.
    const QString x = qEnvironmentVariable("DISPLAY", QStringLiteral(":0"));
    if (const QString named = x.section(':', 0, 0); !named.isEmpty()) host = named;
    display = x.section(':', 1).section('.', 0, 0);
  }
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + "/.config";
  return config + "/ibus/bus/" + QString::fromLatin1(QDBusConnection::localMachineId()) + "-" + host + "-" + display;
}

// The daemon's file holds a few lines; anything longer is not one.
constexpr qint64 kAddressFileLimit = qint64{64} * 1024;

QString IBusAddress() {
  QString given = qEnvironmentVariable("IBUS_ADDRESS");
  if (!given.isEmpty()) return given;
  QFile file(IBusAddressFile());
  if (!file.open(QIODevice::ReadOnly)) return {};
  for (const QByteArray& line : file.read(kAddressFileLimit).split('\n'))
    if (line.startsWith("IBUS_ADDRESS=")) return QString::fromUtf8(line.mid(13)).trimmed();
  return {};
}

// A daemon that has ended leaves no socket behind: its address no longer connects.
std::optional<QDBusConnection> ConnectToIBus() {
  const QString address = IBusAddress();
  if (address.isEmpty()) return std::nullopt;
  const QString name = "keyhaven ibus " + address;
  // A connection kept from before may have lost its daemon: it is dropped and tried once anew.
  for (int attempt = 0; attempt < 2; ++attempt) {
    QDBusConnection bus = QDBusConnection::connectToBus(address, name);
    if (bus.isConnected()) return bus;
    QDBusConnection::disconnectFromBus(name);
  }
  return std::nullopt;
}

QDBusMessage CallIBus(const QDBusConnection& bus, const QString& interface, const QString& method,
                      const QVariantList& arguments, int timeoutMs = kIBusCallTimeoutMs) {
  QDBusMessage message = QDBusMessage::createMethodCall(kIBusService, kIBusPath, interface, method);
  message.setArguments(arguments);
  message.setAutoStartService(false);
  return bus.call(message, QDBus::Block, timeoutMs);
}

// The name in an engine's description, which comes as ("IBusEngineDesc", attachments, name, …).
QString EngineName(QVariant value) {
  while (value.metaType() == QMetaType::fromType<QDBusVariant>()) value = qvariant_cast<QDBusVariant>(value).variant();
  if (value.metaType() != QMetaType::fromType<QDBusArgument>()) return {};
  const auto description = qvariant_cast<QDBusArgument>(value);
  if (description.currentType() != QDBusArgument::StructureType) return {};
  QString type;
  QVariantMap attachments;
  QString name;
  description.beginStructure();
  description >> type >> attachments >> name;
  description.endStructure();
  return type == QLatin1String("IBusEngineDesc") ? name : QString();
}

// The global engine's name; empty when IBus has none yet, nothing when IBus does not answer.
std::optional<QString> GlobalEngine(const QDBusConnection& bus) {
  const QDBusMessage reply =
      CallIBus(bus, "org.freedesktop.DBus.Properties", "Get", {kIBusService, QStringLiteral("GlobalEngine")});
  if (reply.type() == QDBusMessage::ReplyMessage) return EngineName(reply.arguments().value(0));
  if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Failed")) return QString();  // "No global engine."
  return std::nullopt;
}

bool KnownEngine(const QDBusConnection& bus, const QString& engine) {
  const QDBusMessage reply = CallIBus(bus, kIBusService, "GetEnginesByNames", {QStringList{engine}});
  if (reply.type() != QDBusMessage::ReplyMessage) return false;
  const auto descriptions = qvariant_cast<QDBusArgument>(reply.arguments().value(0));
  bool known = false;
  descriptions.beginArray();
  while (!descriptions.atEnd()) {
    QDBusVariant description;
    descriptions >> description;
    known = known || EngineName(description.variant()) == engine;
  }
  descriptions.endArray();
  return known;
}

enum class Switched { kConfirmed, kRefused, kUnconfirmed };

// IBus takes the call and then starts the engine, which may be a process of its own: the switch
// counts once the global engine reads back as the one asked for.
Switched SwitchEngine(const QDBusConnection& bus, const QString& engine) {
  const QDeadlineTimer deadline(kSwitchTimeoutMs);
  const QDBusMessage reply = CallIBus(bus, kIBusService, "SetGlobalEngine", {engine}, kSwitchTimeoutMs);
  if (reply.type() == QDBusMessage::ErrorMessage &&
      reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.NoReply"))
    return Switched::kRefused;  // an unknown engine, or the global engine switched off
  while (GlobalEngine(bus) != engine) {
    if (deadline.hasExpired()) return Switched::kUnconfirmed;
    QThread::msleep(kSwitchPollMs);
  }
  return Switched::kConfirmed;
}

// The user's engines, as IBus's panel reads them. dconf comes with IBus; IBus's own profile lays
// the user's settings over the system's.
QStringList PreloadEngines() {
  QProcess dconf;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DCONF_PROFILE", "ibus");
  dconf.setProcessEnvironment(environment);
  dconf.start("dconf", {"read", "/desktop/ibus/general/preload-engines"});
  if (!dconf.waitForFinished(kIBusCallTimeoutMs)) {
    dconf.kill();
    dconf.waitForFinished();
    return {};
  }
  QStringList engines;  // the list in GVariant's text form: ['xkb:us::eng', 'libpinyin']
  static const QRegularExpression quoted(QStringLiteral("'([^']*)'"));
  for (const QRegularExpressionMatch& match : quoted.globalMatch(QString::fromUtf8(dconf.readAllStandardOutput())))
    engines << match.captured(1);
  return engines;
}

bool OnGnome() {
  const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(':');
  return desktops.contains(QStringLiteral("GNOME"), Qt::CaseInsensitive);
}

}  // namespace

QString DirectEngine(bool gnome, const QStringList& preloadEngines, const std::optional<KeyboardGroup>& group) {
  if (gnome) return kUsKeyboardEngine;
  QStringList keyboards;  // "xkb:<layout>:<variant>:<language>"
  for (const QString& engine : preloadEngines)
    if (engine.startsWith(kKeyboardEnginePrefix)) keyboards << engine;
  if (group) {
    for (const QString& engine : keyboards)
      if (engine.section(':', 1, 1) == group->layout && engine.section(':', 2, 2) == group->variant) return engine;
  }
  return keyboards.value(0, kUsKeyboardEngine);
}

IBusInputMethod::IBusInputMethod(KeyboardGroupReader currentGroup) : currentGroup_(std::move(currentGroup)) {}

bool IBusInputMethod::serves() {
  bus_ = ConnectToIBus();
  return bus_.has_value();
}

InputMethodState IBusInputMethod::state() {
  active_.clear();
  if (!serves()) return InputMethodState::kOff;
  // With an engine per window, the global engine tells nothing of the focused window's.
  const QDBusMessage global = CallIBus(*bus_, kIBusService, "GetUseGlobalEngine", {});
  if (global.type() == QDBusMessage::ReplyMessage && !global.arguments().value(0).toBool())
    return InputMethodState::kUnswitchable;
  const auto engine = GlobalEngine(*bus_);
  if (!engine) return InputMethodState::kUnswitchable;
  // A keyboard engine passes the keys through as the layout types them.
  if (engine->isEmpty() || engine->startsWith(kKeyboardEnginePrefix)) return InputMethodState::kOff;
  active_ = *engine;
  return InputMethodState::kActive;
}

bool IBusInputMethod::switchToDirectInput() {
  if (!bus_ || active_.isEmpty()) return false;
  const bool gnome = OnGnome();
  const QString engine = DirectEngine(gnome, gnome ? QStringList() : PreloadEngines(),
                                      !gnome && currentGroup_ ? currentGroup_() : std::nullopt);
  if (!KnownEngine(*bus_, engine)) return false;
  switch (SwitchEngine(*bus_, engine)) {
    case Switched::kConfirmed:
      switched_ = Switch{active_, engine};
      return true;
    case Switched::kRefused:
      return false;
    case Switched::kUnconfirmed:
      // It may still happen: the engine that was active is asked for again behind it.
      SwitchEngine(*bus_, active_);
      return false;
  }
  return false;
}

bool IBusInputMethod::switchBack() {
  if (!switched_) return true;
  const Switch done = *std::exchange(switched_, std::nullopt);
  // The user switched engines while we typed: their choice stays.
  if (const auto engine = GlobalEngine(*bus_); engine && *engine != done.to) return true;
  return SwitchEngine(*bus_, done.from) == Switched::kConfirmed;
}

}  // namespace platform::dbus
