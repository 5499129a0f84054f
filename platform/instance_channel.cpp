#include "platform/instance_channel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <cerrno>
#include <cstring>

namespace platform {

namespace {

constexpr const char* kSocketName = "keyhaven.sock";
constexpr qint64 kLongestLine = 64;
constexpr int kRequestMs = 2000;  // a client that says nothing is not waited for
constexpr const char* kSilenceTimer = "silence";

// The peer is a process of this user: a folder opened to others by mistake lets no one else in.
bool FromThisUser(qintptr descriptor) {
  ucred peer{};
  socklen_t size = sizeof peer;
  return ::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
         peer.uid == ::geteuid();
}

bool WaitForSocket(int fd, short events, std::chrono::milliseconds timeout) {
  pollfd entry{fd, events, 0};
  int ready = 0;
  do {
    ready = ::poll(&entry, 1, static_cast<int>(timeout.count()));
  } while (ready < 0 && errno == EINTR);
  return ready == 1;
}

}  // namespace

std::string InstanceSocketPath(const std::string& folder) {
  struct stat status {};
  if (::lstat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) || status.st_uid != ::geteuid() ||
      (status.st_mode & 07777) != 0700)
    return {};
  std::string path = folder + "/" + kSocketName;
  return path.size() < sizeof(sockaddr_un::sun_path) ? path : std::string();
}

InstanceChannel::InstanceChannel(const std::string& path, Handler handler, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)), handler_(std::move(handler)) {
  if (path.empty()) return;
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(QString::fromStdString(path));
  server_->listen(QString::fromStdString(path));
  connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::accept);
}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::listening() const { return server_->isListening(); }

void InstanceChannel::accept() {
  while (QLocalSocket* connection = server_->nextPendingConnection()) {
    connect(connection, &QLocalSocket::disconnected, connection, &QObject::deleteLater);
    if (!FromThisUser(connection->socketDescriptor())) {
      connection->abort();
      continue;
    }
    connect(connection, &QLocalSocket::readyRead, this, [this, connection] { answer(connection); });
    auto* silence = new QTimer(connection);
    silence->setObjectName(kSilenceTimer);
    silence->setSingleShot(true);
    connect(silence, &QTimer::timeout, connection, &QLocalSocket::abort);
    silence->start(kRequestMs);
    answer(connection);  // the line may be there already
  }
}

void InstanceChannel::answer(QLocalSocket* connection) {
  if (!connection->canReadLine()) {
    if (connection->bytesAvailable() > kLongestLine) connection->abort();
    return;
  }
  const QByteArray line = connection->readLine(kLongestLine + 1).trimmed();
  disconnect(connection, &QLocalSocket::readyRead, this, nullptr);
  // The request is in: a fill that takes longer still answers.
  delete connection->findChild<QTimer*>(kSilenceTimer, Qt::FindDirectChildrenOnly);
  handler_(line.toStdString(), [connection = QPointer<QLocalSocket>(connection)](const std::string& answer) {
    if (!connection) return;
    const std::string reply = answer + "\n";
    connection->write(reply.data(), static_cast<qint64>(reply.size()));
    connection->disconnectFromServer();
  });
}

namespace {

std::optional<std::string> ExchangeLines(int fd, const std::string& path, const std::string& request,
                                         std::chrono::milliseconds connectTimeout,
                                         std::chrono::milliseconds answerTimeout) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    if (errno != EINPROGRESS && errno != EAGAIN) return std::nullopt;
    if (!WaitForSocket(fd, POLLOUT, connectTimeout)) return std::nullopt;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) return std::nullopt;
  }
  const std::string line = request + "\n";
  if (::send(fd, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size())) return std::nullopt;
  std::string answer;
  const auto deadline = std::chrono::steady_clock::now() + answerTimeout;
  char buffer[kLongestLine];
  while (answer.find('\n') == std::string::npos && answer.size() < kLongestLine) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !WaitForSocket(fd, POLLIN, left)) return std::nullopt;
    const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(got));
  }
  const std::size_t end = answer.find('\n');
  if (end == std::string::npos) return std::nullopt;
  return answer.substr(0, end);
}

}  // namespace

std::optional<std::string> AskRunningInstance(const std::string& path, const std::string& request,
                                              std::chrono::milliseconds connectTimeout,
                                              std::chrono::milliseconds answerTimeout) {
  if (path.empty()) return std::nullopt;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> answer = ExchangeLines(fd, path, request, connectTimeout, answerTimeout);
  ::close(fd);
  return answer;
}

}  // namespace platform
