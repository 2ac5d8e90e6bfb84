// Applying a move to the board and the hands.
#include "app/game.h"
#include "rules/ugoki.h"

namespace mirado {

TeModoshi Game::te_ugokasu(int fc, int fr, int tc, int tr, int code) {
  const TeModoshi m = do_move(pos, Te{fc, is_uchi(fc) ? te_slot(fc, fr) : fr, tc, tr, code});
  ou_tori(m.torareru);
  te_egaku(fc, fr, tc, tr, code, m.torareru);
  return m;
}

void Game::te_egaku(int fc, int fr, int tc, int tr, int code, int torareru) {
  if (is_sita(torareru)) mochigoma_ue_egaku();
  else if (is_ue(torareru)) mochigoma_sita_egaku();
  // A drop's source is a hand cell: the hand redraw below outlines it.
  if (on_ban(fc, fr)) masu_egaku(kara, fc, fr);
  else koma_egaku(kara, fc, fr);
  if (fc == TE_UE) mochigoma_ue_egaku();
  else if (fc == TE_SITA) mochigoma_sita_egaku();
  masu_egaku(code, tc, tr);
}

}  // namespace mirado
