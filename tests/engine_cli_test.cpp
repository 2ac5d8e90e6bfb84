// mirado-cli think as a user runs it: its JSON and the exit codes.
// The tool is found beside this test binary (both land in the build's bin/ folder).
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

#include "engine/tansaku.h"
#include "model/sfen.h"

namespace mirado {
namespace {

using nlohmann::json;

std::string cli_path() {
  std::array<char, 4096> buf{};
  const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return {};
  std::string self(buf.data(), static_cast<std::size_t>(n));
  return self.substr(0, self.find_last_of('/')) + "/mirado-cli";
}

struct Out {
  int status = -1;
  std::string text;  // stdout and stderr
};

Out think(const std::string& args) {
  Out o;
  const std::string cmd = "'" + cli_path() + "' think " + args + " 2>&1";
  FILE* f = popen(cmd.c_str(), "r");
  if (!f) return o;
  std::array<char, 4096> buf{};
  std::size_t n;
  while ((n = std::fread(buf.data(), 1, buf.size(), f)) > 0) o.text.append(buf.data(), n);
  const int st = pclose(f);
  o.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return o;
}

class Think : public ::testing::Test {
 protected:
  void SetUp() override {
    if (access(cli_path().c_str(), X_OK) != 0) GTEST_SKIP() << "mirado-cli not built beside the tests";
  }
};

const char* kStart = "'lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1'";

TEST_F(Think, AWholeTurnAsJson) {
  const Out o = think(std::string(kStart) + " --level 3");
  ASSERT_EQ(o.status, 0) << o.text;
  const json j = json::parse(o.text);
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
  Kyokumen p;
  p.shoki_haichi();
  Kiki k{};
  kiki_keisan(p.ban, k);
  ComTurn t;
  t.level = 3;
  t.run(p, k);
  for (int i = 1; i <= 3; ++i) {
    const json& m = j["moves"][i - 1];
    EXPECT_EQ(m["from"], json::array({t.te[i].fc, t.te[i].fr}));
    EXPECT_EQ(m["to"], json::array({t.te[i].tc, t.te[i].tr}));
    EXPECT_EQ(m["piece_before"], t.te[i].moto_koma);
    EXPECT_EQ(m["piece_after"], t.te[i].koma);
    EXPECT_EQ(m["score_tenths"], t.te[i].score);
  }
  EXPECT_EQ(j["shuukyoku"], 0);
  EXPECT_EQ(j["sfen_after"], to_sfen(p, true, 4));
  // Move 1 at level 3 in the starting position: the pawn beside the bishop's diagonal.
  EXPECT_EQ(j["moves"][0]["from"], json::array({7, 3}));
  EXPECT_EQ(j["moves"][0]["score_tenths"], 100);
}

TEST_F(Think, CandidatesInScoringOrderWithBothPromotionTrials) {
  // An upper silver on (4, 6) may promote on (3, 7), (4, 7), (5, 7): two entries each,
  // the unpromoted first.
  const Out o = think("'k8/9/9/9/9/3s5/9/9/8K w - 1' --level 3 --only 1 --candidates");
  ASSERT_EQ(o.status, 0) << o.text;
  const json j = json::parse(o.text);
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
  const Out o = think("'4k4/9/9/9/9/9/9/9/4K4 b Gp 1' --level 3 --candidates");
  ASSERT_EQ(o.status, 0) << o.text;
  const json j = json::parse(o.text);
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
  const std::string sfen = "'lnsgkgsnl/1r5b1/pppppp1pp/6p2/6P2/9/PPPPPP1PP/1B5R1/LNSGKGSNL b - 1'";
  const Out o = think(sfen + " --level 3 --only 3 --ichite 7,4 --nite 7,5 --candidates");
  ASSERT_EQ(o.status, 0) << o.text;
  const json j = json::parse(o.text);
  ASSERT_EQ(j["moves"].size(), 1u);
  EXPECT_EQ(j["moves"][0]["proc"], 3);
  for (const json& c : j["candidates"]["3"]) {
    EXPECT_NE(c["from"], json::array({7, 4}));
    EXPECT_NE(c["to"], json::array({7, 5}));
  }
}

TEST_F(Think, AMateEndsTheTurnWithTheUpperSideAsWinner) {
  const Out o = think("'8k/9/9/9/9/9/1g7/1S7/KN7 b g 1' --level 1");
  ASSERT_EQ(o.status, 0) << o.text;
  const json j = json::parse(o.text);
  ASSERT_EQ(j["moves"].size(), 1u);
  EXPECT_EQ(j["moves"][0]["from"], json::array({-1, 5}));
  EXPECT_EQ(j["moves"][0]["to"], json::array({1, 8}));
  EXPECT_EQ(j["moves"][0]["score_tenths"], 99980);
  EXPECT_EQ(j["shuukyoku"], -1);
}

TEST_F(Think, BadInputIsRefusedWithExit2) {
  EXPECT_EQ(think(std::string(kStart)).status, 2);                       // no level
  EXPECT_EQ(think(std::string(kStart) + " --level 4").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --only 0").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --ichite 0,4").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --nite 7").status, 2);
  EXPECT_EQ(think(std::string(kStart) + " --level 3 --frobnicate").status, 2);
  const Out bad = think("'lnsgkgsnl/1r5b1 b - 1' --level 3");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.text.find("bad SFEN"), std::string::npos) << bad.text;
  const Out nolevel = think(std::string(kStart));
  EXPECT_NE(nolevel.text.find("--level"), std::string::npos) << nolevel.text;
}

}  // namespace
}  // namespace mirado
