// The move evaluation of the computer player, its probes and piece rules: the score of a
// trial position that the search has already made with do_move, read from the upper
// side. Scores are integer tenths of points (9999 -> 99990), so equal
// scores really are equal and no floating point enters the evaluation.
//
// The hands the scores weigh are those the search began with (mochigoma_mae): a trial
// capture or drop changes the position's hands, but the computer judges its candidates
// as if the hands stood still.
//
// Everything here runs inside the search's candidate loop: no allocation, no virtual
// calls; the board is changed only temporarily and always put back.
#pragma once

#include "rules/kiki.h"
#include "rules/kyokumen.h"

namespace mirado {

// Decisive scores, in tenths.
constexpr int TEN_OU_TORI = 99990;    // capturing the lower king (9999)
constexpr int TEN_TSUMI = 99980;      // a mating move (9998)
constexpr int TEN_JISATSU = -99980;   // the upper king left attacked (-9998)
constexpr int TEN_OUTE_SITA = -10000; // com_ban2: the person's king left attacked (-1000)

// Both hands as the search found them, before any trial.
struct Mochigoma {
  int sita[8] = {};  // by slot 1..7, as Kyokumen::mochigoma_sita
  int ue[8] = {};
  int su_sita = 0;
  int su_ue = 0;
};

// The search state the evaluation shares with the turn driver (the search state shared
// with the evaluation and the pre-search maps). Plain arrays; the
// driver fills it once per search (junbi) and sets the per-candidate fields.
struct HyoukaJoutai {
  int level = 3;
  // Per candidate.
  int moto_koma = 0;   // code of the moving piece before the move
  int kyori_mae = 0;   // Chebyshev distance, before the move, from the source to the opponent's king
  // Per search.
  int nigemichi_kijun = 0;
  Kiki::Map kiki_sita_mae{}, kiki_ue_mae{}, atari_ue_x_mae{}, atari_ue_y_mae{};
  int ban_mae[10][10] = {};
  Mochigoma mochigoma_mae;
  bool kaku_oute_ue[10][10] = {};
  bool kugi_sita[10][10] = {};
  bool kugi_ue_ari = false;  // some upper piece is pinned to its king
};

// ---- pre-search maps ----
// Keeps the hands of the position the search starts from.
void mochigoma_mae_kiroku(const Kyokumen& p, HyoukaJoutai& s);
void kaku_oute_keisan(const Kyokumen& p, const Kiki& k, HyoukaJoutai& s);
void kugi_keisan(Kyokumen& p, HyoukaJoutai& s);

// ---- local probes (results in whole units unless said) ----
int nigemichi_sita(const Kyokumen& p, const Kiki& k);
int nigeba_su(const Kyokumen& p, const Kiki& k, int col, int row, int koma);
// Would a lower lance, rook or dragon below (col, row) reach that square, whatever stands on it?
bool tate_nerai(const Kyokumen& p, int col, int row);
int oogoma_kinsetsu(const Kyokumen& p, int col, int row);
int keima_ute(const Kyokumen& p, const Kiki& k, int col, int row);     // points (whole)
int kyousha_ute(const Kyokumen& p, const Kiki& k, int col, int row);   // points (whole)
int kaku_kiken(const Kyokumen& p, const HyoukaJoutai& s, int col, int row, int koma);  // points
// The board scan, in tenths.
int kyokumen_hyouka(const Kyokumen& p, const Kiki& k, const HyoukaJoutai& s, int koma, int col, int row);

// ---- the evaluation (with the piece rules), in tenths ----
// torareru: what stood on the target before the move (0 for a drop); koma: the code on
// the target now; (fc, fr): the source (fc -1 / 11 for a drop, fr then the upper hand's
// slot / the lower hand's row, slot + 2); (tc, tr): the target. The maps must describe
// the trial position; the hands are read from s.mochigoma_mae. The pawn-file flags are left as they were found.
int hyouka(Kyokumen& p, const Kiki& k, const HyoukaJoutai& s, int torareru, int koma, int fc, int fr,
           int tc, int tr);

}  // namespace mirado
