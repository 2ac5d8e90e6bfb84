// The analysis of a 60-turn record (LEVEL4 against itself, drawn at the move cap) at the
// default budget with two jobs, as the window and `mirado-cli analyse` run it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/kaiseki.h"
#include "kifu/kifu_file.h"
#include "taikyoku/taikyoku.h"

namespace {

using namespace mirado;

std::vector<KaisekiKyokumen> record60() {
  KifuFile f;
  std::string error;
  std::vector<KaisekiKyokumen> turns;
  if (!read_kifu_file(MIRADO_BENCH_DIR "/record60.棋譜", f, error) || !kaiseki_kyokumen(f.entries, turns).empty())
    turns.clear();
  return turns;
}

void BM_Analyse60(benchmark::State& state) {
  const std::vector<KaisekiKyokumen> turns = record60();
  if (turns.size() != 60) {
    state.SkipWithError("bench/record60.棋譜 does not give 60 turns");
    return;
  }
  KaisekiSettei settei;
  settei.jobs = static_cast<int>(state.range(0));
  std::vector<KaisekiTe> out;
  for (auto _ : state) {
    kaiseki(turns, settei, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["nodes"] = static_cast<double>(settei.nodes);
}
BENCHMARK(BM_Analyse60)->Arg(2)->Arg(1)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
