// Recording moves, and showing or hiding the record panel.
#include "app/game.h"

namespace mirado {

void Game::kifu_kiroku(int moto_x, int moto_y, int saki_x, int saki_y, int moto_koma, int koma,
                       double sita_mae, double sita_ato, double ue_mae, double ue_ato) {
  KifuEntry e;
  e.moto_x = moto_x;
  e.moto_y = moto_y;
  e.saki_x = saki_x;
  e.saki_y = saki_y;
  e.moto_koma = moto_koma;
  e.koma = koma;
  e.tori_koma = on_ban(saki_x, saki_y) ? pos.ban[saki_x][saki_y] : kara;
  e.sita_mae = sita_mae;
  e.sita_ato = sita_ato;
  e.ue_mae = ue_mae;
  e.ue_ato = ue_ato;
  kifu.kiroku(e);
  shirushi_ari = true;
}

void Game::file_mado(int drive, int dir, int file) {
  set_visible(Control::Drive1, drive == ari);
  set_visible(Control::Dir1, dir == ari);
  set_visible(Control::File1, file == ari);
}

void Game::kaki_mado(int mode) {
  static constexpr Control kPanel[] = {Control::Text1,    Control::Text2,    Control::Text3,
                                       Control::Text4,    Control::Label1_0, Control::Label1_1,
                                       Control::Label1_2, Control::Label1_3, Control::Command1};
  if (mode != 0) {
    const Control texts[] = {Control::Text1, Control::Text2, Control::Text3, Control::Text4};
    for (int i = 0; i < 4; ++i) {
      panel_text[i + 1].clear();
      ports().ui->set_text(texts[i], "");
    }
  }
  for (Control c : kPanel) set_visible(c, mode == 0);
}

}  // namespace mirado
