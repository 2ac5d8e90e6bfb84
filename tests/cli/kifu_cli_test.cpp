// mirado-cli kifu as a user runs it: JSON on stdout, the exit status, --write.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli_support.h"
#include "kifu/ichiran.h"
#include "kifu/kifu_file.h"
#include "kifu_support.h"
#include "rules/sfen.h"
#include "game_shiken.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

test::CliRun run(const std::string& args) { return test::run_cli("kifu " + args); }

class KifuCli : public test::KifuDir {
 protected:
  void SetUp() override {
    test::KifuDir::SetUp();
  }
};

TEST_F(KifuCli, PrintsHeaderEntriesAndEveryPositionAndWritesTheSameBytesBack) {
  test::Harness h;
  Game& g = h.game;
  g.haichi(haichi(Taikyoku::Haichi{}));  // the lower pieces (先手) to move
  std::vector<std::string> sfens;
  // The sample game move by move, so each position is known without stepping.
  test::Harness each;
  each.game.haichi(haichi(Taikyoku::Haichi{}));
  test::play_sample_game(h);
  for (int i = 1; i <= 9; ++i) {
    const KifuEntry e = g.taikyoku().kifu().at(i);
    const int fr = e.te.fr;
    test::play_move(each, e.te.fc, fr, e.te.tc, e.te.tr, e.te.koma);
    sfens.push_back(to_sfen(each.game.taikyoku().pos(), i % 2 == 0, i + 1));
  }
  g.on_menu(Menu::KIFU_WRITE);
  g.kifu_panel().text_kaeru(1, "対局一");
  g.kifu_panel().text_kaeru(2, "三手指し");
  g.kifu_panel().text_kaeru(3, "甲");
  g.kifu_panel().text_kaeru(4, "乙");
  g.kifu_panel().panel_write_click();

  test::write_players_own_files();
  const test::CliRun r = run("'対局一.棋譜' --write 'out.棋譜'");
  ASSERT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(test::players_own_files_touched(), std::vector<std::string>{});
  const json j = json::parse(r.out);
  EXPECT_EQ(j["title"], "三手指し");
  EXPECT_EQ(j["line2"], "乙");
  EXPECT_EQ(j["line3"], "甲");
  ASSERT_EQ(j["entries"].size(), 9u);
  EXPECT_EQ(j["entries"][2], json({2, 8, 8, 2, -801, -800, 800, 13, 30, 0, 0}));
  EXPECT_EQ(j["positions"], json(sfens));
  EXPECT_TRUE(j["error"].is_null());
  EXPECT_EQ(read_bytes("out.棋譜"), read_bytes("対局一.棋譜"));
}

// A record the window refuses is no success here either: exit 1 with the line that breaks
// it on stderr, and no move list of moves that cannot be played.
TEST_F(KifuCli, ARecordTheGameRefusesExitsWithOneAndItsLine) {
  const std::string head = "t\nu\nv\n3 736-10 -10 0   0    2    0    0    \n\n";
  write_bytes("bad.棋譜", head + "5 55410  10  0   2    2    0    1    \n");
  // The lower pawn played; the upper pawn's line cut short inside its time fields.
  write_bytes("cut.棋譜", head + "3 334 10  10 0   2    2    0");
  for (const char* name : {"bad.棋譜", "cut.棋譜"}) {
    SCOPED_TRACE(name);
    const test::CliRun r = test::run_cli(std::string("kifu ") + name + " 2>err.txt", false);
    EXPECT_EQ(r.status, 1) << r.out;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["entries"].size(), 2u);
    EXPECT_EQ(j["positions"].size(), 1u);
    EXPECT_EQ(j["error"]["line"], 6);
    EXPECT_EQ(j["error"]["message"].get<std::string>().rfind("棋譜の6行目", 0), 0u);
    const std::string err = read_bytes("err.txt");
    EXPECT_EQ(err.rfind("mirado-cli kifu: 棋譜の6行目の手は盤上で指せません ", 0), 0u) << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << "one line: " << err;

    const test::CliRun list = test::run_cli(std::string("kifu ") + name + " --list 2>err.txt", false);
    EXPECT_EQ(list.status, 1);
    EXPECT_EQ(list.out, "");
    EXPECT_NE(read_bytes("err.txt").find("6行目"), std::string::npos);

    EXPECT_EQ(run(std::string(name) + " --write out.棋譜").status, 1);
    EXPECT_FALSE(fs::exists("out.棋譜")) << "a refused record is not written back";
  }
  EXPECT_NE(read_bytes("err.txt").find("番目の欄に数字がありません"), std::string::npos);
}

// A record is checked by the rules of the game, as the window checks it: a line that is no
// legal move in its place (a finished game played on included) exits 1, the JSON and
// stderr naming the same line, and the positions stop before it.
TEST_F(KifuCli, ALineTheRulesForbidExitsWithOneAndItsLine) {
  for (const test::IhanKifu& k : test::ihan_kifu_kaku()) {
    SCOPED_TRACE(k.name);
    const test::CliRun r = test::run_cli("kifu " + k.name + ".棋譜 2>err.txt", false);
    EXPECT_EQ(r.status, 1) << r.out;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["error"]["line"], k.line);
    EXPECT_EQ(j["error"]["message"], "棋譜の" + std::to_string(k.line) + "行目の手は盤上で指せません\n" + k.naze);
    EXPECT_EQ(j["positions"].size(), static_cast<std::size_t>(k.line - 4));
    EXPECT_NE(read_bytes("err.txt").find(k.naze), std::string::npos);
  }
  // The game that ended loads and steps to its captured king.
  int bad = 0;
  const auto bytes = encode_kifu("t", "u", "v", test::ou_tori_kifu(), bad);
  std::string error;
  ASSERT_TRUE(bytes && write_file_atomically("owatta.棋譜", *bytes, error));
  const test::CliRun ok = test::run_cli("kifu owatta.棋譜", false);
  EXPECT_EQ(ok.status, 0) << ok.out;
  EXPECT_EQ(json::parse(ok.out)["positions"].size(), 13u);
}

TEST_F(KifuCli, AFileThatCannotBeReadExitsWithTwo) {
  const test::CliRun missing = run("missing.棋譜");
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.out.find("棋譜ﾌｧｲﾙを開けません"), std::string::npos);
  fs::create_directory("folder.棋譜");
  for (const char* path : {"folder.棋譜", "/dev/zero"}) {
    const test::CliRun r = run(path);
    EXPECT_EQ(r.status, 2) << path;
    EXPECT_NE(r.out.find("棋譜ﾌｧｲﾙを読み込めません"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one line: " << r.out;
  }
  write_bytes("ok.棋譜", "t\nu\nv\n");
  // Written only over a regular file: a folder or a FIFO stays as it was.
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  for (const char* out : {"folder.棋譜", "fifo"}) {
    const test::CliRun r = run(std::string("ok.棋譜 --write ") + out);
    EXPECT_EQ(r.status, 2) << out;
    EXPECT_NE(r.out.find("not a regular file"), std::string::npos) << r.out;
  }
  EXPECT_TRUE(fs::is_fifo("fifo"));
  EXPECT_TRUE(fs::is_directory("folder.棋譜"));
  EXPECT_EQ(run("ok.棋譜 --frob").status, 2);
  // A record without moves is refused as the window refuses it.
  const test::CliRun empty = run("ok.棋譜");
  EXPECT_EQ(empty.status, 1);
  EXPECT_NE(empty.out.find("mirado-cli kifu: 棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"), std::string::npos) << empty.out;
  EXPECT_EQ(json::parse(test::run_cli("kifu ok.棋譜", false).out)["entries"], json::array());
}

}  // namespace
}  // namespace mirado

namespace mirado {
namespace {

TEST_F(KifuCli, ListPrintsTheMoveListRowsAsTheWindowShowsThem) {
  test::Harness h;
  Game& g = h.game;
  g.haichi(haichi(Taikyoku::Haichi{}));  // the lower pieces (先手) to move
  test::play_sample_game(h);
  g.on_menu(Menu::KIFU_WRITE);
  g.kifu_panel().text_kaeru(1, "一覧");
  g.kifu_panel().panel_write_click();
  const test::CliRun r = run("'一覧.棋譜' --list");
  ASSERT_EQ(r.status, 0) << r.out;
  std::string expected;
  for (const std::string& row :
       kifu_ichiran(g.taikyoku().kifu(), g.taikyoku().kifu().kifu_ichi, true,
                    kifu_hajime(g.taikyoku().pos(), g.taikyoku().kifu())))
    expected += row + "\n";
  EXPECT_EQ(r.out, expected);
  EXPECT_EQ(r.out.substr(0, r.out.find('\n')).rfind("  1 先手 ▲", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("角成"), std::string::npos) << r.out;  // the sample's bishop takes and promotes
}

}  // namespace
}  // namespace mirado
