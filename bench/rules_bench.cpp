// Speed of the rules core: influence maps, a full movement scan, mate tests, perft, and
// perft and the maps over the positions of bench/positions.sfen (the counter "seq/s":
// move sequences counted per second).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench_positions.h"
#include "rules/kiki.h"
#include "rules/perft.h"
#include "rules/sfen.h"
#include "rules/tsumi.h"

namespace {

using namespace mirado;

// A middle-game position with pieces in hand on both sides.
constexpr const char* kMiddle =
    "l6nl/5+P1gk/2np1S3/p1p4Pp/3P2Sp1/1PPb2P1P/P5GS1/R8/LN4bKL w RGgsn5p 1";
constexpr const char* kStart = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";
// Kings in check by a distant rook, no pieces in hand: escape and board-defence steps run.
constexpr const char* kChecked = "4k4/9/9/9/4r4/9/9/3G1G3/3SKS3 b - 1";
constexpr const char* kCheckedUe = "3sks3/3g1g3/9/9/4R4/9/9/9/4K4 w - 1";

Kyokumen position(const char* sfen) {
  SfenPosition sp;
  std::string error;
  if (!parse_sfen(sfen, sp, error)) std::abort();
  return sp.pos;
}

void BM_KikiKeisan(benchmark::State& state) {
  const Kyokumen p = position(kMiddle);
  Kiki k{};
  for (auto _ : state) {
    kiki_keisan(p.ban, k);
    benchmark::DoNotOptimize(k);
  }
}
BENCHMARK(BM_KikiKeisan);

void BM_IdouKanouScan(benchmark::State& state) {
  const Kyokumen p = position(kMiddle);
  for (auto _ : state) {
    int legal = 0;
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r) {
        const int code = p.ban[c][r];
        if (code == kara) continue;
        for (int tc = 1; tc <= 9; ++tc)
          for (int tr = 1; tr <= 9; ++tr) legal += p.idou_kanou(c, r, tc, tr, code);
      }
    benchmark::DoNotOptimize(legal);
  }
}
BENCHMARK(BM_IdouKanouScan);

void BM_TsumiSita(benchmark::State& state) {
  Kyokumen p = position(kChecked);
  for (auto _ : state) benchmark::DoNotOptimize(tsumi_sita(p));
}
BENCHMARK(BM_TsumiSita);

void BM_TsumiUe(benchmark::State& state) {
  Kyokumen p = position(kCheckedUe);
  for (auto _ : state) benchmark::DoNotOptimize(tsumi_ue(p));
}
BENCHMARK(BM_TsumiUe);

void BM_Perft(benchmark::State& state) {
  Kyokumen p = position(kStart);
  for (auto _ : state) benchmark::DoNotOptimize(perft(p, true, static_cast<int>(state.range(0))));
}
BENCHMARK(BM_Perft)->Arg(3)->Arg(4)->Unit(benchmark::kMillisecond);

struct BenchPosition {
  Kyokumen pos;
  bool teban_sita;
};

std::vector<BenchPosition> bench_positions() {
  std::vector<BenchPosition> out;
  for (const SfenPosition& sp : bench::sfen_positions()) out.push_back({sp.pos, sp.teban_sita == 1});
  return out;
}

// One iteration: perft to state.range(0) on every benchmark position.
void BM_PerftBenchPositions(benchmark::State& state) {
  std::vector<BenchPosition> ps = bench_positions();
  const int depth = static_cast<int>(state.range(0));
  std::uint64_t sequences = 0;
  for (auto _ : state)
    for (BenchPosition& b : ps) sequences += perft(b.pos, b.teban_sita, depth);
  state.counters["seq/s"] = benchmark::Counter(static_cast<double>(sequences), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PerftBenchPositions)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

// One iteration: the maps of every benchmark position drawn from scratch.
void BM_KikiKeisanBenchPositions(benchmark::State& state) {
  const std::vector<BenchPosition> ps = bench_positions();
  Kiki k{};
  for (auto _ : state)
    for (const BenchPosition& b : ps) {
      kiki_keisan(b.pos.ban, k);
      benchmark::DoNotOptimize(k);
    }
  state.counters["maps/s"] = benchmark::Counter(static_cast<double>(state.iterations() * ps.size()),
                                                benchmark::Counter::kIsRate);
}
BENCHMARK(BM_KikiKeisanBenchPositions)->Unit(benchmark::kMicrosecond);

}  // namespace
