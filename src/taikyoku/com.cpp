// The computer's moves on a game: one procedure of its turn decided and played, with
// its record entry and what came of it, LEVEL4's plan, and its whole turn without a window.
#include "taikyoku/taikyoku.h"

namespace mirado {

ComSettei Taikyoku::com_settei(const Sashite* keikaku) const {
  ComSettei settei{j_.level, j_.santeme};
  if (keikaku)
    for (int i = 1; i <= 3; ++i) settei.keikaku[i] = keikaku[i];
  return settei;
}

Sashite Taikyoku::com_erabu(Dankai tejun, KouhoKiroku* kiroku, const Sashite* keikaku) const {
  Kyokumen p = j_.pos;  // the search tries its moves on its own board
  return mirado::com_erabu(p, com_settei(keikaku), tejun, kiroku);
}

ComKekka Taikyoku::com_sasu(Dankai tejun, const Sashite& m, double jikan) {
  ComKekka r;
  r.te.te = m;
  if (!m.ari) return r;
  kiroku(m.te, m.moto_koma, j_.jikan_sita, j_.jikan_ue + jikan);
  ++j_.tesuu;
  r.te = mirado::com_sasu(j_.pos, m, tejun);
  ou_tori(r.te.torareru);
  const Te& te = m.te;
  if (tejun == Dankai::ichi) j_.santeme.ichite_x = te.tc, j_.santeme.ichite_y = te.tr;
  else if (tejun == Dankai::ni) j_.santeme.nite_x = te.tc, j_.santeme.nite_y = te.tr;
  const Kyokumen& p = j_.pos;
  if (tejun != Dankai::ni) {
    // The first and third moves are the computer's own pieces.
    if (r.te.sita_tsumi) {
      j_.shuukyoku = kachi(j_.ue_gawa);
      r.kessaku = ComKessaku::com_tsumi;
    } else if (shousha() == j_.ue_gawa) {
      j_.teban = j_.sita_gawa;
      r.kessaku = ComKessaku::com_tori;
    } else if (p.kiki().kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0) {
      r.kessaku = ComKessaku::oute;
    }
  } else if (r.te.ue_tsumi) {
    r.kessaku = ComKessaku::ue_tsumi;
  } else if (shousha() == j_.sita_gawa) {
    j_.teban = j_.sita_gawa;
    r.kessaku = ComKessaku::ningen_tori;
  } else if (p.kiki().kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0) {
    r.kessaku = ComKessaku::oute;
  }
  return r;
}

void Taikyoku::com_tejun_owari(double jikan, double now) {
  j_.jikan_ue += jikan;
  j_.jikan_kaishi = now;
  j_.teban = j_.sita_gawa;
}

void ComTurn::run(Taikyoku& t, int only) {
  for (int proc = 1; proc <= 3; ++proc) {
    if (only != 0 && proc != only) continue;
    if (t.owatta()) return;
    ran[proc] = true;
    const ComKekka r = t.com_ban(static_cast<Dankai>(proc), kiroku[proc], keikaku);
    te[proc] = r.te;
    kessaku[proc] = r.kessaku;
  }
}

YomiKekka com_keikaku(Yomi& yomi, const Kyokumen& p, const YomiSettei& settei, int kara,
                      const Santeme& s, Sashite keikaku[4], int only) {
  const YomiKekka kekka = yomi.sagasu(p, settei, kara, s.ichite_x, s.ichite_y, s.nite_x, s.nite_y);
  for (int i = 0; i < kekka.turn.n; ++i) {
    const int proc = kekka.turn.dankai[i];
    if (only == 0 || proc == only) keikaku[proc] = kekka.turn.te[i];
  }
  return kekka;
}

YomiKekka com_turn_yomi(ComTurn& turn, Taikyoku& t, Yomi& yomi, const YomiSettei& settei, int only) {
  const int first = only >= 1 && only <= 3 ? only : 1;
  const YomiKekka kekka = com_keikaku(yomi, t.pos(), settei, first, t.santeme(), turn.keikaku, only);
  turn.run(t, only);
  return kekka;
}

}  // namespace mirado
