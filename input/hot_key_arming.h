#pragma once
// How long the fill hot keys stay armed after a record is picked. They are grabbed only while
// armed, so the same keys (Ctrl+Left jumps a word in every editor) reach other programs as
// ordinary keys the rest of the time.
#include <QObject>
#include <QTimer>
#include <chrono>

namespace input {

class HotKeyArming : public QObject {
  Q_OBJECT
 public:
  explicit HotKeyArming(QObject* parent = nullptr);

  // Zero: armed from the next arm() until disarm(). Applies at once to an armed state.
  void setArmedTime(std::chrono::milliseconds time);
  // Arms, or starts the time again.
  void arm();
  void disarm();
  bool armed() const { return armed_; }

  // A time that runs out during a fill ends with the fill: a half-typed value is worse than none.
  void fillStarted() { filling_ = true; }
  void fillEnded();

 signals:
  // The time ran out: the hot keys are to be let go. The state is disarmed by then.
  void ranOut();

 private:
  void timeUp();
  void restartTime();

  QTimer timer_;
  std::chrono::milliseconds armedTime_{0};
  bool armed_ = false;
  bool filling_ = false;
  bool ranOutDuringFill_ = false;
};

}  // namespace input
