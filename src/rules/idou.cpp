// How each piece moves and where it may be dropped; promotion.
#include "rules/kyokumen.h"

namespace mirado {

namespace {
constexpr int kShokiUe1[10] = {0, KYOU, KEI, GIN, KIN, OU, KIN, GIN, KEI, KYOU};
}

void Kyokumen::kara_ni() {
  for (auto& col : ban)
    for (int& sq : col) sq = kara;
  for (int k = 0; k < 8; ++k) mochigoma_sita[k] = mochigoma_ue[k] = 0;
  shiage();
}

void Kyokumen::shoki_haichi() {
  kara_ni();
  for (int c = 1; c <= 9; ++c) {
    ban[c][1] = kShokiUe1[c];
    ban[c][3] = HU;
    ban[c][7] = -HU;
    ban[c][9] = -kShokiUe1[c];
  }
  ban[2][2] = HISHA;
  ban[8][2] = KAKU;
  ban[2][8] = -KAKU;
  ban[8][8] = -HISHA;
  shiage();
}

void Kyokumen::oku(int c, int r, int code) {
  ban[c][r] = code;
  shiage();
}

void Kyokumen::shiage() {
  mochigoma_su_sita = mochigoma_su_ue = 0;
  for (int k = 1; k <= 7; ++k) {
    if (mochigoma_sita[k] > 0) mochigoma_su_sita += mochigoma_sita[k];
    if (mochigoma_ue[k] > 0) mochigoma_su_ue += mochigoma_ue[k];
  }
  fu_suji_keisan();
  ou_ichi_keisan();
  kawatta();
}

void Kyokumen::ou_ichi_keisan() {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      if (ban[c][r] == -OU) ou_sita_x = c, ou_sita_y = r;
      else if (ban[c][r] == OU) ou_ue_x = c, ou_ue_y = r;
    }
}

void Kyokumen::fu_suji_keisan() {
  for (int c = 1; c <= 9; ++c) fu_suji_keisan(c);
}

bool Kyokumen::hisha_michi(int fc, int fr, int tc, int tr) const {
  if (fc != tc && fr != tr) return false;
  if (fc == tc) {
    const int step = tr > fr ? 1 : -1;
    for (int r = fr + step; r != tr; r += step)
      if (ban[fc][r] != kara) return false;
  } else {
    const int step = tc > fc ? 1 : -1;
    for (int c = fc + step; c != tc; c += step)
      if (ban[c][fr] != kara) return false;
  }
  return true;
}

bool Kyokumen::kaku_michi(int fc, int fr, int tc, int tr) const {
  const int dc = tc - fc, dr = tr - fr;
  if (dc != dr && dc != -dr) return false;
  if (dc == 0) return true;  // source = target never reaches here from idou_kanou
  const int sc = dc > 0 ? 1 : -1, sr = dr > 0 ? 1 : -1;
  for (int c = fc + sc, r = fr + sr; c != tc; c += sc, r += sr)
    if (ban[c][r] != kara) return false;
  return true;
}

bool Kyokumen::idou_kanou(int fc, int fr, int tc, int tr, int code) const {
  if (tc < 1 || tc > 9 || tr < 1 || tr > 9) return false;
  if (fc == tc && fr == tr) return false;
  const int target = ban[tc][tr];
  if ((code >= 10 && target >= 10) || (code < 10 && target <= -10)) return false;

  if (fc == TE_SITA || fc == TE_UE) {
    if (target != kara) return false;
    if (code == -HU && fu_suji_sita[tc]) return false;
    if (code == HU && fu_suji_ue[tc]) return false;
    // A pawn, lance or knight counts as dropped only from its own side's hand column;
    // from the other column it would be a board move from off the board, which never fits.
    switch (code) {
      case HU: case KYOU: return fc == TE_UE && tr != 9;
      case -HU: case -KYOU: return fc == TE_SITA && tr != 1;
      case KEI: return fc == TE_UE && tr < 8;
      case -KEI: return fc == TE_SITA && tr > 2;
      default: return true;
    }
  }

  const int dc = tc - fc, dr = tr - fr;
  const int adc = dc < 0 ? -dc : dc, adr = dr < 0 ? -dr : dr;
  const int fwd = code > 0 ? 1 : -1;  // forward one step for the moving side
  switch (code) {
    case HU: case -HU:
      return dc == 0 && dr == fwd;
    case KYOU: case -KYOU:
      if (dc != 0 || dr == 0 || (dr > 0) != (fwd > 0)) return false;
      for (int r = fr + fwd; r != tr; r += fwd)
        if (ban[fc][r] != kara) return false;
      return true;
    case KEI: case -KEI:
      return dr == 2 * fwd && adc == 1;
    case GIN: case -GIN:
      return adc <= 1 && (dr == fwd || (dr == -fwd && dc != 0));
    case KIN: case -KIN: case TO: case -TO: case NARIKYOU: case -NARIKYOU:
    case NARIKEI: case -NARIKEI: case NARIGIN: case -NARIGIN:
      return (adc <= 1 && (dr == 0 || dr == fwd)) || (dc == 0 && dr == -fwd);
    case KAKU: case -KAKU:
      return kaku_michi(fc, fr, tc, tr);
    case UMA: case -UMA:
      if (adc <= 1 && adr <= 1) return true;
      return kaku_michi(fc, fr, tc, tr);
    case HISHA: case -HISHA:
      return hisha_michi(fc, fr, tc, tr);
    case RYUU: case -RYUU:
      if (adc <= 1 && adr <= 1) return true;
      return hisha_michi(fc, fr, tc, tr);
    case OU: case -OU:
      return adc <= 1 && adr <= 1;
    default:
      return true;  // no row of the table matches: the provisional answer stands
  }
}

bool narazu_kanou(int to_row, int code) {
  switch (code) {
    case HU: case KYOU: return to_row != 9;
    case KEI: return to_row < 8;
    case -HU: case -KYOU: return to_row != 1;
    case -KEI: return to_row > 2;
    default: return true;
  }
}

bool naru_kanou(int from_col, int from_row, int to_row, int code, int& nari_koma) {
  if (from_col == TE_UE || from_col == TE_SITA) return false;
  bool can = false;
  switch (code) {
    case -HU: case -KYOU: case -KEI: can = to_row <= 3; break;
    case -GIN: case -KAKU: case -HISHA: can = to_row <= 3 || from_row <= 3; break;
    case HU: case KYOU: case KEI: can = to_row >= 7; break;
    case GIN: case KAKU: case HISHA: can = to_row >= 7 || from_row >= 7; break;
    default: break;
  }
  if (!can) return false;
  nari_koma = code < 0 ? code - 1 : code + 1;
  return true;
}

}  // namespace mirado
