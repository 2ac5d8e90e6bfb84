// The positions of bench/positions.sfen, as the benchmarks read them: a missing or empty
// file ends the run, since every figure would be of nothing.
#pragma once

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "rules/sfen.h"

namespace mirado::bench {

inline std::vector<SfenPosition> sfen_positions() {
  std::vector<SfenPosition> out;
  std::ifstream in(std::string(MIRADO_BENCH_DIR) + "/positions.sfen");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    SfenPosition sp;
    std::string error;
    if (parse_sfen(line, sp, error)) out.push_back(sp);
  }
  if (out.empty()) std::abort();
  return out;
}

}  // namespace mirado::bench
