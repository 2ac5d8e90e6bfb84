// The positions of bench/positions.sfen (positions at the start of the computer's turn,
// recorded from the program's own games), for tests that want real middle games.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "rules/sfen.h"

namespace mirado::test {

// bench/positions.sfen, found beside this file's folder.
inline std::string positions_path() {
  std::string here = __FILE__;
  const auto slash = here.find_last_of('/');
  here = slash == std::string::npos ? std::string(".") : here.substr(0, slash);
  return here + "/../bench/positions.sfen";
}

inline std::vector<Kyokumen> bench_positions() {
  std::vector<Kyokumen> out;
  std::ifstream in(positions_path());
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    SfenPosition sp;
    std::string error;
    if (parse_sfen(line, sp, error)) {
      sp.pos.mochigoma_su_keisan();
      out.push_back(sp.pos);
    } else {
      ADD_FAILURE() << line << ": " << error;
    }
  }
  return out;
}

}  // namespace mirado::test
