// Nothing a player makes is lost: a refused load leaves the game, saving asks before it
// replaces a record and never writes through a file's protection, and a game in
// progress outlives quitting.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <sstream>

#include "kifu/file_io.h"
#include "kifu/kifu_file.h"
#include "kifu_support.h"
#include "rules/sfen.h"
#include "game_shiken.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using test::Harness;

// Everything of a game a player could lose: position, record, clocks, turn, the panel
// and the move list.
std::string snapshot(const Harness& h) {
  const Game& g = h.game;
  std::ostringstream s;
  s << to_sfen(g.taikyoku().pos(), g.taikyoku().teban() == g.taikyoku().sita_gawa(),
               g.taikyoku().tesuu())
    << "|" << static_cast<int>(g.taikyoku().teban()) << "," << static_cast<int>(g.taikyoku().teban_nushi()) << ","
    << static_cast<int>(g.taikyoku().dankai()) << ',' << g.taikyoku().te_tochuu() << ','
    << g.taikyoku().saisei_chu() << ',' << g.taikyoku().jikan_sita() << ','
    << g.taikyoku().jikan_ue() << ',' << g.taikyoku().kifu().kifu_ichi << ','
    << g.taikyoku().kifu().kifu_nagasa << '|';
  for (int i = 1; i <= g.taikyoku().kifu().kifu_nagasa; ++i)
    s << entry_line(g.taikyoku().kifu().at(i)) << ';';
  for (const std::string& row : g.ichiran()) s << row << ';';
  for (Control c : {Control::PANEL_DRIVE_LIST, Control::PANEL_DIR_LIST, Control::PANEL_FILE_LIST})
    s << h.ui.visible.count(c) << h.ui.visible.at(c);
  return s.str();
}

std::string sample_record() {
  Harness h;
  h.game.haichi(haichi(Taikyoku::Haichi{}));  // the even start, the lower pieces to move
  test::play_sample_game(h);
  std::vector<KifuEntry> e;
  for (int i = 1; i <= h.game.taikyoku().kifu().kifu_ichi; ++i)
    e.push_back(h.game.taikyoku().kifu().at(i));
  int bad = 0;
  return *encode_kifu("対局", "上", "下", e, bad);
}

class LoadRefusal : public test::KifuDir {
 protected:
  Harness h;
  Game& g = h.game;
  void SetUp() override {
    test::KifuDir::SetUp();
    g.on_load();
    g.on_menu(Menu::START);
    test::play_sample_game(h);
    g.kifu_read();
  }
};

TEST_F(LoadRefusal, EveryFileThatCannotBeLoadedLeavesTheGameAsItWas) {
  const std::string whole = sample_record();
  const std::string header_only = whole.substr(0, whole.find("\r\n", whole.find("\r\n", whole.find("\r\n") + 2) + 2) + 2);
  std::string bad_line = whole;
  bad_line.replace(header_only.size(), 2, "9");  // a source column with nothing on it
  write_bytes("0.棋譜", "");
  write_bytes("1.棋譜", "x");
  write_bytes("header.棋譜", header_only);
  write_bytes("random.棋譜", std::string("\x93\x01\xfe\x77\x20\x88", 6));
  write_bytes("cr.棋譜", "a\rb\rc\r 3736  -10 -10   0    0    5    0    0\r");
  write_bytes("bad.棋譜", bad_line);
  fs::create_directory("folder.棋譜");
  ASSERT_EQ(::mkfifo("fifo.棋譜", 0600), 0);
  const struct {
    const char* file;
    const char* message;
  } cases[] = {
      {"0.棋譜", "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"},      {"1.棋譜", "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"},
      {"header.棋譜", "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"}, {"random.棋譜", "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"},
      {"cr.棋譜", "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"},     {"bad.棋譜", "棋譜の4行目の手は盤上で指せません"},
      {"folder.棋譜", "棋譜ﾌｧｲﾙを読み込めません"},   {"fifo.棋譜", "棋譜ﾌｧｲﾙを読み込めません"},
      {"gone.棋譜", "棋譜ﾌｧｲﾙを開けません"},
  };
  const std::string before = snapshot(h);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    h.sound.log.clear();
    h.ui.boxes.clear();
    g.panel_file_click(c.file);
    EXPECT_EQ(snapshot(h), before);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text.rfind(c.message, 0), 0u) << h.ui.boxes[0].text;
    EXPECT_EQ(h.sound.log, std::vector<std::string>{"play snd_kinshi"});  // the music plays on
  }
}

class SaveRules : public LoadRefusal {
 protected:
  void save_as(const std::string& name) {
    g.kifu_write();
    g.text_change(1, name);
    g.text_change(2, "対局");
    g.panel_write_click();
  }
};

TEST_F(SaveRules, AReadOnlyRecordIsRefusedWithTheReasonAndLeftAsItWas) {
  write_bytes("ro.棋譜", "old");
  fs::permissions("ro.棋譜", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  save_as("ro");
  EXPECT_EQ(read_bytes("ro.棋譜"), "old");
  EXPECT_NE(h.ui.boxes.back().text.find("Permission denied"), std::string::npos);
  EXPECT_EQ(h.ui.boxes.back().buttons, Buttons::ok);  // nothing asked first
  EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
}

TEST_F(SaveRules, ALinkIsWrittenThroughAndALongNameCanBeSaved) {
  fs::create_directory("real");
  write_bytes("real/target.棋譜", "old");
  fs::create_symlink("real/target.棋譜", "link.棋譜");
  h.ui.answers.push_back(Answer::yes);
  save_as("link");
  EXPECT_TRUE(fs::is_symlink("link.棋譜"));
  EXPECT_EQ(parse_kifu(read_bytes("real/target.棋譜")).entries.size(), 9u);

  // The longest name the file system takes: 255 bytes with the extension.
  const std::string longest(255 - KIFU_KAKUCHOUSHI.size(), 'a');
  save_as(longest);
  EXPECT_EQ(h.ui.boxes.back().text, "棋譜を書き込みました");
  EXPECT_EQ(parse_kifu(read_bytes(longest + std::string(KIFU_KAKUCHOUSHI))).entries.size(), 9u);
}

// Every save clears away the temporary files an interrupted save left, and only those:
// a player's own files beside the records and the settings stay, whatever their names,
// through a record save, a settings save and the quit-save.
TEST_F(SaveRules, TemporaryFilesOfAnInterruptedSaveGoAtTheNextSaveAndNothingElse) {
  test::write_players_own_files();
  write_bytes(".mirado-Ab12Cd", "half");
  save_as("new");
  EXPECT_EQ(h.ui.boxes.back().text, "棋譜を書き込みました");
  EXPECT_FALSE(fs::exists(".mirado-Ab12Cd"));
  g.on_menu(Menu::BGM);
  ASSERT_TRUE(fs::exists("ミラド将棋.ini"));
  g.on_menu(Menu::START);
  test::press(g, 7, 7);
  test::press(g, 7, 6);
  g.on_close();
  ASSERT_TRUE(fs::exists("中断.棋譜"));
  EXPECT_EQ(test::players_own_files_touched(), std::vector<std::string>{});
}

// ---- a game kept when the window closes ----

class ResumeAfterQuit : public test::KifuDir {
 protected:
  static void turn_moves(Harness& h, int moves) {
    static constexpr int kMoves[3][4] = {{7, 7, 7, 6}, {3, 3, 3, 4}, {2, 7, 2, 6}};
    for (int i = 0; i < moves; ++i) {
      test::press(h.game, kMoves[i][0], kMoves[i][1]);
      test::press(h.game, kMoves[i][2], kMoves[i][3]);
    }
  }
};

TEST_F(ResumeAfterQuit, ATurnLeftHalfWayGoesOnWhereItStopped) {
  std::string sfen;
  {
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::START);
    turn_moves(h, 2);
    ASSERT_EQ(h.game.taikyoku().kifu().kifu_ichi, 2);
    sfen = to_sfen(h.game.taikyoku().pos(), true, 2);
    h.game.on_key(27);
    EXPECT_TRUE(h.ui.quitted);
  }
  ASSERT_TRUE(fs::exists("中断.棋譜"));
  const KifuFile f = parse_kifu(read_bytes("中断.棋譜"));  // an ordinary record
  EXPECT_EQ(f.entries.size(), 2u);

  Harness h;
  h.game.on_load();
  EXPECT_NE(h.game.joukyou().find("続きから"), std::string::npos);
  {
    Harness other;  // starting another game does not delete it
    other.game.on_load();
    other.game.on_menu(Menu::START);
  }
  EXPECT_TRUE(fs::exists("中断.棋譜"));
  h.game.on_menu(Menu::TSUZUKI);
  EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 2), sfen);
  EXPECT_EQ(h.game.taikyoku().dankai(), Dankai::san);
  EXPECT_TRUE(h.game.taikyoku().te_tochuu());
  EXPECT_FALSE(h.game.taikyoku().saisei_chu());
  EXPECT_FALSE(h.game.taikyoku().saikai_machi());
  EXPECT_EQ(h.game.taikyoku().teban_nushi(), h.game.taikyoku().sita_gawa());
  EXPECT_FALSE(fs::exists("中断.棋譜"));
  // The third move's limit still knows the first move's piece.
  test::press(h.game, 7, 6);
  test::press(h.game, 7, 5);
  EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 2);
  turn_moves(h, 0);
  test::press(h.game, 2, 7);
  test::press(h.game, 2, 6);
  EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(h.game.taikyoku().dankai(), Dankai::ichi);
}

// A kept game is checked from the position its handicap left: the lower silver goes where
// the bishop stood before it was taken off.
TEST_F(ResumeAfterQuit, AHandicapGameIsCheckedFromItsOwnStart) {
  {
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::START);
    h.game.lebel_down();
    ASSERT_EQ(h.game.taikyoku().pos().ban[2][8], kara);
    for (const auto& m : {std::array{3, 9, 2, 8}, std::array{3, 3, 3, 4}, std::array{7, 7, 7, 6}}) {
      test::press(h.game, m[0], m[1]);
      test::press(h.game, m[2], m[3]);
    }
    ASSERT_EQ(h.game.taikyoku().kifu().kifu_ichi, 3);
    h.game.on_key(27);
  }
  Harness h;
  h.game.on_load();
  h.game.on_menu(Menu::TSUZUKI);
  for (const test::Box& b : h.ui.boxes) EXPECT_NE(b.title, "続きから") << b.text;  // no refusal
  EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(h.game.taikyoku().pos().ban[2][8], -GIN);
}

TEST_F(ResumeAfterQuit, AComputerGameGoesOnAgainstTheComputerAtItsLevel) {
  std::string sfen;
  {
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::LEVEL2);
    h.game.on_menu(Menu::SENTE);
    turn_moves(h, 3);  // the computer answers with its whole turn
    ASSERT_EQ(h.game.taikyoku().kifu().kifu_ichi, 6);
    sfen = to_sfen(h.game.taikyoku().pos(), true, 6);
    h.game.on_close();
  }
  Harness h;
  h.game.on_load();
  h.game.on_menu(Menu::TSUZUKI);
  EXPECT_TRUE(h.game.taikyoku().com_taikyoku());
  EXPECT_EQ(h.game.taikyoku().level(), 2);
  EXPECT_TRUE(h.game.is_checked(Menu::LEVEL2));
  EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 6), sfen);
  EXPECT_EQ(h.game.taikyoku().teban_nushi(), h.game.taikyoku().sita_gawa());
  EXPECT_EQ(h.ui.boxes.back().text, "あなたの番です");
}

TEST_F(ResumeAfterQuit, QuittingInTheComputersTurnKeepsItsWholeTurnsOnly) {
  {
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::LEVEL1);
    h.game.on_menu(Menu::SENTE);
    turn_moves(h, 2);
    h.ui.close = true;  // asked while the computer answers the third move
    turn_moves(h, 0);
    test::press(h.game, 2, 7);
    test::press(h.game, 2, 6);
    EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 4);  // its first move was made, then it stopped
    h.game.on_close();
  }
  EXPECT_EQ(parse_kifu(read_bytes("中断.棋譜")).entries.size(), 3u);
  Harness h;
  h.game.on_load();
  h.game.on_menu(Menu::TSUZUKI);
  // The computer holds the turn: it plays all three of its moves again at once.
  EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 6);
  EXPECT_EQ(h.game.taikyoku().teban_nushi(), h.game.taikyoku().sita_gawa());
}

TEST_F(ResumeAfterQuit, OnlyAGameInProgressIsKeptAndABadFileIsRefused) {
  {
    Harness h;  // no move made
    h.game.on_load();
    h.game.on_menu(Menu::START);
    h.game.on_close();
  }
  EXPECT_FALSE(fs::exists("中断.棋譜"));
  Harness h;
  h.game.on_load();
  h.game.on_menu(Menu::TSUZUKI);
  EXPECT_EQ(h.ui.boxes.back().text, "中断した対局はありません");
  write_bytes("中断.棋譜", sample_record());  // a record, but not one kept by quitting
  h.game.on_menu(Menu::START);
  turn_moves(h, 1);
  const std::string before = to_sfen(h.game.taikyoku().pos(), true, 1);
  h.game.on_menu(Menu::TSUZUKI);
  EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
  EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 1), before);
  // A kept game is checked by the rules of the game too: the line they forbid is named,
  // and the game on the board stays.
  h.game.on_menu(Menu::START);
  turn_moves(h, 3);
  const std::string after_turn = to_sfen(h.game.taikyoku().pos(), true, 1);
  for (const test::IhanKifu& k : test::ihan_kifu_kaku()) {
    SCOPED_TRACE(k.name);
    int bad = 0;
    const auto kept = encode_kifu("中断した対局", "人間", "人間", parse_kifu(read_bytes(k.name + ".棋譜")).entries, bad);
    ASSERT_TRUE(kept);
    write_bytes("中断.棋譜", *kept);
    h.sound.log.clear();
    h.game.on_menu(Menu::TSUZUKI);
    EXPECT_EQ(h.ui.boxes.back().text, "棋譜の" + std::to_string(k.line) + "行目の手は盤上で指せません\n" + k.naze);
    EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
    EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 1), after_turn);
  }
}

}  // namespace
}  // namespace mirado
