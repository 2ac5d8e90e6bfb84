// The position: board, both hands and the pawn-file flags, with the movement
// rules that read them. Plain data with fixed arrays; the rules run in the
// computer's innermost loops and never allocate.
#pragma once

#include "rules/koma.h"

namespace mirado {

struct Kyokumen {
  // Indexed [column][row], 1..9 used; column 1 is leftmost on screen, row 1 the top.
  int ban[10][10] = {};
  // Hand counts by slot 1..7 (pawn, lance, knight, silver, gold, bishop, rook); slot 0 unused.
  int mochigoma_sita[8] = {};
  int mochigoma_ue[8] = {};
  int mochigoma_su_sita = 0;
  int mochigoma_su_ue = 0;
  // 1 when the column holds an unpromoted pawn of that side (two-pawn rule); refreshed only
  // by fu_suji_keisan, which the callers run when the board may have changed.
  int fu_suji_sita[10] = {};
  int fu_suji_ue[10] = {};
  // The kings' squares, kept by do_move; a captured king keeps the square it was taken on.
  int ou_sita_x = 0, ou_sita_y = 0;
  int ou_ue_x = 0, ou_ue_y = 0;

  // Empties board and hands, then sets up the even starting position.
  void shoki_haichi();
  void kara_ni();

  // Movement test: may a piece with `code` go from (fc, fr) to (tc, tr) on this board?
  // fc = 11 or -1 is a drop from the lower or upper hand. Knows nothing of turns,
  // promotion or check.
  bool idou_kanou(int fc, int fr, int tc, int tr, int code) const;
  bool hisha_michi(int fc, int fr, int tc, int tr) const;
  bool kaku_michi(int fc, int fr, int tc, int tr) const;
  void fu_suji_keisan();
  // Finds the kings on the board after it was set up by hand; a missing king keeps its square.
  void ou_ichi_keisan();

  // Recounts both hand totals from the slots.
  void mochigoma_su_keisan();
};

// The position as the other side sees it: the board turned by 180 degrees, every piece
// handed to the other side, the hands and pawn-file flags swapped with it. Lets the
// procedures that only ever move the upper pieces play the lower side's turns.
Kyokumen kaiten(const Kyokumen& p);

// Promotion tests. narazu_kanou: may the piece stay unpromoted on to_row?
bool narazu_kanou(int to_row, int code);
// naru_kanou: may this move promote? On ari, nari_koma receives the promoted code
// (it is left untouched on nashi).
bool naru_kanou(int from_col, int from_row, int to_row, int code, int& nari_koma);

}  // namespace mirado
