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
    EXPECT_FALSE(p.idou_kanou(5, 5, 0, 5, code)) << code;
    EXPECT_FALSE(p.idou_kanou(5, 5, 10, 5, code)) << code;
    EXPECT_FALSE(p.idou_kanou(5, 5, 5, 0, code)) << code;
    EXPECT_FALSE(p.idou_kanou(5, 5, 5, 10, code)) << code;
    EXPECT_FALSE(p.idou_kanou(5, 5, 5, 5, code)) << code;
  }
}

TEST(Idou, StepMoversGoWhereShogiSays) {
  Kyokumen p = empty_board();
  // Lower pieces move toward row 1, upper toward row 9.
  EXPECT_TRUE(p.idou_kanou(5, 5, 5, 4, -HU));
  EXPECT_FALSE(p.idou_kanou(5, 5, 5, 6, -HU));
  EXPECT_TRUE(p.idou_kanou(5, 5, 5, 6, HU));
  EXPECT_TRUE(p.idou_kanou(5, 5, 4, 3, -KEI));
  EXPECT_TRUE(p.idou_kanou(5, 5, 6, 3, -KEI));
  EXPECT_TRUE(p.idou_kanou(5, 5, 6, 7, KEI));
  EXPECT_FALSE(p.idou_kanou(5, 5, 5, 3, -KEI));
  // Silver: three forward and the two backward diagonals, not straight back or sideways.
  EXPECT_TRUE(p.idou_kanou(5, 5, 4, 4, -GIN));
  EXPECT_TRUE(p.idou_kanou(5, 5, 6, 6, -GIN));
  EXPECT_FALSE(p.idou_kanou(5, 5, 5, 6, -GIN));
  EXPECT_FALSE(p.idou_kanou(5, 5, 4, 5, -GIN));
  EXPECT_TRUE(p.idou_kanou(5, 5, 4, 6, GIN));
  EXPECT_TRUE(p.idou_kanou(5, 5, 4, 4, GIN));
  EXPECT_FALSE(p.idou_kanou(5, 5, 5, 4, GIN));
  // Gold and the gold-movers: not the backward diagonals.
  for (int code : {-KIN, -TO, -NARIKYOU, -NARIKEI, -NARIGIN}) {
    EXPECT_TRUE(p.idou_kanou(5, 5, 4, 4, code)) << code;
    EXPECT_TRUE(p.idou_kanou(5, 5, 4, 5, code)) << code;
    EXPECT_TRUE(p.idou_kanou(5, 5, 5, 6, code)) << code;
    EXPECT_FALSE(p.idou_kanou(5, 5, 4, 6, code)) << code;
  }
  EXPECT_TRUE(p.idou_kanou(5, 5, 4, 6, KIN));
  EXPECT_FALSE(p.idou_kanou(5, 5, 4, 4, KIN));
  // Horse steps one square orthogonally, dragon one square diagonally.
  EXPECT_TRUE(p.idou_kanou(5, 5, 5, 4, -UMA));
  EXPECT_FALSE(p.idou_kanou(5, 5, 5, 3, -UMA));
  EXPECT_TRUE(p.idou_kanou(5, 5, 6, 6, RYUU));
  EXPECT_FALSE(p.idou_kanou(5, 5, 7, 7, RYUU));
  EXPECT_TRUE(p.idou_kanou(5, 5, 6, 6, OU));
  EXPECT_FALSE(p.idou_kanou(5, 5, 7, 5, OU));
}

TEST(Idou, RangingPiecesCaptureTheFirstPieceButNeverJumpIt) {
  Kyokumen p = empty_board();
  p.ban[5][9] = -KYOU;
  p.ban[5][4] = HU;   // enemy: may be captured
  EXPECT_TRUE(p.idou_kanou(5, 9, 5, 4, -KYOU));
  EXPECT_FALSE(p.idou_kanou(5, 9, 5, 3, -KYOU));
  EXPECT_TRUE(p.idou_kanou(5, 9, 5, 8, -KYOU));
  p.ban[5][6] = -HU;  // own piece between blocks
  EXPECT_FALSE(p.idou_kanou(5, 9, 5, 4, -KYOU));
  EXPECT_FALSE(p.idou_kanou(5, 9, 5, 6, -KYOU));  // own piece on the target

  p = empty_board();
  p.ban[1][1] = HISHA;
  p.ban[1][5] = -HU;
  EXPECT_TRUE(p.idou_kanou(1, 1, 1, 5, HISHA));
  EXPECT_FALSE(p.idou_kanou(1, 1, 1, 6, HISHA));
  EXPECT_TRUE(p.idou_kanou(1, 1, 9, 1, HISHA));
  EXPECT_FALSE(p.idou_kanou(1, 1, 2, 2, HISHA));

  p = empty_board();
  p.ban[2][8] = -KAKU;
  EXPECT_TRUE(p.idou_kanou(2, 8, 8, 2, -KAKU));
  EXPECT_TRUE(p.idou_kanou(2, 8, 1, 9, -KAKU));
  EXPECT_FALSE(p.idou_kanou(2, 8, 9, 2, -KAKU));  // off the diagonal
  p.ban[5][5] = KIN;  // either side blocks
  EXPECT_TRUE(p.idou_kanou(2, 8, 5, 5, -KAKU));
  EXPECT_FALSE(p.idou_kanou(2, 8, 6, 4, -KAKU));
  EXPECT_FALSE(p.idou_kanou(2, 8, 6, 4, -UMA));
}

TEST(Idou, CapturesOfAnyEnemyPieceAndExposedKingsPassTheMovementTest) {
  Kyokumen p = empty_board();
  p.ban[5][5] = -OU;
  p.ban[5][4] = OU;
  p.ban[5][1] = HISHA;
  EXPECT_TRUE(p.idou_kanou(5, 5, 5, 4, -OU));   // king takes king
  EXPECT_TRUE(p.idou_kanou(5, 5, 4, 5, -OU));   // into an attacked square
}

TEST(Idou, DropsNeedAnEmptySquareAndKeepTheLastRankAndTwoPawnRules) {
  Kyokumen p = empty_board();
  p.ban[3][7] = -HU;
  p.ban[4][5] = -TO;
  p.ban[6][3] = HU;
  p.shiage();
  EXPECT_FALSE(p.idou_kanou(TE_SITA, 3, 3, 5, -HU));  // second pawn in column 3
  EXPECT_TRUE(p.idou_kanou(TE_SITA, 3, 4, 6, -HU));    // a tokin does not count
  EXPECT_TRUE(p.idou_kanou(TE_SITA, 3, 6, 5, -HU));    // an enemy pawn does not count
  EXPECT_FALSE(p.idou_kanou(TE_SITA, 3, 5, 1, -HU));
  EXPECT_FALSE(p.idou_kanou(TE_SITA, 4, 5, 1, -KYOU));
  EXPECT_TRUE(p.idou_kanou(TE_SITA, 4, 5, 2, -KYOU));
  EXPECT_FALSE(p.idou_kanou(TE_SITA, 5, 5, 2, -KEI));
  EXPECT_TRUE(p.idou_kanou(TE_SITA, 5, 5, 3, -KEI));
  EXPECT_TRUE(p.idou_kanou(TE_UE, 3, 5, 7, KEI));
  EXPECT_FALSE(p.idou_kanou(TE_UE, 3, 5, 8, KEI));
  EXPECT_FALSE(p.idou_kanou(TE_UE, 1, 5, 9, HU));
  EXPECT_FALSE(p.idou_kanou(TE_UE, 1, 6, 5, HU));     // upper pawn already in column 6
  for (int code : {-GIN, -KIN, -KAKU, -HISHA}) {
    EXPECT_TRUE(p.idou_kanou(TE_SITA, 3, 5, 1, code)) << code;
    EXPECT_FALSE(p.idou_kanou(TE_SITA, 3, 3, 7, code)) << code;  // occupied
  }
  // The pawn taken off the board frees its column.
  p.oku(3, 7, kara);
  EXPECT_TRUE(p.idou_kanou(TE_SITA, 3, 3, 5, -HU));
}

TEST(Nari, ZonesForcedAndOptionalPromotion) {
  int nari = 12345;
  EXPECT_TRUE(naru_kanou(3, 3, 4, -GIN, nari));  // leaving the zone
  EXPECT_EQ(nari, -NARIGIN);
  EXPECT_TRUE(naru_kanou(3, 4, 3, -HU, nari));
  EXPECT_EQ(nari, -TO);
  EXPECT_FALSE(narazu_kanou(1, -HU));
  EXPECT_TRUE(narazu_kanou(2, -HU));
  EXPECT_FALSE(narazu_kanou(2, -KEI));
  EXPECT_TRUE(narazu_kanou(7, KEI));
  EXPECT_FALSE(narazu_kanou(8, KEI));
  EXPECT_FALSE(narazu_kanou(9, KYOU));
  EXPECT_TRUE(naru_kanou(5, 6, 7, KEI, nari));
  EXPECT_EQ(nari, NARIKEI);
  nari = 777;
  EXPECT_FALSE(naru_kanou(5, 5, 4, -HU, nari));
  EXPECT_EQ(nari, 777);  // left alone on a no
  for (int code : {-KIN, KIN, -OU, OU, -TO, RYUU, -UMA, NARIGIN})
    EXPECT_FALSE(naru_kanou(5, 2, 1, code, nari)) << code;
  EXPECT_FALSE(naru_kanou(TE_SITA, 3, 1, -HISHA, nari));  // drops never promote
  EXPECT_FALSE(naru_kanou(TE_UE, 3, 9, HISHA, nari));
  EXPECT_TRUE(naru_kanou(2, 7, 8, KAKU, nari));
  EXPECT_TRUE(naru_kanou(2, 7, 4, KAKU, nari));  // from inside the zone
  EXPECT_FALSE(naru_kanou(2, 5, 6, KAKU, nari));
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
