// The one-move search of each of the computer's three procedures,
// free of the game object and of drawing: it takes the position, the influence maps,
// the level and the turn's first and second destinations, and returns the chosen move,
// optionally with every scored trial in the order it was scored.
//
// Trial moves are made with do_move and taken back with undo_move, like every other
// move; the scores still weigh the hands the search began with. The search allocates
// nothing, calls nothing virtual and calls nothing back.
#pragma once

#include "engine/hyouka.h"
#include "rules/kiki.h"
#include "rules/kotowari.h"
#include "rules/kyokumen.h"
#include "rules/santeme.h"
#include "rules/ugoki.h"

namespace mirado {

// The chosen move.
struct Sashite {
  bool ari = false;   // false: no candidate at all (no move is made)
  Te te;
  int moto_koma = 0;  // code before the move
  int score = 0;      // tenths
};

// One scored trial.
struct Kouho {
  Te te;
  int score;  // tenths
};

// A caller-owned buffer for the trials; when full, further trials are counted but not kept.
struct KouhoKiroku {
  Kouho* buf = nullptr;
  int cap = 0;
  int n = 0;        // trials kept
  int total = 0;    // trials scored
  void add(const Te& te, int score) {
    if (n < cap) buf[n++] = Kouho{te, score};
    ++total;
  }
};

// Upper bound of the trials one procedure can score: 40 pieces of one side can make at
// most a few hundred moves, each at most twice, and drops at most 7 x 81.
constexpr int KOUHO_MAX = 4096;

class Tansaku {
 public:
  explicit Tansaku(Kyokumen& p) : p_(p) {}

  int level = 3;
  Dankai tejun = Dankai::ichi;
  Santeme santeme;  // com_ban3: where the pieces moved by com_ban1 and com_ban2 stand
  KouhoKiroku* kiroku = nullptr;   // every scored trial, when set

  // Sets the search up: the copies of board and hands,
  // the escape-square baseline and the maps before any trial.
  void junbi();
  // Every board move and drop scored, the best one returned. The position is as it was.
  Sashite sagasu();

  const HyoukaJoutai& joutai() const { return s_; }

 private:
  // Does this procedure keep the third move's limits? Only com_ban3 plays a third move, and
  // these levels let no one off the limits.
  bool santeme_ari() const {
    return tejun == Dankai::san && santeme_seigen_ari(SantemeMenjo::nashi, 0, false);
  }
  // Ue: the upper side's procedures; otherwise com_ban2.
  template <bool Ue>
  Sashite sagasu_impl();
  template <bool Ue>
  bool ban_sagasu(Sashite& best);
  template <bool Ue>
  bool koma_no_te(int sc, int sr, Sashite& best);
  template <bool Ue>
  int ban_no_te(int sc, int sr, int tc, int tr, int piece, int& kekka);
  template <bool Ue>
  void uchi_sagasu(Sashite& best);
  template <bool Ue>
  int shikou(const Te& te, int fr);

  Kyokumen& p_;
  HyoukaJoutai s_;
};

// What the computer's procedures read of the game besides the position.
struct ComSettei {
  int level = 3;  // 4: the moves come from keikaku, the design's level 3 fills any gap
  Santeme santeme;  // com_ban3 leaves the piece moved first and does not take the second
  // Moves chosen beforehand by procedure (LEVEL4's look-ahead); a procedure without one
  // searches as the design's computer does.
  Sashite keikaku[4] = {};
};

// The whole search of one procedure: junbi, then sagasu.
Sashite tansaku(Kyokumen& p, int level, Dankai tejun, int ichite_x = 0, int ichite_y = 0,
                int nite_x = 0, int nite_y = 0, KouhoKiroku* kiroku = nullptr);

// What one procedure did.
struct ComTe {
  Sashite te;              // te.ari false: no candidate, nothing was moved
  int torareru = 0;        // the code the move captured
  bool sita_tsumi = false;  // after com_ban1 or com_ban3: the lower king is mated
  bool ue_tsumi = false;    // after com_ban2: the upper king is mated
};

// One procedure of the computer's turn, decided: the move LEVEL4 planned, else the search's
// (te.ari false: no candidate). The position is as it was; nothing is called back, so it
// may run beside the window on a copy of the game's position.
Sashite com_erabu(Kyokumen& p, const ComSettei& s, Dankai tejun, KouhoKiroku* kiroku = nullptr);
// The chosen move made on the position and the mate test of the side the move threatens:
// the one way the computer moves. The game, mirado-cli think and the benchmarks all use it.
ComTe com_sasu(Kyokumen& p, const Sashite& m, Dankai tejun);

// Makes a chosen move with do_move. Returns the code that stood on the target.
int sashite_ugokasu(Kyokumen& p, const Sashite& m);

// A move as the other side sees it on the turned board (kaiten): squares turned round,
// codes of the other side, a drop from the same slot of the other hand.
Sashite sashite_kaiten(const Sashite& m);

}  // namespace mirado
