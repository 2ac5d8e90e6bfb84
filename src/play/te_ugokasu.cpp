// Applying a move to the board and the hands.
#include "app/game.h"
#include "model/ugoki.h"

namespace mirado {

void Game::te_ugokasu(int fc, int fr, int tc, int tr, int code) {
  const TeModoshi m = do_move(pos, Te{fc, is_uchi(fc) ? te_slot(fc, fr) : fr, tc, tr, code});
  te_ugoita(fc, fr, tc, tr, code, m.torareru);
}

void Game::te_ugoita(int fc, int fr, int tc, int tr, int code, int torareru) {
  // Taking a king ends the game for its side.
  if (torareru == OU) shuukyoku = sita_gawa;
  else if (torareru == -OU) shuukyoku = ue_gawa;

  if (is_sita(torareru)) mochigoma_ue_egaku();
  else if (is_ue(torareru)) mochigoma_sita_egaku();
  // A square's picture covers its own outline: the grid goes back on at once.
  koma_egaku(kara, fc, fr);
  if (on_ban(fc, fr)) waku_egaku(IRO_MIDORI, fc, fr);
  if (fc == TE_UE) mochigoma_ue_egaku();
  else if (fc == TE_SITA) mochigoma_sita_egaku();
  koma_egaku(code, tc, tr);
  waku_egaku(IRO_MIDORI, tc, tr);
}

}  // namespace mirado
