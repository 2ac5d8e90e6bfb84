// Stepping through records (進, 戻, 最初), entries that cannot be played, turning the board.
#include <gtest/gtest.h>

#include "kifu/kensa.h"
#include "kifu/kifu_file.h"
#include "game_shiken.h"
#include "kifu_support.h"

namespace mirado {
namespace {

using test::Harness;
using test::press;

constexpr const char* kPawn = "3 736-10 -10 0   0    2    0    0    ";  // the lower pawn's first move

// An entry line with small times, written by the saver.
std::string L(int mx, int my, int sx, int sy, int koma, int moto, int tori) {
  KifuEntry e;
  e.te = Te{mx, moto_fr(mx, my), sx, sy, koma};  // my: the row the file keeps
  e.moto_koma = moto, e.tori_koma = tori;
  e.sita_mae = e.sita_ato = 2, e.ue_ato = 1;
  return entry_line(e);
}

class KifuReplay : public test::KifuDir {
 protected:
  Harness h;
  Game& g = h.game;

  // Writes a record with the given entry lines and opens it as a click in the file list does.
  void load(const std::vector<std::string>& lines) {
    open(lines);
    ASSERT_TRUE(g.taikyoku().saisei_chu());
    h.ui.boxes.clear();
    h.sound.log.clear();
  }
  void open(const std::vector<std::string>& lines) {
    std::string bytes = "t\r\nu\r\nv\r\n";
    for (const std::string& l : lines) bytes += l + "\r\n";
    write_bytes("r.棋譜", bytes);
    g.kifu_panel().panel_file_click("r.棋譜");
  }
  const test::Box& last_box() { return h.ui.boxes.back(); }
};

// The even start with the upper pieces to move.
constexpr const char* SHOKI_UE = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";

// The sides a game has at start-up (side 1 plays the upper pieces), the upper pieces to move.
Taikyoku::Haichi kidou_no_gawa() {
  Taikyoku::Haichi h;
  h.sfen = SHOKI_UE;
  h.sita_sente = false;
  return h;
}

TEST_F(KifuReplay, ForwardAndBackATurnAtATimeOverAWholeRecord) {
  Harness played;
  played.game.haichi(haichi(Taikyoku::Haichi{}));  // the lower pieces move first
  std::vector<Kyokumen> seen{played.game.taikyoku().pos()};
  test::play_sample_game(played);
  std::vector<std::string> lines;
  for (int i = 1; i <= 9; ++i) lines.push_back(entry_line(played.game.taikyoku().kifu().at(i)));
  // Replay the record move by move on a second game to know every position.
  {
    Harness step;
    Taikyoku::Haichi kifu;  // the start-up sides, the record beyond the start
    kifu.sfen = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";
    kifu.sita_sente = false;
    for (int i = 1; i <= 9; ++i) kifu.kifu_saki.push_back(played.game.taikyoku().kifu().at(i));
    step.game.haichi(haichi(kifu));
    for (int i = 1; i <= 9; ++i) {
      ASSERT_TRUE(step.game.ippo_susumu());
      seen.push_back(step.game.taikyoku().pos());
    }
  }
  EXPECT_TRUE(test::same_position(seen[9], played.game.taikyoku().pos()));

  g.kirikae().set_checked(Menu::AICON, true);
  load(lines);
  for (int turn = 1; turn <= 3; ++turn) {
    g.on_menu(Menu::AFTER);
    EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 3 * turn);
    EXPECT_EQ(g.taikyoku().tesuu(), 3 * turn);
    EXPECT_TRUE(test::same_position(g.taikyoku().pos(), seen[3 * turn])) << "turn " << turn;
    EXPECT_EQ(g.taikyoku().teban(), turn % 2 == 1 ? Gawa::gote : Gawa::sente);
    EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().teban());
  }
  EXPECT_EQ(g.taikyoku().jikan_sita(), played.game.taikyoku().jikan_sita());
  EXPECT_EQ(g.taikyoku().jikan_ue(), played.game.taikyoku().jikan_ue());
  EXPECT_TRUE(h.ui.visible[Control::AICON_MAN2]);  // the second player holds the next turn
  EXPECT_TRUE(g.taikyoku().saikai_machi());
  EXPECT_TRUE(h.ui.boxes.empty());

  g.on_menu(Menu::AFTER);
  EXPECT_EQ(last_box().text, "終わり");
  EXPECT_EQ(last_box().title, "進む");
  EXPECT_TRUE(h.sound.log.empty() || h.sound.log.back() != "play snd_kinshi");

  for (int turn = 2; turn >= 0; --turn) {
    g.on_menu(Menu::REPLAY);
    EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 3 * turn);
    EXPECT_TRUE(test::same_position(g.taikyoku().pos(), seen[3 * turn])) << "back to turn " << turn;
    EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().teban());
  }
  EXPECT_EQ(g.taikyoku().jikan_sita(), 0);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 9);  // stepping never changes the record
}

TEST_F(KifuReplay, BlankLinesAreSkippedSoTheTurnOrderHolds) {
  load({kPawn, "", "    ", L(7, 3, 7, 4, HU, HU, 0), "", L(7, 7, 7, 6, -HU, -HU, 0)});
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 3);
  g.on_menu(Menu::AFTER);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(g.taikyoku().pos().ban[7][6], -HU);
  EXPECT_EQ(g.taikyoku().teban(), Gawa::gote);  // the second player's turn, as after any three moves
  EXPECT_TRUE(h.ui.boxes.empty());
}

TEST_F(KifuReplay, StepCommandsRefuseAtTheEndsAndOutsideAGame) {
  Taikyoku::Haichi ou_tori;  // the lower gold takes the upper king
  ou_tori.sfen = "4k4/4G4/9/9/9/9/9/9/4K4 b - 1";
  Taikyoku won = haichi(ou_tori);
  ASSERT_EQ(won.sasu({{5, 2, 5, 1, -KIN}}, 0).shousha, Gawa::sente);
  g.haichi(won);
  const Kyokumen owari = g.taikyoku().pos();
  g.on_menu(Menu::AFTER);  // the game ended at the record's end: nothing to step forward to
  EXPECT_EQ(last_box().text, "できません");
  EXPECT_EQ(last_box().title, "進む");
  // 戻 looks back at once: the turn the game ended in is taken back whole, the end is
  // cleared, and the first move of that turn is due again.
  g.on_menu(Menu::REPLAY);
  EXPECT_FALSE(g.taikyoku().owatta());
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.taikyoku().pos().ban[5][1], OU);
  EXPECT_EQ(g.taikyoku().dankai(), Dankai::ichi);
  EXPECT_FALSE(g.taikyoku().te_tochuu());
  EXPECT_TRUE(g.taikyoku().saikai_machi());
  g.on_menu(Menu::AFTER);  // and forward again over the capture: the game is over once more
  EXPECT_TRUE(test::same_position(g.taikyoku().pos(), owari));
  EXPECT_TRUE(g.taikyoku().owatta());
  g.shinki_kyoku();

  g.on_menu(Menu::AFTER);  // no game started
  EXPECT_EQ(last_box().text, "「対局」で始めて下さい");
  EXPECT_EQ(last_box().title, "開始");
  EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");

  g.haichi(haichi(kidou_no_gawa()));  // a game on the board, nothing recorded
  h.sound.log.clear();
  g.on_menu(Menu::AFTER);  // nothing recorded, not in record mode
  EXPECT_EQ(last_box().text, "できません");
  EXPECT_EQ(last_box().title, "進む");
  EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
  g.on_menu(Menu::REPLAY);
  EXPECT_EQ(last_box().text, "できません");
  EXPECT_EQ(last_box().title, "戻る");

  haichi(g, SHOKI_UE, Dankai::ni);  // in the middle of a turn
  g.on_menu(Menu::REPLAY);
  EXPECT_EQ(last_box().text, "３手目がまだ打ち終わっていせん");
  EXPECT_EQ(last_box().title, "戻る");

  // At either end a single step never leaves the record.
  g.haichi(haichi(kidou_no_gawa()));
  EXPECT_FALSE(g.ippo_susumu());
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.taikyoku().tesuu(), 0);
}

TEST_F(KifuReplay, PartialTurnsAtTheEndsOfTheRecord) {
  g.haichi(haichi(Taikyoku::Haichi{}));  // the lower pieces move first
  test::play_sample_game(h);
  for (int i = 0; i < 8; ++i) g.ippo_modosu();
  h.ui.boxes.clear();
  // One entry played: 戻 takes it back, then its two further steps each refuse.
  g.on_menu(Menu::REPLAY);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  ASSERT_EQ(h.ui.boxes.size(), 2u);
  for (const auto& b : h.ui.boxes) {
    EXPECT_EQ(b.text, "できません");
    EXPECT_EQ(b.title, "戻る");
  }
  // Two entries left: 進 plays both and stops at the end.
  for (int i = 0; i < 7; ++i) ASSERT_TRUE(g.ippo_susumu());
  h.ui.boxes.clear();
  g.on_menu(Menu::AFTER);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 9);
  EXPECT_TRUE(h.ui.boxes.empty());
}

TEST_F(KifuReplay, ARecordWithAnEntryThatCannotBePlayedIsRefusedWithItsLine) {
  struct Case { std::string line; const char* reason; };
  const Case cases[] = {
      {L(7, 3, 7, 0, HU, HU, 0), "移動先が盤上の升ではありません"},
      {L(12, 3, 7, 4, HU, HU, 0), "移動元が盤上の升でも駒台でもありません"},
      {L(TE_UE, 9, 5, 5, HU, HU, 0), "移動元が盤上の升でも駒台でもありません"},
      {L(7, 3, 7, 4, 12, 12, 0), "駒の番号が正しくありません"},
      {L(5, 5, 5, 4, HU, HU, 0), "移動元に記録された駒がありません"},
      {L(TE_UE, 7, 5, 5, HU, HU, 0), "持駒にない駒を打つ手です"},
      {L(TE_UE, 7, 5, 5, TO, TO, 0), "成駒や王は打てません"},
      {L(TE_SITA, 3, 5, 5, HU, HU, 0), "駒台と打った駒の持ち主が違います"},
      {L(7, 3, 7, 4, KYOU, HU, 0), "置いた駒が動かした駒とも、その成駒とも違います"},
      {L(7, 3, 7, 4, HU, HU, HU), "取った駒が移動先の駒と違います"},
      {L(7, 3, 7, 4, TO, HU, 0), "成れない所で成る手です"},  // the upper pawn far from its zone
      {L(7, 3, 7, 5, HU, HU, 0), "その駒はそこへ動けません"},  // two squares
      {L(3, 6, 3, 5, -HU, -HU, 0), "2手目は相手の駒を動かします"},
      {L(8, 2, 7, 3, KAKU, KAKU, HU), "自分の駒を取る手です"},
      {"\t", "行の1番目の欄に数字がありません"},  // not blank, yet no field holds a value
      {L(7, 3, 7, 4, HU, HU, 0).substr(0, 27), "行の10番目の欄に数字がありません"},  // cut in the clocks
  };
  // The record is stepped through before the load answers: the game on the board stays.
  g.on_menu(Menu::START);
  press(g, 3, 7);
  press(g, 3, 6);
  const Kyokumen before = g.taikyoku().pos();
  for (const Case& c : cases) {
    h.ui.boxes.clear();
    h.sound.log.clear();
    open({kPawn, c.line});
    ASSERT_EQ(h.ui.boxes.size(), 1u) << c.line;
    EXPECT_EQ(last_box().text, std::string("棋譜の5行目の手は盤上で指せません\n") + c.reason) << c.line;
    EXPECT_EQ(last_box().title, "棋譜");
    EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
    EXPECT_FALSE(g.taikyoku().saisei_chu());
    EXPECT_EQ(g.taikyoku().tesuu(), 1);
    EXPECT_EQ(g.taikyoku().dankai(), Dankai::ni);
    EXPECT_TRUE(test::same_position(g.taikyoku().pos(), before));
  }
  // Lines the rules forbid, a finished game played on included (it loaded as "0/62手").
  for (const test::IhanKifu& k : test::ihan_kifu_kaku()) {
    h.ui.boxes.clear();
    g.kifu_panel().panel_file_click(k.name + ".棋譜");
    ASSERT_EQ(h.ui.boxes.size(), 1u) << k.name;
    EXPECT_EQ(last_box().text, "棋譜の" + std::to_string(k.line) + "行目の手は盤上で指せません\n" + k.naze);
    EXPECT_FALSE(g.taikyoku().saisei_chu());
    EXPECT_TRUE(test::same_position(g.taikyoku().pos(), before)) << k.name;
  }
  // A promotion is the moved piece's own promotion, where the piece may promote, and is
  // played: the lower bishop takes the upper one through the file its pawn left.
  load({kPawn, L(7, 3, 7, 4, HU, HU, 0), L(2, 8, 8, 2, -UMA, -KAKU, KAKU)});
  g.on_menu(Menu::AFTER);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(g.taikyoku().pos().ban[8][2], -UMA);
}

TEST(KifuKensa, DropsNeedAnEmptySquareAndAHeldPiece) {
  Kyokumen p;
  p.shoki_haichi();
  p.mochigoma_sita[1] = 1;
  KifuEntry e;
  e.te.fc = TE_SITA, e.te.fr = 1, e.te.tc = 5, e.te.tr = 5, e.te.koma = -HU, e.moto_koma = -HU;
  EXPECT_EQ(te_kensa(p, e), Kotowari::nashi);
  e.te.tr = 7;  // the lower pawn stands there
  e.tori_koma = -HU;
  EXPECT_EQ(te_kensa(p, e), Kotowari::uchi_saki_ari);
  e.te.tr = 5;
  e.tori_koma = 0;
  e.moto_koma = -KYOU;
  EXPECT_EQ(te_kensa(p, e), Kotowari::uchi_chigai);
  e.moto_koma = e.te.koma = -OU;
  EXPECT_EQ(te_kensa(p, e), Kotowari::uchenai_koma);
}

TEST_F(KifuReplay, ALineNumberCountsTheSkippedBlankLines) {
  open({kPawn, "", L(5, 5, 5, 4, HU, HU, 0)});
  EXPECT_EQ(last_box().text.rfind("棋譜の6行目", 0), 0u);
}

TEST_F(KifuReplay, SteppingKeepsTheKingSquaresAndPlayResumesFromTheRecord) {
  load({L(5, 9, 5, 8, -OU, -OU, 0), L(5, 1, 5, 2, OU, OU, 0), L(7, 7, 7, 6, -HU, -HU, 0),
        L(9, 3, 9, 4, HU, HU, 0), L(9, 7, 9, 6, -HU, -HU, 0), L(8, 3, 8, 4, HU, HU, 0)});
  g.on_menu(Menu::AFTER);
  EXPECT_EQ(g.taikyoku().pos().ou_sita_x, 5);
  EXPECT_EQ(g.taikyoku().pos().ou_sita_y, 8);
  EXPECT_EQ(g.taikyoku().pos().ou_ue_y, 2);
  g.on_menu(Menu::REPLAY);
  EXPECT_EQ(g.taikyoku().pos().ou_sita_y, 9);
  EXPECT_EQ(g.taikyoku().pos().ou_ue_y, 1);
  g.on_menu(Menu::AFTER);

  // The start commands leave record mode, with the side that holds the turn; the next
  // presses play on from the record.
  h.ui.boxes.clear();
  g.on_menu(Menu::START);
  EXPECT_FALSE(g.taikyoku().saisei_chu());
  ASSERT_FALSE(h.ui.boxes.empty());
  EXPECT_EQ(h.ui.boxes.front().text, "後手の番です");
  g.on_mouse_down(1, 0, cell_x(1) + 10, cell_y(3) + 10);  // upper pawn (1, 3)
  g.on_mouse_down(1, 0, cell_x(1) + 10, cell_y(4) + 10);
  EXPECT_EQ(g.taikyoku().pos().ban[1][4], HU);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 4);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 4);
}

TEST_F(KifuReplay, CancelReturnsToTheStartKeepingTheRecordUnlessTheBoardWasChanged) {
  load({kPawn});
  g.on_menu(Menu::AFTER);
  g.on_menu(Menu::CANCEL);
  EXPECT_EQ(h.sound.log.back(), "play snd_koma");
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 1);
  EXPECT_FALSE(g.taikyoku().saisei_chu());
  EXPECT_EQ(g.taikyoku().pos().ban[3][7], -HU);
  g.on_menu(Menu::AFTER);
  EXPECT_EQ(last_box().text, "「対局」で始めて下さい");

  // After a flip or a handicap the moves come from another position: a new game drops them.
  // A whole turn of the lower player from the even start.
  auto sita_no_ban = [&] {
    test::play_move(h, 3, 7, 3, 6, -HU);
    test::play_move(h, 7, 3, 7, 4, HU);
    test::play_move(h, 7, 7, 7, 6, -HU);
  };
  g.haichi(haichi(kidou_no_gawa()));
  g.on_menu(Menu::REVERSE);  // the lower pieces to move
  sita_no_ban();
  ASSERT_EQ(g.taikyoku().kifu().kifu_nagasa, 3);
  g.on_menu(Menu::CANCEL);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 0);
  g.on_menu(Menu::LBEL_UP);
  g.on_menu(Menu::START);
  sita_no_ban();
  for (int i = 0; i < 3; ++i) g.ippo_modosu();
  ASSERT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  ASSERT_EQ(g.taikyoku().kifu().kifu_nagasa, 3);
  g.on_menu(Menu::CANCEL);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 0);
}

TEST_F(KifuReplay, TurningTheBoardTwiceGivesBackThePositionButNotTheRecord) {
  g.haichi(haichi(Taikyoku::Haichi{}));  // the lower pieces move first
  test::play_sample_game(h);
  g.on_menu(Menu::LBEL_UP);  // refused: moves were played
  const Kyokumen before = g.taikyoku().pos();
  const Gawa teban = g.taikyoku().teban(), nushi = g.taikyoku().teban_nushi();
  g.on_menu(Menu::REVERSE);
  EXPECT_TRUE(g.taikyoku().hanten_zumi());
  EXPECT_EQ(g.taikyoku().teban(), aite(teban));
  EXPECT_EQ(g.taikyoku().teban_nushi(), aite(nushi));  // the army that held the turn keeps it
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 0);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.taikyoku().pos().ban[2][2], HISHA);  // the lower rook of (8, 8)
  EXPECT_EQ(g.taikyoku().pos().mochigoma_ue[2], before.mochigoma_sita[2]);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_su_ue, before.mochigoma_su_sita);
  EXPECT_EQ(g.taikyoku().pos().ou_ue_x, 5);
  EXPECT_EQ(g.taikyoku().pos().ou_ue_y, 1);
  EXPECT_EQ(h.sound.log.back(), "play snd_koma");
  g.on_menu(Menu::REVERSE);
  EXPECT_TRUE(test::same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.taikyoku().teban(), teban);
  EXPECT_EQ(g.taikyoku().teban_nushi(), nushi);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 0);
  g.on_menu(Menu::AFTER);
  EXPECT_EQ(last_box().text, "できません");  // nothing left to replay
}

TEST_F(KifuReplay, TurningNegatesAHandicapAndIsRefusedWhereItWouldMisleadPlay) {
  g.on_menu(Menu::LEBEL_DOWN);
  g.on_menu(Menu::LEBEL_DOWN);
  g.on_menu(Menu::REVERSE);
  EXPECT_EQ(g.taikyoku().handicap(), 2);
  EXPECT_EQ(h.canvas.texts().back(), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４級");
  EXPECT_EQ(g.taikyoku().pos().ban[8][2], kara);  // the lower bishop was taken off at (2, 8)
  EXPECT_EQ(g.taikyoku().pos().ban[2][2], kara);  // and the lower rook at (8, 8)
  EXPECT_EQ(g.taikyoku().pos().ban[8][8], -HISHA);

  // Games on a board that turning would change: a gold in the middle, the lower pieces to move.
  Taikyoku::Haichi kin;
  kin.sfen = "lnsgkgsnl/1r5b1/ppppppppp/9/4G4/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";
  Taikyoku kifu_mode;  // a loaded record being stepped through
  KifuEntry pawn;
  pawn.te = Te{3, 7, 3, 6, -HU};
  pawn.moto_koma = -HU;
  kifu_mode.kifu_yomikomi({pawn});
  ASSERT_EQ(kifu_mode.kifu_susumu(), "");
  Taikyoku tochuu = haichi(kin);  // in the middle of a turn
  te_sasu(tochuu, 3, 7, 3, 6, -HU);
  Taikyoku::Haichi com_kin = kin;  // a game against the computer, under way
  com_kin.shu = TaikyokuShu::com;
  const struct {
    Taikyoku t;
    const char* text;
  } refused[] = {
      {kifu_mode, "棋譜ﾓｰﾄﾞではできません"},
      {tochuu, "３手目が打ち終わるまでできません"},
      {haichi(com_kin), "対局途中ではできません"},
  };
  for (const auto& c : refused) {
    Harness hh;
    Game& x = hh.game;
    x.haichi(c.t);
    x.on_menu(Menu::REVERSE);
    ASSERT_EQ(hh.ui.boxes.size(), 1u) << c.text;
    EXPECT_EQ(hh.ui.boxes[0].text, c.text);
    EXPECT_EQ(hh.ui.boxes[0].title, "反転");
    EXPECT_EQ(hh.sound.log.back(), "play snd_kinshi");
    EXPECT_FALSE(x.taikyoku().hanten_zumi());
    EXPECT_TRUE(test::same_position(x.taikyoku().pos(), c.t.pos())) << c.text;
    EXPECT_EQ(x.taikyoku().teban(), c.t.teban());
  }
  // Allowed once the game is over, even in the middle of the turn that ended it.
  Taikyoku::Haichi ou_tori;  // the computer's game; the person's gold takes the king
  ou_tori.sfen = "4k4/4G4/9/9/9/9/9/9/4K4 b - 1";
  ou_tori.shu = TaikyokuShu::com;
  Taikyoku won = haichi(ou_tori);
  te_sasu(won, 5, 2, 5, 1, -KIN);
  ASSERT_TRUE(won.owatta());
  ASSERT_TRUE(won.te_tochuu());
  Harness over;
  over.game.haichi(won);
  over.game.on_menu(Menu::REVERSE);
  EXPECT_TRUE(over.game.taikyoku().hanten_zumi());
  EXPECT_EQ(over.game.taikyoku().teban_nushi(), won.teban_nushi());  // against the computer the holder stays
}

}  // namespace
}  // namespace mirado
