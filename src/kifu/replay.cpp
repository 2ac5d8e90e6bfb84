// Stepping one record entry forward or back on the board, hands and clocks, and the
// commands that step a whole turn (進, 戻) or return to the start (最初).
#include <string>

#include "app/game.h"
#include "kifu/kensa.h"
#include "model/ugoki.h"

namespace mirado {

namespace {

// The move of a record entry; a drop names the hand slot of the piece it drops.
Te te_of(const KifuEntry& e) {
  return Te{e.moto_x, on_ban(e.moto_x, e.moto_y) ? e.moto_y : mochigoma_slot(e.koma), e.saki_x, e.saki_y,
            e.koma};
}

// Taking back an entry that was played on this board: what it moved and took is in the
// entry, and a king that moved goes back to the entry's source.
void modosu(Kyokumen& p, const KifuEntry& e) {
  TeModoshi m;
  m.te = te_of(e);
  m.moto_koma = e.moto_koma;
  m.torareru = e.tori_koma;
  m.ou_x = e.moto_x;
  m.ou_y = e.moto_y;
  undo_move(p, m);
  p.fu_suji_keisan();
}

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
  if (!on_ban(e.saki_x, e.saki_y)) return "移動先が盤上の升ではありません";
  const bool codes = is_koma(e.koma) && is_valid_code(e.koma) && is_koma(e.moto_koma) &&
                     is_valid_code(e.moto_koma) && is_valid_code(e.tori_koma);
  if (!codes) return "駒の番号が正しくありません";
  return on_ban(e.moto_x, e.moto_y) ? board_move_kensa(p, e) : drop_kensa(p, e);
}

bool Game::ippo_susumu() {
  if (kifu.kifu_ichi >= kifu.kifu_nagasa) return false;  // never past the end of the record
  const int n = kifu.kifu_ichi + 1;
  const KifuEntry e = kifu.at(n);
  const std::string naze = te_kensa(pos, e);
  if (!naze.empty()) {
    // A move played here would be on line n + 3 of its saved file.
    const int gyou = e.gyou > 0 ? e.gyou : n + 3;
    snd_play(Oto::kinshi);
    msg("棋譜の" + std::to_string(gyou) + "行目の手は盤上で指せません\n" + naze, "進む");
    return false;
  }
  click_jotai = 0;
  set_timer(false);
  waku_kesu();
  kifu.kifu_ichi = n;
  ++tesuu;
  tesuu_hyouji(tesuu);

  do_move(pos, te_of(e));
  if (on_ban(e.moto_x, e.moto_y)) {
    koma_egaku(kara, e.moto_x, e.moto_y);
    waku_egaku(IRO_MIDORI, e.moto_x, e.moto_y);
  }
  if (e.tori_koma == -OU) shuukyoku = ue_gawa;
  else if (e.tori_koma == OU) shuukyoku = sita_gawa;

  jikan_ue = e.ue_ato;
  keika_hyouji(ue_gawa, jikan_ue);
  jikan_sita = e.sita_ato;
  keika_hyouji(sita_gawa, jikan_sita);

  koma_egaku(kara, e.moto_x, e.moto_y);
  waku_egaku(IRO_MIDORI, e.moto_x, e.moto_y);
  koma_egaku(e.koma, e.saki_x, e.saki_y);
  waku_egaku(IRO_MIDORI, e.saki_x, e.saki_y);
  mochigoma_sita_egaku();
  mochigoma_ue_egaku();
  snd_play(Oto::koma);
  te_hyouji(e.koma > 0 ? ue_gawa : sita_gawa, e.saki_x, e.saki_y, e.koma, IRO_SHIRO);
  teban = -teban;
  tesuu_hyouji(tesuu);
  return true;
}

void Game::ippo_modosu() {
  panel_tojiru();
  saikai_machi = true;
  shuukyoku = 0;  // a game ended by a capture goes on once the capture is taken back
  if (kifu.kifu_ichi < 1) {
    snd_play(Oto::kinshi);
    msg("できません", "戻る");
    return;
  }
  click_jotai = 0;
  set_timer(false);
  waku_kesu();
  const int n = kifu.kifu_ichi;
  const KifuEntry e = kifu.at(n);

  modosu(pos, e);
  if (on_ban(e.moto_x, e.moto_y)) {
    koma_egaku(e.moto_koma, e.moto_x, e.moto_y);
    waku_egaku(IRO_MIDORI, e.moto_x, e.moto_y);
  }

  jikan_ue = e.ue_mae;
  keika_hyouji(ue_gawa, jikan_ue);
  jikan_sita = e.sita_mae;
  keika_hyouji(sita_gawa, jikan_sita);

  mochigoma_sita_egaku();
  mochigoma_ue_egaku();
  koma_egaku(kara, e.saki_x, e.saki_y);
  waku_egaku(IRO_MIDORI, e.saki_x, e.saki_y);
  if (e.tori_koma != kara) {
    koma_egaku(e.tori_koma, e.saki_x, e.saki_y);
    waku_egaku(IRO_MIDORI, e.saki_x, e.saki_y);
  }
  snd_play(Oto::koma);
  if (e.moto_koma > 0) {
    teban = ue_gawa;
    te_kesu(ue_gawa);
  } else {
    teban = sita_gawa;
    te_kesu(sita_gawa);
  }
  --kifu.kifu_ichi;
  --tesuu;
  tesuu_hyouji(tesuu);
}

void Game::after() {
  if (shuukyoku != 0) {
    msg("新規に対局してください", "終局");
    return;
  }
  panel_tojiru();
  if (teban == 0) {
    snd_play(Oto::kinshi);
    msg("「対局」で始めて下さい", "開始");
    return;
  }
  saikai_machi = true;
  if (kifu.kifu_ichi >= kifu.kifu_nagasa) {
    if (saisei_chu) {
      msg("終わり", "進む");
    } else {
      snd_play(Oto::kinshi);
      msg("できません", "進む");
    }
    return;
  }
  // An entry that cannot be played ends the turn's steps at the last good position.
  for (int i = 0; i < 3 && kifu.kifu_ichi < kifu.kifu_nagasa; ++i)
    if (!ippo_susumu()) break;
  teban_nushi = teban;
  if (teban == ue_gawa) aicon_ichi("上", teban);
  else if (teban == sita_gawa) aicon_ichi("下", teban);
}

void Game::replay() {
  if (shuukyoku != 0) {
    msg("新規に対局してください", "終局");
    return;
  }
  if (te_tochuu) {
    snd_play(Oto::kinshi);
    msg("３手目がまだ打ち終わっていせん", "戻る");
    return;
  }
  panel_tojiru();
  saikai_machi = true;
  shuukyoku = 0;
  if (kifu.kifu_ichi < 1) {
    snd_play(Oto::kinshi);
    msg("できません", "戻る");
    return;
  }
  for (int i = 0; i < 3; ++i) ippo_modosu();  // each refuses by itself at the start
  teban_nushi = teban;
  if (teban == ue_gawa) aicon_ichi("上", teban);
  else if (teban == sita_gawa) aicon_ichi("下", teban);
}

void Game::cancel() {
  shinki_kyoku();
  snd_play(Oto::koma);
}

}  // namespace mirado
