#include "taikyoku/taikyoku.h"

#include "kifu/kensa.h"

namespace mirado {

void Taikyoku::ou_tori(int torareru) {
  if (torareru == OU) shuukyoku = sita_gawa;
  else if (torareru == -OU) shuukyoku = ue_gawa;
}

void Taikyoku::shinki() {
  // Moves played after a flip or a handicap start from another position: replayed onto
  // the normal start they would be wrong.
  if (hanten_zumi || handicap_zumi) kifu.kifu_nagasa = 0;
  dankai = 1;
  handicap = 0;
  handicap_zumi = false;
  hanten_zumi = false;
  te_tochuu = false;
  taikyoku_shu = TaikyokuShu::ningen;
  shuukyoku = 0;
  teban = 0;
  kifu.kifu_ichi = 0;
  tesuu = 0;
  jikan_ue = 0;
  jikan_sita = 0;
  saikai_machi = false;
  saisei_chu = false;
  pos.shoki_haichi();
}

void Taikyoku::kifu_yomikomi(const std::vector<KifuEntry>& entries) {
  saisei_chu = true;
  kifu.set_entries(entries);
  tesuu = 0;
  if (entries.empty()) return;
  sente_gawa = 1;
  gote_gawa = -1;
  if (entries.front().moto_koma >= 10) {  // the upper pieces moved first, as after GOTE
    taikyoku_shu = TaikyokuShu::com;
    ue_gawa = 1;
    sita_gawa = -1;
  } else {  // the lower pieces moved first, as after START
    taikyoku_shu = TaikyokuShu::ningen;
    sita_gawa = 1;
    ue_gawa = -1;
  }
  teban = sente_gawa;
  teban_nushi = teban;
}

std::string kifu_sasenai(const std::vector<KifuEntry>& entries) {
  Taikyoku t;
  t.shinki();
  t.kifu_yomikomi(entries);
  while (t.shuukyoku == 0 && t.kifu.kifu_ichi < t.kifu.kifu_nagasa)
    if (std::string naze = t.kifu_susumu(); !naze.empty()) return naze;
  return {};
}

std::string Taikyoku::kifu_susumu() {
  const int n = kifu.kifu_ichi + 1;
  const KifuEntry e = kifu.at(n);
  if (std::string naze = sasenai_riyuu(pos, e, n); !naze.empty()) return naze;
  kifu.kifu_ichi = n;
  ++tesuu;
  do_move(pos, kifu_te(e));
  ou_tori(e.tori_koma);
  jikan_ue = e.ue_ato;
  jikan_sita = e.sita_ato;
  teban = -teban;
  return {};
}

void Taikyoku::kifu_modosu() {
  const KifuEntry e = kifu.at(kifu.kifu_ichi);
  // What the entry moved and took is in it, and a king that moved goes back to its source.
  TeModoshi m;
  m.te = kifu_te(e);
  m.moto_koma = e.moto_koma;
  m.torareru = e.tori_koma;
  m.ou_x = e.moto_x;
  m.ou_y = e.moto_y;
  undo_move(pos, m);
  pos.fu_suji_keisan();
  modoshita(e);
}

void Taikyoku::te_torikesu(const TeModoshi& m) {
  undo_move(pos, m);
  modoshita(kifu.at(kifu.kifu_ichi));
}

void Taikyoku::modoshita(const KifuEntry& e) {
  jikan_ue = e.ue_mae;
  jikan_sita = e.sita_mae;
  teban = e.moto_koma > 0 ? ue_gawa : sita_gawa;
  --kifu.kifu_ichi;
  --tesuu;
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

ComTe com_ban(Taikyoku& t, Tejun tejun, const ComHooks& hooks, KouhoKiroku* kiroku, const Sashite* keikaku) {
  ComSettei settei{t.level, t.ichite_x, t.ichite_y, t.nite_x, t.nite_y};
  if (keikaku)
    for (int i = 1; i <= 3; ++i) settei.keikaku[i] = keikaku[i];
  const ComTe r = com_te(t.pos, t.kiki, settei, tejun, hooks, kiroku);
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
    te[proc] = com_ban(t, static_cast<Tejun>(proc), {}, kiroku[proc], keikaku);
    if (te[proc].ue_tsumi) tsumi_ue = true;
    if (te[proc].sita_tsumi) t.shuukyoku = t.ue_gawa;
  }
}

YomiKekka com_turn_yomi(ComTurn& turn, Taikyoku& t, Yomi& yomi, const YomiSettei& settei, int only) {
  const int first = only >= 1 && only <= 3 ? only : 1;
  YomiKekka kekka = yomi.sagasu(t.pos, settei, first, t.ichite_x, t.ichite_y, t.nite_x, t.nite_y);
  for (int i = 0; i < kekka.turn.n; ++i) {
    const int proc = kekka.turn.dankai[i];
    if (only == 0 || proc == only) turn.keikaku[proc] = kekka.turn.te[i];
  }
  turn.run(t, only);
  return kekka;
}

}  // namespace mirado
