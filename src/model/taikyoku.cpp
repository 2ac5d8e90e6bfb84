// The commands that start a game: between two people, or against the computer.
#include "app/game.h"

namespace mirado {

namespace {
// The level label sits left of the column labels; the start commands repaint it.
void level_kesu(Game& g) {
  for (int c = -2; c <= 0; ++c) g.koma_egaku(g.haikei, c, 0);
}
}  // namespace

bool Game::te_tochuu_de_kotowaru(std::string_view title) {
  // Starting a game against the computer in the middle of a turn would let the
  // computer play a whole turn inside the person's.
  if (!te_tochuu || shuukyoku != 0) return false;
  snd_play(Oto::kinshi);
  msg("３手目が打ち終わるまでできません", title);
  return true;
}

void Game::start() {
  if (shuukyoku != 0) {
    shinki_kyoku();
    ports().canvas->repaint();
  }
  kaishi_egaku();
  level_kesu(*this);
  waku_kesu();
  jikan_kaishi = ports().clock->now();
  if (is_checked(Menu::KEIKA)) set_timer(true);
  taikyoku_shu = Taikyoku::ningen;
  koma_egaku(PIC_ZUVANSHOGI, 11.2, 0);
  ports().canvas->repaint();
  snd_play(Oto::jusei);
  matsu(1.5);
  if (teban == 0 || tesuu == 0) {
    if (is_checked(Menu::BGM)) snd_loop(Oto::bgm);
    sita_gawa = sente_gawa;
    ue_gawa = gote_gawa;
    teban = teban_nushi = sente_gawa;
    aicon_ichi("下", sita_gawa);
    msg("先手の番です", " ");
  } else if (teban == 1) {
    aicon_ichi("下", sita_gawa);
    msg("先手の番です", " ");
  } else if (teban == -1) {
    aicon_ichi("上", sita_gawa);
    msg("後手の番です", " ");
  }
  saikai_machi = false;
  saisei_chu = false;  // a loaded record can be played on between two people
}

// The steps SENTE and GOTE share before they decide who moves.
void Game::com_taikyoku_kaishi(bool timer_first) {
  if (shuukyoku != 0) shinki_kyoku();
  kaishi_egaku();
  level_hyouji(level);
  waku_kesu();
  if (timer_first) set_timer(true);
  click_jotai = 0;
  taikyoku_shu = Taikyoku::com;
  saisei_chu = false;
  koma_egaku(PIC_ZUVANSHOGI, 11.2, 0);
  ports().canvas->repaint();
  snd_play(Oto::jusei);
  matsu(1.5);
  // The record ends where play goes on from.
  kifu.kifu_nagasa = kifu.kifu_ichi;
}

void Game::sente() {
  if (te_tochuu_de_kotowaru("対局")) return;
  com_taikyoku_kaishi(false);
  jikan_kaishi = ports().clock->now();
  set_timer(true);
  // The person plays first, with the lower pieces; only the box's title tells a fresh
  // game from one that goes on.
  const bool shoteme = teban == 0 || tesuu == 0;
  if (shoteme || sita_gawa == teban) {
    if (shoteme && is_checked(Menu::BGM)) snd_loop(Oto::bgm);
    sita_gawa = sente_gawa;
    ue_gawa = gote_gawa;
    teban = teban_nushi = sente_gawa;
    msg("MANの番です", shoteme ? " " : "対局");
    saikai_machi = false;
  } else if (ue_gawa == teban) {
    com_turn();
  }
}

void Game::gote() {
  if (te_tochuu_de_kotowaru("対局")) return;
  com_taikyoku_kaishi(true);
  if (teban == 0 || tesuu == 0) {
    if (is_checked(Menu::BGM)) snd_loop(Oto::bgm);
    sita_gawa = gote_gawa;
    ue_gawa = sente_gawa;
    teban = teban_nushi = sente_gawa;
    com_turn();
  } else if (sita_gawa == teban) {
    msg("MANの番です", "対局");
    teban_nushi = teban;
    saikai_machi = false;
    jikan_kaishi = ports().clock->now();  // the person's clock starts now, not from a stale start
  } else if (ue_gawa == teban) {
    com_turn();
  }
}

}  // namespace mirado
