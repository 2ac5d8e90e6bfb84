// Speed of LEVEL4's look-ahead over the positions of bench/positions.sfen: whole turns
// examined per second (the counter "turns/s"), at a fixed budget of whole turns, and the
// time of one search in the window's time budget; and of LEVEL5's search: moves made per
// second ("nodes/s") at a fixed budget of nodes, and the whole turns it reads in the
// window's time budget ("depth").
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_positions.h"
#include "engine/yomi.h"
#include "rules/sfen.h"

namespace {

using namespace mirado;

std::vector<Kyokumen> positions() {
  std::vector<Kyokumen> out;
  for (const SfenPosition& sp : bench::sfen_positions()) out.push_back(sp.pos);
  return out;
}

// Searches the next position each iteration with the settings given, and reports the
// rate of what the search counts (whole turns for LEVEL4, nodes for LEVEL5).
void search_rate(benchmark::State& state, const YomiSettei& s, const char* rate, const char* average) {
  const std::vector<Kyokumen> ps = positions();
  Yomi yomi;
  std::size_t i = 0;
  std::int64_t counted = 0;
  for (auto _ : state) {
    const YomiKekka r = yomi.sagasu(ps[i++ % ps.size()], s);
    counted += r.nodes;
    benchmark::DoNotOptimize(r.score);
  }
  state.counters[rate] = benchmark::Counter(static_cast<double>(counted), benchmark::Counter::kIsRate);
  if (average)
    state.counters[average] =
        benchmark::Counter(static_cast<double>(counted), benchmark::Counter::kAvgIterations);
}

// Each iteration searches the next position with a budget of state.range(0) whole turns.
void BM_YomiNodes(benchmark::State& state) {
  YomiSettei s;
  s.nodes = state.range(0);
  search_rate(state, s, "turns/s", "turns/search");
}
// At the smaller budget every position once, so that runs of different builds search the
// same positions and their rates compare.
BENCHMARK(BM_YomiNodes)->Arg(5000)->Iterations(129)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YomiNodes)->Arg(40000)->Unit(benchmark::kMillisecond);

// The window's budget: one search per iteration, as long as it takes.
void BM_YomiWindowBudget(benchmark::State& state) {
  YomiSettei s;
  s.byou = YOMI_BYOU;
  search_rate(state, s, "turns/s", nullptr);
}
BENCHMARK(BM_YomiWindowBudget)->Unit(benchmark::kMillisecond)->Iterations(40);

// LEVEL5: each iteration searches the next position with a budget of state.range(0) nodes.
void BM_Level5Nodes(benchmark::State& state) {
  YomiSettei s;
  s.level = 5;
  s.nodes = state.range(0);
  search_rate(state, s, "nodes/s", nullptr);
}
BENCHMARK(BM_Level5Nodes)->Arg(5000)->Iterations(129)->Unit(benchmark::kMillisecond);

// LEVEL5 in the window's budget: the whole turns read, on average.
void BM_Level5WindowBudget(benchmark::State& state) {
  const std::vector<Kyokumen> ps = positions();
  Yomi yomi;
  YomiSettei s;
  s.level = 5;
  s.byou = YOMI_BYOU;
  std::size_t i = 0;
  std::int64_t nodes = 0, depth = 0;
  for (auto _ : state) {
    const YomiKekka r = yomi.sagasu(ps[i++ % ps.size()], s);
    nodes += r.nodes;
    depth += r.depth;
  }
  state.counters["nodes/s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsRate);
  state.counters["depth"] = benchmark::Counter(static_cast<double>(depth), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Level5WindowBudget)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace
