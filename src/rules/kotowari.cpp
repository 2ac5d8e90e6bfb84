#include "rules/kotowari.h"

namespace mirado {

const char* kotowari_moji(Kotowari k, Dankai d) {
  switch (k) {
    case Kotowari::nashi: return "";
    case Kotowari::dare_no_koma:
      return d == Dankai::ni ? "2手目は相手の駒を動かします" : "自分の駒を動かす番です";
    case Kotowari::ugokenai: return "その駒はそこへ動けません";
    case Kotowari::nifu: return "二歩です（同じ筋に歩があります）";
    case Kotowari::naranai_to: return "成らないと動けない所です（右クリックで成る）";
    case Kotowari::jibun_oute: return "自分の玉が王手になる手です";
    case Kotowari::aite_oute: return "相手の玉が王手になる手です";
    case Kotowari::ichite_no_koma: return "１手目に動かした駒は動かせません";
    case Kotowari::nite_no_koma: return "２手目に動かした駒は取れません";
    case Kotowari::kifu_mode: return "棋譜ﾓｰﾄﾞではできません";
    case Kotowari::te_tochuu: return "３手目が打ち終わるまでできません";
    case Kotowari::taikyoku_tochuu: return "対局途中ではできません";
    case Kotowari::hanten_go: return "反転後ではできません";
    case Kotowari::kifu_kara: return "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません";
    case Kotowari::ran_kaketa: return "番目の欄に数字がありません";
    case Kotowari::saki_ban_gai: return "移動先が盤上の升ではありません";
    case Kotowari::koma_bangou: return "駒の番号が正しくありません";
    case Kotowari::moto_ni_nai: return "移動元に記録された駒がありません";
    case Kotowari::nari_chigai: return "置いた駒が動かした駒とも、その成駒とも違います";
    case Kotowari::tori_chigai: return "取った駒が移動先の駒と違います";
    case Kotowari::jibun_wo_toru: return "自分の駒を取る手です";
    case Kotowari::moto_fusei: return "移動元が盤上の升でも駒台でもありません";
    case Kotowari::mochinushi_chigai: return "駒台と打った駒の持ち主が違います";
    case Kotowari::uchenai_koma: return "成駒や王は打てません";
    case Kotowari::uchi_chigai: return "置いた駒が打った駒と違います";
    case Kotowari::mochigoma_nashi: return "持駒にない駒を打つ手です";
    case Kotowari::uchi_saki_ari: return "駒のある升に打つ手です";
    case Kotowari::narenai: return "成れない所で成る手です";
    case Kotowari::owatta_ato: return "この対局は終わっています";
  }
  return "";
}

}  // namespace mirado
