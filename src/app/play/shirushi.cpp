// The options that switch the marks, the move list and the graph, and the clicks on the
// list and the graph that step the record.
#include "app/game.h"

namespace mirado {

void Game::chokuzen_menu() {
  settei_.chokuzen(!settei_.chokuzen_on());
  kirikae_.set_checked(Menu::CHOKUZEN, settei_.chokuzen_on());
  settei_kaki();
}

void Game::ichiran_menu() {
  settei_.ichiran(!settei_.ichiran_on());
  kirikae_.set_checked(Menu::ICHIRAN, settei_.ichiran_on());
  settei_kaki();
}

void Game::ichiran_click(int row) {
  if (row < 0 || row >= static_cast<int>(gamen_.ichiran().size())) return;
  const int goal = std::min(taikyoku_.kifu().kifu_nagasa, (row + 1) * 3);
  // Each step is a 戻 or 進 of its own: it stops where they would be refused.
  while (taikyoku_.kifu().kifu_ichi != goal) {
    const int before = taikyoku_.kifu().kifu_ichi;
    const bool back = goal < before;
    if (back) replay();
    else after();
    if (taikyoku_.kifu().kifu_ichi == before ||
        (back ? taikyoku_.kifu().kifu_ichi < goal : taikyoku_.kifu().kifu_ichi > goal))
      break;
  }
}

void Game::kaiseki_zu_menu() {
  settei_.kaiseki_zu(!settei_.kaiseki_zu_on());
  kirikae_.set_checked(Menu::KAISEKI_ZU, settei_.kaiseki_zu_on());
  settei_kaki();
}

void Game::kaiseki_zu_click(int turn) {
  if (turn >= 1) ichiran_click(turn - 1);
}

}  // namespace mirado
