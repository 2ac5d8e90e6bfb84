// LEVEL4's static assessment (keisei), by what it prefers: each case compares two
// positions with the same pieces that differ in one thing only, so a term read the wrong
// way round shows whatever its weight.
#include <gtest/gtest.h>

#include "engine/yomi.h"
#include "rules/kiki.h"

namespace mirado {
namespace {

// Kings in opposite corners, far from everything the cases place.
Kyokumen kings_apart() {
  Kyokumen p;
  p.kara_ni();
  p.ban[9][1] = OU;
  p.ban[1][9] = -OU;
  return p;
}

// The assessment from the lower side's view (it moves next), of a position whose squares
// the case wrote.
int assess(Kyokumen p) {
  p.shiage();
  return keisei(p);
}

TEST(Keisei, AnAttackedPieceLeftUndefendedIsWorthLessToItsOwner) {
  // The upper silver on (5, 4) is attacked by the lower pawn on (5, 5); the upper gold
  // guards it from (5, 3), or stands on (7, 3) where it guards nothing.
  Kyokumen ue = kings_apart();
  ue.ban[5][4] = GIN;
  ue.ban[5][5] = -HU;
  Kyokumen ue_guarded = ue, ue_hanging = ue;
  ue_guarded.ban[5][3] = KIN;
  ue_hanging.ban[7][3] = KIN;
  EXPECT_GT(assess(ue_hanging), assess(ue_guarded));

  // The lower silver on (5, 5) is attacked by the upper pawn on (5, 4); the lower gold
  // guards it from (5, 6), or stands on (3, 7).
  Kyokumen sita = kings_apart();
  sita.ban[5][5] = -GIN;
  sita.ban[5][4] = HU;
  Kyokumen sita_guarded = sita, sita_hanging = sita;
  sita_guarded.ban[5][6] = -KIN;
  sita_hanging.ban[3][7] = -KIN;
  EXPECT_LT(assess(sita_hanging), assess(sita_guarded));
}

TEST(Keisei, AKingTheOpponentReachesAroundIsInDanger) {
  // A lower gold two rows in front of the upper king reaches the three squares before it
  // (no check); the same gold in the middle of the board reaches nothing near a king.
  Kyokumen ue_near = kings_apart(), ue_far = kings_apart();
  ue_near.ban[9][3] = -KIN;
  ue_far.ban[5][5] = -KIN;
  EXPECT_GT(assess(ue_near), assess(ue_far)) << "the upper king hemmed in is good for the lower side";

  // The same for the lower king, which moves next: its danger counts against it.
  Kyokumen sita_near = kings_apart(), sita_far = kings_apart();
  sita_near.ban[1][7] = KIN;
  sita_far.ban[5][5] = KIN;
  EXPECT_LT(assess(sita_near), assess(sita_far)) << "its own king hemmed in is bad for the lower side";
}

}  // namespace
}  // namespace mirado
