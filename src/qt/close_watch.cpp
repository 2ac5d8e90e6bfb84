#include "qt/close_watch.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace mirado::qt {

namespace {

std::uint32_t atom(xcb_connection_t* c, const char* name) {
  const xcb_intern_atom_cookie_t cookie =
      xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name);
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
  if (!reply) return 0;
  const std::uint32_t a = reply->atom;
  std::free(reply);
  return a;
}

}  // namespace

CloseRequestWatch::CloseRequestWatch(QWidget* window, std::function<void()> on_blocked_close)
    : window_(window), on_blocked_close_(std::move(on_blocked_close)) {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection()) return;  // another window system: nothing to watch
  wm_protocols_ = atom(x11->connection(), "WM_PROTOCOLS");
  wm_delete_window_ = atom(x11->connection(), "WM_DELETE_WINDOW");
  QCoreApplication::instance()->installNativeEventFilter(this);
}

CloseRequestWatch::~CloseRequestWatch() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CloseRequestWatch::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
  if (type != "xcb_generic_event_t" || !window_ || !wm_delete_window_) return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) return false;
  const auto* cm = static_cast<const xcb_client_message_event_t*>(message);
  if (cm->format != 32 || cm->type != wm_protocols_ || cm->data.data32[0] != wm_delete_window_) return false;
  if (cm->window != window_->internalWinId()) return false;
  // Only while a modal window blocks ours; otherwise Qt delivers the close itself.
  const QWindow* modal = QGuiApplication::modalWindow();
  if (modal && modal != window_->windowHandle()) on_blocked_close_();
  return false;
}

}  // namespace mirado::qt
