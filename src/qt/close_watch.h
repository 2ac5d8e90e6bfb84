// A close request from the window manager must never be lost. While a modal box is
// up Qt drops the request for the window the box blocks; this watch sees it arrive
// (on X11) so the window can act on it once the box has been answered.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace mirado::qt {

class CloseRequestWatch : public QAbstractNativeEventFilter {
 public:
  CloseRequestWatch(QWidget* window, std::function<void()> on_blocked_close);
  ~CloseRequestWatch() override;
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

 private:
  QPointer<QWidget> window_;
  std::function<void()> on_blocked_close_;
  std::uint32_t wm_protocols_ = 0;
  std::uint32_t wm_delete_window_ = 0;
};

}  // namespace mirado::qt
