// mirado-cli think as a user runs it: its JSON and the exit codes.
#include <gtest/gtest.h>


#include <algorithm>
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "cli_support.h"
#include "kyokumen_kensa.h"
#include "engine/tansaku.h"
#include "rules/sfen.h"
#include "taikyoku/taikyoku.h"

namespace mirado {
namespace {

using nlohmann::json;

test::CliRun think(const std::string& args) { return test::run_cli("think " + args); }

class Think : public ::testing::Test {};

const char* kStart = "'lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1'";

TEST_F(Think, AWholeTurnAsJson) {
  const test::CliRun o = think(std::string(kStart) + " --level 3");
  ASSERT_EQ(o.status, 0) << o.out;
  const json j = json::parse(o.out);
  ASSERT_TRUE(j.contains("moves"));
  ASSERT_EQ(j["moves"].size(), 3u);
  EXPECT_FALSE(j.contains("candidates"));
  for (int i = 0; i < 3; ++i) {
    const json& m = j["moves"][i];
    EXPECT_EQ(m["proc"], i + 1);
    for (const char* key : {"from", "to", "piece_before", "piece_after", "score_tenths"})
      EXPECT_TRUE(m.contains(key)) << key;
  }
  // The same as the search alone.
  Kyokumen start;
  start.shoki_haichi();
  Taikyoku g = sente_taikyoku(start, 3);
  ComTurn turn;
  turn.run(g);
  for (int i = 1; i <= 3; ++i) {
    const Sashite& t = turn.te[i].te;
    const json& m = j["moves"][i - 1];
    ASSERT_FALSE(is_uchi(t.te.fc));  // a drop names no square
    EXPECT_EQ(m["from"], json::array({t.te.fc, t.te.fr}));
    EXPECT_EQ(m["to"], json::array({t.te.tc, t.te.tr}));
    EXPECT_EQ(m["piece_before"], t.moto_koma);
    EXPECT_EQ(m["piece_after"], t.te.koma);
    EXPECT_EQ(m["score_tenths"], t.score);
  }
  EXPECT_EQ(j["shuukyoku"], 0);
  EXPECT_EQ(j["sfen_after"], to_sfen(g.pos(), true, 4));
  // Move 1 at level 3 in the starting position: the pawn beside the bishop's diagonal.
  EXPECT_EQ(j["moves"][0]["from"], json::array({7, 3}));
  EXPECT_EQ(j["moves"][0]["score_tenths"], 100);
}

TEST_F(Think, CandidatesInScoringOrderWithBothPromotionTrials) {
  // An upper silver on (4, 6) may promote on (3, 7), (4, 7), (5, 7): two entries each,
  // the unpromoted first.
  const test::CliRun o = think("'k8/9/9/9/9/3s5/9/9/8K w - 1' --level 3 --only 1 --candidates");
  ASSERT_EQ(o.status, 0) << o.out;
  const json j = json::parse(o.out);
  ASSERT_TRUE(j["candidates"].contains("1"));
  EXPECT_FALSE(j["candidates"].contains("2"));
  const json& c = j["candidates"]["1"];
  int pairs = 0;
  for (std::size_t i = 0; i + 1 < c.size(); ++i)
    if (c[i]["from"] == json::array({4, 6}) && c[i]["to"] == c[i + 1]["to"] &&
        c[i + 1]["from"] == json::array({4, 6})) {
      EXPECT_EQ(c[i]["piece_after"], GIN);
      EXPECT_EQ(c[i + 1]["piece_after"], NARIGIN);
      ++pairs;
    }
  EXPECT_EQ(pairs, 3);
  EXPECT_EQ(j["moves"].size(), 1u);
  // After move 1 the lower pieces move next.
  EXPECT_NE(j["sfen_after"].get<std::string>().find(" b "), std::string::npos);
}

TEST_F(Think, DropsAreWrittenWithTheirHandColumns) {
  // The upper hand holds a pawn, the lower a gold: both procedures may drop.
  const test::CliRun o = think("'4k4/9/9/9/9/9/9/9/4K4 w Gp 1' --level 3 --candidates");
  ASSERT_EQ(o.status, 0) << o.out;
  const json j = json::parse(o.out);
  bool upper = false, lower = false;
  for (const json& c : j["candidates"]["1"])
    if (c["from"][0] == -1) {
      EXPECT_EQ(c["from"][1], 1);  // hand index of the pawn
      upper = true;
    }
  for (const json& c : j["candidates"]["2"])
    if (c["from"][0] == 11) {
      EXPECT_EQ(c["from"][1], 5 + 2);  // the gold: hand index + 2
      lower = true;
    }
  EXPECT_TRUE(upper);
  EXPECT_TRUE(lower);
}

TEST_F(Think, OnlyTheThirdProcedureWithItsRestrictions) {
  // Move 1 ended on (7, 4), move 2 on (7, 5): the pawn on (7, 4) may not move, the lower
  // pawn on (7, 5) may not be taken.
  const std::string sfen = "'lnsgkgsnl/1r5b1/pppppp1pp/6p2/6P2/9/PPPPPP1PP/1B5R1/LNSGKGSNL w - 1'";
  const test::CliRun o = think(sfen + " --level 3 --only 3 --ichite 7,4 --nite 7,5 --candidates");
  ASSERT_EQ(o.status, 0) << o.out;
  const json j = json::parse(o.out);
  ASSERT_EQ(j["moves"].size(), 1u);
  EXPECT_EQ(j["moves"][0]["proc"], 3);
  for (const json& c : j["candidates"]["3"]) {
    EXPECT_NE(c["from"], json::array({7, 4}));
    EXPECT_NE(c["to"], json::array({7, 5}));
  }
}

TEST_F(Think, TheLowerSideToMoveIsAnsweredForInThePositionsOwnSquares) {
  // The same position turned round, with the lower side to move: the same turn, turned.
  const char* ue = "'4k4/9/4p4/9/9/9/9/1r7/4K4 w G 1'";
  const char* sita = "'4k4/7R1/9/9/9/9/4P4/9/4K4 b g 1'";
  const test::CliRun a = think(std::string(ue) + " --level 3 --candidates");
  const test::CliRun b = think(std::string(sita) + " --level 3 --candidates");
  ASSERT_EQ(a.status, 0) << a.out;
  ASSERT_EQ(b.status, 0) << b.out;
  const json ja = json::parse(a.out), jb = json::parse(b.out);
  ASSERT_EQ(ja["moves"].size(), jb["moves"].size());
  const auto turned = [](const json& sq) {
    const int c = sq[0], r = sq[1];
    if (c == TE_UE) return json::array({TE_SITA, r + 2});
    if (c == TE_SITA) return json::array({TE_UE, r - 2});
    return json::array({10 - c, 10 - r});
  };
  for (std::size_t i = 0; i < ja["moves"].size(); ++i) {
    EXPECT_EQ(jb["moves"][i]["from"], turned(ja["moves"][i]["from"]));
    EXPECT_EQ(jb["moves"][i]["to"], turned(ja["moves"][i]["to"]));
    EXPECT_EQ(jb["moves"][i]["piece_before"], -ja["moves"][i]["piece_before"].get<int>());
  }
  // The first and third moves move the lower pieces, the second an upper one.
  EXPECT_LT(jb["moves"][0]["piece_before"].get<int>(), 0);
  EXPECT_GT(jb["moves"][1]["piece_before"].get<int>(), 0);
  // After the whole turn the upper pieces move, on the board as it now stands.
  SfenPosition after_a, after_b;
  std::string error;
  ASSERT_TRUE(parse_sfen(ja["sfen_after"].get<std::string>(), after_a, error)) << error;
  ASSERT_TRUE(parse_sfen(jb["sfen_after"].get<std::string>(), after_b, error)) << error;
  EXPECT_EQ(after_b.teban_sita, 0);
  EXPECT_TRUE(test::same_position(kaiten(after_a.pos), after_b.pos));
  EXPECT_EQ(jb["candidates"]["1"].size(), ja["candidates"]["1"].size());
  EXPECT_EQ(jb["candidates"]["1"][0]["from"], turned(ja["candidates"]["1"][0]["from"]));
}

TEST_F(Think, AMateEndsTheTurnWithTheUpperSideAsWinner) {
  const test::CliRun o = think("'8k/9/9/9/9/9/1g7/1S7/KN7 w g 1' --level 1");
  ASSERT_EQ(o.status, 0) << o.out;
  const json j = json::parse(o.out);
  ASSERT_EQ(j["moves"].size(), 1u);
  EXPECT_EQ(j["moves"][0]["from"], json::array({-1, 5}));
  EXPECT_EQ(j["moves"][0]["to"], json::array({1, 8}));
  EXPECT_EQ(j["moves"][0]["score_tenths"], 99980);
  EXPECT_EQ(j["shuukyoku"], -1);
}

TEST_F(Think, BadInputIsRefusedWithExit2) {
  EXPECT_EQ(think(std::string(kStart)).status, 2);                       // no level
  EXPECT_EQ(think(std::string(kStart) + " --level 6").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --nodes 100").status, 2);  // a level-4 budget
  EXPECT_EQ(think(std::string(kStart) + " --level 4 --nodes 0").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 4 --nodes 10 --ms 10").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 4 --ms -5").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --only 0").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --ichite 0,4").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --nite 7").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --frobnicate").status, 2);
  const test::CliRun bad = think("'lnsgkgsnl/1r5b1 b - 1' --level 3");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out.rfind("mirado-cli think: SFEN: 'lnsgkgsnl/1r5b1 b - 1' is not a position: ", 0), 0u) << bad.out;
  const test::CliRun nolevel = think(std::string(kStart));
  EXPECT_NE(nolevel.out.find("--level"), std::string::npos) << nolevel.out;
  // One line of explanation, nothing on standard output.
  const test::CliRun zero = think(std::string(kStart) + " --level 4 --nodes 0");
  EXPECT_EQ(std::count(zero.out.begin(), zero.out.end(), '\n'), 1) << zero.out;
}

TEST_F(Think, LevelsFourAndFiveAreTheSameForTheSameBudget) {
  for (const int level : {4, 5}) {
    SCOPED_TRACE("level " + std::to_string(level));
    const std::string args = std::string(kStart) + " --level " + std::to_string(level) + " --nodes 3000 --candidates";
    const test::CliRun a = think(args), b = think(args);
    ASSERT_EQ(a.status, 0) << a.out;
    EXPECT_EQ(a.out, b.out);
    const json j = json::parse(a.out);
    ASSERT_EQ(j["moves"].size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(j["moves"][i]["proc"], i + 1);
    EXPECT_LE(j["nodes"].get<int>(), 3000);
    // Only LEVEL5 reports the whole turns it read.
    EXPECT_EQ(j.contains("depth"), level == 5);
    ASSERT_FALSE(j["lines"].empty());
    // The first principal line is the turn that was played.
    const json& first = j["lines"][0];
    EXPECT_EQ(first["score"], j["score"]);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(first["turn"][i]["from"], j["moves"][i]["from"]);
      EXPECT_EQ(first["turn"][i]["to"], j["moves"][i]["to"]);
    }
  }
  // Levels 1-3 print no look-ahead fields.
  const json l3 = json::parse(think(std::string(kStart) + " --level 3").out);
  EXPECT_FALSE(l3.contains("score"));
  EXPECT_FALSE(l3.contains("nodes"));
}

}  // namespace
}  // namespace mirado
