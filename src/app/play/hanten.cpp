// Turning the board (反転): the position is rotated by 180 degrees and every piece
// changes side, so the pieces at the bottom are always the lower ones.
#include "app/game.h"

namespace mirado {

void Game::reverse() {
  if (const Kotowari why = game().hanten(); why != Kotowari::nashi) {
    snd_play(Oto::kinshi);
    gamen_.msg(kotowari_moji(why), "反転");
    return;
  }
  nyuuryoku_.hanasu();
  gamen_.zenbu_egaku();
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  if (taikyoku_.handicap_zumi()) gamen_.handicap_hyouji(taikyoku_.handicap());
  snd_play(Oto::koma);
}

}  // namespace mirado
