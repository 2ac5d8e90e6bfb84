// The positions of bench/positions.sfen (positions at the start of the computer's turn,
// recorded from the program's own games), for tests that want real middle games.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "rules/sfen.h"

namespace mirado::test {

// bench/positions.sfen, named by the build: a compiler cache may record this header's own
// name relative to the build folder, which the tests do not run in.
inline std::string positions_path() { return MIRADO_BENCH_POSITIONS; }

inline std::vector<Kyokumen> bench_positions() {
  std::vector<Kyokumen> out;
  std::ifstream in(positions_path());
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    SfenPosition sp;
    std::string error;
    if (parse_sfen(line, sp, error)) {
      out.push_back(sp.pos);
    } else {
      ADD_FAILURE() << line << ": " << error;
    }
  }
  return out;
}

}  // namespace mirado::test
