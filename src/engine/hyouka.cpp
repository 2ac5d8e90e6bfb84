// Move evaluation, its probes and board scan, and the piece rules. Every score is held
// in integer tenths: a term of 0.1 is 1, a term of 10 is 100. Rules are applied in a
// fixed order with exact comparisons; where a rule could have been meant two ways, the
// comment beside it says which way it works.
#include "engine/hyouka.h"

#include "rules/ikisaki.h"
#include "rules/tsumi.h"

namespace mirado {

namespace {

inline int iabs(int v) { return v < 0 ? -v : v; }

// Reads off the 10 x 10 arrays give 0, as an empty square or an empty map cell would.
// Every guarded read below is one the rules' own conditions make unreachable, or an
// index that would be out of range; none changes a score.
template <typename T>
inline int at(const T (&m)[10][10], int c, int r) {
  return (c >= 0 && c <= 9 && r >= 0 && r <= 9) ? m[c][r] : 0;
}

inline bool sita_ookoma(int v) { return v == -KAKU || v == -UMA || v == -HISHA || v == -RYUU; }
inline bool sita_kin_gin(const Mochigoma& te) { return te.sita[4] > 0 || te.sita[5] > 0; }

}  // namespace

// ---------------------------------------------------------------------------------------
// Pre-search maps

void mochigoma_mae_kiroku(const Kyokumen& p, HyoukaJoutai& s) {
  Mochigoma& te = s.mochigoma_mae;
  for (int slot = 0; slot < 8; ++slot) {
    te.sita[slot] = p.mochigoma_sita[slot];
    te.ue[slot] = p.mochigoma_ue[slot];
  }
  te.su_sita = p.mochigoma_su_sita;
  te.su_ue = p.mochigoma_su_ue;
}

void kaku_oute_keisan(const Kyokumen& p, const Kiki& k, HyoukaJoutai& s) {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      s.kaku_oute_ue[c][r] = false;
      if (p.ban[c][r] == kara && k.kiki_ue[c][r] == 0 &&
          p.idou_kanou(c, r, p.ou_ue_x, p.ou_ue_y, -KAKU))
        s.kaku_oute_ue[c][r] = true;
    }
}

void kugi_keisan(Kyokumen& p, HyoukaJoutai& s) {
  s.kugi_ue_ari = false;
  // The ranging pieces of each side, in scan order (only they can reach a king from afar;
  // their squares never change while one piece is lifted, except the lifted one itself).
  int ue_n = 0, sita_n = 0;
  int ue_c[40], ue_r[40], sita_c[40], sita_r[40];
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int v = p.ban[c][r];
      if ((v == KYOU || v == KAKU || v == UMA || v == HISHA || v == RYUU) && ue_n < 40) {
        ue_c[ue_n] = c;
        ue_r[ue_n++] = r;
      } else if ((v == -KYOU || v == -KAKU || v == -UMA || v == -HISHA || v == -RYUU) && sita_n < 40) {
        sita_c[sita_n] = c;
        sita_r[sita_n++] = r;
      }
    }
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      s.kugi_sita[c][r] = false;
      const int v = p.ban[c][r];
      if (v == kara) continue;
      p.ban[c][r] = kara;
      if (v <= -10) {
        for (int i = 0; i < ue_n; ++i) {
          const int x = ue_c[i], y = ue_r[i];
          if (x == c && y == r) continue;  // the lifted square is empty now
          if (p.idou_kanou(x, y, p.ou_sita_x, p.ou_sita_y, p.ban[x][y])) {
            s.kugi_sita[c][r] = true;
            break;
          }
        }
      } else if (v >= 10) {
        for (int i = 0; i < sita_n && !s.kugi_ue_ari; ++i) {
          const int x = sita_c[i], y = sita_r[i];
          if (x == c && y == r) continue;
          if (p.idou_kanou(x, y, p.ou_ue_x, p.ou_ue_y, p.ban[x][y])) s.kugi_ue_ari = true;
        }
      }
      p.ban[c][r] = v;
    }
}

// ---------------------------------------------------------------------------------------
// Local probes

int nigemichi_sita(const Kyokumen& p, const Kiki& k) {
  const int kc = p.ou_sita_x, kr = p.ou_sita_y;
  int n = 0;
  for (int c = kc - 1; c <= kc + 1; ++c)
    for (int r = kr - 1; r <= kr + 1; ++r) {
      if ((c == kc && r == kr) || !on_ban(c, r)) continue;
      if (p.ban[c][r] == kara && k.kiki_ue[c][r] == 0) ++n;
    }
  return n;
}

int nigeba_su(const Kyokumen& p, const Kiki& k, int col, int row, int koma) {
  int n = 0;
  if (on_ban(col, row)) {
    for (Masume to = ikisaki(p, col, row, koma); !to.kara();) {
      int c, r;
      to.toridasu(c, r);
      if (koma >= 10 ? k.kiki_sita[c][r] == 0 : k.kiki_ue[c][r] == 0) ++n;
    }
    return n;
  }
  // From off the board (a square below row 9) only the movement test itself answers.
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      if (!p.idou_kanou(col, row, c, r, koma)) continue;
      if (koma >= 10 ? k.kiki_sita[c][r] == 0 : k.kiki_ue[c][r] == 0) ++n;
    }
  return n;
}

bool tate_nerai(const Kyokumen& p, int col, int row) {
  if (!on_ban(col, row)) return false;
  // Whatever stands on the square itself does not matter: the piece below reaches it when
  // nothing stands between, that is when it is the first piece below.
  for (int r = row + 1; r <= 9; ++r) {
    const int v = p.ban[col][r];
    if (v == kara) continue;
    return v == -KYOU || v == -HISHA || v == -RYUU;
  }
  return false;
}

int oogoma_kinsetsu(const Kyokumen& p, int col, int row) {
  int n = 0;
  for (int c = col - 1; c <= col + 1; ++c)
    for (int r = row - 1; r <= row + 1; ++r) {
      if ((c == col && r == row) || !on_ban(c, r)) continue;
      if (p.ban[c][r] >= KAKU) ++n;
    }
  return -n;
}

int keima_ute(const Kyokumen& p, const Kiki& k, int col, int row) {
  if (!sita_ookoma(k.atari_sita[col][row]) || row <= 5) return 0;
  int v = 0;
  for (int d = -1; d <= 1; d += 2) {
    if (d == -1 && !(col > 2)) continue;
    if (d == 1 && !(col < 8)) continue;
    const int dc = col + d, dr = row - 2;
    const int ac = col + 2 * d;
    if (p.ban[dc][dr] == kara && k.kiki_sita[dc][dr] == 0 && p.ban[ac][row] <= -KAKU &&
        k.atari_sita_x[col][row] != ac)
      v += iabs(p.ban[ac][row]);
  }
  return v;
}

int kyousha_ute(const Kyokumen& p, const Kiki& k, int col, int row) {
  if (!(row > 6)) return 0;
  if (!(k.kiki_ue[col][row - 1] > 0 && k.kiki_sita[col][row - 1] == 0)) return 0;
  if (!sita_ookoma(k.atari_sita[col][row])) return 0;
  for (int r = row + 1; r <= 9; ++r) {
    if (p.ban[col][r] == kara) continue;
    return p.idou_kanou(col, row, col, r, KYOU) ? iabs(p.ban[col][r]) : 0;
  }
  return 0;
}

int kaku_kiken(const Kyokumen& p, const HyoukaJoutai& s, int col, int row, int koma) {
  int xc = 0, xr = 0;
  for (int c = 1; c <= 9 && xc == 0; ++c)
    for (int r = 1; r <= 9; ++r)
      if (s.kaku_oute_ue[c][r] && (p.idou_kanou(col, row, c, r, -KAKU) ||
                                        p.idou_kanou(col, row, c, r, -UMA))) {
        xc = c;
        xr = r;
        break;
      }
  if (xc == 0) return 0;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int v = p.ban[c][r];
      if ((v == -KAKU || v == -UMA) && p.idou_kanou(c, r, xc, xr, v)) return koma;
    }
  if (s.mochigoma_mae.sita[6] > 0 && p.idou_kanou(TE_UE, 0, xc, xr, -KAKU)) return koma;
  return 0;
}

// ---------------------------------------------------------------------------------------
// The board scan, in tenths

namespace {

// What the board scan reads on every square; the flags hold for the whole scan.
struct Scan {
  const Kyokumen& p;
  const Kiki& k;
  const HyoukaJoutai& s;
  int koma, col, row;  // the moved piece and where it stands now
  int kuc, kur;        // upper king
  int kc, kr;          // lower king
  bool kin_gin;        // the lower hand holds a gold or a silver
  bool kyou, kei, gin; // the lower hand holds a lance, a knight, a silver
  bool anzen;          // no lower piece reaches the moved piece
  Masume nerau;        // where the moved piece can go, when it is safe
};

// The lower pieces the moved piece attacks, for the fork term.
struct Nerai {
  int count = 0;
  int smallest = 9999;
};

// An empty square the lower pieces reach: next to the upper king, in the upper camp, and
// in front of a lower pawn there. All three need that reach.
void kara_sita_kiki(const Scan& x, int i, int j, int& t) {
  const auto& ks = x.k.kiki_sita;
  const auto& ku = x.k.kiki_ue;
  if (iabs(i - x.kuc) < 2 && iabs(j - x.kur) < 2) {
    t -= 5 * ks[i][j];
    if (ku[i][j] == 1 && ks[i][j] > 1) t -= 100;
    if (x.kin_gin) t -= 100;
  }
  if (ku[i][j] == 0 && j <= 3) {
    t -= 1;
    if (tate_nerai(x.p, i, j)) t -= 100;
  }
  if (j < 4 && x.p.ban[i][j + 1] == -HU && ks[i][j] >= ku[i][j]) {
    t -= 300;
    if (tate_nerai(x.p, i, j + 1)) t -= 700;
  }
}

// An empty square where a drop from the lower hand would hurt: a lance behind a file of
// upper pieces, a knight fork, a silver fork, big pieces near the gold.
void kara_uchi(const Scan& x, int i, int j, int& t) {
  const auto& ban = x.p.ban;
  const auto& ks = x.k.kiki_sita;
  const auto& ku = x.k.kiki_ue;
  if (x.kyou && j > 2 && ban[i][j - 1] > 20 && (ks[i][j] > 0 || ku[i][j] == 0)) {
    for (int y = j - 2; y >= 1; --y) {
      if (ban[i][y] == kara) continue;
      if (ban[i][y] > 20) t -= 1000 + ban[i][y] * 5;  // 100 + ban(Y) / 2
      break;
    }
  }
  if (x.kei && (ku[i][j] == 0 || ks[i][j] > 0) && j > 2 && i >= 2 && i <= 8) {
    if (ban[i - 1][j - 2] > 10 && ban[i + 1][j - 2] > 10) t -= 200;
  }
  if (x.kin_gin && ku[i][j] <= 1) {
    const int og = oogoma_kinsetsu(x.p, i, j);
    if (og < -1) t -= 50;
    if (ku[i][j] == 0 && og < 0) {
      t -= 10;
      if (j < 4) t -= 100;
    }
  }
  if (ku[i][j] == 0) {
    if (j == 2 && ban[i][1] == KEI) t -= 50;
    if (j < 4) t -= 1;
    if (x.gin && j > 1 && j < 9 && i >= 2 && i <= 8) {
      if (ban[i - 1][j - 1] >= 10 && ban[i + 1][j + 1] >= 10 && ku[i - 1][j - 1] == 0 &&
          ku[i + 1][j + 1] == 0)
        t -= 200;
      if (ban[i - 1][j + 1] >= 10 && ban[i + 1][j - 1] >= 10 && ku[i - 1][j + 1] == 0 &&
          ku[i + 1][j - 1] == 0)
        t -= 200;
    }
  }
}

// An upper piece the lower pieces attack: the king as the only defender, cheaper
// attackers, more attackers than defenders, undefended pieces.
void ue_koma_atari(const Scan& x, int i, int j, int v, int& t) {
  const Kiki& k = x.k;
  const auto& ks = k.kiki_sita;
  const auto& ku = k.kiki_ue;
  const int ac = k.atari_sita_x[i][j], ar = k.atari_sita_y[i][j];
  const int atari = iabs(k.atari_sita[i][j]);
  const bool kugi_a = x.s.kugi_sita[ac][ar];
  if (k.himo_ue[i][j] == OU && (ks[i][j] > 1 || v > atari)) t -= 1000;
  if (!kugi_a && v > atari) t += (atari - v) * 10;
  if (ku[i][j] > 0 && !kugi_a) {
    if (ks[i][j] > ku[i][j] && k.himo_ue[i][j] >= atari) t -= v * 10;
    if (j <= 3 && ku[i][j] == ks[i][j] && x.p.ban[i][j + 1] != kara && tate_nerai(x.p, i, j + 1))
      t -= (v + iabs(k.atari_sita[i][j + 1])) * 10;
  }
  if (ku[i][j] == 0) {
    t -= v * 10;
    if (j <= 3) t -= 100;
    if (x.s.ban_mae[i][j] <= -10) t += iabs(x.s.ban_mae[i][j]) * 10;
    if (j < 4 && (k.atari_sita[i][j] == -HU || k.atari_sita[i][j] == -KYOU)) t -= 200;
  }
}

void ue_koma(const Scan& x, int i, int j, int v, int& t) {
  const Kiki& k = x.k;
  const auto& ks = k.kiki_sita;
  const auto& ku = k.kiki_ue;
  // The upper king on its back row with lower pieces reaching the square in front: each
  // of the three penalties needs that reach by itself.
  if (v == OU && j == 1 && ks[i][2] > 0) {
    t -= 500;
    if (ks[i][2] >= ku[i][2]) t -= 2500;
    if (x.kin_gin) t -= 7000;
  }
  // An upper pawn the lower rook attacks while the lower hand has a pawn to drop.
  if (v == HU && k.atari_sita[i][j] == -HISHA && x.s.mochigoma_mae.sita[1] > 0 && ks[i][j] >= ku[i][j] &&
      j < 9 && ku[i][j + 1] == 1)
    t -= 50;
  if (ks[i][j] > 0) ue_koma_atari(x, i, j, v, t);
}

void sita_koma(const Scan& x, int i, int j, int v, Nerai& nerai, int& t) {
  const auto& ban = x.p.ban;
  const auto& ks = x.k.kiki_sita;
  const auto& ku = x.k.kiki_ue;
  // A lower piece that the move put under attack: a knight forking, any piece close to
  // the upper king.
  if (x.s.kiki_ue_mae[i][j] == 0 && ku[i][j] > 0) {
    if (v == -KEI && j > 2 && ks[i][j - 1] == 0 &&
        (ban[i][j - 1] == GIN || ban[i][j - 1] == UMA || ban[i][j - 1] == RYUU))
      t += 10;
    if (iabs(i - x.kuc) < 3 && iabs(j - x.kur) < 3) t += 150;
  }
  // A lower knight two squares below an upper piece: each side square counts when it is
  // empty or holds an upper piece, and no upper piece reaches it.
  if (v == -KEI && j > 4 && ban[i][j - 4] >= 100) {
    for (int d = -1; d <= 1; d += 2) {
      if (d == -1 && !(i > 1)) continue;
      if (d == 1 && !(i < 9)) continue;
      const int c = i + d, r = j - 2;
      if ((ban[c][r] == kara || ban[c][r] >= 10) && ku[c][r] == 0) t -= 10;
    }
  }
  // A lower rook, dragon or lance on the upper king's file.
  if ((v == -HISHA || v == -RYUU || v == -KYOU) && i == x.kuc) t -= 10;
  // The moved piece, safe where it stands, attacking lower pieces nothing defends (or the
  // king): attacking more than one earns the smallest of them.
  if (x.anzen && (ks[i][j] == 0 || (i == x.kc && j == x.kr)) && x.nerau.aru(i, j)) {
    t += 1;
    ++nerai.count;
    if (iabs(v) < nerai.smallest) nerai.smallest = iabs(v);
  }
}

}  // namespace

int kyokumen_hyouka(const Kyokumen& p, const Kiki& k, const HyoukaJoutai& s, int koma, int col, int row) {
  const int* ms = s.mochigoma_mae.sita;
  const bool anzen = k.kiki_sita[col][row] == 0;
  const Scan x{p,         k,         s,         koma,      col,       row,
               p.ou_ue_x, p.ou_ue_y, p.ou_sita_x, p.ou_sita_y, sita_kin_gin(s.mochigoma_mae),
               ms[2] > 0, ms[3] > 0, ms[4] > 0, anzen,     anzen ? ikisaki(p, col, row, koma) : Masume{}};
  const bool te_ari = s.mochigoma_mae.su_sita > 0;
  Nerai nerai;
  int total = 0;
  for (int i = 1; i <= 9; ++i) {
    for (int j = 1; j <= 9; ++j) {
      const int v = p.ban[i][j];
      if (v == kara) {
        if (k.kiki_sita[i][j] > 0) kara_sita_kiki(x, i, j, total);
        if (te_ari) kara_uchi(x, i, j, total);
      } else if (v >= 10) {
        ue_koma(x, i, j, v, total);
      } else if (v <= -10) {
        sita_koma(x, i, j, v, nerai, total);
      }
    }
  }
  if (nerai.count > 1) total += nerai.smallest * 10;
  return total;
}

// ---------------------------------------------------------------------------------------
// The piece rules. Returns true when a rule ends the evaluation (score holds
// the result); otherwise score is the running score.

namespace {

struct Kyoku {
  Kyokumen& p;
  const Kiki& k;
  const HyoukaJoutai& s;
  int torareru, koma, fc, fr, tc, tr;
  int kc, kr;  // lower king
  bool uchi() const { return fc == TE_UE || fc == TE_SITA; }
  int bn(int c, int r) const { return at(p.ban, c, r); }
  const Mochigoma& te() const { return s.mochigoma_mae; }
  int ks(int c, int r) const { return at(k.kiki_sita, c, r); }
  int ku(int c, int r) const { return at(k.kiki_ue, c, r); }
};

bool fu_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const auto& k = x.k;
  const int tc = x.tc, tr = x.tr;
  if (x.te().ue[2] > 0) score += kyousha_ute(p, k, tc, tr) * 10;
  if (x.te().ue[3] > 0) score += keima_ute(p, k, tc, tr) * 10;
  if (tr < 9) {
    const int n = p.ban[tc][tr + 1];
    if (n == KIN) score += 5;
    if (n == HISHA) score -= 10;
    if (n < -10 && nigeba_su(p, k, tc, tr + 1, n) == 0) score += iabs(n) * 10;
  }
  if (k.kiki_ue[tc][tr] > 0 && tc > 1 && tc < 9 &&
      (p.ban[tc - 1][tr] == HISHA || p.ban[tc + 1][tr] == HISHA))
    score -= 10;
  if (x.uchi()) {
    if (k.kiki_ue[tc][tr] == 0 && tr > 1 && p.ban[tc][tr - 1] >= 100 &&
        (x.te().sita[1] > 0 || x.te().sita[2] > 0))
      score += 60;
    if (p.ban[2][8] == -KAKU && tc == 2 && tr == 7 && (k.kiki_sita[2][7] != 0 || k.kiki_ue[2][7] > 0))
      score += 300;
    const int ac = k.atari_sita_x[tc][tr], ar = k.atari_sita_y[tc][tr];
    if (!(k.kiki_sita[ac][ar] == 0 && x.s.kiki_ue_mae[ac][ar] > 0)) {
      const int a = k.atari_sita[tc][tr];
      if ((a == -KYOU || a == -HISHA) && ac == tc && ar > tr && k.kiki_ue[tc][tr] > 0) {
        score += 1200;
        return true;
      }
    }
    return false;
  }
  // Board moves.
  score -= 1;
  if (k.himo_ue[tc][tr] == KIN || k.himo_ue[tc][tr] == GIN) score += 6;
  if (tr < 8) {
    if (k.himo_ue[tc][tr] == KYOU) {
      score += 10;
    } else if (k.himo_ue[tc][tr] == HISHA && k.himo_ue_x[tc][tr] == tc && k.himo_ue_y[tc][tr] < tr &&
               k.kiki_ue[tc][tr] >= k.kiki_sita[tc][tr]) {
      score += 20;
    }
    if (k.kiki_sita[tc][tr + 1] == 0 && p.ban[tc][tr + 2] <= -30) score += 10;
    if (tr < 7) {
      if (p.ban[tc][tr + 1] == -HU && k.kiki_sita[tc][tr + 1] > 0) score -= 50;
      if (tc < 9 && p.ban[tc + 1][tr] == KAKU) {
        score += 5;
        if (p.ban[tc + 1][tr + 2] == -HU) score += 50;
      }
      if (tc > 1) {
        if (tc == 7 && tr == 4 && p.ban[8][2] == KAKU) score += 100;
        if (p.ban[tc - 1][tr] == KAKU) {
          score += 5;
          if (p.ban[tc - 1][tr + 2] == -HU) score += 50;
        }
      }
    }
  }
  if (x.torareru <= -10 && x.ku(x.fc, x.fr) == 1) {
    if (tr > 2 && k.atari_sita[tc][tr] == -KYOU && p.ban[tc][tr - 2] == KAKU) score -= 50;
    else score += 50;
    if (x.torareru == -HU && (k.atari_sita[tc][tr] == -KYOU || k.atari_sita[tc][tr] == -HISHA))
      score += 500;
  }
  const int n = x.bn(tc, tr + 1);
  if (n <= -10) {
    const int kut = k.kiki_ue[tc][tr], kst = k.kiki_sita[tc][tr];
    if (kut > kst) { score += 10; return true; }
    if (n == -HU) { score -= 50; return true; }
    if (kut > 0) {
      if (at(x.s.kiki_ue_mae, tc, tr + 1) > 0 && at(x.s.kiki_sita_mae, tc, tr + 1) == 0) {
        score -= 10;
        return true;
      }
      if (kut >= kst) { score += 50; return true; }
    }
    if (kut == 0 && kst == 0) { score += 10; return true; }
  }
  return false;
}

bool kyou_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const auto& k = x.k;
  const int tc = x.tc, tr = x.tr;
  if (x.te().ue[3] > 0) score += keima_ute(p, k, tc, tr) * 10;
  if (x.uchi()) {
    if (tr < 8) {
      if (x.te().sita[1] > 0 && k.kiki_sita[tc][tr + 1] > 0 && k.kiki_sita[tc][tr] == 0) score -= 100;
      if (p.ban[tc][tr + 1] <= -20 &&
          (k.kiki_sita[tc][tr] == 0 || k.kiki_ue[tc][tr] >= k.kiki_sita[tc][tr])) {
        // Whether a lance could run down the file is tested with the upper lance's code;
        // a file with nothing below returns nothing.
        for (int y = tr + 2; y <= 9; ++y) {
          if (p.ban[tc][y] == kara) continue;
          if (p.idou_kanou(tc, tr + 1, tc, y, KYOU) && p.ban[tc][y] < -20) {
            score += iabs(p.ban[tc][y]) * 10;
            return true;
          }
          break;
        }
      }
    }
    return false;
  }
  if (x.torareru == 0) { score -= 9; return true; }
  if (x.torareru == -KYOU) {
    score += 100;
    if (k.kiki_sita[tc][tr] >= 1) { score += 100; return true; }
  }
  return false;
}

bool kei_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const int tc = x.tc, tr = x.tr;
  score -= 1;
  if (x.ks(tc, tr + 1) > 0) score -= 10;
  if (tr < 8 && tc > 1 && tc < 9) {
    if (x.ks(tc - 1, tr + 2) > 0 && x.ks(tc + 1, tr + 2) > 0) score -= 10;
    if (tc == 7 && tr == 3 && p.ban[8][4] == KAKU) { score -= 50; return true; }
  }
  return false;
}

bool gin_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const int tc = x.tc, tr = x.tr;
  if (!(tr > 1)) return false;  // none of the silver's rules applies on the top row
  if (tr > x.fr) {
    const bool straight = x.fc == tc;
    if (p.ban[7][5] == -GIN || p.ban[8][5] == -GIN || p.ban[9][5] == -GIN) {
      if (straight) score += 50;
    } else if (straight) {
      score -= 1;
    }
  }
  if (p.ban[tc][tr - 1] == KEI) score -= 5;
  if (tc == 7 && tr == 3 && p.ban[8][3] == HU && p.ban[8][5] == -HU) { score += 1150; return true; }
  return false;
}

bool kin_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const auto& k = x.k;
  const int tc = x.tc, tr = x.tr;
  if (tr > x.fr && tc != x.fc) score -= 5;
  if (tr == 4) {
    if (p.ban[6][4] == KAKU && k.kiki_sita[6][4] > 0) { score -= 50; return true; }
  }
  if (tr == 2) {
    if (p.ban[8][3] == HU && p.ban[8][6] == -HU && tc == 7 && k.himo_sita[8][6] == -HISHA) score += 100;
    // The bishop in hand counts only for a silver arriving on row 2.
    if (x.te().sita[6] > 0 && x.s.kiki_ue_mae[tc][3] == 0 && p.ban[tc][3] >= 10) {
      score += 20;
      if (x.s.kiki_ue_mae[tc][4] == 1 && p.ban[tc][4] == KAKU) { score += 1250; return true; }
    }
  }
  return false;
}

bool kaku_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const auto& k = x.k;
  const int tc = x.tc, tr = x.tr;
  score += oogoma_kinsetsu(p, tc, tr) * 10;
  if (tr < 9) {
    if (tr == 3) {
      if (tc == 9 && p.ban[9][4] == HU && p.ban[9][6] == -HU && p.ban[9][9] == -KYOU) score -= 100;
      if (tc == 7 && p.ban[8][5] == -HU && k.himo_sita[8][5] == -HISHA) score += 90;
    }
    if (k.kiki_sita[tc][tr + 1] > 0) {
      if (nigeba_su(p, k, tc, tr, KAKU) == 0) score -= 1000;
      if (tr < 8 && p.ban[tc][tr + 2] == -HU) score -= 10;
    }
  }
  if (x.fr == 3 && !x.uchi()) {
    if (x.fc == 9 && p.ban[9][4] == HU && p.ban[9][6] == -HU && k.himo_sita[9][6] == -KYOU) score += 100;
    if (x.fc == 7 && p.ban[8][5] == -HU && k.himo_sita[8][5] == -HISHA &&
        x.s.kiki_ue_mae[8][4] > k.kiki_ue[8][4])
      score -= 100;
  }
  if (x.uchi()) {
    if (tr > 6) {
      if (nigeba_su(p, k, tc, tr, KAKU) <= 3) { score -= 200; return true; }
    } else {  // a drop on row 6 or above
      if (tr == 5 && (tc == 1 || tc == 9) && p.ban[tc][7] == -HU) score -= 100;
      if (tc == 4 && tr == 5 && p.ban[5][8] == -KIN) { score -= 100; return true; }
    }
  }
  return false;
}

bool hisha_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const auto& k = x.k;
  const int tc = x.tc, tr = x.tr;
  score += oogoma_kinsetsu(p, tc, tr) * 10;
  if (x.uchi()) {
    if (tr == 9 && p.ban[tc][8] == -GIN && tc > 1 && tc < 9) {
      if ((p.ban[tc - 1][9] != kara && p.ban[tc + 1][8] == -KIN) ||
          (p.ban[tc + 1][9] != kara && p.ban[tc - 1][8] == -KIN)) {
        score -= 10;
        return true;
      }
    }
    return false;
  }
  const int fc = x.fc, fr = x.fr;
  if (k.kiki_sita[tc][tr] == 0 && tc == 3 && tr == 4 && p.ban[3][7] == -KAKU && p.ban[3][6] == -HU &&
      p.ban[3][5] == kara)
    score += 70;
  if (tr < 8) {
    if (k.kiki_sita[tc][tr + 1] > 0) {
      score -= 10;
      if (p.ban[tc][tr + 2] == -HU && fr == tr) score -= 50;
    }
    // Also only below row 8: two separate 11-point penalties against the lower rook's
    // pawn push on file 8.
    if (fr < 9 && p.ban[8][fr + 1] == -HU && k.himo_sita[8][fr + 1] == -HISHA) {
      if (k.kiki_ue[8][fr] < x.s.kiki_ue_mae[8][fr]) score -= 110;
      if (p.ban[7][fr] == HU && tr != fr) score -= 110;
    }
    if (k.kiki_sita[fc][fr] == 0 && fc == 2 && fr == 2 && tc == 2 && tr == 3) score -= 10;
  }
  if (k.kiki_sita[tc][tr] == 0 || (k.atari_sita[tc][tr] == -OU && k.kiki_ue[tc][tr] > 0)) {
    if (nigeba_su(p, k, tc, tr, HISHA) <= 1) { score -= 350; return true; }
    if ((tc == x.kc || tr == x.kr) && iabs(tc - x.kc) < 3 && iabs(tr - x.kr) < 3) {
      score += 1000;
      return true;
    }
  }
  return false;
}

bool ryuu_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const auto& k = x.k;
  const int tc = x.tc, tr = x.tr;
  score += oogoma_kinsetsu(p, tc, tr) * 10;
  if (x.bn(tc, tr - 1) == -GIN && tc > 1 && tc < 9) {
    if ((p.ban[tc - 1][tr] != kara && x.bn(tc + 1, tr - 1) == -KIN) ||
        (p.ban[tc + 1][tr] != kara && x.bn(tc - 1, tr - 1) == -KIN))
      score -= 100;
  }
  if (!x.uchi() && x.fr == 9 && p.ban[x.fc][8] == -GIN) {
    if (x.fc > 1 && p.ban[x.fc - 1][8] == -KIN) score += 20;
    if (x.fc < 9 && p.ban[x.fc + 1][8] == -KIN) score += 20;
  }
  if (tr == 9 && p.ban[tc][8] <= -10) {
    if ((tc == 3 && p.ban[2][9] <= -10 && p.ban[4][8] == -KIN) ||
        (tc == 7 && p.ban[8][9] <= -10 && p.ban[6][8] == -KIN))
      score -= 1500;
  }
  if (k.kiki_sita[tc][tr] == 0 || (k.atari_sita[tc][tr] == -OU && k.kiki_ue[tc][tr] > 0)) {
    if ((tc == x.kc || tr == x.kr) && iabs(tc - x.kc) < 3 && iabs(tr - x.kr) < 3) {
      score += 1000;
      return true;
    }
  }
  return false;
}

bool ou_rule(const Kyoku& x, int& score) {
  const auto& p = x.p;
  const auto& k = x.k;
  const int tc = x.tc, tr = x.tr;
  if (tr > 3) score -= (15 + tr) * 10;
  if (tc != 5) score += 10;
  if (x.s.kugi_ue_ari) score += 100;
  if (k.kiki_ue[tc][tr] > x.s.kiki_ue_mae[tc][tr]) score += 10;
  if (nigeba_su(p, k, tc, tr, OU) < 2) { score -= 200; return true; }
  return false;
}

// The rules of the piece standing on the target square.
void koma_rules(const Kyoku& x, int& score) {
  switch (x.koma) {
    case HU: fu_rule(x, score); break;
    case TO:
      if (x.k.kiki_ue[x.tc][x.tr] >= x.k.kiki_sita[x.tc][x.tr]) score += 10;
      break;
    case KYOU: kyou_rule(x, score); break;
    case KEI: kei_rule(x, score); break;
    case GIN: gin_rule(x, score); break;
    case KIN: kin_rule(x, score); break;
    case KAKU: kaku_rule(x, score); break;
    case UMA: score += oogoma_kinsetsu(x.p, x.tc, x.tr) * 10; break;
    case HISHA: hisha_rule(x, score); break;
    case RYUU: ryuu_rule(x, score); break;
    case OU: ou_rule(x, score); break;
    default: break;  // promoted lance, knight, silver and every lower piece: nothing
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The evaluation, in the order its parts are applied

namespace {

// Capturing the lower king, leaving the upper king attacked, and a check on the lower
// king (a mate, or the terms of a check). Returns true when the evaluation ends here
// (score holds the result).
bool kettei(const Kyoku& x, int& score) {
  const Kiki& k = x.k;
  const int tc = x.tc, tr = x.tr, kc = x.kc, kr = x.kr;
  if (x.torareru == -OU) {
    score = TEN_OU_TORI;
    return true;
  }
  if (k.kiki_sita[x.p.ou_ue_x][x.p.ou_ue_y] >= 1) {
    score = TEN_JISATSU;
    return true;
  }
  if (k.kiki_ue[kc][kr] > 0) {
    // The mate test reads the lower hand of the position itself: an upper trial leaves it
    // as it was, and a lower trial that leaves the lower king attacked is never scored here.
    if (tsumi_sita(x.p)) {
      score = x.koma == HU ? TEN_JISATSU : TEN_TSUMI;
      return true;
    }
    if (k.atari_sita[tc][tr] == -OU && k.kiki_ue[tc][tr] > 0) score += 1000;
    if (k.kiki_sita[tc][tr] <= 2 && k.himo_ue[tc][tr] == RYUU && tc != kc && tr != kr &&
        iabs(tc - kc) < 2 && iabs(tr - kr) < 2 && (k.himo_ue_x[tc][tr] == kc || k.himo_ue_y[tc][tr] == kr))
      score += 9000;
    if (k.kiki_sita[tc][tr] == 0) score += 100;
  }
  return false;
}

// The kind of move, the board scan, and coming closer to the lower king.
int te_no_shurui(const Kyoku& x) {
  int score = 0;
  if (x.fc < 0) score -= 50;
  else if (x.koma > x.s.moto_koma) score += 100;
  score += kyokumen_hyouka(x.p, x.k, x.s, x.koma, x.tc, x.tr);
  const int dc = iabs(x.tc - x.kc), dr = iabs(x.tr - x.kr);
  if (dc > dr) {
    if (x.s.kyori_mae > dc) score += 10;
  } else if (x.s.kyori_mae > dr) {
    score += 1;
  }
  return score;
}

// The piece attacking the target is pinned to the lower king and the move takes it.
int kugi_no_kougeki(const Kyoku& x) {
  const Kiki& k = x.k;
  const auto& ks = k.kiki_sita;
  const auto& ku = k.kiki_ue;
  const int tc = x.tc, tr = x.tr, kc = x.kc, kr = x.kr;
  const int ac = k.atari_sita_x[tc][tr], ar = k.atari_sita_y[tc][tr];
  const bool line = (tc != kc && ac == kc) || (tr != kr && ar == kr) ||
                    ((tc == kc || tr == kr) && ac != kc && ar != kr);
  if (ks[ac][ar] > 0 && x.s.kugi_sita[ac][ar] &&
      (ks[tc][tr] == 1 || (ks[tc][tr] == 2 && ku[kc][kr] > 0 && ku[tc][tr] > 0)) && line &&
      x.p.idou_kanou(tc, tr, ac, ar, x.s.moto_koma)) {
    // The exception needs a covering piece before the move: a square off the board
    // (no upper attacker was recorded) is not "now empty".
    const int xc = x.s.atari_ue_x_mae[ac][ar], xr = x.s.atari_ue_y_mae[ac][ar];
    const bool moved_cover = !x.uchi() && on_ban(xc, xr) && x.p.ban[xc][xr] == kara;
    if (!moved_cover) return iabs(x.p.ban[ac][ar]) * 10;
  }
  return 0;
}

// Is the target safe, and what does the move risk there?
int saki_no_anzen(const Kyoku& x) {
  const Kiki& k = x.k;
  const auto& ban = x.p.ban;
  const int tc = x.tc, tr = x.tr, kc = x.kc, kr = x.kr, koma = x.koma;
  int score = 0;
  if (k.kiki_sita[tc][tr] == 0) {
    if (koma != KAKU && koma != UMA && koma != OU && koma != HU)
      score -= kaku_kiken(x.p, x.s, tc, tr, koma) * 10;
    if (koma == KYOU || (iabs(tc - kc) < 3 && iabs(tr - kr) < 3) || (koma >= KAKU && koma <= RYUU)) {
      const int v = nigemichi_sita(x.p, k);
      if (v < x.s.nigemichi_kijun) score += (x.s.nigemichi_kijun - v) * 10;
    }
  } else if (k.kiki_ue[tc][tr] > 0) {
    if (sita_kin_gin(x.s.mochigoma_mae) && tc > 1 && tc < 9) {
      const int l = ban[tc - 1][tr], r = ban[tc + 1][tr];
      if (((l == -HISHA || l == -RYUU) && r == OU) || ((r == -HISHA || r == -RYUU) && l == OU))
        score -= koma * 10;
    }
    const int atari = iabs(k.atari_sita[tc][tr]);
    if (koma > atari) score += (atari - koma) * 10;
    if (k.atari_sita[tc][tr] == -OU && tr < kr && k.kiki_ue[kc][kr] > 0) score += koma * 10;
  } else if (x.fc < 0) {
    score -= (koma + 50) * 10;
  }
  if (ban[tc][9] == -KYOU && (tc == 1 || tc == 9) && koma != KYOU && koma != HISHA && koma != RYUU &&
      x.fc != tc)
    score -= 1;
  return score;
}

// What the move captures. Returns true when the level ends the evaluation here: level 1
// after a capture's first term, level 2 after the captures.
bool toru_koma(const Kyoku& x, int& score) {
  const Kiki& k = x.k;
  const auto& ks = k.kiki_sita;
  const auto& ku = k.kiki_ue;
  const int tc = x.tc, tr = x.tr, torareru = x.torareru, kachi = iabs(x.torareru) * 10;
  if (torareru != 0) {
    if (sita_ookoma(torareru) && x.koma <= 110) score += kachi;
    if (x.s.level == 1) return true;
    if (ks[tc][tr] > 0 && ku[tc][tr] > 0) {
      if (x.p.ban[tc][tr] < iabs(k.atari_sita[tc][tr])) score += kachi;
    }
    if (ks[tc][tr] > 0 && ku[tc][tr] == 0) {
      if (at(x.s.kiki_sita_mae, x.fc, x.fr) > 0 && nigeba_su(x.p, k, x.fc, x.fr, x.koma) == 0) score += kachi;
    }
    if (ks[tc][tr] == 0) {
      score += kachi;
      if (torareru == -TO || torareru == -NARIKYOU || torareru == -NARIKEI) score += 500;
    }
  }
  return x.s.level == 2;
}

}  // namespace

int hyouka(Kyokumen& p, const Kiki& k, const HyoukaJoutai& s, int torareru, int koma, int fc, int fr,
           int tc, int tr) {
  const Kyoku x{p, k, s, torareru, koma, fc, fr, tc, tr, p.ou_sita_x, p.ou_sita_y};
  int score = 0;
  if (kettei(x, score)) return score;
  score += te_no_shurui(x);
  score += kugi_no_kougeki(x);
  score += saki_no_anzen(x);
  if (toru_koma(x, score)) return score;
  koma_rules(x, score);
  return score;
}

}  // namespace mirado
