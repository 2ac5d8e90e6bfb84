// Handicap levels: which pieces each level takes off, the label, and every refusal.
#include <gtest/gtest.h>

#include <algorithm>

#include "kifu_support.h"
#include "game_shiken.h"

namespace mirado {
namespace {

using test::Harness;

int count_side(const Kyokumen& p, bool sita) {
  int n = 0;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) n += sita ? is_sita(p.ban[c][r]) : is_ue(p.ban[c][r]);
  return n;
}

// A game between two people whose first turn was played and then stepped back over to
// record entry `ichi`; when `hanten`, the board was turned before the turn.
Taikyoku modoshita_kyoku(bool hanten, int ichi) {
  Taikyoku t = haichi(Taikyoku::Haichi{});
  if (hanten) {
    EXPECT_EQ(t.hanten(), Kotowari::nashi);
  }
  // Either way the holder moves pawns of its own, the opponent's, its own.
  const bool sita = !hanten;
  const int own = sita ? -HU : HU;
  EXPECT_EQ(t.sasu({{7, sita ? 7 : 3, 7, sita ? 6 : 4, own}}, 0).kotowari, Kotowari::nashi);
  EXPECT_EQ(t.sasu({{3, sita ? 3 : 7, 3, sita ? 4 : 6, -own}}, 0).kotowari, Kotowari::nashi);
  EXPECT_EQ(t.sasu({{2, sita ? 7 : 3, 2, sita ? 6 : 4, own}}, 0).kotowari, Kotowari::nashi);
  EXPECT_EQ(t.kifu().kifu_nagasa, 3);
  t.modoshi_hajime();
  while (t.kifu().kifu_ichi > ichi) t.kifu_modosu();
  t.idou_owari();
  return t;
}

std::string label(const Harness& h) { return h.canvas.texts().back(); }

TEST(Handicap, OneStepDownTakesTheLowerBishopAndOneUpPutsItBack) {
  Harness h;
  Game& g = h.game;
  g.on_menu(Menu::LEBEL_DOWN);
  EXPECT_EQ(g.taikyoku().handicap(), -1);
  EXPECT_EQ(g.taikyoku().pos().ban[2][8], kara);
  EXPECT_EQ(h.canvas.picture_at(2, 8), kara);
  EXPECT_EQ(label(h), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:１級");
  EXPECT_EQ(h.sound.log.back(), "play snd_koma");
  EXPECT_TRUE(g.taikyoku().handicap_zumi());
  g.on_menu(Menu::LBEL_UP);
  EXPECT_EQ(g.taikyoku().pos().ban[2][8], -KAKU);
  EXPECT_EQ(h.canvas.picture_at(2, 8), -KAKU);
  EXPECT_EQ(label(h), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２級");
  EXPECT_TRUE(h.ui.boxes.empty());
}

TEST(Handicap, TwoStepsUpTakeTheUpperBishopAndRook) {
  Harness h;
  Game& g = h.game;
  g.on_menu(Menu::LBEL_UP);
  g.on_menu(Menu::LBEL_UP);
  EXPECT_EQ(g.taikyoku().pos().ban[8][2], kara);
  EXPECT_EQ(g.taikyoku().pos().ban[2][2], kara);
  EXPECT_EQ(count_side(g.taikyoku().pos(), false), 18);
  EXPECT_EQ(label(h), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４級");
}

TEST(Handicap, EveryLevelFromMasterToTwelfthKyuAndBack) {
  Harness h;
  Game& g = h.game;
  for (int i = 1; i <= 10; ++i) {
    g.on_menu(Menu::LEBEL_DOWN);
    EXPECT_EQ(count_side(g.taikyoku().pos(), true), 20 - i);
    EXPECT_EQ(count_side(g.taikyoku().pos(), false), 20);
  }
  EXPECT_EQ(label(h), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人");
  // The lower side keeps its king and nine pawns.
  for (int c = 1; c <= 9; ++c) EXPECT_EQ(g.taikyoku().pos().ban[c][7], -HU);
  EXPECT_EQ(g.taikyoku().pos().ban[5][9], -OU);
  // An eleventh press changes nothing and says nothing.
  const auto sounds = h.sound.log.size();
  const auto ops = h.canvas.ops.size();
  g.on_menu(Menu::LEBEL_DOWN);
  EXPECT_EQ(g.taikyoku().handicap(), -10);
  EXPECT_EQ(h.sound.log.size(), sounds);
  for (std::size_t i = ops; i < h.canvas.ops.size(); ++i)
    EXPECT_EQ(h.canvas.ops[i].kind, test::Painted::kRect);  // no square or label repainted
  EXPECT_TRUE(h.ui.boxes.empty());

  for (int level = -9; level <= 10; ++level) {
    g.on_menu(Menu::LBEL_UP);
    EXPECT_EQ(g.taikyoku().handicap(), level);
    EXPECT_EQ(count_side(g.taikyoku().pos(), true), 20 - std::max(0, -level));
    EXPECT_EQ(count_side(g.taikyoku().pos(), false), 20 - std::max(0, level));
    EXPECT_EQ(label(h), handicap_meishou(level));
  }
  // Twelfth kyu: the upper side has its king and pawns, the images of the lower side's.
  for (int c = 1; c <= 9; ++c) EXPECT_EQ(g.taikyoku().pos().ban[c][3], HU);
  g.on_menu(Menu::LBEL_UP);
  EXPECT_EQ(g.taikyoku().handicap(), 10);
  EXPECT_TRUE(g.taikyoku().handicap_zumi());
}

TEST(Handicap, RefusedInRecordModeAfterAMoveOrAfterAFlip) {
  struct Case { bool saisei; int ichi; bool hanten; const char* reason; };
  const Case cases[] = {
      {true, 0, false, "棋譜ﾓｰﾄﾞではできません"},
      {false, 1, false, "対局途中ではできません"},
      {false, 0, true, "反転後ではできません"},
  };
  for (const Case& c : cases) {
    for (bool up : {true, false}) {
      Harness h;
      Game& g = h.game;
      Taikyoku t = modoshita_kyoku(c.hanten, c.ichi);
      if (c.saisei) {  // the same turn loaded as a record
        std::vector<KifuEntry> e;
        for (int i = 1; i <= 3; ++i) e.push_back(t.kifu().at(i));
        t = haichi(Taikyoku::Haichi{});
        t.kifu_yomikomi(e);
      }
      g.haichi(t);
      up ? g.on_menu(Menu::LBEL_UP) : g.on_menu(Menu::LEBEL_DOWN);
      ASSERT_EQ(h.ui.boxes.size(), 1u);
      EXPECT_EQ(h.ui.boxes[0].text, std::string(c.reason) + "\r\r局面→最初にして下さい");
      EXPECT_EQ(h.ui.boxes[0].title, "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定");
      EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
      EXPECT_EQ(g.taikyoku().handicap(), 0);
      EXPECT_FALSE(g.taikyoku().handicap_zumi());
      EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 3);
      EXPECT_EQ(count_side(g.taikyoku().pos(), true) + count_side(g.taikyoku().pos(), false), 40);
    }
  }
}

TEST(Handicap, DropsTheRecordAndAnySelectionAndBlocksSaving) {
  Harness h;
  Game& g = h.game;
  Taikyoku::Haichi kifu_ari;  // a record of nine moves, stepped back to its start
  kifu_ari.kifu_saki.assign(9, KifuEntry{{7, 7, 7, 6, -HU}, -HU});
  g.haichi(haichi(kifu_ari));
  test::press(g, 8, 8);  // the lower bishop selected
  ASSERT_EQ(g.nyuuryoku().click_jotai(), 1);
  g.kirikae().set_visible(Control::PANEL_WRITE_BUTTON, true);
  g.on_menu(Menu::LEBEL_DOWN);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 0);
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 0);
  EXPECT_FALSE(h.ui.visible[Control::PANEL_WRITE_BUTTON]);  // the panel closes first
  g.on_menu(Menu::KIFU_WRITE);
  EXPECT_EQ(h.ui.boxes.back().text, "ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません");
  EXPECT_EQ(h.ui.boxes.back().title, "棋譜書込");
  // A full redraw keeps the label.
  h.canvas.ops.clear();
  g.ban_gamen().zenbu_egaku();
  const auto texts = h.canvas.texts();
  EXPECT_NE(std::find(texts.begin(), texts.end(), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:１級"), texts.end());
}

}  // namespace
}  // namespace mirado
