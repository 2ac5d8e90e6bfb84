// The window's switches (kirikae) as last sent to it: the menu items' ticks, the controls
// shown (the players' icons, the record panel), the clock's timer and whether the menus
// answer. Each is sent through the window's port as it is set, and read back here.
#pragma once

#include <array>

#include "app/ports.h"

namespace mirado {

class Kirikae {
 public:
  explicit Kirikae(const Ports& ports) : ports_(ports) {}
  Kirikae(const Kirikae&) = delete;
  Kirikae& operator=(const Kirikae&) = delete;

  bool is_checked(Menu m) const { return checked_[static_cast<int>(m)]; }
  bool is_visible(Control c) const { return visible_[static_cast<int>(c)]; }
  bool timer1() const { return timer1_; }  // the clock's tick runs

  void set_checked(Menu m, bool on) {
    checked_[static_cast<int>(m)] = on;
    ports_.ui->set_checked(m, on);
  }
  void set_visible(Control c, bool on) {
    visible_[static_cast<int>(c)] = on;
    ports_.ui->set_visible(c, on);
  }
  void set_timer(bool on) {
    timer1_ = on;
    ports_.ui->set_timer(on);
  }
  // The menus that could not act are off while the game plays on by itself (a start's
  // pause, the computer's turn): sent only when it changes.
  bool menus_enabled() const { return menus_; }
  void set_menus_enabled(bool on) {
    if (on == menus_) return;
    menus_ = on;
    ports_.ui->set_menus_enabled(on);
  }

 private:
  const Ports& ports_;
  std::array<bool, static_cast<int>(Menu::COUNT)> checked_{};
  std::array<bool, static_cast<int>(Control::COUNT)> visible_{};
  bool timer1_ = false;
  bool menus_ = true;
};

}  // namespace mirado
