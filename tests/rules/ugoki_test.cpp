// The move primitive: what a move does to the board, hands, kings and pawn flags, and
// that taking it back restores the position exactly, over long random play.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "kyokumen_kensa.h"
#include "te_ichiran.h"
#include "rules/ikisaki.h"
#include "rules/sfen.h"
#include "rules/ugoki.h"

namespace mirado {
namespace {

Kyokumen from_sfen(const char* s) {
  SfenPosition sp;
  std::string error;
  EXPECT_TRUE(parse_sfen(s, sp, error)) << error;
  return sp.pos;
}

// Board, hands, totals, flags and kings alike (the maps are drawn from the board).
bool identical(const Kyokumen& a, const Kyokumen& b) {
  return test::same_position(a, b) && std::memcmp(a.fu_suji_sita, b.fu_suji_sita, sizeof a.fu_suji_sita) == 0 &&
         std::memcmp(a.fu_suji_ue, b.fu_suji_ue, sizeof a.fu_suji_ue) == 0 && a.ou_sita_x == b.ou_sita_x &&
         a.ou_sita_y == b.ou_sita_y && a.ou_ue_x == b.ou_ue_x && a.ou_ue_y == b.ou_ue_y;
}

bool maps_fit(const Kyokumen& p) {
  Kiki fresh{};
  kiki_keisan(p.ban, fresh);
  return std::memcmp(&fresh, &p.kiki(), sizeof fresh) == 0;
}

// Every code that stands on a square, of both sides, for asking about any piece anywhere,
// and the promoted gold no move makes, for which idou_kanou has no row and says yes.
constexpr int kEveryCode[] = {HU,  TO,  KYOU,  NARIKYOU, KEI, NARIKEI, GIN, NARIGIN,
                              KIN, KAKU, UMA, HISHA,    RYUU, OU,     NARIKIN};

// The fast answers against the slow ones on this board: every piece's destinations
// against idou_kanou on all 81 squares (with every_code, those of every code of either
// side from every square, whatever stands there), each square's reach against the maps
// drawn anew. Empty when they agree, else the first square where they differ.
std::string fast_answers_differ(const Kyokumen& p, bool every_code = false) {
  Kiki fresh{};
  kiki_keisan(p.ban, fresh);
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const std::string at = " at " + std::to_string(c) + "," + std::to_string(r);
      if (kiki_ari(p.ban, true, c, r) != (fresh.kiki_sita[c][r] > 0)) return "lower reach" + at;
      if (kiki_ari(p.ban, false, c, r) != (fresh.kiki_ue[c][r] > 0)) return "upper reach" + at;
      for (int k = every_code ? 0 : -1; k < (every_code ? 2 * std::ssize(kEveryCode) : 0); ++k) {
        const int code = k < 0 ? p.ban[c][r] : k % 2 == 0 ? kEveryCode[k / 2] : -kEveryCode[k / 2];
        if (code == kara) continue;
        const Masume to = ikisaki(p, c, r, code);
        for (int tc = 1; tc <= 9; ++tc)
          for (int tr = 1; tr <= 9; ++tr)
            if (to.aru(tc, tr) != p.idou_kanou(c, r, tc, tr, code))
              return "destinations of " + std::to_string(code) + at + " to " + std::to_string(tc) + "," +
                     std::to_string(tr);
      }
    }
  return {};
}

TEST(Ugoki, ACaptureGoesToTheCapturersHandByItsBaseKind) {
  // Lower rook takes an upper promoted silver; upper bishop takes a lower promoted pawn.
  Kyokumen p = from_sfen("4k4/9/4+s4/9/4R4/9/2+P6/9/B3K4 b - 1");
  const TeModoshi m = do_move(p, Te{5, 5, 5, 3, -RYUU});
  EXPECT_EQ(m.torareru, NARIGIN);
  EXPECT_EQ(p.ban[5][3], -RYUU);
  EXPECT_EQ(p.ban[5][5], kara);
  EXPECT_EQ(p.mochigoma_sita[4], 1);
  EXPECT_EQ(p.mochigoma_su_sita, 1);
  do_move(p, Te{1, 9, 3, 7, KAKU});
  EXPECT_EQ(p.mochigoma_ue[1], 1);
  EXPECT_EQ(p.mochigoma_su_ue, 1);
  EXPECT_TRUE(kyokumen_fusei(p).empty()) << kyokumen_fusei(p);
}

TEST(Ugoki, ATakenKingRaisesOnlyTheTotalAndKeepsItsSquare) {
  Kyokumen p = from_sfen("4k4/4R4/9/9/9/9/9/9/4K4 b - 1");
  do_move(p, Te{5, 2, 5, 1, -HISHA});
  EXPECT_EQ(p.mochigoma_su_sita, 1);
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(p.mochigoma_sita[k], 0);
  EXPECT_EQ(p.ou_ue_x, 5);
  EXPECT_EQ(p.ou_ue_y, 1);
  EXPECT_TRUE(kyokumen_fusei(p).empty()) << kyokumen_fusei(p);
}

TEST(Ugoki, KingsAndPawnFlagsFollowTheMoves) {
  Kyokumen p = from_sfen("4k4/9/9/9/9/9/4P4/9/4K4 b P 1");
  do_move(p, Te{5, 9, 4, 8, -OU});
  EXPECT_EQ(p.ou_sita_x, 4);
  EXPECT_EQ(p.ou_sita_y, 8);
  do_move(p, Te{5, 1, 6, 2, OU});
  EXPECT_EQ(p.ou_ue_x, 6);
  EXPECT_TRUE(p.fu_suji_sita[5]);
  do_move(p, Te{5, 7, 5, 6, -HU});
  EXPECT_TRUE(p.fu_suji_sita[5]);
  do_move(p, Te{5, 6, 5, 3, -TO});  // promotes: the column is free for a drop
  EXPECT_FALSE(p.fu_suji_sita[5]);
  do_move(p, Te{TE_SITA, 1, 5, 5, -HU});
  EXPECT_TRUE(p.fu_suji_sita[5]);
  EXPECT_EQ(p.mochigoma_sita[1], 0);
  EXPECT_EQ(p.mochigoma_su_sita, 0);
}

// Each kind of fault the checker names: squares or hands written behind the position's
// back leave the derived state describing another position.
TEST(Fusei, TheCheckerNamesEachKindOfFault) {
  const Kyokumen start = from_sfen("4k4/9/9/9/9/9/4P4/9/4K4 b P 1");
  EXPECT_EQ(kyokumen_fusei(start), "");
  auto fault = [&start](auto spoil) {
    Kyokumen p = start;
    p.kiki();  // maps drawn, as a reader would have
    spoil(p);
    return kyokumen_fusei(p);
  };
  EXPECT_NE(fault([](Kyokumen& p) { p.ban[1][1] = 7; }).find("invalid code"), std::string::npos);
  EXPECT_EQ(fault([](Kyokumen& p) { p.ban[1][1] = OU; }), "a side has two kings");
  EXPECT_NE(fault([](Kyokumen& p) { p.mochigoma_sita[2] = 1; }).find("lower hand total"), std::string::npos);
  EXPECT_NE(fault([](Kyokumen& p) { p.mochigoma_ue[3] = -1; }).find("negative"), std::string::npos);
  EXPECT_NE(fault([](Kyokumen& p) { p.ban[5][7] = kara; }).find("pawn-file flags of column 5"),
            std::string::npos);
  EXPECT_EQ(fault([](Kyokumen& p) { std::swap(p.ban[5][9], p.ban[4][9]); }), "the lower king is not on its square");
  EXPECT_EQ(fault([](Kyokumen& p) { p.ban[1][5] = -KIN; }), "the influence maps do not fit the board");
  // Written through the builders, the same changes are sound.
  Kyokumen p = start;
  p.kiki();
  p.oku(1, 5, -KIN);
  p.mochigoma_sita[2] = 1;
  p.shiage();
  EXPECT_EQ(kyokumen_fusei(p), "");
  EXPECT_TRUE(maps_fit(p));
  // A captured king counts in its capturer's total only.
  do_move(p, Te{5, 7, 5, 6, -HU});
  p.oku(5, 2, -HISHA);
  do_move(p, Te{5, 2, 5, 1, -RYUU});
  EXPECT_EQ(kyokumen_fusei(p), "");
  p.mochigoma_su_sita += 1;
  EXPECT_NE(kyokumen_fusei(p).find("lower hand total"), std::string::npos);
}

TEST(Ugoki, UnmakeRestoresThePositionExactlyOverRandomPlay) {
  std::mt19937 rng(12);
  int moves = 0, captures = 0, drops = 0, king_moves = 0;
  for (int game = 0; game < 40; ++game) {
    Kyokumen p;
    p.shoki_haichi();
    bool sita = true;
    for (int ply = 0; ply < 300; ++ply) {
      const std::vector<Te> all = test::moves_of(p, sita);
      if (all.empty()) break;
      // Every move of this position is made and taken back before one is kept.
      // The maps are read now before the move, now in it, now not at all: after the move
      // is taken back they must be the board's either way.
      for (std::size_t i = 0; i < all.size(); ++i) {
        const Kyokumen before = p;
        if (i % 3 == 0) p.kiki();
        const TeModoshi m = do_move(p, all[i]);
        if (i % 3 == 1) p.kiki();
        if (i % 7 == 0) {
          ASSERT_EQ(fast_answers_differ(p), "") << "game " << game << " ply " << ply;
        }
        undo_move(p, m);
        ASSERT_TRUE(identical(p, before)) << "game " << game << " ply " << ply;
        if (i % 5 == 0) {
          ASSERT_TRUE(maps_fit(p)) << "game " << game << " ply " << ply;
        }
      }
      const Te te = all[rng() % all.size()];
      const TeModoshi m = do_move(p, te);
      ++moves;
      captures += m.torareru != kara;
      drops += is_uchi(te.fc);
      king_moves += koma_abs(te.koma) == OU;
      // The kept kings, flags and maps are those a fresh look at the board finds.
      ASSERT_EQ(kyokumen_fusei(p), "") << "game " << game << " ply " << ply;
      ASSERT_TRUE(maps_fit(p)) << "game " << game << " ply " << ply;
      ASSERT_EQ(fast_answers_differ(p, ply % 10 == 0), "") << "game " << game << " ply " << ply;
      if (koma_abs(m.torareru) == OU) break;
      sita = !sita;
    }
  }
  // The random games went through what the primitive has to handle.
  EXPECT_GT(moves, 2000);
  EXPECT_GT(captures, 300);
  EXPECT_GT(drops, 100);
  EXPECT_GT(king_moves, 100);
}

}  // namespace
}  // namespace mirado
