// What both look-aheads (LEVEL4 and LEVEL5) share, so that they play by one set of rules:
// the candidates of each move of a turn, the test that a move leaves no king attacked
// that may not be, the game's verdict after a move, the third move's limits with their
// exemptions, and the positions' keys for the transposition tables.
//
// The look-aheads always play the upper pieces; the opponent's turn is read on the
// turned board (kaiten).
#pragma once

#include <chrono>
#include <cstdint>

#include "engine/tansaku.h"
#include "engine/yomi.h"
#include "rules/kyokumen.h"
#include "rules/ugoki.h"

namespace mirado {

// Worth of a piece standing on the board, by absolute code (whole points, a pawn is 100).
int koma_kachi(int a);

bool ue_ou_ari(const Kyokumen& p);
bool sita_ou_ari(const Kyokumen& p);
// The upper side's pieces on the board and in hand.
int koma_su_ue(const Kyokumen& p);

// A Zobrist key of the board and both hands. `hojo(i)` gives further independent keys
// (i < KAGI_HOJO) for what a position does not show, such as the move of the turn.
std::uint64_t kyokumen_kagi(const Kyokumen& p);
constexpr int KAGI_HOJO = 256;
std::uint64_t kagi_hojo(int i);

// The design's candidates of one move of the upper side's turn (phase 1 or 3: its own
// pieces, 2: the opponent's), every scored trial of its level-3 procedure, in `buf`;
// `order` lists them best first (equal scores keep the design's order). Returns how many.
// The board is put back as it was found.
int turn_kouho(Kyokumen& p, int phase, Kouho* buf, int* order);

// Are the third move's limits in force for the upper side before its third move?
// A side with a single piece or a king in check is let off them.
bool santeme_seigen_ue(const Kyokumen& p);

// After move `phase` of the upper side was made (u), may it stand? A move may not leave
// the king of the moved piece attacked. `ue_ou` says the upper king stood before it.
bool kinjite(const Kyokumen& p, int phase, const TeModoshi& u, bool ue_ou);

// The game's verdict after a legal move of the upper side's turn: YOMI_KACHI when it
// took the lower king or mated it, -YOMI_KACHI when its second move mated its own king,
// else 0.
int te_kekka(Kyokumen& q, int phase, int torareru);

// Must a look-ahead stop now? When told to from another thread; and, once it has a turn
// to play (`ari`), when `nodes` reached its budget of nodes or, on a clock reading
// (`tokei`: every few nodes, the clock being dear), its seconds since t0 are spent.
bool yomi_tomaru(const YomiSettei& st, std::int64_t nodes, std::chrono::steady_clock::time_point t0, bool ari,
                 bool tokei);

}  // namespace mirado
