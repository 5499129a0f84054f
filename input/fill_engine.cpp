#include "input/fill_engine.h"

#include <QPointer>
#include <algorithm>
#include <utility>

#include "input/hot_key_arming.h"
#include "input/send_keys.h"
#include "platform/beeper.h"
#include "platform/input_method.h"

namespace input {
namespace {

constexpr std::chrono::milliseconds kPasteDelay{800};
constexpr std::chrono::milliseconds kKeyDelay{300};
// The focused window may still be handling the last keys when typing ends; switched back before
// they arrive, the input method would compose them. A window passes each key through the input
// method's framework in turn, so a long value takes longer to arrive.
constexpr std::chrono::milliseconds kSettlePerCharacter{4};

const QString kPastedInstead = QStringLiteral("输入法处于中文状态, 已改用粘贴方式输入.");
const QString kNotSwitchedBack = QStringLiteral("输入法未能恢复中文状态, 请手动切换.");
const QString kNotAscii = QStringLiteral("内容含中文等非ASCII字符, 已改用粘贴方式输入.");

bool IsReady(platform::FillReadiness readiness) {
  return readiness != platform::FillReadiness::kRefused && readiness != platform::FillReadiness::kUnavailable;
}

}  // namespace

FillEngine::FillEngine(platform::KeySink& sink, platform::InputMethod& inputMethod, platform::Dialogs& dialogs,
                       platform::Beeper& beeper, HotKeyArming& arming, QObject* parent)
    : QObject(parent),
      sink_(sink),
      dialogs_(dialogs),
      beeper_(beeper),
      arming_(arming),
      inputMethods_(inputMethod, this),
      release_(sink, this),
      typist_(sink, this) {
  step_.setSingleShot(true);
}

FillEngine::~FillEngine() { cancel(); }

void FillEngine::start(FillOrder order) {
  if (busy_) {
    if (!next_)
      next_ = std::move(order);
    else if (order.ended)
      order.ended(FillOutcome::kBusy);
    return;
  }
  busy_ = true;
  order_ = std::move(order);
  outcome_ = FillOutcome::kStopped;
  sinkStarted_ = directInput_ = pasteKeysDown_ = false;
  arming_.fillStarted();
  // The desktop may answer after this engine is gone, or for a fill a lock has ended.
  const unsigned fill = ++fill_;
  sink_.startFill([self = QPointer<FillEngine>(this), fill](platform::FillReadiness readiness) {
    if (self && self->busy_ && self->fill_ == fill) self->sinkAnswered(readiness);
  });
}

void FillEngine::cancel() {
  next_.reset();
  ++fill_;
  end();
}

void FillEngine::sinkAnswered(platform::FillReadiness readiness) {
  readiness_ = readiness;
  if (!IsReady(readiness)) {
    fail(readiness == platform::FillReadiness::kRefused ? FillOutcome::kDesktopRefused
                                                        : FillOutcome::kNoDesktopInterface);
    return;
  }
  sinkStarted_ = true;
  if (order_.pasteStyle && readiness_ != platform::FillReadiness::kTypingOnly)
    paste();
  else
    after(kKeyDelay, &FillEngine::chooseTyping);
}

void FillEngine::chooseTyping() {
  inputMethods_.state([this, fill = fill_](platform::InputMethodState inputMethod) {
    if (fill == fill_) chooseTypingWith(inputMethod);
  });
}

void FillEngine::chooseTypingWith(platform::InputMethodState inputMethod) {
  const QString& value = order_.value;
  // A character the focused window's layout lacks would be dropped without a word: pasted, the
  // value arrives exactly.
  const bool exact =
      readiness_ != platform::FillReadiness::kPrintableAsciiOnly ||
      std::all_of(value.begin(), value.end(), [](QChar c) { return platform::IsPrintableAscii(c.unicode()); });
  if (!exact || inputMethod == platform::InputMethodState::kUnswitchable) return pasteInstead(exact);
  // Half a password typed would go on into whatever gets the focus behind a message box; and
  // the input method is switched back in the window that has the focus then, so nothing is
  // switched before the value is known to be typable.
  if (!CanTypeLiterally(sink_, dialogs_, value)) {
    outcome_ = FillOutcome::kUntypable;  // the refusal was shown
    return end();
  }
  if (inputMethod != platform::InputMethodState::kActive) return type();
  inputMethods_.switchToDirectInput([this, fill = fill_](bool switched) {
    if (fill != fill_) {
      // The fill ended meanwhile: the input method goes back as the user had it.
      if (switched) inputMethods_.switchBack([](bool) {});
      return;
    }
    directInput_ = switched;
    if (switched)
      type();
    else
      pasteInstead(true);
  });
}

// Typed through an input method we cannot switch, the value would arrive as Chinese text.
void FillEngine::pasteInstead(bool exact) {
  if (readiness_ == platform::FillReadiness::kTypingOnly) {
    fail(FillOutcome::kInputMethodComposes);
    return;
  }
  emit status(exact ? kPastedInstead : kNotAscii);
  paste();
}

// The user's own keys of the hot key would combine with what we send (Ctrl+Q instead of q), so
// nothing is sent until they are up; a user who keeps holding them gets nothing typed.
void FillEngine::keysStillHeld() {
  beeper_.beep();
  outcome_ = FillOutcome::kKeysHeld;
  emit status(FillOutcomeText(outcome_));
}

void FillEngine::fail(FillOutcome outcome) {
  outcome_ = outcome;
  emit status(FillOutcomeText(outcome));
  end();
}

void FillEngine::type() {
  release_.wait([this](bool allUp) {
    if (!allUp) {
      keysStillHeld();
      typingEnded();
      return;
    }
    typist_.type(order_.value, [this](bool whole) {
      // A key held half-way dropped the rest.
      outcome_ = whole ? FillOutcome::kEntered : FillOutcome::kKeysHeld;
      typingEnded();
    });
  });
}

void FillEngine::typingEnded() {
  if (!directInput_) {
    end();
    return;
  }
  after(kKeyDelay + kSettlePerCharacter * order_.value.size(), &FillEngine::switchBack);
}

void FillEngine::switchBack() {
  directInput_ = false;
  inputMethods_.switchBack([this, fill = fill_](bool switched) {
    if (!switched) emit status(kNotSwitchedBack);
    if (fill == fill_) end();
  });
}

void FillEngine::paste() {
  order_.copyValue();
  after(kPasteDelay, &FillEngine::pressPaste);
}

void FillEngine::pressPaste() {
  release_.wait([this](bool allUp) {
    if (!allUp) {
      keysStillHeld();
      end();
      return;
    }
    sink_.keyDown(platform::kVkControl, false);
    sink_.keyDown(platform::kVkV, false);
    pasteKeysDown_ = true;
    after(kKeyDelay, &FillEngine::releasePaste);
  });
}

void FillEngine::releasePaste() {
  letGoOfPasteKeys();
  outcome_ = FillOutcome::kEntered;
  end();
}

void FillEngine::letGoOfPasteKeys() {
  sink_.keyUp(platform::kVkV, false);
  sink_.keyUp(platform::kVkControl, false);
  pasteKeysDown_ = false;
}

void FillEngine::after(std::chrono::milliseconds wait, void (FillEngine::*step)()) {
  step_.disconnect();
  connect(&step_, &QTimer::timeout, this, step);
  step_.start(wait);
}

// Whenever a fill ends, also cut short by a lock: nothing stays pressed and the input method is
// as the user had it.
void FillEngine::end() {
  if (!busy_) return;
  step_.stop();
  release_.cancel();
  typist_.cancel();
  if (pasteKeysDown_) letGoOfPasteKeys();
  if (directInput_) switchBack();  // cut short: the answer comes after the end
  if (sinkStarted_) sink_.fillEnded();
  sinkStarted_ = false;
  order_.value.clear();
  busy_ = false;
  arming_.fillEnded();
  if (auto ended = std::exchange(order_.ended, nullptr)) ended(outcome_);
  if (next_) QTimer::singleShot(0, this, &FillEngine::startNext);
}

void FillEngine::startNext() {
  if (!next_ || busy_) return;
  FillOrder order = std::move(*next_);
  next_.reset();
  start(std::move(order));
}

}  // namespace input
