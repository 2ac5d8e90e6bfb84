// LEVEL4: a computer that reads ahead (yomi). It chooses a whole turn (own move, one of
// the opponent's pieces, own move again, under every restriction a person's turn has)
// by looking at the opponent's best answering turn.
//
// How it chooses:
// - The candidates of each of the three moves come from the design's own one-move
//   procedures with every trial kept (Tansaku with a KouhoKiroku); their scores order
//   them, and only the best few of each move are followed (beams).
// - Every whole turn reached is judged by a static assessment (keisei, engine/keisei.h)
//   of the position the opponent will move from: material, the captures the opponent can
//   make at once, and the safety of both kings read from the influence maps.
// - The best whole turns are then answered: the opponent's turns are searched the same
//   way from the turned board, with alpha-beta over whole turns and a transposition
//   table keyed on the position after our turn. Rounds with wider beams follow while the
//   budget (whole turns examined, or time) allows; the last finished round decides.
//
// The search always plays the upper pieces, as the design's computer does; callers turn
// the board (kaiten) to play the lower side. Trial moves are made on copies of the
// position; the hot loop allocates nothing (every buffer belongs to the Yomi object).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/tansaku.h"
#include "rules/kyokumen.h"

namespace mirado {

// Scores of the search, for the side that moves (whole points, a pawn is 100).
constexpr int YOMI_KACHI = 10'000'000;  // the game is won
// The window's thinking time for a turn, in seconds.
constexpr double YOMI_BYOU = 0.25;

struct YomiSettei {
  std::int64_t nodes = 0;    // whole turns examined before the search stops; 0: no limit
  double byou = 0;           // seconds of thinking; 0: no limit
  // Set from another thread to abandon the search; it then returns what it has.
  const std::atomic<bool>* yamete = nullptr;
  // The opponent is the design's computer, whose second move may leave our king attacked
  // (it scores such a move -1000 and prefers it). A person's may not.
  bool aite_com = false;
  int lines = 0;             // principal lines to report (0..YOMI_LINES)
  int level = 4;             // 5: LEVEL5's deeper search (engine/fukayomi.h)
  int turns = 0;             // LEVEL5: whole turns read at most; 0: as many as the budget allows
  // LEVEL5 deepens two whole turns at a time, so that its reading ends after its own turn
  // (engine/fukayomi.cpp says why); the analysis, whose values must read the opponent's
  // answer within its budget, one at a time.
  bool ippo_zutsu = false;
};

constexpr int YOMI_LINES = 8;

// A whole turn, or what is left of one.
struct YomiTe {
  int n = 0;          // moves in te[0..n)
  Sashite te[3];
  int dankai[3] = {}; // which move of the turn each is (1..3): one with no legal move is skipped
};

struct YomiLine {
  YomiTe turn;        // our turn
  YomiTe reply;       // the opponent's best answer found (empty when not searched)
  int score = 0;      // value for us after the answer (or of the turn alone)
  bool answered = false;
};

struct YomiKekka {
  YomiTe turn;                 // the chosen moves, from the first move still to play
  int score = 0;
  std::int64_t nodes = 0;      // whole turns examined
  int rounds = 0;              // finished rounds of the widening search (LEVEL5: whole turns read)
  int depth = 0;               // LEVEL5: whole turns of the deepest finished iteration
  bool aborted = false;        // stopped by the budget or the cancel flag
  double seconds = 0;
  int n_lines = 0;
  YomiLine lines[YOMI_LINES];
};

class Yomi {
 public:
  Yomi();
  ~Yomi();
  Yomi(const Yomi&) = delete;
  Yomi& operator=(const Yomi&) = delete;

  // The upper side's turn from position p, by LEVEL4's look-ahead, or LEVEL5's search when
  // settei.level is 5. dankai 1 plans all three moves; 2 or 3 plans
  // the rest of a turn already begun, whose first and second moves ended on the ichite
  // and nite squares. The result may hold fewer moves than are due when no legal move
  // exists; the caller then lets the design's procedure play that move (or skip it).
  YomiKekka sagasu(const Kyokumen& p, const YomiSettei& settei, int dankai = 1, int ichite_x = 0,
                   int ichite_y = 0, int nite_x = 0, int nite_y = 0);

  // The value for the upper side of a whole turn it has played, which left position p
  // (the lower side moves next), judged as sagasu judges its own turns in a round that
  // `rounds` finished rounds decided: the opponent's best answering turn within that
  // round's beams, then the static assessment; with no finished round, the static
  // assessment alone. A mate or a captured king is +-YOMI_KACHI. The budget does not
  // stop it (one answering turn is bounded by its beams); the cancel flag does.
  // With settei.level 5, `rounds` is the whole turns LEVEL5 read for its own turn: the
  // turns after this one are read one fewer deep, on the same budget.
  int kotae_atai(const Kyokumen& p, const YomiSettei& settei, int rounds);

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace mirado
