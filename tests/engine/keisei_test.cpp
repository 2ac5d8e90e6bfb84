// The static assessments, by what they prefer: LEVEL4's (keisei) case by case, each
// comparing two positions that differ in one thing only, so a term read the wrong way
// round shows whatever its weight; LEVEL5's (keisei5) by its symmetry over real middle
// games and by the worth of every piece to its owner.
#include <gtest/gtest.h>

#include "bench_positions.h"
#include "engine/keisei.h"
#include "rules/ikisaki.h"
#include "rules/kiki.h"
#include "rules/ugoki.h"

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

// The bench's middle games, and every position one capture away from them by either
// side (pieces in hand, promoted pieces, kings under attack).
std::vector<Kyokumen> middle_games_and_captures() {
  std::vector<Kyokumen> out;
  for (Kyokumen p : test::bench_positions()) {
    out.push_back(p);
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r) {
        const int code = p.ban[c][r];
        if (!is_koma(code)) continue;
        for (Masume to = ikisaki(p, c, r, code); !to.kara();) {
          int tc, tr;
          to.toridasu(tc, tr);
          const int victim = p.ban[tc][tr];
          if (victim == kara || koma_abs(victim) == OU) continue;
          const TeModoshi u = do_move(p, Te{c, r, tc, tr, code});
          out.push_back(p);
          undo_move(p, u);
        }
      }
  }
  return out;
}

TEST(Keisei5, TurningTheBoardRoundTurnsTheSignOfEveryFeature) {
  const std::vector<Kyokumen> positions = middle_games_and_captures();
  ASSERT_GT(positions.size(), 500u);
  int hands = 0;
  for (const Kyokumen& p : positions) {
    const Kyokumen q = kaiten(p);
    int a[KEISEI_SO_SU], b[KEISEI_SO_SU];
    keisei_so(p, a);
    keisei_so(q, b);
    for (int i = 0; i < KEISEI_SO_SU; ++i) ASSERT_EQ(a[i], -b[i]) << "feature " << i;
    ASSERT_EQ(keisei_sa(p), -keisei_sa(q));
    if (p.mochigoma_su_sita + p.mochigoma_su_ue > 0) ++hands;
  }
  EXPECT_GT(hands, 400) << "the captures put pieces in hand";
}

TEST(Keisei5, EveryPieceIsWorthSomethingToItsOwner) {
  const Kyokumen base = kings_apart();
  const int kinds[] = {HU, TO, KYOU, NARIKYOU, KEI, NARIKEI, GIN, NARIGIN, KIN, KAKU, UMA, HISHA, RYUU};
  for (int kind : kinds) {
    Kyokumen sita = base, ue = base;
    sita.ban[5][5] = -kind;  // the middle, where neither king is near
    ue.ban[5][5] = kind;
    sita.shiage();
    ue.shiage();
    EXPECT_GT(keisei_sa(sita), keisei_sa(base)) << "lower " << kind;
    EXPECT_LT(keisei_sa(ue), keisei_sa(base)) << "upper " << kind;
  }
  for (int slot = 1; slot <= 7; ++slot) {
    Kyokumen sita = base, ue = base;
    sita.mochigoma_sita[slot] = 1;
    ue.mochigoma_ue[slot] = 1;
    sita.shiage();
    ue.shiage();
    EXPECT_GT(keisei_sa(sita), keisei_sa(base)) << "lower hand " << slot;
    EXPECT_LT(keisei_sa(ue), keisei_sa(base)) << "upper hand " << slot;
  }
}

}  // namespace
}  // namespace mirado
