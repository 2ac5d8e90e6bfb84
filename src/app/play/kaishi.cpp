// The commands that start a game: between two people, or against the computer.
#include "app/game.h"

namespace mirado {

namespace {
// The level label sits left of the column labels; the start commands repaint it.
void level_kesu(BanGamen& b, const Settei& s) {
  for (int c = -2; c <= 0; ++c) b.koma_egaku(s.haikei(), c, 0);
}
}  // namespace

bool Game::te_tochuu_de_kotowaru(std::string_view title) {
  // Starting a game against the computer in the middle of a turn would let the
  // computer play a whole turn inside the person's.
  if (!taikyoku_.te_tochuu() || taikyoku_.owatta()) return false;
  snd_play(Oto::kinshi);
  gamen_.msg(kotowari_moji(Kotowari::te_tochuu), title);
  return true;
}

void Game::start() {
  if (taikyoku_.owatta()) {
    shinki_kyoku();
    ports().canvas->repaint();
  }
  kiru_mae_ni_nokosu();
  gamen_.kaishi_egaku();
  level_kesu(gamen_, settei_);
  gamen_.waku_kesu();
  const double now = ports().clock->now();
  if (kirikae_.is_checked(Menu::KEIKA)) kirikae_.set_timer(true);
  gamen_.koma_egaku(PIC_ZUVANSHOGI, 11.2, 0);
  ports().canvas->repaint();
  snd_play(Oto::jusei);
  matsu(1.5, [this, now] {
    const Gawa teban_mae = taikyoku_.teban();
    if (game().ningen_kaishi(now)) {
      if (kirikae_.is_checked(Menu::BGM)) onkyou_.snd_loop(Oto::bgm);
      aicon_ichi("下", taikyoku_.sita_gawa());
      gamen_.msg("先手の番です", " ");
    } else if (teban_mae == Gawa::sente) {
      aicon_ichi("下", taikyoku_.sita_gawa());
      gamen_.msg("先手の番です", " ");
    } else if (teban_mae == Gawa::gote) {
      aicon_ichi("上", taikyoku_.sita_gawa());
      gamen_.msg("後手の番です", " ");
    }
  });
}

void Game::com_taikyoku_kaishi(bool timer_first, std::function<void()> tsugi) {
  if (taikyoku_.owatta()) shinki_kyoku();
  gamen_.kaishi_egaku();
  gamen_.level_hyouji(taikyoku_.level());
  gamen_.waku_kesu();
  if (timer_first) kirikae_.set_timer(true);
  nyuuryoku_.hanasu();
  gamen_.koma_egaku(PIC_ZUVANSHOGI, 11.2, 0);
  ports().canvas->repaint();
  snd_play(Oto::jusei);
  matsu(1.5, [this, tsugi = std::move(tsugi)] {
    kiru_mae_ni_nokosu();
    game().com_kaishi();
    tsugi();
  });
}

void Game::sente() {
  if (te_tochuu_de_kotowaru("対局")) return;
  com_taikyoku_kaishi(false, [this] { sente_kimaru(); });
}

void Game::sente_kimaru() {
  bool shoteme = false;
  const Tsugi tsugi = game().sente_kaishi(ports().clock->now(), shoteme);
  kirikae_.set_timer(true);
  // The person plays first, with the lower pieces; only the box's title tells a fresh
  // game from one that goes on.
  if (tsugi == Tsugi::ningen) {
    if (shoteme && kirikae_.is_checked(Menu::BGM)) onkyou_.snd_loop(Oto::bgm);
    gamen_.msg("MANの番です", shoteme ? " " : "対局");
  } else if (taikyoku_.teban() == taikyoku_.ue_gawa()) {
    com_turn();
  }
}

void Game::gote() {
  if (te_tochuu_de_kotowaru("対局")) return;
  com_taikyoku_kaishi(true, [this] { gote_kimaru(); });
}

void Game::gote_kimaru() {
  bool shoteme = false;
  const Tsugi tsugi = game().gote_kaishi(shoteme);
  if (shoteme) {
    if (kirikae_.is_checked(Menu::BGM)) onkyou_.snd_loop(Oto::bgm);
    com_turn();
  } else if (tsugi == Tsugi::ningen) {
    gamen_.msg("MANの番です", "対局");
    game().saikai(ports().clock->now());  // the person's clock starts now, not from a stale start
  } else if (taikyoku_.teban() == taikyoku_.ue_gawa()) {
    com_turn();
  }
}

}  // namespace mirado
