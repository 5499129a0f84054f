#include "platform/x11/x11_focus.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace platform::x11 {
namespace {

// xcb's replies are malloc'ed.
template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> Owned(Reply* reply) {
  return {reply, &std::free};
}

}  // namespace

std::unique_ptr<X11Focus> X11Focus::open() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return nullptr;
  }
  return std::unique_ptr<X11Focus>(new X11Focus(connection));
}

X11Focus::~X11Focus() { xcb_disconnect(connection_); }

// The focused window's top level counts when it is mapped and managed (not override-redirect).
bool X11Focus::clientWindowFocused() {
  const auto focus = Owned(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT) return false;
  xcb_window_t window = focus->focus;
  for (;;) {
    const auto tree = Owned(xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
    if (!tree || tree->root == window) return false;  // gone meanwhile, or the root itself
    if (tree->parent == tree->root) break;
    window = tree->parent;
  }
  const auto attributes =
      Owned(xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), nullptr));
  return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE && !attributes->override_redirect;
}

}  // namespace platform::x11
