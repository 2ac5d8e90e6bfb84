// The person's input: the piece selected between the two presses of a move, and the one
// procedure that turns a press into a selection or a move in each phase of the turn.
#pragma once

#include "app/ban_gamen.h"
#include "app/mado_joutai.h"
#include "app/mado_tetsuzuki.h"
#include "app/ports.h"
#include "app/settei.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class Nyuuryoku {
 public:
  // The first press of a move, kept until the second; one per phase of the turn.
  struct Sentaku {
    int moto_x = 0, moto_y = 0, saki_x = 0, saki_y = 0, koma = 0;
  };

  // The window: its procedures it calls (sounds, icons, the panel, the computer's turn),
  // the board view that shows the selection and the move, its timer, the options; and
  // the game that decides the move.
  Nyuuryoku(const Madoguchi& w, Taikyoku& t)
      : tetsuzuki_(w.tetsuzuki), gamen_(w.gamen), mado_(w.mado), settei_(w.settei), t_(t),
        ports_(w.ports) {}
  Nyuuryoku(const Nyuuryoku&) = delete;
  Nyuuryoku& operator=(const Nyuuryoku&) = delete;

  int click_jotai() const { return click_jotai_; }  // 1: a piece is selected
  const Sentaku& sentaku(Dankai d) const { return sentaku_[static_cast<int>(d)]; }

  // koma_sentaku1, koma_sentaku2, koma_sentaku3: a press on cell (col, row) in phase `d`
  // of the turn, the three alike but for which pieces the phase may move.
  void koma_sentaku(Dankai d, int button, int col, int row);
  // The selection let go without a move (a step through the record, a flip, a new game):
  // the piece it held may be gone or elsewhere.
  void hanasu();

 private:
  void sentaku_kesu(const Sentaku& s);
  void erabu(Sentaku& s, int c, int r);
  void ban_wo_osu(Dankai d, int c, int r);
  void soto_wo_osu(Dankai d, int c, int r);
  void saki_wo_osu(Dankai d, int button, int c, int r);
  void sasu(Dankai d, Sentaku& s, int button);
  bool naru_ka_kiku(Dankai d, const Sentaku& s);
  void sashita_egaku(Dankai d, Sentaku& s, const Sashita& r, int tesuu);
  void torikeshi_egaku(Dankai d, const Sashita& r, bool timer);
  void sashita_ato(Dankai d, const Sentaku& s, const Sashita& r, bool nushi_sita);
  void te_hyouji(const Sentaku& s, int koma);
  void shouri(Gawa winner);

  MadoTetsuzuki& tetsuzuki_;
  BanGamen& gamen_;
  MadoJoutai& mado_;
  const Settei& settei_;
  Taikyoku& t_;
  const Ports& ports_;
  int click_jotai_ = 0;
  Sentaku sentaku_[4];  // [1..3] by phase
};

}  // namespace mirado
