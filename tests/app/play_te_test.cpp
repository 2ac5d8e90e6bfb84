// Moves made with the mouse: the press dispatch, the three moves of a turn with their
// refusals and take-backs, the clocks and the record, and whole games to their end.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "fakes.h"
#include "rules/sfen.h"
#include "game_shiken.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

using test::same_position;

using test::Harness;
using test::Painted;
using Log = std::vector<std::string>;

constexpr int kMigi = 2;

int px(int c) { return BAN_LEFT + MASU_W * c + MASU_W / 2; }
int py(int r) { return BAN_TOP + MASU_H * r + MASU_H / 2; }
void osu(Harness& h, int c, int r, int button = 1) { h.game.on_mouse_down(button, 0, px(c), py(r)); }
void sasu(Harness& h, int fc, int fr, int tc, int tr, int button = 1) {
  osu(h, fc, fr);
  osu(h, tc, tr, button);
}

// The state START leaves on a fresh board: the first player has the lower pieces and moves.
void futari(Harness& h) {
  Game& g = h.game;
  g.shinki_kyoku();
  Taikyoku::Haichi start;
  start.jikan_kaishi = h.clock.now();
  g.haichi(haichi(start));
  h.sound.log.clear();
  h.ui.boxes.clear();
}

struct Koma {
  int c, r, code;
};

// A two-person game from a position of its own; the lower player holds the turn.
void kyokumen(Harness& h, std::initializer_list<Koma> ban, std::initializer_list<int> te_sita = {},
              std::initializer_list<int> te_ue = {}) {
  futari(h);
  Kyokumen p;
  p.kara_ni();
  for (const Koma& k : ban) p.ban[k.c][k.r] = k.code;
  for (int slot : te_sita) ++p.mochigoma_sita[slot];
  for (int slot : te_ue) ++p.mochigoma_ue[slot];
  p.shiage();
  haichi(h.game, to_sfen(p, true, 1));
}

// Puts the turn in the middle of `dankai`, held by the lower or the upper player.
void turn(Game& g, bool nushi_sita, int dankai) {
  // In the second move the holder's opponent's pieces move.
  const bool sita_ga_ugoku = nushi_sita != (dankai == 2);
  haichi(g, to_sfen(g.taikyoku().pos(), sita_ga_ugoku, 1), static_cast<Dankai>(dankai));
}

// The window's game changed through the game's own methods, the window going on with it.
template <class F>
void kaeru(Game& g, F f) {
  Taikyoku t = g.taikyoku();
  f(t);
  g.haichi(t);
}

// One more piece in each hand (by slot), on the position as it stands.
void mochigoma_tasu(Game& g, int sita_slot, int ue_slot) {
  Kyokumen p = g.taikyoku().pos();
  ++p.mochigoma_sita[sita_slot];
  ++p.mochigoma_ue[ue_slot];
  p.shiage();
  haichi(g, to_sfen(p, true, 1));
}

// The kind of game changed, the position and the move due as they are.
void shu(Game& g, TaikyokuShu k) {
  const Taikyoku& t = g.taikyoku();
  Taikyoku::Haichi h =
      haichi_ima(g, to_sfen(t.pos(), t.teban() == t.sita_gawa(), 1), t.dankai());
  h.shu = k;
  g.haichi(haichi(h));
}

// Colour of the last outline drawn on a cell, or -1.
int waku_at(const Harness& h, int c, int r) {
  const auto& ops = h.canvas.ops;
  for (auto it = ops.rbegin(); it != ops.rend(); ++it)
    if (it->kind == Painted::kRect && it->x == cell_x(c) && it->y == cell_y(r)) return it->id_or_colour;
  return -1;
}

void expect_box(const Harness& h, const char* text, const char* title) {
  ASSERT_FALSE(h.ui.boxes.empty());
  EXPECT_EQ(h.ui.boxes.back().text, text);
  EXPECT_EQ(h.ui.boxes.back().title, title);
}

void expect_won(const Harness& h, Gawa winner, const char* text) {
  EXPECT_EQ(h.game.taikyoku().shousha(), winner);
  expect_box(h, text, "終了");
  EXPECT_EQ(h.canvas.picture_at(11.2, 0), PIC_ZUVANSHOGI2);
  EXPECT_GT(h.canvas.repaints, 0);
}

TEST(Mouse, PressesAreRefusedWhileNoGameCanTakeAMove) {
  Harness h;
  Game& g = h.game;
  g.shinki_kyoku();
  g.kirikae().set_visible(Control::PANEL_DRIVE_LIST, true);
  h.sound.log.clear();
  osu(h, 3, 7);
  EXPECT_FALSE(h.ui.visible[Control::PANEL_DRIVE_LIST]);  // the record panel closes first
  EXPECT_EQ(h.sound.log, Log{"play snd_kinshi"});
  expect_box(h, "「対局」で始めて下さい", "開始");

  futari(h);
  kaeru(g, [&](Taikyoku& t) {  // the lower gold takes the upper king
    t = haichi(haichi_ima(g, "4k4/4G4/9/9/9/9/9/9/4K4 b - 1"));
    ASSERT_EQ(t.sasu({{5, 2, 5, 1, -KIN}}, 0).shousha, t.sita_gawa());
  });
  osu(h, 3, 7);
  EXPECT_TRUE(h.sound.log.empty());
  expect_box(h, "新規に対局してください", "終局");

  futari(h);
  kaeru(g, [](Taikyoku& t) { t.kifu_yomikomi({}); });  // a record being stepped through
  h.ui.answers = {Answer::yes, Answer::no};
  osu(h, 3, 7);
  expect_box(h, "棋譜を '進 'で進めて下さい", "棋譜");
  EXPECT_EQ(h.ui.boxes.back().buttons, Buttons::yesno);
  EXPECT_TRUE(g.taikyoku().saisei_chu());
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 0);
  osu(h, 3, 7);  // No: a new game
  EXPECT_EQ(h.sound.log.front(), "play snd_kinshi");
  EXPECT_FALSE(g.taikyoku().saisei_chu());
  EXPECT_EQ(g.taikyoku().teban(), Gawa::nashi);
}

// Each hand draws its slots down its column, and a press on a slot's cell takes up that
// slot's piece: the rows on screen and the hand slots of the moves agree for both hands.
TEST(Mouse, EachHandCellShowsAndTakesUpItsOwnSlot) {
  Harness h;
  kyokumen(h, {{5, 9, -OU}, {5, 1, OU}}, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 4, 5, 6, 7});
  Game& g = h.game;
  struct Cell {
    int c, r, slot;
  };
  static constexpr Cell kCells[] = {
      {TE_SITA, 3, 1}, {TE_SITA, 6, 4}, {TE_SITA, 9, 7},  // the lower hand from the top
      {TE_UE, 7, 1},   {TE_UE, 4, 4},   {TE_UE, 1, 7},    // the upper hand from the bottom
  };
  for (const Cell& x : kCells) {
    SCOPED_TRACE(std::to_string(x.c) + "," + std::to_string(x.r));
    const int code = x.c == TE_SITA ? -MOCHIGOMA_KOMA[x.slot] : MOCHIGOMA_KOMA[x.slot];
    EXPECT_EQ(moto_gyou(x.c, x.slot), x.r);
    EXPECT_EQ(moto_fr(x.c, x.r), x.slot);
    EXPECT_EQ(h.canvas.picture_at(x.c, x.r), code);
    osu(h, x.c, x.r);
    const Te& s = g.nyuuryoku().sentaku(Dankai::ichi);
    EXPECT_EQ(s.fc, x.c);
    EXPECT_EQ(s.fr, x.slot);
    EXPECT_EQ(s.koma, code);
  }
  // The lower gold dropped from its cell leaves its own slot.
  sasu(h, TE_SITA, 7, 5, 5);
  EXPECT_EQ(g.taikyoku().pos().ban[5][5], -KIN);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_sita[5], 0);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_sita[4], 1);
  EXPECT_EQ(g.taikyoku().kifu().at(1).te.fr, 5);
}

TEST(Mouse, CellsRoundDownAndPressesOffTheGridChangeNothing) {
  Harness h;
  futari(h);
  Game& g = h.game;
  mochigoma_tasu(g, 7, 1);  // cells (11, 9) and (-1, 7)
  g.on_mouse_down(1, 0, BAN_LEFT - 1, py(7));
  EXPECT_EQ(g.nyuuryoku().sentaku(static_cast<Dankai>(1)).fc, TE_UE);
  EXPECT_EQ(g.nyuuryoku().sentaku(static_cast<Dankai>(1)).koma, HU);
  g.on_mouse_down(1, 0, BAN_LEFT + MASU_W * 11, BAN_TOP + MASU_H * 9);
  EXPECT_EQ(g.nyuuryoku().sentaku(static_cast<Dankai>(1)).koma, -HISHA);
  const Kyokumen before = g.taikyoku().pos();
  const int off[][2] = {{6000, py(5)}, {1544, py(5)}, {px(5), 714},       {px(5), 99},
                        {INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MAX, py(5)}, {px(5), INT_MIN}};
  for (const auto& p : off) g.on_mouse_down(1, 0, p[0], p[1]);
  EXPECT_TRUE(same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 1);
  g.on_mouse_down(1, 0, 1545, py(5));  // column 1
  EXPECT_EQ(g.taikyoku().pos().ban[1][5], -HISHA);

  for (int dankai = 1; dankai <= 3; ++dankai) {
    futari(h);
    turn(g, true, dankai);
    if (dankai != 1) osu(h, 3, dankai == 2 ? 3 : 7);
    const Kyokumen start = g.taikyoku().pos();
    for (const auto& p : off) g.on_mouse_down(kMigi, 0, p[0], p[1]);
    EXPECT_TRUE(same_position(g.taikyoku().pos(), start));
    EXPECT_EQ(g.nyuuryoku().click_jotai(), dankai == 1 ? 0 : 1);
    EXPECT_TRUE(h.sound.log.empty());
    EXPECT_TRUE(h.ui.boxes.empty());
  }
}

TEST(Mouse, TheFirstPressAfterSteppingResumesPlay) {
  Harness h;
  futari(h);
  Game& g = h.game;
  g.kirikae().set_checked(Menu::KEIKA, true);
  kaeru(g, [](Taikyoku& t) { t.susumi_hajime(); });  // stepped through the record
  h.clock.t = 40000;
  osu(h, 3, 7);
  expect_box(h, "先手の番です", "対局");
  EXPECT_FALSE(g.taikyoku().saikai_machi());
  EXPECT_EQ(g.taikyoku().jikan_kaishi(), 40000);
  EXPECT_TRUE(h.ui.timer);
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 1);  // and the press selects the pawn

  futari(h);
  turn(g, false, 1);
  kaeru(g, [](Taikyoku& t) { t.susumi_hajime(); });
  osu(h, 3, 3);
  expect_box(h, "後手の番です", "対局");

  futari(h);
  shu(g, TaikyokuShu::com);
  kaeru(g, [](Taikyoku& t) { t.susumi_hajime(); });
  osu(h, 3, 7);
  expect_box(h, "あなたの番です", "対局");
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 1);

  Harness c;  // the computer holds the turn: the press only starts its turn
  futari(c);
  shu(c.game, TaikyokuShu::com);
  turn(c.game, false, 1);
  kaeru(c.game, [](Taikyoku& t) { t.susumi_hajime(); });
  osu(c, 3, 7);
  EXPECT_EQ(c.game.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(c.game.taikyoku().teban_nushi(), c.game.taikyoku().sita_gawa());
  EXPECT_EQ(c.game.nyuuryoku().sentaku(static_cast<Dankai>(1)).koma, 0);
}

// A pawn in hand is framed only where it may be dropped: no file holding a pawn of its
// side, whether that pawn has moved in this game or not.
TEST(Te, GuidanceForAPawnInHandLeavesOutEveryFileWithAPawn) {
  Harness h;
  Game& g = h.game;
  futari(h);
  test::TempCwd cwd;  // the option is kept in the settings file
  g.on_menu(Menu::SIDOU);
  sasu(h, 3, 7, 3, 6);  // the lower player: its pawn, the upper pawn, another of its pawns
  sasu(h, 3, 3, 3, 4);
  sasu(h, 2, 7, 2, 6);
  sasu(h, 3, 4, 3, 5);  // the upper player: its pawn, then the lower pawn takes it
  sasu(h, 3, 6, 3, 5);
  sasu(h, 7, 3, 7, 4);
  ASSERT_EQ(g.taikyoku().pos().mochigoma_sita[1], 1);
  ASSERT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
  osu(h, 3, 5);  // a pawn on the board: its square ahead is framed
  EXPECT_EQ(waku_at(h, 3, 4), IRO_SHIRO);
  osu(h, TE_SITA, 3);  // the pawn in hand
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) EXPECT_NE(waku_at(h, c, r), IRO_SHIRO) << c << "," << r;
}

TEST(Te, SelectionFollowsThePressesAndIllegalPlacesDropIt) {
  Harness h;
  futari(h);
  Game& g = h.game;
  test::TempCwd cwd;  // the option is kept in the settings file
  g.on_menu(Menu::SIDOU);
  mochigoma_tasu(g, 5, 4);  // (11, 7) and (-1, 4)
  const Kyokumen before = g.taikyoku().pos();

  osu(h, 3, 3);  // an upper pawn: shown, not selected
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 0);
  EXPECT_EQ(waku_at(h, 3, 4), IRO_SHIRO);
  osu(h, 3, 7);
  osu(h, 4, 7);  // another own piece takes the selection
  EXPECT_EQ(waku_at(h, 3, 7), IRO_MIDORI);
  EXPECT_EQ(waku_at(h, 4, 7), IRO_AKA);
  osu(h, 4, 5);  // out of reach
  EXPECT_EQ(h.sound.log, Log{"play snd_kinshi"});
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 0);

  osu(h, 11, 7);
  EXPECT_EQ(waku_at(h, 11, 7), IRO_AKA);
  osu(h, 5, 1);  // no drop on a piece; the hand's frame goes too
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 0);
  EXPECT_EQ(waku_at(h, 11, 7), IRO_MIDORI);

  h.sound.log.clear();
  osu(h, -1, 4);
  EXPECT_EQ(waku_at(h, -1, 4), IRO_SHIRO);
  osu(h, 5, 5);  // the other side's hand: silently let go
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 0);
  EXPECT_TRUE(h.sound.log.empty());
  EXPECT_TRUE(same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 0);

  osu(h, 4, 7);
  osu(h, 0, 5);  // off the board: marks erased, selection kept
  EXPECT_EQ(waku_at(h, 4, 7), IRO_MIDORI);
  osu(h, 4, 6);
  EXPECT_EQ(g.taikyoku().pos().ban[4][6], -HU);
  EXPECT_EQ(h.sound.log, Log{"play snd_koma"});
  EXPECT_TRUE(h.ui.boxes.empty());
}

TEST(Te, TheRightButtonPromotesWhereAllowedAndForcedPromotionNeedsIt) {
  Harness h;
  kyokumen(h, {{1, 1, OU}, {9, 9, -OU}, {5, 2, -HU}, {6, 4, -KIN}, {3, 5, GIN}, {2, 4, -GIN}}, {},
           {1});
  Game& g = h.game;
  sasu(h, 5, 2, 5, 1);
  EXPECT_EQ(h.sound.log, Log{"play snd_kinshi"});
  expect_box(h, "マウスの右をクリックして下さい", "成り");
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 1);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 0);
  osu(h, 5, 1, kMigi);
  EXPECT_EQ(g.taikyoku().pos().ban[5][1], -TO);
  EXPECT_EQ(g.taikyoku().kifu().at(1).te.koma, -TO);
  EXPECT_EQ(g.taikyoku().kifu().at(1).moto_koma, -HU);

  sasu(h, 3, 5, 3, 6, kMigi);  // outside the zone
  EXPECT_EQ(g.taikyoku().pos().ban[3][6], GIN);
  sasu(h, 6, 4, 6, 3, kMigi);  // a gold
  EXPECT_EQ(g.taikyoku().pos().ban[6][3], -KIN);
  sasu(h, -1, 7, 4, 7, kMigi);  // the upper player drops into its zone
  EXPECT_EQ(g.taikyoku().pos().ban[4][7], HU);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_su_ue, 0);
  EXPECT_EQ(g.taikyoku().kifu().at(4).te.fr, 1);  // the pawn's hand slot
  sasu(h, 2, 4, 2, 3);  // the left button declines
  EXPECT_EQ(g.taikyoku().pos().ban[2][3], -GIN);
  EXPECT_EQ(h.ui.boxes.size(), 1u);
}

TEST(Te, EachMoveIsChargedItsOwnTimeAndRecordedWithTheHoldersClock) {
  Harness h;
  futari(h);
  Game& g = h.game;
  const double t0 = h.clock.t;
  const double steps[] = {5, 7, 11, 3, 2};
  const int moves[][4] = {{7, 7, 7, 6}, {3, 3, 3, 4}, {2, 7, 2, 6}, {3, 4, 3, 5}, {7, 6, 7, 5}};
  for (int i = 0; i < 5; ++i) {
    h.clock.t += steps[i];
    sasu(h, moves[i][0], moves[i][1], moves[i][2], moves[i][3]);
  }
  const double sita[] = {0, 5, 12, 23, 23, 23}, ue[] = {0, 0, 0, 0, 3, 5};
  for (int n = 1; n <= 5; ++n) {
    const KifuEntry& e = g.taikyoku().kifu().at(n);
    EXPECT_EQ(e.sita_mae, sita[n - 1]) << n;
    EXPECT_EQ(e.sita_ato, sita[n]) << n;
    EXPECT_EQ(e.ue_mae, ue[n - 1]) << n;
    EXPECT_EQ(e.ue_ato, ue[n]) << n;
  }
  EXPECT_EQ(g.taikyoku().kifu().at(2).tori_koma, kara);
  EXPECT_EQ(g.taikyoku().kifu().at(2).moto_koma, HU);
  EXPECT_EQ(g.taikyoku().jikan_sita(), 23);
  EXPECT_EQ(g.taikyoku().jikan_ue(), 5);
  EXPECT_EQ(g.taikyoku().jikan_kaishi(), t0 + 28);
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().ue_gawa());
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::san);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().ue_gawa());
  EXPECT_EQ(g.taikyoku().ichite_x() * 10 + g.taikyoku().ichite_y(), 35);
  EXPECT_EQ(g.taikyoku().nite_x() * 10 + g.taikyoku().nite_y(), 75);
}

// The refused move overwrites the first entry of a record stepped back to its start.
TEST(Te, AMoveLeavingTheOwnKingAttackedIsUndoneAsIfNeverMade) {
  Harness h;
  kyokumen(h, {{9, 1, OU}, {5, 1, HISHA}, {4, 3, HU}, {9, 3, HU}, {5, 9, -OU}, {5, 4, -GIN},
               {1, 7, -HU}, {2, 7, -HU}});
  Game& g = h.game;
  sasu(h, 1, 7, 1, 6);
  sasu(h, 9, 3, 9, 4);
  sasu(h, 2, 7, 2, 6);
  const KifuEntry first = g.taikyoku().kifu().at(1);
  for (int i = 0; i < 3; ++i) g.ippo_modosu();
  kaeru(g, [](Taikyoku& t) { t.idou_owari(); });  // stepping ends: the side to move holds the turn
  g.kirikae().set_checked(Menu::KEIKA, true);
  const Kyokumen before = g.taikyoku().pos();
  h.sound.log.clear();
  h.ui.boxes.clear();

  osu(h, 5, 4);  // resumes play and selects the pinned silver
  ASSERT_TRUE(h.ui.timer);
  osu(h, 4, 3, kMigi);  // takes the pawn and promotes, opening the rook's file
  ASSERT_EQ(h.ui.boxes.size(), 2u);
  expect_box(h, "王手です。自殺はできません", "警告");
  EXPECT_EQ(h.sound.log, (Log{"play snd_koma", "play snd_kinshi", "play snd_koma"}));
  EXPECT_TRUE(same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 3);
  EXPECT_EQ(g.taikyoku().kifu().at(1).te.tc, first.te.tc);
  EXPECT_EQ(g.taikyoku().kifu().at(1).te.koma, first.te.koma);
  EXPECT_EQ(g.taikyoku().tesuu(), 0);
  EXPECT_FALSE(g.taikyoku().te_tochuu());
  EXPECT_FALSE(g.taikyoku().saikai_machi());
  EXPECT_TRUE(h.ui.timer);
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::ichi);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().teban_nushi());
  EXPECT_EQ(g.taikyoku().pos().ou_sita_y, 9);

  for (int i = 0; i < 3; ++i) g.ippo_susumu();  // the played line is still there
  EXPECT_EQ(g.taikyoku().pos().ban[2][6], -HU);
}

TEST(Te, TheSecondMoveUsesTheOpponentsPiecesAndGuardsTheirKing) {
  Harness h;
  kyokumen(h, {{5, 1, OU}, {5, 3, GIN}, {6, 3, KIN}, {5, 9, -OU}, {5, 7, -HISHA}, {6, 4, -HU},
               {1, 7, -HU}},
           {1});
  Game& g = h.game;
  sasu(h, 1, 7, 1, 6);
  h.sound.log.clear();
  osu(h, 6, 4);  // the holder's own pawn is not for this move
  EXPECT_EQ(g.nyuuryoku().click_jotai(), 0);
  sasu(h, 11, 3, 5, 5);  // nor its own hand
  EXPECT_EQ(g.taikyoku().pos().ban[5][5], kara);
  EXPECT_TRUE(h.sound.log.empty());

  const Kyokumen before = g.taikyoku().pos();
  sasu(h, 5, 3, 4, 4);  // the silver shields its own king from the rook
  expect_box(h, "王手です。自殺はできません", "警告");
  EXPECT_EQ(h.sound.log, (Log{"play snd_koma", "play snd_koma"}));
  EXPECT_TRUE(same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::ni);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().ue_gawa());
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 1);

  sasu(h, 6, 3, 6, 4);  // the opponent's gold takes the holder's pawn
  EXPECT_EQ(g.taikyoku().pos().mochigoma_ue[1], 1);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_su_ue, 1);
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::san);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
}

TEST(Te, TheThirdMoveMayNotReuseTheFirstPieceNorTakeTheSecond) {
  Harness h;
  kyokumen(h, {{5, 1, OU}, {2, 2, HU}, {5, 9, -OU}, {7, 7, -GIN}, {2, 8, -HISHA}, {3, 7, -HU},
               {8, 5, -KAKU}},
           {1});
  Game& g = h.game;
  // The upper player's turn first: the lower bishop it moves checks its king, and its third
  // move gets the king out of check.
  turn(g, false, 1);
  sasu(h, 5, 1, 6, 1);
  sasu(h, 8, 5, 9, 4);
  sasu(h, 6, 1, 5, 1);
  ASSERT_TRUE(g.taikyoku().oute_mae());
  ASSERT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
  h.ui.boxes.clear();
  sasu(h, 7, 7, 7, 6);
  sasu(h, 2, 2, 2, 3);
  const Kyokumen before = g.taikyoku().pos();
  h.sound.log.clear();

  // Picked up from the hand first, then the silver: a check of an earlier turn is no excuse.
  osu(h, 11, 3);
  sasu(h, 7, 6, 7, 5);
  expect_box(h, "１手目に動かした駒は動かせません", "警告");
  EXPECT_EQ(h.sound.log, (Log{"play snd_koma", "play snd_koma"}));
  EXPECT_TRUE(same_position(g.taikyoku().pos(), before));

  sasu(h, 2, 8, 2, 3, kMigi);  // the rook takes the second move's pawn, promoting
  expect_box(h, "２手目に動かした駒は取れません", "警告");
  EXPECT_TRUE(same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 5);
  EXPECT_TRUE(g.taikyoku().te_tochuu());
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::san);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());

  sasu(h, 3, 7, 3, 6);
  EXPECT_FALSE(g.taikyoku().te_tochuu());
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::ichi);
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().ue_gawa());
  EXPECT_EQ(h.ui.boxes.size(), 2u);
}

TEST(Te, TheThirdMoveLimitsAreLiftedOutOfCheckAndForALoneKing) {
  Harness h;
  kyokumen(h, {{9, 1, OU}, {1, 5, HISHA}, {5, 9, -OU}, {4, 8, -KIN}}, {1});
  Game& g = h.game;
  sasu(h, 4, 8, 4, 7);
  sasu(h, 1, 5, 5, 5);  // the holder checks itself with the opponent's rook
  const Kyokumen before = g.taikyoku().pos();
  sasu(h, 11, 3, 9, 5);  // a drop that leaves the check
  expect_box(h, "王手です。自殺はできません", "警告");
  EXPECT_TRUE(same_position(g.taikyoku().pos(), before));
  sasu(h, 4, 7, 5, 7);  // the first move's gold blocks it
  EXPECT_EQ(g.taikyoku().pos().ban[5][7], -KIN);
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::ichi);

  kyokumen(h, {{5, 1, OU}, {1, 3, HU}, {5, 9, -OU}});
  sasu(h, 5, 9, 5, 8);
  sasu(h, 1, 3, 1, 4);
  sasu(h, 5, 8, 5, 7);
  EXPECT_TRUE(h.ui.boxes.empty());
  EXPECT_EQ(g.taikyoku().pos().ban[5][7], -OU);
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::ichi);
}

// The lower player walks a pawn up the fifth file, promotes it (with the upper player's
// help) and mates on the king's head with the rook behind it.
TEST(Taikyoku, TwoPeoplePlayFromTheStartToAMate) {
  Harness h;
  futari(h);
  Game& g = h.game;
  std::vector<Kyokumen> ikkyoku{g.taikyoku().pos()};
  const int moves[][5] = {{5, 7, 5, 6}, {4, 1, 3, 2}, {8, 8, 5, 8},  // the lower player
                          {6, 1, 7, 2}, {5, 6, 5, 5}, {9, 3, 9, 4},  // the upper player
                          {5, 5, 5, 4}, {1, 3, 1, 4}, {1, 7, 1, 6},
                          {9, 4, 9, 5}, {5, 4, 5, 3, kMigi}, {1, 4, 1, 5}};
  for (const auto& m : moves) {
    if (g.taikyoku().tesuu() == 8) {  // the first move's pawn again: refused
      sasu(h, 5, 4, 5, 3, kMigi);
      expect_box(h, "１手目に動かした駒は動かせません", "警告");
      h.ui.boxes.clear();
    }
    sasu(h, m[0], m[1], m[2], m[3], m[4] == kMigi ? kMigi : 1);
    EXPECT_TRUE(h.ui.boxes.empty()) << g.taikyoku().tesuu();
    EXPECT_EQ(static_cast<int>(g.taikyoku().dankai()), g.taikyoku().tesuu() % 3 + 1);
    EXPECT_EQ(g.taikyoku().te_tochuu(), g.taikyoku().tesuu() % 3 != 0);
    ikkyoku.push_back(g.taikyoku().pos());
  }
  EXPECT_EQ(g.taikyoku().pos().ban[5][3], -TO);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_sita[1], 1);
  ASSERT_EQ(g.taikyoku().teban_nushi(), Gawa::sente);

  sasu(h, 5, 3, 5, 2);
  ikkyoku.push_back(g.taikyoku().pos());
  expect_won(h, Gawa::sente, "先手の勝ちです");
  osu(h, 5, 2);
  expect_box(h, "新規に対局してください", "終局");

  // Looked back at the moment it ends: 戻 takes back the unfinished last turn, a row of
  // the list goes to the end of its turn, 進 steps forward, the last row to the mate.
  g.on_menu(Menu::REPLAY);
  EXPECT_TRUE(same_position(g.taikyoku().pos(), ikkyoku[12]));
  EXPECT_FALSE(g.taikyoku().owatta());
  g.ichiran_click(0);
  EXPECT_TRUE(same_position(g.taikyoku().pos(), ikkyoku[3]));
  g.on_menu(Menu::AFTER);
  EXPECT_TRUE(same_position(g.taikyoku().pos(), ikkyoku[6]));
  g.ichiran_click(4);
  EXPECT_TRUE(same_position(g.taikyoku().pos(), ikkyoku[13]));
  g.on_menu(Menu::REPLAY);  // from inside the last turn, back to its start, not into the turn before
  EXPECT_TRUE(same_position(g.taikyoku().pos(), ikkyoku[12]));
  g.on_menu(Menu::AFTER);
  EXPECT_TRUE(same_position(g.taikyoku().pos(), ikkyoku[13]));

  for (int n = 12; n >= 0; --n) {
    g.ippo_modosu();
    EXPECT_TRUE(same_position(g.taikyoku().pos(), ikkyoku[n])) << "back to " << n;
  }
  for (int n = 1; n <= 13; ++n) {
    g.ippo_susumu();
    EXPECT_TRUE(same_position(g.taikyoku().pos(), ikkyoku[n])) << "forward to " << n;
  }
}

// The turn passes before the win is told; the holder of the upper pieces takes its own
// clock and mate test, and the text names the first or second player by who moved first.
TEST(Taikyoku, TheUpperHolderWinsByItsOwnBranch) {
  for (bool sita_sente : {false, true}) {
    Harness h;
    kyokumen(h, {{9, 1, OU}, {5, 2, HISHA}, {5, 7, TO}, {5, 9, -OU}});
    Game& g = h.game;
    Taikyoku::Haichi u = haichi_ima(g, to_sfen(g.taikyoku().pos(), false, 1), Dankai::san);
    u.sita_sente = sita_sente;  // who moved first: the lower pieces, or the upper
    g.haichi(haichi(u));
    h.clock.t += 4;
    sasu(h, 5, 7, 5, 8);
    expect_won(h, g.taikyoku().ue_gawa(), sita_sente ? "後手の勝ちです" : "先手の勝ちです");
    EXPECT_EQ(g.taikyoku().jikan_ue(), 4);
    EXPECT_EQ(g.taikyoku().jikan_sita(), 0);
    EXPECT_EQ(g.taikyoku().kifu().at(1).ue_ato, 4);
    EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
  }
}

TEST(Taikyoku, ASecondMoveThatMatesTheHolderLosesAndTakingAKingWins) {
  for (TaikyokuShu kind : {TaikyokuShu::ningen, TaikyokuShu::com}) {
    Harness h;
    kyokumen(h, {{1, 1, OU}, {8, 7, KIN}, {7, 7, GIN}, {9, 9, -OU}, {9, 8, -HU}, {8, 9, -KEI}});
    Game& g = h.game;
    turn(g, true, 2);
    shu(g, kind);
    g.kirikae().set_timer(true);
    sasu(h, 8, 7, 8, 8);  // the opponent's gold onto the holder's king
    expect_won(h, g.taikyoku().ue_gawa(),
               kind == TaikyokuShu::com ? "ＣＯＭの勝ちです" : "後手の勝ちです");
    g.ibento_owari();
    EXPECT_FALSE(h.ui.timer);  // a finished game's clocks stand
  }

  // The computer does not guard its king; the person takes it.
  Harness h;
  kyokumen(h, {{5, 2, OU}, {1, 3, HU}, {5, 9, -OU}, {5, 5, -HISHA}});
  Game& g = h.game;
  shu(g, TaikyokuShu::com);
  const Kyokumen before = g.taikyoku().pos();
  sasu(h, 5, 5, 5, 2);
  expect_won(h, g.taikyoku().sita_gawa(), "あなたの勝ちです");
  EXPECT_EQ(g.taikyoku().pos().mochigoma_su_sita, 1);  // counted in the total, in no slot
  int in_slots = 0;
  for (int k = 1; k <= 7; ++k) in_slots += g.taikyoku().pos().mochigoma_sita[k];
  EXPECT_EQ(in_slots, 0);
  g.ippo_modosu();
  EXPECT_TRUE(same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.taikyoku().shousha(), Gawa::nashi);
}

TEST(Taikyoku, AgainstTheComputerTheTurnGoesToItAndComesBack) {
  Harness h;
  futari(h);
  Game& g = h.game;
  shu(g, TaikyokuShu::com);
  h.clock.t += 5;
  sasu(h, 7, 7, 7, 6);
  EXPECT_FALSE(h.ui.timer);
  h.clock.t += 7;
  sasu(h, 3, 3, 3, 4);
  EXPECT_EQ(g.taikyoku().jikan_sita(), 12);
  h.clock.t += 2;
  sasu(h, 2, 7, 2, 6);
  ASSERT_EQ(g.taikyoku().shousha(), Gawa::nashi);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 6);
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::ichi);
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().jikan_sita(), 14);
}

}  // namespace
}  // namespace mirado
