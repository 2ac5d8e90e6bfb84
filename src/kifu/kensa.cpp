#include "kifu/kensa.h"

namespace mirado {

namespace {

bool naru_shurui(int code) {
  switch (koma_abs(code)) {
    case HU: case KYOU: case KEI: case GIN: case KAKU: case HISHA: return true;
    default: return false;
  }
}

bool onaji_gawa(int a, int b) { return (is_sita(a) && is_sita(b)) || (is_ue(a) && is_ue(b)); }

Kotowari board_move_kensa(const Kyokumen& p, const KifuEntry& e) {
  if (p.ban[e.te.fc][e.te.fr] != e.moto_koma) return Kotowari::moto_ni_nai;
  const int nari = e.moto_koma + (e.moto_koma > 0 ? 1 : -1);
  if (e.te.koma != e.moto_koma && !(naru_shurui(e.moto_koma) && e.te.koma == nari))
    return Kotowari::nari_chigai;
  const int saki = p.ban[e.te.tc][e.te.tr];
  if (e.tori_koma != saki) return Kotowari::tori_chigai;
  if (onaji_gawa(saki, e.moto_koma)) return Kotowari::jibun_wo_toru;
  return Kotowari::nashi;
}

Kotowari drop_kensa(const Kyokumen& p, const KifuEntry& e) {
  const bool slot_ari = e.te.fr >= 1 && e.te.fr <= 7;
  const bool sita = e.te.fc == TE_SITA && slot_ari;
  const bool ue = e.te.fc == TE_UE && slot_ari;
  if (!sita && !ue) return Kotowari::moto_fusei;
  if ((sita && !is_sita(e.te.koma)) || (ue && !is_ue(e.te.koma))) return Kotowari::mochinushi_chigai;
  const int slot = mochigoma_slot(e.te.koma);
  if (slot == 0 || koma_abs(e.te.koma) != MOCHIGOMA_KOMA[slot]) return Kotowari::uchenai_koma;
  if (e.moto_koma != e.te.koma) return Kotowari::uchi_chigai;
  const int held = sita ? p.mochigoma_sita[slot] : p.mochigoma_ue[slot];
  if (held < 1) return Kotowari::mochigoma_nashi;
  if (p.ban[e.te.tc][e.te.tr] != kara || e.tori_koma != kara) return Kotowari::uchi_saki_ari;
  return Kotowari::nashi;
}


}  // namespace

Kotowari te_kensa(const Kyokumen& p, const KifuEntry& e) {
  if (e.kaketa_ran != 0) return Kotowari::ran_kaketa;
  if (!on_ban(e.te.tc, e.te.tr)) return Kotowari::saki_ban_gai;
  const bool codes = is_koma(e.te.koma) && is_valid_code(e.te.koma) && is_koma(e.moto_koma) &&
                     is_valid_code(e.moto_koma) && is_valid_code(e.tori_koma);
  if (!codes) return Kotowari::koma_bangou;
  return on_ban(e.te.fc, e.te.fr) ? board_move_kensa(p, e) : drop_kensa(p, e);
}

int kifu_gyou(const KifuEntry& e, int n) {
  // A move played here would be on line n + 3 of its saved file.
  return e.gyou > 0 ? e.gyou : n + 3;
}

std::string sasenai_moji(const KifuEntry& e, int n, Kotowari naze, Dankai d) {
  std::string moji = "棋譜の" + std::to_string(kifu_gyou(e, n)) + "行目の手は盤上で指せません\n";
  if (naze == Kotowari::ran_kaketa) moji += "行の" + std::to_string(e.kaketa_ran);
  return moji + kotowari_moji(naze, d);
}

std::string sasenai_riyuu(const Kyokumen& p, const KifuEntry& e, int n) {
  const Kotowari naze = te_kensa(p, e);
  return naze == Kotowari::nashi ? std::string() : sasenai_moji(e, n, naze);
}

TeModoshi kifu_modoshi(const KifuEntry& e) {
  TeModoshi m;
  m.te = kifu_te(e);
  m.moto_koma = e.moto_koma;
  m.torareru = e.tori_koma;
  m.ou_x = e.te.fc;
  m.ou_y = e.te.fr;
  return m;
}

Te kifu_te(const KifuEntry& e) {
  // A drop leaves the slot of the piece it drops, whichever cell a loaded file named.
  Te te = e.te;
  if (!on_ban(te.fc, te.fr)) te.fr = mochigoma_slot(te.koma);
  return te;
}

}  // namespace mirado
