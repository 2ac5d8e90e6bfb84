// The retained picture after every kind of move, drop and step equals what a full
// redraw paints for the same game: the board, its coordinates and both hands, marks and
// guidance aside. Random games between two people and against the computer.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>

#include "fakes.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

// What stays on screen, cell by cell: the last picture painted on a cell, and the texts
// printed in it since. A picture covers the texts of its cell.
class GamenCanvas : public Canvas {
 public:
  struct Masu {
    int picture = -1;
    std::vector<std::string> texts;
    bool operator==(const Masu&) const = default;
  };
  std::map<std::pair<int, int>, Masu> masu;

  void picture(int id, int x, int y) override {
    if ((x - BAN_LEFT) % MASU_W != 0 || (y - BAN_TOP) % MASU_H != 0) return;  // the logo
    Masu& m = masu[cell(x, y)];
    m.picture = id;
    m.texts.clear();
  }
  void rect(int, int, int, int, int) override {}  // frames: selection, guidance, marks
  void text(int x, int y, std::string_view s, int colour, int, bool) override {
    masu[cell(x, y)].texts.push_back(std::string(s) + "/" + std::to_string(colour));
  }
  void repaint() override {}
  void refresh() override {}

  static std::pair<int, int> cell(int x, int y) {
    const auto floor_div = [](int v, int d) { return v >= 0 ? v / d : -((-v + d - 1) / d); };
    return {floor_div(x - BAN_LEFT, MASU_W), floor_div(y - BAN_TOP, MASU_H)};
  }
};

// The board, its column and row labels, and the two hands with their counts; the texts
// on the board are the marks' numbers, left aside.
bool compared(int c, int r, bool text) {
  if (on_ban(c, r)) return !text;
  if (r == 0 && c >= 1 && c <= 9) return true;
  if (c == 10 && r >= 1 && r <= 9) return true;
  if ((c == 11 || c == 12) && r >= 1 && r <= 10) return !text || c == 12;
  if ((c == -1 || c == 0) && r >= 0 && r <= 8) return !text || c == 0;
  return false;
}

std::string sa(const GamenCanvas& kept, const GamenCanvas& full) {
  std::ostringstream out;
  for (int c = -1; c <= 12; ++c)
    for (int r = 0; r <= 10; ++r) {
      const auto find = [&](const GamenCanvas& g) {
        auto it = g.masu.find({c, r});
        return it == g.masu.end() ? GamenCanvas::Masu{} : it->second;
      };
      const GamenCanvas::Masu a = find(kept), b = find(full);
      if (compared(c, r, false) && a.picture != b.picture)
        out << " cell " << c << "," << r << " shows " << a.picture << " not " << b.picture << ";";
      if (compared(c, r, true) && a.texts != b.texts)
        out << " cell " << c << "," << r << " texts " << ::testing::PrintToString(a.texts) << " not "
            << ::testing::PrintToString(b.texts) << ";";
    }
  return out.str();
}

class Gamen : public ::testing::TestWithParam<int> {
 protected:
  test::TempCwd cwd;
  GamenCanvas canvas;
  test::FakeUi ui;
  test::SimClock clock;
  test::FakeSound sound;
  Game g{Ports{&canvas, &ui, &clock, &sound, &sound}};
  std::mt19937 rng{static_cast<unsigned>(GetParam()) * 7919u};

  int ransu(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }

  // A press on one of the pieces the phase may move (or a hand piece now and then),
  // then on a square it can reach; the right button half the time.
  void te() {
    const Dankai d = g.taikyoku().dankai();
    const bool sita = g.taikyoku().ugoki_sita(d);
    const int* te = sita ? g.taikyoku().pos().mochigoma_sita : g.taikyoku().pos().mochigoma_ue;
    std::vector<std::pair<int, int>> moto;
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r)
        if (g.taikyoku().ugokaseru(d, g.taikyoku().pos().ban[c][r])) moto.push_back({c, r});
    for (int k = 1; k <= 7; ++k)
      if (te[k] > 0 && ransu(2) == 0) moto.push_back({sita ? TE_SITA : TE_UE, sita ? k + 2 : 8 - k});
    if (moto.empty()) return;
    const auto [fc, fr] = moto[ransu(static_cast<int>(moto.size()))];
    const int koma = on_ban(fc, fr) ? g.taikyoku().pos().ban[fc][fr]
                                    : (sita ? -MOCHIGOMA_KOMA[fr - 2] : MOCHIGOMA_KOMA[8 - fr]);
    std::vector<std::pair<int, int>> saki;
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r)
        if (g.taikyoku().pos().idou_kanou(fc, fr, c, r, koma)) saki.push_back({c, r});
    if (saki.empty()) return;
    const auto [tc, tr] = saki[ransu(static_cast<int>(saki.size()))];
    test::press(g, fc, fr);
    test::press(g, tc, tr, ransu(2) == 0 ? 2 : 1);
  }

  void ippo() {
    const int k = ransu(100);
    if (!g.taikyoku().hajimatta() || g.taikyoku().owatta())
      g.on_menu(ransu(2) == 0 ? Menu::START : Menu::SENTE);
    else if (k < 6) g.on_menu(Menu::REPLAY);
    else if (k < 12) g.on_menu(Menu::AFTER);
    else if (k < 13) g.on_menu(Menu::CANCEL);
    else te();
    g.ibento_owari();
  }
};

TEST_P(Gamen, TheRetainedPictureIsWhatAFullRedrawDraws) {
  g.on_load();
  g.on_menu(ransu(2) == 0 ? Menu::LEVEL1 : Menu::LEVEL2);
  int drops = 0, moves = 0;
  for (int i = 0; i < 600; ++i) {
    const int tesuu = g.taikyoku().tesuu();
    const int te_mae = g.taikyoku().pos().mochigoma_su_sita + g.taikyoku().pos().mochigoma_su_ue;
    ippo();
    moves += g.taikyoku().tesuu() > tesuu;
    drops += g.taikyoku().tesuu() > tesuu &&
             g.taikyoku().pos().mochigoma_su_sita + g.taikyoku().pos().mochigoma_su_ue < te_mae;
    const GamenCanvas kept = canvas;
    g.ban_gamen().zenbu_egaku();
    const std::string fault = sa(kept, canvas);
    ASSERT_TRUE(fault.empty()) << "event " << i << ":" << fault;
  }
  EXPECT_GT(moves, 100);
  EXPECT_GT(drops, 0);
}

INSTANTIATE_TEST_SUITE_P(Gamen, Gamen, ::testing::Range(1, 7));

}  // namespace
}  // namespace mirado
