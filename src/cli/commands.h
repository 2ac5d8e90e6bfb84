// Subcommands of mirado-cli, one file each (maps, mate and perft beside the parser in
// mirado_cli.cpp). The parser reads and checks every argument, so a command gets its options
// already valid; each prints one JSON result (play: one per event) and returns the exit
// status: 0 done, 1 a record the game refuses (kifu, analyse), 2 bad input.
#pragma once

#include <iostream>
#include <string>

#include "cli/toukei.h"
#include "rules/sfen.h"

namespace mirado::cli {

// A square given as "c,r"; 0,0 when not given.
struct Masu {
  int c = 0, r = 0;
};

struct ThinkOptions {
  SfenPosition sp;
  int level = 0;
  int only = 0;  // 0: the whole turn
  Masu ichite, nite;
  bool candidates = false;
  long long nodes = 0, ms = 0;  // level 4's budget; both 0: the window's
};

// A look-ahead's budget: whole turns or milliseconds; both 0: the window's.
struct Yosan {
  long long nodes = 0, ms = 0;
  bool operator==(const Yosan&) const = default;
};

struct MatchOptions {
  int level_a = 0, level_b = 0;
  int max_moves = 300;
  long long nodes = 0, ms = 0;  // both sides' budget
  Yosan a, b;                   // a side's own, before the shared one
  bool sprt = false;            // stop once the test decides; --games is then the most
  Sprt sprt_settei;
  long long games = 0;  // 0: every opening twice
  long long jobs = 1;
  std::string openings_path, out_dir;  // empty: the built-in openings, no records
};

struct OpeningsOptions {
  long long n = 0;
  long long seed = 1;
};

struct KifuOptions {
  std::string path, out_path;
  bool list = false;
};

struct AnalyseOptions {
  std::string path, svg;
  int level = 4;                // whose reading judges: 4 or 5
  long long nodes = 0, ms = 0;  // both 0: the analysis' own budget
  int jobs = 0;                 // 0: the analysis' own
};

// A command's error on stderr as one line, "mirado-cli COMMAND: MESSAGE" (the event
// runner's without a command, as its transcripts have them); returns `status`.
int fail(const std::string& command, const std::string& message, int status = 2,
         std::ostream& err = std::cerr);

int cmd_maps(const SfenPosition& sp);
int cmd_mate(const SfenPosition& sp);
int cmd_perft(const SfenPosition& sp, int depth);
// think and play write to the streams given, so that the tests can run them in-process.
int cmd_think(const ThinkOptions& o, std::ostream& out = std::cout);
int cmd_kifu(const KifuOptions& o);
int cmd_analyse(const AnalyseOptions& o);
int cmd_play(const std::string& path, std::ostream& out = std::cout, std::ostream& err = std::cerr);
int cmd_match(const MatchOptions& o);
int cmd_openings(const OpeningsOptions& o);

}  // namespace mirado::cli
