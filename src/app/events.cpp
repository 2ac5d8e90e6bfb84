// The window's events, routed to the procedures of each subsystem.
#include "app/game.h"

namespace mirado {

void Game::on_load(std::intptr_t window) {
  onkyou_.hiraku(window);

  game().kidou();
  kirikae_.set_checked(Menu::LEVEL3, true);
  // The options come from the settings file, or its defaults where it names none.
  for (int c = 0; c < static_cast<int>(Control::COUNT); ++c)
    kirikae_.set_visible(static_cast<Control>(c), false);

  settei_yomi();
  shinki_kyoku();
  chuudan_shiraseru();
}

void Game::on_menu(Menu item) {
  gamen_.kotowari_kesu();
  hint_kaiseki_.kaiseki_moji_kesu();
  hint_kaiseki_.hint_kesu();  // a hint lasts until the next click
  switch (item) {
    case Menu::TAIKYOKU: case Menu::STOP: case Menu::OPTION: panel_tojiru(); break;
    case Menu::START: start(); break;
    case Menu::SENTE: sente(); break;
    case Menu::GOTE: gote(); break;
    case Menu::LEVEL1: level_menu(1); break;
    case Menu::LEVEL2: level_menu(2); break;
    case Menu::LEVEL3: level_menu(3); break;
    case Menu::LEVEL4: level_menu(4); break;
    case Menu::LEVEL5: level_menu(5); break;
    case Menu::OWARI: on_close(); break;
    case Menu::CANCEL: cancel(); break;
    case Menu::REVERSE: reverse(); break;
    case Menu::REPLAY: replay(); break;
    case Menu::AFTER: after(); break;
    case Menu::LBEL_UP: lbel_up(); break;
    case Menu::LEBEL_DOWN: lebel_down(); break;
    case Menu::KIFU_READ: kifu_read(); break;
    case Menu::KIFU_WRITE: kifu_write(); break;
    case Menu::MIDORI: haikei_menu(HAIKEI_MIDORI); break;
    case Menu::UCHU: haikei_menu(HAIKEI_UCHU); break;
    case Menu::TATAMI: haikei_menu(HAIKEI_TATAMI); break;
    case Menu::TAKE: haikei_menu(HAIKEI_TAKE); break;
    case Menu::RENGA: haikei_menu(HAIKEI_RENGA); break;
    case Menu::SIDOU: sidou_menu(); break;
    case Menu::KEIKA: keika_menu(); break;
    case Menu::BGM: bgm_menu(); break;
    case Menu::AICON: aicon_menu(); break;
    case Menu::CHOKUZEN: chokuzen_menu(); break;
    case Menu::ICHIRAN: ichiran_menu(); break;
    case Menu::HINT: hint_kaiseki_.hint(); break;
    case Menu::TSUZUKI: tsuzuki(); break;
    case Menu::KAISEKI: hint_kaiseki_.kaiseki_menu(); break;
    case Menu::KAISEKI_ZU: kaiseki_zu_menu(); break;
    case Menu::NARI_KAKUNIN: nari_kakunin_menu(); break;
    case Menu::HYOUJUN: com_hyouji_menu(ComHyouji::hyoujun); break;
    case Menu::HAYAI: com_hyouji_menu(ComHyouji::hayai); break;
    case Menu::SHOURYAKU: com_hyouji_menu(ComHyouji::shouryaku); break;
    case Menu::KOURYO_025: kouryo_menu(250); break;
    case Menu::KOURYO_1: kouryo_menu(1000); break;
    case Menu::KOURYO_3: kouryo_menu(3000); break;
    case Menu::VER: ver(); break;
    default: break;  // submenu parents that do nothing of their own
  }
}

// After every event: the analysis' marks, the turn's marks, the clock and the status line.
void Game::ibento_owari() {
  hint_kaiseki_.kaiseki_awaseru();
  gamen_.shirushi_awaseru();
  hint_kaiseki_.kaiseki_shirushi();
  // The clock of the holder runs whenever its charge does, whatever the move did.
  const bool timer = kirikae_.is_checked(Menu::KEIKA) && gamen_.tokei_hashiru();
  if (timer != kirikae_.timer1()) kirikae_.set_timer(timer);
  gamen_.jikan_awaseru();
  gamen_.joukyou_okuru();
}

// Esc quits, except with the record panel open: then it only closes the panel, so that
// typing a file name never ends the game and closing the panel makes no move.
void Game::on_key(int ch) {
  if (ch != 27) return;
  if (kirikae_.is_visible(Control::PANEL_DIR_LIST)) {
    panel_tojiru();
    return;
  }
  on_close();
}

void Game::on_close() {
  if (quitting_) return;
  // An analysis beside the window stops while the game is kept and the sounds are freed
  // (a player who stays finds it given up).
  hint_kaiseki_.kaiseki_yamesaseru();
  // The computer's turn stops where it stands (its move on show keeps its charge) and is
  // played again when the game is resumed; a hint being read is given up.
  com_teban_.yameru();
  com_teban_.yomi().yameru();
  // A game that cannot be kept is never lost in silence: the player may stay.
  std::string naze;
  if (!chuudan_hozon(naze) && !naze.empty() && !owari_kakunin(naze)) {
    com_teban_.tsuzukeru();
    return;
  }
  quitting_ = true;
  onkyou_.tojiru();
  hint_kaiseki_.kaiseki_owari();
  ports().ui->quit();
}

}  // namespace mirado
