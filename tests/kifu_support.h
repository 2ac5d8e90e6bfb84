// Shared by the record tests: a scratch directory that is also the working
// directory, and moves played by the game's own rules.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "fakes.h"
#include "temp_cwd.h"
#include "taikyoku_shiken.h"

namespace mirado::test {

class KifuDir : public ::testing::Test {
 protected:
  void SetUp() override {
    cwd_.emplace();
    dir_ = cwd_->dir();
  }
  void TearDown() override { cwd_.reset(); }

  static std::string read_bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void write_bytes(const std::filesystem::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
  }

  std::filesystem::path dir_;

 private:
  std::optional<TempCwd> cwd_;
};

// A person's move on the window's game, played by the game's rules `secs` after the last
// one was charged (every move is charged to the holder of the turn); the window then goes
// on with the game. fr is the hand slot for a drop.
inline void play_move(Harness& h, int fc, int fr, int tc, int tr, int code, double secs = 0) {
  Taikyoku t = h.game.taikyoku();
  te_sasu(t, fc, fr, tc, tr, code, t.jikan_kaishi() + secs);
  h.game.haichi(t);
}

// Three turns with a capture, a promotion, a drop and a recapture; the lower pieces move first.
inline void play_sample_game(Harness& h) {
  struct M { int fc, fr, tc, tr, code; };
  static constexpr M kLine[] = {
      {3, 7, 3, 6, -HU},  {7, 3, 7, 4, HU},          {2, 8, 8, 2, -UMA},  // takes the bishop
      {2, 2, 8, 2, HISHA}, {TE_SITA, 6, 5, 5, -KAKU}, {3, 3, 3, 4, HU},   // recapture; drop
      {5, 5, 1, 1, -UMA},  {9, 1, 9, 2, KYOU},       {1, 7, 1, 6, -HU},   // the horse takes a lance
  };
  double secs = 3;
  for (const M& m : kLine) {
    play_move(h, m.fc, m.fr, m.tc, m.tr, m.code, secs);
    secs += 7;
  }
}


}  // namespace mirado::test
