// The window's game set up for a test: by the game's own factory and its public moves,
// never by writing its fields.
#pragma once

#include <string>

#include "fakes.h"
#include "taikyoku_shiken.h"

namespace mirado {

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

}  // namespace mirado

namespace mirado::test {

// A person's move on the window's game, played by the game's rules `secs` after the last
// one was charged (every move is charged to the holder of the turn); the window then goes
// on with the game. fr is the hand slot for a drop.
inline void play_move(Harness& h, int fc, int fr, int tc, int tr, int code, double secs = 0) {
  Taikyoku t = h.game.taikyoku();
  te_sasu(t, fc, fr, tc, tr, code, t.jikan_kaishi() + secs);
  h.game.haichi(t);
}

// Three turns with a capture, a promotion, a drop and a recapture; the lower pieces move first.
inline void play_sample_game(Harness& h) {
  struct M { int fc, fr, tc, tr, code; };
  static constexpr M kLine[] = {
      {3, 7, 3, 6, -HU},  {7, 3, 7, 4, HU},          {2, 8, 8, 2, -UMA},  // takes the bishop
      {2, 2, 8, 2, HISHA}, {TE_SITA, 6, 5, 5, -KAKU}, {3, 3, 3, 4, HU},   // recapture; drop
      {5, 5, 1, 1, -UMA},  {9, 1, 9, 2, KYOU},       {1, 7, 1, 6, -HU},   // the horse takes a lance
  };
  double secs = 3;
  for (const M& m : kLine) {
    play_move(h, m.fc, m.fr, m.tc, m.tr, m.code, secs);
    secs += 7;
  }
}

}  // namespace mirado::test
