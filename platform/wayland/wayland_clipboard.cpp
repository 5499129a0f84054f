#include "platform/wayland/wayland_clipboard.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#include <wayland-client.h>

#include "platform/wayland/wayland_globals.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace platform::wayland {
namespace {

// The names under which Wayland and X11 programs ask for text.
constexpr const char* kTextTypes[] = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT", "STRING"};
constexpr const char* kPasswordManagerHint = "x-kde-passwordManagerHint";

// Writes what the reader's pipe takes at once: the windows must not hang on a reader that does not
// read, and a value fits a pipe. A reader gone away must not end the program with SIGPIPE: the
// signal is held back during the write and dropped.
void WriteWithoutWaiting(int fd, const QByteArray& bytes) {
  sigset_t brokenPipe, before;
  sigemptyset(&brokenPipe);
  sigaddset(&brokenPipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &brokenPipe, &before);
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
  const char* next = bytes.constData();
  auto left = static_cast<std::size_t>(bytes.size());
  while (left > 0) {
    const ssize_t written = write(fd, next, left);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    next += written;
    left -= static_cast<std::size_t>(written);
  }
  if (!sigismember(&before, SIGPIPE)) {
    const timespec now{};
    while (sigtimedwait(&brokenPipe, nullptr, &now) == SIGPIPE) {
    }
  }
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

}  // namespace

struct WaylandClipboard::Events {
  static void send(void* data, zwlr_data_control_source_v1*, const char* mimeType, std::int32_t fd) {
    const auto* clipboard = static_cast<const WaylandClipboard*>(data);
    if (std::strcmp(mimeType, kPasswordManagerHint) != 0)
      WriteWithoutWaiting(fd, clipboard->text_);
    else if (clipboard->secret_)
      WriteWithoutWaiting(fd, QByteArrayLiteral("secret"));
    close(fd);
  }

  // Another copy took the selection.
  static void cancelled(void* data, zwlr_data_control_source_v1* source) {
    auto* clipboard = static_cast<WaylandClipboard*>(data);
    if (source == clipboard->source_) clipboard->forgetSource();
  }

  static void dataOffer(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {}

  // Nothing is read from the selections of others.
  static void selection(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
    if (offer) zwlr_data_control_offer_v1_destroy(offer);
  }

  // The seat went away.
  static void finished(void* data, zwlr_data_control_device_v1*) { static_cast<WaylandClipboard*>(data)->endDevice(); }

  static const zwlr_data_control_source_v1_listener kSource;
  static const zwlr_data_control_device_v1_listener kDevice;
};

const zwlr_data_control_source_v1_listener WaylandClipboard::Events::kSource{send, cancelled};
const zwlr_data_control_device_v1_listener WaylandClipboard::Events::kDevice{dataOffer, selection, finished, selection};

std::unique_ptr<WaylandClipboard> WaylandClipboard::open() {
  const std::optional<CompositorConnection> compositor =
      ConnectWithSeatAndManager(zwlr_data_control_manager_v1_interface);
  if (!compositor) return nullptr;
  return std::unique_ptr<WaylandClipboard>(new WaylandClipboard(
      compositor->display, compositor->seat, static_cast<zwlr_data_control_manager_v1*>(compositor->manager)));
}

WaylandClipboard::WaylandClipboard(wl_display* display, wl_seat* seat, zwlr_data_control_manager_v1* manager)
    : display_(display),
      seat_(seat),
      manager_(manager),
      device_(zwlr_data_control_manager_v1_get_data_device(manager, seat)),
      readable_(std::make_unique<QSocketNotifier>(wl_display_get_fd(display), QSocketNotifier::Read)),
      writable_(std::make_unique<QSocketNotifier>(wl_display_get_fd(display), QSocketNotifier::Write)) {
  zwlr_data_control_device_v1_add_listener(device_, &Events::kDevice, this);
  QObject::connect(readable_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
  writable_->setEnabled(false);
  QObject::connect(writable_.get(), &QSocketNotifier::activated, [this] { flush(); });
  flush();
}

WaylandClipboard::~WaylandClipboard() {
  readable_.reset();
  writable_.reset();
  endDevice();
  zwlr_data_control_manager_v1_destroy(manager_);
  wl_seat_destroy(seat_);
  wl_display_flush(display_);
  wl_display_disconnect(display_);
}

void WaylandClipboard::place(const QString& text, bool secret) {
  if (!device_) return;
  zwlr_data_control_source_v1* source = zwlr_data_control_manager_v1_create_data_source(manager_);
  zwlr_data_control_source_v1_add_listener(source, &Events::kSource, this);
  for (const char* type : kTextTypes) zwlr_data_control_source_v1_offer(source, type);
  if (secret) zwlr_data_control_source_v1_offer(source, kPasswordManagerHint);
  zwlr_data_control_device_v1_set_selection(device_, source);
  forgetSource();  // the one it replaces, after the new one is set: the clipboard is never empty between
  source_ = source;
  text_ = text.toUtf8();
  secret_ = secret;
  flush();
}

void WaylandClipboard::clearOwn() {
  readEvents();  // a copy made elsewhere may have taken the selection meanwhile
  if (!source_ || !device_) return;
  zwlr_data_control_device_v1_set_selection(device_, nullptr);
  forgetSource();
  flush();
}

void WaylandClipboard::readEvents() {
  if (!device_) return;
  if (!ReadEventsWithoutWaiting(display_)) {
    readable_->setEnabled(false);
    endDevice();
    return;
  }
  flush();
}

void WaylandClipboard::flush() {
  if (!writable_) return;
  // Requests the socket has no room for now go when it has.
  writable_->setEnabled(wl_display_flush(display_) < 0 && errno == EAGAIN);
}

void WaylandClipboard::forgetSource() {
  if (source_) zwlr_data_control_source_v1_destroy(source_);
  source_ = nullptr;
  text_.fill('\0');  // the value does not linger in freed memory
  text_.clear();
  secret_ = false;
}

void WaylandClipboard::endDevice() {
  forgetSource();
  if (device_) zwlr_data_control_device_v1_destroy(device_);
  device_ = nullptr;
}

}  // namespace platform::wayland
