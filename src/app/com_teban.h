// The computer's turn as the window shows it: com_ban1, com_ban2, com_ban3, each a chain
// of timed steps (the search beside the window, the blink, the move with its record
// entry, the pause, the sound, what came of it), the game deciding every move and its
// outcome; and what the status line and the clocks read of the turn (playing, which
// procedure, searching, the charge not yet booked).
#pragma once

#include <cstdint>
#include <functional>

#include "app/com_yomi.h"
#include "app/irai.h"
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

  // The computer's whole turn: com_ban1, com_ban2, com_ban3 in this order, each step
  // after the one before; the window answers every event meanwhile.
  void com_turn();
  // One procedure of the computer's turn, `tejun` naming which (the second moves one of
  // the person's pieces), as the turn plays it; the turn goes no further.
  void com_ban(Dankai tejun);
  // The window is closing: the turn is given up, the search stopped, the steps to come
  // dropped; a move already played keeps its charge. The turn is played again when the
  // game is resumed.
  void yameru();
  // The player stayed after all: a turn given up goes on from the procedure it had reached.
  void tsuzukeru();

  // The look-ahead, shared with the hint.
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
  // The steps of one procedure, in their order.
  void hajime(Dankai tejun);
  void sagasu(Dankai tejun);
  void kimatta(Dankai tejun, const Sashite& m);
  void sasu(Dankai tejun, const Sashite& m);
  void sasu_ato(Dankai tejun, const Sashite& m);
  void owari(Dankai tejun, const Sashite& m, double jikan);
  void turn_owari();

  // `tsugi` once `seconds` of the computer's display have passed (as COMの手の表示 lets
  // them be), unless the turn was given up meanwhile.
  void matsu(double seconds, std::function<void()> tsugi);
  std::function<void()> tsuzukeba(std::function<void()> tsugi);
  void tenmetsu(const Sashite& m, int count, std::function<void()> tsugi);
  void shikouchu_egaku();
  bool kessaku_miseru(const ComKekka& r);

  Madoguchi w_;
  Taikyoku& t_;
  ComYomi yomi_;
  Sashite keikaku_[4];  // LEVEL4's moves by procedure
  bool chuudan_ = false;
  bool shikouchu_ = false;
  bool ippon_ = false;   // one procedure alone is played
  int tejun_ = 0;
  bool kangae_chu_ = false;
  double mikomi_ = 0;
  double jikan_ = 0;       // the charge of the move on show
  bool mi_owari_ = false;  // its move is played but its procedure not yet closed
  int tsugi_ = 1;          // the procedure a turn given up goes on from (4: none left)
  std::uint64_t sedai_ = 0;  // steps of a turn given up find it changed and do nothing
};

}  // namespace mirado
