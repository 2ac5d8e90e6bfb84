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
  if (p.ban[e.te.fc][e.te.fr] != e.moto_koma) return "移動元に記録された駒がありません";
  const int nari = e.moto_koma + (e.moto_koma > 0 ? 1 : -1);
  if (e.te.koma != e.moto_koma && !(naru_shurui(e.moto_koma) && e.te.koma == nari))
    return "置いた駒が動かした駒とも、その成駒とも違います";
  const int saki = p.ban[e.te.tc][e.te.tr];
  if (e.tori_koma != saki) return "取った駒が移動先の駒と違います";
  if (onaji_gawa(saki, e.moto_koma)) return "自分の駒を取る手です";
  return {};
}

std::string drop_kensa(const Kyokumen& p, const KifuEntry& e) {
  const bool slot_ari = e.te.fr >= 1 && e.te.fr <= 7;
  const bool sita = e.te.fc == TE_SITA && slot_ari;
  const bool ue = e.te.fc == TE_UE && slot_ari;
  if (!sita && !ue) return "移動元が盤上の升でも駒台でもありません";
  if ((sita && !is_sita(e.te.koma)) || (ue && !is_ue(e.te.koma))) return "駒台と打った駒の持ち主が違います";
  const int slot = mochigoma_slot(e.te.koma);
  if (slot == 0 || koma_abs(e.te.koma) != MOCHIGOMA_KOMA[slot]) return "成駒や王は打てません";
  if (e.moto_koma != e.te.koma) return "置いた駒が打った駒と違います";
  const int held = sita ? p.mochigoma_sita[slot] : p.mochigoma_ue[slot];
  if (held < 1) return "持駒にない駒を打つ手です";
  if (p.ban[e.te.tc][e.te.tr] != kara || e.tori_koma != kara) return "駒のある升に打つ手です";
  return {};
}


}  // namespace

std::string te_kensa(const Kyokumen& p, const KifuEntry& e) {
  if (e.kaketa_ran != 0) return "行の" + std::to_string(e.kaketa_ran) + "番目の欄に数字がありません";
  if (!on_ban(e.te.tc, e.te.tr)) return "移動先が盤上の升ではありません";
  const bool codes = is_koma(e.te.koma) && is_valid_code(e.te.koma) && is_koma(e.moto_koma) &&
                     is_valid_code(e.moto_koma) && is_valid_code(e.tori_koma);
  if (!codes) return "駒の番号が正しくありません";
  return on_ban(e.te.fc, e.te.fr) ? board_move_kensa(p, e) : drop_kensa(p, e);
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
