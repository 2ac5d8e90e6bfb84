// Fits the scale of the win-chance curve of the game's analysis (KACHI_RITSU_SCALE in
// src/engine/kaiseki.h) to LEVEL4 self-play.
//
//   build/bin/mirado_fit_kachi_ritsu [--games G] [--nodes N] [--jobs J] [--max-turns T]
//
// LEVEL4 plays itself from the built-in openings (one game each, the lower pieces
// first) at the analysis budget, so that the value it keeps for every position (the
// side holding the turn, its best turn's value) is the analysis' own "value before".
// Each position is labelled by whether that side went on to win; games that reach the
// turn cap and positions already decided are left out. The games fall into four folds;
// each fold in turn is held out while the other three fit the scale by maximum
// likelihood, and is scored by log-loss against a constant 50 % and against the scale
// now in the source. The scale printed last is fitted to every game. --save FILE keeps
// the labelled values (value, won, game a line); --load FILE fits them again without
// playing.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/openings.h"
#include "engine/kaiseki.h"
#include "rules/sfen.h"
#include "taikyoku/taikyoku.h"

namespace {

using namespace mirado;

struct Ten {
  int atai;
  bool kachi;
  int game;
};

std::vector<Kyokumen> openings() {
  std::vector<Kyokumen> out;
  std::istringstream in(cli::BUILTIN_OPENINGS);
  std::string line, error;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    SfenPosition sp;
    if (!parse_sfen(line.substr(0, line.find(" ;")), sp, error)) continue;
    out.push_back(sp.pos);
  }
  return out;
}

// One game: every turn's value for its holder, and the winner (1 lower, -1 upper, 0 none).
int play(Kyokumen p, std::int64_t nodes, int max_turns, Yomi& yomi, std::vector<std::pair<int, bool>>& vals) {
  bool sita = true;
  for (int turn = 0; turn < max_turns; ++turn) {
    Taikyoku t = sente_taikyoku(sita ? kaiten(p) : p, 4);
    ComTurn ct;
    YomiSettei st;
    st.nodes = nodes;
    const YomiKekka r = com_turn_yomi(ct, t, yomi, st);
    vals.emplace_back(r.score, sita);
    for (int i = 1; i <= 3; ++i)
      if (ct.ran[i] && ct.te[i].te.ari) sashite_ugokasu(p, sita ? sashite_kaiten(ct.te[i].te) : ct.te[i].te);
    if (t.owatta()) return (t.shousha() == t.ue_gawa()) == sita ? 1 : -1;
    sita = !sita;
  }
  return 0;
}

double log_loss(const std::vector<Ten>& ten, double scale) {
  double s = 0;
  for (const Ten& t : ten) {
    double p = scale > 0 ? 1 / (1 + std::exp(-t.atai / scale)) : 0.5;
    p = std::clamp(p, 1e-9, 1 - 1e-9);
    s -= t.kachi ? std::log(p) : std::log(1 - p);
  }
  return ten.empty() ? 0 : s / static_cast<double>(ten.size());
}

// The scale of least log-loss: a golden-section search on its logarithm.
double fit(const std::vector<Ten>& ten) {
  double a = std::log(20.0), b = std::log(20000.0);
  const double g = (std::sqrt(5.0) - 1) / 2;
  for (int i = 0; i < 80; ++i) {
    const double c = b - g * (b - a), d = a + g * (b - a);
    if (log_loss(ten, std::exp(c)) < log_loss(ten, std::exp(d))) b = d;
    else a = c;
  }
  return std::exp((a + b) / 2);
}

std::vector<Ten> self_play(int games, std::int64_t nodes, int max_turns, int jobs, int& decided, int& capped) {
  const std::vector<Kyokumen> ops = openings();
  games = std::min(games, static_cast<int>(ops.size()));
  std::vector<Ten> ten;
  std::mutex mu;
  std::atomic<int> next{0};
  auto worker = [&] {
    Yomi yomi;
    for (int g = next++; g < games; g = next++) {
      std::vector<std::pair<int, bool>> vals;
      const int winner = play(ops[static_cast<std::size_t>(g)], nodes, max_turns, yomi, vals);
      std::lock_guard<std::mutex> lock(mu);
      std::fprintf(stderr, "game %d: %zu turns, %s\n", g + 1, vals.size(),
                   winner == 0 ? "no result" : winner > 0 ? "lower won" : "upper won");
      if (winner == 0) {
        ++capped;
        continue;
      }
      for (const auto& [v, sita] : vals) {
        if (kachi_ritsu(v) == 0 || kachi_ritsu(v) == 1) {
          ++decided;
          continue;
        }
        ten.push_back(Ten{v, sita == (winner > 0), g});
      }
    }
  };
  std::vector<std::thread> pool;
  for (int j = 0; j < std::max(1, jobs); ++j) pool.emplace_back(worker);
  for (std::thread& t : pool) t.join();
  return ten;
}

}  // namespace

int main(int argc, char** argv) {
  int games = 120, jobs = 2, max_turns = 80;
  std::int64_t nodes = KAISEKI_NODES;
  std::string save, load;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    const long long v = std::atoll(argv[i + 1]);
    if (a == "--games") games = static_cast<int>(v);
    else if (a == "--nodes") nodes = v;
    else if (a == "--jobs") jobs = static_cast<int>(v);
    else if (a == "--max-turns") max_turns = static_cast<int>(v);
    else if (a == "--save") save = argv[i + 1];
    else if (a == "--load") load = argv[i + 1];
  }
  std::vector<Ten> ten;
  int decided = 0, capped = 0;
  if (!load.empty()) {
    std::ifstream in(load);
    Ten t;
    int won;
    while (in >> t.atai >> won >> t.game) {
      t.kachi = won != 0;
      ten.push_back(t);
    }
  } else {
    ten = self_play(games, nodes, max_turns, jobs, decided, capped);
  }
  if (!save.empty()) {
    std::ofstream out(save);
    for (const Ten& t : ten) out << t.atai << ' ' << (t.kachi ? 1 : 0) << ' ' << t.game << '\n';
  }
  std::printf("positions: %zu (%d decided left out, %d games without a result)\n", ten.size(), decided, capped);
  double sum_curve = 0, sum_half = 0, sum_src = 0;
  for (int fold = 0; fold < 4; ++fold) {
    std::vector<Ten> train, test;
    for (const Ten& t : ten) (t.game % 4 == fold ? test : train).push_back(t);
    const double scale = fit(train);
    const double a = log_loss(test, scale), b = log_loss(test, 0), c = log_loss(test, KACHI_RITSU_SCALE);
    std::printf("fold %d: %zu held out, scale %.0f: log-loss curve %.4f, constant 50 %% %.4f, source scale %.4f\n",
                fold, test.size(), scale, a, b, c);
    sum_curve += a * static_cast<double>(test.size());
    sum_half += b * static_cast<double>(test.size());
    sum_src += c * static_cast<double>(test.size());
  }
  const double n = static_cast<double>(std::max<std::size_t>(1, ten.size()));
  std::printf("held out, all folds: log-loss curve %.4f, constant 50 %% %.4f, source scale (%.0f) %.4f\n",
              sum_curve / n, sum_half / n, KACHI_RITSU_SCALE, sum_src / n);
  std::printf("fitted to every game: KACHI_RITSU_SCALE = %.0f\n", fit(ten));
  return 0;
}
