// The game's state without a window: a copy of a game is a game of its own, and taking a
// king ends it.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "kyokumen_kensa.h"
#include "rules/sfen.h"
#include "taikyoku/taikyoku.h"

namespace mirado {
namespace {

std::vector<Kyokumen> bench_positions() {
  std::ifstream in(std::string(MIRADO_GOLDEN_DIR) + "/../../bench/positions.sfen");
  std::vector<Kyokumen> out;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    SfenPosition sp;
    std::string error;
    if (parse_sfen(line, sp, error)) out.push_back(sp.pos);
  }
  return out;
}

// Everything the computer's turn reads and changes is in the game's state: a copy plays
// the same turn, and playing it leaves the original as it was.
TEST(TaikyokuState, ACopiedGamePlaysTheSameTurnAndLeavesTheOriginalAlone) {
  const std::vector<Kyokumen> positions = bench_positions();
  ASSERT_GT(positions.size(), 100u);
  int games_won = 0;
  for (std::size_t i = 0; i < positions.size(); i += 3) {
    const Taikyoku start = sente_taikyoku(positions[i], 1 + static_cast<int>(i % 3));
    Taikyoku a = start, b = start;
    ComTurn ta, tb;
    ta.run(a);
    EXPECT_TRUE(test::same_position(b.pos, start.pos)) << i;
    EXPECT_EQ(b.ichite_x, 0) << i;
    tb.run(b);
    EXPECT_TRUE(test::same_position(a.pos, b.pos)) << i;
    EXPECT_EQ(std::memcmp(&a.kiki, &b.kiki, sizeof a.kiki), 0) << i;
    EXPECT_EQ(a.shuukyoku, b.shuukyoku) << i;
    for (int proc = 1; proc <= 3; ++proc) {
      EXPECT_EQ(ta.ran[proc], tb.ran[proc]) << i;
      EXPECT_EQ(ta.te[proc].te.score, tb.te[proc].te.score) << i;
    }
    EXPECT_EQ(a.ichite_x, ta.te[1].te.ari ? ta.te[1].te.tc : 0) << i;
    EXPECT_EQ(a.nite_y, ta.te[2].te.ari ? ta.te[2].te.tr : 0) << i;
    games_won += a.shuukyoku != 0;
  }
  EXPECT_GT(games_won, 0);
}

TEST(TaikyokuState, TakingAKingEndsTheGameForTheSideThatLostIt) {
  Taikyoku t;
  t.sita_gawa = 1, t.ue_gawa = -1;
  t.ou_tori(-HU);
  EXPECT_EQ(t.shuukyoku, 0);
  t.ou_tori(OU);  // the upper king taken: the lower side wins
  EXPECT_EQ(t.shuukyoku, 1);
  t.ou_tori(-OU);
  EXPECT_EQ(t.shuukyoku, -1);
}

}  // namespace
}  // namespace mirado
