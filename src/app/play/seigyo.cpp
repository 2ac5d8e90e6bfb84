// Game control: the start commands, levels, the turn icons, waiting, quitting.
#include "app/game.h"

namespace mirado {

void Game::level_settei(int n) {
  constexpr Menu kLevels[] = {Menu::LEVEL1, Menu::LEVEL2, Menu::LEVEL3, Menu::LEVEL4, Menu::LEVEL5};
  for (const Menu m : kLevels) kirikae_.set_checked(m, false);
  if (n >= 1 && n <= 5) {
    kirikae_.set_checked(kLevels[n - 1], true);
    game().set_level(n);
  }
  if (taikyoku_.com_taikyoku()) gamen_.level_hyouji(taikyoku_.level());
}

void Game::level_menu(int n) {
  for (int c = -2; c <= 0; ++c) gamen_.koma_egaku(settei_.haikei(), c, 0);
  const int mae = taikyoku_.level();
  level_settei(n);
  if (taikyoku_.level() != mae) settei_kaki();  // the level chosen is the one the next start has
}

void Game::aicon_ichi(std::string_view position, Gawa side) {
  if (!kirikae_.is_checked(Menu::AICON)) return;
  const int top = position == "上" ? 300 : 6000;
  for (Control c : {Control::AICON_MAN1, Control::AICON_MAN2, Control::AICON_COM})
    ports().ui->move_control(c, 3600, top);
  const bool com = taikyoku_.com_taikyoku();
  if (side == taikyoku_.ue_gawa()) {
    kirikae_.set_visible(Control::AICON_COM, com);
    kirikae_.set_visible(Control::AICON_MAN1, !com && taikyoku_.teban_nushi() == Gawa::sente);
    kirikae_.set_visible(Control::AICON_MAN2, !com && taikyoku_.teban_nushi() == Gawa::gote);
  } else if (side == taikyoku_.sita_gawa()) {
    if (com) {
      kirikae_.set_visible(Control::AICON_MAN1, true);
    } else {
      kirikae_.set_visible(Control::AICON_MAN1, taikyoku_.teban_nushi() == Gawa::sente);
      kirikae_.set_visible(Control::AICON_MAN2, taikyoku_.teban_nushi() == Gawa::gote);
    }
    kirikae_.set_visible(Control::AICON_COM, false);
  }
}

void Game::com_hyouji_settei(ComHyouji h) {
  settei_.com_hyouji(h);
  kirikae_.set_checked(Menu::HYOUJUN, h == ComHyouji::hyoujun);
  kirikae_.set_checked(Menu::HAYAI, h == ComHyouji::hayai);
  kirikae_.set_checked(Menu::SHOURYAKU, h == ComHyouji::shouryaku);
}

void Game::kouryo_settei(int ms) {
  settei_.kouryo_ms(ms);
  com_teban_.yomi().yomi_byou_settei(settei_.kouryo_ms() / 1000.0);
  kirikae_.set_checked(Menu::KOURYO_025, settei_.kouryo_ms() == 250);
  kirikae_.set_checked(Menu::KOURYO_1, settei_.kouryo_ms() == 1000);
  kirikae_.set_checked(Menu::KOURYO_3, settei_.kouryo_ms() == 3000);
}

void Game::kouryo_menu(int ms) {
  const bool kawaru = ms != settei_.kouryo_ms();
  kouryo_settei(ms);  // the menu's own tick is put back even when nothing changes
  if (kawaru) settei_kaki();
}

void Game::com_hyouji_menu(ComHyouji h) {
  const bool kawaru = h != settei_.com_hyouji();
  com_hyouji_settei(h);  // the menu's own tick is put back even when nothing changes
  if (kawaru) settei_kaki();
}

void Game::nari_kakunin_menu() {
  settei_.nari_kakunin(!settei_.nari_kakunin());
  kirikae_.set_checked(Menu::NARI_KAKUNIN, settei_.nari_kakunin());
  settei_kaki();
}

void Game::matsu(double seconds, std::function<void()> tsugi) {
  ++matsu_chu_;
  kirikae_.set_menus_enabled(false);
  ports().clock->ato_de(seconds, [this, tsugi = std::move(tsugi)] {
    --matsu_chu_;
    if (quitting_) return;
    tsugi();
    if (!machichu()) kirikae_.set_menus_enabled(true);
  });
}

}  // namespace mirado
