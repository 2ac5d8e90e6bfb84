// A position the tests of more than one layer mate in: the upper side drops its gold on
// (5, 8), guarded by the silver on (5, 7), and the lower king on (5, 9) has nowhere to go.
#pragma once

#include "rules/kyokumen.h"

namespace mirado::test {

inline Kyokumen gold_drop_mate() {
  Kyokumen p;
  p.ban[5][1] = OU;
  p.ban[5][7] = GIN;
  p.ban[1][7] = -HU;
  p.ban[5][9] = -OU;
  p.ban[9][9] = -KYOU;
  p.mochigoma_ue[5] = 1;
  p.shiage();
  return p;
}

}  // namespace mirado::test
