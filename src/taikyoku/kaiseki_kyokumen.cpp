// The positions of a record's turns, for looking back at a game.
#include <cstdio>

#include "kifu/ichiran.h"
#include "kifu/kensa.h"
#include "rules/tsumi.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

namespace {

// The holder's opponent is mated: a record made by the computer ends there, inside the turn.
bool aite_tsumi(const Kyokumen& pos, bool sita) {
  Kyokumen p = pos;
  const Kiki& k = p.kiki();
  if (sita) return k.kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0 && tsumi_ue(p);
  return k.kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0 && tsumi_sita(p);
}


// Turns as the rules divide the record, the last one cut short by its end included. Any
// side may be the computer's here: that only lets a turn end where its procedures found no
// move, which a person's turn never needs.
KifuKensa turn_wake(const std::vector<KifuEntry>& entries, const KifuKensaSettei& s) {
  KifuKensa kensa = kifu_kensa(entries, {s.handicap, true});
  const int n = static_cast<int>(entries.size());
  if (kensa.naze.empty() && kensa.turn_hajime < n) kensa.turns.push_back({n, kensa.nushi_ue});
  return kensa;
}

}  // namespace

std::vector<int> turn_hajime(const std::vector<KifuEntry>& entries, const KifuKensaSettei& s) {
  std::vector<int> out;
  int hajime = 0;
  for (const KifuTurn& turn : turn_wake(entries, s).turns) {
    out.push_back(hajime);
    hajime = turn.owari;
  }
  return out;
}

std::string kaiseki_kyokumen(const std::vector<KifuEntry>& entries, std::vector<KaisekiKyokumen>& out,
                             int* gyou, const KifuKensaSettei& s) {
  out.clear();
  const KifuKensa kensa = turn_wake(entries, s);
  const std::vector<KifuTurn>& turns = kensa.turns;
  Taikyoku t = handicap_kyoku(s.handicap);
  t.kifu_yomikomi(entries);
  for (const KifuTurn& turn : turns) {
    if (t.owatta()) break;
    KaisekiKyokumen k;
    k.mae = t.pos();
    k.sita = !turn.nushi_ue;
    while (!t.owatta() && t.kifu().kifu_ichi < turn.owari)
      if (std::string naze = t.kifu_susumu(); !naze.empty()) {
        if (gyou) *gyou = t.kifu().at(t.kifu().kifu_ichi + 1).gyou;
        return naze;
      }
    k.ato = t.pos();
    const bool kirete = turn.owari > kensa.turn_hajime;
    const bool saigo = t.kifu().kifu_ichi == static_cast<int>(entries.size());
    if (t.owatta()) k.kekka = t.shousha() == (turn.nushi_ue ? t.ue_gawa() : t.sita_gawa()) ? 1 : -1;
    else if ((kirete || saigo) && aite_tsumi(k.ato, k.sita)) k.kekka = 1;  // the record ends in mate
    else if (kirete) break;  // the record stops inside a turn, the game going on
    out.push_back(k);
  }
  if (gyou && !kensa.naze.empty()) *gyou = kensa.gyou;
  return kensa.naze;
}

std::string te_retsu_hyouki(Kyokumen mae, const std::vector<KifuEntry>& te, const KifuEntry* zen,
                            bool sita_sente) {
  std::string s;
  for (const KifuEntry& e : te) {
    s += (s.empty() ? "" : " ") + te_hyouki(mae, e, zen, sita_sente);
    do_move(mae, kifu_te(e));
    zen = &e;
  }
  return s;
}

KifuEntry sashite_entry(const Sashite& m) {
  KifuEntry e;
  e.te = m.te;
  e.moto_koma = m.moto_koma;
  return e;
}

std::string yomi_te_hyouki(const Kyokumen& mae, const YomiTe& t, const KifuEntry* zen, bool sita_sente) {
  std::vector<KifuEntry> te;
  for (int i = 0; i < t.n; ++i) te.push_back(sashite_entry(t.te[i]));
  return te_retsu_hyouki(mae, te, zen, sita_sente);
}

std::string kaiseki_matome_moji(const std::vector<KaisekiTe>& te, bool sita_sente) {
  const KaisekiMatome m = kaiseki_matome(te);
  std::string s;
  for (const bool sente : {true, false}) {
    const int gawa = sente == sita_sente ? 0 : 1;
    s += sente ? "先手" : "　後手";
    for (TeRui r : {TeRui::akushu, TeRui::gimonshu, TeRui::kanshu})
      s += std::string(" ") + te_rui_mei(r) + std::to_string(m.kazu[gawa][static_cast<int>(r)]);
    // The win chance a side gave away on average, in points: how well it played overall.
    double son = 0;
    int n = 0;
    for (const KaisekiTe& k : te)
      if ((k.sita ? 0 : 1) == gawa) son += k.son, ++n;
    char heikin[32];
    std::snprintf(heikin, sizeof heikin, " 平均損失%.1f", n > 0 ? son / n : 0.0);
    s += heikin;
  }
  return s;
}

}  // namespace mirado
