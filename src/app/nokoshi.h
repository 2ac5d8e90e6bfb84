// A game in progress kept when the window closes (taikyoku/chuudan.h writes and reads
// "中断.棋譜"): keeping it, telling the player it was or could not be, asking before a game
// that cannot be kept is lost, and reading the kept game back for 続きから. A command that
// would drop a game in progress keeps it here first.
#pragma once

#include <string>

#include "app/irai.h"
#include "taikyoku/chuudan.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class Nokoshi {
 public:
  // The window that tells and asks, the game kept, and why the player's data folder
  // cannot be used (empty: it can; the window object owns it).
  Nokoshi(const Madoguchi& w, const Taikyoku& t, const std::string& hozon_fuka)
      : w_(w), t_(t), hozon_fuka_(hozon_fuka) {}
  Nokoshi(const Nokoshi&) = delete;
  Nokoshi& operator=(const Nokoshi&) = delete;

  // Is there a game in progress to keep, and a folder to keep it in?
  bool dekiru() const;
  // Quitting keeps a game in progress in "中断.棋譜": true when kept; false when there is
  // none, or with why in `naze` when it could not be kept.
  bool hozon(std::string& naze) const;
  // A command is about to drop the game in progress: it is kept first, and the status
  // line says so.
  void nokosu() const;
  // Play is about to go on from a position stepped back to, which cuts the record's
  // later moves: the game as played is kept first.
  void kiru_mae_ni_nokosu() const {
    if (t_.kifu().kifu_nagasa > t_.kifu().kifu_ichi) nokosu();
  }
  // Quitting could not keep the game: the player is told why and chooses (true: quit).
  bool owari_kakunin(const std::string& naze) const;
  // At start: the status line says a kept game waits.
  void shiraseru() const;
  // 続きから: the kept game read into `shiken` and how it is played on into `z`; false,
  // with the player told why, when there is none or it cannot be played on.
  bool yomu(Taikyoku& shiken, Tsuzuki& z) const;
  // The kept game taken up: its files go, or the status line says why they could not.
  void kesu() const;

 private:
  bool hozon_basho_ari() const { return hozon_fuka_.empty(); }

  Madoguchi w_;
  const Taikyoku& t_;
  const std::string& hozon_fuka_;
};

}  // namespace mirado
