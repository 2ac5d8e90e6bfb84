// mirado-cli think: the computer's turn on a position, as JSON.
//
//   mirado-cli think SFEN --level L [--ichite c,r] [--nite c,r] [--only 1|2|3] [--candidates]
//                         [--nodes N | --ms T]
//
// Runs com_ban1, com_ban2, com_ban3 in order (or only the named one, with the given
// first and second destinations), applying each chosen move. At level 4 the moves come
// from the look-ahead, at level 5 from the deeper search (which also reports the whole
// turns it read, "depth"); their budget is N whole turns (the same answer every time) or T
// milliseconds (the window's budget by default). The side to move in the SFEN plays: the
// upper pieces ("w") as the computer does, or the lower ("b") on the board turned round,
// with every square reported in the position's own coordinates. Side values are those of
// a SENTE game (lower = 1, upper = -1); sfen_after names the pieces that move next.
#include <algorithm>
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

// The turned board's squares back in the position's own coordinates.
int kaesu(int v) { return v >= 1 && v <= 9 ? 10 - v : v; }

// A move's source as the output names it: a square, or a hand column with the upper
// hand's slot or the lower hand's row on the window grid.
json moto_json(const mirado::Te& te) {
  return {te.fc, te.fc == mirado::TE_SITA ? mirado::moto_gyou(te.fc, te.fr) : te.fr};
}

json move_json(const mirado::Sashite& m) {
  return {{"from", moto_json(m.te)}, {"to", {m.te.tc, m.te.tr}}, {"piece_before", m.moto_koma},
          {"piece_after", m.te.koma}};
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

// Each procedure's candidates, kept for --candidates at levels 1-3.
struct KouhoLogs {
  std::vector<mirado::Kouho> bufs[4];
  mirado::KouhoKiroku logs[4];
};

// The computer's turn on `t`: the design's procedures, or LEVEL4's or LEVEL5's search.
mirado::YomiKekka sasu(mirado::ComTurn& turn, mirado::Taikyoku& t, const mirado::cli::ThinkOptions& o,
                       KouhoLogs& kouho) {
  using namespace mirado;
  if (o.candidates) {
    for (int i = 1; i <= 3; ++i) {
      kouho.bufs[i].resize(KOUHO_MAX);
      kouho.logs[i].buf = kouho.bufs[i].data();
      kouho.logs[i].cap = KOUHO_MAX;
      turn.kiroku[i] = &kouho.logs[i];
    }
  }
  if (o.level < 4) {
    turn.run(t, o.only);
    return {};
  }
  Yomi yomi;
  YomiSettei settei;
  settei.level = o.level;
  settei.nodes = o.nodes;
  settei.byou = o.nodes != 0 ? 0 : (o.ms != 0 ? static_cast<double>(o.ms) / 1000 : YOMI_BYOU);
  settei.lines = o.candidates ? YOMI_LINES : 0;
  return com_turn_yomi(turn, t, yomi, settei, o.only);
}

// The moves made; `made` counts them and `last` is the last procedure that ran.
json moves_json(const mirado::ComTurn& turn, bool kaiten_suru, int& made, int& last) {
  using namespace mirado;
  json moves = json::array();
  for (int i = 1; i <= 3; ++i) {
    if (turn.ran[i]) last = i;
    if (!turn.ran[i] || !turn.te[i].te.ari) continue;
    const Sashite m = kaiten_suru ? sashite_kaiten(turn.te[i].te) : turn.te[i].te;
    ++made;
    moves.push_back({{"proc", i},
                     {"from", moto_json(m.te)},
                     {"to", {m.te.tc, m.te.tr}},
                     {"piece_before", m.moto_koma},
                     {"piece_after", m.te.koma},
                     {"score_tenths", m.score}});
  }
  return moves;
}

// LEVEL4's principal lines: its turn and the answer it expects.
json lines_json(const mirado::YomiKekka& kekka, bool kaiten_suru) {
  json lines = json::array();
  for (int i = 0; i < kekka.n_lines; ++i) {
    const mirado::YomiLine& l = kekka.lines[i];
    json line = {{"turn", turn_json(l.turn, kaiten_suru)}, {"score", l.score}};
    if (l.answered) line["reply"] = turn_json(l.reply, kaiten_suru);
    lines.push_back(line);
  }
  return lines;
}

// Every move each procedure of levels 1-3 weighed, in its scoring order.
json candidates_json(const mirado::ComTurn& turn, const KouhoLogs& kouho, bool kaiten_suru) {
  json c = json::object();
  for (int i = 1; i <= 3; ++i) {
    if (!turn.ran[i]) continue;
    json list = json::array();
    for (int j = 0; j < kouho.logs[i].n; ++j) {
      const mirado::Kouho& k = kouho.logs[i].buf[j];
      const mirado::Te t = kaiten_suru ? mirado::te_kaiten(k.te) : k.te;
      list.push_back({{"from", moto_json(t)},
                      {"to", {t.tc, t.tr}},
                      {"piece_after", t.koma},
                      {"score_tenths", k.score}});
    }
    c[std::to_string(i)] = list;
  }
  return c;
}

}  // namespace

namespace mirado::cli {

int cmd_think(const ThinkOptions& o, std::ostream& os) {
  SfenPosition sp = o.sp;
  Masu ichite = o.ichite, nite = o.nite;
  // The search plays the upper pieces: the lower side's turn is read on the turned board.
  const bool kaiten_suru = sp.teban_sita == 1;
  if (kaiten_suru) {
    sp.pos = kaiten(sp.pos);
    ichite = {kaesu(ichite.c), kaesu(ichite.r)}, nite = {kaesu(nite.c), kaesu(nite.r)};
  }
  // LEVEL5 plans its turn as LEVEL4 does; the game fills any gap with the design's level 3.
  Taikyoku t = sente_taikyoku(sp.pos, std::min(o.level, 4), ichite.c, ichite.r, nite.c, nite.r);
  ComTurn turn;
  KouhoLogs kouho;
  const YomiKekka yomi_kekka = sasu(turn, t, o, kouho);

  json out;
  int made = 0;
  int last = 0;
  out["moves"] = moves_json(turn, kaiten_suru, made, last);
  out["shuukyoku"] = static_cast<int>(kaiten_suru ? aite(t.shousha()) : t.shousha());
  // After move 1 the opponent's pieces move next, after move 2 the mover's own, after
  // move 3 the opponent's.
  const bool aite_next = last != 2;
  out["sfen_after"] = kaiten_suru ? to_sfen(kaiten(t.pos()), !aite_next, sp.move_number + made)
                                  : to_sfen(t.pos(), aite_next, sp.move_number + made);
  if (o.level >= 4) {
    out["score"] = yomi_kekka.score;
    out["nodes"] = yomi_kekka.nodes;
    out["rounds"] = yomi_kekka.rounds;
    if (o.level == 5) out["depth"] = yomi_kekka.depth;
    if (o.candidates) out["lines"] = lines_json(yomi_kekka, kaiten_suru);
  } else if (o.candidates) {
    out["candidates"] = candidates_json(turn, kouho, kaiten_suru);
  }
  os << out.dump() << "\n";
  return 0;
}

}  // namespace mirado::cli
