// ﾋﾝﾄ on the game object: the moves LEVEL4 would play for the holder of the turn, marked
// and written, never played, gone with the next click; refused where it makes no sense.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/yomi.h"
#include "fakes.h"
#include "kifu/ichiran.h"
#include "kifu/kensa.h"
#include "kifu_support.h"
#include "rules/sfen.h"
#include "temp_cwd.h"
#include "game_shiken.h"

namespace mirado {
namespace {

void press(Game& g, int c, int r) {
  g.on_mouse_down(1, 0, BAN_LEFT + MASU_W * c + MASU_W / 2, BAN_TOP + MASU_H * r + MASU_H / 2);
}

bool outlined(const test::FakeCanvas& canvas, std::size_t from, int colour, int c, int r) {
  for (std::size_t i = from; i < canvas.ops.size(); ++i) {
    const test::Painted& op = canvas.ops[i];
    // A mark's frame lies inside the square, the grid line on its edge.
    if (op.kind == test::Painted::kRect && op.id_or_colour == colour && op.x >= cell_x(c) &&
        op.x < cell_x(c + 1) && op.y >= cell_y(r) && op.y < cell_y(r + 1))
      return true;
  }
  return false;
}

// The plan LEVEL4 makes for the lower side of `pos`, on the turned board, turned back,
// against the design's computer at level 3.
YomiTe plan_for_the_lower_side(const Kyokumen& pos, int dankai, int ix, int iy, int nx, int ny) {
  Yomi yomi;
  YomiSettei s;
  s.nodes = 3000;
  s.aite_com = true;
  auto t = [](int v) { return v >= 1 && v <= 9 ? 10 - v : v; };
  YomiTe plan = yomi.sagasu(kaiten(pos), s, dankai, t(ix), t(iy), t(nx), t(ny)).turn;
  for (int i = 0; i < plan.n; ++i) plan.te[i] = sashite_kaiten(plan.te[i]);
  return plan;
}

struct HintGame : ::testing::Test {
  test::TempCwd cwd;
  test::Harness h;
  Game& g = h.game;
  void SetUp() override {
    g.on_load();
    g.com_teban().yomi().yomi_nodes_settei(3000);
  }
};

TEST_F(HintGame, RefusedWithoutAGameOrAfterIt) {
  g.on_menu(Menu::HINT);
  ASSERT_FALSE(h.ui.boxes.empty());
  EXPECT_EQ(h.ui.boxes.back().title, "ﾋﾝﾄ");
  EXPECT_EQ(h.ui.boxes.back().text, "対局を始めてから使って下さい");
  EXPECT_EQ(g.hint_kaiseki().hint_te().n, 0);
  g.on_menu(Menu::START);
  haichi(g, "4k4/4G4/9/9/9/9/9/9/4K4 b - 1");
  press(g, 5, 2);  // the lower gold takes the upper king
  press(g, 5, 1);
  ASSERT_TRUE(g.taikyoku().owatta());
  g.on_menu(Menu::HINT);
  EXPECT_EQ(h.ui.boxes.back().text, "対局は終わっています");
  Taikyoku kifu_mode = haichi(haichi_ima(g, ""));
  kifu_mode.kifu_yomikomi({});  // a record being stepped through
  g.haichi(kifu_mode);
  g.on_menu(Menu::HINT);
  EXPECT_EQ(h.ui.boxes.back().text, "棋譜ﾓｰﾄﾞではできません");
  EXPECT_EQ(g.hint_kaiseki().hint_te().n, 0);
}

TEST_F(HintGame, ShowsTheTurnWithoutPlayingItAndGoesWithTheNextClick) {
  g.on_menu(Menu::SENTE);  // the person holds the lower pieces and moves first
  const Kyokumen before = g.taikyoku().pos();
  const YomiTe expect = plan_for_the_lower_side(before, 1, 0, 0, 0, 0);
  ASSERT_EQ(expect.n, 3);
  const std::size_t mark = h.canvas.ops.size();
  g.on_menu(Menu::HINT);
  ASSERT_EQ(g.hint_kaiseki().hint_te().n, 3);
  for (int i = 0; i < 3; ++i) {
    const Sashite& m = g.hint_kaiseki().hint_te().te[i];
    EXPECT_EQ(m.te.fc, expect.te[i].te.fc);
    EXPECT_EQ(m.te.fr, expect.te[i].te.fr);
    EXPECT_EQ(m.te.tc, expect.te[i].te.tc);
    EXPECT_EQ(m.te.tr, expect.te[i].te.tr);
    EXPECT_TRUE(outlined(h.canvas, mark, IRO_HINT, m.te.tc, m.te.tr)) << i;
  }
  // Moves 1 and 3 move the person's own pieces, move 2 one of the computer's.
  EXPECT_TRUE(is_sita(g.hint_kaiseki().hint_te().te[0].moto_koma));
  EXPECT_TRUE(is_ue(g.hint_kaiseki().hint_te().te[1].moto_koma));
  EXPECT_TRUE(is_sita(g.hint_kaiseki().hint_te().te[2].moto_koma));
  // The moves go to the status line in the move list's notation, each read on the
  // position the one before leaves.
  std::string want = "ﾋﾝﾄ:";
  Kyokumen p = before;
  for (int i = 0; i < 3; ++i) {
    const Sashite& m = g.hint_kaiseki().hint_te().te[i];
    KifuEntry e;
    e.te = m.te, e.moto_koma = m.moto_koma;
    KifuEntry zen;
    if (i > 0) zen.te.tc = g.hint_kaiseki().hint_te().te[i - 1].te.tc, zen.te.tr = g.hint_kaiseki().hint_te().te[i - 1].te.tr;
    want += " " + std::to_string(i + 1) + " " + te_hyouki(p, e, i > 0 ? &zen : nullptr, true);
    do_move(p, kifu_te(e));
  }
  EXPECT_NE(g.ban_gamen().joukyou().find(want), std::string::npos) << g.ban_gamen().joukyou() << "\n" << want;
  EXPECT_NE(g.ban_gamen().joukyou().find("▲"), std::string::npos);
  // Not played.
  EXPECT_TRUE(test::same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.taikyoku().tesuu(), 0);
  // A click outside the board takes the marks away: the cells are painted afresh.
  const std::size_t mark2 = h.canvas.ops.size();
  press(g, 12, 12);
  EXPECT_EQ(g.hint_kaiseki().hint_te().n, 0);
  EXPECT_EQ(g.ban_gamen().joukyou().find("ﾋﾝﾄ"), std::string::npos);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(outlined(h.canvas, mark2, IRO_MIDORI, expect.te[i].te.tc, expect.te[i].te.tr)) << i;
}

TEST_F(HintGame, InTheMiddleOfATurnHintsTheRest) {
  g.on_menu(Menu::SENTE);
  press(g, 7, 7);  // the person's first move: a pawn forward
  press(g, 7, 6);
  ASSERT_EQ(g.taikyoku().dankai(), Dankai::ni);
  const YomiTe expect = plan_for_the_lower_side(g.taikyoku().pos(), 2, g.taikyoku().ichite_x(),
                                                g.taikyoku().ichite_y(), 0, 0);
  g.on_menu(Menu::HINT);
  ASSERT_EQ(g.hint_kaiseki().hint_te().n, expect.n);
  ASSERT_GE(g.hint_kaiseki().hint_te().n, 1);
  EXPECT_EQ(g.hint_kaiseki().hint_te().dankai[0], 2);
  for (int i = 0; i < g.hint_kaiseki().hint_te().n; ++i) {
    EXPECT_EQ(g.hint_kaiseki().hint_te().te[i].te.tc, expect.te[i].te.tc);
    EXPECT_EQ(g.hint_kaiseki().hint_te().te[i].te.tr, expect.te[i].te.tr);
  }
}

// Stepping back (戻) starts reviewing the game: play, and with it the hint, waits until the
// game is taken up again.
TEST_F(HintGame, RefusedAfterSteppingBack) {
  g.on_menu(Menu::START);
  test::play_sample_game(h);
  g.on_menu(Menu::HINT);
  ASSERT_GT(g.hint_kaiseki().hint_te().n, 0) << "the hint is given while the game is played";
  press(g, 12, 12);
  ASSERT_EQ(g.hint_kaiseki().hint_te().n, 0);
  g.on_menu(Menu::REPLAY);
  ASSERT_TRUE(g.taikyoku().saikai_machi());
  const std::size_t boxes = h.ui.boxes.size();
  g.on_menu(Menu::HINT);
  ASSERT_EQ(h.ui.boxes.size(), boxes + 1);
  EXPECT_EQ(h.ui.boxes.back().title, "ﾋﾝﾄ");
  EXPECT_EQ(h.ui.boxes.back().text, "棋譜ﾓｰﾄﾞではできません");
  EXPECT_EQ(g.hint_kaiseki().hint_te().n, 0);
  EXPECT_EQ(g.ban_gamen().joukyou().find("ﾋﾝﾄ:"), std::string::npos);
}

// A king in a corner of column 2 (or 8) mated by a gold dropped in front of it, guarded by
// a silver; `sita` gives the mate to the lower side, else to the upper side.
Kyokumen corner_mate(bool sita) {
  Kyokumen p;
  p.kara_ni();
  if (sita) {
    p.ban[8][1] = OU;
    p.ban[8][3] = -GIN;
    p.ban[2][9] = -OU;
    p.ban[1][3] = HU;
    p.mochigoma_sita[5] = 1;
  } else {
    p.ban[2][9] = -OU;
    p.ban[2][7] = GIN;
    p.ban[8][1] = OU;
    p.ban[9][7] = -HU;
    p.mochigoma_ue[5] = 1;
  }
  p.shiage();
  return p;
}

// The text names the square by the file printed over its column (10 - column), for either
// side: the lower side's hint is read on the turned board and must be turned back.
TEST_F(HintGame, TextNamesTheFileAsPrintedOverTheBoardForBothSides) {
  for (const bool sita : {false, true}) {
    SCOPED_TRACE(sita ? "lower" : "upper");
    g.on_menu(Menu::START);
    haichi(g, to_sfen(corner_mate(sita), sita, 1));
    g.on_menu(Menu::HINT);
    ASSERT_GE(g.hint_kaiseki().hint_te().n, 1);
    const Sashite& m = g.hint_kaiseki().hint_te().te[0];
    EXPECT_EQ(m.te.fc, sita ? TE_SITA : TE_UE);
    EXPECT_EQ(m.te.tc, sita ? 8 : 2);
    EXPECT_EQ(m.te.tr, sita ? 2 : 8);
    const bool sente =
        Gawa::sente == (sita ? g.taikyoku().sita_gawa() : g.taikyoku().ue_gawa());
    std::string want = "ﾋﾝﾄ: 1 ";  // built by appends: gcc 12 misreads a chain of + here
    want += sente ? "▲" : "△";
    want += sita ? "2二金" : "8八金";
    EXPECT_NE(g.ban_gamen().joukyou().find(want), std::string::npos) << g.ban_gamen().joukyou() << "\n" << want;
    press(g, 12, 12);
  }
}

}  // namespace
}  // namespace mirado
