// A game in progress outlives quitting (taikyoku/chuudan.h keeps it and takes it up
// again); here the player is told and asked. A command that would drop a game in progress
// keeps it the same way first.
#include <filesystem>

#include "app/game.h"
#include "taikyoku/chuudan.h"

namespace mirado {

bool Game::chuudan_dekiru() const {
  // Only where files may be kept: without a data folder the player was told at start
  // that nothing is saved.
  return hozon_basho_ari() && nokoseru(taikyoku_);
}

bool Game::chuudan_hozon(std::string& naze) {
  naze.clear();
  if (!hozon_basho_ari()) return false;
  return chuudan_kaku(taikyoku_, gamen_.jikan_gamen(taikyoku_.sita_gawa()),
                      gamen_.jikan_gamen(taikyoku_.ue_gawa()), naze);
}

void Game::chuudan_nokosu() {
  std::string naze;
  if (chuudan_hozon(naze))
    gamen_.shiraseru("対局を残しました（対局 → 続きから）");
  else if (!naze.empty())
    gamen_.shiraseru("対局を残せませんでした（" + naze + "）");
}

bool Game::owari_kakunin(const std::string& naze) {
  const Answer a = gamen_.msg("対局を残せません（" + naze + "）\r\rこのまま終わると、この対局は失われます。" +
                           "\r終わりますか？（いいえ: 対局に戻る）",
                       "終了", Buttons::yesno_iie, Icon::warning);
  // A second close while the box waits is the player's answer: the window goes.
  return a == Answer::yes || ports().ui->close_requested();
}

void Game::chuudan_shiraseru() {
  std::error_code ec;
  if (!hozon_basho_ari() || !std::filesystem::is_regular_file(CHUUDAN_KIFU, ec)) return;
  gamen_.shiraseru(saigo_no_chuudan()
                       ? "中断した対局があります（対局 → 続きから）"
                       : "以前に中断した対局があります（最後の対局とは限りません。対局 → 続きから）");
}

void Game::tsuzuki() {
  panel_tojiru();
  if (te_tochuu_de_kotowaru("続きから")) return;
  // Tried on a copy first: a kept game that cannot be played on leaves this one as it is.
  Taikyoku shiken;
  Tsuzuki z;
  const std::string error =
      hozon_basho_ari() ? chuudan_yomu(shiken, z) : "データフォルダを使えません（" + hozon_fuka_ + "）";
  if (!error.empty()) {
    snd_play(Oto::kinshi);
    gamen_.kotowaru("続きから始められません");
    gamen_.msg(error, "続きから");
    return;
  }
  // The game on the board, if one is in progress, takes the kept one's place.
  const bool irekae = chuudan_dekiru();
  if (irekae) chuudan_nokosu();
  shinki_kyoku();
  game() = shiken;
  level_settei(z.level);
  gamen_.zenbu_egaku();  // the clocks with it, as the kept game left them
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  if (!irekae)
    if (const std::string naze = chuudan_kesu(); !naze.empty())
      gamen_.shiraseru("中断した対局の棋譜を消せません（" + naze + "）");
  if (kirikae_.is_checked(Menu::BGM)) onkyou_.snd_loop(Oto::bgm);
  aicon_ichi(taikyoku_.teban() == taikyoku_.ue_gawa() ? "上" : "下", taikyoku_.teban());
  saikai_suru();
}

}  // namespace mirado
