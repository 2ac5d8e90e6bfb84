// Mate tests. tsumi_sita and tsumi_ue are near mirrors; where they differ
// (how a trial move is re-tested for check) the difference is intended.
#include "rules/tsumi.h"

#include <cstring>

#include "rules/ugoki.h"

namespace mirado {

namespace {

// Shared by both tests, before the escapes: can some drop block every check? Returns true when the
// test must go on to the escape step.
bool aigoma_dekinai(Kyokumen& p, const Kiki::Map& oute, int ou_x, int ou_y, int te_col,
                    int fu_code, int su, int fu_su) {
  for (int c = 1; c <= 9; ++c) {
    for (int r = 1; r <= 9; ++r) {
      const int m = oute[c][r];
      if (m == 9) {
        const int dc = c - ou_x, dr = r - ou_y;
        if (dc > -2 && dc < 2 && dr > -2 && dr < 2) return true;
      } else if (m == 1) {
        if (su == fu_su && p.idou_kanou(te_col, 0, c, r, fu_code) == nashi) return true;
        // The pawn stands in for whatever would be dropped, so the drop names no hand slot.
        const TeModoshi modoshi = do_move(p, Te{te_col, 0, c, r, fu_code});
        bool still_checked = false;
        for (int c2 = 1; c2 <= 9 && !still_checked; ++c2)
          for (int r2 = 1; r2 <= 9 && !still_checked; ++r2)
            if (oute[c2][r2] == 9 && p.idou_kanou(c2, r2, ou_x, ou_y, p.ban[c2][r2]) == ari)
              still_checked = true;
        undo_move(p, modoshi);
        if (still_checked) return true;
      }
    }
  }
  return false;
}

bool nigerareru(const Kyokumen& p, const Kiki::Map& teki_kiki, int ou_x, int ou_y, int ou_code) {
  for (int c = ou_x - 1; c <= ou_x + 1; ++c)
    for (int r = ou_y - 1; r <= ou_y + 1; ++r)
      if (on_ban(c, r) && p.idou_kanou(ou_x, ou_y, c, r, ou_code) == ari && teki_kiki[c][r] == 0)
        return true;
  return false;
}

}  // namespace

int sita_outechu(const Kyokumen& p) {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (code >= 10 && p.idou_kanou(c, r, p.ou_sita_x, p.ou_sita_y, code) == ari) return ari;
    }
  return nashi;
}

int tsumi_sita(Kyokumen& p) {
  const Kiki& k = p.kiki();
  const int ox = p.ou_sita_x, oy = p.ou_sita_y;
  if (k.kiki_ue[ox][oy] == 0) return nashi;
  if (p.mochigoma_su_sita > 0) {
    // The checks of the position under test, kept while trial drops stand on the board.
    Kiki::Map oute;
    std::memcpy(oute, k.oute_sita, sizeof oute);
    if (!aigoma_dekinai(p, oute, ox, oy, TE_SITA, -HU, p.mochigoma_su_sita, p.mochigoma_sita[1]))
      return nashi;
  }
  if (nigerareru(p, k.kiki_ue, ox, oy, -OU)) return nashi;

  for (int c = 1; c <= 9; ++c) {
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (code > -10 || code == -OU) continue;
      for (int tc = 1; tc <= 9; ++tc) {
        for (int tr = 1; tr <= 9; ++tr) {
          if ((tc == c && tr == r) || k.oute_sita[tc][tr] <= 0) continue;
          if (p.idou_kanou(c, r, tc, tr, code) == nashi) continue;
          const TeModoshi modoshi = do_move(p, Te{c, r, tc, tr, code});
          const int still = sita_outechu(p);
          undo_move(p, modoshi);
          if (still == nashi) return nashi;
        }
      }
    }
  }
  return ari;
}

int tsumi_ue(Kyokumen& p) {
  const Kiki& k = p.kiki();
  const int ox = p.ou_ue_x, oy = p.ou_ue_y;
  if (k.kiki_sita[ox][oy] == 0) return nashi;
  if (p.mochigoma_su_ue > 0) {
    Kiki::Map oute;
    std::memcpy(oute, k.oute_ue, sizeof oute);
    if (!aigoma_dekinai(p, oute, ox, oy, TE_UE, HU, p.mochigoma_su_ue, p.mochigoma_ue[1]))
      return nashi;
  }
  if (nigerareru(p, k.kiki_sita, ox, oy, OU)) return nashi;

  // The targets are those of the position under test, fixed before any trial.
  Kiki::Map targets;
  std::memcpy(targets, k.oute_ue, sizeof targets);
  int answer = ari;
  for (int c = 1; c <= 9 && answer == ari; ++c) {
    for (int r = 1; r <= 9 && answer == ari; ++r) {
      const int code = p.ban[c][r];
      if (code < 10 || code == OU) continue;
      for (int tc = 1; tc <= 9 && answer == ari; ++tc) {
        for (int tr = 1; tr <= 9; ++tr) {
          if ((tc == c && tr == r) || targets[tc][tr] <= 0) continue;
          if (p.idou_kanou(c, r, tc, tr, code) == nashi) continue;
          // The trial's own maps: the king does not move in it.
          const TeModoshi modoshi = do_move(p, Te{c, r, tc, tr, code});
          const bool nigeta = p.kiki().kiki_sita[p.ou_ue_x][p.ou_ue_y] == 0;
          undo_move(p, modoshi);
          if (nigeta) {
            answer = nashi;
            break;
          }
        }
      }
    }
  }
  return answer;
}

}  // namespace mirado
