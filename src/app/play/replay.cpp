// Stepping one record entry forward or back on the board, hands and clocks, and the
// commands that step a whole turn (進, 戻) or return to the start (最初).
#include <string>

#include "app/game.h"

namespace mirado {

bool Game::ippo_susumu() {
  if (taikyoku_.kifu().kifu_ichi >= taikyoku_.kifu().kifu_nagasa)
    return false;  // never past the end of the record
  const KifuEntry e = taikyoku_.kifu().at(taikyoku_.kifu().kifu_ichi + 1);
  if (const std::string naze = game().kifu_susumu(); !naze.empty()) {
    snd_play(Oto::kinshi);
    gamen_.msg(naze, "進む");
    return false;
  }
  nyuuryoku_.hanasu();
  kirikae_.set_timer(false);
  gamen_.waku_kesu();
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  if (on_ban(e.te.fc, e.te.fr)) {
    gamen_.masu_egaku(kara, e.te.fc, e.te.fr);
  }
  gamen_.jikan_awaseru();
  gamen_.masu_egaku(kara, e.te.fc, moto_gyou(e.te.fc, e.te.fr));  // a drop's hand cell, drawn over below
  gamen_.masu_egaku(e.te.koma, e.te.tc, e.te.tr);
  gamen_.mochigoma_sita_egaku();
  gamen_.mochigoma_ue_egaku();
  snd_play(Oto::koma);
  gamen_.te_hyouji(e.te.koma > 0 ? taikyoku_.ue_gawa() : taikyoku_.sita_gawa(), e.te.tc, e.te.tr,
                   e.te.koma, IRO_SHIRO);
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  return true;
}

bool Game::modoseru() {
  panel_tojiru();
  game().modoshi_hajime();
  if (taikyoku_.kifu().kifu_ichi >= 1) return true;
  snd_play(Oto::kinshi);
  gamen_.msg("できません", "戻る");
  return false;
}

void Game::ippo_modosu() {
  if (!modoseru()) return;
  const KifuEntry e = taikyoku_.kifu().at(taikyoku_.kifu().kifu_ichi);
  game().kifu_modosu();
  modoshi_egaku(e);
}

void Game::modoshi_egaku(const KifuEntry& e) {
  nyuuryoku_.hanasu();
  kirikae_.set_timer(false);
  gamen_.waku_kesu();
  if (on_ban(e.te.fc, e.te.fr)) {
    gamen_.masu_egaku(e.moto_koma, e.te.fc, e.te.fr);
  }
  gamen_.jikan_awaseru();
  gamen_.mochigoma_sita_egaku();
  gamen_.mochigoma_ue_egaku();
  gamen_.masu_egaku(kara, e.te.tc, e.te.tr);
  if (e.tori_koma != kara) {
    gamen_.masu_egaku(e.tori_koma, e.te.tc, e.te.tr);
  }
  snd_play(Oto::koma);
  gamen_.te_kesu(e.moto_koma > 0 ? taikyoku_.ue_gawa() : taikyoku_.sita_gawa());
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
}

void Game::after() {
  panel_tojiru();
  if (!taikyoku_.hajimatta()) {
    snd_play(Oto::kinshi);
    gamen_.msg("「対局」で始めて下さい", "開始");
    return;
  }
  // A finished game stays finished until a step back reopens it.
  if (!taikyoku_.owatta()) game().susumi_hajime();
  if (taikyoku_.kifu().kifu_ichi >= taikyoku_.kifu().kifu_nagasa) {
    if (taikyoku_.saisei_chu()) {
      gamen_.msg("終わり", "進む");
    } else {
      snd_play(Oto::kinshi);
      gamen_.msg("できません", "進む");
    }
    return;
  }
  gamen_.shirushi_tsukeru();  // the marks show the turn that led to the position stepped to
  // An entry that cannot be played ends the turn's steps at the last good position.
  for (int i = 0; i < 3 && taikyoku_.kifu().kifu_ichi < taikyoku_.kifu().kifu_nagasa; ++i)
    if (!ippo_susumu()) break;
  game().idou_owari();
  if (taikyoku_.teban() == taikyoku_.ue_gawa())
    aicon_ichi("上", taikyoku_.teban());
  else if (taikyoku_.teban() == taikyoku_.sita_gawa())
    aicon_ichi("下", taikyoku_.teban());
}

void Game::replay() {
  // A finished game is looked back at at once: its last turn, finished or not, is taken
  // back whole and the end is cleared, as any step back clears a king's capture.
  const int ippo = game().modosu_su();
  if (taikyoku_.te_tochuu() && !taikyoku_.owatta()) {
    snd_play(Oto::kinshi);
    gamen_.msg("３手目がまだ打ち終わっていせん", "戻る");
    return;
  }
  if (!modoseru()) return;
  gamen_.shirushi_tsukeru();
  for (int i = 0; i < ippo; ++i) ippo_modosu();  // each refuses by itself at the start
  game().idou_owari();
  if (taikyoku_.teban() == taikyoku_.ue_gawa())
    aicon_ichi("上", taikyoku_.teban());
  else if (taikyoku_.teban() == taikyoku_.sita_gawa())
    aicon_ichi("下", taikyoku_.teban());
}

void Game::cancel() {
  chuudan_nokosu();
  shinki_kyoku();
  snd_play(Oto::koma);
}

}  // namespace mirado
