// Every move of one side in a position, for tests that play their own games.
#pragma once

#include <vector>

#include "rules/ugoki.h"

namespace mirado::test {

// Every move idou_kanou accepts for the side, promoted and not, and every drop.
inline std::vector<Te> moves_of(const Kyokumen& p, bool sita) {
  std::vector<Te> out;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (sita ? !is_sita(code) : !is_ue(code)) continue;
      for (int tc = 1; tc <= 9; ++tc)
        for (int tr = 1; tr <= 9; ++tr) {
          if (!p.idou_kanou(c, r, tc, tr, code)) continue;
          int nari = 0;
          if (naru_kanou(c, r, tr, code, nari)) out.push_back(Te{c, r, tc, tr, nari});
          if (narazu_kanou(tr, code)) out.push_back(Te{c, r, tc, tr, code});
        }
    }
  const int* hand = sita ? p.mochigoma_sita : p.mochigoma_ue;
  for (int slot = 1; slot <= 7; ++slot) {
    if (hand[slot] < 1) continue;
    const int code = sita ? -MOCHIGOMA_KOMA[slot] : MOCHIGOMA_KOMA[slot];
    const int fc = sita ? TE_SITA : TE_UE;
    for (int tc = 1; tc <= 9; ++tc)
      for (int tr = 1; tr <= 9; ++tr)
        if (p.idou_kanou(fc, slot, tc, tr, code)) out.push_back(Te{fc, slot, tc, tr, code});
  }
  return out;
}

}  // namespace mirado::test
