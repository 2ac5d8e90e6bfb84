// The marks of the last turn on the board, the hint's marks, and the options that
// switch the marks and the move list.
#include <algorithm>

#include "app/game.h"
#include "app/hint_kaiseki.h"
#include "kifu/ichiran.h"

namespace mirado {

namespace {

// One colour per move of a turn (blue, purple, teal): apart from the red of a selection
// and the magenta of a hint, and dark enough on the wood.
constexpr int kShirushiIro[4] = {IRO_KURO, 9, 5, 3};

int masu_ban(int c, int r) { return c * 10 + r; }

// A frame three lines thick just inside the grid line, which stays the grid's.
constexpr int kFuchi = 15;  // twips: one pixel at scale 1

}  // namespace

std::vector<BanGamen::Shirushi> BanGamen::shirushi() const {
  std::vector<Shirushi> out;
  const int n = t_.kifu().kifu_ichi;
  if (!settei_.chokuzen_on() || !shirushi_ari_ || n < 1) return out;
  for (int i = (n - 1) / 3 * 3 + 1; i <= n; ++i) {
    const KifuEntry& e = t_.kifu().at(i);
    const int no = (i - 1) % 3 + 1;
    if (on_ban(e.te.fc, e.te.fr)) out.push_back({e.te.fc, e.te.fr, no, false});
    if (on_ban(e.te.tc, e.te.tr)) out.push_back({e.te.tc, e.te.tr, no, true});
  }
  return out;
}

void BanGamen::masu_shirushi(int iro, int c, int r, int no) {
  const int x = cell_x(c), y = cell_y(r);
  for (int i = 1; i <= 3; ++i)
    ports_.canvas->rect(iro, x + i * kFuchi, y + i * kFuchi, x + MASU_W - i * kFuchi,
                        y + MASU_H - i * kFuchi);
  if (no <= 0) return;
  const std::string s = std::to_string(no);
  // A light edge keeps the number readable on the wood and on a piece.
  moji_egaku(c + 0.12, r + 0.06, s, IRO_SHIRO, 0, 9);
  moji_egaku(c + 0.10, r + 0.04, s, iro, 0, 9);
}

void BanGamen::masu_saizen(int c, int r, int no) {
  const int x = cell_x(c), y = cell_y(r);
  // Corners only, inside the played turn's frames and clear of them, so both are seen.
  const int dx = MASU_W / 4, dy = MASU_H / 4;
  for (int i = 5; i <= 6; ++i) {
    const int x1 = x + i * kFuchi, y1 = y + i * kFuchi;
    const int x2 = x + MASU_W - i * kFuchi, y2 = y + MASU_H - i * kFuchi;
    for (const int cy : {y1, y2}) {
      ports_.canvas->rect(IRO_HINT, x1, cy, x1 + dx, cy);
      ports_.canvas->rect(IRO_HINT, x2 - dx, cy, x2, cy);
    }
    for (const int cx : {x1, x2}) {
      ports_.canvas->rect(IRO_HINT, cx, y1, cx, y1 + dy);
      ports_.canvas->rect(IRO_HINT, cx, y2 - dy, cx, y2);
    }
  }
  if (no <= 0) return;
  // Its number in the lower right corner, away from the played turn's in the upper left.
  const std::string s = std::to_string(no);
  moji_egaku(c + 0.70, r + 0.56, s, IRO_SHIRO, 0, 9);
  moji_egaku(c + 0.68, r + 0.54, s, IRO_HINT, 0, 9);
}

void BanGamen::shirushi_awaseru() {
  std::array<unsigned char, 100> want{};
  // A later move's mark stands over an earlier one on the same square.
  for (const Shirushi& s : shirushi()) {
    unsigned char& w = want[masu_ban(s.c, s.r)];
    w = static_cast<unsigned char>(s.no * 2 + (s.saki ? 1 : 0));
  }
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int i = masu_ban(c, r);
      const bool painted_over = nurikae_[i];
      if (want[i] == shirushi_gamen_[i] && (want[i] == 0 || !painted_over)) continue;
      // A square the game has just repainted is clean already; any other loses its old mark.
      if (!painted_over && shirushi_gamen_[i] != 0) {
        masu_egaku(t_.pos().ban[c][r], c, r);
      }
      if (want[i] != 0) masu_shirushi(kShirushiIro[want[i] / 2], c, r, want[i] % 2 ? want[i] / 2 : 0);
      shirushi_gamen_[i] = want[i];
    }
  nurikae_.fill(false);
}

void Game::chokuzen_menu() {
  settei_.chokuzen(!settei_.chokuzen_on());
  set_checked(Menu::CHOKUZEN, settei_.chokuzen_on());
  settei_kaki();
}

void Game::ichiran_menu() {
  settei_.ichiran(!settei_.ichiran_on());
  set_checked(Menu::ICHIRAN, settei_.ichiran_on());
  settei_kaki();
}

std::vector<std::string> BanGamen::ichiran() const {
  // Before a game starts (最初, start-up) 進 cannot step: no rows to click. A new game
  // shows none either until a move is made, or 進 steps into the record kept from before.
  if (!t_.hajimatta() ||
      (t_.tesuu() == 0 && !t_.saisei_chu() && !t_.saikai_machi()))
    return {};
  std::vector<std::string> rows = kifu_ichiran(t_.kifu(), t_.kifu().kifu_nagasa, t_.hyouki_sita_sente(),
                                               kifu_hajime(t_.pos(), t_.kifu()));
  const std::vector<std::string> soe = hint_.ichiran_soe();
  for (std::size_t i = 0; i < rows.size() && i < soe.size(); ++i) rows[i] += soe[i];
  return rows;
}

int BanGamen::ichiran_ima() const { return ichiran_gyou(t_.kifu().kifu_ichi); }

void Game::ichiran_click(int row) {
  if (row < 0 || row >= static_cast<int>(gamen_.ichiran().size())) return;
  const int goal = std::min(taikyoku_.kifu().kifu_nagasa, (row + 1) * 3);
  // Each step is a 戻 or 進 of its own: it stops where they would be refused.
  while (taikyoku_.kifu().kifu_ichi != goal) {
    const int before = taikyoku_.kifu().kifu_ichi;
    const bool back = goal < before;
    if (back) replay();
    else after();
    if (taikyoku_.kifu().kifu_ichi == before ||
        (back ? taikyoku_.kifu().kifu_ichi < goal : taikyoku_.kifu().kifu_ichi > goal))
      break;
  }
}

}  // namespace mirado
