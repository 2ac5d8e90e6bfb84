// The about box (menu "その他").
#include "app/game.h"

namespace mirado {

void Game::ver() {
  panel_tojiru();
  snd_play(Oto::sonota);
  gamen_.msg("ミラド 将棋\n"
      "Version 1.0.0\n"
      "Home page: https://mirado-shogi.example.org/\n"
      "e-mail: support@mirado-shogi.example.org",
      "その他", Buttons::ok);
}

}  // namespace mirado
