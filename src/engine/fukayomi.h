// LEVEL5: a computer that reads several whole turns ahead (fukayomi).
//
// Iterative deepening over whole turns (our three moves, the opponent's three, ...) with
// alpha-beta at the level of single moves: the three moves of a turn belong to one side,
// so the window passes unchanged from move to move and turns round only between turns.
// A transposition table keyed by the position and the move of the turn (with the squares
// the third move's limits depend on) lets different orders of the same moves meet. Moves
// are tried in the order: the table's move, captures (dearest victim first), history of
// cut-offs, then the design's own scores. The best turn of an unfinished iteration is kept
// once one of its turns is fully read. At the end of the last turn read, a quiet search
// of the captures the opponent can make at once refines its static assessment, LEVEL5's
// own, fitted to the results of its games (keisei5, engine/keisei.h).
//
// It plays by exactly LEVEL4's rules (the same candidates, limits and legality, from
// engine/yomi_kihon.h); like LEVEL4 it follows only the best ordered few of the first and
// second moves of each turn, a few more in its own. A mate within its own turn is looked
// for first, whatever the budget of nodes, within half a budget of time. Under a budget of nodes the answer is the same every time, with
// the table cleared or not and whatever its size, as long as the table is not filled: a
// full table keeps what it has and takes nothing new. Every buffer belongs to the object;
// the search allocates nothing.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/yomi.h"

namespace mirado {

// The table's slots, as a power of two.
constexpr int FUKAYOMI_TT_BITS = 18;
// Whole turns read at most.
constexpr int FUKAYOMI_MAX_TURNS = 12;

class Fukayomi {
 public:
  explicit Fukayomi(int tt_bits = FUKAYOMI_TT_BITS);
  ~Fukayomi();
  Fukayomi(const Fukayomi&) = delete;
  Fukayomi& operator=(const Fukayomi&) = delete;

  // As Yomi::sagasu. `rounds` and `depth` of the result give the whole turns of the
  // deepest finished iteration; nodes counts the moves made and the positions judged.
  YomiKekka sagasu(const Kyokumen& p, const YomiSettei& settei, int dankai = 1, int ichite_x = 0,
                   int ichite_y = 0, int nite_x = 0, int nite_y = 0);

  // The value for the upper side of a whole turn it has played, which left p (the lower
  // side moves next): the opponent's best answer read `turns` whole turns deep as sagasu
  // reads, within the budget; with 0 turns, the quiet search of the opponent's captures.
  int atai(const Kyokumen& p, const YomiSettei& settei, int turns);

  // Forgets every entry of the table.
  void tt_clear();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace mirado
