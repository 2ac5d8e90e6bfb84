// The clocks as shown: the holder's runs through all three of its moves, the other stands,
// and no shown time goes back except by stepping through the record or a new game.
#include <gtest/gtest.h>

#include "fakes.h"
#include "game_shiken.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

using test::Harness;
using test::press;

class Tokei : public ::testing::Test {
 protected:
  test::TempCwd cwd;
  Harness h;
  Game& g = h.game;
  std::vector<std::string> seen[2];  // every text each clock showed, in order

  void SetUp() override {
    g.on_load();
    if (!g.kirikae().is_checked(Menu::KEIKA)) g.on_menu(Menu::KEIKA);
    g.ibento_owari();
  }
  void look() {
    for (int i = 0; i < 2; ++i)
      if (seen[i].empty() || seen[i].back() != g.ban_gamen().tokei_moji(i)) seen[i].push_back(g.ban_gamen().tokei_moji(i));
  }
  // Time passes with the window's timer ticking, as the window's event loop does.
  void wait(double s) {
    for (double t = 0; t < s; t += 0.5) {
      h.clock.t += 0.5;
      if (h.ui.timer) g.ban_gamen().timer_tick();
      look();
    }
  }
  void event(int c, int r) {
    press(g, c, r);
    g.ibento_owari();
    look();
  }
  void move(int fc, int fr, int tc, int tr) {
    wait(4);
    event(fc, fr);
    wait(3);
    event(tc, tr);
  }
  static bool never_back(const std::vector<std::string>& texts) {
    for (std::size_t i = 1; i < texts.size(); ++i)
      if (texts[i] < texts[i - 1]) return false;  // "hh:mm:ss" sorts as time does
    return true;
  }
};

TEST_F(Tokei, TheHoldersClockRunsThroughItsThreeMovesAndTheOtherStands) {
  g.on_menu(Menu::START);
  g.ibento_owari();
  seen[0].clear(), seen[1].clear();
  look();
  // The charge began when スタート was chosen, 1.5 s before its sound ended.
  move(3, 7, 3, 6);  // the lower side's own pawn
  EXPECT_EQ(g.ban_gamen().tokei_moji(0), "00:00:08");
  move(3, 3, 3, 4);  // the opponent's pawn: still the lower side's time
  EXPECT_EQ(g.ban_gamen().tokei_moji(0), "00:00:15");
  EXPECT_EQ(g.ban_gamen().tokei_moji(1), "00:00:00");
  move(7, 7, 7, 6);  // the turn ends: the lower clock stops where it stood
  EXPECT_EQ(g.ban_gamen().tokei_moji(0), "00:00:22");
  EXPECT_EQ(g.taikyoku().jikan_sita(), 22.5);
  wait(10);
  EXPECT_EQ(g.ban_gamen().tokei_moji(0), "00:00:22");
  EXPECT_EQ(g.ban_gamen().tokei_moji(1), "00:00:10");
  move(7, 3, 7, 4);
  move(2, 7, 2, 6);
  move(4, 3, 4, 4);
  EXPECT_EQ(g.ban_gamen().tokei_moji(1), "00:00:31");
  EXPECT_TRUE(never_back(seen[0])) << ::testing::PrintToString(seen[0]);
  EXPECT_TRUE(never_back(seen[1])) << ::testing::PrintToString(seen[1]);
  // Stepping back shows the times the record has, and play resumes from them.
  g.on_menu(Menu::REPLAY);
  g.ibento_owari();
  EXPECT_EQ(g.ban_gamen().tokei_moji(0), "00:00:22");
  EXPECT_EQ(g.ban_gamen().tokei_moji(1), "00:00:00");
  EXPECT_FALSE(h.ui.timer);
}

TEST_F(Tokei, ARefusedMoveAndItsBoxLeaveBothClocksAsTheyRun) {
  g.on_menu(Menu::START);
  g.ibento_owari();
  move(3, 7, 3, 6);
  move(3, 3, 3, 4);
  wait(9);
  const std::string before = g.ban_gamen().tokei_moji(0);
  h.ui.boxes.clear();
  // The third move moves the piece of the first: made, refused with a box, taken back.
  event(3, 6);
  event(3, 5);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(g.taikyoku().pos().ban[3][6], -HU);
  EXPECT_EQ(g.ban_gamen().tokei_moji(0), before);
  EXPECT_EQ(g.ban_gamen().tokei_moji(1), "00:00:00");
  wait(1);
  EXPECT_GT(g.ban_gamen().tokei_moji(0), before);  // it runs on from where it stood
}

TEST_F(Tokei, TheComputersClockRunsWhileItSearchesAndNeverGoesBack) {
  g.on_menu(Menu::LEVEL1);
  g.on_menu(Menu::SENTE);
  g.ibento_owari();
  h.ui.boxes.clear();
  seen[0].clear(), seen[1].clear();
  move(3, 7, 3, 6);
  move(3, 3, 3, 4);
  wait(5);
  const std::string mine = g.ban_gamen().tokei_moji(0);
  event(7, 7);
  event(7, 6);  // the third move hands the turn to the computer, which plays it here
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.ban_gamen().tokei_moji(0), mine);  // it stood while the computer played
  // The computer's shown time is what its record says it used.
  EXPECT_EQ(g.ban_gamen().tokei_moji(1), jikan_moji(g.taikyoku().jikan_ue()));
  EXPECT_TRUE(never_back(seen[0])) << ::testing::PrintToString(seen[0]);
  EXPECT_TRUE(never_back(seen[1])) << ::testing::PrintToString(seen[1]);
  EXPECT_TRUE(h.ui.timer);  // the person's clock runs again
  wait(2);
  EXPECT_GT(g.ban_gamen().tokei_moji(0), mine);
}

TEST_F(Tokei, HiddenClocksAreNotDrawnAndANewGameStartsThemAtZero) {
  g.on_menu(Menu::START);
  move(3, 7, 3, 6);
  g.on_menu(Menu::CANCEL);
  g.ibento_owari();
  EXPECT_EQ(g.ban_gamen().tokei_moji(0), "00:00:00");
  g.on_menu(Menu::KEIKA);
  EXPECT_TRUE(g.ban_gamen().tokei_moji(0).empty());
  EXPECT_TRUE(g.ban_gamen().tokei_moji(1).empty());
}

}  // namespace
}  // namespace mirado

namespace mirado {
namespace {

// Counts the menus' switching off and on, with the time the computer's turn took, and
// checks the move list against the board.
class MenuUi : public test::FakeUi {
 public:
  std::vector<bool> menus;
  std::vector<double> when;  // the clock at each switch
  const test::SimClock* clock = nullptr;
  void set_menus_enabled(bool on) override {
    menus.push_back(on);
    when.push_back(clock->t);
  }
  // The move list as it is sent: each time, is the last move it holds on the board yet?
  const Game* g = nullptr;
  const test::FakeCanvas* canvas = nullptr;
  int sent = 0, ahead = 0;
  void set_ichiran(bool shown, const std::vector<std::string>& rows, int current) override {
    FakeUi::set_ichiran(shown, rows, current);
    const Kifu& k = g->taikyoku().kifu();
    if (!shown || k.kifu_ichi == 0) return;
    const KifuEntry& e = k.at(k.kifu_ichi);
    ++sent;
    if (canvas->picture_at(e.te.tc, e.te.tr) != e.te.koma) ++ahead;
  }
};

struct ComHyoujiHarness {
  test::FakeCanvas canvas;
  MenuUi ui;
  test::SimClock clock;
  test::FakeSound sound;
  Game game{Ports{&canvas, &ui, &clock, &sound, &sound}};
  ComHyoujiHarness() {
    ui.clock = &clock;
    ui.g = &game;
    ui.canvas = &canvas;
  }
};

// The computer's whole first turn after GOTE at LEVEL1: the seconds it took to show, and
// the position it left.
std::pair<double, std::string> com_ban(ComHyouji h, std::vector<bool>* menus = nullptr) {
  test::TempCwd cwd;
  ComHyoujiHarness x;
  Game& g = x.game;
  g.on_load();
  g.on_menu(h == ComHyouji::hyoujun ? Menu::HYOUJUN : h == ComHyouji::hayai ? Menu::HAYAI : Menu::SHOURYAKU);
  if (!g.settei().ichiran_on()) g.on_menu(Menu::ICHIRAN);
  g.on_menu(Menu::LEVEL1);
  const double t0 = x.clock.t + 1.5;  // the start's own pause
  g.on_menu(Menu::GOTE);
  if (menus) *menus = x.ui.menus;
  // The move list gains each of its moves as the board shows it, never before.
  EXPECT_EQ(x.ui.sent, 3);
  EXPECT_EQ(x.ui.ahead, 0);
  // Off from the first moment, the start's pause included, and back at the turn's end.
  EXPECT_EQ(x.ui.when.size(), 2u);
  if (x.ui.when.size() == 2) {
    EXPECT_EQ(x.ui.when.front(), t0 - 1.5);
    EXPECT_EQ(x.ui.when.back(), x.clock.t);
  }
  std::string board;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) board += std::to_string(g.taikyoku().pos().ban[c][r]) + ",";
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(g.ban_gamen().shirushi().size(), 6u);  // all three moves marked
  return {x.clock.t - t0, board};
}

TEST(ComHyouji, QuickerDisplaysPlayTheSameMovesInAQuarterOfTheTimeOrAtOnce) {
  std::vector<bool> menus;
  const auto [hyoujun, ban1] = com_ban(ComHyouji::hyoujun, &menus);
  const auto [hayai, ban2] = com_ban(ComHyouji::hayai);
  const auto [shouryaku, ban3] = com_ban(ComHyouji::shouryaku);
  EXPECT_EQ(ban1, ban2);
  EXPECT_EQ(ban1, ban3);
  EXPECT_NEAR(hyoujun, 3 * (4 * 0.2 + 0.5), 0.01);  // two blinks and a pause a move
  EXPECT_NEAR(hayai, hyoujun / 4, 0.01);
  EXPECT_NEAR(shouryaku, 0, 0.01);
  // The menus were off while it played and are back for the person.
  EXPECT_EQ(menus, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace mirado
