// The static assessments of a whole-turn position: LEVEL4's hand-set one and LEVEL5's
// fitted one. See the header.
#include "engine/keisei.h"

#include <algorithm>

#include "engine/yomi.h"
#include "engine/yomi_kihon.h"

namespace mirado {

namespace {

inline int iabs(int v) { return v < 0 ? -v : v; }

// A piece in hand can go anywhere: worth a little more than on the board.
constexpr int KACHI_TE[8] = {0, 115, 320, 380, 560, 620, 900, 1050};

// How much the attacking side threatens the king at (x, y): its reach onto the king's
// neighbourhood, the defenders' reach there, the squares left to run to, and the pieces
// in its hand that can be dropped next to the king. `ue_ou`: the king is the upper one.
int ou_kiken(const Kyokumen& p, const Kiki& k, int x, int y, bool ue_ou) {
  const auto& seme = ue_ou ? k.kiki_sita : k.kiki_ue;
  const auto& mamori = ue_ou ? k.kiki_ue : k.kiki_sita;
  const int* te = ue_ou ? p.mochigoma_sita : p.mochigoma_ue;
  int seme_su = 0, mamori_su = 0, nigeba = 0, aki = 0;
  for (int dc = -1; dc <= 1; ++dc)
    for (int dr = -1; dr <= 1; ++dr) {
      const int c = x + dc, r = y + dr;
      if (!on_ban(c, r)) continue;
      seme_su += seme[c][r];
      if (dc == 0 && dr == 0) continue;
      mamori_su += mamori[c][r] > 0 ? 1 : 0;
      const int v = p.ban[c][r];
      const bool jibun = ue_ou ? v >= 10 : v <= -10;
      if (!jibun && seme[c][r] == 0) ++nigeba;
      if (v == kara && seme[c][r] == 0 && mamori[c][r] == 0) ++aki;
    }
  const int uchi = te[4] + te[5] + te[6] + te[7];  // silvers, golds, bishops, rooks
  int kiken = 28 * seme_su - 6 * mamori_su;
  if (seme_su > 0) kiken += 22 * uchi + 6 * aki * (uchi > 0 ? 1 : 0);
  if (nigeba < 2) kiken += 25 * (2 - nigeba) * (seme_su > 0 ? 2 : 1);
  return kiken > 0 ? kiken : 0;
}

}  // namespace

int keisei(const Kyokumen& p) {
  const Kiki& k = p.kiki();
  if (!ue_ou_ari(p)) return YOMI_KACHI;
  if (!sita_ou_ari(p)) return -YOMI_KACHI;
  // The waiting side left its king where the mover takes it with its first move.
  if (k.kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0) return YOMI_KACHI - 1;
  int v = 0;
  int g1 = 0, g2 = 0;  // the mover's two best captures
  int h1 = 0;          // the mover's dearest piece left hanging
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int x = p.ban[c][r];
      if (x <= -10) {
        const int w = koma_kachi(-x);
        v += w;
        if (x != -OU && k.kiki_ue[c][r] > 0 && k.kiki_sita[c][r] == 0) h1 = std::max(h1, w);
      } else if (x >= 10) {
        const int w = koma_kachi(x);
        v -= w;
        if (x == OU || k.kiki_sita[c][r] == 0) continue;
        int gain;
        if (k.kiki_ue[c][r] == 0) {
          gain = w;
        } else {
          // Defended: the exchange, or more when the one defender can be moved away by
          // the mover's second move.
          const int a = koma_kachi(iabs(k.atari_sita[c][r]));
          gain = std::max(0, w - a);
          if (k.kiki_ue[c][r] == 1 && k.himo_ue[c][r] != OU) gain = std::max(gain, w / 2);
          if (iabs(k.atari_sita[c][r]) == OU) gain = 0;  // the king may not take a guarded piece
        }
        if (gain > g1) {
          g2 = g1;
          g1 = gain;
        } else if (gain > g2) {
          g2 = gain;
        }
      }
    }
  for (int s = 1; s <= 7; ++s) v += (p.mochigoma_sita[s] - p.mochigoma_ue[s]) * KACHI_TE[s];
  v += g1 * 3 / 4 + g2 / 4 - h1 / 8;
  v += ou_kiken(p, k, p.ou_ue_x, p.ou_ue_y, true);
  v -= ou_kiken(p, k, p.ou_sita_x, p.ou_sita_y, false) / 2;
  // The mover's own king attacked: its first move must be spent getting out.
  if (k.kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0) v -= 60;
  return v;
}

// ---------------------------------------------------------------------------------------
// LEVEL5's assessment

// Fitted by tools/fit_keisei.sh (seed 1: 2000 games of LEVEL5 against itself at 2000 and
// 1500 nodes a search, 1951 of them decided; 49,555 positions).
const int KEISEI_OMOMI[KEISEI_SO_SU] = {
    69, 506, 100, 199, 244, 441, 262, 463, 451, 1085, 1571, 780, 1671,  // on the board
    3, 442, 382, 554, 714, 1467, 1170,                                  // in hand
    267, 42, 184, 266, 6,                                               // the kings
    -23, 2, -5,                                                         // camp, hanging, check
    1, 24, 91,                                                          // massed attack, guards
};
const int KEISEI_TEBAN = 347;

namespace {

// Feature slot of a piece on the board by its magnitude; -1 for the king.
int ban_so(int a) {
  switch (a) {
    case HU: return 0;
    case TO: return 1;
    case KYOU: return 2;
    case NARIKYOU: return 3;
    case KEI: return 4;
    case NARIKEI: return 5;
    case GIN: return 6;
    case NARIGIN: return 7;
    case KIN: case NARIKIN: return 8;
    case KAKU: return 9;
    case UMA: return 10;
    case HISHA: return 11;
    case RYUU: return 12;
    default: return -1;
  }
}

// How the side `seme` threatens the other side's king at (x, y), by the king features.
struct OuKiken {
  int seme = 0, mamori = 0, fusoku = 0, uchi = 0, aki = 0;
  int semegoma = 0;  // attacking pieces within two squares
  int kakoi = 0;     // the king's own golds and silvers next to it
};

OuKiken ou_kiken_so(const Kyokumen& p, int x, int y, bool ue_ou) {
  const Kiki& k = p.kiki();
  const auto& seme = ue_ou ? k.kiki_sita : k.kiki_ue;
  const auto& mamori = ue_ou ? k.kiki_ue : k.kiki_sita;
  const int* te = ue_ou ? p.mochigoma_sita : p.mochigoma_ue;
  OuKiken o;
  int nigeba = 0, aki = 0;
  for (int dc = -1; dc <= 1; ++dc)
    for (int dr = -1; dr <= 1; ++dr) {
      const int c = x + dc, r = y + dr;
      if (!on_ban(c, r)) continue;
      o.seme += seme[c][r];
      if (dc == 0 && dr == 0) continue;
      o.mamori += mamori[c][r] > 0 ? 1 : 0;
      const int v = p.ban[c][r];
      const bool jibun = ue_ou ? v >= 10 : v <= -10;
      if (!jibun && seme[c][r] == 0) ++nigeba;
      if (v == kara && seme[c][r] == 0 && mamori[c][r] == 0) ++aki;
    }
  o.fusoku = std::max(0, 2 - nigeba);
  for (int c = x - 2; c <= x + 2; ++c)
    for (int r = y - 2; r <= y + 2; ++r) {
      if (!on_ban(c, r)) continue;
      const int v = p.ban[c][r];
      const bool teki = ue_ou ? v <= -10 : v >= 10;
      const bool jibun = ue_ou ? v >= 10 : v <= -10;
      if (teki) ++o.semegoma;
      const int a = v < 0 ? -v : v;
      if (jibun && c >= x - 1 && c <= x + 1 && r >= y - 1 && r <= y + 1 && (a == KIN || a == GIN || a == NARIGIN))
        ++o.kakoi;
    }
  if (o.seme > 0) {
    o.uchi = te[4] + te[5] + te[6] + te[7];  // silvers, golds, bishops, rooks
    o.aki = o.uchi > 0 ? aki : 0;
  }
  return o;
}

}  // namespace

void keisei_so(const Kyokumen& p, int (&so)[KEISEI_SO_SU]) {
  std::fill(so, so + KEISEI_SO_SU, 0);
  const Kiki& k = p.kiki();
  int atari_ue = 0, atari_sita = 0;  // dearest piece of each side attacked and unguarded
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int x = p.ban[c][r];
      if (x <= -10) {
        const int i = ban_so(-x);
        if (i < 0) continue;
        ++so[SO_BAN + i];
        if (r <= 3) ++so[SO_TEKIJIN];
        if (k.kiki_ue[c][r] > 0 && k.kiki_sita[c][r] == 0) atari_sita = std::max(atari_sita, koma_kachi(-x));
      } else if (x >= 10) {
        const int i = ban_so(x);
        if (i < 0) continue;
        --so[SO_BAN + i];
        if (r >= 7) --so[SO_TEKIJIN];
        if (k.kiki_sita[c][r] > 0 && k.kiki_ue[c][r] == 0) atari_ue = std::max(atari_ue, koma_kachi(x));
      }
    }
  for (int s = 1; s <= 7; ++s) so[SO_TE + s - 1] = p.mochigoma_sita[s] - p.mochigoma_ue[s];
  const OuKiken ue = ou_kiken_so(p, p.ou_ue_x, p.ou_ue_y, true);
  const OuKiken sita = ou_kiken_so(p, p.ou_sita_x, p.ou_sita_y, false);
  so[SO_OU_SEME] = ue.seme - sita.seme;
  so[SO_OU_MAMORI] = sita.mamori - ue.mamori;
  so[SO_OU_NIGEBA] = ue.fusoku - sita.fusoku;
  so[SO_OU_UCHI] = ue.uchi - sita.uchi;
  so[SO_OU_AKI] = ue.aki - sita.aki;
  so[SO_OU_SEME2] = std::min(ue.seme, 12) * std::min(ue.seme, 12) - std::min(sita.seme, 12) * std::min(sita.seme, 12);
  so[SO_OU_SEMEGOMA] = ue.semegoma - sita.semegoma;
  so[SO_OU_KAKOI] = sita.kakoi - ue.kakoi;
  // Weighed in tenths of a pawn, so that a weight near 10 counts the piece whole.
  so[SO_ATARI] = (atari_ue - atari_sita) / 10;
  so[SO_OUTE] = (k.kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0 ? 1 : 0) - (k.kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0 ? 1 : 0);
}

int keisei_sa(const Kyokumen& p) {
  int so[KEISEI_SO_SU];
  keisei_so(p, so);
  int v = 0;
  for (int i = 0; i < KEISEI_SO_SU; ++i) v += KEISEI_OMOMI[i] * so[i];
  return v;
}

int keisei5(const Kyokumen& p) {
  if (!ue_ou_ari(p)) return YOMI_KACHI;
  if (!sita_ou_ari(p)) return -YOMI_KACHI;
  // The waiting side left its king where the mover takes it with its first move.
  if (p.kiki().kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0) return YOMI_KACHI - 1;
  return keisei_sa(p) + KEISEI_TEBAN;
}

}  // namespace mirado
