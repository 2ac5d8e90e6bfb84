// The state of one game, without a window: the position and its maps, the record, the
// sides and who holds the turn, the phase of the turn, the clocks, the handicap and the
// flip and replay flags. Plain data that can be copied and tested on its own; the
// window object (app/game.h) is built on it and adds only what it shows.
#pragma once

#include <string>
#include <vector>

#include "engine/tansaku.h"
#include "engine/yomi.h"
#include "kifu/kifu.h"
#include "rules/kiki.h"
#include "rules/kyokumen.h"
#include "rules/ugoki.h"

namespace mirado {

struct Taikyoku {
  Kyokumen pos;  // board, hands, hand totals, king squares, pawn-file flags
  Kiki kiki;     // influence maps
  Kifu kifu;     // the record of this game

  // Side values: 1 and -1 name the two armies; which of them plays the lower pieces and
  // which moved first changes with the kind of game.
  int teban = 0;        // whose move it is (0 before a game)
  int teban_nushi = 0;  // who holds the turn of three moves
  int sente_gawa = 1, gote_gawa = -1;
  int sita_gawa = -1, ue_gawa = 1;
  TaikyokuShu taikyoku_shu = TaikyokuShu::ningen;
  int shuukyoku = 0;  // 0 while the game goes on, else the winner's side value
  int tesuu = 0;      // moves played
  int dankai = 1;     // which of the turn's three moves comes next
  int level = 3;      // the computer's level
  bool saisei_chu = false;    // a loaded record is being stepped through
  bool saikai_machi = false;  // stepped back: play resumes from here
  bool te_tochuu = false;     // in the middle of a turn
  bool oute_mae = false;      // the holder's king was in check before the third move
  int ichite_x = 0, ichite_y = 0;  // where the turn's first move went
  int nite_x = 0, nite_y = 0;      // where the turn's second move went
  double jikan_kaishi = 0;         // the clock when the current charge began
  double jikan_ima = 0;            // seconds of the current charge
  double jikan_sita = 0, jikan_ue = 0;  // each side's total
  int handicap = 0;
  bool handicap_zumi = false;
  bool hanten_zumi = false;

  // Taking a king ends the game: the side that lost it is beaten.
  void ou_tori(int torareru);

  // A new game on the even position. The record keeps its length, so that it can be
  // stepped through again, unless the board was turned or handicapped.
  void shinki();
  // A loaded record, to be stepped through from the start with the sides of the game that
  // made it (the upper pieces moved first after GOTE).
  void kifu_yomikomi(const std::vector<KifuEntry>& entries);
  // One record entry forward: the move made, the clocks as the entry has them, the turn
  // passed on, a captured king ending the game. When the entry does not fit the position
  // nothing changes and the reason is returned; empty when it was played. Only while
  // kifu.kifu_ichi < kifu.kifu_nagasa.
  std::string kifu_susumu();
  // One entry back (kifu.kifu_ichi >= 1): board, hands, clocks, turn and counters as
  // before it.
  void kifu_modosu();
  // Takes back the move just made and recorded, exactly, with the clocks, turn and
  // counters of its record entry.
  void te_torikesu(const TeModoshi& m);

 private:
  void modoshita(const KifuEntry& e);
};

// Steps a loaded record through from the starting position on a scratch game: empty when
// every entry can be played (up to a captured king), else the message that stepping would
// give at the first one that cannot.
std::string kifu_sasenai(const std::vector<KifuEntry>& entries);

// A game at position `p` against the computer at `level`, with the sides of a SENTE game
// (the person plays the lower pieces and moved first) and the maps drawn up.
Taikyoku sente_taikyoku(const Kyokumen& p, int level);

// One procedure of the computer's turn on the game: the move searched and made on its
// position (com_te), the turn's first or second square noted, a captured king ending
// the game. The window's com_ban1..3 show what it did. `keikaku`, when given, holds the
// moves LEVEL4's look-ahead chose for procedures 1..3.
ComTe com_ban(Taikyoku& t, Tejun tejun, const ComHooks& hooks = {}, KouhoKiroku* kiroku = nullptr,
              const Sashite* keikaku = nullptr);

// The computer's whole turn on a game without a window (mirado-cli think, the benchmarks,
// tests): com_ban for procedures 1, 2 and 3 in order, or only the one named, stopping once
// the game is over. A mate of the lower king after an upper move ends the game, as the
// window's procedures announce it.
struct ComTurn {
  ComTe te[4];                  // [1..3] by procedure; te[i].te.ari when a move was made
  bool ran[4] = {};             // the procedure ran (the game was not over at its start)
  KouhoKiroku* kiroku[4] = {};  // optional trial lists by procedure
  bool tsumi_ue = false;        // com_ban2 found the upper king mated: a message only
  // LEVEL4: the moves its look-ahead chose, by procedure; the others search as the
  // design's computer does.
  Sashite keikaku[4] = {};

  void run(Taikyoku& t, int only = 0);
};

// LEVEL4's whole turn on a game without a window: the look-ahead chooses the moves from
// the procedure `only` (or the first) on, then the procedures play them as any computer
// turn. Returns what the look-ahead found.
YomiKekka com_turn_yomi(ComTurn& turn, Taikyoku& t, Yomi& yomi, const YomiSettei& settei, int only = 0);

}  // namespace mirado
