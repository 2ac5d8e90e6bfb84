// What a player needs to follow a three-move turn: the status line and its refusal
// reasons, the marks of the last turn, the move list and its notation, and records
// checked whole before they load.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes.h"
#include "kifu/cp932.h"
#include "kifu/ichiran.h"
#include "kifu/kensa.h"
#include "kifu/kifu_file.h"
#include "kifu_support.h"
#include "kyokumen_kensa.h"
#include "rules/kiki.h"
#include "rules/sfen.h"
#include "game_shiken.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

using test::Harness;
using test::press;

class Following : public test::KifuDir {
 protected:
  Harness h;
  Game& g = h.game;

  void SetUp() override {
    KifuDir::SetUp();
    g.on_load();
    g.on_menu(Menu::START);  // the lower pieces move first
    h.ui.boxes.clear();
  }
  void move(int fc, int fr, int tc, int tr) {
    press(g, fc, fr);
    press(g, tc, tr);
    g.ibento_owari();
  }
  // The marks as "c,r:n" with "*" on the destination.
  std::vector<std::string> marks() const {
    std::vector<std::string> out;
    for (const auto& m : g.ban_gamen().shirushi())
      out.push_back(std::to_string(m.c) + "," + std::to_string(m.r) + ":" + std::to_string(m.no) +
                    (m.saki ? "*" : ""));
    return out;
  }
  void set_position(const char* sfen, Dankai d = Dankai::ichi) { haichi(g, sfen, d); }
  // The lower gold takes the upper king: the lower pieces (先手) have won.
  void sita_kachi() {
    set_position("4k4/4G4/9/9/9/9/9/9/4K4 b - 1");
    move(5, 2, 5, 1);
  }
  bool says(std::string_view why) const { return g.ban_gamen().joukyou().find(why) != std::string::npos; }
};

TEST_F(Following, TheStatusLineNamesTheSideAndTheMoveDue) {
  EXPECT_EQ(g.ban_gamen().joukyou(), "先手の番　1手目: 自分の駒");
  move(3, 7, 3, 6);
  EXPECT_EQ(g.ban_gamen().joukyou(), "先手の番　2手目: 相手の駒");
  move(3, 3, 3, 4);
  EXPECT_EQ(g.ban_gamen().joukyou(), "先手の番　3手目: 自分の駒（1手目の駒は動かせない・2手目の駒は取れない）");
  move(7, 7, 7, 6);
  EXPECT_EQ(g.ban_gamen().joukyou(), "後手の番　1手目: 自分の駒");
  EXPECT_EQ(h.ui.statuses.back(), g.ban_gamen().joukyou());  // the window was told
  sita_kachi();
  EXPECT_EQ(g.ban_gamen().joukyou(), "先手の勝ち");
  g.shinki_kyoku();
  EXPECT_EQ(g.ban_gamen().joukyou(), "「対局」で始めて下さい");
}

TEST_F(Following, AgainstTheComputerTheLineSaysYouAndThatItThinks) {
  g.on_menu(Menu::LEVEL1);
  g.on_menu(Menu::SENTE);
  EXPECT_EQ(g.ban_gamen().joukyou(), "あなたの番　1手目: 自分の駒");
  h.ui.statuses.clear();
  move(3, 7, 3, 6);
  move(3, 3, 3, 4);
  move(7, 7, 7, 6);  // the computer's turn follows at once
  EXPECT_NE(std::find(h.ui.statuses.begin(), h.ui.statuses.end(), "COM 考え中…"), h.ui.statuses.end());
  EXPECT_EQ(g.ban_gamen().joukyou(), "あなたの番　1手目: 自分の駒");
  // All three of the computer's moves are marked, numbered in order.
  const auto m = marks();
  EXPECT_EQ(std::count_if(m.begin(), m.end(), [](const std::string& s) { return s.back() == '*'; }), 3);
}

TEST_F(Following, TheThirdMoveLimitsGoWhenTheKingIsInCheck) {
  // Lower king on 5,9 attacked by the upper rook on the open file after move two.
  set_position("4k4/9/9/9/4r4/9/9/9/4K3R b - 1", Dankai::san);
  EXPECT_EQ(g.ban_gamen().joukyou(), "先手の番　3手目: 自分の駒");
}

TEST_F(Following, EveryRefusedClickSaysWhy) {
  press(g, 5, 3);  // an upper piece in the first move
  EXPECT_TRUE(says("× 自分の駒を動かす番です"));
  press(g, 3, 7);
  press(g, 3, 5);  // a pawn two squares
  EXPECT_TRUE(says("× その駒はそこへ動けません"));
  move(3, 7, 3, 6);
  EXPECT_FALSE(says("×"));  // a good move clears the reason
  press(g, 9, 7);  // the second move takes one of the opponent's pieces
  EXPECT_TRUE(says("× 2手目は相手の駒を動かします"));
  move(6, 3, 6, 4);
  press(g, 3, 6);  // the piece of the first move
  press(g, 3, 5);
  EXPECT_TRUE(says("× １手目に動かした駒は動かせません"));
  // The box of the refusal came with the line already saying why.
  EXPECT_EQ(h.ui.statuses.back(), g.ban_gamen().joukyou());
  press(g, 2, 8);  // the bishop's diagonal is open: it may not take the piece moved second
  press(g, 6, 4);
  EXPECT_TRUE(says("× ２手目に動かした駒は取れません"));
  sita_kachi();
  press(g, 5, 5);
  EXPECT_TRUE(says("× 対局は終わっています"));
}

TEST_F(Following, TwoPawnsAndAKingLeftInCheckAreNamed) {
  set_position("4k4/9/9/9/9/9/4P4/4G4/4K4 b P 1");
  press(g, TE_SITA, 3);  // the pawn in hand, onto the file of the pawn on the board
  press(g, 5, 5);
  EXPECT_TRUE(says("× 二歩です"));
  // A pawn stepping aside onto that file is refused for its move, not for two pawns.
  set_position("4k4/9/9/9/4P4/9/9/3P5/4K4 b - 1");
  press(g, 4, 8);
  press(g, 5, 7);
  EXPECT_TRUE(says("× その駒はそこへ動けません")) << g.ban_gamen().joukyou();
  set_position("4k4/9/9/9/4r4/9/9/4G4/4K4 b - 1");
  press(g, 5, 8);  // the gold shields its king from the rook
  press(g, 4, 8);
  EXPECT_TRUE(says("× 自分の玉が王手になる手です"));
  EXPECT_EQ(g.taikyoku().pos().ban[5][8], -KIN);  // taken back
  // In the second move the opponent's gold may not leave the opponent's king open either.
  set_position("4k4/4g4/9/9/4R4/9/9/9/4K4 w - 1", Dankai::ni);
  press(g, 5, 2);
  press(g, 4, 2);
  EXPECT_TRUE(says("× 相手の玉が王手になる手です")) << g.ban_gamen().joukyou();
  EXPECT_EQ(g.taikyoku().pos().ban[5][2], KIN);
}

TEST_F(Following, MarksFollowTheTurnAndGoWithEveryCommandThatLeavesIt) {
  EXPECT_TRUE(marks().empty());
  move(3, 7, 3, 6);
  EXPECT_EQ(marks(), (std::vector<std::string>{"3,7:1", "3,6:1*"}));
  move(3, 3, 3, 4);
  move(7, 7, 7, 6);
  EXPECT_EQ(marks().size(), 6u);
  // The next turn's first move replaces the finished turn's marks.
  move(7, 3, 7, 4);
  EXPECT_EQ(marks(), (std::vector<std::string>{"7,3:1", "7,4:1*"}));
  move(2, 7, 2, 6);
  move(4, 3, 4, 4);
  // Stepping shows the turn that led to the position stepped to.
  g.on_menu(Menu::REPLAY);
  EXPECT_EQ(marks(), (std::vector<std::string>{"3,7:1", "3,6:1*", "3,3:2", "3,4:2*", "7,7:3", "7,6:3*"}));
  g.on_menu(Menu::AFTER);
  EXPECT_EQ(marks(), (std::vector<std::string>{"7,3:1", "7,4:1*", "2,7:2", "2,6:2*", "4,3:3", "4,4:3*"}));
  g.on_menu(Menu::REPLAY);
  g.on_menu(Menu::REPLAY);
  EXPECT_TRUE(marks().empty());  // at the start no turn led there
  g.ichiran_click(1);
  EXPECT_EQ(marks().size(), 6u);
  move(1, 7, 1, 6);  // play on from here
  EXPECT_EQ(marks().size(), 2u);
  g.on_menu(Menu::CHOKUZEN);  // the option hides them, and shows them again
  EXPECT_TRUE(marks().empty());
  g.on_menu(Menu::CHOKUZEN);
  EXPECT_EQ(marks().size(), 2u);
  move(6, 3, 6, 4);
  move(9, 7, 9, 6);
  EXPECT_EQ(marks().size(), 6u);
  g.on_menu(Menu::REVERSE);
  EXPECT_TRUE(marks().empty());
  g.on_menu(Menu::START);
  move(3, 7, 3, 6);
  g.on_menu(Menu::START);
  EXPECT_TRUE(marks().empty());
}

TEST_F(Following, MarksAreDrawnInsideTheSquaresAndErasedByRepaintingThem) {
  const std::size_t from = h.canvas.ops.size();
  move(3, 7, 3, 6);
  auto frames_in = [&](std::size_t start, int c, int r) {
    int n = 0;
    for (std::size_t i = start; i < h.canvas.ops.size(); ++i) {
      const auto& op = h.canvas.ops[i];
      if (op.kind == test::Painted::kRect && op.id_or_colour != IRO_MIDORI && op.x > cell_x(c) &&
          op.x < cell_x(c + 1) && op.y > cell_y(r) && op.y < cell_y(r + 1))
        ++n;
    }
    return n;
  };
  EXPECT_GE(frames_in(from, 3, 6), 3);  // thicker than a guidance outline
  EXPECT_GE(frames_in(from, 3, 7), 3);
  g.on_menu(Menu::CHOKUZEN);
  const std::size_t off = h.canvas.ops.size();
  g.ibento_owari();
  EXPECT_EQ(frames_in(off, 3, 6), 0);
  EXPECT_EQ(h.canvas.picture_at(3, 6), -HU);  // the square painted afresh
}

KifuEntry te(int mx, int my, int sx, int sy, int moto, int koma) {
  KifuEntry k;
  k.te.fc = mx, k.te.fr = my, k.te.tc = sx, k.te.tr = sy, k.moto_koma = moto, k.te.koma = koma;
  return k;
}

Kyokumen hirate() {
  Kyokumen p;
  p.shoki_haichi();
  return p;
}

TEST(Hyouki, FileLabelsRanksPiecesAndTheSideThatMoved) {
  const Kyokumen p = hirate();
  // Lower pieces moved first: the pawn arriving under label 7 is 7六.
  EXPECT_EQ(te_hyouki(p, te(3, 7, 3, 6, -HU, -HU), nullptr, true), "▲７六歩");
  // An upper piece moved in the lower side's second move is △ all the same.
  EXPECT_EQ(te_hyouki(p, te(3, 3, 3, 4, HU, HU), nullptr, true), "△７四歩");
  // After GOTE the upper pieces moved first: they are ▲ and every square is named from
  // their side, so their pawn under screen column 3 stands on file ３ and goes to ３六.
  EXPECT_EQ(te_hyouki(p, te(3, 3, 3, 4, HU, HU), nullptr, false), "▲３六歩");
  EXPECT_EQ(te_hyouki(p, te(3, 7, 3, 6, -HU, -HU), nullptr, false), "△３四歩");
  EXPECT_EQ(te_hyouki(p, te(4, 1, 5, 2, KIN, KIN), nullptr, false), "▲５八金右");
  // Their king is still 王: kings go by the side of the screen, not by who moved first.
  EXPECT_EQ(te_hyouki(p, te(5, 1, 6, 2, OU, OU), nullptr, false), "▲６八王");
  Kyokumen q;
  q.ban[2][8] = -KAKU, q.ban[5][4] = -GIN, q.ban[8][2] = RYUU, q.ban[3][7] = -UMA;
  q.ban[5][9] = -OU, q.ban[5][1] = OU;
  EXPECT_EQ(te_hyouki(q, te(2, 8, 8, 2, -KAKU, -UMA), nullptr, true), "▲２二角成");
  EXPECT_EQ(te_hyouki(q, te(5, 4, 5, 3, -GIN, -GIN), nullptr, true), "▲５三銀不成");  // could have promoted
  EXPECT_EQ(te_hyouki(q, te(5, 4, 5, 5, -GIN, -GIN), nullptr, true), "▲５五銀");      // could not
  EXPECT_EQ(te_hyouki(q, te(8, 2, 8, 3, RYUU, RYUU), nullptr, true), "△２三龍");
  // A piece promoted already is named as it stands, with no 成.
  EXPECT_EQ(te_hyouki(q, te(3, 7, 4, 6, -UMA, -UMA), nullptr, true), "▲６六馬");
  // Kings by their owner, whoever moves them.
  EXPECT_EQ(te_hyouki(q, te(5, 9, 5, 8, -OU, -OU), nullptr, true), "▲５八玉");
  EXPECT_EQ(te_hyouki(q, te(5, 1, 4, 2, OU, OU), nullptr, true), "△６二王");
}

TEST(Hyouki, 同And打AndTheWordsThatTellTwoLikePiecesApart) {
  const Kyokumen p = hirate();
  const KifuEntry mae = te(3, 3, 3, 6, HU, HU);
  EXPECT_EQ(te_hyouki(p, te(3, 7, 3, 6, -HU, -HU), &mae, true), "▲同歩");
  // The two golds of the start position both reach 5八 (screen column 5, row 8).
  EXPECT_EQ(te_hyouki(p, te(4, 9, 5, 8, -KIN, -KIN), nullptr, true), "▲５八金左");
  EXPECT_EQ(te_hyouki(p, te(6, 9, 5, 8, -KIN, -KIN), nullptr, true), "▲５八金右");
  // For the upper side right and left are its own: its gold on screen column 4 is its right.
  EXPECT_EQ(te_hyouki(p, te(4, 1, 5, 2, KIN, KIN), nullptr, true), "△５二金右");
  // Only one gold reaches 6八: no word at all.
  EXPECT_EQ(te_hyouki(p, te(4, 9, 4, 8, -KIN, -KIN), nullptr, true), "▲６八金");

  Kyokumen q;
  q.ban[5][9] = -KIN, q.ban[4][9] = -KIN, q.ban[6][8] = -KIN, q.ban[3][7] = -KIN;
  // Straight up, beside one that also goes up: 直; sideways among ones going up: 寄.
  EXPECT_EQ(te_hyouki(q, te(5, 9, 5, 8, -KIN, -KIN), nullptr, true), "▲５八金直");
  EXPECT_EQ(te_hyouki(q, te(6, 8, 5, 8, -KIN, -KIN), nullptr, true), "▲５八金寄");
  // The gold at 6七 going back to 6八, beside the gold at 5八 going sideways: 引.
  Kyokumen r;
  r.ban[4][7] = -KIN, r.ban[5][8] = -KIN;
  EXPECT_EQ(te_hyouki(r, te(4, 7, 4, 8, -KIN, -KIN), nullptr, true), "▲６八金引");
  EXPECT_EQ(te_hyouki(r, te(5, 8, 4, 8, -KIN, -KIN), nullptr, true), "▲６八金寄");

  // 打 only when a piece on the board could have gone there instead.
  Kyokumen d;
  d.ban[5][6] = -HU;
  EXPECT_EQ(te_hyouki(d, te(TE_SITA, 1, 5, 5, -HU, -HU), nullptr, true), "▲５五歩打");
  EXPECT_EQ(te_hyouki(d, te(TE_SITA, 1, 3, 5, -HU, -HU), nullptr, true), "▲７五歩");
  // A drop never takes 同, even onto the square the last move left.
  const KifuEntry nokosu = te(3, 5, 3, 4, -HU, -HU);
  EXPECT_EQ(te_hyouki(d, te(TE_SITA, 1, 3, 5, -HU, -HU), &nokosu, true), "▲７五歩");
}

TEST(Hyouki, TheListReplaysTheRecordFromItsStartAndRowsHoldTurns) {
  Kifu k;
  k.kiroku(te(3, 7, 3, 6, -HU, -HU));
  k.kiroku(te(3, 3, 3, 4, HU, HU));
  k.kiroku(te(7, 7, 7, 6, -HU, -HU));
  k.kiroku(te(7, 3, 7, 4, HU, HU));
  KifuEntry kaku = te(2, 8, 8, 2, -KAKU, -UMA);
  kaku.tori_koma = KAKU;
  k.kiroku(kaku);
  EXPECT_EQ(kifu_ichiran(k, 5, true, hirate()),
            (std::vector<std::string>{"  1 先手 ▲７六歩 △７四歩 ▲３六歩", "  2 後手 △３四歩 ▲２二角成"}));
  // The computer moving first with the upper pieces: the same opening reads the same,
  // every square named from its side of the board.
  Kifu u;
  u.kiroku(te(7, 3, 7, 4, HU, HU));
  u.kiroku(te(3, 7, 3, 6, -HU, -HU));
  u.kiroku(te(3, 3, 3, 4, HU, HU));
  u.kiroku(te(7, 7, 7, 6, -HU, -HU));
  KifuEntry ue_kaku = te(8, 2, 2, 8, KAKU, UMA);
  ue_kaku.tori_koma = -KAKU;
  u.kiroku(ue_kaku);
  EXPECT_EQ(kifu_ichiran(u, 5, false, hirate()),
            (std::vector<std::string>{"  1 先手 ▲７六歩 △３四歩 ▲３六歩", "  2 後手 △７四歩 ▲２二角成"}));
  // The start is found from the position the played entries lead to.
  Kyokumen ima = hirate();
  for (int i = 1; i <= 5; ++i) do_move(ima, kifu_te(k.at(i)));
  k.kifu_ichi = 5;
  EXPECT_TRUE(test::same_position(kifu_hajime(ima, k), hirate()));
  EXPECT_EQ(ichiran_gyou(0), -1);
  EXPECT_EQ(ichiran_gyou(3), 0);
  EXPECT_EQ(ichiran_gyou(4), 1);
}

// Turned in the middle of a game, the second player plays on with the lower pieces: its
// moves are still △ and every square keeps its name, read from the first player's side.
TEST_F(Following, AfterTheBoardIsTurnedSquaresKeepTheirNames) {
  g.on_menu(Menu::ICHIRAN);
  move(3, 7, 3, 6);
  move(3, 3, 3, 4);
  move(7, 7, 7, 6);
  ASSERT_EQ(h.ui.ichiran_rows, (std::vector<std::string>{"  1 先手 ▲７六歩 △７四歩 ▲３六歩"}));
  g.on_menu(Menu::REVERSE);
  h.ui.boxes.clear();
  move(3, 7, 3, 6);  // the second player's pawn from ３三, turned to the bottom
  move(7, 4, 7, 5);  // the first player's pawn on ７六, now an upper piece
  move(2, 7, 2, 6);
  EXPECT_TRUE(h.ui.boxes.empty()) << h.ui.boxes.front().text;
  EXPECT_EQ(h.ui.ichiran_rows, (std::vector<std::string>{"  1 後手 △３四歩 ▲７五歩 △２四歩"}));
}

TEST_F(Following, TheMoveListFollowsTheGameAndItsRowsStepLike戻And進) {
  g.on_menu(Menu::ICHIRAN);
  move(3, 7, 3, 6);
  move(3, 3, 3, 4);
  move(7, 7, 7, 6);
  move(7, 3, 7, 4);
  move(2, 7, 2, 6);
  move(4, 3, 4, 4);
  EXPECT_TRUE(h.ui.ichiran_shown);
  ASSERT_EQ(h.ui.ichiran_rows.size(), 2u);
  EXPECT_EQ(h.ui.ichiran_rows[0], "  1 先手 ▲７六歩 △７四歩 ▲３六歩");
  EXPECT_EQ(h.ui.ichiran_current, 1);
  g.ichiran_click(0);
  g.ibento_owari();
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(h.ui.ichiran_current, 0);
  EXPECT_EQ(h.ui.ichiran_rows.size(), 2u);  // the rows stepped back over stay
  g.ichiran_click(1);
  g.ibento_owari();
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 6);
  // In the middle of a turn 戻 is refused, and so is the row.
  move(8, 7, 8, 6);
  h.ui.boxes.clear();
  g.ichiran_click(0);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 7);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].title, "戻る");
  move(8, 3, 8, 4);
  move(9, 7, 9, 6);
  // 最初 and a new game leave no rows of the game before; 進 steps into them again.
  g.on_menu(Menu::CANCEL);
  g.ibento_owari();
  EXPECT_TRUE(h.ui.ichiran_rows.empty());
  g.on_menu(Menu::START);
  g.ibento_owari();
  EXPECT_TRUE(h.ui.ichiran_rows.empty());
  g.on_menu(Menu::AFTER);
  g.ibento_owari();
  EXPECT_EQ(h.ui.ichiran_rows.size(), 3u);
  EXPECT_EQ(h.ui.ichiran_current, 0);
  g.on_menu(Menu::ICHIRAN);
  g.ibento_owari();
  EXPECT_FALSE(h.ui.ichiran_shown);
}

class RecordLoad : public Following {
 protected:
  void open(const std::string& bytes) {
    write_bytes("r.棋譜", bytes);
    g.on_menu(Menu::KIFU_READ);
    h.ui.boxes.clear();
    h.sound.log.clear();
    g.kifu_panel().panel_file_click("r.棋譜");
  }
  void expect_refused_and_untouched(const Kyokumen& before) {
    EXPECT_EQ(h.ui.boxes[0].title, "棋譜");
    EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
    EXPECT_FALSE(g.taikyoku().saisei_chu());
    EXPECT_EQ(g.taikyoku().tesuu(), 1);
    EXPECT_TRUE(test::same_position(g.taikyoku().pos(), before));
    EXPECT_TRUE(h.ui.visible[Control::PANEL_FILE_LIST]);  // the panel stays for another choice
  }
};

TEST_F(RecordLoad, GarbageATextFileAndARecordBrokenAtItsFifthEntryAreRefusedWhole) {
  move(3, 7, 3, 6);
  const Kyokumen before = g.taikyoku().pos();
  // Random bytes in lines: read as entries of nonsense, refused at the first.
  std::string garbage;
  for (int i = 0; i < 400; ++i) garbage += i % 40 == 39 ? '\n' : static_cast<char>((i * 73 + 11) % 256);
  open(garbage);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_NE(h.ui.boxes[0].text, " 読み込みました");
  expect_refused_and_untouched(before);

  open("Dear player,\r\nthis is a letter\r\nand not a record at all.\r\nIt has words in it.\r\n");
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text.rfind("棋譜の4行目の手は盤上で指せません", 0), 0u) << h.ui.boxes[0].text;
  expect_refused_and_untouched(before);

  // Four good entries, then one that moves a piece from an empty square.
  Harness played;
  played.game.on_load();
  played.game.on_menu(Menu::START);
  for (auto [fc, fr, tc, tr] : {std::array{3, 7, 3, 6}, {3, 3, 3, 4}, {7, 7, 7, 6}, {7, 3, 7, 4}}) {
    press(played.game, fc, fr);
    press(played.game, tc, tr);
  }
  std::vector<KifuEntry> entries;
  for (int i = 1; i <= 4; ++i) entries.push_back(played.game.taikyoku().kifu().at(i));
  KifuEntry bad = entries[0];  // the same pawn again: its square is empty now
  entries.push_back(bad);
  int bad_line = 0;
  const auto bytes = encode_kifu("t", "u", "v", entries, bad_line);
  ASSERT_TRUE(bytes);
  open(*bytes);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "棋譜の8行目の手は盤上で指せません\n移動元に記録された駒がありません");
  expect_refused_and_untouched(before);

  // Without the bad entry it loads as designed.
  entries.pop_back();
  open(*encode_kifu("t", "u", "v", entries, bad_line));
  ASSERT_GE(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, " 読み込みました");
  EXPECT_TRUE(g.taikyoku().saisei_chu());
  EXPECT_TRUE(marks().empty());

  // Bytes with no line after the header hold no entries: the design's no-data answer.
  open("no lines at all");
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません");
}

TEST_F(Following, SettingsKeepTheTwoOptionsAfterTheFiveAndDefaultWithoutThem) {
  g.on_menu(Menu::CHOKUZEN);
  g.on_menu(Menu::ICHIRAN);
  const std::string ini = read_bytes("ミラド将棋.ini");
  EXPECT_NE(ini.find(*utf8_to_cp932("ｱｲｺﾝ=ON\r\n直前の手=OFF\r\n棋譜一覧=ON\r\n")), std::string::npos);
  Harness again;
  again.game.opushon().settei_yomi();
  EXPECT_FALSE(again.game.settei().chokuzen_on());
  EXPECT_TRUE(again.game.settei().ichiran_on());
  write_bytes("ミラド将棋.ini", *utf8_to_cp932("BGM=OFF\r\n"));
  Harness older;
  older.game.opushon().settei_yomi();
  EXPECT_TRUE(older.game.settei().chokuzen_on());
  EXPECT_FALSE(older.game.settei().ichiran_on());
}

}  // namespace
}  // namespace mirado

namespace mirado {
namespace {

// Reads the status line at the moment each box opens.
class HakoUi : public test::FakeUi {
 public:
  const Game* g = nullptr;
  std::vector<std::string> lines;
  // Run once, when the computer's turn has begun and the line is sent.
  std::function<void()> com_no_ban;
  void set_status(std::string_view s) override {
    FakeUi::set_status(s);
    if (!com_no_ban || !g->com_teban().shikouchu()) return;
    const std::function<void()> f = std::move(com_no_ban);
    com_no_ban = nullptr;
    f();
  }
  Answer message_box(std::string_view text, std::string_view title, Buttons b, Icon icon) override {
    lines.push_back(g->ban_gamen().joukyou());
    return FakeUi::message_box(text, title, b, icon);
  }
};

struct HakoHarness {
  test::FakeCanvas canvas;
  HakoUi ui;
  test::SimClock clock;
  test::FakeSound sound;
  Game game{Ports{&canvas, &ui, &clock, &sound, &sound}};
  HakoHarness() { ui.g = &game; }
};

TEST(Hako, WhileABoxWaitsTheLineSaysWhatItSaysAndNeverThatTheComputerThinks) {
  test::TempCwd cwd;
  HakoHarness h;
  Game& g = h.game;
  g.on_load();
  g.on_menu(Menu::START);
  EXPECT_EQ(h.ui.lines.back(), "先手の番です");
  // The computer's turn, between its searches: boxes open while it is played.
  bool com_no_ban = false;
  h.ui.com_no_ban = [&] {
    com_no_ban = true;
    ASSERT_TRUE(g.com_teban().shikouchu());
    g.com_teban().tejun_hyouji(2);
    EXPECT_EQ(g.ban_gamen().joukyou(), "COMの番　2手目");
    g.ban_gamen().msg("   ** 王手 **", "");
    EXPECT_EQ(h.ui.lines.back(), "** 王手 **");
    g.ban_gamen().msg("よし！!", "詰め ?");
    EXPECT_EQ(h.ui.lines.back(), "詰め ?：よし！!");
    EXPECT_EQ(h.ui.statuses.back(), "COMの番　2手目");  // the line comes back when it is answered
    g.com_teban().tokei(true, 0);
    EXPECT_EQ(g.ban_gamen().joukyou(), "COM 考え中…");
    g.com_teban().tokei(false, 0);
  };
  g.on_menu(Menu::GOTE);  // the computer moves first
  EXPECT_TRUE(com_no_ban);
  EXPECT_FALSE(g.com_teban().shikouchu());
}

TEST(Hako, ARefusalBoxAndItsLineSayTheSame) {
  test::TempCwd cwd;
  HakoHarness h;
  Game& g = h.game;
  g.on_load();
  g.on_menu(Menu::START);
  for (auto [c, r] : {std::pair{3, 7}, {3, 6}, {3, 3}, {3, 4}, {3, 6}, {3, 5}}) test::press(g, c, r);
  ASSERT_FALSE(h.ui.boxes.empty());
  EXPECT_EQ(h.ui.boxes.back().title, "警告");
  EXPECT_EQ(h.ui.lines.back(), "警告：１手目に動かした駒は動かせません");
}

TEST_F(Following, ASelectedPieceThatCanPromoteIsToldTheRightButtonPromotes) {
  set_position("4k4/9/9/4S4/9/9/9/9/4K4 b - 1");
  press(g, 5, 4);
  g.ibento_owari();
  EXPECT_TRUE(says("右ボタン")) << g.ban_gamen().joukyou();
  press(g, 5, 3);  // a left click: it stays a silver, with nothing asked, and is told so
  EXPECT_EQ(g.taikyoku().pos().ban[5][3], -GIN);
  EXPECT_TRUE(h.ui.boxes.empty());
  EXPECT_TRUE(says("成らずに指しました")) << g.ban_gamen().joukyou();
  press(g, 5, 1);  // the next click takes the note away
  EXPECT_FALSE(says("成らずに"));
}

TEST_F(Following, WithPromotionAskedALeftClickGetsABoxThatDecides) {
  g.on_menu(Menu::NARI_KAKUNIN);
  set_position("4k4/9/9/4S4/9/9/9/9/4K4 b - 1");
  h.ui.answers = {Answer::yes};
  press(g, 5, 4);
  press(g, 5, 3);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].buttons, Buttons::naru);
  EXPECT_EQ(g.taikyoku().pos().ban[5][3], -NARIGIN);
  // A move that cannot promote, and the right button, ask nothing.
  h.ui.boxes.clear();
  press(g, 5, 1);
  press(g, 4, 1);  // the opponent's king, the second move
  move(5, 9, 5, 8);
  EXPECT_TRUE(h.ui.boxes.empty());
}

}  // namespace
}  // namespace mirado
