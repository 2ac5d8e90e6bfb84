// Setting up a new game.
#include "app/game.h"

namespace mirado {

void Game::shinki_kyoku() {
  onkyou_.snd_stop(Oto::bgm);
  game().shinki();  // the record's length stays, so CANCEL can replay it later
  gamen_.shirushi_nashi();
  kirikae_.set_timer(false);
  com_teban_.tokei(false, 0);
  nyuuryoku_.hanasu();
  kirikae_.set_visible(Control::AICON_MAN1, false);
  kirikae_.set_visible(Control::AICON_MAN2, false);
  kirikae_.set_visible(Control::AICON_COM, false);
  gamen_.zenbu_egaku();
}

void Game::haichi(const Taikyoku& t) {
  taikyoku_ = t;
  gamen_.shirushi_nashi();
  nyuuryoku_.hanasu();
  gamen_.zenbu_egaku();
}

}  // namespace mirado
