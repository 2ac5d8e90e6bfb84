// Where a piece can go and whether a square is reached, found from the piece or the
// square outward: the loops that would otherwise ask idou_kanou about all 81 squares, or
// draw the whole influence maps to read one square, ask these instead.
#pragma once

#include <cstdint>

#include "rules/kyokumen.h"

namespace mirado {

// A set of squares. Square (c, r) is bit (c - 1) * 9 + (r - 1), so taking the squares out
// lowest bit first visits them in board order: column by column, each from row 1 to 9,
// the order of every scan of the board, on which the computer's tie breaks depend.
struct Masume {
  std::uint64_t lo = 0;  // columns 1 to 7
  std::uint64_t hi = 0;  // columns 8 and 9, from bit 63 on

  void ireru(int c, int r) {
    const int i = (c - 1) * 9 + (r - 1);
    if (i < 64) lo |= std::uint64_t{1} << i;
    else hi |= std::uint64_t{1} << (i - 64);
  }
  bool aru(int c, int r) const {
    const int i = (c - 1) * 9 + (r - 1);
    return i < 64 ? (lo >> i) & 1 : (hi >> (i - 64)) & 1;
  }
  bool kara() const { return (lo | hi) == 0; }
  // Takes the first square in board order out of a set that is not empty.
  void toridasu(int& c, int& r) {
    int i;
    if (lo != 0) {
      i = __builtin_ctzll(lo);
      lo &= lo - 1;
    } else {
      i = 64 + __builtin_ctzll(hi);
      hi &= hi - 1;
    }
    c = i / 9 + 1;
    r = i % 9 + 1;
  }
};

// The squares idou_kanou accepts for a board move of `code` from (c, r) (on the board):
// the same answer for each of the 81 targets, found by walking the piece's steps and rays.
Masume ikisaki(const Kyokumen& p, int c, int r, int code);

// Does a piece of the lower side (sita) or of the upper side reach (c, r)? The same as
// kiki_sita[c][r] > 0 or kiki_ue[c][r] > 0 of the maps (a ray runs on through the other
// side's king there too), found by looking outward from the square without drawing them.
// A square off the board is reached by nothing.
bool kiki_ari(const int (&ban)[10][10], bool sita, int c, int r);

}  // namespace mirado
