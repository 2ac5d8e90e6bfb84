// mirado-cli think: the computer's turn on a position, as JSON.
//
//   mirado-cli think SFEN --level L [--ichite c,r] [--nite c,r] [--only 1|2|3] [--candidates]
//                         [--nodes N | --ms T]
//
// Runs com_ban1, com_ban2, com_ban3 in order (or only the named one, with the given
// first and second destinations), applying each chosen move. At level 4 the moves come
// from the look-ahead, whose budget is N whole turns (the same answer every time) or T
// milliseconds (the window's budget by default). The side to move in the SFEN plays: the
// upper pieces ("w") as the computer does, or the lower ("b") on the board turned round,
// with every square reported in the position's own coordinates. Side values are those of
// a SENTE game (lower = 1, upper = -1); sfen_after names the pieces that move next.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "engine/yomi.h"
#include "rules/sfen.h"
#include "taikyoku/taikyoku.h"

namespace {

using json = nlohmann::ordered_json;

constexpr int kBadInput = 2;

int fail(const std::string& message) {
  std::fprintf(stderr, "mirado-cli: think: %s\n", message.c_str());
  return kBadInput;
}

// The turned board's squares back in the position's own coordinates.
int kaesu(int v) { return v >= 1 && v <= 9 ? 10 - v : v; }

mirado::Kouho kouho_kaiten(mirado::Kouho k) {
  if (k.fc == mirado::TE_UE) k.fc = mirado::TE_SITA, k.fr += 2;
  else if (k.fc == mirado::TE_SITA) k.fc = mirado::TE_UE, k.fr -= 2;
  else k.fc = kaesu(k.fc), k.fr = kaesu(k.fr);
  k.tc = kaesu(k.tc), k.tr = kaesu(k.tr);
  k.koma = -k.koma;
  return k;
}

json move_json(const mirado::Sashite& m) {
  return {{"from", {m.fc, m.fr}}, {"to", {m.tc, m.tr}}, {"piece_before", m.moto_koma},
          {"piece_after", m.koma}};
}

json turn_json(const mirado::YomiTe& t, bool kaiten) {
  json moves = json::array();
  for (int i = 0; i < t.n; ++i) {
    json m = move_json(kaiten ? mirado::sashite_kaiten(t.te[i]) : t.te[i]);
    m["proc"] = t.dankai[i];
    moves.push_back(m);
  }
  return moves;
}

bool parse_digit(const std::string& s, int lo, int hi, int& out) {
  if (s.size() != 1 || s[0] < '0' || s[0] > '9') return false;
  out = s[0] - '0';
  return out >= lo && out <= hi;
}

// A whole number from 1 to 10^12, digits only.
bool parse_count(const std::string& s, long long& out) {
  if (s.empty() || s.size() > 13 || s.find_first_not_of("0123456789") != std::string::npos) return false;
  out = std::stoll(s);
  return out >= 1 && out <= 1'000'000'000'000LL;
}

// "c,r" with c and r in 1..9.
bool parse_square(const std::string& s, int& c, int& r) {
  const auto comma = s.find(',');
  if (comma == std::string::npos) return false;
  return parse_digit(s.substr(0, comma), 1, 9, c) && parse_digit(s.substr(comma + 1), 1, 9, r);
}

}  // namespace

namespace mirado::cli {

int cmd_think(int argc, char** argv) {
  if (argc < 1) return fail("missing SFEN");
  SfenPosition sp;
  std::string error;
  if (!parse_sfen(argv[0], sp, error)) return fail("bad SFEN: " + error);

  int level = 0, only = 0;
  long long nodes = 0, ms = 0;
  int ichite_x = 0, ichite_y = 0, nite_x = 0, nite_y = 0;
  bool candidates = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    if (a == "--level") {
      if (!value(v) || !parse_digit(v, 1, 4, level)) return fail("--level needs 1, 2, 3 or 4");
    } else if (a == "--only") {
      if (!value(v) || !parse_digit(v, 1, 3, only)) return fail("--only needs 1, 2 or 3");
    } else if (a == "--ichite") {
      if (!value(v) || !parse_square(v, ichite_x, ichite_y))
        return fail("--ichite needs a square c,r with c and r in 1..9");
    } else if (a == "--nite") {
      if (!value(v) || !parse_square(v, nite_x, nite_y))
        return fail("--nite needs a square c,r with c and r in 1..9");
    } else if (a == "--nodes") {
      if (!value(v) || !parse_count(v, nodes)) return fail("--nodes needs a whole number from 1 to 10^12");
    } else if (a == "--ms") {
      if (!value(v) || !parse_count(v, ms)) return fail("--ms needs a whole number of milliseconds from 1");
    } else if (a == "--candidates") {
      candidates = true;
    } else {
      return fail("unknown argument '" + a + "'");
    }
  }
  if (level == 0) return fail("--level is required (1, 2, 3 or 4)");
  if (level != 4 && (nodes != 0 || ms != 0)) return fail("--nodes and --ms belong to level 4");
  if (nodes != 0 && ms != 0) return fail("give --nodes or --ms, not both");

  // The search plays the upper pieces: the lower side's turn is read on the turned board.
  const bool kaiten_suru = sp.teban_sita == 1;
  if (kaiten_suru) {
    sp.pos = kaiten(sp.pos);
    ichite_x = kaesu(ichite_x), ichite_y = kaesu(ichite_y), nite_x = kaesu(nite_x), nite_y = kaesu(nite_y);
  }
  Taikyoku t = sente_taikyoku(sp.pos, level, ichite_x, ichite_y, nite_x, nite_y);

  ComTurn turn;
  std::vector<Kouho> bufs[4];
  KouhoKiroku logs[4];
  if (candidates) {
    for (int i = 1; i <= 3; ++i) {
      bufs[i].resize(KOUHO_MAX);
      logs[i].buf = bufs[i].data();
      logs[i].cap = KOUHO_MAX;
      turn.kiroku[i] = &logs[i];
    }
  }
  YomiKekka yomi_kekka;
  if (level == 4) {
    Yomi yomi;
    YomiSettei settei;
    settei.nodes = nodes;
    settei.byou = nodes != 0 ? 0 : (ms != 0 ? static_cast<double>(ms) / 1000 : YOMI_BYOU);
    settei.lines = candidates ? YOMI_LINES : 0;
    yomi_kekka = com_turn_yomi(turn, t, yomi, settei, only);
  } else {
    turn.run(t, only);
  }

  json out;
  json moves = json::array();
  int made = 0;
  int last = 0;
  for (int i = 1; i <= 3; ++i) {
    if (turn.ran[i]) last = i;
    if (!turn.ran[i] || !turn.te[i].te.ari) continue;
    const Sashite m = kaiten_suru ? sashite_kaiten(turn.te[i].te) : turn.te[i].te;
    ++made;
    moves.push_back({{"proc", i},
                     {"from", {m.fc, m.fr}},
                     {"to", {m.tc, m.tr}},
                     {"piece_before", m.moto_koma},
                     {"piece_after", m.koma},
                     {"score_tenths", m.score}});
  }
  out["moves"] = moves;
  out["shuukyoku"] = kaiten_suru ? -t.shousha() : t.shousha();
  // After move 1 the opponent's pieces move next, after move 2 the mover's own, after
  // move 3 the opponent's.
  const bool aite_next = last != 2;
  out["sfen_after"] = kaiten_suru ? to_sfen(kaiten(t.pos()), !aite_next, sp.move_number + made)
                                  : to_sfen(t.pos(), aite_next, sp.move_number + made);
  if (level == 4) {
    out["score"] = yomi_kekka.score;
    out["nodes"] = yomi_kekka.nodes;
    out["rounds"] = yomi_kekka.rounds;
    if (candidates) {
      json lines = json::array();
      for (int i = 0; i < yomi_kekka.n_lines; ++i) {
        const YomiLine& l = yomi_kekka.lines[i];
        json line = {{"turn", turn_json(l.turn, kaiten_suru)}, {"score", l.score}};
        if (l.answered) line["reply"] = turn_json(l.reply, kaiten_suru);
        lines.push_back(line);
      }
      out["lines"] = lines;
    }
  } else if (candidates) {
    json c = json::object();
    for (int i = 1; i <= 3; ++i) {
      if (!turn.ran[i]) continue;
      json list = json::array();
      for (int j = 0; j < logs[i].n; ++j) {
        const Kouho t = kaiten_suru ? kouho_kaiten(logs[i].buf[j]) : logs[i].buf[j];
        list.push_back({{"from", {t.fc, t.fr}},
                        {"to", {t.tc, t.tr}},
                        {"piece_after", t.koma},
                        {"score_tenths", t.score}});
      }
      c[std::to_string(i)] = list;
    }
    out["candidates"] = c;
  }
  std::cout << out.dump() << "\n";
  return 0;
}

}  // namespace mirado::cli
