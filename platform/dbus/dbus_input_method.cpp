#include "platform/dbus/dbus_input_method.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <optional>
#include <utility>

#include "platform/dbus/ibus_input_method.h"

namespace platform::dbus {
namespace {

// A framework slower than this is treated as one that does not answer: the user waits on it.
constexpr int kCallTimeoutMs = 300;
// Both fcitx versions answer 0 without a focused input context, 1 when off, 2 when on.
constexpr int kActiveState = 2;

// One framework's controller: where it answers and the names of its three calls.
struct Controller {
  QDBusConnection bus;
  QString service;
  QString path;
  QString interface;
  QString stateMethod;
  QString directMethod;
  QString backMethod;
};

// libdbus launches a bus of its own when the session names none; then nothing is asked.
std::optional<QDBusConnection> SessionBus() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
      (runtime.isEmpty() || !QFileInfo::exists(runtime + "/bus")))
    return std::nullopt;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return std::nullopt;
  return bus;
}

std::optional<QDBusMessage> Call(const Controller& controller, const QString& method) {
  QDBusMessage message =
      QDBusMessage::createMethodCall(controller.service, controller.path, controller.interface, method);
  message.setAutoStartService(false);  // a framework that is not running stays so
  QDBusMessage reply = controller.bus.call(message, QDBus::Block, kCallTimeoutMs);
  if (reply.type() != QDBusMessage::ReplyMessage) return std::nullopt;
  return reply;
}

bool Owned(const QDBusConnection& bus, const QString& service) {
  QDBusMessage message = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                        "org.freedesktop.DBus", "NameHasOwner");
  message << service;
  const QDBusMessage reply = bus.call(message, QDBus::Block, kCallTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
}

Controller Fcitx5(const QDBusConnection& bus) {
  return {bus, "org.fcitx.Fcitx5", "/controller", "org.fcitx.Fcitx.Controller1", "State", "Deactivate", "Activate"};
}

// The number of the X display, as fcitx 4 puts it into its names: ":1.0" gives "1".
QString DisplayNumber() {
  const QString display = qEnvironmentVariable("DISPLAY");
  return display.mid(display.lastIndexOf(':') + 1).section('.', 0, 0);
}

Controller Fcitx4(const QDBusConnection& bus) {
  return {bus,
          "org.fcitx.Fcitx-" + DisplayNumber(),
          "/inputmethod",
          "org.fcitx.Fcitx.InputMethod",
          "GetCurrentState",
          "InactivateIM",
          "ActivateIM"};
}

// fcitx 4 without a session bus runs its own and writes the address, ended by a NUL, to a file.
std::optional<QDBusConnection> Fcitx4OwnBus() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + "/.config";
  QFile file(config + "/fcitx/dbus/" + QString::fromLatin1(QDBusConnection::localMachineId()) + "-" + DisplayNumber());
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QString address = QString::fromUtf8(file.read(4096).split('\0').first()).trimmed();
  if (address.isEmpty()) return std::nullopt;
  const QString name = "keyhaven fcitx4 " + address;
  QDBusConnection bus = QDBusConnection::connectToBus(address, name);
  if (bus.isConnected()) return bus;
  QDBusConnection::disconnectFromBus(name);
  return std::nullopt;
}

std::optional<Controller> RunningFramework() {
  if (const auto session = SessionBus()) {
    for (const Controller& controller : {Fcitx5(*session), Fcitx4(*session)})
      if (Owned(*session, controller.service)) return controller;
  }
  if (const auto own = Fcitx4OwnBus()) {
    if (Controller controller = Fcitx4(*own); Owned(*own, controller.service)) return controller;
  }
  return std::nullopt;
}

// XMODIFIERS="@im=<server>" names the input-method server of X clients ("none": there is none).
bool InputMethodServerNamed() {
  const QString modifiers = qEnvironmentVariable("XMODIFIERS");
  const qsizetype at = modifiers.indexOf("@im=");
  if (at < 0) return false;
  const QString server = modifiers.mid(at + 4).section('@', 0, 0).trimmed();
  return !server.isEmpty() && server.compare("none", Qt::CaseInsensitive) != 0;
}

std::optional<bool> Active(const Controller& controller) {
  const auto reply = Call(controller, controller.stateMethod);
  if (!reply) return std::nullopt;
  return reply->arguments().value(0).toInt() == kActiveState;
}

class DBusInputMethod final : public InputMethod {
 public:
  explicit DBusInputMethod(KeyboardGroupReader currentGroup) : ibus_(std::move(currentGroup)) {}

  InputMethodState state() override;
  bool switchToDirectInput() override;
  bool switchBack() override;

 private:
  std::optional<Controller> asked_;     // the framework that answered the last state()
  std::optional<Controller> switched_;  // the one switched to direct input, until switched back
  IBusInputMethod ibus_;                // asked when no fcitx answers
  bool ibusAsked_ = false;
};

InputMethodState DBusInputMethod::state() {
  asked_ = RunningFramework();
  ibusAsked_ = !asked_ && ibus_.serves();
  if (ibusAsked_) return ibus_.state();
  if (!asked_) return InputMethodServerNamed() ? InputMethodState::kUnswitchable : InputMethodState::kOff;
  const auto active = Active(*asked_);
  if (!active) return InputMethodState::kUnswitchable;
  return *active ? InputMethodState::kActive : InputMethodState::kOff;
}

bool DBusInputMethod::switchToDirectInput() {
  if (ibusAsked_) return ibus_.switchToDirectInput();
  if (!asked_ || !Call(*asked_, asked_->directMethod)) return false;
  const auto active = Active(*asked_);
  if (active == false) {
    switched_ = asked_;
    return true;
  }
  // Took the call and stayed on: nothing to undo. No answer: undo what may have happened.
  if (!active) Call(*asked_, asked_->backMethod);
  return false;
}

bool DBusInputMethod::switchBack() {
  if (!ibus_.switchBack()) return false;
  if (!switched_) return true;
  const bool back = Call(*switched_, switched_->backMethod) && Active(*switched_).value_or(false);
  switched_.reset();
  return back;
}

}  // namespace

std::unique_ptr<InputMethod> OpenInputMethod(KeyboardGroupReader currentGroup) {
  return std::make_unique<DBusInputMethod>(std::move(currentGroup));
}

}  // namespace platform::dbus
