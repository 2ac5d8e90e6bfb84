// Handicap levels (△ and ▽): each level between -10 and 10 takes one more piece of
// one side off the starting position; the game decides which, here it is shown.
#include "app/game.h"

namespace mirado {

namespace {

void handicap_hyouji_kaeru(Game& g, BanGamen& b, Taikyoku& t, Nyuuryoku& n, int step) {
  g.panel_tojiru();
  // A game stepped back to its start would lose its record to the new position.
  if (t.kifu().kifu_ichi == 0) g.kiru_mae_ni_nokosu();
  const Taikyoku::HandicapKekka k = t.handicap_kaeru(step);
  if (k.kotowari != Kotowari::nashi) {
    g.snd_play(Oto::kinshi);
    g.handicap_keikoku(k.kotowari);
    return;
  }
  // A selected piece could be the one taken off the board.
  n.hanasu();
  b.waku_kesu();
  if (!k.kaeta) return;
  b.handicap_hyouji(t.handicap());
  b.masu_egaku(t.pos().ban[k.c][k.r], k.c, k.r);
  g.snd_play(Oto::koma);
}

}  // namespace

void Game::handicap_keikoku(Kotowari reason) {
  msg(std::string(kotowari_moji(reason)) + "\r\r" + "局面→最初にして下さい", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定");
}

void Game::lbel_up() { handicap_hyouji_kaeru(*this, gamen_, game(), nyuuryoku_, 1); }
void Game::lebel_down() { handicap_hyouji_kaeru(*this, gamen_, game(), nyuuryoku_, -1); }

}  // namespace mirado
