// Tests set a game up the way a tool does: by the game's own factory (a position, a phase,
// the game's settings) and its public moves, never by writing its fields.
#pragma once

#include <gtest/gtest.h>

#include "app/game.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

// A game set up by the game's own factory; the test fails when the SFEN does not parse.
inline Taikyoku haichi(const Taikyoku::Haichi& h) {
  Taikyoku t;
  std::string error;
  EXPECT_TRUE(Taikyoku::haichi(h, t, error)) << error;
  return t;
}

// What the window's game is now, as a setting-up: its kind, sides, level and clocks, at
// position `sfen` and phase `d` (in the second move the SFEN names the pieces to be moved).
inline Taikyoku::Haichi haichi_ima(const Game& g, const std::string& sfen,
                                   Dankai d = Dankai::ichi) {
  const Taikyoku& t = g.taikyoku();
  Taikyoku::Haichi h;
  h.sfen = sfen;
  h.dankai = d;
  h.santeme = t.santeme();
  h.shu = t.taikyoku_shu();
  h.sita_sente = t.sita_sente();
  h.level = t.level();
  h.jikan_kaishi = t.jikan_kaishi();
  h.jikan_sita = t.jikan_sita();
  h.jikan_ue = t.jikan_ue();
  return h;
}

// The window goes on at another position, the game otherwise as it is.
inline void haichi(Game& g, const std::string& sfen, Dankai d = Dankai::ichi) {
  g.haichi(haichi(haichi_ima(g, sfen, d)));
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
