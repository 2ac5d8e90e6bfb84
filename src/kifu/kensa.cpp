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
  if (p.ban[e.moto_x][e.moto_y] != e.moto_koma) return Kotowari::moto_ni_nai;
  const int nari = e.moto_koma + (e.moto_koma > 0 ? 1 : -1);
  if (e.koma != e.moto_koma && !(naru_shurui(e.moto_koma) && e.koma == nari))
    return Kotowari::nari_chigai;
  const int saki = p.ban[e.saki_x][e.saki_y];
  if (e.tori_koma != saki) return Kotowari::tori_chigai;
  if (onaji_gawa(saki, e.moto_koma)) return Kotowari::jibun_wo_toru;
  return Kotowari::nashi;
}

Kotowari drop_kensa(const Kyokumen& p, const KifuEntry& e) {
  const bool sita = e.moto_x == TE_SITA && e.moto_y >= 3 && e.moto_y <= 9;
  const bool ue = e.moto_x == TE_UE && e.moto_y >= 1 && e.moto_y <= 7;
  if (!sita && !ue) return Kotowari::moto_fusei;
  if ((sita && !is_sita(e.koma)) || (ue && !is_ue(e.koma))) return Kotowari::mochinushi_chigai;
  const int slot = mochigoma_slot(e.koma);
  if (slot == 0 || koma_abs(e.koma) != MOCHIGOMA_KOMA[slot]) return Kotowari::uchenai_koma;
  if (e.moto_koma != e.koma) return Kotowari::uchi_chigai;
  const int held = sita ? p.mochigoma_sita[slot] : p.mochigoma_ue[slot];
  if (held < 1) return Kotowari::mochigoma_nashi;
  if (p.ban[e.saki_x][e.saki_y] != kara || e.tori_koma != kara) return Kotowari::uchi_saki_ari;
  return Kotowari::nashi;
}


}  // namespace

Kotowari te_kensa(const Kyokumen& p, const KifuEntry& e) {
  if (e.kaketa_ran != 0) return Kotowari::ran_kaketa;
  if (!on_ban(e.saki_x, e.saki_y)) return Kotowari::saki_ban_gai;
  const bool codes = is_koma(e.koma) && is_valid_code(e.koma) && is_koma(e.moto_koma) &&
                     is_valid_code(e.moto_koma) && is_valid_code(e.tori_koma);
  if (!codes) return Kotowari::koma_bangou;
  return on_ban(e.moto_x, e.moto_y) ? board_move_kensa(p, e) : drop_kensa(p, e);
}

std::string sasenai_riyuu(const Kyokumen& p, const KifuEntry& e, int n) {
  const Kotowari naze = te_kensa(p, e);
  if (naze == Kotowari::nashi) return {};
  // A move played here would be on line n + 3 of its saved file.
  const int gyou = e.gyou > 0 ? e.gyou : n + 3;
  std::string moji = "棋譜の" + std::to_string(gyou) + "行目の手は盤上で指せません\n";
  if (naze == Kotowari::ran_kaketa) moji += "行の" + std::to_string(e.kaketa_ran);
  return moji + kotowari_moji(naze);
}

TeModoshi kifu_modoshi(const KifuEntry& e) {
  TeModoshi m;
  m.te = kifu_te(e);
  m.moto_koma = e.moto_koma;
  m.torareru = e.tori_koma;
  m.ou_x = e.moto_x;
  m.ou_y = e.moto_y;
  return m;
}

Te kifu_te(const KifuEntry& e) {
  return Te{e.moto_x, on_ban(e.moto_x, e.moto_y) ? e.moto_y : mochigoma_slot(e.koma), e.saki_x, e.saki_y,
            e.koma};
}

}  // namespace mirado
