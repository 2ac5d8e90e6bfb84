// Painting the board, pieces, hands, coordinates, background and logo.
// Every operation paints over what is there; a region is cleared by painting
// background tiles over it again.
#include <cmath>

#include "app/ban_gamen.h"

namespace mirado {

namespace {
constexpr int kMochigomaUe[8] = {0, HU, KYOU, KEI, GIN, KIN, KAKU, HISHA};
}  // namespace

void BanGamen::koma_egaku(int code, double c, double r) {
  const bool known = code == kara || (code >= 1 && code <= 7) ||
                     (is_koma(code) && is_valid_code(code));
  if (!known) return;  // no picture: the cell is left as it was
  ports_.canvas->picture(code, cell_x(c), cell_y(r));
  const int ic = static_cast<int>(c), ir = static_cast<int>(r);
  if (ic == c && ir == r && on_ban(ic, ir)) nurikae_[ic * 10 + ir] = true;  // its mark is gone
}

void BanGamen::waku_egaku(int iro, double c, double r) {
  const int x = cell_x(c), y = cell_y(r);
  ports_.canvas->rect(iro, x, y, x + MASU_W, y + MASU_H);
}

void BanGamen::masu_egaku(int code, double c, double r) {
  koma_egaku(code, c, r);
  waku_egaku(IRO_MIDORI, c, r);
}

void BanGamen::moji_egaku(double c, double r, std::string_view value, int iro, int mode, int size) {
  (void)mode;  // a text is printed as it is whatever the mode
  ports_.canvas->text(cell_x(c), cell_y(r), value, iro, size, font_bold_);
}

void BanGamen::moji_egaku(double c, double r, long value, int iro, int mode, int size) {
  const std::string s = mode == 0 ? std::to_string(value)
                                  : kansuuji(value >= 1 && value <= 9 ? static_cast<int>(value) : 0);
  if (s.empty()) return;
  ports_.canvas->text(cell_x(c), cell_y(r), s, iro, size, font_bold_);
}

void BanGamen::meisho_egaku(double c, double r, int code, int iro, int size) {
  const std::string s = code == 99 ? std::string("手目") : handicap_meishou(code);
  if (s.empty()) return;
  ports_.canvas->text(cell_x(c) + 120, cell_y(r) + 160, s, iro, size, font_bold_);
}

void BanGamen::haikei_shiku(int id, int c1, int c2, int r1, int r2) {
  for (int c = c1; c <= c2; ++c)
    for (int r = r1; r <= r2; ++r)
      if (!on_ban(c, r)) koma_egaku(id, c, r);
}

void BanGamen::zahyou_egaku() {
  font_bold_ = true;
  for (int i = 1; i <= 9; ++i) {
    koma_egaku(settei_.haikei(), i, 0);
    moji_egaku(i + 0.2, 0.5, static_cast<long>(10 - i), IRO_KURO, 0, 16);
    moji_egaku(i + 0.1, 0.4, static_cast<long>(10 - i), IRO_KIIRO, 0, 16);
    koma_egaku(settei_.haikei(), 10, i);
    moji_egaku(10.2, i + 0.4, static_cast<long>(i), IRO_KURO, 1, 12);
    moji_egaku(10.1, i + 0.3, static_cast<long>(i), IRO_KIIRO, 1, 12);
    waku_egaku(IRO_MIDORI, 9, i);
  }
}

void BanGamen::ban_egaku() {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) masu_egaku(t_.pos().ban[c][r], c, r);
}

void BanGamen::mochigoma_sita_egaku() {
  for (int k = 1; k <= 7; ++k) {
    const int r = moto_gyou(TE_SITA, k);
    koma_egaku(kara, 11, r);
    koma_egaku(settei_.haikei(), 12, r);
    waku_egaku(IRO_MIDORI, 11, r);
    if (t_.pos().mochigoma_sita[k] > 0) {
      masu_egaku(-kMochigomaUe[k], 11, r);
      moji_egaku(12.1, k + 2.3, static_cast<long>(t_.pos().mochigoma_sita[k]), IRO_KURO, 0,
                 14);
      moji_egaku(12, k + 2.2, static_cast<long>(t_.pos().mochigoma_sita[k]), IRO_AKA, 0, 14);
    }
  }
}

void BanGamen::mochigoma_ue_egaku() {
  for (int j = 1; j <= 7; ++j) {
    const int k = moto_fr(TE_UE, j);
    koma_egaku(kara, -1, j);
    koma_egaku(settei_.haikei(), 0, j);
    waku_egaku(IRO_MIDORI, -1, j);
    if (t_.pos().mochigoma_ue[k] > 0) {
      masu_egaku(kMochigomaUe[k], -1, j);
      moji_egaku(0.1, j + 0.3, static_cast<long>(t_.pos().mochigoma_ue[k]), IRO_KURO, 0, 14);
      moji_egaku(0, j + 0.2, static_cast<long>(t_.pos().mochigoma_ue[k]), IRO_AKA, 0, 14);
    }
    waku_egaku(IRO_MIDORI, 1, j);
  }
}

void BanGamen::zenbu_egaku() {
  haikei_shiku(settei_.haikei(), -3, 28, -2, 17);
  zahyou_egaku();
  mochigoma_sita_egaku();
  mochigoma_ue_egaku();
  ban_egaku();
  tokei_moji_[0].clear();  // the background covered them
  tokei_moji_[1].clear();
  jikan_awaseru();
  if (t_.taikyoku_shu() == TaikyokuShu::com) level_hyouji(t_.level());
  if (t_.handicap_zumi()) handicap_hyouji(t_.handicap());
  koma_egaku(!t_.hajimatta() ? PIC_ZUVANSHOGI2 : PIC_ZUVANSHOGI, 11.2, 0);
  shirushi_awaseru();
}

void BanGamen::kaishi_egaku() {
  // A game starts on a clean picture: a loaded record's title and names, the last
  // moves' labels and anything else of the game before are gone.
  zenbu_egaku();
}

void BanGamen::waku_kesu() {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) waku_egaku(IRO_MIDORI, c, r);
}

void BanGamen::sidou_egaku(int fc, int fr, int iro, int code) {
  waku_kesu();
  if (!settei_.sidou_on()) return;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r)
      if (t_.pos().idou_kanou(fc, fr, c, r, code)) waku_egaku(iro, c, r);
}

}  // namespace mirado
