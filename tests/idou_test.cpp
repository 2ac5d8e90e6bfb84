// Movement, drops and promotion.
#include <gtest/gtest.h>

#include "rules/kyokumen.h"

namespace mirado {
namespace {

Kyokumen empty_board() {
  Kyokumen p;
  p.kara_ni();
  return p;
}

TEST(Idou, TargetsOffTheBoardAndTheSourceItselfAreNeverLegal) {
  Kyokumen p = empty_board();
  p.ban[5][5] = -RYUU;
  for (int code : {-HU, -KYOU, -GIN, -KIN, -KAKU, -RYUU, -OU, HU, UMA}) {
    EXPECT_EQ(p.idou_kanou(5, 5, 0, 5, code), nashi) << code;
    EXPECT_EQ(p.idou_kanou(5, 5, 10, 5, code), nashi) << code;
    EXPECT_EQ(p.idou_kanou(5, 5, 5, 0, code), nashi) << code;
    EXPECT_EQ(p.idou_kanou(5, 5, 5, 10, code), nashi) << code;
    EXPECT_EQ(p.idou_kanou(5, 5, 5, 5, code), nashi) << code;
  }
}

TEST(Idou, StepMoversGoWhereShogiSays) {
  Kyokumen p = empty_board();
  // Lower pieces move toward row 1, upper toward row 9.
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 4, -HU), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 6, -HU), nashi);
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 6, HU), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 4, 3, -KEI), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 6, 3, -KEI), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 6, 7, KEI), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 3, -KEI), nashi);
  // Silver: three forward and the two backward diagonals, not straight back or sideways.
  EXPECT_EQ(p.idou_kanou(5, 5, 4, 4, -GIN), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 6, 6, -GIN), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 6, -GIN), nashi);
  EXPECT_EQ(p.idou_kanou(5, 5, 4, 5, -GIN), nashi);
  EXPECT_EQ(p.idou_kanou(5, 5, 4, 6, GIN), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 4, 4, GIN), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 4, GIN), nashi);
  // Gold and the gold-movers: not the backward diagonals.
  for (int code : {-KIN, -TO, -NARIKYOU, -NARIKEI, -NARIGIN}) {
    EXPECT_EQ(p.idou_kanou(5, 5, 4, 4, code), ari) << code;
    EXPECT_EQ(p.idou_kanou(5, 5, 4, 5, code), ari) << code;
    EXPECT_EQ(p.idou_kanou(5, 5, 5, 6, code), ari) << code;
    EXPECT_EQ(p.idou_kanou(5, 5, 4, 6, code), nashi) << code;
  }
  EXPECT_EQ(p.idou_kanou(5, 5, 4, 6, KIN), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 4, 4, KIN), nashi);
  // Horse steps one square orthogonally, dragon one square diagonally.
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 4, -UMA), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 3, -UMA), nashi);
  EXPECT_EQ(p.idou_kanou(5, 5, 6, 6, RYUU), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 7, 7, RYUU), nashi);
  EXPECT_EQ(p.idou_kanou(5, 5, 6, 6, OU), ari);
  EXPECT_EQ(p.idou_kanou(5, 5, 7, 5, OU), nashi);
}

TEST(Idou, RangingPiecesCaptureTheFirstPieceButNeverJumpIt) {
  Kyokumen p = empty_board();
  p.ban[5][9] = -KYOU;
  p.ban[5][4] = HU;   // enemy: may be captured
  EXPECT_EQ(p.idou_kanou(5, 9, 5, 4, -KYOU), ari);
  EXPECT_EQ(p.idou_kanou(5, 9, 5, 3, -KYOU), nashi);
  EXPECT_EQ(p.idou_kanou(5, 9, 5, 8, -KYOU), ari);
  p.ban[5][6] = -HU;  // own piece between blocks
  EXPECT_EQ(p.idou_kanou(5, 9, 5, 4, -KYOU), nashi);
  EXPECT_EQ(p.idou_kanou(5, 9, 5, 6, -KYOU), nashi);  // own piece on the target

  p = empty_board();
  p.ban[1][1] = HISHA;
  p.ban[1][5] = -HU;
  EXPECT_EQ(p.idou_kanou(1, 1, 1, 5, HISHA), ari);
  EXPECT_EQ(p.idou_kanou(1, 1, 1, 6, HISHA), nashi);
  EXPECT_EQ(p.idou_kanou(1, 1, 9, 1, HISHA), ari);
  EXPECT_EQ(p.idou_kanou(1, 1, 2, 2, HISHA), nashi);

  p = empty_board();
  p.ban[2][8] = -KAKU;
  EXPECT_EQ(p.idou_kanou(2, 8, 8, 2, -KAKU), ari);
  EXPECT_EQ(p.idou_kanou(2, 8, 1, 9, -KAKU), ari);
  EXPECT_EQ(p.idou_kanou(2, 8, 9, 2, -KAKU), nashi);  // off the diagonal
  p.ban[5][5] = KIN;  // either side blocks
  EXPECT_EQ(p.idou_kanou(2, 8, 5, 5, -KAKU), ari);
  EXPECT_EQ(p.idou_kanou(2, 8, 6, 4, -KAKU), nashi);
  EXPECT_EQ(p.idou_kanou(2, 8, 6, 4, -UMA), nashi);
}

TEST(Idou, CapturesOfAnyEnemyPieceAndExposedKingsPassTheMovementTest) {
  Kyokumen p = empty_board();
  p.ban[5][5] = -OU;
  p.ban[5][4] = OU;
  p.ban[5][1] = HISHA;
  EXPECT_EQ(p.idou_kanou(5, 5, 5, 4, -OU), ari);   // king takes king
  EXPECT_EQ(p.idou_kanou(5, 5, 4, 5, -OU), ari);   // into an attacked square
}

TEST(Idou, DropsNeedAnEmptySquareAndKeepTheLastRankAndTwoPawnRules) {
  Kyokumen p = empty_board();
  p.ban[3][7] = -HU;
  p.ban[4][5] = -TO;
  p.ban[6][3] = HU;
  p.shiage();
  EXPECT_EQ(p.idou_kanou(TE_SITA, 3, 3, 5, -HU), nashi);  // second pawn in column 3
  EXPECT_EQ(p.idou_kanou(TE_SITA, 3, 4, 6, -HU), ari);    // a tokin does not count
  EXPECT_EQ(p.idou_kanou(TE_SITA, 3, 6, 5, -HU), ari);    // an enemy pawn does not count
  EXPECT_EQ(p.idou_kanou(TE_SITA, 3, 5, 1, -HU), nashi);
  EXPECT_EQ(p.idou_kanou(TE_SITA, 4, 5, 1, -KYOU), nashi);
  EXPECT_EQ(p.idou_kanou(TE_SITA, 4, 5, 2, -KYOU), ari);
  EXPECT_EQ(p.idou_kanou(TE_SITA, 5, 5, 2, -KEI), nashi);
  EXPECT_EQ(p.idou_kanou(TE_SITA, 5, 5, 3, -KEI), ari);
  EXPECT_EQ(p.idou_kanou(TE_UE, 3, 5, 7, KEI), ari);
  EXPECT_EQ(p.idou_kanou(TE_UE, 3, 5, 8, KEI), nashi);
  EXPECT_EQ(p.idou_kanou(TE_UE, 1, 5, 9, HU), nashi);
  EXPECT_EQ(p.idou_kanou(TE_UE, 1, 6, 5, HU), nashi);     // upper pawn already in column 6
  for (int code : {-GIN, -KIN, -KAKU, -HISHA}) {
    EXPECT_EQ(p.idou_kanou(TE_SITA, 3, 5, 1, code), ari) << code;
    EXPECT_EQ(p.idou_kanou(TE_SITA, 3, 3, 7, code), nashi) << code;  // occupied
  }
  // The pawn taken off the board frees its column.
  p.oku(3, 7, kara);
  EXPECT_EQ(p.idou_kanou(TE_SITA, 3, 3, 5, -HU), ari);
}

TEST(Nari, ZonesForcedAndOptionalPromotion) {
  int nari = 12345;
  EXPECT_EQ(naru_kanou(3, 3, 4, -GIN, nari), ari);  // leaving the zone
  EXPECT_EQ(nari, -NARIGIN);
  EXPECT_EQ(naru_kanou(3, 4, 3, -HU, nari), ari);
  EXPECT_EQ(nari, -TO);
  EXPECT_EQ(narazu_kanou(1, -HU), nashi);
  EXPECT_EQ(narazu_kanou(2, -HU), ari);
  EXPECT_EQ(narazu_kanou(2, -KEI), nashi);
  EXPECT_EQ(narazu_kanou(7, KEI), ari);
  EXPECT_EQ(narazu_kanou(8, KEI), nashi);
  EXPECT_EQ(narazu_kanou(9, KYOU), nashi);
  EXPECT_EQ(naru_kanou(5, 6, 7, KEI, nari), ari);
  EXPECT_EQ(nari, NARIKEI);
  nari = 777;
  EXPECT_EQ(naru_kanou(5, 5, 4, -HU, nari), nashi);
  EXPECT_EQ(nari, 777);  // left alone on a no
  for (int code : {-KIN, KIN, -OU, OU, -TO, RYUU, -UMA, NARIGIN})
    EXPECT_EQ(naru_kanou(5, 2, 1, code, nari), nashi) << code;
  EXPECT_EQ(naru_kanou(TE_SITA, 3, 1, -HISHA, nari), nashi);  // drops never promote
  EXPECT_EQ(naru_kanou(TE_UE, 3, 9, HISHA, nari), nashi);
  EXPECT_EQ(naru_kanou(2, 7, 8, KAKU, nari), ari);
  EXPECT_EQ(naru_kanou(2, 7, 4, KAKU, nari), ari);  // from inside the zone
  EXPECT_EQ(naru_kanou(2, 5, 6, KAKU, nari), nashi);
}

TEST(Kyokumen, StartingPositionHasFortyPiecesAndEmptyHands) {
  Kyokumen p;
  p.shoki_haichi();
  int n = 0;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) n += p.ban[c][r] != kara;
  EXPECT_EQ(n, 40);
  EXPECT_EQ(p.ban[2][8], -KAKU);
  EXPECT_EQ(p.ban[8][8], -HISHA);
  EXPECT_EQ(p.ban[2][2], HISHA);
  EXPECT_EQ(p.ban[8][2], KAKU);
  EXPECT_EQ(p.ban[5][9], -OU);
  EXPECT_EQ(p.mochigoma_su_sita + p.mochigoma_su_ue, 0);
}

}  // namespace
}  // namespace mirado
