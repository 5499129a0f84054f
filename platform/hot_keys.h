#pragma once
// System-wide hot keys, identified by small numbers.
#include <QObject>
#include <cstdint>

namespace platform {

inline constexpr unsigned kModAlt = 1;
inline constexpr unsigned kModControl = 2;
inline constexpr unsigned kModShift = 4;
inline constexpr unsigned kModWin = 8;  // Super, "Meta" in Qt's key texts
inline constexpr std::uint8_t kVkLeft = 37;
inline constexpr std::uint8_t kVkRight = 39;

class HotKeys : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  ~HotKeys() override = default;

  // false when the combination cannot be had (for example another program holds it).
  virtual bool registerHotKey(int id, unsigned modifiers, std::uint8_t virtualKey) = 0;
  virtual void unregisterHotKey(int id) = 0;

 signals:
  void pressed(int id);
};

}  // namespace platform
