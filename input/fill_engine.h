#pragma once
// One auto-fill, from the hot key to the last key: the desktop's consent, the choice between
// typing and pasting, the input method's direct input around the typing, and the wait for the
// user's keys. It runs on the program's event loop, never blocking it, one fill at a time.
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

#include "input/fill_outcome.h"
#include "input/input_method_worker.h"
#include "input/key_release_wait.h"
#include "input/value_typist.h"
#include "platform/key_sink.h"

namespace platform {
class Beeper;
class Dialogs;
}  // namespace platform

namespace input {

class HotKeyArming;

struct FillOrder {
  QString value;
  bool pasteStyle = false;  // the user chose pasting over keystrokes
  // Puts the value on the clipboard, marked secret and emptied after its time.
  std::function<void()> copyValue;
  // Told once how the fill ended; also when it was dropped, or cut short by a lock.
  std::function<void(FillOutcome)> ended;
};

class FillEngine : public QObject {
  Q_OBJECT
 public:
  FillEngine(platform::KeySink& sink, platform::InputMethod& inputMethod, platform::Dialogs& dialogs,
             platform::Beeper& beeper, HotKeyArming& arming, QObject* parent = nullptr);
  ~FillEngine() override;
  FillEngine(const FillEngine&) = delete;
  FillEngine& operator=(const FillEngine&) = delete;

  // A fill asked for while one is underway follows it, as each press gives one fill; one waits at
  // most, and a press meanwhile is dropped (kBusy).
  void start(FillOrder order);
  // A lock: nothing more is sent, nothing stays pressed, the input method is switched back, and a
  // waiting fill is dropped.
  void cancel();
  // Also while the input method is being switched back after a fill.
  bool busy() const { return busy_ || next_.has_value() || !inputMethods_.idle(); }

 signals:
  void status(const QString& text);

 private:
  void sinkAnswered(platform::FillReadiness readiness);
  void chooseTyping();
  void chooseTypingWith(platform::InputMethodState inputMethod);
  void pasteInstead(bool exact);
  void type();
  void typingEnded();
  void switchBack();
  void keysStillHeld();
  // Ends the fill, telling why nothing was entered.
  void fail(FillOutcome outcome);
  void paste();
  void pressPaste();
  void releasePaste();
  void letGoOfPasteKeys();
  // After the given time, once, unless the fill ends first.
  void after(std::chrono::milliseconds wait, void (FillEngine::*step)());
  void end();
  void startNext();

  platform::KeySink& sink_;
  platform::Dialogs& dialogs_;
  platform::Beeper& beeper_;
  HotKeyArming& arming_;
  InputMethodWorker inputMethods_;
  KeyReleaseWait release_;
  ValueTypist typist_;
  QTimer step_;
  FillOrder order_;
  std::optional<FillOrder> next_;
  platform::FillReadiness readiness_ = platform::FillReadiness::kReady;
  FillOutcome outcome_ = FillOutcome::kStopped;
  bool busy_ = false;
  bool sinkStarted_ = false;
  bool directInput_ = false;  // the input method was switched for this fill
  bool pasteKeysDown_ = false;
  unsigned fill_ = 0;  // counts the fills, so that a late answer for one that ended is dropped
};

}  // namespace input
