// Checks of a position that must hold after every move, shared by the tests of every
// layer and the fuzz targets (with the position's own, kyokumen_fusei). Each returns an
// empty string when the position is sound, else what is wrong.
#pragma once

#include <array>
#include <string>

#include "rules/kyokumen.h"

namespace mirado::test {

// Pieces by hand slot (1..7; 0 the king) of a position, either side, hands included.
using KomaKazu = std::array<int, 8>;

// Board, hands and hand totals are equal (the unused row and column 0 aside).
inline bool same_position(const Kyokumen& a, const Kyokumen& b) {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r)
      if (a.ban[c][r] != b.ban[c][r]) return false;
  for (int k = 1; k <= 7; ++k)
    if (a.mochigoma_sita[k] != b.mochigoma_sita[k] || a.mochigoma_ue[k] != b.mochigoma_ue[k]) return false;
  return a.mochigoma_su_sita == b.mochigoma_su_sita && a.mochigoma_su_ue == b.mochigoma_su_ue;
}

inline int kazu_slot(int code) { return koma_abs(code) == OU ? 0 : mochigoma_slot(code); }

inline KomaKazu koma_kazu(const Kyokumen& p) {
  KomaKazu n{};
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r)
      if (is_koma(p.ban[c][r])) ++n[kazu_slot(p.ban[c][r])];
  for (int k = 1; k <= 7; ++k) n[k] += p.mochigoma_sita[k] + p.mochigoma_ue[k];
  // A captured king lives only in the capturer's total.
  int sita = 0, ue = 0;
  for (int k = 1; k <= 7; ++k) sita += p.mochigoma_sita[k], ue += p.mochigoma_ue[k];
  n[0] += (p.mochigoma_su_sita - sita) + (p.mochigoma_su_ue - ue);
  return n;
}

// The pieces of the even start less those a handicap of `level` (either side) takes off:
// bishop, rook, two lances, two knights, two silvers, two golds, in that order.
inline KomaKazu kitai_kazu(int level) {
  KomaKazu n{2, 18, 4, 4, 4, 4, 2, 2};
  static constexpr int kJun[10] = {6, 7, 2, 2, 3, 3, 4, 4, 5, 5};
  const int steps = level < 0 ? -level : level;
  for (int i = 0; i < steps && i < 10; ++i) --n[kJun[i]];
  return n;
}

inline std::string koma_kazu_fusei(const Kyokumen& p, int handicap) {
  const KomaKazu has = koma_kazu(p), want = kitai_kazu(handicap);
  for (int k = 0; k <= 7; ++k)
    if (has[k] != want[k])
      return "slot " + std::to_string(k) + " holds " + std::to_string(has[k]) + " pieces, not " +
             std::to_string(want[k]);
  return {};
}

}  // namespace mirado::test
