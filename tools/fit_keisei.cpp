// Fits LEVEL5's static assessment (KEISEI_OMOMI and KEISEI_TEBAN in
// src/engine/keisei.cpp) to the results of self-play, Texel's way: the chance that the
// side to move wins is taken as 1 / (1 + e^(-v / S)), v the assessment, S the analysis'
// scale, and the weights are those of least log-loss (logistic regression by Newton's
// method, with a light pull of each weight toward a prior).
//
//   build/bin/mirado_fit_keisei DIR [--seed N] [--held-out PERCENT] [--skip-turns T]
//                               [--search NODES]
//
// DIR holds the records `mirado-cli match --out-dir` wrote (tools/fit_keisei.sh plays
// them). Every turn of a decided game gives one position, labelled by whether the side
// holding the turn went on to win; games without a result are left out. The games are
// shuffled by the seed and split: the held-out share is scored, not fitted. With
// --search, the held-out positions are also scored by the win chance the analysis shows:
// LEVEL5's search value at NODES a search, on the weights now in the source. The last
// lines are the weights to put in the source.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/kaiseki.h"
#include "engine/keisei.h"
#include "engine/yomi.h"
#include "kiroku_tachi.h"
#include "kifu/kifu_file.h"
#include "taikyoku/chuudan.h"
#include "taikyoku/taikyoku.h"

namespace {

using namespace mirado;

constexpr int N = KEISEI_SO_SU + 1;  // the features, then the turn's term
constexpr std::size_t SEARCH_MAX = 2000;  // held-out positions searched at most
constexpr double HIKI = 1e-2;        // the pull toward the prior weights, per position

// What the weights are pulled toward: LEVEL4's hand-set values where a feature has one
// (its pieces' worth on the board and in hand, its king terms), else nothing. The pull
// keeps a rarely seen feature (a promoted lance, a pawn in hand) from a worth that the
// few positions holding it happen to give.
constexpr double MAE[KEISEI_SO_SU] = {
    100, 520, 300, 480, 350, 500, 500, 540, 560, 820, 1050, 950, 1250,
    115, 320, 380, 560, 620, 900, 1050,
    28, 6, 25, 22, 6,
    0, 0, 0,
    0, 0, 0,
};

struct Ten {
  double x[N];
  bool kachi;
};

struct Kyoku {
  std::vector<Ten> ten;
  std::vector<Kyokumen> ban;  // each position, the side holding the turn below
};

bool kimatta(const Kyokumen& p) {
  return p.ou_ue_x == 0 || p.ou_sita_x == 0 || p.kiki().kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0;
}

// The positions of one record, from the view of the side holding each turn.
bool kifu_yomu(const std::filesystem::path& path, int skip, Kyoku& out) {
  std::vector<KaisekiKyokumen> turns;
  if (!tools::kiroku_turns(path, turns)) return false;
  const KaisekiKyokumen& last = turns.back();
  if (last.kekka == 0) return false;  // stopped at the cap: no result
  const bool sita_kachi = (last.kekka > 0) == last.sita;
  for (std::size_t i = static_cast<std::size_t>(skip); i < turns.size(); ++i) {
    const Kyokumen p = turns[i].sita ? turns[i].mae : kaiten(turns[i].mae);
    if (kimatta(p)) continue;
    int so[KEISEI_SO_SU];
    keisei_so(p, so);
    Ten t{};
    for (int j = 0; j < KEISEI_SO_SU; ++j) t.x[j] = so[j];
    t.x[KEISEI_SO_SU] = 1;
    t.kachi = turns[i].sita == sita_kachi;
    out.ten.push_back(t);
    out.ban.push_back(p);
  }
  return true;
}

double atai(const Ten& t, const double* w) {
  double v = 0;
  for (int j = 0; j < N; ++j) v += w[j] * t.x[j];
  return v;
}

double log_loss(const std::vector<const Ten*>& ten, const double* w, double scale) {
  double s = 0;
  for (const Ten* t : ten) {
    const double p = std::clamp(1 / (1 + std::exp(-atai(*t, w) / scale)), 1e-9, 1 - 1e-9);
    s -= t->kachi ? std::log(p) : std::log(1 - p);
  }
  return ten.empty() ? 0 : s / static_cast<double>(ten.size());
}

// Solves a x = b in place (Gaussian elimination with partial pivoting).
void toku(double (&a)[N][N], double (&b)[N]) {
  for (int c = 0; c < N; ++c) {
    int piv = c;
    for (int r = c + 1; r < N; ++r)
      if (std::fabs(a[r][c]) > std::fabs(a[piv][c])) piv = r;
    std::swap(a[c], a[piv]);
    std::swap(b[c], b[piv]);
    if (std::fabs(a[c][c]) < 1e-15) continue;
    for (int r = 0; r < N; ++r) {
      if (r == c) continue;
      const double f = a[r][c] / a[c][c];
      for (int k = c; k < N; ++k) a[r][k] -= f * a[c][k];
      b[r] -= f * b[c];
    }
  }
  for (int c = 0; c < N; ++c) b[c] = std::fabs(a[c][c]) < 1e-15 ? 0 : b[c] / a[c][c];
}

// Newton's method on the penalised log-loss, from the starting weights w.
void fit(const std::vector<const Ten*>& ten, const double* w0, double scale, double* w) {
  std::copy(w0, w0 + N, w);
  const double n = static_cast<double>(ten.size());
  for (int it = 0; it < 30; ++it) {
    double g[N] = {}, h[N][N] = {};
    for (const Ten* t : ten) {
      const double p = 1 / (1 + std::exp(-atai(*t, w) / scale));
      const double e = (p - (t->kachi ? 1 : 0)) / scale, d = p * (1 - p) / (scale * scale);
      for (int i = 0; i < N; ++i) {
        g[i] += e * t->x[i];
        for (int j = 0; j < N; ++j) h[i][j] += d * t->x[i] * t->x[j];
      }
    }
    for (int i = 0; i < KEISEI_SO_SU; ++i) {
      g[i] += 2 * HIKI * n * (w[i] - w0[i]) / (scale * scale);
      h[i][i] += 2 * HIKI * n / (scale * scale);
    }
    toku(h, g);
    double step = 0;
    for (int i = 0; i < N; ++i) {
      w[i] -= g[i];
      step = std::max(step, std::fabs(g[i]));
    }
    if (step < 1e-3) break;
  }
}

// The log-loss of the win chance the analysis would show for the held-out positions:
// LEVEL5's value of each at `nodes` a search, on `jobs` threads.
double search_log_loss(const std::vector<const Kyoku*>& games, std::int64_t nodes, int jobs) {
  std::vector<std::pair<const Kyokumen*, bool>> all;
  for (const Kyoku* g : games)
    for (std::size_t i = 0; i < g->ban.size(); ++i) all.emplace_back(&g->ban[i], g->ten[i].kachi);
  // An even spread of at most SEARCH_MAX of them: a search costs a tenth of a second.
  if (all.size() > SEARCH_MAX) {
    std::vector<std::pair<const Kyokumen*, bool>> some;
    for (std::size_t i = 0; i < SEARCH_MAX; ++i) some.push_back(all[i * all.size() / SEARCH_MAX]);
    all.swap(some);
  }
  std::vector<double> loss(all.size());
  std::atomic<std::size_t> next{0};
  auto job = [&] {
    Yomi yomi;
    YomiSettei st;
    st.nodes = nodes;
    st.level = 5;
    for (std::size_t i = next++; i < all.size(); i = next++) {
      const YomiKekka r = yomi.sagasu(kaiten(*all[i].first), st);  // the search plays the upper pieces
      const double p = std::clamp(kachi_ritsu(r.score), 1e-9, 1 - 1e-9);
      loss[i] = all[i].second ? -std::log(p) : -std::log(1 - p);
    }
  };
  std::vector<std::thread> pool;
  for (int j = 0; j < jobs; ++j) pool.emplace_back(job);
  for (std::thread& t : pool) t.join();
  double s = 0;
  for (double l : loss) s += l;
  return all.empty() ? 0 : s / static_cast<double>(all.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DIR [--seed N] [--held-out PERCENT] [--skip-turns T]\n", argv[0]);
    return 2;
  }
  unsigned seed = 1;
  int held_out = 20, skip = 0, search = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    const int v = std::atoi(argv[i + 1]);
    if (a == "--seed") seed = static_cast<unsigned>(v);
    else if (a == "--held-out") held_out = v;
    else if (a == "--skip-turns") skip = v;
    else if (a == "--search") search = v;
  }
  const std::vector<std::filesystem::path> files = tools::kiroku_tachi(argv[1]);  // then the seed's order
  std::vector<Kyoku> kyoku;
  int nashi = 0;
  for (const auto& f : files) {
    Kyoku k;
    if (kifu_yomu(f, skip, k)) kyoku.push_back(std::move(k));
    else ++nashi;
  }
  std::mt19937 rng(seed);
  std::shuffle(kyoku.begin(), kyoku.end(), rng);
  const std::size_t n_test = kyoku.size() * static_cast<std::size_t>(held_out) / 100;
  std::vector<const Ten*> train, test, all;
  for (std::size_t g = 0; g < kyoku.size(); ++g)
    for (const Ten& t : kyoku[g].ten) {
      (g < n_test ? test : train).push_back(&t);
      all.push_back(&t);
    }
  std::printf("games: %zu decided (%d without a result or unreadable); positions: %zu fitted, %zu held out\n",
              kyoku.size(), nashi, train.size(), test.size());
  double w0[N], w[N], wz[N] = {};
  double wsrc[N];
  for (int j = 0; j < KEISEI_SO_SU; ++j) {
    w0[j] = MAE[j];
    wsrc[j] = KEISEI_OMOMI[j];
  }
  w0[KEISEI_SO_SU] = 0;
  wsrc[KEISEI_SO_SU] = KEISEI_TEBAN;
  const double scale = KACHI_RITSU_SCALE;
  fit(train, w0, scale, w);
  std::printf("held out: log-loss fitted %.4f, source weights %.4f, coin %.4f (scale %.0f)\n",
              log_loss(test, w, scale), log_loss(test, wsrc, scale), log_loss(test, wz, scale), scale);
  if (search > 0) {
    std::vector<const Kyoku*> held;
    for (std::size_t g = 0; g < n_test; ++g) held.push_back(&kyoku[g]);
    std::printf("held out: log-loss of LEVEL5's win chance at %d nodes a search %.4f (%zu positions at most)\n",
                search, search_log_loss(held, search, 2), SEARCH_MAX);
  }
  fit(all, w0, scale, w);
  std::printf("fitted to every game:\nconst int KEISEI_OMOMI[KEISEI_SO_SU] = {");
  for (int j = 0; j < KEISEI_SO_SU; ++j) std::printf("%s%ld", j ? ", " : "", std::lround(w[j]));
  std::printf("};\nconst int KEISEI_TEBAN = %ld;\n", std::lround(w[KEISEI_SO_SU]));
  return 0;
}
