// Showing or hiding the record panel.
#include "app/game.h"

namespace mirado {

void Game::file_mado(bool drive, bool dir, bool file) {
  kirikae_.set_visible(Control::PANEL_DRIVE_LIST, drive);
  kirikae_.set_visible(Control::PANEL_DIR_LIST, dir);
  kirikae_.set_visible(Control::PANEL_FILE_LIST, file);
}

void Game::kaki_mado(int mode) {
  static constexpr Control kPanel[] = {Control::PANEL_FILE_NAME,    Control::PANEL_TITLE,    Control::PANEL_SENTE_NAME,
                                       Control::PANEL_GOTE_NAME,    Control::PANEL_FILE_NAME_LABEL, Control::PANEL_GOTE_LABEL,
                                       Control::PANEL_SENTE_LABEL, Control::PANEL_TITLE_LABEL, Control::PANEL_WRITE_BUTTON};
  if (mode != 0) {
    const Control texts[] = {Control::PANEL_FILE_NAME, Control::PANEL_TITLE, Control::PANEL_SENTE_NAME, Control::PANEL_GOTE_NAME};
    for (int i = 0; i < 4; ++i) {
      kifu_panel_.text_kaeru(i + 1, "");
      ports().ui->set_text(texts[i], "");
    }
  }
  for (Control c : kPanel) kirikae_.set_visible(c, mode == 0);
}

}  // namespace mirado
