// mirado-cli: analysis and regression checks on positions given in SFEN. Every command
// and option is read here, by CLI11, so the help, the usage errors and their exit status
// come from one place; the commands get their options already checked.
#include <cstdio>
#include <functional>
#include <iostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "rules/kiki.h"
#include "rules/perft.h"
#include "rules/sfen.h"
#include "rules/tsumi.h"

namespace {

using mirado::Kiki;
using nlohmann::json;

json map_json(const Kiki::Map& m) {
  json rows = json::array();
  for (int r = 1; r <= 9; ++r) {
    json row = json::array();
    for (int c = 1; c <= 9; ++c) row.push_back(m[c][r]);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

namespace mirado::cli {

int cmd_maps(const mirado::SfenPosition& sp) {
  const Kiki& k = sp.pos.kiki();
  json out;
  out["kiki_sita"] = map_json(k.kiki_sita);
  out["kiki_ue"] = map_json(k.kiki_ue);
  out["himo_sita"] = map_json(k.himo_sita);
  out["himo_ue"] = map_json(k.himo_ue);
  out["atari_sita"] = map_json(k.atari_sita);
  out["atari_ue"] = map_json(k.atari_ue);
  out["oute_sita"] = map_json(k.oute_sita);
  out["oute_ue"] = map_json(k.oute_ue);
  out["ou_sita"] = {sp.pos.ou_sita_x, sp.pos.ou_sita_y};
  out["ou_ue"] = {sp.pos.ou_ue_x, sp.pos.ou_ue_y};
  std::cout << out.dump() << "\n";
  return 0;
}

int cmd_mate(const mirado::SfenPosition& sp) {
  json out;
  // Each answer from a fresh state, so one test's side effects cannot colour the next.
  auto fresh = [&](auto test) {
    mirado::Kyokumen p = sp.pos;
    return test(p);
  };
  // Written as 1 and 0, as the command has always answered.
  out["sita_outechu"] = fresh([](mirado::Kyokumen& p) { return mirado::sita_outechu(p) ? 1 : 0; });
  out["tsumi_sita"] = fresh([](mirado::Kyokumen& p) { return mirado::tsumi_sita(p) ? 1 : 0; });
  out["tsumi_ue"] = fresh([](mirado::Kyokumen& p) { return mirado::tsumi_ue(p) ? 1 : 0; });
  std::cout << out.dump() << "\n";
  return 0;
}

int cmd_perft(const mirado::SfenPosition& sp, int depth) {
  mirado::Kyokumen p = sp.pos;
  json out;
  out["depth"] = depth;
  out["nodes"] = mirado::perft(p, sp.teban_sita == 1, depth);
  std::cout << out.dump() << "\n";
  return 0;
}

}  // namespace mirado::cli


namespace {

using namespace mirado::cli;

constexpr int kBadInput = 2;
constexpr const char* kName = "mirado-cli";

// Help as command-line tools give it: the usage line first, then what the command does.
class Help : public CLI::Formatter {
 public:
  Help() {
    label("SUBCOMMAND", "COMMAND");
    label("Subcommands", "Commands");
    column_width(24);
  }
  std::string make_usage(const CLI::App* app, std::string name) const override {
    if (app->get_parent() != nullptr) return CLI::Formatter::make_usage(app, name);
    return "Usage: " + name + " COMMAND ARGUMENTS...\n       " + name + " [COMMAND] --help\n       " + name +
           " --version\n";
  }
  std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override {
    if (mode == CLI::AppFormatMode::Sub) return make_expanded(app);
    return make_usage(app, name) + "\n" + make_description(app) + make_positionals(app) + make_groups(app, mode) +
           make_subcommands(app, mode) + "\n" + make_footer(app);
  }
};

// Reads an option's text into the command's options, or says why the text is wrong.
using Reader = std::function<std::string(const std::string&)>;

CLI::Option* add(CLI::App* command, const std::string& name, const std::string& help, Reader read) {
  auto check = [name, read](const std::string& text) {
    if (const std::string why = read(text); !why.empty()) throw CLI::ValidationError(name, "'" + text + "' " + why);
  };
  CLI::Option* o = command->add_option_function<std::string>(name, check, help);
  return o->get_positional() ? o->type_name("") : o;
}

// Digits only, from lo to hi.
template <class T>
Reader whole(long long lo, long long hi, T& out) {
  return [lo, hi, &out](const std::string& s) -> std::string {
    const bool digits = !s.empty() && s.size() <= 13 && s.find_first_not_of("0123456789") == std::string::npos;
    const long long v = digits ? std::stoll(s) : -1;
    if (v < lo || v > hi) return "is not a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
    out = static_cast<T>(v);
    return "";
  };
}

Reader file_name(std::string& out) {
  return [&out](const std::string& s) -> std::string {
    out = s;
    return s.empty() ? "is not a file name" : "";
  };
}

Reader position(mirado::SfenPosition& out) {
  return [&out](const std::string& s) -> std::string {
    std::string error;
    return mirado::parse_sfen(s, out, error) ? "" : "is not a position: " + error;
  };
}

// "c,r" with c and r from 1 to 9.
Reader square(Masu& out) {
  return [&out](const std::string& s) -> std::string {
    auto digit = [](char ch) { return ch >= '1' && ch <= '9'; };
    if (s.size() != 3 || !digit(s[0]) || s[1] != ',' || !digit(s[2])) return "is not a square c,r from 1,1 to 9,9";
    out = {s[0] - '0', s[2] - '0'};
    return "";
  };
}

// The look-ahead's budget: whole turns (the same answer every time) or milliseconds, not
// both; `side` names a match side's own ("a-").
void budget(CLI::App* command, long long& nodes, long long& ms, long long ms_max, const std::string& side = "",
            const std::string& whose = "") {
  CLI::Option* n = add(command, "--" + side + "nodes", "whole turns per search" + whose + " (the same answer every time)",
                       whole(1, 1'000'000'000'000LL, nodes));
  CLI::Option* t = add(command, "--" + side + "ms", "milliseconds per search" + whose, whole(1, ms_max, ms));
  n->type_name("N")->excludes(t);
  t->type_name("T");
}

// A number with a fraction, from lo to hi.
Reader fraction(double lo, double hi, double& out) {
  return [lo, hi, &out](const std::string& s) -> std::string {
    std::size_t used = 0;
    double v = 0;
    try {
      v = std::stod(s, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used == 0 || used != s.size() || !(v > lo && v < hi))
      return "is not a number between " + std::to_string(lo).substr(0, 4) + " and " + std::to_string(hi).substr(0, 4);
    out = v;
    return "";
  };
}

// The test's two hypotheses as Elo differences "E0,E1", E0 below E1.
Reader elo_bounds(Sprt& out) {
  return [&out](const std::string& s) -> std::string {
    const std::size_t comma = s.find(',');
    double e[2] = {0, 0};
    const std::string part[2] = {s.substr(0, comma), comma == std::string::npos ? "" : s.substr(comma + 1)};
    for (int i = 0; i < 2; ++i)
      if (!fraction(-1000, 1000, e[i])(part[i]).empty()) return "is not two Elo differences E0,E1";
    if (e[0] >= e[1]) return "needs E0 below E1";
    out.elo0 = e[0], out.elo1 = e[1];
    return "";
  };
}

// Every command's options; only the command given fills its own.
struct Args {
  bool version = false;
  mirado::SfenPosition sp;
  int depth = 0;
  ThinkOptions think;
  MatchOptions match;
  OpeningsOptions openings;
  KifuOptions kifu;
  AnalyseOptions analyse;
  std::string play;
};

struct Command {
  CLI::App* app;
  std::function<int()> run;
};

CLI::App* add_position_command(CLI::App& app, const char* name, const char* help, mirado::SfenPosition& sp) {
  CLI::App* c = app.add_subcommand(name, help);
  add(c, "SFEN", "the position", position(sp))->required();
  return c;
}

CLI::App* add_think(CLI::App& app, ThinkOptions& o) {
  CLI::App* c = app.add_subcommand(
      "think", "the computer's turn at level 1 to 5 for the side to move; levels 4 and 5 read ahead");
  add(c, "SFEN", "the position", position(o.sp))->required();
  add(c, "--level", "the computer's level, 1 to 5", whole(1, 5, o.level))->required()->type_name("L");
  add(c, "--only", "only this move of the turn", whole(1, 3, o.only))->type_name("1|2|3");
  add(c, "--ichite", "where the turn's first move ended", square(o.ichite))->type_name("c,r");
  add(c, "--nite", "where the turn's second move ended", square(o.nite))->type_name("c,r");
  c->add_flag("--candidates", o.candidates, "every move weighed (levels 1-3) or the principal lines (levels 4, 5)");
  budget(c, o.nodes, o.ms, 1'000'000'000'000LL);
  // Checked here so that the error names the command like every other.
  c->callback([&o] {
    if (o.level < 4 && (o.nodes != 0 || o.ms != 0))
      throw CLI::ValidationError(o.nodes != 0 ? "--nodes" : "--ms",
                                 "belongs to levels 4 and 5, not level " + std::to_string(o.level));
  });
  return c;
}

CLI::App* add_match(CLI::App& app, MatchOptions& o) {
  CLI::App* c = app.add_subcommand(
      "match", "the computer against itself from openings, each played twice; the score and Elo");
  add(c, "--a", "side A's level, 1 to 5", whole(1, 5, o.level_a))->required()->type_name("LEVEL");
  add(c, "--b", "side B's level, 1 to 5", whole(1, 5, o.level_b))->required()->type_name("LEVEL");
  add(c, "--games", "games to play (every opening twice by default)", whole(1, 1000000, o.games))->type_name("N");
  add(c, "--openings", "openings, one SFEN a line (the built-in set by default)", file_name(o.openings_path))
      ->type_name("FILE");
  add(c, "--jobs", "games played at once, 1 to 64", whole(1, 64, o.jobs))->type_name("J");
  add(c, "--max-moves", "single moves before a game is drawn", whole(3, 100000, o.max_moves))->type_name("M");
  budget(c, o.nodes, o.ms, 3'600'000);
  budget(c, o.a.nodes, o.a.ms, 3'600'000, "a-", " for side A");
  budget(c, o.b.nodes, o.b.ms, 3'600'000, "b-", " for side B");
  CLI::Option* sprt = add(c, "--sprt", "stop once the games accept H0 (A is E0 Elo stronger) or H1 (E1)",
                          elo_bounds(o.sprt_settei))->type_name("E0,E1");
  add(c, "--alpha", "the test's false-positive rate (0.05)", fraction(0, 0.5, o.sprt_settei.alpha))
      ->type_name("A")->needs(sprt);
  add(c, "--beta", "the test's false-negative rate (0.05)", fraction(0, 0.5, o.sprt_settei.beta))
      ->type_name("B")->needs(sprt);
  add(c, "--pgn-like", "write every game into DIR as a record file", file_name(o.out_dir))->type_name("DIR");
  c->callback([&o, sprt] {
    o.sprt = sprt->count() > 0;
    // Levels 1-3 do not read ahead: a budget of their own would be ignored.
    for (const auto& [level, yosan, name] : {std::tuple{o.level_a, o.a, "--a-"}, std::tuple{o.level_b, o.b, "--b-"}})
      if (level < 4 && (yosan.nodes != 0 || yosan.ms != 0))
        throw CLI::ValidationError(std::string(name) + (yosan.nodes != 0 ? "nodes" : "ms"),
                                   "belongs to levels 4 and 5, not level " + std::to_string(level));
  });
  return c;
}

CLI::App* add_openings(CLI::App& app, OpeningsOptions& o) {
  CLI::App* c = app.add_subcommand("openings", "N random opening positions for the match runner");
  add(c, "N", "how many, 1 to 100000", whole(1, 100000, o.n))->required();
  add(c, "--seed", "the random generator's seed", whole(0, 1LL << 40, o.seed))->type_name("S");
  return c;
}

CLI::App* add_kifu(CLI::App& app, KifuOptions& o) {
  CLI::App* c = app.add_subcommand("kifu", "read a record file and step through it");
  add(c, "FILE", "the record file", file_name(o.path))->required();
  CLI::Option* write = add(c, "--write", "save the record again as OUT", file_name(o.out_path))->type_name("OUT");
  write->excludes(c->add_flag("--list", o.list, "print the move list instead, one turn to a line"));
  return c;
}

CLI::App* add_analyse(CLI::App& app, AnalyseOptions& o) {
  CLI::App* c = app.add_subcommand("analyse", "every turn of a record judged by level 4 (悪手/疑問手/緩手)");
  add(c, "FILE", "the record file", file_name(o.path))->required();
  add(c, "--level", "whose reading judges: 4 (LEVEL4, by default) or 5", whole(4, 5, o.level))->type_name("L");
  budget(c, o.nodes, o.ms, 3'600'000);
  add(c, "--jobs", "turns searched at once, 1 to 64", whole(1, 64, o.jobs))->type_name("J");
  add(c, "--svg", "draw the graph into OUT", file_name(o.svg))->type_name("OUT");
  return c;
}

CLI::App* add_play(CLI::App& app, std::string& path) {
  CLI::App* c = app.add_subcommand("play", "play an event script against the game, one line per event");
  add(c, "FILE", "the event script", file_name(path))->required();
  return c;
}

std::vector<Command> add_commands(CLI::App& app, Args& a) {
  app.formatter(std::make_shared<Help>());
  app.set_help_flag("-h,--help", "show this help and exit");
  app.add_flag("--version", a.version, "show the version and exit");
  app.require_subcommand(0, 1);
  // An option given twice counts the last time, as scripts that append to a line expect.
  app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.description(
      "Analyse Mirado Shogi positions and records; every answer is one line of JSON.\n"
      "Positions are SFEN, ranks from the top row, uppercase for the lower side.");
  app.footer(
      "Bad input gets a one-line error on stderr and exit status 2; a record the game\n"
      "refuses gets its line on stderr and exit status 1.");
  std::vector<Command> out;
  out.push_back({add_position_command(app, "maps", "the influence maps of both sides", a.sp),
                 [&a] { return cmd_maps(a.sp); }});
  out.push_back({add_position_command(app, "mate", "whether the lower side is in check, and whether either is mated",
                                      a.sp),
                 [&a] { return cmd_mate(a.sp); }});
  CLI::App* perft = add_position_command(app, "perft", "the number of move sequences DEPTH single moves deep", a.sp);
  add(perft, "DEPTH", "single moves, 0 to 99", whole(0, 99, a.depth))->required();
  out.push_back({perft, [&a] { return cmd_perft(a.sp, a.depth); }});
  out.push_back({add_think(app, a.think), [&a] { return cmd_think(a.think); }});
  out.push_back({add_match(app, a.match), [&a] { return cmd_match(a.match); }});
  out.push_back({add_openings(app, a.openings), [&a] { return cmd_openings(a.openings); }});
  out.push_back({add_kifu(app, a.kifu), [&a] { return cmd_kifu(a.kifu); }});
  out.push_back({add_analyse(app, a.analyse), [&a] { return cmd_analyse(a.analyse); }});
  out.push_back({add_play(app, a.play), [&a] { return cmd_play(a.play); }});
  for (const Command& c : out) c.app->group("Commands");
  return out;
}

// An error in the program's own arguments: one line, as every usage error, pointing to
// the help, as it may be a first try.
int program_error(const std::string& message) {
  std::fprintf(stderr, "%s: %s (try '%s --help')\n", kName, message.c_str(), kName);
  return kBadInput;
}

// Every usage error ends here: one line naming the command and what is wrong with it.
int usage_error(const CLI::App& app, const CLI::ParseError& e) {
  const std::vector<CLI::App*> given = app.get_subcommands();
  const CLI::App& where = given.empty() ? app : *given.front();
  std::string message = e.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr && !where.remaining().empty()) {
    const std::string extra = where.remaining().front();
    message = (given.empty() && extra[0] != '-' ? "unknown command '" : "unknown argument '") + extra + "'";
  } else if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr && message.find(": ") != std::string::npos) {
    message = message.substr(0, message.find(": ")) + " needs a value";  // an option last on the line
  }
  // CLI11 names the command in front of some messages; it is named once, below.
  if (const std::string prefix = where.get_name() + ": "; message.rfind(prefix, 0) == 0)
    message.erase(0, prefix.size());
  return given.empty() ? program_error(message) : fail(where.get_name(), message, kBadInput);
}

}  // namespace

int main(int argc, char** argv) {
  Args args;
  CLI::App app{"", kName};
  const std::vector<Command> commands = add_commands(app, args);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return usage_error(app, e);
  }
  const bool no_command = app.get_subcommands().empty();
  if (args.version && no_command) {
    std::puts("mirado-cli " MIRADO_VERSION);
    return 0;
  }
  if (args.version) return program_error("--version takes no command");
  if (no_command) return program_error("a command is required");
  for (const Command& c : commands)
    if (c.app->parsed()) return c.run();
  return kBadInput;
}
