// The computer's whole turn (com_ban1, com_ban2, com_ban3; compute only: no waits, no
// painting) at levels 1, 2, 3 and 4 over the positions of bench/positions.sfen, which were
// recorded from games of the program by this same binary (--record).
//
//   mirado_engine_bench [--positions FILE] [--repeat N]   timings per level, and the
//                                                         allocation check (exit 1 if
//                                                         the search allocates)
//   mirado_engine_bench --record FILE                     play games and write positions
//
// Allocation check: this binary replaces the global operator new with a counting one;
// the count is read before and after every timed turn.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "engine/tansaku.h"
#include "engine/yomi.h"
#include "rules/sfen.h"
#include "rules/tsumi.h"
#include "taikyoku/taikyoku.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// g++ 12 cannot see that these delete operators pair with the malloc-based new below.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

using namespace mirado;

#ifndef MIRADO_BENCH_DIR
#define MIRADO_BENCH_DIR "bench"
#endif

int hand_total(const Kyokumen& p) {
  int n = 0;
  for (int i = 1; i <= 7; ++i) n += p.mochigoma_sita[i] + p.mochigoma_ue[i];
  return n;
}

// A small deterministic generator for the varied openings of recorded games.
struct Rng {
  unsigned long long s;
  unsigned next() {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(s >> 33);
  }
};

// One random legal board move of the given side (a person's careless move), applied.
// Returns false when the side has no board move.
bool random_move(Kyokumen& p, bool ue, Rng& rng) {
  struct M { int fc, fr, tc, tr; };
  std::vector<M> moves;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int v = p.ban[c][r];
      if (ue ? v < 10 : v > -10) continue;
      for (int tc = 1; tc <= 9; ++tc)
        for (int tr = 1; tr <= 9; ++tr)
          if (p.idou_kanou(c, r, tc, tr, v) && narazu_kanou(tr, v) &&
              p.ban[tc][tr] != (ue ? -OU : OU))
            moves.push_back({c, r, tc, tr});
    }
  if (moves.empty()) return false;
  const M m = moves[rng.next() % moves.size()];
  Sashite s;
  s.ari = true;
  s.moto_koma = p.ban[m.fc][m.fr];
  s.te = Te{m.fc, m.fr, m.tc, m.tr, s.moto_koma};
  sashite_ugokasu(p, s);
  return true;
}

// The person's turn (lower pieces) for a recorded game: the program's own procedures
// play it on the turned board, but only with moves that the game accepts from a person
// (none that leaves the moved piece's own king attacked, and no capture of one's own king
// in the second move). Returns true when the game is over.
bool person_turn(Kyokumen& p, int level) {
  Kyokumen q = kaiten(p);
  int ix = 0, iy = 0, nx = 0, ny = 0;
  std::vector<Kouho> buf(KOUHO_MAX);
  for (int proc = 1; proc <= 3; ++proc) {
    const bool own = proc != 2;  // on the turned board the person plays the upper pieces
    KouhoKiroku log{buf.data(), KOUHO_MAX};
    tansaku(q, level, static_cast<Dankai>(proc), ix, iy, nx, ny, &log);
    bool found = false;
    Sashite pick;
    for (int i = 0; i < log.n; ++i) {
      const Kouho& k = buf[static_cast<std::size_t>(i)];
      if (found && !(own ? k.score > pick.score : k.score < pick.score)) continue;
      const Te& c = k.te;
      Sashite s{true, c, is_uchi(c.fc) ? c.koma : q.ban[c.fc][c.fr], k.score};
      Kyokumen r = q;
      const int torareru = sashite_ugokasu(r, s);
      const Kiki& kk = r.kiki();
      if (!own && torareru == OU) continue;
      const bool safe = own ? kk.kiki_sita[r.ou_ue_x][r.ou_ue_y] == 0
                            : kk.kiki_ue[r.ou_sita_x][r.ou_sita_y] == 0;
      if (!safe && torareru != -OU) continue;
      pick = s;
      found = true;
    }
    if (!found) continue;
    const int torareru = sashite_ugokasu(q, pick);
    if (proc == 1) ix = pick.te.tc, iy = pick.te.tr;
    if (proc == 2) nx = pick.te.tc, ny = pick.te.tr;
    if (torareru == -OU || torareru == OU) {
      p = kaiten(q);
      return true;
    }
    if (own && tsumi_sita(q)) {
      p = kaiten(q);
      return true;
    }
  }
  p = kaiten(q);
  return false;
}

int record(const std::string& out_path) {
  std::ofstream out(out_path);
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", out_path.c_str());
    return 2;
  }
  out << "# Positions at the start of the computer's turn (the computer plays the upper\n"
         "# pieces), taken from games recorded by mirado_engine_bench --record: the program's\n"
         "# own procedures play both sides (the person's turns on the turned board, keeping to\n"
         "# the moves the move procedures accept from a person) at the levels named, from\n"
         "# openings whose first person's turn has random moves.\n";
  struct Picked { std::string sfen, note; int hand; };
  std::vector<Picked> all;
  for (int seed = 1; seed <= 30; ++seed) {
    for (int ue_level = 1; ue_level <= 3; ++ue_level) {
      const int sita_level = 1 + (seed + ue_level) % 3;
      Rng rng{static_cast<unsigned long long>(seed) * 7919ULL + ue_level};
      Kyokumen p;
      p.shoki_haichi();
      bool owatta = false;
      for (int turn = 1; turn <= 40 && !owatta; ++turn) {
        // The person's turn (lower pieces): random in the first turn, then the program
        // on the turned board within what a person may play.
        if (turn == 1) {
          random_move(p, false, rng);
          random_move(p, true, rng);
          random_move(p, false, rng);
        } else if (person_turn(p, sita_level)) {
          break;
        }
        std::ostringstream note;
        note << "seed " << seed << " levels ue " << ue_level << " sita " << sita_level << " turn "
             << turn;
        all.push_back({to_sfen(p, false, 6 * turn - 2), note.str(), hand_total(p)});
        Taikyoku g = sente_taikyoku(p, ue_level);
        ComTurn().run(g);
        p = g.pos();
        owatta = g.owatta();
      }
    }
  }
  // Every fifth position, plus every position with six or more pieces in hand.
  int written = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (i % 5 != 0 && all[i].hand < 6) continue;
    out << "# " << all[i].note << ", " << all[i].hand << " in hand\n" << all[i].sfen << "\n";
    ++written;
  }
  std::fprintf(stderr, "recorded %zu positions, wrote %d to %s\n", all.size(), written,
               out_path.c_str());
  return 0;
}

std::vector<std::string> read_positions(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> out;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    out.push_back(line);
  }
  return out;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Reads the arguments; returns the exit status when there is nothing to time (--record
// done, or a bad argument), else -1.
int read_args(int argc, char** argv, std::string& positions, int& repeat) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--record" && i + 1 < argc) return record(argv[++i]);
    if (a == "--positions" && i + 1 < argc) positions = argv[++i];
    else if (a == "--repeat" && i + 1 < argc) repeat = std::max(1, std::atoi(argv[++i]));
    else if (a.rfind("--benchmark", 0) == 0) continue;  // tolerated, for uniform scripts
    else {
      std::fprintf(stderr, "usage: %s [--positions FILE] [--repeat N] | --record FILE\n", argv[0]);
      return 2;
    }
  }
  return -1;
}

// The positions to time, with their hand totals set; false (and why on stderr) if none.
bool load_positions(const std::string& positions, std::vector<Kyokumen>& start) {
  for (const std::string& s : read_positions(positions)) {
    SfenPosition sp;
    std::string error;
    if (!parse_sfen(s, sp, error)) {
      std::fprintf(stderr, "bad position '%s': %s\n", s.c_str(), error.c_str());
      return false;
    }
    start.push_back(sp.pos);
  }
  if (start.empty()) {
    std::fprintf(stderr, "no positions in %s\n", positions.c_str());
    return false;
  }
  return true;
}

// One line of the table: the times per position of one level and its allocations.
void print_row(int level, const std::vector<double>& per_pos, long alloc, const char* note) {
  const auto mx = std::max_element(per_pos.begin(), per_pos.end());
  double mean = 0;
  for (double v : per_pos) mean += v;
  mean /= static_cast<double>(per_pos.size());
  std::printf("%5d  %9.3f  %6.3f  %7.3f  %16ld  %11ld%s\n", level, median(per_pos), *mx, mean,
              static_cast<long>(mx - per_pos.begin()) + 1, alloc, note);
}

// Levels 1-3, the median of `repeat` runs per position; returns the allocations.
long time_design_levels(const std::vector<Kyokumen>& start, int repeat) {
  long total_alloc = 0;
  for (int level = 1; level <= 3; ++level) {
    std::vector<double> per_pos;
    std::vector<double> runs(static_cast<std::size_t>(repeat));
    long alloc = 0;
    for (const Kyokumen& p0 : start) {
      for (int r = 0; r < repeat; ++r) {
        Taikyoku g = sente_taikyoku(p0, level);
        ComTurn t;
        const long a0 = g_allocations.load();
        const auto t0 = std::chrono::steady_clock::now();
        t.run(g);
        const auto t1 = std::chrono::steady_clock::now();
        alloc += g_allocations.load() - a0;
        runs[static_cast<std::size_t>(r)] = std::chrono::duration<double, std::milli>(t1 - t0).count();
      }
      per_pos.push_back(median(runs));
    }
    print_row(level, per_pos, alloc, "");
    total_alloc += alloc;
  }
  return total_alloc;
}

// LEVEL4 or LEVEL5 at a fixed budget of nodes, one run per position; their buffers are
// made once, before the turns (LEVEL5's on its first search). Returns the allocations.
long time_look_ahead(const std::vector<Kyokumen>& start, int level) {
  Yomi yomi;
  YomiSettei settei;
  settei.nodes = 3000;
  settei.level = level;
  yomi.sagasu(start.front(), settei);
  std::vector<double> per_pos;
  long alloc = 0;
  for (const Kyokumen& p0 : start) {
    Taikyoku g = sente_taikyoku(p0, 4);
    ComTurn t;
    const long a0 = g_allocations.load();
    const auto t0 = std::chrono::steady_clock::now();
    com_turn_yomi(t, g, yomi, settei);
    const auto t1 = std::chrono::steady_clock::now();
    alloc += g_allocations.load() - a0;
    per_pos.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  print_row(level, per_pos, alloc, level == 4 ? "   (3000 whole turns, one run)" : "   (3000 moves, one run)");
  return alloc;
}

}  // namespace

int main(int argc, char** argv) {
  std::string positions = std::string(MIRADO_BENCH_DIR) + "/positions.sfen";
  int repeat = 7;
  if (const int status = read_args(argc, argv, positions, repeat); status >= 0) return status;
  std::vector<Kyokumen> start;
  if (!load_positions(positions, start)) return 2;
  std::printf("%zu positions from %s, %d runs each (median per position)\n", start.size(),
              positions.c_str(), repeat);
  std::printf("level  median_ms  max_ms  mean_ms  slowest_position  allocations\n");
  long total_alloc = time_design_levels(start, repeat);
  total_alloc += time_look_ahead(start, 4);
  total_alloc += time_look_ahead(start, 5);
  if (total_alloc != 0) {
    std::printf("FAIL: the search allocated %ld times\n", total_alloc);
    return 1;
  }
  std::printf("no heap allocation inside the turns (counting operator new)\n");
  return 0;
}
