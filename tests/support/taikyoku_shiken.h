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

// A record in which the computer passes over a move: from the handicap that leaves the
// upper pieces only their king and pawns, the lower pieces take every pawn the turns bring
// down to them; the upper side, left with its king alone, moves it first and so has no
// third move (its limits bind the computer always). The record ends with the computer's
// turn of two entries and the lower side's first move after it.
inline std::vector<KifuEntry> tobashi_kifu() {
  Taikyoku t = handicap_kyoku(10);
  std::vector<KifuEntry> out;
  auto tameshi = [&](int fc, int fr, int tc, int tr) {
    if (!on_ban(fc, fr) || !on_ban(tc, tr) || t.pos().ban[fc][fr] == kara) return false;
    KifuEntry e;
    e.moto_koma = t.pos().ban[fc][fr];
    e.tori_koma = t.pos().ban[tc][tr];
    e.te = Te{fc, fr, tc, tr, e.moto_koma};
    if (out.empty()) t.kifu_yomikomi({e}, 10);  // the sides of a game the lower pieces begin
    if (t.kifu_de_sasu(e, false) != Kotowari::nashi) return false;
    out.push_back(e);
    return true;
  };
  auto ue_fu = [&](int c, int r) { return t.pos().ban[c][r] == HU; };
  auto toru = [&] {  // a lower pawn takes an upper pawn that came down to it
    for (int c = 1; c <= 9; ++c)
      if (ue_fu(c, 6) && tameshi(c, 7, c, 6)) return true;
    return false;
  };
  auto susumeru = [&] {  // the upper pawn furthest on comes one square down
    for (int r = 5; r >= 3; --r)
      for (int c = 1; c <= 9; ++c)
        if (ue_fu(c, r) && t.pos().ban[c][r + 1] == kara && tameshi(c, r, c, r + 1)) return true;
    return false;
  };
  auto matsu = [&] {  // a lower piece steps aside or back
    static constexpr int kMatsu[][4] = {{4, 9, 4, 8}, {4, 8, 4, 9}, {6, 9, 6, 8}, {6, 8, 6, 9}};
    for (const auto& m : kMatsu)
      if (tameshi(m[0], m[1], m[2], m[3])) return true;
    return false;
  };
  auto ou = [&] {  // the upper king steps along the first two rows
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 2; ++r)
        if (t.pos().ban[c][r] == OU)
          for (const int dc : {-1, 1, 0})
            for (const int dr : {1, -1, 0})
              if (r + dr <= 2 && tameshi(c, r, c + dc, r + dr)) return true;
    return false;
  };
  auto ue_nokori = [&] { return t.koma_su(t.ue_gawa()); };
  for (int turn = 0; turn < 80 && ue_nokori() > 1; ++turn) {
    EXPECT_TRUE(toru() || matsu());  // the lower side's turn
    EXPECT_TRUE(ou());
    EXPECT_TRUE(toru() || matsu());
    EXPECT_TRUE(susumeru() || ou());  // the computer's
    EXPECT_TRUE(matsu());
    EXPECT_TRUE(susumeru() || ou());
  }
  EXPECT_EQ(ue_nokori(), 1);
  // A whole turn of the lower side, the computer's king and a lower piece, no third move;
  // then the lower side begins its turn.
  EXPECT_TRUE(matsu() && ou() && matsu());
  EXPECT_TRUE(ou() && matsu());
  EXPECT_TRUE(matsu());
  return out;
}

}  // namespace mirado
