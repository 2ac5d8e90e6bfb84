// mirado-cli: analysis and regression checks on positions given in SFEN.
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "rules/kiki.h"
#include "rules/perft.h"
#include "rules/sfen.h"
#include "rules/tsumi.h"

namespace {

using mirado::Kiki;
using nlohmann::json;

constexpr int kBadInput = 2;

constexpr const char* kUsage =
    "Usage: mirado-cli maps SFEN\n"
    "       mirado-cli mate SFEN\n"
    "       mirado-cli perft SFEN DEPTH\n"
    "       mirado-cli think SFEN --level L [--ichite c,r] [--nite c,r] [--only 1|2|3] [--candidates]\n"
    "                             [--nodes N | --ms T]   (level 4)\n"
    "       mirado-cli match --a LEVEL --b LEVEL [--games N] [--openings FILE] [--jobs J]\n"
    "                        [--max-moves M] [--nodes N | --ms T] [--pgn-like DIR]\n"
    "       mirado-cli openings N [--seed S]\n"
    "       mirado-cli kifu FILE [--write OUT | --list]\n"
    "       mirado-cli analyse FILE [--nodes N | --ms T] [--jobs J] [--svg OUT]\n"
    "       mirado-cli play FILE\n"
    "       mirado-cli --help | --version\n";

int usage() {
  std::fputs(kUsage, stderr);
  std::fputs("Try 'mirado-cli --help' for more information.\n", stderr);
  return kBadInput;
}

int help() {
  std::fputs(kUsage, stdout);
  std::fputs(
      "Analyse Mirado Shogi positions and records; every answer is one line of JSON.\n"
      "Positions are SFEN, ranks from the top row, uppercase for the lower side.\n"
      "\n"
      "Commands:\n"
      "  maps SFEN           the influence maps of both sides\n"
      "  mate SFEN           whether the lower side is in check, and whether either is mated\n"
      "  perft SFEN DEPTH    the number of move sequences DEPTH single moves deep\n"
      "  think SFEN --level L\n"
      "                      the computer's three moves of a turn at level L (1 to 4);\n"
      "                      level 4 looks a whole turn ahead (--nodes N fixes its work)\n"
      "  match --a L --b L   computer against computer from opening positions, each\n"
      "                      played twice with the sides swapped; prints the score and Elo\n"
      "  openings N          N random opening positions for the match runner\n"
      "  kifu FILE           read a record file and step through it; --write OUT saves it, --list prints the move list\n"
      "  analyse FILE        judge every turn of a record by level 4: one line per turn\n"
      "                      (values, loss, 悪手/疑問手/緩手) and a summary; --svg OUT draws the graph\n"
      "  play FILE           play an event script against the game, one line per event\n"
      "\n"
      "Options:\n"
      "  -h, --help          show this help and exit\n"
      "  --version           show the version and exit\n"
      "\n"
      "Bad input gets a one-line error on stderr and exit status 2; a record the game\n"
      "refuses gets its line on stderr and exit status 1.\n",
      stdout);
  return 0;
}

int fail(const std::string& message) {
  std::fprintf(stderr, "mirado-cli: %s\n", message.c_str());
  return kBadInput;
}

bool read_position(const char* text, mirado::SfenPosition& out, int& status) {
  std::string error;
  if (mirado::parse_sfen(text, out, error)) return true;
  status = fail("bad SFEN: " + error);
  return false;
}

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

int cmd_maps(const char* sfen) {
  mirado::SfenPosition sp;
  int status = 0;
  if (!read_position(sfen, sp, status)) return status;
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

int cmd_mate(const char* sfen) {
  mirado::SfenPosition sp;
  int status = 0;
  if (!read_position(sfen, sp, status)) return status;
  json out;
  // Each answer from a fresh state, so one test's side effects cannot colour the next.
  auto fresh = [&](auto test) {
    mirado::Kyokumen p = sp.pos;
    return test(p);
  };
  out["sita_outechu"] = fresh([](mirado::Kyokumen& p) { return mirado::sita_outechu(p); });
  out["tsumi_sita"] = fresh([](mirado::Kyokumen& p) { return mirado::tsumi_sita(p); });
  out["tsumi_ue"] = fresh([](mirado::Kyokumen& p) { return mirado::tsumi_ue(p); });
  std::cout << out.dump() << "\n";
  return 0;
}

int cmd_perft(const char* sfen, const char* depth_text) {
  mirado::SfenPosition sp;
  int status = 0;
  if (!read_position(sfen, sp, status)) return status;
  const std::string d = depth_text;
  if (d.empty() || d.size() > 2 || d.find_first_not_of("0123456789") != std::string::npos)
    return fail("depth must be a whole number from 0 to 99, got '" + d + "'");
  const int depth = std::stoi(d);
  json out;
  out["depth"] = depth;
  out["nodes"] = mirado::perft(sp.pos, sp.teban_sita == 1, depth);
  std::cout << out.dump() << "\n";
  return 0;
}

}  // namespace mirado::cli

int main(int argc, char** argv) {
  using namespace mirado::cli;
  if (argc < 2) return usage();
  const std::string cmd = argv[1];
  if (argc == 2 && (cmd == "--help" || cmd == "-h")) return help();
  if (argc == 2 && cmd == "--version") {
    std::puts("mirado-cli " MIRADO_VERSION);
    return 0;
  }
  // Each subcommand gets the arguments after its name.
  if (cmd == "maps" && argc == 3) return cmd_maps(argv[2]);
  if (cmd == "mate" && argc == 3) return cmd_mate(argv[2]);
  if (cmd == "perft" && argc == 4) return cmd_perft(argv[2], argv[3]);
  if (cmd == "play" && argc >= 3) return cmd_play(argc - 2, argv + 2);
  if (cmd == "kifu" && argc >= 3) return cmd_kifu(argc - 2, argv + 2);
  if (cmd == "analyse" && argc >= 3) return cmd_analyse(argc - 2, argv + 2);
  if (cmd == "think" && argc >= 3) return cmd_think(argc - 2, argv + 2);
  if (cmd == "match") return cmd_match(argc - 2, argv + 2);
  if (cmd == "openings" && argc >= 3) return cmd_openings(argc - 2, argv + 2);
  return usage();
}
