// Nothing a player makes is lost: a refused load leaves the game, saving asks before it
// replaces a record and never writes through a file's protection, and a game in
// progress outlives quitting.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <random>
#include <sstream>
#include <thread>

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
  for (const std::string& row : g.ban_gamen().ichiran()) s << row << ';';
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
    g.on_menu(Menu::KIFU_READ);
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
  // The panel and the desktop's file dialog (開く…) refuse alike.
  for (const bool dialog : {false, true})
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (dialog ? " (開く…)" : ""));
    h.sound.log.clear();
    h.ui.boxes.clear();
    if (dialog) g.kifu_panel().kifu_dialog_hiraku(fs::absolute(c.file).string());
    else g.kifu_panel().panel_file_click(c.file);
    EXPECT_EQ(snapshot(h), before);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_EQ(h.ui.boxes[0].text.rfind(c.message, 0), 0u) << h.ui.boxes[0].text;
    EXPECT_EQ(h.sound.log, std::vector<std::string>{"play snd_kinshi"});  // the music plays on
  }
  EXPECT_FALSE(fs::exists("中断.棋譜"));  // nothing was dropped, so nothing was kept
}

class SaveRules : public LoadRefusal {
 protected:
  void save_as(const std::string& name) {
    g.on_menu(Menu::KIFU_WRITE);
    g.kifu_panel().text_kaeru(1, name);
    g.kifu_panel().text_kaeru(2, "対局");
    g.kifu_panel().panel_write_click();
  }
};

TEST_F(SaveRules, AReadOnlyRecordIsRefusedWithTheReasonAndLeftAsItWas) {
  write_bytes("ro.棋譜", "old");
  fs::permissions("ro.棋譜", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  for (const bool dialog : {false, true}) {
    SCOPED_TRACE(dialog ? "名前を付けて保存…" : "panel");
    h.ui.boxes.clear();
    if (dialog) g.kifu_panel().kifu_nazuke_hozon(fs::absolute("ro").string());  // the extension added
    else save_as("ro");
    EXPECT_EQ(read_bytes("ro.棋譜"), "old");
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_NE(h.ui.boxes.back().text.find("Permission denied"), std::string::npos);
    EXPECT_EQ(h.ui.boxes.back().buttons, Buttons::ok);  // nothing asked first
    EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
  }
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
  std::vector<std::string> shown;
  {
    Harness h;
    h.game.on_load();
    if (!h.game.kirikae().is_checked(Menu::KEIKA)) h.game.on_menu(Menu::KEIKA);
    h.game.on_menu(Menu::START);
    h.clock.t += 30;
    turn_moves(h, 2);
    ASSERT_EQ(h.game.taikyoku().kifu().kifu_ichi, 2);
    sfen = to_sfen(h.game.taikyoku().pos(), true, 2);
    h.clock.t += 55;  // the unfinished turn's charge, shown but in no record line
    h.game.ban_gamen().timer_tick();
    shown = {h.game.ban_gamen().tokei_moji(0), h.game.ban_gamen().tokei_moji(1)};
    ASSERT_GE(shown[0], "00:01:25");
    h.game.on_key(27);
    EXPECT_TRUE(h.ui.quitted);
  }
  ASSERT_TRUE(fs::exists("中断.棋譜"));
  const KifuFile f = parse_kifu(read_bytes("中断.棋譜"));  // an ordinary record
  EXPECT_EQ(f.entries.size(), 2u);

  Harness h;
  h.game.on_load();
  EXPECT_NE(h.game.ban_gamen().joukyou().find("続きから"), std::string::npos);
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
  EXPECT_FALSE(fs::exists("中断.時計"));
  h.game.ban_gamen().timer_tick();
  EXPECT_EQ((std::vector<std::string>{h.game.ban_gamen().tokei_moji(0), h.game.ban_gamen().tokei_moji(1)}), shown);
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
// the bishop stood before it was taken off. The kept record is an ordinary record: loaded
// through the panel it steps to the same position, from the same handicapped start.
TEST_F(ResumeAfterQuit, AHandicapGameIsCheckedFromItsOwnStart) {
  std::string sfen;
  {
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::START);
    h.game.on_menu(Menu::LEBEL_DOWN);
    h.game.on_menu(Menu::LEBEL_DOWN);
    ASSERT_EQ(h.game.taikyoku().pos().ban[2][8], kara);
    for (const auto& m : {std::array{3, 9, 2, 8}, std::array{3, 3, 3, 4}, std::array{7, 7, 7, 6}}) {
      test::press(h.game, m[0], m[1]);
      test::press(h.game, m[2], m[3]);
    }
    ASSERT_EQ(h.game.taikyoku().kifu().kifu_ichi, 3);
    sfen = to_sfen(h.game.taikyoku().pos(), true, 0);
    h.game.on_key(27);
  }
  fs::copy_file("中断.棋譜", "kept.棋譜");
  {
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::KIFU_READ);
    h.game.kifu_panel().panel_file_click("kept.棋譜");
    EXPECT_EQ(h.ui.boxes.back().text, "棋譜を '進 'で進めて下さい");
    EXPECT_EQ(h.game.taikyoku().pos().ban[8][8], kara);  // the rook is off before any step
    EXPECT_EQ(h.canvas.picture_at(8, 8), kara);
    while (h.game.ippo_susumu()) {
    }
    EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 3);
    EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 0), sfen);
    // Saved from the panel under a title of the player's, the handicap would be lost and
    // the record could never load again: it is refused as any handicapped game is.
    h.game.on_menu(Menu::KIFU_WRITE);
    EXPECT_EQ(h.ui.boxes.back().text, "ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません");
  }
  Harness h;
  h.game.on_load();
  h.game.on_menu(Menu::TSUZUKI);
  for (const test::Box& b : h.ui.boxes) EXPECT_NE(b.title, "続きから") << b.text;  // no refusal
  EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(h.game.taikyoku().pos().ban[2][8], -GIN);
  EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 0), sfen);
}

TEST_F(ResumeAfterQuit, AComputerGameGoesOnAgainstTheComputerAtItsLevel) {
  for (const auto& [level, menu] : {std::pair{2, Menu::LEVEL2}, std::pair{5, Menu::LEVEL5}}) {
    SCOPED_TRACE("level " + std::to_string(level));
    std::string sfen;
    {
      Harness h;
      h.game.on_load();
      h.game.com_teban().yomi().yomi_nodes_settei(2000);
      h.game.on_menu(menu);
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
    EXPECT_EQ(h.game.taikyoku().level(), level);
    EXPECT_TRUE(h.game.kirikae().is_checked(menu));
    EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 6), sfen);
    EXPECT_EQ(h.game.taikyoku().teban_nushi(), h.game.taikyoku().sita_gawa());
    EXPECT_EQ(h.ui.boxes.back().text, "あなたの番です");
  }
}

// Turns are counted by the record's own phases: a turn in which the computer found no
// third move has two entries. Kept right after it, the game keeps that turn whole and goes
// on with the person's turn; kept after the person's first move, it goes on with the
// person's second.
TEST_F(ResumeAfterQuit, ATurnTheComputerCutShortIsStillAWholeTurn) {
  const std::vector<KifuEntry> tobashi = tobashi_kifu();
  for (const bool tochuu : {false, true}) {
    SCOPED_TRACE(tochuu);
    const std::vector<KifuEntry> kept(tobashi.begin(), tobashi.end() - (tochuu ? 0 : 1));
    int bad = 0;
    write_bytes("中断.棋譜", *encode_kifu("中断した対局 ﾊﾝﾃﾞｨｷｬｯﾌﾟ10", "COM LEVEL1", "人間", kept, bad));
    {
      Harness h;
      h.game.on_load();
      h.game.on_menu(Menu::TSUZUKI);
      for (const test::Box& b : h.ui.boxes) EXPECT_NE(b.title, "続きから") << b.text;
      const Taikyoku& t = h.game.taikyoku();
      EXPECT_EQ(t.kifu().kifu_ichi, static_cast<int>(kept.size()));
      EXPECT_EQ(t.teban_nushi(), t.sita_gawa());
      EXPECT_EQ(t.dankai(), tochuu ? Dankai::ni : Dankai::ichi);
      EXPECT_EQ(t.teban(), tochuu ? t.ue_gawa() : t.sita_gawa());
      EXPECT_EQ(t.te_tochuu(), tochuu);
      // The move list takes the same turns: the computer's two entries are one row, and
      // the person's first move after them opens a row of its own, the one on the board;
      // the marks number only that turn's moves.
      const BanGamen& b = h.game.ban_gamen();
      const std::vector<std::string> rows = b.ichiran();
      const std::size_t turns = kifu_kensa(tobashi, {10, false}).turns.size();
      ASSERT_EQ(rows.size(), turns + (tochuu ? 1 : 0));
      auto te_su = [](const std::string& row) {
        int n = 0;
        for (const char* m : {"▲", "△"})
          for (std::size_t i = row.find(m); i != std::string::npos; i = row.find(m, i + 1)) ++n;
        return n;
      };
      EXPECT_EQ(te_su(rows.back()), tochuu ? 1 : 2) << rows.back();
      EXPECT_EQ(te_su(rows[rows.size() - 2]), tochuu ? 2 : 3) << rows[rows.size() - 2];
      EXPECT_EQ(b.ichiran_ima(), static_cast<int>(rows.size()) - 1);
      h.game.ban_gamen().shirushi_tsukeru();  // as the next move or step would
      const std::vector<BanGamen::Shirushi> marks = b.shirushi();
      ASSERT_FALSE(marks.empty());
      for (const BanGamen::Shirushi& m : marks) EXPECT_LE(m.no, tochuu ? 1 : 2);
      h.game.on_close();
    }
    EXPECT_EQ(parse_kifu(read_bytes("中断.棋譜")).entries.size(), kept.size());  // nothing cut
  }
}

// A clock whose wait, once the game holds `entries` record entries, is where the player
// closes the window: the close comes while the computer shows its turn.
class CloseClock : public test::SimClock {
 public:
  Game* game = nullptr;
  int entries = -1;
  void ato_de(double seconds, std::function<void()> step) override {
    if (game && game->taikyoku().kifu().kifu_ichi == entries) {
      entries = -1;
      game->on_close();
    }
    SimClock::ato_de(seconds, std::move(step));
  }
};

// A game against LEVEL1 closed while the computer shows the first move of its first turn.
struct CloseInComTurn {
  test::FakeCanvas canvas;
  test::FakeUi ui;
  CloseClock clock;
  test::FakeSound sound;
  Game g{Ports{&canvas, &ui, &clock, &sound, &sound}};

  CloseInComTurn() {
    clock.game = &g;
    g.on_load();
    g.on_menu(Menu::LEVEL1);
    g.on_menu(Menu::SENTE);
    test::press(g, 7, 7);
    test::press(g, 7, 6);
    test::press(g, 3, 3);
    test::press(g, 3, 4);
    clock.entries = 4;  // closed while the computer shows its first move
    test::press(g, 2, 7);
    test::press(g, 2, 6);
  }
};

TEST_F(ResumeAfterQuit, QuittingInTheComputersTurnKeepsItsWholeTurnsOnly) {
  {
    CloseInComTurn c;
    Game& g = c.g;
    EXPECT_TRUE(c.ui.quitted);
    EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 4);  // its first move was made, then it stopped
    EXPECT_FALSE(g.com_teban().shikouchu());
  }
  EXPECT_EQ(parse_kifu(read_bytes("中断.棋譜")).entries.size(), 3u);
  Harness h;
  h.game.on_load();
  h.game.on_menu(Menu::TSUZUKI);
  // The computer holds the turn: it plays all three of its moves again at once.
  EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 6);
  EXPECT_EQ(h.game.taikyoku().teban_nushi(), h.game.taikyoku().sita_gawa());
}

// A close in the computer's turn that cannot keep the game asks; a player who stays
// finds the computer's turn going on from where it stopped, its moves played once.
TEST_F(ResumeAfterQuit, StayingAfterACloseInTheComputersTurnLetsItFinishTheTurn) {
  fs::create_directory("中断.棋譜");  // the game cannot be kept
  CloseInComTurn c;
  Game& g = c.g;
  test::FakeUi& ui = c.ui;
  ASSERT_EQ(ui.boxes.back().title, "終了");
  EXPECT_EQ(ui.boxes.back().answer, Answer::no);  // the player stays
  EXPECT_FALSE(ui.quitted);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 6);
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
  EXPECT_FALSE(g.com_teban().shikouchu());
  EXPECT_FALSE(g.machichu());
  // Each of its moves was made once: the record plays by the rules to the board shown.
  std::vector<KifuEntry> entries;
  for (int i = 1; i <= 6; ++i) entries.push_back(g.taikyoku().kifu().at(i));
  EXPECT_EQ(kifu_sasenai(entries), "");
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

// Quitting with a game that cannot be kept (a folder of that name, a read-only kept game,
// a full disk) tells why and stays unless the player chooses to quit; a kept game left
// from before is then never offered as the last one.
TEST_F(ResumeAfterQuit, AGameThatCannotBeKeptIsNeverLostInSilence) {
  auto quit_with_a_game = [](Harness& h, std::deque<Answer> answers) {
    h.game.on_load();
    h.game.on_menu(Menu::START);
    turn_moves(h, 2);
    h.ui.boxes.clear();
    h.ui.answers = std::move(answers);
    h.game.on_key(27);
  };
  fs::create_directory("中断.棋譜");
  {
    Harness h;
    quit_with_a_game(h, {Answer::no});
    EXPECT_FALSE(h.ui.quitted);  // stays: the game is still there to play or save
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_NE(h.ui.boxes[0].text.find("Is a directory"), std::string::npos) << h.ui.boxes[0].text;
    EXPECT_EQ(h.ui.boxes[0].buttons, Buttons::yesno_iie);  // the safe answer is to stay
    EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 2);
    h.ui.answers = {Answer::yes};
    h.game.on_key(27);
    EXPECT_TRUE(h.ui.quitted);
  }
  fs::remove("中断.棋譜");
  {
    Harness h;  // a game kept before
    quit_with_a_game(h, {});
    EXPECT_TRUE(h.ui.boxes.empty());
  }
  const std::string older = read_bytes("中断.棋譜");
  fs::permissions("中断.棋譜", fs::perms::owner_read);
  {
    Harness h;
    h.game.on_load();
    EXPECT_NE(h.game.ban_gamen().oshirase().find("中断した対局があります"), std::string::npos);
    h.game.on_menu(Menu::START);
    turn_moves(h, 3);
    h.ui.boxes.clear();
    h.ui.answers = {Answer::yes};
    h.game.on_key(27);
    ASSERT_EQ(h.ui.boxes.size(), 1u);
    EXPECT_NE(h.ui.boxes[0].text.find("Permission denied"), std::string::npos);
    EXPECT_TRUE(h.ui.quitted);
  }
  EXPECT_EQ(read_bytes("中断.棋譜"), older);
  Harness h;
  h.game.on_load();
  EXPECT_NE(h.game.ban_gamen().oshirase().find("最後の対局とは限りません"), std::string::npos) << h.game.ban_gamen().oshirase();

  // A disk that fills up during the quit-save (a file size limit, in a child so the
  // limit stays there): the player is asked, and staying keeps the game on the board.
  fs::permissions("中断.棋譜", fs::perms::owner_all);
  fs::remove("中断.棋譜");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit lim{40, 40};
    ::setrlimit(RLIMIT_FSIZE, &lim);
    Harness c;
    quit_with_a_game(c, {Answer::no});
    const bool asked = c.ui.boxes.size() == 1 && c.ui.boxes[0].text.find("File too large") != std::string::npos;
    ::_exit(asked && !c.ui.quitted && c.game.taikyoku().kifu().kifu_ichi == 2 ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_FALSE(fs::exists("中断.棋譜"));

  // A folder nothing can be written to (run as a user it does not belong to: root writes
  // through any protection): quitting asks, and staying keeps the game on the board.
  EXPECT_EQ(test::ro_folder_child([&] {
              Harness c;
              quit_with_a_game(c, {Answer::no});
              return c.ui.boxes.size() == 1 && c.ui.boxes[0].text.find("Permission denied") != std::string::npos &&
                     !c.ui.quitted && c.game.taikyoku().kifu().kifu_ichi == 2;
            }),
            0);
  // A kept game that cannot be removed once resumed: the player is told, and it is never
  // offered again as the last game left.
  {
    Harness h;
    quit_with_a_game(h, {});
  }
  ASSERT_TRUE(fs::exists("中断.棋譜"));
  EXPECT_EQ(test::ro_folder_child([&] {
              Harness c;
              c.game.on_load();
              c.game.on_menu(Menu::TSUZUKI);
              const bool told = c.game.ban_gamen().oshirase().find("中断した対局の棋譜を消せません") != std::string::npos;
              const bool resumed = c.game.taikyoku().kifu().kifu_ichi == 2;
              c.ui.answers = {Answer::yes};  // it cannot be kept either: quit anyway
              c.game.on_key(27);
              return told && resumed && c.ui.quitted;
            }),
            0);
  EXPECT_EQ(test::ro_folder_child([&] {
              Harness c;
              c.game.on_load();
              return c.game.ban_gamen().oshirase().find("最後の対局とは限りません") != std::string::npos;
            }),
            0);
}

// No command drops a game in progress: 最初, a start that cuts the record, a press that
// plays on from a position stepped back to, a handicap that replaces the record, loading
// a record, and 続きから itself keep it first, the status line says so, and 続きから
// brings it back.
TEST_F(ResumeAfterQuit, EveryCommandThatWouldDropAGameKeepsItFirst) {
  write_bytes("rec.棋譜", sample_record());
  struct Case {
    const char* what;
    std::function<void(Harness&)> drop;
  };
  const Case cases[] = {
      {"最初", [](Harness& h) { h.game.on_menu(Menu::CANCEL); }},
      {"先手 from a turn stepped back",
       [](Harness& h) {
         h.game.on_menu(Menu::REPLAY);
         h.game.on_menu(Menu::SENTE);
       }},
      {"a press after stepping back",
       [](Harness& h) {
         h.game.on_menu(Menu::REPLAY);
         test::press(h.game, 7, 6);
       }},
      {"a handicap at a game stepped back to its start",
       [](Harness& h) {
         for (int i = 0; i < 3; ++i) h.game.on_menu(Menu::REPLAY);
         ASSERT_EQ(h.game.taikyoku().kifu().kifu_ichi, 0);
         h.game.on_menu(Menu::LBEL_UP);
         ASSERT_EQ(h.game.taikyoku().handicap(), 1);
       }},
      {"loading a record",
       [](Harness& h) {
         h.game.on_menu(Menu::KIFU_READ);
         h.game.kifu_panel().panel_file_click("rec.棋譜");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove("中断.棋譜");
    std::string sfen;
    {
      Harness h;
      h.game.on_load();
      h.game.on_menu(Menu::START);
      turn_moves(h, 3);
      sfen = to_sfen(h.game.taikyoku().pos(), true, 3);
      c.drop(h);
      EXPECT_NE(h.game.ban_gamen().oshirase().find("続きから"), std::string::npos) << h.game.ban_gamen().oshirase();
    }
    ASSERT_TRUE(fs::exists("中断.棋譜"));
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::TSUZUKI);
    EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 3), sfen);
    EXPECT_EQ(h.game.taikyoku().kifu().kifu_ichi, 3);
  }
  // 続きから during a game: the two change places.
  std::string kept;
  {
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::START);
    turn_moves(h, 3);
    kept = to_sfen(h.game.taikyoku().pos(), true, 3);
    h.game.on_close();
  }
  Harness h;
  h.game.on_load();
  h.game.on_menu(Menu::START);
  for (auto [fc, fr, tc, tr] : {std::array{1, 7, 1, 6}, {9, 3, 9, 4}, {9, 7, 9, 6}}) {
    test::press(h.game, fc, fr);
    test::press(h.game, tc, tr);
  }
  const std::string playing = to_sfen(h.game.taikyoku().pos(), true, 3);
  ASSERT_NE(playing, kept);
  h.game.on_menu(Menu::TSUZUKI);
  EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 3), kept);
  h.game.on_menu(Menu::TSUZUKI);
  EXPECT_EQ(to_sfen(h.game.taikyoku().pos(), true, 3), playing);
}

// The quit-save killed at any moment, beside another writer in the folder, leaves the game
// kept before or the new one, whole, and whichever it is plays on with clocks that belong
// to it.
TEST_F(ResumeAfterQuit, AQuitSaveKilledAtRandomMomentsLeavesOneWholeKeptGame) {
  Harness a, b;
  for (Harness* h : {&a, &b}) {
    h->game.on_load();
    h->game.on_menu(Menu::START);
  }
  turn_moves(a, 2);
  b.clock.t += 100;
  turn_moves(b, 3);
  const std::string kept[2] = {to_sfen(a.game.taikyoku().pos(), true, 0),
                               to_sfen(b.game.taikyoku().pos(), true, 0)};
  std::string naze;
  ASSERT_TRUE(a.game.nokoshi().hozon(naze));
  // Another writer in the same folder saves all the while: neither writer's clean-up ever
  // takes the other's file, so no write fails.
  const std::string ini[2] = {std::string(300, 'x'), std::string(200, 'y')};
  int err = 0;
  ASSERT_TRUE(write_atomically("other.txt", ini[0], err));
  std::mt19937 rng(20261208);
  for (int round = 0; round < 40; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i)
        if (!(i % 2 ? a : b).game.nokoshi().hozon(naze)) ::_exit(1);
    }
    const pid_t other = ::fork();
    ASSERT_GE(other, 0);
    if (other == 0) {
      for (int i = 0;; ++i)
        if (!write_atomically("other.txt", ini[i % 2], err)) ::_exit(1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 5000));
    for (const pid_t p : {child, other}) {
      ::kill(p, SIGKILL);
      int status = 0;
      ::waitpid(p, &status, 0);
      ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round << ": a write failed";
    }
    const std::string now_ini = read_bytes("other.txt");
    ASSERT_TRUE(now_ini == ini[0] || now_ini == ini[1]) << "round " << round;
    Harness h;
    h.game.on_load();
    h.game.on_menu(Menu::TSUZUKI);
    const std::string now = to_sfen(h.game.taikyoku().pos(), true, 0);
    ASSERT_TRUE(now == kept[0] || now == kept[1]) << "round " << round << ": " << now;
    // b's clocks stood past 100 s, a's never did: a game never takes the other's clocks.
    ASSERT_EQ(now == kept[1], h.game.taikyoku().jikan_sita() >= 100) << "round " << round;
    h.game.on_close();
  }
}

}  // namespace
}  // namespace mirado
