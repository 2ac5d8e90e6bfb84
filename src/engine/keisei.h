// Static assessments of a whole-turn position (keisei): how good it is for the lower
// side, which moves next.
//
// - keisei: LEVEL4's, hand-set: material, the mover's best captures and its hanging
//   piece, and both kings' danger, the mover's own counted at half.
// - keisei5: LEVEL5's, fitted to the results of self-play. It is a sum over features
//   that are each the lower side's count less the upper side's, so that turning the
//   board round turns its sign (keisei_sa), plus one term for holding the turn
//   (KEISEI_TEBAN). What the mover can take at once is left to the search's quiet search
//   of captures rather than guessed here.
//
// Both run inside the searches' loops: no allocation, fixed arrays only.
#pragma once

#include "rules/kyokumen.h"

namespace mirado {

// LEVEL4's assessment, whole points (a pawn is 100).
int keisei(const Kyokumen& p);

// The features of keisei5, each "lower's less upper's".
enum KeiseiSo : int {
  SO_BAN = 0,         // pieces on the board, by kind: 13 counts (the king excluded)
  SO_TE = 13,         // pieces in hand, by slot 1..7: 7 counts
  SO_OU_SEME = 20,    // reach of the other side onto the squares around the other king
  SO_OU_MAMORI = 21,  // squares around the own king guarded by the own side (less)
  SO_OU_NIGEBA = 22,  // the other king's shortfall of squares to run to (below two)
  SO_OU_UCHI = 23,    // pieces in hand that could be dropped next to a threatened king
  SO_OU_AKI = 24,     // empty, unguarded squares around a threatened king, with drops in hand
  SO_TEKIJIN = 25,    // pieces in the other side's camp
  SO_ATARI = 26,      // dearest piece of the other side attacked and unguarded (less own)
  SO_OUTE = 27,       // the other king attacked (less the own)
  SO_OU_SEME2 = 28,   // the reach onto the other king's squares, squared (a massed attack)
  SO_OU_SEMEGOMA = 29,  // own pieces within two squares of the other king
  SO_OU_KAKOI = 30,   // own golds and silvers next to the own king
  KEISEI_SO_SU = 31,
};

// Fitted weights (points per unit of a feature) and the term for holding the turn,
// written by tools/fit_keisei.cpp from self-play.
extern const int KEISEI_OMOMI[KEISEI_SO_SU];
extern const int KEISEI_TEBAN;

// The features of p, from the lower side's view. p must hold both kings.
void keisei_so(const Kyokumen& p, int (&so)[KEISEI_SO_SU]);

// The part of keisei5 that turns its sign with the board: keisei_sa(kaiten(p)) ==
// -keisei_sa(p). Whole points.
int keisei_sa(const Kyokumen& p);

// LEVEL5's assessment: decided games as keisei judges them, else keisei_sa plus the
// turn's term. Whole points.
int keisei5(const Kyokumen& p);

}  // namespace mirado
