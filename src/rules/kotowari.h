// Which of the turn's three moves is due, and every reason the game can give for refusing
// a move, a command or a record's move, with its words in one table.
#pragma once

namespace mirado {

// Which of the turn's three moves: the phase a person plays, and the computer's procedure
// that plays it: 1 = com_ban1 (an upper piece, highest score), 2 = com_ban2 (a lower
// piece, lowest score), 3 = com_ban3 (an upper piece again, with its restrictions).
enum class Dankai : int { ichi = 1, ni = 2, san = 3 };

// Why the game refused. Each refusal leaves the game exactly as it was.
enum class Kotowari {
  nashi,
  // a person's move
  dare_no_koma,    // a piece the phase does not move: phase 2 moves the opponent's pieces,
                   // phases 1 and 3 the holder's own
  ugokenai,        // the piece cannot go there
  nifu,            // a pawn dropped on a file that has one
  naranai_to,      // the piece can only go there promoted
  jibun_oute,      // the move leaves the mover's own king attacked
  aite_oute,       // a second move that leaves the opponent's king attacked
  ichite_no_koma,  // the third move moves the piece of the first
  nite_no_koma,    // the third move takes the piece of the second
  // turning the board or changing the handicap
  kifu_mode,        // a record is being stepped through
  te_tochuu,        // in the middle of a turn
  taikyoku_tochuu,  // a game is under way
  hanten_go,        // the handicap, once the board was turned
  // a record's move that does not fit the board and hands it reaches (files hold anything)
  kifu_kara,         // the record has no moves
  ran_kaketa,        // a field of its line is blank or cut off
  saki_ban_gai,      // the target is off the board
  koma_bangou,       // a piece code that names no piece
  moto_ni_nai,       // the source square does not hold the recorded piece
  nari_chigai,       // what was placed is neither the piece moved nor its promotion
  tori_chigai,       // what it took is not what stands on the target
  jibun_wo_toru,     // it takes a piece of its own side
  moto_fusei,        // the source is neither a square nor a hand cell
  mochinushi_chigai, // the dropped piece is not of the hand it leaves
  uchenai_koma,      // a promoted piece or a king dropped
  uchi_chigai,       // what was placed is not the piece dropped
  mochigoma_nashi,   // the piece is not in hand
  uchi_saki_ari,     // a drop onto an occupied square
  narenai,           // it promotes where the piece may not promote
  owatta_ato,        // it comes after the game has ended
};

// The words of a refusal as the player is told them; `d` is the phase a move was refused
// in. For ran_kaketa they follow the field's number.
const char* kotowari_moji(Kotowari k, Dankai d = Dankai::ichi);

}  // namespace mirado
