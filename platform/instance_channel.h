#pragma once
// The running instance's door for requests of the same user: a file socket in the folder of the
// single-instance lock, which must be the user's own and closed to everyone else (mode 0700). One
// request and one answer per connection, each a short line of ASCII; no secret ever passes.
#include <QObject>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

class QLocalServer;
class QLocalSocket;

namespace platform {

// The socket's path in the folder, or empty when the folder is not exactly 0700 and the user's,
// or the path would not fit a socket address.
std::string InstanceSocketPath(const std::string& folder);

class InstanceChannel : public QObject {
  Q_OBJECT
 public:
  // Answers a request through reply, at once or later (a fill answers once it has ended); a reply
  // after the asker has gone is dropped.
  using Reply = std::function<void(const std::string& answer)>;
  using Handler = std::function<void(const std::string& request, Reply reply)>;

  // Listens at path, replacing a socket that an ended instance left: the caller holds the lock.
  InstanceChannel(const std::string& path, Handler handler, QObject* parent = nullptr);
  ~InstanceChannel() override;

  bool listening() const;

 private:
  void accept();
  void answer(QLocalSocket* connection);

  QLocalServer* server_;
  Handler handler_;
};

// Sends one request to the running instance and gives its answer; nothing when no instance
// accepts within connectTimeout or answers within answerTimeout.
std::optional<std::string> AskRunningInstance(const std::string& path, const std::string& request,
                                              std::chrono::milliseconds connectTimeout,
                                              std::chrono::milliseconds answerTimeout);

}  // namespace platform
