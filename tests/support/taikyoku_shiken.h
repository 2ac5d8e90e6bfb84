// Tests set a game up the way a tool does: by the game's own factory (a position, a phase,
// the game's settings) and its public moves, never by writing its fields.
#pragma once

#include <gtest/gtest.h>

#include "taikyoku/taikyoku.h"

namespace mirado {

// A game set up by the game's own factory; the test fails when the SFEN does not parse.
inline Taikyoku haichi(const Taikyoku::Haichi& h) {
  Taikyoku t;
  std::string error;
  EXPECT_TRUE(Taikyoku::haichi(h, t, error)) << error;
  return t;
}

// A person's move of the phase due, played by the game's rules at clock `now`: the
// source (a board square, or a hand and its slot), the target and the code it leaves
// there (promoted when the move promotes). The test fails when the game refuses it.
inline Sashita te_sasu(Taikyoku& t, int fc, int fr, int tc, int tr, int code, double now = 0) {
  const int moto = fc == TE_SITA ? -MOCHIGOMA_KOMA[fr]
                   : fc == TE_UE ? MOCHIGOMA_KOMA[fr]
                                 : t.pos().ban[fc][fr];
  const Sashita s = t.sasu(NingenTe{Te{fc, fr, tc, tr, moto}, code != moto}, now);
  EXPECT_EQ(s.kotowari, Kotowari::nashi)
      << fc << "," << fr << " -> " << tc << "," << tr << ": " << kotowari_moji(s.kotowari, t.dankai());
  return s;
}

}  // namespace mirado
