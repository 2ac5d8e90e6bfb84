// LEVEL4's look-ahead and LEVEL5's search: the turns they plan keep every rule of a
// person's turn, they win when they can, give the same answer for the same budget, and
// end cleanly on odd positions and when cancelled.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "bench_positions.h"
#include "engine/fukayomi.h"
#include "engine/yomi.h"
#include "taikyoku/taikyoku.h"
#include "kyokumen_kensa.h"
#include "rules/tsumi.h"
#include "tsumi_kyokumen.h"

namespace mirado {
namespace {

bool ue_ou_attacked(const Kyokumen& p) {
  const Kiki& k = p.kiki();
  return p.ban[p.ou_ue_x][p.ou_ue_y] == OU && k.kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0;
}
bool sita_ou_attacked(const Kyokumen& p) {
  const Kiki& k = p.kiki();
  return p.ban[p.ou_sita_x][p.ou_sita_y] == -OU && k.kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0;
}

int pieces_of_ue(const Kyokumen& p) {
  int n = p.mochigoma_su_ue;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) n += p.ban[c][r] >= 10;
  return n;
}

// Replays a planned turn from the position, failing on any move a person could not make.
// Returns the position after it.
Kyokumen replay_as_a_person(Kyokumen p, const YomiTe& turn, int ix = 0, int iy = 0, int nx = 0,
                            int ny = 0) {
  for (int i = 0; i < turn.n; ++i) {
    const Sashite& m = turn.te[i];
    const int phase = turn.dankai[i];
    const bool drop = m.te.fc == TE_UE || m.te.fc == TE_SITA;
    SCOPED_TRACE("move " + std::to_string(phase) + " " + std::to_string(m.te.fc) + "," +
                 std::to_string(m.te.fr) + " -> " + std::to_string(m.te.tc) + "," + std::to_string(m.te.tr));
    // Whose piece: the holder's own in the first and third move, the opponent's in the second.
    const bool own = phase != 2;
    if (drop) {
      EXPECT_EQ(m.te.fc, own ? TE_UE : TE_SITA);
    } else {
      EXPECT_EQ(p.ban[m.te.fc][m.te.fr], m.moto_koma);
      EXPECT_TRUE(own ? is_ue(m.moto_koma) : is_sita(m.moto_koma));
    }
    EXPECT_TRUE(p.idou_kanou(m.te.fc, m.te.fr, m.te.tc, m.te.tr, m.moto_koma));
    const bool in_check_before = ue_ou_attacked(p);
    if (phase == 3 && pieces_of_ue(p) > 1) {
      const bool moves_first = !drop && m.te.fc == ix && m.te.fr == iy;
      const bool takes_second = m.te.tc == nx && m.te.tr == ny;
      // Allowed only to get the king out of check (its safety is checked below).
      if (moves_first || takes_second) {
        EXPECT_TRUE(in_check_before);
      }
    }
    sashite_ugokasu(p, m);
    if (own) {
      EXPECT_FALSE(ue_ou_attacked(p)) << "leaves its own king attacked";
    } else {
      EXPECT_FALSE(sita_ou_attacked(p)) << "leaves the opponent's king attacked";
    }
    if (phase == 1) ix = m.te.tc, iy = m.te.tr;
    if (phase == 2) nx = m.te.tc, ny = m.te.tr;
  }
  return p;
}

// The budget and the figures of the bench signature below.
constexpr std::int64_t SIGNATURE_NODES = 15000;
constexpr std::size_t SIGNATURE_STRIDE = 3;  // every third position, to keep it quick
constexpr const char* SIGNATURE = "nodes 573165, rounds 103, hash 11304128624170290186";
// LEVEL5's, at a smaller budget of moves ("rounds" sums the whole turns read).
constexpr std::int64_t SIGNATURE5_NODES = 3000;
constexpr const char* SIGNATURE5 = "nodes 113447, rounds 40, hash 4595786535541293798";

YomiSettei budget(std::int64_t nodes, int level = 4) {
  YomiSettei s;
  s.nodes = nodes;
  s.level = level;
  return s;
}

constexpr int LEVELS[] = {4, 5};

// LEVEL5 on every benchmark position, LEVEL4 on every fourth.
TEST(Yomi, PlannedTurnsKeepEveryRuleOfAPersonsTurn) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  ASSERT_GT(positions.size(), 20u);
  Yomi yomi;
  for (const int level : LEVELS) {
    int full_turns = 0;
    for (std::size_t i = 0; i < positions.size(); i += level == 5 ? 1 : 4) {
      SCOPED_TRACE("level " + std::to_string(level) + " position " + std::to_string(i));
      const YomiKekka r = yomi.sagasu(positions[i], budget(level == 5 ? 1500 : 3000, level));
      replay_as_a_person(positions[i], r.turn);
      full_turns += r.turn.n == 3;
    }
    EXPECT_GT(full_turns, 0);
  }
}

TEST(Yomi, RestOfATurnAlreadyBegun) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  Yomi yomi;
  for (std::size_t k = 0; k < 2 * positions.size(); k += 9) {
    const std::size_t i = k % positions.size() + (k < positions.size() ? 1 : 0);
    const int level = k < positions.size() ? 4 : 5;
    if (i >= positions.size()) continue;
    SCOPED_TRACE("level " + std::to_string(level) + " position " + std::to_string(i));
    // Take the design's first two moves, then let the look-ahead finish the turn.
    Taikyoku g = sente_taikyoku(positions[i], 3);
    ComTurn t;
    t.run(g, 1);
    if (!t.te[1].te.ari || g.owatta()) continue;
    t.run(g, 2);
    if (!t.te[2].te.ari || g.owatta() || ue_ou_attacked(g.pos())) continue;
    const YomiKekka r =
        yomi.sagasu(g.pos(), budget(1500, level), 3, g.ichite_x(), g.ichite_y(), g.nite_x(), g.nite_y());
    ASSERT_LE(r.turn.n, 1);
    if (r.turn.n == 1) {
      EXPECT_EQ(r.turn.dankai[0], 3);
    }
    replay_as_a_person(g.pos(), r.turn, g.ichite_x(), g.ichite_y(), g.nite_x(), g.nite_y());
  }
}

using test::gold_drop_mate;

// LEVEL5 finds a mate within its own turn whatever its budget, the smallest included.
constexpr std::int64_t MATE_BUDGETS[][2] = {{4, 2000}, {5, 1}, {5, 40}, {5, 2000}};

TEST(Yomi, MatesWithTheFirstMoveWhenItCan) {
  for (const auto& [level, nodes] : MATE_BUDGETS) {
    SCOPED_TRACE("level " + std::to_string(level) + ", " + std::to_string(nodes) + " nodes");
    Taikyoku g = sente_taikyoku(gold_drop_mate(), 4);
    Yomi yomi;
    ComTurn t;
    const YomiKekka r = com_turn_yomi(t, g, yomi, budget(nodes, static_cast<int>(level)));
    EXPECT_GE(r.score, YOMI_KACHI - 1000);
    ASSERT_TRUE(t.te[1].te.ari);
    EXPECT_EQ(t.te[1].te.te.fc, TE_UE);
    EXPECT_EQ(t.te[1].te.te.tc, 5);
    EXPECT_EQ(t.te[1].te.te.tr, 8);
    EXPECT_EQ(g.shousha(), g.ue_gawa());
    EXPECT_FALSE(t.ran[2]);  // the game ended with the first move
  }
}

TEST(Yomi, MatesWhenTheOpponentsPieceMustMoveFirst) {
  // A lower pawn stands on the mating square: the second move moves it on, the third
  // drops the gold there, guarded by the silver on (4, 7).
  Kyokumen p;
  p.ban[5][1] = OU;
  p.ban[4][7] = GIN;
  p.ban[5][8] = -HU;
  p.ban[5][9] = -OU;
  p.ban[9][9] = -KYOU;
  p.mochigoma_ue[5] = 1;
  p.shiage();
  for (const auto& [level, nodes] : MATE_BUDGETS) {
    SCOPED_TRACE("level " + std::to_string(level) + ", " + std::to_string(nodes) + " nodes");
    Taikyoku g = sente_taikyoku(p, 4);
    Yomi yomi;
    ComTurn t;
    const YomiKekka r = com_turn_yomi(t, g, yomi, budget(std::max<std::int64_t>(nodes, level == 4 ? 3000 : 1),
                                                         static_cast<int>(level)));
    EXPECT_GE(r.score, YOMI_KACHI - 1000);
    EXPECT_EQ(g.shousha(), g.ue_gawa());
  }
}

TEST(Yomi, ItsValueAgreesWithTheAnswerFromTheTurnedBoard) {
  // Where the search sees no mate against itself, a search of the opponent's turn
  // after the chosen turn must not find one either (and the reverse for a won game).
  const std::vector<Kyokumen> positions = test::bench_positions();
  Yomi yomi;
  for (std::size_t i = 2; i < positions.size(); i += 7) {
    SCOPED_TRACE("position " + std::to_string(i));
    const YomiKekka r = yomi.sagasu(positions[i], budget(6000));
    if (r.turn.n == 0 || r.score <= -(YOMI_KACHI - 1000)) continue;
    const Kyokumen after = replay_as_a_person(positions[i], r.turn);
    const YomiKekka answer = yomi.sagasu(kaiten(after), budget(6000));
    if (r.score >= YOMI_KACHI - 1000) continue;  // won within the turn
    EXPECT_LT(answer.score, YOMI_KACHI - 1000);
  }
}

// How many times the lower pieces reach the upper king's square and the squares around it.
int reach_around_ue_ou(const Kyokumen& p) {
  const Kiki& k = p.kiki();
  int n = 0;
  for (int c = p.ou_ue_x - 1; c <= p.ou_ue_x + 1; ++c)
    for (int r = p.ou_ue_y - 1; r <= p.ou_ue_y + 1; ++r)
      if (on_ban(c, r)) n += k.kiki_sita[c][r];
  return n;
}

// The opponent's gold in front of LEVEL4's king reaches three squares around it and leaves
// the king one square to run to. Nothing is to be won on the board, so LEVEL4 spends its
// turn freeing the king: its second move can send that gold back, its own moves can take
// the king away. A turn that leaves the king hemmed in shows its own king's danger read
// the wrong way round.
TEST(Yomi, FreesItsOwnHemmedInKing) {
  Kyokumen p;
  p.kara_ni();
  p.ban[9][1] = OU;
  p.ban[7][1] = KIN;
  p.ban[6][3] = HU;
  p.ban[8][3] = -KIN;
  p.ban[1][9] = -OU;
  p.ban[2][7] = -HU;
  p.ban[3][8] = -KIN;
  p.shiage();
  ASSERT_GT(reach_around_ue_ou(p), 0);
  Yomi yomi;
  const YomiKekka r = yomi.sagasu(p, budget(20000));
  ASSERT_EQ(r.turn.n, 3);
  Kyokumen after = replay_as_a_person(p, r.turn);
  EXPECT_EQ(reach_around_ue_ou(after), 0);
}

// The third move's limits: the look-ahead, as a person, is let off them when its king is
// in check before the third move or stands alone; the computer's own levels never are.
// Here the king moved first and is now attacked by the rook, so only moving it again
// saves it.
TEST(Yomi, OnlyTheLookAheadIsLetOffTheThirdMovesLimits) {
  for (const int level : LEVELS)
  for (const bool alone : {false, true}) {
    SCOPED_TRACE(std::string(alone ? "a lone king" : "a king in check") + ", level " + std::to_string(level));
    Kyokumen p;
    p.kara_ni();
    p.ban[5][1] = OU;
    if (!alone) {
      p.ban[9][1] = KIN;
      p.ban[5][5] = -HISHA;
    }
    p.ban[1][9] = -OU;
    p.ban[9][9] = -KYOU;
    p.shiage();
    Yomi yomi;
    const YomiKekka r = yomi.sagasu(p, budget(2000, level), 3, 5, 1, 0, 0);
    ASSERT_EQ(r.turn.n, 1);
    EXPECT_EQ(r.turn.te[0].te.fc * 10 + r.turn.te[0].te.fr, 51) << "the king must move again";

    const Sashite design = tansaku(p, 3, Dankai::san, 5, 1, 0, 0);
    EXPECT_FALSE(design.ari && design.te.fc == 5 && design.te.fr == 1)
        << "the computer's own levels keep the limit";
    if (alone) {
      EXPECT_FALSE(design.ari);
    }
  }
}

void expect_same_result(const YomiKekka& a, const YomiKekka& b) {
  ASSERT_EQ(a.turn.n, b.turn.n);
  for (int j = 0; j < a.turn.n; ++j) {
    EXPECT_EQ(a.turn.dankai[j], b.turn.dankai[j]);
    EXPECT_EQ(a.turn.te[j].te.fc, b.turn.te[j].te.fc);
    EXPECT_EQ(a.turn.te[j].te.fr, b.turn.te[j].te.fr);
    EXPECT_EQ(a.turn.te[j].te.tc, b.turn.te[j].te.tc);
    EXPECT_EQ(a.turn.te[j].te.tr, b.turn.te[j].te.tr);
    EXPECT_EQ(a.turn.te[j].te.koma, b.turn.te[j].te.koma);
  }
  EXPECT_EQ(a.score, b.score);
  EXPECT_EQ(a.nodes, b.nodes);
  EXPECT_EQ(a.rounds, b.rounds);
}

TEST(Yomi, SameBudgetGivesTheSameTurnOnAnyObject) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  ASSERT_GT(positions.size(), 12u);
  for (const int level : LEVELS) {
    SCOPED_TRACE("level " + std::to_string(level));
    Yomi used, fresh;
    used.sagasu(positions[3], budget(4000, level));  // leaves its table full of another search
    for (std::size_t i : {std::size_t{3}, std::size_t{11}}) {
      const YomiKekka a = used.sagasu(positions[i], budget(4000, level));
      const YomiKekka b = fresh.sagasu(positions[i], budget(4000, level));
      expect_same_result(a, b);
      EXPECT_LE(a.nodes, 4000);
    }
  }
}

// LEVEL5's table only saves reading: the same answer with the table cleared or full of
// another search, and with a table 512 times smaller (not filled by the budget).
TEST(Fukayomi, TheTableNeverChangesTheAnswerUnderANodeBudget) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  // The small table has 2048 slots and takes 1536 entries, more than 8000 nodes store
  // (one entry for each position a move is chosen in, not for the last moves of a turn).
  Fukayomi big(20), small(11), used(FUKAYOMI_TT_BITS);
  const YomiSettei s = budget(8000, 5);
  int deeper = 0;
  for (std::size_t i = 0; i < positions.size(); i += 23) {
    SCOPED_TRACE("position " + std::to_string(i));
    used.sagasu(positions[(i + 7) % positions.size()], s);
    const YomiKekka a = big.sagasu(positions[i], s);
    expect_same_result(a, small.sagasu(positions[i], s));
    expect_same_result(a, used.sagasu(positions[i], s));
    used.tt_clear();
    expect_same_result(a, used.sagasu(positions[i], s));
    deeper += a.depth >= 1 && a.aborted;  // the opponent's turns were being read
  }
  EXPECT_GT(deeper, 0) << "the table answers only in the opponent's turns";
}

TEST(Yomi, OddPositionsEndCleanly) {
  for (const int level : LEVELS) {
  SCOPED_TRACE("level " + std::to_string(level));
  Yomi yomi;
  {
    // Upper king already captured: whatever it plans, it returns.
    Kyokumen p = gold_drop_mate();
    p.oku(5, 1, kara);
    const YomiKekka r = yomi.sagasu(p, budget(500, level));
    EXPECT_LE(r.nodes, 500);
  }
  {
    // A lone upper king boxed in by its own hand-less position and attacked everywhere:
    // no legal first move. The plan leaves the moves to the design's procedures.
    Kyokumen p;
    p.ban[1][1] = OU;
    p.ban[3][3] = -KIN;
    p.ban[1][3] = -KYOU;
    p.ban[3][1] = -HISHA;
    p.ban[9][9] = -OU;
    p.shiage();
    const YomiKekka r = yomi.sagasu(p, budget(500, level));
    for (int i = 0; i < r.turn.n; ++i) EXPECT_NE(r.turn.dankai[i], 1);
    Taikyoku g = sente_taikyoku(p, 4);
    ComTurn t;
    com_turn_yomi(t, g, yomi, budget(500, level));  // the design's procedures fill the gaps
    EXPECT_TRUE(kyokumen_fusei(g.pos()).empty());
  }
  }
}

TEST(Yomi, CancelFlagEndsTheSearchAtOnce) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  std::atomic<bool> stop{true};
  for (const int level : LEVELS) {
    YomiSettei s;
    s.yamete = &stop;
    s.level = level;
    Yomi yomi;
    const YomiKekka r = yomi.sagasu(positions[5], s);
    EXPECT_TRUE(r.aborted);
    EXPECT_LE(r.nodes, 1);
    EXPECT_EQ(r.rounds, 0);
  }
}

TEST(Yomi, TheSmallestBudgetStillGivesAWholeTurn) {
  Kyokumen p;
  p.shoki_haichi();
  for (const int level : LEVELS)
  for (const bool by_time : {false, true}) {
    YomiSettei s;
    s.level = level;
    if (by_time) s.byou = 1e-9;  // spent before the search begins
    else s.nodes = 1;
    Yomi yomi;
    const YomiKekka r = yomi.sagasu(p, s);
    EXPECT_TRUE(r.aborted);
    ASSERT_EQ(r.turn.n, 3) << (by_time ? "time" : "nodes");
    replay_as_a_person(p, r.turn);
  }
}

TEST(Yomi, PrincipalLinesAreTheTurnsItWeighed) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  YomiSettei s = budget(6000);
  s.lines = 4;
  Yomi yomi;
  const YomiKekka r = yomi.sagasu(positions[7], s);
  ASSERT_GE(r.n_lines, 1);
  // The chosen turn leads, and every line is a turn a person could play.
  EXPECT_EQ(r.lines[0].score, r.score);
  EXPECT_EQ(r.lines[0].turn.n, r.turn.n);
  for (int i = 0; i < r.n_lines; ++i) {
    const Kyokumen after = replay_as_a_person(positions[7], r.lines[i].turn);
    if (i > 0) {
      EXPECT_LE(r.lines[i].score, r.lines[i - 1].score);
    }
    if (r.lines[i].answered) replay_as_a_person(kaiten(after), r.lines[i].reply);
  }
}

// LEVEL4's and LEVEL5's signatures, as an engine's bench has one: on the benchmark
// positions under a fixed budget of nodes, the nodes examined, the rounds finished, the value and the
// chosen moves, summed and hashed. Any change to the search (its cut-offs, beams, order or
// assessment) changes it. When the search is changed on purpose, record the figures the
// failure prints in SIGNATURE (SIGNATURE5); when it was not meant to change, the change is a fault.
std::string bench_signature(int level, std::int64_t budget_nodes) {
  const std::vector<Kyokumen> positions = test::bench_positions();
  EXPECT_GT(positions.size(), 100u);
  Yomi yomi;
  std::int64_t nodes = 0;
  int rounds = 0;
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a over everything the searches chose
  auto mix = [&hash](std::int64_t v) {
    for (int b = 0; b < 8; ++b) {
      hash ^= static_cast<std::uint64_t>(v >> (8 * b)) & 0xFF;
      hash *= 1099511628211ULL;
    }
  };
  for (std::size_t i = 0; i < positions.size(); i += SIGNATURE_STRIDE) {
    const YomiKekka r = yomi.sagasu(positions[i], budget(budget_nodes, level));
    nodes += r.nodes;
    rounds += r.rounds;
    mix(r.nodes);
    mix(r.rounds);
    mix(r.score);
    mix(r.turn.n);
    for (int j = 0; j < r.turn.n; ++j) {
      const Te& te = r.turn.te[j].te;
      // A lower drop mixes in its hand row (slot + 2), the number the signature was taken with.
      const int fr = te.fc == TE_SITA ? te.fr + 2 : te.fr;
      for (const int v : {r.turn.dankai[j], te.fc, fr, te.tc, te.tr, te.koma}) mix(v);
    }
  }
  return "nodes " + std::to_string(nodes) + ", rounds " + std::to_string(rounds) + ", hash " + std::to_string(hash);
}

TEST(Yomi, BenchSignatureUnderAFixedBudget) {
  EXPECT_EQ(bench_signature(4, SIGNATURE_NODES), SIGNATURE);
  EXPECT_EQ(bench_signature(5, SIGNATURE5_NODES), SIGNATURE5);
}

// The upper rook on (5, 9) can take the lower silver on (5, 6), which cannot move and is
// guarded by two golds, so the second move cannot send both away. The assessment of the
// board after the capture counts only part of the rook's loss and thinks the silver worth
// it; the quiet search makes the golds' capture and sees the exchange lost. Read one
// whole turn deep, LEVEL5 must leave the silver alone (or at least keep its rook safe).
TEST(Fukayomi, TheQuietSearchAvoidsALosingCapture) {
  Kyokumen p;
  p.kara_ni();
  p.ban[5][1] = OU;
  p.ban[5][9] = HISHA;
  p.ban[9][7] = -OU;
  p.ban[5][6] = -GIN;
  for (const int c : {4, 5, 6}) p.ban[c][5] = -HU;
  p.ban[4][7] = -KIN;
  p.ban[6][7] = -KIN;
  p.shiage();
  Yomi yomi;
  const YomiKekka r = yomi.sagasu(p, budget(1500, 5));  // one whole turn, nothing deeper
  ASSERT_EQ(r.turn.n, 3);
  EXPECT_EQ(r.depth, 1) << "a deeper reading would see the exchange without the quiet search";
  const Kyokumen after = replay_as_a_person(p, r.turn);
  const Kiki& k = after.kiki();
  for (int c = 1; c <= 9; ++c)
    for (int row = 1; row <= 9; ++row)
      if (after.ban[c][row] == HISHA || after.ban[c][row] == RYUU) {
        EXPECT_EQ(k.kiki_sita[c][row], 0) << "the rook is left to be taken on " << c << "," << row;
      }
  EXPECT_EQ(after.ban[5][6], -GIN);
}

TEST(Kaiten, TurnedMoveOnTheTurnedBoardIsTheSameMove) {
  Kyokumen p;
  p.shoki_haichi();
  p.ban[5][5] = HU;
  p.mochigoma_ue[3] = 1;    // an upper knight to drop
  p.mochigoma_sita[6] = 1;  // a lower bishop to drop
  p.shiage();
  EXPECT_TRUE(test::same_position(kaiten(kaiten(p)), p));
  const Sashite moves[] = {
      {true, {7, 7, 7, 6, -HU}, -HU, 0},          // a lower board move
      {true, {5, 5, 5, 6, HU}, HU, 0},            // an upper board move
      {true, {2, 8, 5, 5, -UMA}, -KAKU, 0},       // a lower capture that promotes
      {true, {TE_UE, 3, 5, 4, KEI}, KEI, 0},      // an upper drop
      {true, {TE_SITA, 6, 4, 5, -KAKU}, -KAKU, 0},  // a lower drop
  };
  for (const Sashite& m : moves) {
    SCOPED_TRACE(std::to_string(m.te.fc) + "," + std::to_string(m.te.fr));
    Kyokumen a = p, b = kaiten(p);
    sashite_ugokasu(a, m);
    sashite_ugokasu(b, sashite_kaiten(m));
    EXPECT_TRUE(test::same_position(kaiten(a), b));
    const Sashite back = sashite_kaiten(sashite_kaiten(m));
    EXPECT_EQ(back.te.fc, m.te.fc);
    EXPECT_EQ(back.te.fr, m.te.fr);
  }
}

}  // namespace
}  // namespace mirado
