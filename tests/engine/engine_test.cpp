// The computer player's search set-up, trials, evaluation and piece rules on positions
// built for each rule, and properties checked over the recorded positions.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench_positions.h"
#include "engine/hyouka.h"
#include "engine/tansaku.h"
#include "kyokumen_kensa.h"
#include "rules/sfen.h"

namespace mirado {
namespace {

using test::same_position;

// A position built square by square; both kings must be placed by the test.
struct Pos {
  Kyokumen p;
  Pos() { p.kara_ni(); }
  Pos& at(int c, int r, int code) {
    p.oku(c, r, code);
    return *this;
  }
  Pos& ue(int slot, int n) {
    p.mochigoma_ue[slot] = n;
    p.shiage();
    return *this;
  }
  Pos& sita(int slot, int n) {
    p.mochigoma_sita[slot] = n;
    p.shiage();
    return *this;
  }
};

struct Kekka {
  Sashite best;
  std::vector<Kouho> c;  // every scored trial, in order
  Kyokumen after;        // the position after the search (must equal the one before)
};

Kekka run(const Kyokumen& p0, int level, Dankai t, int ix = 0, int iy = 0, int nx = 0, int ny = 0) {
  Kekka r;
  r.after = p0;
  std::vector<Kouho> buf(KOUHO_MAX);
  KouhoKiroku log{buf.data(), KOUHO_MAX};
  r.best = tansaku(r.after, level, t, ix, iy, nx, ny, &log);
  buf.resize(static_cast<std::size_t>(log.n));
  r.c = buf;
  return r;
}

// The score of one trial; fails the test when the search did not score it.
int score(const Kekka& r, int fc, int fr, int tc, int tr, int koma) {
  for (const Kouho& k : r.c)
    if (k.te.fc == fc && k.te.fr == fr && k.te.tc == tc && k.te.tr == tr && k.te.koma == koma) return k.score;
  ADD_FAILURE() << "no trial " << fc << "," << fr << " -> " << tc << "," << tr << " as " << koma;
  return -12345678;
}

bool scored(const Kekka& r, int fc, int fr, int tc, int tr) {
  for (const Kouho& k : r.c)
    if (k.te.fc == fc && k.te.fr == fr && k.te.tc == tc && k.te.tr == tr) return true;
  return false;
}

// What the piece rules added to one trial: level 2 returns just before them,
// level 3 runs them, everything before is the same.
int piece_rules(const Kyokumen& p, Dankai t, int fc, int fr, int tc, int tr, int koma) {
  return score(run(p, 3, t), fc, fr, tc, tr, koma) - score(run(p, 2, t), fc, fr, tc, tr, koma);
}

// ---------------------------------------------------------------------------------------
// Decisive scores

TEST(Hyouka, CapturingTheLowerKingScores9999AndStopsTheSearch) {
  Pos s;
  s.at(5, 1, OU).at(5, 5, HISHA).at(5, 8, -OU).at(1, 9, -KYOU).ue(5, 1);
  for (int level = 1; level <= 3; ++level) {
    const Kekka r = run(s.p, level, Dankai::ichi);
    ASSERT_TRUE(r.best.ari);
    EXPECT_EQ(r.best.score, 99990);
    EXPECT_EQ(r.best.te.fc, 5);
    EXPECT_EQ(r.best.te.tc, 5);
    EXPECT_EQ(r.best.te.tr, 8);
    EXPECT_EQ(r.best.te.koma, RYUU);  // an optional promotion of a rook is always taken
    // The optional promotion gives two trials, the unpromoted first; nothing after them:
    // no later board move, no drop although the upper hand holds a gold.
    ASSERT_GE(r.c.size(), 2u);
    const Kouho& a = r.c[r.c.size() - 2];
    const Kouho& b = r.c.back();
    EXPECT_EQ(a.te.koma, HISHA);
    EXPECT_EQ(b.te.koma, RYUU);
    EXPECT_EQ(a.score, 99990);
    EXPECT_EQ(b.score, 99990);
    EXPECT_EQ(b.te.tr, 8);
    for (const Kouho& k : r.c) EXPECT_NE(k.te.fc, TE_UE);
  }
}

TEST(Hyouka, LeavingTheUpperKingAttackedScoresMinus9998BeforeAnyCheckBonus) {
  // The gold shields the upper king from the lower rook; moving it aside also gives check
  // to nothing, and moving it along the column keeps the shield.
  Pos s;
  s.at(5, 1, OU).at(5, 2, KIN).at(5, 9, -HISHA).at(1, 9, -OU);
  const Kekka r = run(s.p, 3, Dankai::ichi);
  EXPECT_EQ(score(r, 5, 2, 4, 3, KIN), -99980);
  EXPECT_EQ(score(r, 5, 2, 6, 2, KIN), -99980);
  EXPECT_NE(score(r, 5, 2, 5, 3, KIN), -99980);
  // A move that checks the lower king but leaves the upper king attacked: still -9998.
  Pos c;
  c.at(5, 1, OU).at(5, 2, KIN).at(5, 9, -HISHA).at(3, 9, -OU).at(4, 6, KIN);
  const Kekka rc = run(c.p, 3, Dankai::ichi);
  EXPECT_EQ(score(rc, 5, 2, 4, 3, KIN), -99980);
}

// Lower king in the corner, walled in by its own silver and knight; an upper gold on
// (2, 7) guards (1, 8). A piece dropped on (1, 8) gives mate; no board move does.
Pos mate_position(int hand_slot) {
  Pos s;
  s.at(9, 1, OU).at(1, 9, -OU).at(2, 8, -GIN).at(2, 9, -KEI).at(2, 7, KIN).ue(hand_slot, 1);
  return s;
}

TEST(Hyouka, AMatingDropScores9998AndEndsTheSearch) {
  const Kekka r = run(mate_position(5).p, 3, Dankai::ichi);
  ASSERT_TRUE(r.best.ari);
  EXPECT_EQ(r.best.te.fc, TE_UE);
  EXPECT_EQ(r.best.te.fr, 5);
  EXPECT_EQ(r.best.te.tc, 1);
  EXPECT_EQ(r.best.te.tr, 8);
  EXPECT_EQ(r.best.score, 99980);
  // Early stop: the mating drop is the last trial.
  const Kouho& last = r.c.back();
  EXPECT_EQ(last.te.tc, 1);
  EXPECT_EQ(last.te.tr, 8);
  EXPECT_EQ(last.score, 99980);
}

TEST(Hyouka, AMatingPawnScoresMinus9998) {
  const Kekka r = run(mate_position(1).p, 3, Dankai::ichi);
  EXPECT_EQ(score(r, TE_UE, 1, 1, 8, HU), -99980);
  EXPECT_FALSE(r.best.te.fc == TE_UE && r.best.te.tc == 1 && r.best.te.tr == 8);
}

// ---------------------------------------------------------------------------------------
// Levels

TEST(Hyouka, Level1ScoresACaptureWithoutThePieceValueLevel2WithoutPieceRules) {
  // An upper silver takes an undefended lower gold; a quiet knight move beside it.
  Pos s;
  s.at(5, 1, OU).at(5, 9, -OU).at(3, 3, GIN).at(3, 4, -KIN).at(8, 1, KEI);
  const Kekka l1 = run(s.p, 1, Dankai::ichi), l2 = run(s.p, 2, Dankai::ichi), l3 = run(s.p, 3, Dankai::ichi);
  // The captured gold's value counts at levels 2 and 3 only.
  EXPECT_EQ(score(l2, 3, 3, 3, 4, GIN) - score(l1, 3, 3, 3, 4, GIN), 1100);
  // Level 3 adds the silver's rules on top of level 2 (here: straight forward, -0.1).
  EXPECT_EQ(score(l3, 3, 3, 3, 4, GIN) - score(l2, 3, 3, 3, 4, GIN), -1);
  // A quiet move: levels 1 and 3 both run the piece rules, level 2 does not.
  EXPECT_EQ(score(l1, 8, 1, 7, 3, KEI), score(l3, 8, 1, 7, 3, KEI));
  EXPECT_EQ(score(l3, 8, 1, 7, 3, KEI) - score(l2, 8, 1, 7, 3, KEI), -1);
  // The levels choose differently here: level 1 sees no gain in the capture.
  EXPECT_EQ(l2.best.te.tc, 3);
  EXPECT_EQ(l2.best.te.tr, 4);
  EXPECT_EQ(l3.best.te.tc, 3);
  EXPECT_EQ(l3.best.te.tr, 4);
}

TEST(Hyouka, LevelsPickDifferentMovesInTheStartingPosition) {
  Kyokumen p;
  p.shoki_haichi();
  const Kekka l1 = run(p, 1, Dankai::ichi), l2 = run(p, 2, Dankai::ichi), l3 = run(p, 3, Dankai::ichi);
  // Level 3 and 1 play the pawn to (7, 4) beside the bishop's diagonal (+10 for it);
  // level 2, without piece rules, plays the first of its equals.
  EXPECT_EQ(l3.best.te.fc, 7);
  EXPECT_EQ(l3.best.te.tr, 4);
  EXPECT_EQ(l3.best.score, 100);
  EXPECT_EQ(l1.best.score, 100);
  EXPECT_NE(l2.best.te.fc, 7);
}

// ---------------------------------------------------------------------------------------
// Piece rules, each on a position built for it. Level 2 stops just before the piece
// rules and level 3 runs them, so the two levels side by side show what a rule does.

// One move of the upper side and the position it is played in.
struct Rei {
  const char* name;
  Kyokumen p;
  int fc, fr, tc, tr, koma;
};

bool plays(const Kekka& r, const Rei& m) {
  return r.best.ari && r.best.te.fc == m.fc && r.best.te.fr == m.fr && r.best.te.tc == m.tc && r.best.te.tr == m.tr &&
         r.best.te.koma == m.koma;
}

int rules_of(const Rei& m) { return piece_rules(m.p, Dankai::ichi, m.fc, m.fr, m.tc, m.tr, m.koma); }

// The piece rules alone decide whether the move is played: level 3 plays it and level 2
// does not when they reward it, and the other way round when they penalise it.
void decides(const Rei& m, bool reward) {
  SCOPED_TRACE(m.name);
  const int v = rules_of(m);
  EXPECT_TRUE(reward ? v > 0 : v < 0) << v;
  EXPECT_EQ(plays(run(m.p, 3, Dankai::ichi), m), reward);
  EXPECT_EQ(plays(run(m.p, 2, Dankai::ichi), m), !reward);
}

TEST(PieceRules, ARewardMakesTheSearchPlayTheMove) {
  const std::vector<Rei> rewarded = {
      {"pawn to (7, 4) opening the bishop",  //
       Pos().at(5, 1, OU).at(8, 2, KAKU).at(7, 3, HU).at(5, 9, -OU).p, 7, 3, 7, 4, HU},
      {"pawn dropped in front of a lower rook",
       Pos().at(5, 1, OU).at(3, 4, KIN).at(3, 8, -HISHA).at(5, 9, -OU).ue(1, 1).p, TE_UE, 1, 3, 5, HU},
      {"defended pawn facing a lower silver",
       Pos().at(5, 1, OU).at(4, 4, HU).at(4, 6, -GIN).at(3, 4, KIN).at(9, 9, -OU).p, 4, 4, 4, 5, HU},
      {"lance dropped above a piece with a rook behind",
       Pos().at(5, 1, OU).at(1, 5, -KEI).at(1, 8, -HISHA).at(9, 9, -OU).ue(2, 1).p, TE_UE, 2, 1, 4, KYOU},
      {"silver to (7, 3)",  //
       Pos().at(5, 1, OU).at(6, 2, GIN).at(8, 3, HU).at(8, 5, -HU).at(9, 9, -OU).p, 6, 2, 7, 3, GIN},
      {"silver straight on against a lower silver on row 5",
       Pos().at(5, 1, OU).at(4, 3, GIN).at(8, 5, -GIN).at(1, 9, -OU).p, 4, 3, 4, 4, GIN},
      {"gold to row 2 guarding against a bishop drop",
       Pos().at(9, 1, OU).at(4, 1, KIN).at(4, 3, HU).at(4, 4, KAKU).at(1, 9, -OU).sita(6, 1).p,  //
       4, 1, 4, 2, KIN},
  };
  for (const Rei& m : rewarded) decides(m, true);
}

TEST(PieceRules, APenaltyMakesTheSearchLeaveTheMove) {
  const std::vector<Rei> penalised = {
      {"knight whose square in front the lower side reaches",
       Pos().at(5, 1, OU).at(3, 1, KEI).at(2, 5, -HU).at(9, 9, -OU).p, 3, 1, 2, 3, KEI},
      {"king up the board", Pos().at(5, 3, OU).at(9, 9, -OU).p, 5, 3, 4, 4, OU},
  };
  for (const Rei& m : penalised) decides(m, false);
}

// Rules that do not change the move played in their position: which way they push.
TEST(PieceRules, WhichWayTheOtherRulesPush) {
  const std::vector<Rei> up = {
      {"tokin defended as often as attacked",  //
       Pos().at(5, 1, OU).at(4, 6, HU).at(9, 9, -OU).p, 4, 6, 4, 7, TO},
      {"lance taking a defended lance",
       Pos().at(5, 1, OU).at(1, 3, KYOU).at(1, 6, -KYOU).at(2, 7, -KIN).at(9, 9, -OU).p, 1, 3, 1, 6, KYOU},
      {"pawn dropped below a strong piece",
       Pos().at(5, 1, OU).at(3, 4, KAKU).at(5, 9, -OU).ue(1, 1).sita(1, 1).p, TE_UE, 1, 3, 5, HU},
      {"rook to (3, 4) against the bishop's pawn",
       Pos().at(1, 1, OU).at(3, 1, HISHA).at(3, 6, -HU).at(3, 7, -KAKU).at(9, 9, -OU).p, 3, 1, 3, 4, HISHA},
      {"rook close to the lower king",  //
       Pos().at(9, 1, OU).at(5, 2, HISHA).at(5, 9, -OU).p, 5, 2, 5, 7, HISHA},
      {"dragon close to the lower king",  //
       Pos().at(9, 1, OU).at(5, 2, RYUU).at(5, 9, -OU).p, 5, 2, 5, 7, RYUU},
      {"king beside a pinned shield",  //
       Pos().at(5, 1, OU).at(5, 2, KIN).at(5, 9, -HISHA).at(1, 9, -OU).p, 5, 1, 4, 1, OU},
  };
  const std::vector<Rei> down = {
      {"quiet lance move", Pos().at(5, 1, OU).at(1, 1, KYOU).at(9, 9, -OU).p, 1, 1, 1, 2, KYOU},
      {"knight to (7, 3) in front of its bishop",
       Pos().at(5, 1, OU).at(8, 1, KEI).at(8, 4, KAKU).at(9, 9, -OU).p, 8, 1, 7, 3, KEI},
      {"pawn facing a lower pawn",
       Pos().at(5, 1, OU).at(4, 4, HU).at(4, 6, -HU).at(3, 4, KIN).at(9, 9, -OU).p, 4, 4, 4, 5, HU},
      {"bishop dropped beside a rook",  //
       Pos().at(9, 1, OU).at(5, 4, HISHA).at(1, 9, -OU).ue(6, 1).p, TE_UE, 6, 5, 5, KAKU},
      {"bishop dropped low without a way out",
       Pos().at(9, 1, OU).at(4, 7, HU).at(6, 7, HU).at(1, 9, -OU).ue(6, 1).p, TE_UE, 6, 5, 8, KAKU},
      {"horse beside a rook",  //
       Pos().at(9, 1, OU).at(1, 5, KAKU).at(2, 7, HISHA).at(9, 9, -OU).p, 1, 5, 3, 7, UMA},
      {"gold dropped diagonally forward",  //
       Pos().at(9, 1, OU).at(1, 9, -OU).ue(5, 1).p, TE_UE, 5, 5, 7, KIN},
  };
  for (const Rei& m : up) {
    SCOPED_TRACE(m.name);
    EXPECT_GT(rules_of(m), 0);
  }
  for (const Rei& m : down) {
    SCOPED_TRACE(m.name);
    EXPECT_LT(rules_of(m), 0);
  }
}

TEST(PieceRules, TheKingWeighsEachRowUpTheBoardMore) {
  // The king on (5, 5) with nothing near it: rows 4, 5 and 6 beside it, on file 4.
  const Kyokumen p = Pos().at(5, 5, OU).at(9, 9, -OU).p;
  const int r4 = piece_rules(p, Dankai::ichi, 5, 5, 4, 4, OU);
  const int r5 = piece_rules(p, Dankai::ichi, 5, 5, 4, 5, OU);
  const int r6 = piece_rules(p, Dankai::ichi, 5, 5, 4, 6, OU);
  EXPECT_LT(r4, 0);
  EXPECT_LT(r5, r4);
  EXPECT_LT(r6, r5);
  // At home it is no penalty: a step along row 3 costs nothing of the kind.
  const Kyokumen home = Pos().at(5, 3, OU).at(9, 9, -OU).p;
  EXPECT_GT(piece_rules(home, Dankai::ichi, 5, 3, 4, 3, OU), r4);
}

TEST(PieceRules, NothingWhereNoRuleApplies) {
  Kyokumen p;
  p.shoki_haichi();
  const Kekka l2 = run(p, 2, Dankai::ni), l3 = run(p, 3, Dankai::ni);
  ASSERT_EQ(l2.c.size(), l3.c.size());
  for (std::size_t i = 0; i < l2.c.size(); ++i) EXPECT_EQ(l2.c[i].score, l3.c[i].score);
  const std::vector<Rei> none = {
      {"promoted silver", Pos().at(9, 1, OU).at(4, 6, GIN).at(1, 9, -OU).p, 4, 6, 4, 7, NARIGIN},
      {"silver to the top row, though a lower silver stands on row 5",
       Pos().at(5, 1, OU).at(2, 2, GIN).at(8, 5, -GIN).at(1, 9, -OU).p, 2, 2, 1, 1, GIN},
      // A drop counts as coming from row 5: row 4 is not forward of it.
      {"gold dropped on row 4", Pos().at(9, 1, OU).at(1, 9, -OU).ue(5, 1).p, TE_UE, 5, 5, 4, KIN},
  };
  for (const Rei& m : none) {
    SCOPED_TRACE(m.name);
    EXPECT_EQ(rules_of(m), 0);
  }
}

// ---------------------------------------------------------------------------------------
// Probes and scan

TEST(Probes, NigemichiCountsEmptyUnattackedSquaresOnly) {
  Pos s;
  s.at(5, 5, -OU).at(4, 4, GIN).at(1, 1, OU);
  Kiki k{};
  k = s.p.kiki();
  // Around (5, 5): (4, 4) is occupied by an upper piece; the silver attacks (3, 5),
  // (4, 5), (5, 5) and (3, 3), (5, 3) - of the king's squares (4, 5).
  EXPECT_EQ(nigemichi_sita(s.p, k), 6);
}

TEST(Probes, TateNeraiSeesARookThroughLowerPiecesOnlyIfItsPathIsOpen) {
  Pos s;
  s.at(3, 3, GIN).at(3, 8, -HISHA).at(1, 1, OU).at(9, 9, -OU);
  EXPECT_TRUE(tate_nerai(s.p, 3, 3));
  s.at(3, 6, -HU);  // a lower piece in between: walked over, but the rook's path is closed
  EXPECT_FALSE(tate_nerai(s.p, 3, 3));
  s.at(3, 6, HU);   // an upper piece in between stops the walk
  EXPECT_FALSE(tate_nerai(s.p, 3, 3));
  // A lance or dragon counts as the rook does, and a lower piece on the square itself does
  // not hide it; a promoted lance does not count.
  s.at(3, 6, kara).at(3, 8, -KYOU).at(3, 3, -KIN);
  EXPECT_TRUE(tate_nerai(s.p, 3, 3));
  s.at(3, 8, -RYUU);
  EXPECT_TRUE(tate_nerai(s.p, 3, 3));
  s.at(3, 8, -NARIKYOU);
  EXPECT_FALSE(tate_nerai(s.p, 3, 3));
  EXPECT_FALSE(tate_nerai(s.p, 3, 9));  // nothing below the last row
}

TEST(Probes, OogomaKinsetsuKeimaUteKyoushaUteKakuKiken) {
  Pos s;
  s.at(5, 5, KAKU).at(4, 4, OU).at(6, 6, HISHA).at(5, 6, KIN).at(9, 9, -OU);
  EXPECT_EQ(oogoma_kinsetsu(s.p, 5, 5), -2);

  // keima_ute: an upper pawn on (5, 7) whose cheapest attacker is the lower rook on
  // (5, 8); a knight dropped on (4, 5) would guard the pawn and attack the rook on (3, 7).
  Pos k1;
  k1.at(1, 1, OU).at(9, 9, -OU).at(5, 7, HU).at(5, 8, -HISHA).at(3, 7, -HISHA).at(4, 7, KIN);
  Kiki k{};
  k = k1.p.kiki();
  EXPECT_EQ(keima_ute(k1.p, k, 5, 7), 900);
  // Not when that rook is itself the pawn's recorded attacker.
  k1.at(4, 7, kara);
  k = k1.p.kiki();
  EXPECT_EQ(k.atari_sita_x[5][7], 3);
  EXPECT_EQ(keima_ute(k1.p, k, 5, 7), 0);

  // kyousha_ute: pawn on (5, 7), the square behind (5, 6) defended and unattacked, the
  // cheapest attacker a rook; the first piece below is the rook on (5, 9).
  Pos k2;
  k2.at(1, 1, OU).at(9, 8, -OU).at(5, 7, HU).at(5, 5, KIN).at(5, 9, -HISHA);
  k = k2.p.kiki();
  EXPECT_EQ(kyousha_ute(k2.p, k, 5, 7), 900);

  // kaku_kiken: a lower bishop in hand could be dropped on a square that checks the
  // upper king and also attacks the moved piece.
  Pos k3;
  k3.at(1, 1, OU).at(9, 9, -OU).at(5, 5, KIN).sita(6, 1);
  k = k3.p.kiki();
  HyoukaJoutai st;
  kaku_oute_keisan(k3.p, k, st);
  mochigoma_mae_kiroku(k3.p, st);
  EXPECT_EQ(kaku_kiken(k3.p, st, 5, 5, KIN), KIN);
  k3.sita(6, 0);
  mochigoma_mae_kiroku(k3.p, st);
  EXPECT_EQ(kaku_kiken(k3.p, st, 5, 5, KIN), 0);
}

TEST(Probes, KugiKeisanMarksPinnedLowerPiecesAndTheUpperFlag) {
  Pos s;
  s.at(5, 9, -OU).at(5, 7, -GIN).at(5, 2, HISHA).at(5, 1, OU).at(4, 1, KIN).at(1, 1, -KAKU);
  Kiki k{};
  k = s.p.kiki();
  HyoukaJoutai st;
  kugi_keisan(s.p, st);
  EXPECT_TRUE(st.kugi_sita[5][7]);
  EXPECT_FALSE(st.kugi_sita[5][9]);  // the silver still stands between
  EXPECT_FALSE(st.kugi_ue_ari);
  // The lower bishop on (3, 3) looks at the upper king on (5, 1) through the silver (4, 2).
  s.at(1, 1, kara).at(3, 3, -KAKU).at(4, 2, GIN);
  k = s.p.kiki();
  kugi_keisan(s.p, st);
  EXPECT_TRUE(st.kugi_ue_ari);
}

TEST(Probes, ForkOfTwoUndefendedPiecesGainsTheSmallerValue) {
  // An upper gold on (5, 5), unattacked, attacks (forward toward row 9) the undefended
  // lower pawn (4, 6) and knight (6, 6).
  Pos s;
  s.at(1, 1, OU).at(9, 9, -OU).at(5, 5, KIN).at(4, 6, -HU).at(6, 6, -KEI);
  Kiki k{};
  k = s.p.kiki();
  HyoukaJoutai st;
  std::memcpy(st.kiki_ue_mae, k.kiki_ue, sizeof st.kiki_ue_mae);
  const int two = kyokumen_hyouka(s.p, k, st, KIN, 5, 5);
  s.at(6, 6, kara);
  k = s.p.kiki();
  std::memcpy(st.kiki_ue_mae, k.kiki_ue, sizeof st.kiki_ue_mae);
  const int one = kyokumen_hyouka(s.p, k, st, KIN, 5, 5);
  // The knight's own terms: none here (the attacked-piece terms need kiki_ue_mae = 0, and the maps before are
  // the same maps); so the difference is the fork: 0.2 + 10 (the pawn) against 0.1.
  EXPECT_EQ(two - one, 1 + 100);
}

// ---------------------------------------------------------------------------------------
// The driver's rules

TEST(Tansaku, Com2PrefersLeavingThePersonsKingAttackedAtMinus1000) {
  Pos s;
  s.at(1, 1, OU).at(5, 2, HISHA).at(5, 8, -KIN).at(5, 9, -OU);
  const Kekka r = run(s.p, 3, Dankai::ni);
  ASSERT_TRUE(r.best.ari);
  EXPECT_EQ(r.best.score, -10000);
  // The first of the equal -1000 trials in loop order: the gold to (4, 7).
  EXPECT_EQ(r.best.te.fc, 5);
  EXPECT_EQ(r.best.te.fr, 8);
  EXPECT_EQ(r.best.te.tc, 4);
  EXPECT_EQ(r.best.te.tr, 7);
  EXPECT_EQ(score(r, 5, 8, 6, 8, -KIN), -10000);
  EXPECT_NE(score(r, 5, 8, 5, 7, -KIN), -10000);  // still shielding
}

TEST(Tansaku, Com2AttackingTheUpperKingIsPreferredEvenToMinus1000) {
  // The upper rook pins the lower gold to its king (moving the gold aside: -1000); the
  // lower silver on (3, 3) can step to (4, 2) and attack the upper king: -9998.
  Pos s;
  s.at(5, 1, OU).at(5, 5, HISHA).at(5, 8, -KIN).at(5, 9, -OU).at(3, 3, -GIN);
  const Kekka r = run(s.p, 3, Dankai::ni);
  EXPECT_EQ(score(r, 5, 8, 4, 7, -KIN), -10000);
  EXPECT_EQ(score(r, 3, 3, 4, 2, -GIN), -99980);
  EXPECT_EQ(r.best.score, -99980);
  EXPECT_EQ(r.best.te.fc, 3);
}

TEST(Tansaku, Com3NeverMovesTheFirstPieceNorCapturesTheSecond) {
  Kyokumen p;
  p.shoki_haichi();
  // Suppose move 1 ended on (7, 4) and move 2 on (7, 5), next to it.
  p.oku(7, 3, kara);
  p.oku(7, 4, HU);
  p.oku(7, 7, kara);
  p.oku(7, 5, -HU);
  const Kekka r = run(p, 3, Dankai::san, 7, 4, 7, 5);
  for (const Kouho& k : r.c) {
    EXPECT_FALSE(k.te.fc == 7 && k.te.fr == 4);
    EXPECT_FALSE(k.te.tc == 7 && k.te.tr == 5);
  }
  // Without the restriction the pawn would take the pawn.
  const Kekka free = run(p, 3, Dankai::ichi);
  EXPECT_TRUE(scored(free, 7, 4, 7, 5));
}

TEST(Tansaku, Com3DropsAreNotRestricted) {
  Pos s;
  s.at(5, 1, OU).at(5, 9, -OU).at(2, 2, GIN).ue(5, 1);
  const Kekka r = run(s.p, 3, Dankai::san, 2, 2, 3, 3);
  EXPECT_TRUE(scored(r, TE_UE, 5, 3, 3));
  EXPECT_FALSE(scored(r, 2, 2, 2, 3));
}

TEST(Tansaku, NoCandidateMeansNoMove) {
  // The upper side owns only its king, and it is the piece moved by com_ban1.
  Pos s;
  s.at(5, 1, OU).at(5, 9, -OU);
  const Kekka r = run(s.p, 3, Dankai::san, 5, 1, 0, 0);
  EXPECT_FALSE(r.best.ari);
  EXPECT_TRUE(r.c.empty());
}

TEST(Tansaku, OptionalPromotionScoresBothAndAlwaysTakesItForPawnRookBishop) {
  // An upper silver to row 7 may promote: two trials, the better one kept.
  Pos s;
  s.at(1, 1, OU).at(9, 9, -OU).at(4, 6, GIN).at(4, 5, HU);
  const Kekka r = run(s.p, 3, Dankai::ichi);
  int n = 0;
  for (std::size_t i = 0; i < r.c.size(); ++i)
    if (r.c[i].te.fc == 4 && r.c[i].te.fr == 6 && r.c[i].te.tc == 4 && r.c[i].te.tr == 7) {
      EXPECT_EQ(r.c[i].te.koma, n == 0 ? GIN : NARIGIN);
      ++n;
    }
  EXPECT_EQ(n, 2);
  // A pawn to row 7 whose unpromoted trial scores far higher (a lance drop behind it
  // would win the rook: kyousha_ute, a pawn rule) is still played promoted, with the
  // higher score.
  Pos q;
  q.at(1, 1, OU).at(9, 9, -OU).at(4, 5, KIN).at(4, 6, HU).at(4, 9, -HISHA).ue(2, 1);
  const Kekka rq = run(q.p, 3, Dankai::ichi);
  const int un = score(rq, 4, 6, 4, 7, HU), pro = score(rq, 4, 6, 4, 7, TO);
  EXPECT_GT(un, pro);
  ASSERT_TRUE(rq.best.ari);
  EXPECT_EQ(rq.best.te.fc, 4);
  EXPECT_EQ(rq.best.te.tr, 7);
  EXPECT_EQ(rq.best.te.koma, TO);
  EXPECT_EQ(rq.best.score, un);
}

TEST(Tansaku, FirstCandidateWinsAmongEquals) {
  // At level 2 in the starting position several moves share the best score; the one met
  // first in loop order (source column, source row, target column, target row) is played.
  Kyokumen p;
  p.shoki_haichi();
  for (Dankai t : {Dankai::ichi, Dankai::ni}) {
    const Kekka r = run(p, 2, t);
    ASSERT_TRUE(r.best.ari);
    int equals = 0;
    const Kouho* first = nullptr;
    for (const Kouho& k : r.c)
      if (k.score == r.best.score) {
        if (!first) first = &k;
        ++equals;
      }
    if (t == Dankai::ichi) {
      EXPECT_GE(equals, 2);
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->te.fc, r.best.te.fc);
    EXPECT_EQ(first->te.fr, r.best.te.fr);
    EXPECT_EQ(first->te.tc, r.best.te.tc);
    EXPECT_EQ(first->te.tr, r.best.te.tr);
  }
}

// Over every recorded position, level and procedure: the move played is the first in
// loop order among the best (an optional promotion counted as one candidate with the
// better of its two scores), board moves come before drops, the search stops right after
// a king capture or a mating drop, the position is left as found, and the search is
// deterministic.
TEST(Tansaku, TieBreakEarlyStopsAndDeterminismOnRecordedPositions) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  ASSERT_GE(positions.size(), 30u);
  for (std::size_t pi = 0; pi < positions.size(); ++pi) {
    for (int level = 1; level <= 3; ++level) {
      for (int proc = 1; proc <= 3; ++proc) {
        const Dankai t = static_cast<Dankai>(proc);
        const bool ue = proc != 2;
        const Kekka r = run(positions[pi], level, t, 0, 0, 0, 0);
        SCOPED_TRACE("position " + std::to_string(pi + 1) + " level " + std::to_string(level) +
                     " proc " + std::to_string(proc));
        EXPECT_TRUE(same_position(r.after, positions[pi]));
        // Group the trials by move.
        struct G { int fc, fr, tc, tr, score, first; };
        std::vector<G> groups;
        for (std::size_t i = 0; i < r.c.size(); ++i) {
          const Kouho& k = r.c[i];
          if (!groups.empty() && groups.back().fc == k.te.fc && groups.back().fr == k.te.fr &&
              groups.back().tc == k.te.tc && groups.back().tr == k.te.tr) {
            G& g = groups.back();
            if (ue ? k.score > g.score : k.score < g.score) g.score = k.score;
          } else {
            groups.push_back({k.te.fc, k.te.fr, k.te.tc, k.te.tr, k.score, static_cast<int>(i)});
          }
        }
        // Board moves before drops.
        bool seen_drop = false;
        for (const G& g : groups) {
          const bool drop = g.fc == TE_UE || g.fc == TE_SITA;
          if (drop) seen_drop = true;
          else EXPECT_FALSE(seen_drop);
        }
        if (groups.empty()) {
          EXPECT_FALSE(r.best.ari);
          continue;
        }
        int best = ue ? -999990 : 9990;
        const G* chosen = nullptr;
        for (const G& g : groups)
          if (ue ? g.score > best : g.score < best) {
            best = g.score;
            chosen = &g;
          }
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(r.best.te.fc, chosen->fc);
        EXPECT_EQ(r.best.te.fr, chosen->fr);
        EXPECT_EQ(r.best.te.tc, chosen->tc);
        EXPECT_EQ(r.best.te.tr, chosen->tr);
        EXPECT_EQ(r.best.score, chosen->score);
        // Early stops.
        const G& last = groups.back();
        if (ue && positions[pi].ban[chosen->tc][chosen->tr] == -OU) {
          EXPECT_EQ(&last, chosen);
        }
        if (ue && chosen->fc == TE_UE && chosen->score >= 99980) {
          EXPECT_EQ(&last, chosen);
        }
        // Determinism.
        const Kekka again = run(positions[pi], level, t, 0, 0, 0, 0);
        ASSERT_EQ(again.c.size(), r.c.size());
        for (std::size_t i = 0; i < r.c.size(); ++i) EXPECT_EQ(again.c[i].score, r.c[i].score);
      }
    }
  }
}

// A trial capture is made like any move, so the taken piece reaches the hand; the scores
// still weigh the hand the turn began with. Here the pawn takes a lance with a lower rook
// below it: the lance-drop bonus (90) belongs only to a hand that held a lance already.
TEST(Tansaku, ATrialCaptureIsScoredWithTheHandsAsTheyWere) {
  Pos s;
  s.at(1, 1, OU).at(9, 8, -OU).at(5, 6, HU).at(5, 7, -KYOU).at(5, 5, KIN).at(5, 9, -HISHA);
  const Kyokumen before = s.p;
  const int without = piece_rules(s.p, Dankai::ichi, 5, 6, 5, 7, HU);
  s.ue(2, 1);
  const int with_lance = piece_rules(s.p, Dankai::ichi, 5, 6, 5, 7, HU);
  EXPECT_EQ(with_lance - without, 9000);
  Kekka r = run(before, 3, Dankai::ichi);
  EXPECT_TRUE(same_position(r.after, before));
}

TEST(Tansaku, TheMapsDescribeTheBoardAfterTheSearch) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  ASSERT_FALSE(positions.empty());
  Kyokumen p = positions[positions.size() / 2];
  const Kyokumen before = p;
  tansaku(p, 3, Dankai::ni);
  Kiki fresh{};
  kiki_keisan(p.ban, fresh);
  EXPECT_EQ(std::memcmp(&p.kiki(), &fresh, sizeof fresh), 0);
  EXPECT_TRUE(same_position(p, before));
  EXPECT_EQ(kyokumen_fusei(p), "");
}

}  // namespace
}  // namespace mirado
