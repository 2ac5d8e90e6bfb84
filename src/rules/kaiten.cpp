#include "rules/kyokumen.h"

namespace mirado {

Kyokumen kaiten(const Kyokumen& p) {
  Kyokumen q;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) q.ban[10 - c][10 - r] = -p.ban[c][r];
  for (int k = 1; k <= 7; ++k) {
    q.mochigoma_sita[k] = p.mochigoma_ue[k];
    q.mochigoma_ue[k] = p.mochigoma_sita[k];
  }
  // The totals change sides as they are: a captured king stays counted.
  q.mochigoma_su_sita = p.mochigoma_su_ue;
  q.mochigoma_su_ue = p.mochigoma_su_sita;
  // A king that is not on the board keeps its last square, turned round like the rest.
  auto turn = [](int v) { return v >= 1 && v <= 9 ? 10 - v : v; };
  q.ou_sita_x = turn(p.ou_ue_x), q.ou_sita_y = turn(p.ou_ue_y);
  q.ou_ue_x = turn(p.ou_sita_x), q.ou_ue_y = turn(p.ou_sita_y);
  q.ou_ichi_keisan();
  q.fu_suji_keisan();
  return q;
}

}  // namespace mirado
