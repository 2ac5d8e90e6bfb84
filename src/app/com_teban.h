// The computer's turn as the window plays it: com_ban1, com_ban2, com_ban3 (one
// procedure, com_ban, with the procedure as a parameter), LEVEL4's plan for the turn
// from the look-ahead it holds, and what the status line and the clocks read of the
// turn (playing, which procedure, searching, the charge not yet booked).
#pragma once

#include <cstdint>

#include "app/com_yomi.h"
#include "app/mado_tetsuzuki.h"
#include "app/ports.h"
#include "engine/yomi.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class ComTeban {
 public:
  // The window that shows the turn (its procedures, board view, switches, options and
  // ports), and the game it is played on.
  ComTeban(const Madoguchi& w, Taikyoku& t);
  ComTeban(const ComTeban&) = delete;
  ComTeban& operator=(const ComTeban&) = delete;

  // The computer's whole turn: com_ban1, com_ban2, com_ban3 in this order.
  void com_turn();
  // One procedure of the computer's turn, `tejun` naming which; the second moves one of
  // the person's pieces.
  void com_ban(Dankai tejun);
  // LEVEL4: com_ban1 plans the whole turn with the look-ahead, and each procedure plays
  // its move of the plan (one with no legal move searches as the design's computer does).
  void com_yomi();
  void tenmetsu(int koma, int col, int row, int count);

  // The look-ahead, shared with the hint and the analysis' fixed budget.
  ComYomi& yomi() { return yomi_; }
  const ComYomi& yomi() const { return yomi_; }

  bool chuudan() const { return chuudan_; }      // the window closed: the turn was given up
  bool shikouchu() const { return shikouchu_; }  // the computer's turn is being played
  int tejun() const { return tejun_; }           // which of its three procedures
  bool kangae_chu() const { return kangae_chu_; }  // the computer searches: its clock runs
  double mikomi() const { return mikomi_; }  // its charge for its move, not yet booked
  // The computer's clock as shown: searching, and its charge so far.
  void tokei(bool kangae_chu, double mikomi) {
    kangae_chu_ = kangae_chu;
    mikomi_ = mikomi;
  }
  void tejun_hyouji(int tejun) { tejun_ = tejun; }

 private:
  void shikouchu_egaku();
  bool sita_kessaku(const ComTe& r);

  Madoguchi w_;
  Taikyoku& t_;
  ComYomi yomi_;
  Sashite yomi_te_[4];  // the planned moves by procedure
  bool chuudan_ = false;
  bool shikouchu_ = false;
  int tejun_ = 0;
  bool kangae_chu_ = false;
  double mikomi_ = 0;
};

}  // namespace mirado
