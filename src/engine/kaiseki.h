// Looking back at a game (kaiseki): every turn of a record judged by LEVEL4's look-ahead.
//
// For each turn: the value of the position for the side holding the turn (the value of
// LEVEL4's best turn there), the value of the turn actually played, judged the same way
// (the opponent's best answer within the beams of the round that decided the best turn,
// then the static assessment), and the loss between them as points of win chance. Both
// values come from the same horizon, so a turn that LEVEL4 would have played itself
// loses nothing.
//
// The win chance is a logistic curve of the value; its scale and the class thresholds
// live here and nowhere else. Under a budget of whole turns the results are the same
// every time and with any number of jobs: each turn is searched on its own.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/yomi.h"
#include "rules/kyokumen.h"

namespace mirado {

// Points of the win chance (0..100) a turn must lose to earn each class.
constexpr double AKUSHU_SON = 20;    // 悪手
constexpr double GIMONSHU_SON = 10;  // 疑問手
constexpr double KANSHU_SON = 5;     // 緩手

// The scale of the win-chance curve, in points of value (a pawn is 100): the value that
// gives 1 / (1 + e^-1), about 73 %. Fitted by maximum likelihood to the results of
// LEVEL4 self-play at the analysis budget: `build/bin/mirado_fit_kachi_ritsu` (from
// tools/fit_kachi_ritsu.cpp) plays the games, fits the scale and prints it with the
// held-out log-loss. Run it again after any change to the search, its static assessment
// or KAISEKI_NODES, and put its scale here. LEVEL5's static assessment is fitted to
// results on this same scale (tools/fit_keisei.cpp), so its values read the same way.
constexpr double KACHI_RITSU_SCALE = 2001;

// A whole-turn budget per turn that keeps a 60-turn record within a few seconds on two
// cores; the window and `mirado-cli analyse` use it unless told otherwise.
constexpr std::int64_t KAISEKI_NODES = 10000;
// LEVEL5's budget per search, in moves made and positions judged, for the same time.
constexpr std::int64_t KAISEKI_NODES5 = 25000;

enum class TeRui : int { nashi = 0, kanshu = 1, gimonshu = 2, akushu = 3 };
constexpr int TE_RUI_SU = 4;

// The chance (0..1) that the side a value belongs to wins: 1/2 at 0, rising with the
// value, 0 or 1 for a game already decided.
double kachi_ritsu(int atai);
// The class of a turn that lost `son` points of win chance.
TeRui te_rui(double son);
const char* te_rui_mei(TeRui r);       // "悪手", "疑問手", "緩手", ""
const char* te_rui_shirushi(TeRui r);  // "??", "?", "?!", "" (the move list's column)
// The colour of each class wherever it is drawn (graph dots, the move list's rows), as
// 0xRRGGBB; the unclassed turns' dots are the line's own grey.
constexpr unsigned TE_RUI_IRO[TE_RUI_SU] = {0x707070, 0xC8A000, 0xE07000, 0xD02020};

// One turn of a record, as the board stood before and after it (the board as the
// players see it, lower pieces at the bottom).
struct KaisekiKyokumen {
  Kyokumen mae, ato;
  bool sita = true;  // the lower pieces hold the turn
  int kekka = 0;     // the game ended within the turn: 1 won by its holder, -1 lost
};

struct KaisekiTe {
  bool sita = true;       // the lower pieces held the turn
  int mae = 0;            // the position's value for the holder: its best turn's value
  int ato = 0;            // the value for the holder of the turn played
  YomiTe saizen;          // LEVEL4's best turn, on the board as the players see it
  int saizen_atai = 0;    // its value (the same as mae)
  double son = 0;         // win chance lost by the turn played, 0..100
  TeRui rui = TeRui::nashi;
  std::int64_t nodes = 0; // whole turns examined
  // The lower side's win chance (0..100) before and after the turn.
  double sita_mae() const;
  double sita_ato() const;
};

struct KaisekiSettei {
  int level = 4;                        // whose reading judges: LEVEL4's or LEVEL5's
  std::int64_t nodes = KAISEKI_NODES;  // LEVEL4: whole turns per search, LEVEL5: moves; 0: by time
  double byou = 0;                      // seconds per search when nodes is 0
  int jobs = 1;                         // turns searched at once, each on its own thread
  const std::atomic<bool>* yamete = nullptr;  // set from another thread to give up
  std::atomic<int>* sumi = nullptr;           // counts the turns finished, for progress
};

// One turn, on a search object of the caller's. A turn that lets a forced win go, or
// walks into a forced loss, is 悪手 whatever the win chance before it.
KaisekiTe kaiseki_ichite(Yomi& yomi, const KaisekiKyokumen& k, const KaisekiSettei& settei);

// Every turn, `jobs` at a time. False, with `out` incomplete, when it was given up.
bool kaiseki(const std::vector<KaisekiKyokumen>& turns, const KaisekiSettei& settei,
             std::vector<KaisekiTe>& out);

// The count of each class by side: [0] the lower side, [1] the upper.
struct KaisekiMatome {
  int kazu[2][TE_RUI_SU] = {};
};
KaisekiMatome kaiseki_matome(const std::vector<KaisekiTe>& te);

}  // namespace mirado
