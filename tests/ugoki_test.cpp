// The move primitive: what a move does to the board, hands, kings and pawn flags, and
// that taking it back restores the position exactly, over long random play.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "kyokumen_kensa.h"
#include "model/sfen.h"
#include "model/ugoki.h"

namespace mirado {
namespace {

Kyokumen from_sfen(const char* s) {
  SfenPosition sp;
  std::string error;
  EXPECT_TRUE(parse_sfen(s, sp, error)) << error;
  return sp.pos;
}

bool identical(const Kyokumen& a, const Kyokumen& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

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
  EXPECT_TRUE(test::kyokumen_fusei(p).empty()) << test::kyokumen_fusei(p);
}

TEST(Ugoki, ATakenKingRaisesOnlyTheTotalAndKeepsItsSquare) {
  Kyokumen p = from_sfen("4k4/4R4/9/9/9/9/9/9/4K4 b - 1");
  do_move(p, Te{5, 2, 5, 1, -HISHA});
  EXPECT_EQ(p.mochigoma_su_sita, 1);
  for (int k = 1; k <= 7; ++k) EXPECT_EQ(p.mochigoma_sita[k], 0);
  EXPECT_EQ(p.ou_ue_x, 5);
  EXPECT_EQ(p.ou_ue_y, 1);
  EXPECT_TRUE(test::kyokumen_fusei(p).empty()) << test::kyokumen_fusei(p);
}

TEST(Ugoki, KingsAndPawnFlagsFollowTheMoves) {
  Kyokumen p = from_sfen("4k4/9/9/9/9/9/4P4/9/4K4 b P 1");
  do_move(p, Te{5, 9, 4, 8, -OU});
  EXPECT_EQ(p.ou_sita_x, 4);
  EXPECT_EQ(p.ou_sita_y, 8);
  do_move(p, Te{5, 1, 6, 2, OU});
  EXPECT_EQ(p.ou_ue_x, 6);
  EXPECT_EQ(p.fu_suji_sita[5], 1);
  do_move(p, Te{5, 7, 5, 6, -HU});
  EXPECT_EQ(p.fu_suji_sita[5], 1);
  do_move(p, Te{5, 6, 5, 3, -TO});  // promotes: the column is free for a drop
  EXPECT_EQ(p.fu_suji_sita[5], 0);
  do_move(p, Te{TE_SITA, 1, 5, 5, -HU});
  EXPECT_EQ(p.fu_suji_sita[5], 1);
  EXPECT_EQ(p.mochigoma_sita[1], 0);
  EXPECT_EQ(p.mochigoma_su_sita, 0);
}

// Every move idou_kanou accepts for the side, promoted and not, and every drop.
std::vector<Te> moves_of(const Kyokumen& p, bool sita) {
  std::vector<Te> out;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (sita ? !is_sita(code) : !is_ue(code)) continue;
      for (int tc = 1; tc <= 9; ++tc)
        for (int tr = 1; tr <= 9; ++tr) {
          if (p.idou_kanou(c, r, tc, tr, code) != ari) continue;
          int nari = 0;
          if (naru_kanou(c, r, tr, code, nari) == ari) out.push_back(Te{c, r, tc, tr, nari});
          if (narazu_kanou(tr, code) == ari) out.push_back(Te{c, r, tc, tr, code});
        }
    }
  const int* hand = sita ? p.mochigoma_sita : p.mochigoma_ue;
  for (int slot = 1; slot <= 7; ++slot) {
    if (hand[slot] < 1) continue;
    const int code = sita ? -MOCHIGOMA_KOMA[slot] : MOCHIGOMA_KOMA[slot];
    const int fc = sita ? TE_SITA : TE_UE;
    for (int tc = 1; tc <= 9; ++tc)
      for (int tr = 1; tr <= 9; ++tr)
        if (p.idou_kanou(fc, slot, tc, tr, code) == ari) out.push_back(Te{fc, slot, tc, tr, code});
  }
  return out;
}

TEST(Ugoki, UnmakeRestoresThePositionExactlyOverRandomPlay) {
  std::mt19937 rng(12);
  int moves = 0, captures = 0, drops = 0, king_moves = 0;
  for (int game = 0; game < 40; ++game) {
    Kyokumen p;
    p.shoki_haichi();
    p.fu_suji_keisan();
    bool sita = true;
    for (int ply = 0; ply < 300; ++ply) {
      const std::vector<Te> all = moves_of(p, sita);
      if (all.empty()) break;
      // Every move of this position is made and taken back before one is kept.
      for (const Te& te : all) {
        const Kyokumen before = p;
        undo_move(p, do_move(p, te));
        ASSERT_TRUE(identical(p, before)) << "game " << game << " ply " << ply;
      }
      const Te te = all[rng() % all.size()];
      const TeModoshi m = do_move(p, te);
      ++moves;
      captures += m.torareru != kara;
      drops += is_uchi(te.fc);
      king_moves += koma_abs(te.koma) == OU;
      // The kept kings and flags are those a fresh look at the board finds.
      Kyokumen fresh = p;
      fresh.fu_suji_keisan();
      fresh.ou_ichi_keisan();
      ASSERT_TRUE(identical(p, fresh)) << "game " << game << " ply " << ply;
      ASSERT_EQ(test::kyokumen_fusei(p), "");
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
