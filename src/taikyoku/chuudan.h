// A game in progress outlives quitting: it is kept in "中断.棋譜" in the current folder (the
// player's data folder), an ordinary record whose header says how to play it on, beside
// "中断.時計" with the clocks as they were shown; 続きから takes it up again. The window
// (app/nokoshi.h) only tells and asks.
#pragma once

#include <optional>
#include <string>

#include "taikyoku/taikyoku.h"

namespace mirado {

struct KifuFile;

inline constexpr const char* CHUUDAN_KIFU = "中断.棋譜";

// How a kept game is played on, from its header.
struct Tsuzuki {
  TaikyokuShu shu = TaikyokuShu::ningen;
  int level = 3;
  int handicap = 0;
};

// The header of a kept game, or nothing for any other record: the one reader of the
// handicap a record's title names.
std::optional<Tsuzuki> chuudan_midashi(const KifuFile& f);

// The handicap the record's game started from: a kept game's, else 0.
int kifu_handicap(const KifuFile& f);

// Is `t` a game being played that can be kept: not one over, not a record stepped through,
// not one on a turned board (whose start no record can hold), with a move to keep.
bool nokoseru(const Taikyoku& t);

// Keeps `t`: stepped back, to the end of its record with the clocks of that end; else as
// it stands, with the clocks shown (`sita`, `ue`: each side's, the unfinished charge in
// them). True when kept; false when there is nothing to keep, or with why in `naze` when
// it could not be kept (the clocks of a game kept before are then removed: that game is
// no longer the last one left).
bool chuudan_kaku(const Taikyoku& t, double sita, double ue, std::string& naze);

// Is the kept record the last game left in this folder, as far as can be known? Not when
// its clocks file does not match it (a later quit could not keep its game and said so),
// nor in a folder nothing can be written to (a later quit could not have kept one).
bool saigo_no_chuudan();

// Sets `t` up as the kept game was, stepped to its end with its clocks as shown, and its
// header into `z`. Empty when it plays on, else why not; `t` is then unspecified.
std::string chuudan_yomu(Taikyoku& t, Tsuzuki& z);

// A kept game once resumed is this game: it is removed, and never offered again as one
// left by quitting. Empty, or why the record could not be removed (its clocks are gone
// all the same, so it is offered only as an older game).
std::string chuudan_kesu();

}  // namespace mirado
