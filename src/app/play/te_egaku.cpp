// Showing a move made on the position: the two squares and the hands it changed.
#include "app/ban_gamen.h"

namespace mirado {

void BanGamen::te_egaku(const Te& te, int torareru) {
  if (is_sita(torareru)) mochigoma_ue_egaku();
  else if (is_ue(torareru)) mochigoma_sita_egaku();
  // A drop's source is a hand cell, which the hand redraw below paints whole.
  if (on_ban(te.fc, te.fr)) masu_egaku(kara, te.fc, te.fr);
  if (te.fc == TE_UE) mochigoma_ue_egaku();
  else if (te.fc == TE_SITA) mochigoma_sita_egaku();
  masu_egaku(te.koma, te.tc, te.tr);
}

}  // namespace mirado
