// The one-move search of each of the computer's three procedures,
// free of the game object and of drawing: it takes the position, the influence maps,
// the level and the turn's first and second destinations, and returns the chosen move,
// optionally with every scored trial in the order it was scored.
//
// Trial moves are made on the board itself and undone; the search allocates nothing and
// calls nothing virtual. The only call out is the optional tick, once per source column
// and once per hand kind (the Timer1 tick of the window).
#pragma once

#include "engine/hyouka.h"
#include "engine/kiki.h"
#include "model/kyokumen.h"

namespace mirado {

// Which procedure: 1 = com_ban1 (an upper piece, highest score), 2 = com_ban2 (a lower
// piece, lowest score), 3 = com_ban3 (an upper piece again, with its restrictions).
enum class Tejun : int { ichi = 1, ni = 2, san = 3 };

// The chosen move. fc = -1 (upper hand, fr = hand index 1..7) or 11 (lower hand,
// fr = hand row 3..9) for a drop.
struct Sashite {
  bool ari = false;   // false: no candidate at all (no move is made)
  int fc = 0, fr = 0, tc = 0, tr = 0;
  int moto_koma = 0;  // code before the move
  int koma = 0;       // code standing on the target after the move
  int score = 0;      // tenths
};

// One scored trial.
struct Kouho {
  int fc, fr, tc, tr;
  int koma;   // code on the target in that trial
  int score;  // tenths
};

// A caller-owned buffer for the trials; when full, further trials are counted but not kept.
struct KouhoKiroku {
  Kouho* buf = nullptr;
  int cap = 0;
  int n = 0;        // trials kept
  int total = 0;    // trials scored
  void add(int fc, int fr, int tc, int tr, int koma, int score) {
    if (n < cap) buf[n++] = Kouho{fc, fr, tc, tr, koma, score};
    ++total;
  }
};

// Upper bound of the trials one procedure can score: 40 pieces of one side can make at
// most a few hundred moves, each at most twice, and drops at most 7 x 81.
constexpr int KOUHO_MAX = 4096;

class Tansaku {
 public:
  Tansaku(Kyokumen& p, Kiki& k) : p_(p), k_(k) {}

  int level = 3;
  Tejun tejun = Tejun::ichi;
  int ichite_x = 0, ichite_y = 0;  // com_ban3: the piece moved by com_ban1 stands here
  int nite_x = 0, nite_y = 0;      // com_ban3: the piece moved by com_ban2 stands here
  void (*tick)(void*) = nullptr;   // Timer1 tick, once per source column and per hand kind
  void* tick_ctx = nullptr;
  KouhoKiroku* kiroku = nullptr;   // every scored trial, when set

  // Step 5 without the repaint: the copies, the pawn-file flags, the maps, the
  // escape-square baseline and the pre-search maps.
  void junbi();
  // Steps 6 and 7: every candidate scored, the best one returned. The board, hands and
  // flags are as they were; the maps describe the board again.
  Sashite sagasu();

  const HyoukaJoutai& joutai() const { return s_; }

 private:
  template <bool Ue>
  Sashite sagasu_impl();

  Kyokumen& p_;
  Kiki& k_;
  HyoukaJoutai s_;
  int ou_ue_x_ = 0, ou_ue_y_ = 0;  // the upper king's square noted before the search
  int ou_sita_x_ = 0, ou_sita_y_ = 0;
};

// The whole search of one procedure: junbi, then sagasu.
Sashite tansaku(Kyokumen& p, Kiki& k, int level, Tejun tejun, int ichite_x = 0, int ichite_y = 0,
                int nite_x = 0, int nite_y = 0, KouhoKiroku* kiroku = nullptr);

// Applies a chosen move to the board and hands as te_ugokasu does, without
// drawing: a captured piece goes into the capturer's hand by its base kind (a king only
// raises the hand total), and the lower king's square follows it. Returns the code that
// stood on the target.
int sashite_ugokasu(Kyokumen& p, Kiki& k, const Sashite& m);

// A move as the other side sees it on the turned board (kaiten): squares turned round,
// codes of the other side, a drop from the other hand (upper drops name the hand index,
// lower drops the hand row).
Sashite sashite_kaiten(const Sashite& m);

// The computer's whole turn, compute only (no drawing, no waits, no clock): com_ban1,
// com_ban2, com_ban3 in this order, each applying its move and testing the outcome as
// the game does. Used by mirado-cli think, the benchmark and the tests.
struct ComTurn {
  int level = 3;  // 4: the moves come from the plan below, the design's level 3 fills gaps
  // Moves chosen beforehand by procedure (LEVEL4's look-ahead); a procedure without one
  // searches as the design's computer does.
  Sashite keikaku[4];
  int ichite_x = 0, ichite_y = 0, nite_x = 0, nite_y = 0;
  int ue_gawa = -1, sita_gawa = 1;  // side values (those of a SENTE game by default)
  int shuukyoku = 0;                // 0, or the winner's side value
  Sashite te[4];                    // [1..3] by procedure; te[i].ari when a move was made
  bool ran[4] = {};                 // the procedure ran (the game was not over at its start)
  KouhoKiroku* kiroku[4] = {};      // optional trial lists by procedure
  int tsumi_ue_msg = nashi;         // com_ban2 found the upper king mated ("よし！!")

  // only = 0 runs all three; 1, 2 or 3 runs that procedure alone.
  void run(Kyokumen& p, Kiki& k, int only = 0);
};

}  // namespace mirado
