// Applying a move to the board and the hands.
#include "app/game.h"

namespace mirado {

void Game::te_ugokasu(int fc, int fr, int tc, int tr, int code) {
  const int torareru = pos.ban[tc][tr];
  // The total rises before the piece is classified, a captured king included.
  if (torareru <= -10) {
    ++pos.mochigoma_su_ue;
    mochigoma_ni_kuwaeru(torareru);
    mochigoma_ue_egaku();
  } else if (torareru >= 10) {
    ++pos.mochigoma_su_sita;
    mochigoma_ni_kuwaeru(torareru);
    mochigoma_sita_egaku();
  }
  // A square's picture covers its own outline: the grid goes back on at once.
  koma_egaku(kara, fc, fr);
  if (on_ban(fc, fr)) waku_egaku(IRO_MIDORI, fc, fr);
  pos.ban[tc][tr] = code;
  if (code == -OU) {
    kiki.ou_sita_x = tc;
    kiki.ou_sita_y = tr;
  }
  if (fc == TE_UE) {
    --pos.mochigoma_su_ue;
    if (fr >= 1 && fr <= 7) --pos.mochigoma_ue[fr];
    mochigoma_ue_egaku();
  } else if (fc == TE_SITA) {
    --pos.mochigoma_su_sita;
    if (fr >= 3 && fr <= 9) --pos.mochigoma_sita[fr - 2];
    mochigoma_sita_egaku();
  } else {
    pos.ban[fc][fr] = kara;
  }
  koma_egaku(code, tc, tr);
  waku_egaku(IRO_MIDORI, tc, tr);
}

void Game::mochigoma_ni_kuwaeru(int code) {
  if (code == OU) {
    shuukyoku = sita_gawa;
    return;
  }
  if (code == -OU) {
    shuukyoku = ue_gawa;
    return;
  }
  const int slot = mochigoma_slot(code);
  if (slot == 0) return;
  if (code >= 10) ++pos.mochigoma_sita[slot];
  else if (code <= -10) ++pos.mochigoma_ue[slot];
}

}  // namespace mirado
