#pragma once
// Types a stored value into the focused window as it is, one character at a time and without
// blocking the program: before each character it waits for the user's keys to be up and for the
// sink to have the character's key ready, and after it for the pause the receiver needs.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

#include "input/key_release_wait.h"

namespace platform {
class KeySink;
}

namespace input {

class ValueTypist : public QObject {
  Q_OBJECT
 public:
  explicit ValueTypist(platform::KeySink& sink, QObject* parent = nullptr);

  // done(true) once every character went out; done(false) when the user kept a key down too long,
  // and the rest was dropped. Every character must have a key (checked before).
  void type(const QString& value, std::function<void(bool whole)> done);
  // Stops between two characters; done is not called.
  void cancel();

 private:
  void nextCharacter();
  void prepareKey();
  void strikeKey();
  void finish(bool whole);

  platform::KeySink& sink_;
  KeyReleaseWait release_;
  QTimer step_;
  std::u32string characters_;
  std::size_t position_ = 0;
  std::uint16_t key_ = 0;
  std::function<void(bool)> done_;
};

}  // namespace input
