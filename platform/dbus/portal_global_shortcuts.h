#pragma once
// Global shortcuts through the desktop's GlobalShortcuts portal (KDE Plasma, GNOME from 48): a
// session whose keys the desktop binds, asking the user in its own dialog. Every call answers
// later through the event loop: nothing here waits for the portal.
#include <QString>
#include <functional>
#include <vector>

#include "platform/global_shortcuts.h"

class QDBusMessage;

namespace platform::dbus {

class PortalGlobalShortcuts final : public GlobalShortcuts {
  Q_OBJECT
 public:
  PortalGlobalShortcuts() = default;
  ~PortalGlobalShortcuts() override;
  PortalGlobalShortcuts(const PortalGlobalShortcuts&) = delete;
  PortalGlobalShortcuts& operator=(const PortalGlobalShortcuts&) = delete;

  void bind(const std::vector<GlobalShortcut>& shortcuts) override;
  void unbind() override;

 private slots:
  void onResponse(const QDBusMessage& message);
  void onActivated(const QDBusMessage& message);
  void onDeactivated(const QDBusMessage& message);
  void onSessionClosed(const QDBusMessage& message);

 private:
  enum class Step { kUnbound, kAsking, kCreating, kBinding, kBound };

  // A call that answers through a Request object: its Response comes to onResponse.
  void request(const QString& method, QVariantList arguments);
  void sessionCreated(unsigned code, const QVariantMap& results);
  void listenToRequest(bool listen);
  void listenToSession(bool listen);
  // Whose shortcut the signal names, or empty when it is another session's.
  QString shortcutOf(const QDBusMessage& message) const;

  Step step_ = Step::kUnbound;
  std::vector<GlobalShortcut> shortcuts_;
  QString session_;
  QString awaitedRequest_;
  unsigned requests_ = 0;
  // Counts binds and unbinds: an answer to an earlier one is let fall.
  unsigned generation_ = 0;
};

// Asks, without waiting, whether the desktop offers global shortcuts; answer runs once, unless
// context is destroyed first.
void AskForGlobalShortcuts(QObject* context, std::function<void(bool offered)> answer);

}  // namespace platform::dbus
