// How far the analysis can be trusted, over a folder of records (those `mirado-cli match
// --pgn-like` writes, or any others):
// - the win-chance curve (the graph's line) and how often it changes direction;
// - in every decided game, whether the loser has a 悪手 and lost more win chance than
//   the winner.
//
//   build/bin/mirado_kaiseki_check DIR [--level 4|5] [--jobs J]
//
// Each record is analysed as the window does, at the analysis' own budget.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/kaiseki.h"
#include "kiroku_tachi.h"
#include "kifu/kifu_file.h"
#include "taikyoku/chuudan.h"
#include "taikyoku/taikyoku.h"

namespace {

using namespace mirado;

// Turns at which the curve turns round: a rise followed by a fall or the other way,
// steps smaller than `min` (points of win chance) skipped.
int muki_kawari(const std::vector<double>& curve, double min) {
  int n = 0, last = 0;
  for (std::size_t i = 1; i < curve.size(); ++i) {
    const double d = curve[i] - curve[i - 1];
    const int s = d >= min ? 1 : d <= -min ? -1 : 0;
    if (s == 0) continue;
    if (last != 0 && s != last) ++n;
    last = s;
  }
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s DIR [--level 4|5] [--jobs J]\n", argv[0]);
    return 2;
  }
  KaisekiSettei settei;
  settei.level = 5;
  settei.jobs = 2;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--level") settei.level = std::atoi(argv[i + 1]);
    else if (a == "--jobs") settei.jobs = std::atoi(argv[i + 1]);
  }
  settei.nodes = settei.level == 5 ? KAISEKI_NODES5 : KAISEKI_NODES;
  const std::vector<std::filesystem::path> files = tools::kiroku_tachi(argv[1]);
  int turns_all = 0, kawari_all = 0, mieru_all = 0, decided = 0, akushu_ari = 0, son_ooi = 0, both = 0;
  for (const auto& f : files) {
    std::vector<KaisekiKyokumen> turns;
    if (!tools::kiroku_turns(f, turns)) {
      std::fprintf(stderr, "%s: skipped\n", f.c_str());
      continue;
    }
    std::vector<KaisekiTe> te;
    kaiseki(turns, settei, te);
    std::vector<double> curve{te.front().sita_mae()};
    for (const KaisekiTe& t : te) curve.push_back(t.sita_ato());
    const int kawari = muki_kawari(curve, 1e-9), mieru = muki_kawari(curve, 1);
    turns_all += static_cast<int>(te.size());
    kawari_all += kawari;
    mieru_all += mieru;
    std::printf("%s: %zu turns, curve turns round at %d (by a point or more: %d)", f.filename().c_str(),
                te.size(), kawari, mieru);
    const KaisekiKyokumen& last = turns.back();
    if (last.kekka != 0) {
      const bool sita_kachi = (last.kekka > 0) == last.sita;
      double son[2] = {};  // [0] the winner's, [1] the loser's
      bool akushu = false;
      for (const KaisekiTe& t : te) {
        const bool kachi = t.sita == sita_kachi;
        son[kachi ? 0 : 1] += t.son;
        if (!kachi && t.rui == TeRui::akushu) akushu = true;
      }
      ++decided;
      akushu_ari += akushu;
      son_ooi += son[1] > son[0];
      both += akushu && son[1] > son[0];
      std::printf("; %s won, loss winner %.0f loser %.0f, loser's 悪手 %s", sita_kachi ? "lower" : "upper",
                  son[0], son[1], akushu ? "yes" : "no");
    }
    std::printf("\n");
  }
  std::printf("curve turns round at %d of %d turns (%.0f %%); by steps of a point or more at %d (%.0f %%)\n",
              kawari_all, turns_all, 100.0 * kawari_all / std::max(1, turns_all), mieru_all,
              100.0 * mieru_all / std::max(1, turns_all));
  std::printf("decided games %d: loser has a 悪手 in %d, loses more in %d, both in %d (%.0f %%)\n", decided,
              akushu_ari, son_ooi, both, 100.0 * both / std::max(1, decided));
  return 0;
}
