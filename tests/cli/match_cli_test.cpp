// mirado-cli match as a user runs it: the JSON result, the record files it writes (and
// that the game loads), the same games for the same budget, and refused options.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/toukei.h"
#include "cli_support.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

test::CliRun match(const std::string& args, bool with_stderr = false) {
  return test::run_cli("match " + args, with_stderr);
}

// The statistics worked out here from their textbook forms: Elo from the odds of the
// score, the spread of a game as E[x²] - E[x]², the SPRT's log-likelihood ratio as the
// difference of the squared distances to the two hypotheses' scores.
double elo(double p) { return 400 * std::log10(p / (1 - p)); }
double expected_score(double elo_diff) { return 1 / (1 + std::pow(10, -elo_diff / 400)); }
double spread(const cli::Shouhai& s) {
  const double n = static_cast<double>(s.n()), m = s.score();
  return (static_cast<double>(s.w) + 0.25 * static_cast<double>(s.d)) / n - m * m;
}
double llr(const cli::Shouhai& s, double elo0, double elo1, double var) {
  const double m = s.score(), s0 = expected_score(elo0), s1 = expected_score(elo1);
  return ((m - s0) * (m - s0) - (m - s1) * (m - s1)) / (2 * var / static_cast<double>(s.n()));
}

TEST(MatchStatistics, EloIntervalAndSprtFromKnownResults) {
  // 60 wins, 20 losses, 20 draws: score 0.7, one game's spread 0.16, standard error 0.04.
  const cli::Shouhai s{60, 20, 20};
  EXPECT_NEAR(spread(s), 0.16, 1e-12);
  const cli::EloKukan k = cli::elo_kukan(s);
  EXPECT_NEAR(k.elo, 147.19, 0.01);
  EXPECT_NEAR(k.lo, elo(0.7 - 1.96 * 0.04), 1e-6);
  EXPECT_NEAR(k.hi, elo(0.7 + 1.96 * 0.04), 1e-6);
  EXPECT_NEAR(k.lo, 86.2, 0.1);
  EXPECT_NEAR(k.hi, 218.3, 0.1);
  EXPECT_FALSE(k.bound);
  // An even score sits at 0 with an interval symmetric round it.
  const cli::EloKukan even = cli::elo_kukan({30, 30, 40});
  EXPECT_NEAR(even.elo, 0, 1e-9);
  EXPECT_NEAR(even.lo, -even.hi, 1e-9);

  // The bounds for alpha = beta = 0.05: ln(0.05 / 0.95) and ln(0.95 / 0.05).
  const cli::Sprt t{0, 50, 0.05, 0.05};
  EXPECT_NEAR(cli::sprt_shita(t), -2.944, 1e-3);
  EXPECT_NEAR(cli::sprt_ue(t), 2.944, 1e-3);
  EXPECT_NEAR(cli::sprt_ue({0, 50, 0.01, 0.1}), std::log(0.9 / 0.01), 1e-9);
  // 0.7 against 0.5 and 0.5715 weighs 7.34 for H1.
  EXPECT_NEAR(cli::sprt_llr(s, t), llr(s, 0, 50, 0.16), 1e-9);
  EXPECT_NEAR(cli::sprt_llr(s, t), 7.34, 0.01);
  EXPECT_EQ(cli::sprt_hantei(s, t), cli::SprtKetsu::h1);
  // An even score over 50 games leaves the test undecided; over 250 it accepts H0.
  const cli::Shouhai few{20, 20, 10}, many{100, 100, 50};
  EXPECT_NEAR(cli::sprt_llr(few, t), -0.64, 0.01);
  EXPECT_EQ(cli::sprt_hantei(few, t), cli::SprtKetsu::tsuzuku);
  EXPECT_NEAR(cli::sprt_llr(many, t), llr(many, 0, 50, 0.2), 1e-9);
  EXPECT_EQ(cli::sprt_hantei(many, t), cli::SprtKetsu::h0);
  // H1 against H0 is H0 against H1 with the sign turned.
  EXPECT_NEAR(cli::sprt_llr(s, {50, 0, 0.05, 0.05}), -cli::sprt_llr(s, t), 1e-9);
}

TEST(MatchStatistics, ASweepHasABoundAndStopsTheTestOnlyWhenLong) {
  // 10-0 is taken as 9.5-0.5: Elo 400 log10(19), and no interval past 1600.
  const cli::EloKukan k = cli::elo_kukan({10, 0, 0});
  EXPECT_TRUE(k.bound);
  EXPECT_NEAR(k.elo, elo(0.95), 1e-9);
  EXPECT_LT(k.lo, k.elo);
  EXPECT_LE(k.hi, 1600);
  EXPECT_NEAR(cli::elo_kukan({0, 10, 0}).elo, -k.elo, 1e-9);
  // No spread in the games: that of win-or-loss games halfway between the hypotheses.
  const cli::Sprt t{0, 50, 0.05, 0.05};
  const double mid = (0.5 + expected_score(50)) / 2;
  for (const long long n : {10LL, 40LL}) {
    const cli::Shouhai sweep{n, 0, 0};
    EXPECT_NEAR(cli::sprt_llr(sweep, t), llr(sweep, 0, 50, mid * (1 - mid)), 1e-9) << n;
  }
  EXPECT_EQ(cli::sprt_hantei({10, 0, 0}, t), cli::SprtKetsu::tsuzuku);
  EXPECT_EQ(cli::sprt_hantei({40, 0, 0}, t), cli::SprtKetsu::h1);
  EXPECT_EQ(cli::sprt_hantei({0, 40, 0}, t), cli::SprtKetsu::h0);
  EXPECT_EQ(cli::sprt_hantei({0, 0, 40}, t), cli::SprtKetsu::tsuzuku);  // even, but not yet 0
  EXPECT_EQ(cli::sprt_hantei({0, 0, 300}, t), cli::SprtKetsu::h0);
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

// Each side reads with its own budget, and the SPRT stops the match at the same game
// whether the games are played one at a time or two at once.
TEST(Match, BudgetsPerSideAndASequentialTestThatStopsTheSameForAnyJobs) {
  test::TempCwd cwd;
  const json own = json::parse(match("--a 5 --b 4 --a-nodes 400 --ms 300 --games 2 --max-moves 12").out);
  EXPECT_EQ(own["a_nodes"], 400);
  EXPECT_EQ(own["b_ms"], 300);
  EXPECT_FALSE(own.contains("nodes") || own.contains("ms")) << own;
  const json shared = json::parse(match("--a 4 --b 4 --nodes 300 --games 2 --max-moves 6").out);
  EXPECT_EQ(shared["nodes"], 300);
  EXPECT_FALSE(shared.contains("a_nodes")) << shared;
  // A side's budget is its own: the weaker budget loses more.
  const std::string budgets = "--a 4 --b 4 --a-nodes 3000 --b-nodes 20 --games 8 --max-moves 90 ";
  const json uneven = json::parse(match(budgets + "--jobs 2").out);
  EXPECT_GT(uneven["score"].get<double>(), 0.5) << uneven;

  const std::string args = "--a 4 --b 1 --nodes 200 --sprt 0,150 --alpha 0.1 --beta 0.1 --games 30 --max-moves 60 ";
  const test::CliRun one = match(args + "--jobs 1"), two = match(args + "--jobs 2");
  ASSERT_EQ(one.status, 0) << one.out;
  const json j = json::parse(one.out), k = json::parse(two.out);
  EXPECT_EQ(j["sprt"]["decision"], "H1") << j;
  const int played = j["games"].get<int>();
  EXPECT_LT(played, 30);
  EXPECT_EQ(j["wins"].get<int>() + j["losses"].get<int>() + j["draws"].get<int>(), played);
  EXPECT_GE(j["sprt"]["llr"].get<double>(), j["sprt"]["upper"].get<double>());
  EXPECT_NEAR(j["sprt"]["upper"].get<double>(), std::log(0.9 / 0.1), 0.01);
  for (const char* key : {"games", "wins", "losses", "draws", "elo", "elo_95", "sprt"}) EXPECT_EQ(j[key], k[key]) << key;
  // The interval holds the Elo.
  EXPECT_LE(j["elo_95"][0].get<double>(), j["elo"].get<double>());
  EXPECT_GE(j["elo_95"][1].get<double>(), j["elo"].get<double>());
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
      "--a 4 --b 3 --a-nodes 10 --a-ms 10",
      "--a 4 --b 3 --b-nodes 10",             // level 3 does not read ahead
      "--a 2 --b 5 --a-ms 10",
      "--a 4 --b 3 --alpha 0.1",              // no test to set
      "--a 4 --b 3 --sprt 50,0",
      "--a 4 --b 3 --sprt 0",
      "--a 4 --b 3 --sprt 0,x5",
      "--a 4 --b 3 --sprt 0,5 --beta 0.5",
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
