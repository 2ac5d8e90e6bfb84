// Tests set a game up directly: a position, a phase, a finished game, a record, without
// playing every move that would lead there.
#pragma once

#include <gtest/gtest.h>

#include "app/game.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

struct TaikyokuShiken {
  static Taikyoku::Joutai& joutai(Taikyoku& t) { return t.j_; }
  static void ou_tori(Taikyoku& t, int torareru) { t.ou_tori(torareru); }
  static Taikyoku& taikyoku(Game& g) { return g.taikyoku_; }
  static void click_jotai(Game& g, int v) { g.nyuuryoku_.click_jotai_ = v; }
  static Settei& settei(Game& g) { return g.settei_; }
  static void com_shikouchu(Game& g, bool on) { g.com_teban_.shikouchu_ = on; }
};

inline Taikyoku::Joutai& joutai(Taikyoku& t) { return TaikyokuShiken::joutai(t); }
inline Taikyoku::Joutai& joutai(Game& g) { return joutai(TaikyokuShiken::taikyoku(g)); }
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
  h.sita_sente = t.sita_gawa() == t.sente_gawa();
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

// The game under a window object, to be driven as the window's procedures drive it.
inline Taikyoku& taikyoku(Game& g) { return TaikyokuShiken::taikyoku(g); }

// A record entry as the game writes one, what the target holds now being what it takes;
// a drop's moto_y is its hand slot.
inline void kifu_kiroku(Taikyoku& t, int moto_x, int moto_y, int saki_x, int saki_y,
                        int moto_koma, int koma, double sita_mae, double sita_ato, double ue_mae,
                        double ue_ato) {
  KifuEntry e;
  e.te.fc = moto_x;
  e.te.fr = moto_y;
  e.te.tc = saki_x;
  e.te.tr = saki_y;
  e.moto_koma = moto_koma;
  e.te.koma = koma;
  e.tori_koma = on_ban(saki_x, saki_y) ? t.pos().ban[saki_x][saki_y] : kara;
  e.sita_mae = sita_mae;
  e.sita_ato = sita_ato;
  e.ue_mae = ue_mae;
  e.ue_ato = ue_ato;
  joutai(t).kifu.kiroku(e);
}

inline void kifu_kiroku(Game& g, int moto_x, int moto_y, int saki_x, int saki_y, int moto_koma,
                        int koma, double sita_mae, double sita_ato, double ue_mae, double ue_ato) {
  kifu_kiroku(taikyoku(g), moto_x, moto_y, saki_x, saki_y, moto_koma, koma, sita_mae, sita_ato,
              ue_mae, ue_ato);
}

// A move made on the game's position as the game makes it (a captured king ends the game),
// and drawn. fr is the source row, or for a drop the hand slot.
inline TeModoshi te_ugokasu(Game& g, int fc, int fr, int tc, int tr, int code) {
  const Te te{fc, fr, tc, tr, code};
  const TeModoshi m = do_move(joutai(g).pos, te);
  TaikyokuShiken::ou_tori(taikyoku(g), m.torareru);
  g.te_egaku(te, m.torareru);
  return m;
}

}  // namespace mirado
