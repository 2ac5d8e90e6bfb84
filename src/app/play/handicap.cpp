// Handicap levels (△ and ▽): each level between -10 and 10 takes one more piece of
// one side off the starting position; below 0 the lower side gives up pieces.
#include "app/game.h"

namespace mirado {

namespace {

struct Masu {
  int c, r, koma;
};

// Step k (1..10) lies between levels -k and -(k - 1) for the lower side, and between
// k - 1 and k for the upper side; the piece is the one present nearer to level 0.
constexpr Masu kSitaSteps[11] = {{0, 0, 0},      {2, 8, -KAKU}, {8, 8, -HISHA}, {1, 9, -KYOU},
                                 {9, 9, -KYOU},  {2, 9, -KEI},  {8, 9, -KEI},   {3, 9, -GIN},
                                 {7, 9, -GIN},   {4, 9, -KIN},  {6, 9, -KIN}};
constexpr Masu kUeSteps[11] = {{0, 0, 0},    {8, 2, KAKU}, {2, 2, HISHA}, {9, 1, KYOU},
                               {1, 1, KYOU}, {8, 1, KEI},  {2, 1, KEI},   {7, 1, GIN},
                               {3, 1, GIN},  {6, 1, KIN},  {4, 1, KIN}};

// The checks shared by both commands; false when the command is refused.
bool handicap_dekiru(Game& g) {
  g.panel_tojiru();
  const int reason = g.saisei_chu ? 1 : g.kifu.kifu_ichi > 0 ? 2 : g.hanten_zumi ? 3 : 0;
  if (reason != 0) {
    g.snd_play(Oto::kinshi);
    g.handicap_keikoku(reason);
    return false;
  }
  g.kifu.kifu_nagasa = 0;  // a record from the even start no longer fits the board
  // A selected piece could be the one taken off the board.
  g.click_jotai = 0;
  g.waku_kesu();
  return true;
}

void handicap_masu(Game& g, const Masu& m, bool put) {
  g.pos.ban[m.c][m.r] = put ? m.koma : kara;
  g.masu_egaku(g.pos.ban[m.c][m.r], m.c, m.r);
  g.snd_play(Oto::koma);
}

}  // namespace

void Game::handicap_keikoku(int reason) {
  static constexpr const char* kRiyuu[] = {"", "棋譜ﾓｰﾄﾞではできません", "対局途中ではできません",
                                           "反転後ではできません"};
  const char* riyuu = reason >= 1 && reason <= 3 ? kRiyuu[reason] : "";
  msg(std::string(riyuu) + "\r\r" + "局面→最初にして下さい", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定");
}

void Game::lbel_up() {
  if (!handicap_dekiru(*this)) return;
  if (handicap < 10) {
    const int old = handicap;
    handicap = old + 1;
    handicap_hyouji(handicap);
    if (handicap <= 0) handicap_masu(*this, kSitaSteps[-old], true);
    else handicap_masu(*this, kUeSteps[handicap], false);
  }
  handicap_zumi = true;
}

void Game::lebel_down() {
  if (!handicap_dekiru(*this)) return;
  if (handicap > -10) {
    const int old = handicap;
    handicap = old - 1;
    handicap_hyouji(handicap);
    if (handicap < 0) handicap_masu(*this, kSitaSteps[-handicap], false);
    else handicap_masu(*this, kUeSteps[old], true);
  }
  handicap_zumi = true;
}

}  // namespace mirado
