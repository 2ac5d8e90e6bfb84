// The computer's moves on a game: one procedure of its turn, the record entry of the
// move it chose, and its whole turn without a window.
#include "taikyoku/taikyoku.h"

namespace mirado {

ComTe Taikyoku::com_ban(Dankai tejun, const ComHooks& hooks, KouhoKiroku* kiroku,
                        const Sashite* keikaku) {
  ComSettei settei{j_.level, j_.santeme};
  if (keikaku)
    for (int i = 1; i <= 3; ++i) settei.keikaku[i] = keikaku[i];
  const ComTe r = com_te(j_.pos, settei, tejun, hooks, kiroku);
  if (!r.te.ari) return r;
  ou_tori(r.torareru);
  const Te& te = r.te.te;
  if (tejun == Dankai::ichi) j_.santeme.ichite_x = te.tc, j_.santeme.ichite_y = te.tr;
  else if (tejun == Dankai::ni) j_.santeme.nite_x = te.tc, j_.santeme.nite_y = te.tr;
  return r;
}

double Taikyoku::com_kiroku(const Sashite& m, double now) {
  const double jikan = jikan_hakaru(now);
  kiroku(m.te, m.moto_koma, j_.jikan_sita, j_.jikan_ue + jikan);
  ++j_.tesuu;
  return jikan;
}

void Taikyoku::com_tejun_owari(double jikan, double now) {
  j_.jikan_ue += jikan;
  j_.jikan_kaishi = now;
  j_.teban = j_.sita_gawa;
}

void Taikyoku::com_kachi(bool tsumi) {
  if (tsumi) j_.shuukyoku = kachi(j_.ue_gawa);
  else j_.teban = j_.sita_gawa;
}

void ComTurn::run(Taikyoku& t, int only) {
  for (int proc = 1; proc <= 3; ++proc) {
    if (only != 0 && proc != only) continue;
    if (t.owatta()) return;
    ran[proc] = true;
    te[proc] = t.com_ban(static_cast<Dankai>(proc), {}, kiroku[proc], keikaku);
    if (te[proc].ue_tsumi) tsumi_ue = true;
    if (te[proc].sita_tsumi) t.com_kachi(true);
  }
}

YomiKekka com_turn_yomi(ComTurn& turn, Taikyoku& t, Yomi& yomi, const YomiSettei& settei, int only) {
  const int first = only >= 1 && only <= 3 ? only : 1;
  YomiKekka kekka =
      yomi.sagasu(t.pos(), settei, first, t.ichite_x(), t.ichite_y(), t.nite_x(), t.nite_y());
  for (int i = 0; i < kekka.turn.n; ++i) {
    const int proc = kekka.turn.dankai[i];
    if (only == 0 || proc == only) turn.keikaku[proc] = kekka.turn.te[i];
  }
  turn.run(t, only);
  return kekka;
}

}  // namespace mirado
