// Construction of the game object and the thin wrappers over the window ports.
#include "app/game.h"

namespace mirado {

Game::Game(const Ports& ports) : ports_(ports) {
}

void Game::set_checked(Menu m, bool on) {
  checked_[static_cast<int>(m)] = on;
  ports_.ui->set_checked(m, on);
}

void Game::set_visible(Control c, bool on) {
  visible_[static_cast<int>(c)] = on;
  ports_.ui->set_visible(c, on);
}

void Game::set_timer(bool on) {
  timer1_ = on;
  ports_.ui->set_timer(on);
}

namespace {

// A box's words on one line: the title (when it has one) and the text, spaces trimmed.
std::string hitogyou(std::string_view text, std::string_view title) {
  const auto trim = [](std::string_view s) {
    const auto a = s.find_first_not_of(" \n");
    if (a == std::string_view::npos) return std::string();
    std::string out(s.substr(a, s.find_last_not_of(" \n") - a + 1));
    for (std::size_t i; (i = out.find('\n')) != std::string::npos;) out.replace(i, 1, "　");
    return out;
  };
  const std::string t = trim(title), m = trim(text);
  return t.empty() ? m : m.empty() ? t : t + "：" + m;
}

}  // namespace

Answer Game::msg(std::string_view text, std::string_view title, Buttons b, Icon icon) {
  // While the box waits, the line under the board says what it says, with why.
  hako_moji_ = hitogyou(text, title);
  joukyou_okuru();
  const Answer a = ports_.ui->message_box(text, title, b, icon);
  hako_moji_.clear();
  joukyou_okuru();
  return a;
}

}  // namespace mirado
