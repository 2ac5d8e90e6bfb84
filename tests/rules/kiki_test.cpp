// Influence maps, including the deliberate asymmetries between the two sides.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "rules/ikisaki.h"
#include "rules/kiki.h"
#include "rules/kyokumen.h"

namespace mirado {
namespace {

struct Maps {
  Kyokumen p;
  Kiki k{};
  Maps() { p.kara_ni(); }
  void run() { kiki_keisan(p.ban, k); }
};

TEST(Kiki, EmptyBoardResetsEveryMap) {
  Maps m;
  m.k.himo_ue_x[3][3] = 7;   // left from an earlier position
  m.k.atari_ue_y[2][2] = 5;
  m.run();
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      EXPECT_EQ(m.k.kiki_sita[c][r], 0);
      EXPECT_EQ(m.k.kiki_ue[c][r], 0);
      EXPECT_EQ(m.k.atari_sita[c][r], -999);
      EXPECT_EQ(m.k.atari_ue[c][r], 999);
      EXPECT_EQ(m.k.himo_sita[c][r], 999);
      EXPECT_EQ(m.k.himo_ue[c][r], 999);
    }
  EXPECT_EQ(m.k.himo_ue_x[3][3], 0);
  EXPECT_EQ(m.k.atari_ue_y[2][2], 0);
}

TEST(Kiki, RookCheckMarksTheLineAndItsRayRunsThroughTheKing) {
  Maps m;
  m.p.ban[5][5] = OU;
  m.p.ban[5][7] = -HISHA;
  m.p.ban[5][2] = HU;  // first piece beyond the king
  m.run();
  EXPECT_EQ(m.k.oute_ue[5][7], 9);
  EXPECT_EQ(m.k.oute_ue[5][6], 1);
  EXPECT_EQ(m.k.oute_ue[5][5], 0);
  EXPECT_EQ(m.k.kiki_sita[5][5], 1);
  EXPECT_EQ(m.k.kiki_sita[5][4], 1);
  EXPECT_EQ(m.k.kiki_sita[5][3], 1);
  EXPECT_EQ(m.k.kiki_sita[5][2], 1);
  EXPECT_EQ(m.k.kiki_sita[5][1], 0);
  // The reach found from the square sees through the king the same way.
  for (int r = 1; r <= 9; ++r) EXPECT_EQ(kiki_ari(m.p.ban, true, 5, r), m.k.kiki_sita[5][r] > 0) << r;
  // An upper lance behind the lower king reaches past it, a lance looking away does not.
  m.p.ban[5][7] = kara;
  m.p.ban[5][5] = -OU;
  m.p.ban[5][2] = KYOU;
  m.p.ban[4][8] = KYOU;
  m.run();
  for (int r = 1; r <= 9; ++r) {
    EXPECT_EQ(kiki_ari(m.p.ban, false, 5, r), m.k.kiki_ue[5][r] > 0) << r;
    EXPECT_EQ(kiki_ari(m.p.ban, false, 4, r), m.k.kiki_ue[4][r] > 0) << r;
  }
  EXPECT_TRUE(kiki_ari(m.p.ban, false, 5, 9));
  EXPECT_FALSE(kiki_ari(m.p.ban, false, 4, 7));
}

TEST(Kiki, KnightCheckMarksTheKingSquareToo) {
  Maps m;
  m.p.ban[5][8] = -OU;
  m.p.ban[4][6] = KEI;
  m.run();
  EXPECT_EQ(m.k.oute_sita[4][6], 9);
  EXPECT_EQ(m.k.oute_sita[5][8], 9);
  EXPECT_EQ(m.k.kiki_ue[5][8], 1);
}

TEST(Kiki, CheapestLowerAttackerIsRecordedWithTheFirstSquareOnTies) {
  Maps m;
  m.p.ban[5][5] = HU;
  m.p.ban[4][6] = -KIN;
  m.p.ban[6][6] = -GIN;
  m.run();
  EXPECT_EQ(m.k.atari_sita[5][5], -100);
  EXPECT_EQ(m.k.atari_sita_x[5][5], 6);
  EXPECT_EQ(m.k.atari_sita_y[5][5], 6);

  Maps t;
  t.p.ban[5][5] = HU;
  t.p.ban[6][6] = -KIN;
  t.p.ban[4][6] = -KIN;
  t.p.ban[5][6] = -KIN;
  t.run();
  EXPECT_EQ(t.k.atari_sita[5][5], -110);
  EXPECT_EQ(t.k.atari_sita_x[5][5], 4);  // lower column first
  EXPECT_EQ(t.k.atari_sita_y[5][5], 6);
}

// The lower gold moves toward row 1: it reaches the square straight behind it (row + 1)
// and never the two diagonals behind, which are a silver's. Its promoted cousins alike.
TEST(Kiki, LowerGoldMoversReachStraightBackNotTheBackDiagonals) {
  for (const int gold : {-KIN, -TO, -NARIGIN}) {
    SCOPED_TRACE(gold);
    Maps m;
    m.p.ban[5][5] = gold;
    m.p.ban[5][6] = HU;  // behind it: attacked
    m.p.ban[4][6] = HU;  // behind it, diagonally: not
    m.p.ban[6][6] = HU;
    m.run();
    EXPECT_EQ(m.k.kiki_sita[5][6], 1);
    EXPECT_EQ(m.k.atari_sita[5][6], gold);
    EXPECT_EQ(m.k.kiki_sita[4][6], 0);
    EXPECT_EQ(m.k.kiki_sita[6][6], 0);
    EXPECT_EQ(m.k.atari_sita[4][6], -999);
    EXPECT_EQ(m.k.atari_sita[6][6], -999);
    // Forward, the diagonals and sideways are its own.
    for (const auto& [c, r] : {std::pair{4, 4}, {5, 4}, {6, 4}, {4, 5}, {6, 5}})
      EXPECT_EQ(m.k.kiki_sita[c][r], 1) << c << "," << r;
    int total = 0;
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r) total += m.k.kiki_sita[c][r];
    EXPECT_EQ(total, 6);
  }
}

TEST(Kiki, UpperSilverCountsButDoesNotAttackWhileARookDoes) {
  Maps m;
  m.p.ban[5][6] = -HU;
  m.p.ban[5][5] = GIN;
  m.run();
  EXPECT_EQ(m.k.kiki_ue[5][6], 1);
  EXPECT_EQ(m.k.atari_ue[5][6], 999);
  m.p.ban[1][6] = HISHA;
  m.run();
  EXPECT_EQ(m.k.kiki_ue[5][6], 2);
  EXPECT_EQ(m.k.atari_ue[5][6], 900);
  EXPECT_EQ(m.k.atari_ue_x[5][6], 1);
  EXPECT_EQ(m.k.atari_ue_y[5][6], 6);
}

TEST(Kiki, DefendersLowerKeepsTheDearestUpperTheCheapest) {
  Maps m;
  m.p.ban[5][5] = -KIN;
  m.p.ban[5][6] = -HU;      // a lower pawn defends (5,5) from behind
  m.p.ban[1][5] = -HISHA;   // and a lower rook along the row
  m.p.ban[5][3] = KIN;
  m.p.ban[5][2] = HU;       // upper pawn defends (5,3)
  m.p.ban[9][3] = HISHA;    // upper rook along row 3
  m.run();
  EXPECT_EQ(m.k.himo_sita[5][5], -900);
  EXPECT_EQ(m.k.himo_ue[5][3], 10);
}

TEST(Kiki, LowerHorseRecordsBishopCodeDiagonallyAndHorseCodeOrthogonally) {
  Maps m;
  m.p.ban[5][5] = -UMA;
  m.p.ban[7][3] = KIN;   // diagonal, two away
  m.p.ban[5][4] = GIN;   // orthogonal step
  m.p.ban[4][6] = -HU;   // diagonal own piece
  m.run();
  EXPECT_EQ(m.k.atari_sita[7][3], -800);
  EXPECT_EQ(m.k.atari_sita[5][4], -801);
  EXPECT_EQ(m.k.himo_sita[4][6], -800);
}

TEST(Kiki, UpperGoldMoversDefendAsAGoldAndUpperHorseStepsOnlyCount) {
  Maps m;
  m.p.ban[5][5] = TO;
  m.p.ban[5][6] = GIN;    // defended by the tokin moving forward (toward row 9)
  m.p.ban[2][2] = UMA;
  m.p.ban[2][3] = -HU;    // orthogonal step of the upper horse
  m.p.ban[3][2] = HU;
  m.run();
  EXPECT_EQ(m.k.himo_ue[5][6], 110);
  EXPECT_EQ(m.k.kiki_ue[2][3], 1);
  EXPECT_EQ(m.k.atari_ue[2][3], 999);  // counted, not recorded as an attack
  EXPECT_EQ(m.k.himo_ue[3][2], 999);   // nor as a defence
}

TEST(Kiki, UpperKnightAndSilverDefendWithSquareAndUpperDragonStepsAttackWithSquare) {
  Maps m;
  m.p.ban[4][4] = KEI;
  m.p.ban[5][6] = GIN;     // defended by the knight
  m.p.ban[2][2] = RYUU;
  m.p.ban[3][3] = -KIN;    // diagonal step of the dragon
  m.run();
  EXPECT_EQ(m.k.himo_ue[5][6], 30);
  EXPECT_EQ(m.k.himo_ue_x[5][6], 4);
  EXPECT_EQ(m.k.himo_ue_y[5][6], 4);
  EXPECT_EQ(m.k.atari_ue[3][3], 901);
  EXPECT_EQ(m.k.atari_ue_x[3][3], 2);
  EXPECT_EQ(m.k.atari_ue_y[3][3], 2);
}

TEST(Kiki, KingsNeverMarkChecksAndTheUpperKingNeverAttacks) {
  Maps m;
  m.p.ban[5][5] = -OU;
  m.p.ban[5][4] = OU;
  m.run();
  EXPECT_EQ(m.k.oute_ue[5][5], 0);
  EXPECT_EQ(m.k.oute_sita[5][4], 0);
  EXPECT_EQ(m.k.atari_sita[5][4], -950);  // the lower king attacks
  EXPECT_EQ(m.k.atari_ue[5][5], 999);     // the upper king does not
  EXPECT_EQ(m.k.kiki_ue[5][5], 1);
}

TEST(Kiki, RepeatedRunsOnOnePositionGiveTheSameMaps) {
  Kyokumen p;
  p.shoki_haichi();
  Kiki a{}, b{};
  kiki_keisan(p.ban, a);
  // b first sees an unrelated position, then the same one.
  Kyokumen other;
  other.kara_ni();
  other.ban[3][3] = RYUU;
  other.ban[3][6] = -GIN;
  other.ban[7][7] = -OU;
  other.ban[7][2] = OU;
  kiki_keisan(other.ban, b);
  kiki_keisan(p.ban, b);
  EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a));
}

}  // namespace
}  // namespace mirado
