// Shared by the record tests: a scratch directory that is also the working
// directory, and moves played the way the move procedures play them.
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

// Records a move, then applies it, as the move procedures do. fr is the hand slot for a drop.
inline void play_move(Harness& h, int fc, int fr, int tc, int tr, int code, double secs = 0) {
  Game& g = h.game;
  const int before = fc == TE_SITA ? -MOCHIGOMA_KOMA[fr]
                     : fc == TE_UE ? MOCHIGOMA_KOMA[fr]
                                   : g.taikyoku().pos().ban[fc][fr];
  const bool sita = before < 0;
  kifu_kiroku(g, fc, fr, tc, tr, before, code, g.taikyoku().jikan_sita(),
              g.taikyoku().jikan_sita() + (sita ? secs : 0), g.taikyoku().jikan_ue(),
              g.taikyoku().jikan_ue() + (sita ? 0 : secs));
  if (sita) joutai(g).jikan_sita += secs;
  else joutai(g).jikan_ue += secs;
  ++joutai(g).tesuu;
  te_ugokasu(g, fc, fr, tc, tr, code);
  joutai(g).teban = -g.taikyoku().teban();
}

// Three turns with a capture, a promotion, a drop and a recapture; the lower pieces move first.
inline void play_sample_game(Harness& h) {
  struct M { int fc, fr, tc, tr, code; };
  static constexpr M kLine[] = {
      {3, 7, 3, 6, -HU}, {7, 3, 7, 4, HU},          {2, 8, 8, 2, -UMA},
      {7, 1, 8, 2, GIN}, {TE_SITA, 6, 5, 5, -KAKU}, {5, 3, 5, 4, HU},
      {5, 5, 9, 1, -UMA}, {1, 1, 1, 2, KYOU},       {1, 7, 1, 6, -HU},
  };
  double secs = 3;
  for (const M& m : kLine) {
    play_move(h, m.fc, m.fr, m.tc, m.tr, m.code, secs);
    secs += 7;
  }
}


}  // namespace mirado::test
