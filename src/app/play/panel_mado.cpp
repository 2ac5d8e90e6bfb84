// Showing or hiding the record panel.
#include "app/game.h"

namespace mirado {

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
