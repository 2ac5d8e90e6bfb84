// Steps shared by the move procedures of the three phases of a turn. Internal to play/.
#pragma once

#include "app/game.h"

namespace mirado::play {

// Whose pieces a phase works with: the holder moves its own pieces in phases 1 and 3 and
// the opponent's in phase 2. Which branch a holder takes depends on the pieces it plays,
// never on whether it moved first, so sides swapped by a loaded record stay right.
struct Dankai {
  int phase;         // 1..3
  bool nushi_sita;   // the holder plays the lower pieces
  bool ugoki_sita;   // this phase moves lower pieces
};

Dankai dankai_of(const Game& g, int phase);

// May this phase select the piece? (Empty squares never.)
bool ugokaseru(const Dankai& d, int code);

// Is the king of the lower (sita) or the upper pieces attacked? Reads the maps as they stand.
bool ou_oute(const Game& g, bool sita);

// What a refused move must give back beyond what the record's step back restores.
struct Modoshi {
  bool te_tochuu;
  bool saikai_machi;
  int shuukyoku;
  bool timer1;
  int kifu_nagasa;
  KifuEntry uwagaki;  // the entry the move's record overwrites (a line stepped back over)
};

Modoshi modoshi_toru(const Game& g);

// Takes back the move just made, as if it had never been made.
void torikesu(Game& g, const Modoshi& m);

// After a completed move: charge its time, end the game if one side is beaten, else hand
// the next move over. Returns false when the game ended.
bool te_owari(Game& g, const Dankai& d, int captured);

}  // namespace mirado::play
