// mirado-cli analyse as a user runs it: a line per turn and a summary, the same with one
// job or two under --nodes, the SVG graph, and records refused by their exit status.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "cli_support.h"
#include "kaiseki_kiroku.h"
#include "kifu/kifu_file.h"
#include "game_shiken.h"
#include "kifu_support.h"

namespace mirado {
namespace {

using nlohmann::json;

test::CliRun run(const std::string& args) { return test::run_cli("analyse " + args, false); }

std::vector<json> lines_of(const std::string& out) {
  std::vector<json> v;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) v.push_back(json::parse(line));
  return v;
}

class AnalyseCli : public test::KifuDir {
 protected:
  int blunder = 0;
  void SetUp() override {
    test::KifuDir::SetUp();
    const std::vector<KifuEntry> e = kyou_wo_toraseru_kiroku(blunder);
    ASSERT_FALSE(e.empty());
    int bad = 0;
    // The blunder leaves the lower king attacked, which only the computer may: a match's
    // computer played the lower pieces.
    const auto bytes = encode_kifu("blunder", "LEVEL1", "LEVEL1", e, bad);
    ASSERT_TRUE(bytes);
    std::string error;
    ASSERT_TRUE(write_file_atomically("b.棋譜", *bytes, error)) << error;
  }
};

// LEVEL4 judges by default, LEVEL5 when asked (on a budget of moves): both alike in what
// the user sees.
TEST_F(AnalyseCli, OneLinePerTurnTheSameWithTwoJobsAndAGraph) {
  for (const char* level : {"", " --level 5"}) {
  SCOPED_TRACE(level);
  test::write_players_own_files();
  const test::CliRun one = run(std::string("b.棋譜 --nodes 6000 --jobs 1") + level);
  const test::CliRun two = run(std::string("b.棋譜 --nodes 6000 --jobs 2 --svg g.svg") + level);
  ASSERT_EQ(one.status, 0);
  ASSERT_EQ(two.status, 0);
  EXPECT_EQ(test::players_own_files_touched(), std::vector<std::string>{});
  EXPECT_EQ(one.out, two.out);
  const std::vector<json> v = lines_of(one.out);
  ASSERT_EQ(v.size(), 5u);
  const json& b = v[static_cast<std::size_t>(blunder)];
  EXPECT_EQ(b["turn"], blunder + 1);
  EXPECT_EQ(b["side"], "先手");
  EXPECT_EQ(b["class"], "悪手");
  EXPECT_EQ(b["win_after"], 0.0);
  EXPECT_EQ(v[3]["played"], "△５九角不成");
  EXPECT_EQ(v[4]["summary"]["turns"], 4);
  EXPECT_EQ(v[4]["summary"]["winner"], "後手");
  EXPECT_EQ(v[4]["summary"]["先手"]["悪手"], 1);
  EXPECT_EQ(v[4]["summary"]["budget_nodes"], 6000);
  const std::string svg = read_bytes("g.svg");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
  EXPECT_NE(svg.find("<polyline"), std::string::npos);
  EXPECT_NE(svg.find("悪手</title>"), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
  }
}

// A kept game is a record the program wrote: kifu and analyse take it from the start its
// handicap left, and analyse divides it into turns by its own phases, a turn in which the
// computer found no third move holding two moves.
TEST_F(AnalyseCli, AKeptHandicappedGameWithACutShortTurnIsReadAsItWasPlayed) {
  const std::vector<KifuEntry> e = tobashi_kifu();
  int bad = 0;
  write_bytes("k.棋譜", *encode_kifu("中断した対局 ﾊﾝﾃﾞｨｷｬｯﾌﾟ10", "COM LEVEL1", "人間", e, bad));
  const test::CliRun kifu = test::run_cli("kifu k.棋譜", false);
  ASSERT_EQ(kifu.status, 0) << kifu.out;
  EXPECT_EQ(json::parse(kifu.out)["positions"].size(), e.size());
  const test::CliRun r = run("k.棋譜 --nodes 200");
  ASSERT_EQ(r.status, 0) << r.out;
  const std::vector<json> v = lines_of(r.out);
  const std::size_t turns = (e.size() - 3) / 3 + 1;  // the last turn whole, of two moves
  ASSERT_EQ(v.size(), turns + 1);
  for (std::size_t i = 0; i < turns; ++i) EXPECT_EQ(v[i]["pieces"], i % 2 ? "upper" : "lower") << i;
  const std::string played = v[turns - 1]["played"];
  EXPECT_EQ(std::count(played.begin(), played.end(), ' '), 1) << played;  // two moves
  EXPECT_EQ(v[turns]["summary"]["turns"], turns);
}

// Six analyses at once writing their graphs into one folder, round after round: each
// one's save survives the clean-up the others make before theirs.
TEST_F(AnalyseCli, SixAtOnceIntoOneFolderAllWriteTheirGraphs) {
  std::string cmd = "for round in $(seq 30); do for i in 1 2 3 4 5 6; do ('";
  cmd += std::string(MIRADO_CLI) + "' analyse b.棋譜 --nodes 50 --svg g$i.svg >/dev/null 2>&1 || echo \"failed $round.$i\") & ";
  cmd += "done; wait; done";
  FILE* p = ::popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string failures;
  char buf[256];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) failures.append(buf, n);
  ASSERT_EQ(::pclose(p), 0);
  EXPECT_EQ(failures, "");
  for (int i = 1; i <= 6; ++i) EXPECT_NE(read_bytes("g" + std::to_string(i) + ".svg").find("</svg>"), std::string::npos) << i;
}

TEST_F(AnalyseCli, RecordsThatCannotBeReadOrPlayedAreRefused) {
  EXPECT_EQ(run("missing.棋譜").status, 2);
  EXPECT_EQ(run("b.棋譜 --nodes 0").status, 2);
  EXPECT_EQ(run("b.棋譜 --nodes 10 --ms 10").status, 2);
  EXPECT_EQ(run("b.棋譜 --jobs").status, 2);
  EXPECT_EQ(run("b.棋譜 --level 3").status, 2);  // the design's levels do not read ahead
  EXPECT_EQ(run("b.棋譜 --level 6").status, 2);
  write_bytes("bad.棋譜", "t\nu\nv\n3 736-10 -10 0   0    2    0    0    \n\n5 55410  10  0   2    2    0    1    \n");
  const test::CliRun bad = test::run_cli("analyse bad.棋譜 --nodes 100");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.out.find("line 6"), std::string::npos) << bad.out;
  EXPECT_EQ(bad.out.find("{"), std::string::npos);  // nothing half-analysed on stdout
  // Whatever `kifu` refuses is refused here, with no graph: lines the rules forbid, and a
  // record without moves.
  write_bytes("kara.棋譜", "t\nu\nv\n");
  std::vector<test::IhanKifu> refused = test::ihan_kifu_kaku();
  refused.push_back({"kara", 0, "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"});
  for (const test::IhanKifu& k : refused) {
    const test::CliRun r = test::run_cli("analyse " + k.name + ".棋譜 --nodes 100 --svg g.svg");
    EXPECT_EQ(r.status, 1) << k.name << ": " << r.out;
    EXPECT_NE(r.out.find(k.naze), std::string::npos) << r.out;
    if (k.line > 0) {
      EXPECT_NE(r.out.find("line " + std::to_string(k.line)), std::string::npos) << r.out;
    }
    EXPECT_EQ(r.out.find("{"), std::string::npos) << k.name;
    EXPECT_FALSE(std::filesystem::exists("g.svg")) << k.name;
  }
}

}  // namespace
}  // namespace mirado
