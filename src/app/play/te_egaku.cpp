// Showing a move made on the position: the two squares and the hands it changed.
#include "app/ban_gamen.h"

namespace mirado {

void BanGamen::te_egaku(int fc, int fr, int tc, int tr, int code, int torareru) {
  if (is_sita(torareru)) mochigoma_ue_egaku();
  else if (is_ue(torareru)) mochigoma_sita_egaku();
  // A drop's source is a hand cell, which the hand redraw below paints whole (fr names
  // its slot, not its row: painting at it would leave an empty slot where none is).
  if (on_ban(fc, fr)) masu_egaku(kara, fc, fr);
  if (fc == TE_UE) mochigoma_ue_egaku();
  else if (fc == TE_SITA) mochigoma_sita_egaku();
  masu_egaku(code, tc, tr);
}

}  // namespace mirado
