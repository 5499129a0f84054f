#pragma once
// Records every dialog the program asks for and answers from a script.
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "platform/dialogs.h"

namespace fakes {

struct AskedDialog {
  QString kind;  // "message", "error", "confirm", "input", "password", "question", "open", "save", "progress"
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

  QString openFileName(const QString& caption, const QString& filter) override {
    asked.push_back({"open", caption, filter});
    return nextFileName();
  }
  QString saveFileName(const QString& caption, const QString& suggestedName, const QString&) override {
    asked.push_back({"save", caption, suggestedName});
    return nextFileName();
  }

  std::unique_ptr<platform::Progress> progress(const QString& caption, const QString& text) override {
    asked.push_back({"progress", caption, text});
    return std::make_unique<Progress>(*this);
  }

  // Recorded apart from `asked`: every login with the initial password brings it. "以后再说" unless scripted.
  std::optional<platform::NewMasterPassword> newMasterPassword(bool protectFile) override {
    newPasswordOffers.push_back(protectFile);
    if (newPasswordAnswers.empty()) return std::nullopt;
    auto answer = newPasswordAnswers.front();
    newPasswordAnswers.pop_front();
    return answer;
  }

  // 关闭 unless a test scripts the index to restore.
  std::optional<int> chooseVersion(const std::vector<platform::RecordVersion>& versions) override {
    shownVersions = versions;
    asked.push_back({"history", "历史版本", QString()});
    if (versionAnswers.empty()) return std::nullopt;
    const int answer = versionAnswers.front();
    versionAnswers.pop_front();
    return answer;
  }

  // 关闭 unless a test scripts the choice.
  std::optional<platform::DeletedChoice> chooseDeleted(const QStringList& lines) override {
    shownDeleted = lines;
    if (deletedAnswers.empty()) return std::nullopt;
    const platform::DeletedChoice answer = deletedAnswers.front();
    deletedAnswers.pop_front();
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
  std::deque<QString> fileAnswers;      // none left: Cancel
  std::vector<bool> newPasswordOffers;  // the box as each offer showed it
  std::deque<platform::NewMasterPassword> newPasswordAnswers;
  std::vector<platform::RecordVersion> shownVersions;  // what the last "历史版本" listed
  std::deque<int> versionAnswers;
  QStringList shownDeleted;  // what the last "最近删除" listed
  std::deque<platform::DeletedChoice> deletedAnswers;
  // Runs at each step of a progress window, as the user's actions between two steps; false
  // presses its cancel button.
  std::function<bool(int done, int total)> onProgress;
  std::vector<int> progressSteps;  // the `done` of every step, in order
  int closeAllCalls = 0;

 private:
  class Progress final : public platform::Progress {
   public:
    explicit Progress(FakeDialogs& dialogs) : dialogs_(dialogs), closeAllCallsAtStart_(dialogs.closeAllCalls) {}
    bool advance(int done, int total) override {
      dialogs_.progressSteps.push_back(done);
      const bool goOn = !dialogs_.onProgress || dialogs_.onProgress(done, total);
      return goOn && dialogs_.closeAllCalls == closeAllCallsAtStart_;
    }

   private:
    FakeDialogs& dialogs_;
    const int closeAllCallsAtStart_;
  };

  QString nextFileName() {
    if (fileAnswers.empty()) return QString();
    QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

}  // namespace fakes
