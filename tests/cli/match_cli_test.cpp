// mirado-cli match as a user runs it: the JSON result, the record files it writes (and
// that the game loads), the same games for the same budget, and refused options.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli_support.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

test::CliRun match(const std::string& args, bool with_stderr = false) {
  return test::run_cli("match " + args, with_stderr);
}

TEST(Match, ShortMatchWritesLoadableRecordsAndRepeatsItself) {
  test::TempCwd cwd;
  const std::string args = "--a 4 --b 3 --games 4 --nodes 1500 --max-moves 24 --jobs 2 --pgn-like ";
  const test::CliRun a = match(args + "one 2>progress.txt"), b = match(args + "two 2>/dev/null");
  ASSERT_EQ(a.status, 0) << a.out;
  const json j = json::parse(a.out), k = json::parse(b.out);
  EXPECT_EQ(j["games"], 4);
  EXPECT_EQ(j["openings"], 2);
  EXPECT_GE(j["openings_in_set"].get<int>(), 100);  // the built-in set
  EXPECT_EQ(j["wins"].get<int>() + j["losses"].get<int>() + j["draws"].get<int>(), 4);
  int ended = 0;
  for (const auto& [how, n] : j["ended"].items()) {
    EXPECT_TRUE(how == "mate" || how == "king taken" || how == "move cap") << how;
    ended += n.get<int>();
  }
  EXPECT_EQ(ended, 4);
  EXPECT_EQ(j["ended"].value("move cap", 0), j["draws"].get<int>());
  const double score = (j["wins"].get<int>() + 0.5 * j["draws"].get<int>()) / 4.0;
  EXPECT_DOUBLE_EQ(j["score"].get<double>(), score);
  for (const char* side : {"a_time", "b_time"}) {
    EXPECT_GT(j[side]["turns"].get<int>(), 0) << side;
    EXPECT_LE(j[side]["median_ms"].get<double>(), j[side]["slowest_ms"].get<double>()) << side;
  }
  // Parallel jobs or not, the same budget plays the same games.
  for (const char* key : {"wins", "losses", "draws"}) EXPECT_EQ(j[key], k[key]) << key;
  // The progress lines count the moves as the records hold them.
  std::vector<std::size_t> said, written;
  {
    std::ifstream progress("progress.txt");
    for (std::string line; std::getline(progress, line);)
      if (const auto open = line.find(" ("); open != std::string::npos && line.find(" moves)") != std::string::npos)
        said.push_back(std::stoul(line.substr(open + 2)));
  }
  for (int i = 1; i <= 4; ++i) {
    const std::string name = "game-00" + std::to_string(i) + ".棋譜";
    written.push_back(json::parse(test::run_cli("kifu 'one/" + name + "'", false).out)["entries"].size());
    ASSERT_TRUE(fs::exists(fs::path("one") / name)) << name;
    // Every entry steps on the board as the game steps it.
    const test::CliRun loaded = test::run_cli("kifu 'one/" + name + "'", false);
    ASSERT_EQ(loaded.status, 0) << loaded.out;
    const json kj = json::parse(loaded.out);
    EXPECT_TRUE(kj["error"].is_null()) << name << ": " << kj["error"];
    EXPECT_GE(kj["entries"].size(), 6u);  // the opening's six moves at least
    EXPECT_EQ(kj["positions"].size(), kj["entries"].size());
    // Times aside, the two runs wrote the same games.
    const json kk = json::parse(test::run_cli("kifu 'two/" + name + "'", false).out);
    ASSERT_EQ(kj["entries"].size(), kk["entries"].size());
    for (std::size_t e = 0; e < kj["entries"].size(); ++e)
      for (int f = 0; f < 7; ++f) EXPECT_EQ(kj["entries"][e][f], kk["entries"][e][f]);
  }
  std::sort(said.begin(), said.end());
  std::sort(written.begin(), written.end());
  EXPECT_EQ(said, written);
}

TEST(Match, ProgressOnStderrAndOpeningsFromAFile) {
  test::TempCwd cwd;
  {
    std::ofstream f("open.sfen");
    f << "# the start position, twice over\n"
         "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1\n";
  }
  const test::CliRun r = match("--a 1 --b 2 --openings open.sfen --max-moves 9", true);
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find("game 2/2"), std::string::npos) << r.out;  // each opening twice
  const json j = json::parse(r.out.substr(r.out.find('{')));
  EXPECT_EQ(j["openings"], 1);
  EXPECT_EQ(j["games"], 2);
}

// --pgn-like writes only records that load: an opening with its moves is recorded from
// the even start with them; one elsewhere without them, or with moves that do not lead to
// it, is refused before play with one line and exit 2, and nothing is written.
TEST(Match, RecordsOnlyWhatTheGameCanLoad) {
  test::TempCwd cwd;
  const std::string moves = "8,8,6,8,-900,-900 2,2,7,2,900,900 3,7,3,6,-10,-10 3,1,3,2,100,100 "
                            "5,9,4,8,-950,-950 7,1,6,2,100,100";
  const std::string sfen = "ln1gkg1nl/2s2srb1/ppppppppp/9/9/2P6/PP1PPPPPP/1B1K1R3/LNSG1GSNL b - 7";
  {
    std::ofstream("known.sfen") << sfen << " ; " << moves << "\n";
    std::ofstream("bare.sfen") << "# a position no record can start from\n" << sfen << "\n";
    std::ofstream("wrong.sfen") << sfen << " ; " << moves.substr(0, moves.rfind(' ')) << "\n";
  }
  const test::CliRun known = match("--a 1 --b 2 --openings known.sfen --max-moves 12 --pgn-like k");
  ASSERT_EQ(known.status, 0) << known.out;
  for (const char* name : {"k/game-001.棋譜", "k/game-002.棋譜"}) {
    const test::CliRun loaded = test::run_cli(std::string("kifu '") + name + "'", false);
    EXPECT_EQ(loaded.status, 0) << name << ": " << loaded.out;
    const json kj = json::parse(loaded.out);
    ASSERT_GE(kj["entries"].size(), 6u);
    EXPECT_EQ(kj["entries"][0], json({8, 8, 6, 8, -900, -900, 0, 0, 0, 0, 0}));
    EXPECT_EQ(kj["positions"][5].get<std::string>().substr(0, sfen.size() - 2), sfen.substr(0, sfen.size() - 2));
  }
  for (const char* file : {"bare.sfen", "wrong.sfen"}) {
    const test::CliRun r = match(std::string("--a 1 --b 2 --openings ") + file + " --pgn-like out", true);
    EXPECT_EQ(r.status, 2) << file << ": " << r.out;
    EXPECT_EQ(r.out.rfind(std::string("mirado-cli match: ") + file + ": line ", 0), 0u) << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
    EXPECT_FALSE(fs::exists("out")) << file;
  }
  // Without records the same openings are played.
  EXPECT_EQ(match("--a 1 --b 2 --openings bare.sfen --max-moves 6").status, 0);
}

TEST(Match, BadOptionsAreRefusedWithOneLineAndExit2) {
  test::TempCwd cwd;
  {
    std::ofstream f("broken.sfen");
    f << "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1\nnot a position\n";
  }
  const char* bad[] = {
      "",                                     // no sides
      "--a 4",                                // no B
      "--a 6 --b 3",                          // no such level
      "--a 4 --b 3 --games 0",
      "--a 4 --b 3 --games two",
      "--a 4 --b 3 --jobs 0",
      "--a 4 --b 3 --max-moves 1",
      "--a 4 --b 3 --nodes 10 --ms 10",
      "--a 4 --b 3 --openings missing.sfen",
      "--a 4 --b 3 --openings broken.sfen",
      "--a 4 --b 3 --frobnicate",
      "--a 4 --b",
  };
  for (const char* args : bad) {
    const test::CliRun r = match(args, true);
    EXPECT_EQ(r.status, 2) << args << ": " << r.out;
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << args << ": " << r.out;
  }
  EXPECT_NE(match("--a 4 --b 3 --openings broken.sfen", true).out.find("line 2"), std::string::npos);
}

}  // namespace
}  // namespace mirado
