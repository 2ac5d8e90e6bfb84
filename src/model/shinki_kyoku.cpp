// Setting up a new game.
#include "app/game.h"

namespace mirado {

void Game::shinki_kyoku() {
  snd_stop(Oto::bgm);
  // Moves played after a flip or a handicap start from another position: replayed
  // onto the normal start they would be wrong.
  if (hanten_zumi || handicap_zumi) kifu.kifu_nagasa = 0;
  dankai = 1;
  handicap = 0;
  handicap_zumi = false;
  hanten_zumi = false;
  te_tochuu = false;
  taikyoku_shu = Taikyoku::ningen;
  shuukyoku = 0;
  teban = 0;
  kifu.kifu_ichi = 0;  // the length stays, so CANCEL can replay the record later
  tesuu = 0;
  set_timer(false);
  jikan_ue = 0;
  jikan_sita = 0;
  saikai_machi = false;
  saisei_chu = false;
  hyouji_byou = 0;
  click_jotai = 0;
  set_visible(Control::AICON_MAN1, false);
  set_visible(Control::AICON_MAN2, false);
  set_visible(Control::AICON_COM, false);
  pos.shoki_haichi();
  zenbu_egaku();
}

}  // namespace mirado
