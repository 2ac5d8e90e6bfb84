// Whole games from start-up, played only through the window's events: the person
// always tries the first move that the game accepts, the computer answers.
#include <gtest/gtest.h>


#include "fakes.h"
#include "game_kensa.h"
#include "temp_cwd.h"
#include "game_shiken.h"

namespace mirado {
namespace {

// Presses a piece and then a target with the right button (which promotes where it may);
// true when the game took it as a move.
bool try_move(Game& g, int fc, int fr, int tc, int tr) {
  const int tesuu = g.taikyoku().tesuu();
  auto press = [&](int button, int c, int r) {
    g.on_mouse_down(button, 0, BAN_LEFT + MASU_W * c + MASU_W / 2, BAN_TOP + MASU_H * r + MASU_H / 2);
  };
  press(1, fc, fr);
  if (g.nyuuryoku().click_jotai() != 1) return false;
  press(2, tc, tr);
  if (g.nyuuryoku().click_jotai() == 1)
    press(1, 12, 12);  // a refused promotion keeps the selection
  return g.taikyoku().tesuu() > tesuu || g.taikyoku().owatta();
}

// The person's next move in the current phase: taking the computer's king when it can,
// else the first piece, in board order from square `start`, with the first target the
// game accepts. False when no move is accepted.
bool person_moves(Game& g, int start) {
  const bool own =
      g.taikyoku().dankai() != Dankai::ni;  // phase 2 moves one of the computer's pieces
  if (own)
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r) {
        const int code = g.taikyoku().pos().ban[c][r];
        const int kx = g.taikyoku().pos().ou_ue_x, ky = g.taikyoku().pos().ou_ue_y;
        if (code <= -10 && on_ban(kx, ky) && g.taikyoku().pos().ban[kx][ky] == OU &&
            g.taikyoku().pos().idou_kanou(c, r, kx, ky, code) && try_move(g, c, r, kx, ky))
          return true;
      }
  for (int i = 0; i < 81; ++i) {
    const int c = 1 + (start + i) % 81 / 9, r = 1 + (start + i) % 9;
    const int code = g.taikyoku().pos().ban[c][r];
    if (own ? code > -10 : code < 10) continue;
    for (int tc = 1; tc <= 9; ++tc)
      for (int tr = 1; tr <= 9; ++tr)
        if (g.taikyoku().pos().idou_kanou(c, r, tc, tr, code) && try_move(g, c, r, tc, tr))
          return true;
  }
  return false;
}

int slots(const int (&hand)[8]) {
  int n = 0;
  for (int k = 1; k <= 7; ++k) n += hand[k];
  return n;
}

struct Kekka {
  bool owatta = false;        // the game ended
  bool ou_tori = false;       // ... by a captured king
  bool aisatsu = false;       // ... and the ending was announced as it should be
  bool saigen = false;        // the record replays to the final position
  int tesuu = 0;
};

// One game against the computer from start-up, the person choosing from square `start`.
Kekka play_game(int start) {
  test::TempCwd cwd;
  test::Harness h;
  Game& g = h.game;
  g.on_load();
  g.on_menu(Menu::SENTE);
  Kekka k;
  for (int moves = 0; !g.taikyoku().owatta() && moves < 600; ++moves)
    if (!person_moves(g, start)) return k;
  k.owatta = g.taikyoku().owatta();
  k.tesuu = g.taikyoku().tesuu();
  // A captured king adds to its capturer's hand total but to no hand slot.
  k.ou_tori =
      g.taikyoku().pos().mochigoma_su_sita == slots(g.taikyoku().pos().mochigoma_sita) + 1 ||
      g.taikyoku().pos().mochigoma_su_ue == slots(g.taikyoku().pos().mochigoma_ue) + 1;
  const test::Box& last = h.ui.boxes.back();
  k.aisatsu = k.ou_tori ? (last.text == "ｺﾝﾋﾟｭｰﾀの勝ちです" || last.text == "あなたの勝ちです") && last.title == "終了"
                        : (last.text == "よし！!　コンピュータの勝ちです" && last.title == "詰め!") ||
                              (last.text == "あなたの勝ちです" && last.title == "終了");
  Kyokumen replayed;
  replayed.shoki_haichi();
  test::kifu_saigen(replayed, g.taikyoku().kifu(), g.taikyoku().kifu().kifu_ichi);
  k.saigen = test::same_position(replayed, g.taikyoku().pos()) &&
             g.taikyoku().kifu().kifu_ichi == g.taikyoku().tesuu();
  return k;
}

// Games from start-up to their end: some by a captured king, some by a detected mate.
TEST(FullGame, AgainstTheComputerFromTheStartToACaptureAndToAMate) {
  int captures = 0, mates = 0;
  for (int start = 0; start < 12; ++start) {
    const Kekka k = play_game(start);
    ASSERT_TRUE(k.owatta) << "game " << start << " did not end";
    EXPECT_TRUE(k.aisatsu) << "game " << start;
    EXPECT_TRUE(k.saigen) << "game " << start;
    (k.ou_tori ? captures : mates) += 1;
  }
  EXPECT_GT(captures, 0);
  EXPECT_GT(mates, 0);
}

}  // namespace
}  // namespace mirado
