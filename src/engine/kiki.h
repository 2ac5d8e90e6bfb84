// Influence maps (kiki): who attacks and defends every square, the cheapest
// attacker or defender of each occupied square and the check maps. Recomputed from
// scratch from the board by kiki_keisan, in place. The kings' squares are the
// position's.
#pragma once

#include <cstdint>

namespace mirado {

struct Kiki {
  using Map = std::int16_t[10][10];  // [column][row], 1..9 used

  Map kiki_sita;     // number of lower pieces reaching the square
  Map kiki_ue;       // number of upper pieces reaching the square
  Map himo_sita;     // lower-occupied: lowest code of a lower defender, 999 none
  Map himo_ue;       // upper-occupied: lowest code of an upper defender, 999 none
  Map himo_ue_x, himo_ue_y;
  Map atari_sita;    // upper-occupied: highest code of a lower attacker, -999 none
  Map atari_sita_x, atari_sita_y;
  Map atari_ue;      // lower-occupied: lowest code of an upper attacker, 999 none
  Map atari_ue_x, atari_ue_y;
  Map oute_ue;       // check map against the upper king: 9 checker, 1 between
  Map oute_sita;     // check map against the lower king
};

void kiki_keisan(const int (&ban)[10][10], Kiki& k);

}  // namespace mirado
