// Turning the board (反転): the position is rotated by 180 degrees and every piece
// changes side, so the pieces at the bottom are always the lower ones.
#include <utility>

#include "app/game.h"

namespace mirado {

namespace {

int gawa_kaeru(int x) { return x <= -10 ? -x : (x >= 10 ? -x : x); }

void ban_kaiten(Kyokumen& p) {
  int t[10][10];
  for (int c = 0; c <= 9; ++c)
    for (int r = 0; r <= 9; ++r) t[c][r] = p.ban[c][r];
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) p.ban[10 - c][10 - r] = gawa_kaeru(t[c][r]);
  for (int k = 1; k <= 7; ++k) std::swap(p.mochigoma_sita[k], p.mochigoma_ue[k]);
  std::swap(p.mochigoma_su_sita, p.mochigoma_su_ue);
}

}  // namespace

void Game::reverse() {
  if (saisei_chu) {
    snd_play(Oto::kinshi);
    msg("棋譜ﾓｰﾄﾞではできません", "反転");
    return;
  }
  if (te_tochuu && shuukyoku == 0) {
    snd_play(Oto::kinshi);
    msg("３手目が打ち終わるまでできません", "反転");
    return;
  }
  // The computer always plays the upper pieces; turning would hand it the person's army.
  if (taikyoku_shu == TaikyokuShu::com && teban != 0 && shuukyoku == 0) {
    snd_play(Oto::kinshi);
    msg("対局途中ではできません", "反転");
    return;
  }
  hanten_zumi = true;
  click_jotai = 0;
  ban_kaiten(pos);
  pos.ou_ichi_keisan();  // the kings have changed squares and sides
  zenbu_egaku();
  tesuu_hyouji(tesuu);
  if (handicap_zumi) {
    handicap = -handicap;
    handicap_hyouji(handicap);
  }
  snd_play(Oto::koma);
  teban = -teban;
  // The army that held the turn keeps it: it now plays the other colour of pieces.
  if (taikyoku_shu == TaikyokuShu::ningen) teban_nushi = -teban_nushi;
  kifu.kifu_ichi = 0;
  kifu.kifu_nagasa = 0;  // its squares no longer match the board
}

}  // namespace mirado
