// Handicap levels (△ and ▽): each level between -10 and 10 takes one more piece of
// one side off the starting position; the game decides which, here it is shown.
#include "app/game.h"

namespace mirado {

void Game::handicap_kaeru(int step) {
  panel_tojiru();
  // A game stepped back to its start would lose its record to the new position.
  if (taikyoku_.kifu().kifu_ichi == 0) kiru_mae_ni_nokosu();
  const Taikyoku::HandicapKekka k = game().handicap_kaeru(step);
  if (k.kotowari != Kotowari::nashi) {
    snd_play(Oto::kinshi);
    handicap_keikoku(k.kotowari);
    return;
  }
  // A selected piece could be the one taken off the board.
  nyuuryoku_.hanasu();
  gamen_.waku_kesu();
  if (!k.kaeta) return;
  gamen_.handicap_hyouji(taikyoku_.handicap());
  gamen_.masu_egaku(taikyoku_.pos().ban[k.c][k.r], k.c, k.r);
  snd_play(Oto::koma);
}

void Game::handicap_keikoku(Kotowari reason) {
  gamen_.msg(std::string(kotowari_moji(reason)) + "\r\r" + "局面→最初にして下さい", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定");
}

void Game::lbel_up() { handicap_kaeru(1); }
void Game::lebel_down() { handicap_kaeru(-1); }

}  // namespace mirado
