// screen_saver_owner <session|system> <service> <path> <interface> <member> <true|false>...
// Owns the service name on the bus, as a screen locker or logind would, and sends the signal
// once per value, in order.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 7) {
    std::fputs("usage: screen_saver_owner <session|system> <service> <path> <interface> <member> <bool>...\n", stderr);
    return 2;
  }
  QDBusConnection bus = args[1] == "system" ? QDBusConnection::systemBus() : QDBusConnection::sessionBus();
  if (!bus.registerService(args[2])) {
    std::fprintf(stderr, "cannot own %s\n", qPrintable(args[2]));
    return 1;
  }
  for (qsizetype i = 6; i < args.size(); ++i) {
    QDBusMessage signal = QDBusMessage::createSignal(args[3], args[4], args[5]);
    signal << (args[i] == "true");
    if (!bus.send(signal)) return 1;
  }
  bus.unregisterService(args[2]);
  return 0;
}
