#pragma once
// Records every dialog the program asks for and answers from a script.
#include <QString>
#include <QStringList>
#include <deque>

#include "platform/dialogs.h"

namespace fakes {

struct AskedDialog {
  QString kind;  // "message", "error", "confirm", "input", "password", "question"
  QString caption;
  QString text;
};

class FakeDialogs final : public platform::Dialogs {
 public:
  void message(const QString& text) override { asked.push_back({"message", QString(), text}); }
  void messageWithCaption(const QString& caption, const QString& text) override {
    asked.push_back({"message", caption, text});
  }
  void error(const QString& text) override { asked.push_back({"error", QString(), text}); }
  bool confirm(const QString& caption, const QString& text) override {
    asked.push_back({"confirm", caption, text});
    if (confirmAnswers.empty()) return false;
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }
  QString input(const QString& caption, const QString& prompt, const QString& initial) override {
    asked.push_back({"input", caption, prompt});
    if (inputAnswers.empty()) return initial;  // as Cancel does
    QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
  }

  QString passwordInput(const QString& caption, const QString& prompt) override {
    asked.push_back({"password", caption, prompt});
    if (inputAnswers.empty()) return QString();  // as Cancel does
    QString answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
  }
  // Yes unless a scripted answer says otherwise, as Enter on the default button does.
  bool question(const QString& caption, const QString& text) override {
    asked.push_back({"question", caption, text});
    if (confirmAnswers.empty()) return true;
    bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
  }

  void closeAll() override { ++closeAllCalls; }

  // The texts shown, in order, of one kind.
  QStringList texts(const QString& kind = "message") const {
    QStringList out;
    for (const auto& d : asked)
      if (d.kind == kind) out << d.text;
    return out;
  }

  std::deque<AskedDialog> asked;
  std::deque<bool> confirmAnswers;
  std::deque<QString> inputAnswers;
  int closeAllCalls = 0;
};

}  // namespace fakes
