// mirado-cli analyse: every turn of a record judged by LEVEL4, as JSON lines.
//
//   mirado-cli analyse FILE [--nodes N | --ms T] [--jobs J] [--svg OUT]
//
// One line per turn (its number, the side holding it, the turn played and LEVEL4's best
// turn in the move list's notation, their values, the win chance of the lower side
// before and after, the loss in points of win chance and the class), then a summary line
// with the count of each class per side. --svg writes the graph of the lower side's win
// chance as a standalone SVG file. A record that cannot be read is refused with status
// 2, one that holds no move or breaks the rules of the game with status 1 (no SVG then).
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "engine/kaiseki.h"
#include "kifu/ichiran.h"
#include "kifu/kifu_file.h"
#include "taikyoku/chuudan.h"
#include "taikyoku/taikyoku.h"

namespace {

using json = nlohmann::ordered_json;
using namespace mirado;

double ketasue(double v) { return std::round(v * 10) / 10; }  // one decimal, for reading

const char* gawa_mei(int turn) { return turn % 2 == 1 ? "先手" : "後手"; }

// The entry before turn `turn`'s first move, for 同 (nullptr before the first turn);
// `hajime` holds where each turn begins.
const KifuEntry* zen_no_te(const std::vector<KifuEntry>& entries, const std::vector<int>& hajime, int turn) {
  const int mae = hajime[static_cast<std::size_t>(turn)];
  return mae > 0 ? &entries[static_cast<std::size_t>(mae - 1)] : nullptr;
}

std::string sashita_hyouki(const Kyokumen& mae, const std::vector<KifuEntry>& entries, const std::vector<int>& hajime,
                           int turn, bool sita_sente) {
  const std::size_t i = static_cast<std::size_t>(turn);
  const auto a = entries.begin() + hajime[i];
  const auto b = i + 1 < hajime.size() ? entries.begin() + hajime[i + 1] : entries.end();
  return te_retsu_hyouki(mae, std::vector<KifuEntry>(a, b), zen_no_te(entries, hajime, turn), sita_sente);
}

json rui_json(const int (&kazu)[TE_RUI_SU]) {
  json o = json::object();
  for (TeRui r : {TeRui::akushu, TeRui::gimonshu, TeRui::kanshu}) o[te_rui_mei(r)] = kazu[static_cast<int>(r)];
  return o;
}

std::string svg_moji(const std::string& s) {
  std::string o;
  for (char c : s) {
    if (c == '&') o += "&amp;";
    else if (c == '<') o += "&lt;";
    else if (c == '>') o += "&gt;";
    else o += c;
  }
  return o;
}

// The graph: the lower side's win chance at the start and after each turn, over a 50 %
// axis, with the classed turns as dots in their colours.
std::string svg_zu(const std::vector<KaisekiTe>& te, const std::string& midashi, bool sita_sente) {
  constexpr int W = 800, H = 320, L = 52, R = 16, T = 44, B = 34;
  const int n = static_cast<int>(te.size());
  auto x = [&](int k) { return L + (W - L - R) * (n > 0 ? static_cast<double>(k) / n : 0.0); };
  auto y = [&](double pct) { return T + (H - T - B) * (100 - pct) / 100; };
  auto iro = [](unsigned c) {
    char b[8];
    std::snprintf(b, sizeof b, "#%06X", c & 0xFFFFFFu);
    return std::string(b);
  };
  char buf[256];
  std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  std::snprintf(buf, sizeof buf,
                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
                "font-family=\"sans-serif\" font-size=\"12\">\n<rect width=\"%d\" height=\"%d\" fill=\"#FFFFFF\"/>\n",
                W, H, W, H, W, H);
  s += buf;
  s += "<text x=\"" + std::to_string(L) + "\" y=\"18\" font-size=\"14\">" + svg_moji(midashi) + "</text>\n";
  s += "<text x=\"" + std::to_string(L) + "\" y=\"36\">" + svg_moji(kaiseki_matome_moji(te, sita_sente)) +
       "（" + (sita_sente ? "先手" : "後手") + "の勝率）</text>\n";
  for (int pct : {0, 25, 50, 75, 100}) {
    std::snprintf(buf, sizeof buf,
                  "<line x1=\"%d\" y1=\"%.1f\" x2=\"%d\" y2=\"%.1f\" stroke=\"%s\" stroke-width=\"%s\"/>\n"
                  "<text x=\"%d\" y=\"%.1f\" text-anchor=\"end\">%d%%</text>\n",
                  L, y(pct), W - R, y(pct), pct == 50 ? "#404040" : "#D0D0D0", pct == 50 ? "1.5" : "1", L - 6,
                  y(pct) + 4, pct);
    s += buf;
  }
  const int step = n <= 20 ? 1 : n <= 60 ? 5 : 10;
  for (int k = step; k <= n; k += step) {
    std::snprintf(buf, sizeof buf, "<text x=\"%.1f\" y=\"%d\" text-anchor=\"middle\">%d</text>\n", x(k), H - B + 16, k);
    s += buf;
  }
  if (n > 0) {
    s += "<polyline fill=\"none\" stroke=\"#2060C0\" stroke-width=\"2\" points=\"";
    std::snprintf(buf, sizeof buf, "%.1f,%.1f", x(0), y(te[0].sita_mae()));
    s += buf;
    for (int k = 1; k <= n; ++k) {
      std::snprintf(buf, sizeof buf, " %.1f,%.1f", x(k), y(te[static_cast<std::size_t>(k - 1)].sita_ato()));
      s += buf;
    }
    s += "\"/>\n";
  }
  for (int k = 1; k <= n; ++k) {
    const KaisekiTe& t = te[static_cast<std::size_t>(k - 1)];
    if (t.rui == TeRui::nashi) continue;
    std::snprintf(buf, sizeof buf, "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"4.5\" fill=\"%s\"><title>%d %s %s</title></circle>\n",
                  x(k), y(t.sita_ato()), iro(TE_RUI_IRO[static_cast<int>(t.rui)]).c_str(), k, gawa_mei(k),
                  te_rui_mei(t.rui));
    s += buf;
  }
  return s + "</svg>\n";
}

// The analysis' own budget and jobs unless the command line names others.
KaisekiSettei settei_of(const cli::AnalyseOptions& o) {
  KaisekiSettei settei;
  settei.level = o.level;
  if (o.level == 5) settei.nodes = KAISEKI_NODES5;
  if (o.nodes != 0) settei.nodes = o.nodes;
  if (o.ms != 0) {
    settei.nodes = 0;
    settei.byou = static_cast<double>(o.ms) / 1000;
  }
  if (o.jobs != 0) settei.jobs = o.jobs;
  return settei;
}

}  // namespace

namespace mirado::cli {

int cmd_analyse(const AnalyseOptions& o) {
  const KaisekiSettei settei = settei_of(o);
  std::string error;
  KifuFile f;
  if (!read_kifu_file(o.path, f, error)) return fail("analyse", error);
  // A record `kifu` and the window refuse is refused here too, before any SVG is written.
  if (const KifuKensa kensa = kifu_kensa(f); !kensa.naze.empty())
    return fail("analyse", o.path + (kensa.gyou > 0 ? ": line " + std::to_string(kensa.gyou) : "") + ": " + kensa.naze, 1);
  std::vector<KaisekiKyokumen> turns;
  int gyou = 0;
  if (const std::string naze = kaiseki_kyokumen(f.entries, turns, &gyou, {kifu_handicap(f), false}); !naze.empty())
    return fail("analyse", o.path + ": line " + std::to_string(gyou) + ": " + naze, 1);

  const std::vector<int> hajime = turn_hajime(f.entries, {kifu_handicap(f), false});
  std::vector<KaisekiTe> te;
  kaiseki(turns, settei, te);
  const bool sita_sente = f.entries.empty() || f.entries.front().moto_koma < 0;
  std::int64_t nodes = 0;
  for (std::size_t i = 0; i < te.size(); ++i) {
    const KaisekiTe& t = te[i];
    const int turn = static_cast<int>(i) + 1;
    nodes += t.nodes;
    json line;
    line["turn"] = turn;
    line["side"] = gawa_mei(turn);
    line["pieces"] = t.sita ? "lower" : "upper";
    line["played"] = sashita_hyouki(turns[i].mae, f.entries, hajime, static_cast<int>(i), sita_sente);
    line["best"] = yomi_te_hyouki(turns[i].mae, t.saizen, zen_no_te(f.entries, hajime, static_cast<int>(i)), sita_sente);
    line["value_before"] = t.mae;
    line["value_after"] = t.ato;
    line["best_value"] = t.saizen_atai;
    line["win_before"] = ketasue(t.sita_mae());
    line["win_after"] = ketasue(t.sita_ato());
    line["loss"] = ketasue(t.son);
    line["class"] = t.rui == TeRui::nashi ? json(nullptr) : json(te_rui_mei(t.rui));
    std::cout << line.dump() << "\n";
  }
  const KaisekiMatome m = kaiseki_matome(te);
  const int sente = sita_sente ? 0 : 1;
  json sum;
  sum["turns"] = te.size();
  sum["lower_side"] = sita_sente ? "先手" : "後手";
  sum["先手"] = rui_json(m.kazu[sente]);
  sum["後手"] = rui_json(m.kazu[1 - sente]);
  // The game's end as the record shows it: a captured king or a mate after the last turn.
  json winner = nullptr;
  if (!te.empty() && (kachi_ritsu(te.back().ato) == 1 || kachi_ritsu(te.back().ato) == 0)) {
    const bool holder_won = kachi_ritsu(te.back().ato) == 1;
    winner = gawa_mei(holder_won ? static_cast<int>(te.size()) : static_cast<int>(te.size()) + 1);
  }
  sum["winner"] = winner;
  sum["nodes"] = nodes;
  if (settei.nodes > 0) sum["budget_nodes"] = settei.nodes;
  else sum["budget_ms"] = std::lround(settei.byou * 1000);
  std::cout << json{{"summary", sum}}.dump() << "\n";
  if (!o.svg.empty()) {
    const std::string zu = svg_zu(te, f.title.empty() ? o.path : f.title, sita_sente);
    if (!write_file_atomically(o.svg, zu, error))
      return fail("analyse", "cannot write " + o.svg + ": " + error);
  }
  return 0;
}

}  // namespace mirado::cli
