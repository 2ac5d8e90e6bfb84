// The position: board, both hands and what follows from them (hand totals, pawn-file
// flags, king squares, influence maps), with the movement rules that read them. Plain
// data with fixed arrays; the rules run in the computer's innermost loops and never
// allocate.
//
// The derived state is the position's own: do_move and undo_move keep it, and the
// builders (kara_ni, shoki_haichi, parse_sfen, kaiten, oku, shiage) set it. Code that
// writes squares or hands itself finishes with shiage(); nothing else refreshes it.
#pragma once

#include <cstdint>
#include <string>

#include "rules/kiki.h"
#include "rules/koma.h"

namespace mirado {

struct Te;
struct TeModoshi;

struct Kyokumen {
  // Indexed [column][row], 1..9 used; column 1 is leftmost on screen, row 1 the top.
  int ban[10][10] = {};
  // Hand counts by slot 1..7 (pawn, lance, knight, silver, gold, bishop, rook); slot 0 unused.
  int mochigoma_sita[8] = {};
  int mochigoma_ue[8] = {};
  // The slots added up, and a captured king in its capturer's total (the game ends on it,
  // and the hands stay countable).
  int mochigoma_su_sita = 0;
  int mochigoma_su_ue = 0;
  // Does the column hold an unpromoted pawn of that side? (the two-pawn rule)
  bool fu_suji_sita[10] = {};
  bool fu_suji_ue[10] = {};
  // The kings' squares; a captured king keeps the square it was taken on.
  int ou_sita_x = 0, ou_sita_y = 0;
  int ou_ue_x = 0, ou_ue_y = 0;

  // Empties board and hands.
  void kara_ni();
  // Empties board and hands, then sets up the even starting position.
  void shoki_haichi();
  // Puts `code` (kara to clear) on a square of a position being set up.
  void oku(int c, int r, int code);
  // Finishes a position whose squares and hand slots were written directly: the totals
  // from the slots (a position set up so holds no captured king), the pawn files and the
  // kings' squares from the board (a missing king keeps its square), the maps to be drawn.
  void shiage();

  // The influence maps of the board as it stands, drawn on first reading after a change.
  // A reference stays true only until the board changes: a procedure that must read the
  // maps of an earlier board keeps a copy. Reading may draw them, so a thread reads its
  // own copy of a position, never one another thread reads too.
  const Kiki& kiki() const {
    if (kiki_no_ != ban_no_) {
      kiki_keisan(ban, kiki_);
      kiki_no_ = ban_no_;
    }
    return kiki_;
  }

  // Movement test: may a piece with `code` go from (fc, fr) to (tc, tr) on this board?
  // fc = 11 or -1 is a drop from the lower or upper hand. Knows nothing of turns,
  // promotion or check.
  bool idou_kanou(int fc, int fr, int tc, int tr, int code) const;
  bool hisha_michi(int fc, int fr, int tc, int tr) const;
  bool kaku_michi(int fc, int fr, int tc, int tr) const;

  // Does column c hold an unpromoted pawn of the lower side, of the upper side? Counted
  // from the board, not from the flags.
  struct FuSuji { bool sita, ue; };
  FuSuji fu_suji_kazoe(int c) const {
    FuSuji f{false, false};
    for (int r = 1; r <= 9; ++r) {
      if (ban[c][r] == -HU) f.sita = true;
      else if (ban[c][r] == HU) f.ue = true;
    }
    return f;
  }

 private:
  friend TeModoshi do_move(Kyokumen& p, const Te& te);
  friend void undo_move(Kyokumen& p, const TeModoshi& m);
  friend std::string kyokumen_fusei(const Kyokumen& p);
  friend Kyokumen kaiten(const Kyokumen& p);

  void fu_suji_keisan();       // every column
  // One column; a column off the board is left alone. Inline: every pawn move comes here.
  void fu_suji_keisan(int c) {
    if (c < 1 || c > 9) return;
    const FuSuji f = fu_suji_kazoe(c);
    fu_suji_sita[c] = f.sita;
    fu_suji_ue[c] = f.ue;
  }
  void fu_suji_naosu(const Te& te, int moto_koma, int torareru);
  void ou_ichi_keisan();

  // A new number for a changed board: the maps describe the board whose number they carry.
  void kawatta() { ban_no_ = ++ban_kazu_; }

  mutable Kiki kiki_{};
  mutable std::uint64_t kiki_no_ = 0;
  std::uint64_t ban_no_ = 1;
  std::uint64_t ban_kazu_ = 1;
};

// What is wrong with the position, or an empty text when it is sound: squares hold valid
// codes, no side has two kings, hands are never negative and add up to their totals (a
// captured king counting in its capturer's), and the pawn files, the kings' squares and
// maps already drawn describe the board.
std::string kyokumen_fusei(const Kyokumen& p);

// The position as the other side sees it: the board turned by 180 degrees, every piece
// handed to the other side, the hands and pawn-file flags swapped with it. Lets the
// procedures that only ever move the upper pieces play the lower side's turns.
Kyokumen kaiten(const Kyokumen& p);

// Promotion tests. narazu_kanou: may the piece stay unpromoted on to_row?
bool narazu_kanou(int to_row, int code);
// naru_kanou: may this move promote? When it may, nari_koma receives the promoted code
// (it is left untouched otherwise).
bool naru_kanou(int from_col, int from_row, int to_row, int code, int& nari_koma);

}  // namespace mirado
