#include "rules/ugoki.h"

#ifndef NDEBUG
#include <cstdio>
#include <cstdlib>
#endif

namespace mirado {

namespace {

// A captured piece counts in the capturer's total; a king has no slot to go to.
void tori_kazoeru(Kyokumen& p, int torareru, int delta) {
  if (!is_koma(torareru)) return;
  const bool sita_ga_toru = is_ue(torareru);
  (sita_ga_toru ? p.mochigoma_su_sita : p.mochigoma_su_ue) += delta;
  if (const int slot = mochigoma_slot(torareru); slot != 0)
    (sita_ga_toru ? p.mochigoma_sita : p.mochigoma_ue)[slot] += delta;
}

#ifndef NDEBUG
void kensa(const Kyokumen& p, const char* doko) {
  if (const std::string fusei = kyokumen_fusei(p); !fusei.empty()) {
    std::fprintf(stderr, "%s: the position is unsound: %s\n", doko, fusei.c_str());
    std::abort();
  }
}
#endif

}  // namespace

// Only a pawn arriving, leaving or being taken changes a column's flags; a move along
// one column recounts it once.
void Kyokumen::fu_suji_naosu(const Te& te, int moto_koma, int torareru) {
  if (koma_abs(moto_koma) != HU && koma_abs(te.koma) != HU && koma_abs(torareru) != HU) return;
  fu_suji_keisan(te.fc);
  if (te.tc != te.fc) fu_suji_keisan(te.tc);
}

TeModoshi do_move(Kyokumen& p, const Te& te) {
  TeModoshi m;
  m.te = te;
  m.ban_no = p.ban_no_;

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
  p.fu_suji_naosu(te, m.moto_koma, torareru);
  p.kawatta();
#ifndef NDEBUG
  // The mate tests' stand-in drop names no hand slot: the hands add up once it is taken back.
  if (!is_uchi(te.fc) || (te.fr >= 1 && te.fr <= 7)) kensa(p, "do_move");
#endif
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
  p.fu_suji_naosu(te, m.moto_koma, m.torareru);
  // The board takes back its number from before the move: maps drawn for it then and not
  // drawn over since are good again. A record entry's TeModoshi carries no number.
  if (m.ban_no != 0) p.ban_no_ = m.ban_no;
  else p.kawatta();
#ifndef NDEBUG
  kensa(p, "undo_move");
#endif
}

}  // namespace mirado
