#include "rules/ugoki.h"

namespace mirado {

namespace {

// Flags of one column recounted from the board; a column out of range is left alone.
void fu_suji_retsu(Kyokumen& p, int c) {
  if (c < 1 || c > 9) return;
  int sita = 0, ue = 0;
  for (int r = 1; r <= 9; ++r) {
    sita |= p.ban[c][r] == -HU;
    ue |= p.ban[c][r] == HU;
  }
  p.fu_suji_sita[c] = sita;
  p.fu_suji_ue[c] = ue;
}

// The flags' index of a column; a drop's hand column shares the unused index 0.
int retsu(int c) { return c >= 1 && c <= 9 ? c : 0; }

// A captured piece counts in the capturer's total; a king has no slot to go to.
void tori_kazoeru(Kyokumen& p, int torareru, int delta) {
  if (!is_koma(torareru)) return;
  const bool sita_ga_toru = is_ue(torareru);
  (sita_ga_toru ? p.mochigoma_su_sita : p.mochigoma_su_ue) += delta;
  if (const int slot = mochigoma_slot(torareru); slot != 0)
    (sita_ga_toru ? p.mochigoma_sita : p.mochigoma_ue)[slot] += delta;
}

}  // namespace

TeModoshi do_move(Kyokumen& p, const Te& te) {
  TeModoshi m;
  m.te = te;
  const int fcol = retsu(te.fc), tcol = retsu(te.tc);
  m.fu_sita[0] = p.fu_suji_sita[fcol];
  m.fu_ue[0] = p.fu_suji_ue[fcol];
  m.fu_sita[1] = p.fu_suji_sita[tcol];
  m.fu_ue[1] = p.fu_suji_ue[tcol];

  const int torareru = p.ban[te.tc][te.tr];
  m.torareru = torareru;
  tori_kazoeru(p, torareru, +1);

  if (te.fc == TE_UE || te.fc == TE_SITA) {
    const bool ue = te.fc == TE_UE;
    m.moto_koma = te.koma;
    --(ue ? p.mochigoma_su_ue : p.mochigoma_su_sita);
    if (te.fr >= 1 && te.fr <= 7) --(ue ? p.mochigoma_ue : p.mochigoma_sita)[te.fr];
  } else {
    m.moto_koma = p.ban[te.fc][te.fr];
    p.ban[te.fc][te.fr] = kara;
  }
  p.ban[te.tc][te.tr] = te.koma;

  if (te.koma == -OU) {
    m.ou_x = p.ou_sita_x, m.ou_y = p.ou_sita_y;
    p.ou_sita_x = te.tc, p.ou_sita_y = te.tr;
  } else if (te.koma == OU) {
    m.ou_x = p.ou_ue_x, m.ou_y = p.ou_ue_y;
    p.ou_ue_x = te.tc, p.ou_ue_y = te.tr;
  }
  // Only a pawn arriving, leaving or being taken changes a column's flags; a move along
  // one column recounts it once.
  if (koma_abs(m.moto_koma) == HU || koma_abs(te.koma) == HU || koma_abs(torareru) == HU) {
    fu_suji_retsu(p, fcol);
    if (tcol != fcol) fu_suji_retsu(p, tcol);
  }
  return m;
}

void undo_move(Kyokumen& p, const TeModoshi& m) {
  const Te& te = m.te;
  if (te.koma == -OU) p.ou_sita_x = m.ou_x, p.ou_sita_y = m.ou_y;
  else if (te.koma == OU) p.ou_ue_x = m.ou_x, p.ou_ue_y = m.ou_y;

  p.ban[te.tc][te.tr] = m.torareru;
  if (te.fc == TE_UE || te.fc == TE_SITA) {
    const bool ue = te.fc == TE_UE;
    ++(ue ? p.mochigoma_su_ue : p.mochigoma_su_sita);
    if (te.fr >= 1 && te.fr <= 7) ++(ue ? p.mochigoma_ue : p.mochigoma_sita)[te.fr];
  } else {
    p.ban[te.fc][te.fr] = m.moto_koma;
  }

  tori_kazoeru(p, m.torareru, -1);

  const int fcol = retsu(te.fc), tcol = retsu(te.tc);
  p.fu_suji_sita[tcol] = m.fu_sita[1];
  p.fu_suji_ue[tcol] = m.fu_ue[1];
  p.fu_suji_sita[fcol] = m.fu_sita[0];
  p.fu_suji_ue[fcol] = m.fu_ue[0];
}

}  // namespace mirado
