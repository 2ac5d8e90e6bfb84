// The person's input: the piece selected between the two presses of a move, and the one
// procedure that turns a press into a selection or a move in each phase of the turn.
#pragma once

#include "app/ban_gamen.h"
#include "app/kirikae.h"
#include "app/irai.h"
#include "app/ports.h"
#include "app/settei.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class Nyuuryoku {
 public:
  // The window: its procedures it calls (sounds, icons, the panel, the computer's turn),
  // the board view that shows the selection and the move, its timer, the options; and
  // the game that decides the move.
  Nyuuryoku(const Madoguchi& w, Taikyoku& t)
      : irai_(w.irai), gamen_(w.gamen), kirikae_(w.kirikae), settei_(w.settei), t_(t),
        ports_(w.ports) {}
  Nyuuryoku(const Nyuuryoku&) = delete;
  Nyuuryoku& operator=(const Nyuuryoku&) = delete;

  int click_jotai() const { return click_jotai_; }  // 1: a piece is selected
  // The first press of a move, kept until the second: the piece taken up (koma) and
  // where from, and the target once pressed.
  const Te& sentaku(Dankai d) const { return sentaku_[static_cast<int>(d)]; }

  // koma_sentaku1, koma_sentaku2, koma_sentaku3: a press on cell (col, row) in phase `d`
  // of the turn, the three alike but for which pieces the phase may move.
  void koma_sentaku(Dankai d, int button, int col, int row);
  // The selection let go without a move (a step through the record, a flip, a new game):
  // the piece it held may be gone or elsewhere.
  void hanasu();

 private:
  // A frame on the source cell of a selection; a hand's slot is shown on its row.
  void moto_waku(int iro, const Te& s);
  void sentaku_kesu(const Te& s);
  void erabu(Te& s, int c, int r);
  void ban_wo_osu(Dankai d, int c, int r);
  void soto_wo_osu(Dankai d, int c, int r);
  void saki_wo_osu(Dankai d, int button, int c, int r);
  void sasu(Dankai d, Te& s, int button);
  bool naru_ka_kiku(Dankai d, const Te& s);
  void sashita_egaku(Dankai d, Te& s, const Sashita& r, int tesuu);
  void torikeshi_egaku(Dankai d, const Sashita& r, bool timer);
  void sashita_ato(Dankai d, const Te& s, const Sashita& r, bool nushi_sita);
  void te_hyouji(const Te& s, int koma);
  void shouri(Gawa winner);

  Irai& irai_;
  BanGamen& gamen_;
  Kirikae& kirikae_;
  const Settei& settei_;
  Taikyoku& t_;
  const Ports& ports_;
  int click_jotai_ = 0;
  Te sentaku_[4];  // [1..3] by phase
};

}  // namespace mirado
