// Destinations walked from the piece, reach looked for from the square; both give the
// answers of idou_kanou and of the maps' counts, which the rules tests compare them with.
#include "rules/ikisaki.h"

namespace mirado {

namespace {

// Would a target holding `v` be the mover's own piece? (idou_kanou's test, to the letter)
inline bool jibun_no(int code, int v) { return code >= 10 ? v >= 10 : v <= -10; }

struct Aruki {
  const Kyokumen& p;
  int code;
  int c, r;
  Masume m;

  void step(int dc, int dr) {
    const int tc = c + dc, tr = r + dr;
    if (on_ban(tc, tr) && !jibun_no(code, p.ban[tc][tr])) m.ireru(tc, tr);
  }
  // Every empty square up the ray and the first piece met when it is the other side's.
  void ray(int dc, int dr) {
    for (int tc = c + dc, tr = r + dr; on_ban(tc, tr); tc += dc, tr += dr) {
      const int v = p.ban[tc][tr];
      if (jibun_no(code, v)) return;
      m.ireru(tc, tr);
      if (v != kara) return;
    }
  }
  void yoko_tate() { ray(0, 1), ray(0, -1), ray(1, 0), ray(-1, 0); }
  void naname() { ray(1, 1), ray(1, -1), ray(-1, 1), ray(-1, -1); }
  void mawari() {
    for (int dc = -1; dc <= 1; ++dc)
      for (int dr = -1; dr <= 1; ++dr)
        if (dc != 0 || dr != 0) step(dc, dr);
  }
};

}  // namespace

Masume ikisaki(const Kyokumen& p, int c, int r, int code) {
  Aruki a{p, code, c, r, {}};
  const int f = code > 0 ? 1 : -1;  // forward one row for the moving side
  switch (code) {
    case HU: case -HU:
      a.step(0, f);
      break;
    case KYOU: case -KYOU:
      a.ray(0, f);
      break;
    case KEI: case -KEI:
      a.step(-1, 2 * f), a.step(1, 2 * f);
      break;
    case GIN: case -GIN:
      a.step(-1, f), a.step(0, f), a.step(1, f), a.step(-1, -f), a.step(1, -f);
      break;
    case KIN: case -KIN: case TO: case -TO: case NARIKYOU: case -NARIKYOU:
    case NARIKEI: case -NARIKEI: case NARIGIN: case -NARIGIN:
      a.step(-1, f), a.step(0, f), a.step(1, f), a.step(-1, 0), a.step(1, 0), a.step(0, -f);
      break;
    case KAKU: case -KAKU:
      a.naname();
      break;
    case HISHA: case -HISHA:
      a.yoko_tate();
      break;
    case UMA: case -UMA:
      a.mawari(), a.naname();
      break;
    case RYUU: case -RYUU:
      a.mawari(), a.yoko_tate();
      break;
    case OU: case -OU:
      a.mawari();
      break;
    default:
      // idou_kanou's provisional yes for a code of no row: every square but its own.
      for (int tc = 1; tc <= 9; ++tc)
        for (int tr = 1; tr <= 9; ++tr)
          if ((tc != c || tr != r) && !jibun_no(code, p.ban[tc][tr])) a.m.ireru(tc, tr);
      break;
  }
  return a.m;
}

namespace {

// Does the attacker's piece of magnitude `a` reach a neighbouring square `mae` rows
// forward (for it) and `yoko` columns aside, by a step?
inline bool tonari_ni_todoku(int a, int yoko, int mae) {
  switch (a) {
    case HU: case KYOU: case HISHA: return yoko == 0 && mae == 1;
    case GIN: return mae == 1 || (mae == -1 && yoko != 0);
    case KIN: case TO: case NARIKYOU: case NARIKEI: case NARIGIN: return mae >= 0 || yoko == 0;
    case OU: case UMA: case RYUU: return true;
    default: return false;
  }
}

}  // namespace

bool kiki_ari(const int (&ban)[10][10], bool sita, int c, int r) {
  if (!on_ban(c, r)) return false;
  const int sgn = sita ? -1 : 1;  // the attacker's codes are sgn * magnitude
  const int f = sita ? -1 : 1;    // and it moves forward by f rows
  const int teki_ou = sita ? OU : -OU;
  // A knight two rows behind, one column aside.
  for (const int ec : {-1, 1}) {
    const int kc = c + ec, kr = r - 2 * f;
    if (on_ban(kc, kr) && ban[kc][kr] == sgn * KEI) return true;
  }
  for (int ec = -1; ec <= 1; ++ec) {
    for (int er = -1; er <= 1; ++er) {
      if (ec == 0 && er == 0) continue;
      const bool naname = ec != 0 && er != 0;
      int qc = c + ec, qr = r + er;
      if (!on_ban(qc, qr)) continue;
      // The neighbour moves by (-ec, -er): -er * f rows forward for it.
      if (const int a = sgn * ban[qc][qr]; a >= 10 && tonari_ni_todoku(a, ec, -er * f)) return true;
      // Along the ray: empty squares and the other side's king let the reach through.
      while (ban[qc][qr] == kara || ban[qc][qr] == teki_ou) {
        qc += ec, qr += er;
        if (!on_ban(qc, qr)) break;
      }
      if (!on_ban(qc, qr)) continue;
      const int a = sgn * ban[qc][qr];
      if (naname ? (a == KAKU || a == UMA) : (a == HISHA || a == RYUU || (a == KYOU && ec == 0 && er == -f)))
        return true;
    }
  }
  return false;
}

}  // namespace mirado
