// Stepping one record entry forward or back on the board, hands and clocks.
#include "app/game.h"

namespace mirado {

namespace {

// Entries loaded from files may hold any numbers; only squares inside the
// board array are ever written.
bool in_ban_array(int c, int r) { return c >= 0 && c <= 9 && r >= 0 && r <= 9; }

void hand_add(Kyokumen& p, int code, int delta) {
  const int slot = mochigoma_slot(code);
  if (slot == 0) return;
  if (code <= -10) p.mochigoma_sita[slot] += delta;
  else if (code >= 10) p.mochigoma_ue[slot] += delta;
}

// A captured piece sits in the capturer's hand: a lower piece in the upper hand.
void captured_add(Kyokumen& p, int code, int delta) {
  const int slot = mochigoma_slot(code);
  if (code <= -10) {
    if (slot != 0) p.mochigoma_ue[slot] += delta;
    p.mochigoma_su_ue += delta;
  } else if (code >= 10) {
    if (slot != 0) p.mochigoma_sita[slot] += delta;
    p.mochigoma_su_sita += delta;
  }
}

}  // namespace

void Game::ippo_susumu() {
  click_jotai = 0;
  set_timer(false);
  waku_kesu();
  const int n = ++kifu.kifu_ichi;
  ++tesuu;
  tesuu_hyouji(tesuu);
  const KifuEntry e = kifu.at(n);

  if (e.moto_x >= 1 && e.moto_x <= 9) {
    if (in_ban_array(e.moto_x, e.moto_y)) pos.ban[e.moto_x][e.moto_y] = kara;
    koma_egaku(kara, e.moto_x, e.moto_y);
    waku_egaku(IRO_MIDORI, e.moto_x, e.moto_y);
  } else {
    hand_add(pos, e.koma, -1);
    if (e.koma >= 10) --pos.mochigoma_su_ue;
    else if (e.koma <= -10) --pos.mochigoma_su_sita;
  }
  if (in_ban_array(e.saki_x, e.saki_y)) pos.ban[e.saki_x][e.saki_y] = e.koma;

  captured_add(pos, e.tori_koma, +1);
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
}

void Game::ippo_modosu() {
  panel_tojiru();
  saikai_machi = ari;
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

  if (e.moto_x >= 1 && e.moto_x <= 9) {
    if (in_ban_array(e.moto_x, e.moto_y)) pos.ban[e.moto_x][e.moto_y] = e.moto_koma;
    koma_egaku(e.moto_koma, e.moto_x, e.moto_y);
    waku_egaku(IRO_MIDORI, e.moto_x, e.moto_y);
  } else {
    hand_add(pos, e.koma, +1);
    if (e.koma >= 10) ++pos.mochigoma_su_ue;
    else if (e.koma <= -10) ++pos.mochigoma_su_sita;
  }
  captured_add(pos, e.tori_koma, -1);

  jikan_ue = e.ue_mae;
  keika_hyouji(ue_gawa, jikan_ue);
  jikan_sita = e.sita_mae;
  keika_hyouji(sita_gawa, jikan_sita);

  if (in_ban_array(e.saki_x, e.saki_y)) pos.ban[e.saki_x][e.saki_y] = e.tori_koma;
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

}  // namespace mirado
