#include "taikyoku/taikyoku.h"

namespace mirado {

void Taikyoku::ou_tori(int torareru) {
  if (torareru == OU) shuukyoku = sita_gawa;
  else if (torareru == -OU) shuukyoku = ue_gawa;
}

Taikyoku sente_taikyoku(const Kyokumen& p, int level) {
  Taikyoku t;
  t.pos = p;
  t.sita_gawa = t.sente_gawa;
  t.ue_gawa = t.gote_gawa;
  t.level = level;
  kiki_keisan(t.pos.ban, t.kiki);
  return t;
}

ComTe com_ban(Taikyoku& t, Tejun tejun, const ComHooks& hooks, KouhoKiroku* kiroku) {
  const ComTe r = com_te(t.pos, t.kiki, ComSettei{t.level, t.ichite_x, t.ichite_y, t.nite_x, t.nite_y}, tejun,
                         hooks, kiroku);
  if (!r.te.ari) return r;
  t.ou_tori(r.torareru);
  if (tejun == Tejun::ichi) t.ichite_x = r.te.tc, t.ichite_y = r.te.tr;
  else if (tejun == Tejun::ni) t.nite_x = r.te.tc, t.nite_y = r.te.tr;
  return r;
}

void ComTurn::run(Taikyoku& t, int only) {
  for (int proc = 1; proc <= 3; ++proc) {
    if (only != 0 && proc != only) continue;
    if (t.shuukyoku != 0) return;
    ran[proc] = true;
    te[proc] = com_ban(t, static_cast<Tejun>(proc), {}, kiroku[proc]);
    if (te[proc].ue_tsumi) tsumi_ue = true;
    if (te[proc].sita_tsumi) t.shuukyoku = t.ue_gawa;
  }
}

}  // namespace mirado
