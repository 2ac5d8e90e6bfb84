// Construction of the game object and the thin wrappers over the window ports.
#include "app/game.h"

namespace mirado {

Game::Game(const Ports& ports) : ports_(ports) {
}

void Game::set_checked(Menu m, bool on) {
  checked[static_cast<int>(m)] = on;
  ports_.ui->set_checked(m, on);
}

void Game::set_visible(Control c, bool on) {
  visible[static_cast<int>(c)] = on;
  ports_.ui->set_visible(c, on);
}

void Game::set_timer(bool on) {
  timer1 = on;
  ports_.ui->set_timer(on);
}

Answer Game::msg(std::string_view text, std::string_view title, Buttons b, Icon icon) {
  joukyou_okuru();  // while the box waits, the line under the board already says why
  return ports_.ui->message_box(text, title, b, icon);
}

}  // namespace mirado
