// Making a move on the position and taking it back exactly: a board move or a drop,
// promotion, the captured piece into the capturer's hand, the king squares, the
// pawn-file flags and which board the maps describe. Plain data in and out, nothing allocated: the computer's searches
// make and unmake moves with it as often as play, record stepping and perft do.
#pragma once

#include <cstdint>

#include "rules/kyokumen.h"

namespace mirado {

// One move, as every layer holds it. A drop names its hand by the source column (TE_SITA
// or TE_UE) and the piece by its hand slot 1..7 in fr, whichever hand it is.
struct Te {
  int fc = 0, fr = 0;  // source square, or hand and slot
  int tc = 0, tr = 0;  // target square
  int koma = 0;        // code standing on the target afterwards (promoted if it promotes)
};

// The move as the other side sees it on the turned board (kaiten): squares turned round,
// the code of the other side, a drop from the same slot of the other hand.
constexpr Te te_kaiten(const Te& te) {
  const bool uchi = te.fc == TE_SITA || te.fc == TE_UE;
  const int fc = te.fc == TE_SITA ? TE_UE : te.fc == TE_UE ? TE_SITA : 10 - te.fc;
  return Te{fc, uchi ? te.fr : 10 - te.fr, 10 - te.tc, 10 - te.tr, -te.koma};
}

// What a move changed, to take it back.
struct TeModoshi {
  Te te;
  int moto_koma = 0;  // code that stood on the source (the dropped piece for a drop)
  int torareru = 0;   // code that stood on the target: the captured piece, or empty
  int ou_x = 0, ou_y = 0;  // the square the moving king left (when a king moved)
  std::uint64_t ban_no = 0;  // the number of the board before the move (0: not known)
};

// Plays the move and keeps the position's derived state. A captured piece goes into the
// capturer's hand by its base kind and raises the capturer's total; a captured king raises
// only the total (the game ends on it, and the hands stay countable). A drop leaves the hand of its column: the total
// always, the slot when fr names one. Returns what undo_move needs.
TeModoshi do_move(Kyokumen& p, const Te& te);

// Takes the move back: board, hands, totals, king squares and flags as they were, and the
// maps drawn before the move still good when nothing drew others since. A TeModoshi put
// together from a record entry restores as much, only the maps being drawn anew.
void undo_move(Kyokumen& p, const TeModoshi& m);

constexpr bool is_uchi(int fc) { return fc == TE_SITA || fc == TE_UE; }

// A move's source row on the window grid, and back. Board rows are the same; a hand shows
// slot k as a cell of its column (see TE_SITA and TE_UE). The window's presses and
// drawing and the record file, which keeps the cell's row, convert with these and
// nowhere else.
constexpr int moto_gyou(int fc, int fr) {
  return fc == TE_SITA ? fr + 2 : fc == TE_UE ? 8 - fr : fr;
}
constexpr int moto_fr(int fc, int gyou) {
  return fc == TE_SITA ? gyou - 2 : fc == TE_UE ? 8 - gyou : gyou;
}

}  // namespace mirado
