// Mouse presses on the window: refused when no game can take a move, resume play
// after a record was stepped through, else go to the procedure of the turn's phase.
#include "app/game.h"

namespace mirado {

namespace {

// Cell of a press along one axis, rounded toward minus infinity so that presses left
// of or above the grid fall on negative cells. Wide arithmetic: no press overflows.
int masu(int v, int origin, int size) {
  const long long d = static_cast<long long>(v) - origin;
  long long q = d / size;
  if (d % size != 0 && d < 0) --q;
  return static_cast<int>(q);
}

}  // namespace

bool Game::saikai_suru() {
  kiru_mae_ni_nokosu();
  game().saikai(ports().clock->now());
  if (kirikae_.is_checked(Menu::KEIKA)) kirikae_.set_timer(true);
  if (taikyoku_.taikyoku_shu() == TaikyokuShu::com) {
    if (taikyoku_.teban_nushi() == taikyoku_.ue_gawa()) {
      com_turn();
      return false;
    }
    if (taikyoku_.teban_nushi() == taikyoku_.sita_gawa()) gamen_.msg("あなたの番です", "対局");
    return true;
  }
  gamen_.msg(taikyoku_.teban_nushi() == Gawa::sente ? "先手の番です" : "後手の番です", "対局");
  return true;
}

void Game::on_mouse_down(int button, int /*shift*/, int x, int y) {
  gamen_.kotowari_kesu();
  hint_kaiseki_.kaiseki_moji_kesu();
  hint_kaiseki_.hint_kesu();  // a hint lasts until the next click
  panel_tojiru();
  if (taikyoku_.saisei_chu()) {
    gamen_.kotowaru("棋譜を進めている途中です");
    if (gamen_.msg("棋譜を '進 'で進めて下さい", "棋譜", Buttons::yesno) == Answer::no) {
      snd_play(Oto::kinshi);
      shinki_kyoku();
    }
    return;
  }
  if (taikyoku_.owatta()) {
    gamen_.kotowaru("対局は終わっています");
    gamen_.msg("新規に対局してください", "終局");
    return;
  }
  if (!taikyoku_.hajimatta()) {
    gamen_.kotowaru("対局が始まっていません");
    snd_play(Oto::kinshi);
    gamen_.msg("「対局」で始めて下さい", "開始");
    return;
  }
  const int col = masu(x, BAN_LEFT, MASU_W);
  const int row = masu(y, BAN_TOP, MASU_H);
  if (taikyoku_.saikai_machi() && !saikai_suru()) return;
  // koma_sentaku1, 2 or 3 by the phase of the turn.
  const Dankai d = taikyoku_.dankai();
  if (d == Dankai::ichi || d == Dankai::ni || d == Dankai::san)
    nyuuryoku_.koma_sentaku(d, button, col, row);
}

}  // namespace mirado
