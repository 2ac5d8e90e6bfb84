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

std::string board_move_kensa(const Kyokumen& p, const KifuEntry& e) {
  if (p.ban[e.moto_x][e.moto_y] != e.moto_koma) return "移動元に記録された駒がありません";
  const int nari = e.moto_koma + (e.moto_koma > 0 ? 1 : -1);
  if (e.koma != e.moto_koma && !(naru_shurui(e.moto_koma) && e.koma == nari))
    return "置いた駒が動かした駒とも、その成駒とも違います";
  const int saki = p.ban[e.saki_x][e.saki_y];
  if (e.tori_koma != saki) return "取った駒が移動先の駒と違います";
  if (onaji_gawa(saki, e.moto_koma)) return "自分の駒を取る手です";
  return {};
}

std::string drop_kensa(const Kyokumen& p, const KifuEntry& e) {
  const bool sita = e.moto_x == TE_SITA && e.moto_y >= 3 && e.moto_y <= 9;
  const bool ue = e.moto_x == TE_UE && e.moto_y >= 1 && e.moto_y <= 7;
  if (!sita && !ue) return "移動元が盤上の升でも駒台でもありません";
  if ((sita && !is_sita(e.koma)) || (ue && !is_ue(e.koma))) return "駒台と打った駒の持ち主が違います";
  const int slot = mochigoma_slot(e.koma);
  if (slot == 0 || koma_abs(e.koma) != MOCHIGOMA_KOMA[slot]) return "成駒や王は打てません";
  if (e.moto_koma != e.koma) return "置いた駒が打った駒と違います";
  const int held = sita ? p.mochigoma_sita[slot] : p.mochigoma_ue[slot];
  if (held < 1) return "持駒にない駒を打つ手です";
  if (p.ban[e.saki_x][e.saki_y] != kara || e.tori_koma != kara) return "駒のある升に打つ手です";
  return {};
}


}  // namespace

std::string te_kensa(const Kyokumen& p, const KifuEntry& e) {
  if (e.kaketa_ran != 0) return "行の" + std::to_string(e.kaketa_ran) + "番目の欄に数字がありません";
  if (!on_ban(e.saki_x, e.saki_y)) return "移動先が盤上の升ではありません";
  const bool codes = is_koma(e.koma) && is_valid_code(e.koma) && is_koma(e.moto_koma) &&
                     is_valid_code(e.moto_koma) && is_valid_code(e.tori_koma);
  if (!codes) return "駒の番号が正しくありません";
  return on_ban(e.moto_x, e.moto_y) ? board_move_kensa(p, e) : drop_kensa(p, e);
}

std::string sasenai_riyuu(const Kyokumen& p, const KifuEntry& e, int n) {
  const std::string naze = te_kensa(p, e);
  if (naze.empty()) return naze;
  // A move played here would be on line n + 3 of its saved file.
  const int gyou = e.gyou > 0 ? e.gyou : n + 3;
  return "棋譜の" + std::to_string(gyou) + "行目の手は盤上で指せません\n" + naze;
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
