// The requests (irai) the rooms make of the window object beyond the board view: a sound,
// the players' icons, the record panel closed, a step back shown, the computer's turn,
// a record read made the game, and everything brought up to date after an event; and the counter (Madoguchi) through
// which a room reaches the window: those requests, the board view, the switches, the
// options and the ports. The window object answers; the rooms reach nothing else of it.
#pragma once

#include <string_view>

#include "app/ports.h"
#include "kifu/kifu.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class BanGamen;
struct KifuFile;
class Kirikae;
class Settei;

class Irai {
 public:
  virtual ~Irai() = default;

  virtual void snd_play(Oto which) = 0;
  virtual void aicon_ichi(std::string_view position, Gawa side) = 0;  // "上" or "下"
  virtual void panel_tojiru() = 0;
  // What a step back over entry `e` shows, once the game has taken it back.
  virtual void modoshi_egaku(const KifuEntry& e) = 0;
  virtual void com_turn() = 0;  // com_ban1, com_ban2, com_ban3 in this order
  // A record file read and checked becomes the game, to be stepped through.
  virtual void kifu_settei(const KifuFile& f) = 0;
  virtual void ibento_owari() = 0;
};

// All a room of the window reaches of it: the window object's procedures, the board view,
// the window's switches, the options (read) and the ports.
struct Madoguchi {
  Irai& irai;
  BanGamen& gamen;
  Kirikae& kirikae;
  const Settei& settei;
  const Ports& ports;
};

}  // namespace mirado
