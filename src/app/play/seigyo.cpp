// Game control: the start commands, levels, the turn icons, waiting, quitting.
#include "app/game.h"

namespace mirado {

void Game::level_settei(int n) {
  set_checked(Menu::LEVEL1, false);
  set_checked(Menu::LEVEL2, false);
  set_checked(Menu::LEVEL3, false);
  set_checked(Menu::LEVEL4, false);
  if (n >= 1 && n <= 4) {
    constexpr Menu kLevels[] = {Menu::LEVEL1, Menu::LEVEL2, Menu::LEVEL3, Menu::LEVEL4};
    set_checked(kLevels[n - 1], true);
    set_level(n);
  }
  if (com_taikyoku()) level_hyouji(level());
}

void Game::level_cmd(int n) {
  for (int c = -2; c <= 0; ++c) koma_egaku(haikei, c, 0);
  level_settei(n);
}

void Game::aicon_ichi(std::string_view position, int side) {
  if (!is_checked(Menu::AICON)) return;
  const int top = position == "上" ? 300 : 6000;
  for (Control c : {Control::AICON_MAN1, Control::AICON_MAN2, Control::AICON_COM})
    ports().ui->move_control(c, 3600, top);
  const bool com = com_taikyoku();
  if (side == ue_gawa()) {
    set_visible(Control::AICON_COM, com);
    set_visible(Control::AICON_MAN1, !com && teban_nushi() == 1);
    set_visible(Control::AICON_MAN2, !com && teban_nushi() == -1);
  } else if (side == sita_gawa()) {
    if (com) {
      set_visible(Control::AICON_MAN1, true);
    } else {
      set_visible(Control::AICON_MAN1, teban_nushi() == 1);
      set_visible(Control::AICON_MAN2, teban_nushi() == -1);
    }
    set_visible(Control::AICON_COM, false);
  }
}

void Game::matsu(double seconds) {
  // The clock port waits while the window keeps painting; it never spins.
  ports().clock->wait(seconds);
}

}  // namespace mirado
