// The record panel through the game object: saving, the lists, opening a record file.
#include <gtest/gtest.h>

#include <algorithm>

#include "kifu/kifu_file.h"
#include "app/kifu_panel.h"
#include "kifu/cp932.h"
#include "game_shiken.h"
#include "kifu_support.h"

namespace mirado {
namespace {

// The sides a game has at start-up (the computer would move first), the upper pieces to move.
Taikyoku::Haichi kidou_no_gawa() {
  Taikyoku::Haichi h;
  h.sfen = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";
  h.sita_sente = false;
  return h;
}

// The same sides with the lower pieces to move, as in the middle of that game.
Taikyoku::Haichi kidou_no_gawa_sita() {
  Taikyoku::Haichi h = kidou_no_gawa();
  h.sfen = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";
  return h;
}

namespace fs = std::filesystem;
using test::Harness;

class KifuPanel : public test::KifuDir {
 protected:
  Harness h;
  Game& g = h.game;

  void fill(const std::string& name, const std::string& title = "対局", const std::string& sente = "先手",
            const std::string& gote = "後手") {
    g.kifu_panel().text_kaeru(1, name);
    g.kifu_panel().text_kaeru(2, title);
    g.kifu_panel().text_kaeru(3, sente);
    g.kifu_panel().text_kaeru(4, gote);
  }
  // A whole turn of the upper player from the even start, so that the game can be saved.
  void ue_no_ban() {
    test::play_move(h, 7, 3, 7, 4, HU);
    test::play_move(h, 3, 7, 3, 6, -HU);
    test::play_move(h, 3, 3, 3, 4, HU);
  }
  bool panel_open() { return h.ui.visible[Control::PANEL_WRITE_BUTTON] && h.ui.visible[Control::PANEL_FILE_NAME]; }
  const test::Box& last_box() { return h.ui.boxes.back(); }
  std::vector<std::string> list(Control c) { return h.ui.lists[c]; }
  std::size_t files_in_dir() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()));
  }
};

TEST_F(KifuPanel, SavesTheRecordByteForByteAsTheFormatTableSays) {
  // The lower pieces moved first: line 2 is the second player. The upper clock stands at
  // 1234 seconds, and every move of the turn is charged to the lower player.
  Taikyoku::Haichi start;
  start.jikan_ue = 1234;
  g.haichi(haichi(start));
  test::play_move(h, 3, 7, 3, 6, -HU, 5);
  test::play_move(h, 7, 3, 7, 4, HU, 1234);
  test::play_move(h, 2, 8, 8, 2, -UMA, 100000);  // a time that does not fit five columns
  g.on_menu(Menu::KIFU_WRITE);
  EXPECT_TRUE(h.ui.visible[Control::PANEL_DRIVE_LIST]);
  EXPECT_TRUE(h.ui.visible[Control::PANEL_DIR_LIST]);
  EXPECT_FALSE(h.ui.visible[Control::PANEL_FILE_LIST]);
  EXPECT_TRUE(panel_open());
  fill("第1局");
  g.kifu_panel().panel_write_click();

  const std::string expected =
      "\x91\xce\x8b\xc7\r\n"  // 対局
      "\x8c\xe3\x8e\xe8\r\n"  // 後手
      "\x90\xe6\x8e\xe8\r\n"  // 先手
      "3 736-10 -10 0   0    5    1234 1234 \r\n"
      "7 37410  10  0   5    1239 1234 1234 \r\n"
      "2 882-801-800800 1239 999991234 1234 \r\n";
  EXPECT_EQ(read_bytes("第1局.棋譜"), expected);
  EXPECT_EQ(last_box().text, "棋譜を書き込みました");
  EXPECT_EQ(last_box().title, "  ");
  EXPECT_FALSE(panel_open());
  EXPECT_FALSE(h.ui.visible[Control::PANEL_DRIVE_LIST]);
  EXPECT_EQ(g.kifu_panel().panel_text(1), "");
  EXPECT_EQ(list(Control::PANEL_FILE_LIST), std::vector<std::string>{"第1局.棋譜"});
}

TEST_F(KifuPanel, SavesUpToThePositionWithHeaderLinesByWhoMovedFirst) {
  g.haichi(haichi(kidou_no_gawa_sita()));  // start-up sides: the lower pieces are gote's
  test::play_sample_game(h);
  for (int i = 0; i < 3; ++i) g.ippo_modosu();
  g.on_menu(Menu::KIFU_WRITE);
  fill("back", "T", "Ａさん", "Ｂさん");
  g.kifu_panel().panel_write_click();
  const KifuFile f = parse_kifu(read_bytes("back.棋譜"));
  EXPECT_EQ(f.line2, "Ａさん");
  EXPECT_EQ(f.line3, "Ｂさん");
  ASSERT_EQ(f.entries.size(), 6u);
  for (int i = 1; i <= 6; ++i)
    EXPECT_EQ(entry_line(f.entries[i - 1]), entry_line(g.taikyoku().kifu().at(i)));
  // Saving again under the name asks first, naming the file and its moves; no keeps it.
  g.ippo_modosu();
  g.on_menu(Menu::KIFU_WRITE);
  fill("back");
  const std::string six = read_bytes("back.棋譜");
  h.ui.answers.push_back(Answer::no);
  g.kifu_panel().panel_write_click();
  EXPECT_EQ(last_box().buttons, Buttons::yesno_iie);
  EXPECT_NE(last_box().text.find("back.棋譜"), std::string::npos);
  EXPECT_NE(last_box().text.find("6手"), std::string::npos);
  EXPECT_EQ(read_bytes("back.棋譜"), six);
  EXPECT_TRUE(panel_open());
  h.ui.answers.push_back(Answer::yes);
  g.kifu_panel().panel_write_click();
  EXPECT_EQ(parse_kifu(read_bytes("back.棋譜")).entries.size(), 5u);
  EXPECT_EQ(last_box().text, "棋譜を書き込みました");
  // A file under the name that is no record (text of a few lines, or nothing) is called so.
  for (const std::string& notes : {std::string("memo\r\nfirst idea\r\nsecond\r\nthird\r\nfourth\r\n"), std::string()}) {
    write_bytes("notes.棋譜", notes);
    g.on_menu(Menu::KIFU_WRITE);
    fill("notes");
    h.ui.answers.push_back(Answer::no);
    g.kifu_panel().panel_write_click();
    EXPECT_NE(last_box().text.find("「notes.棋譜」は既にあります（棋譜ではありません）"), std::string::npos) << last_box().text;
    EXPECT_EQ(read_bytes("notes.棋譜"), notes);
  }
}

TEST_F(KifuPanel, WriteCommandRefusesAfterAFlipAHandicapOrInTheMiddleOfATurn) {
  struct Case { bool hanten, handicap, tochuu; int shuukyoku; const char* text; bool kinshi; };
  const Case cases[] = {
      {true, true, true, 0, "反転後は書き込みできません", false},
      {false, true, true, 0, "ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません", false},
      {false, false, true, 0, "３手目が打ち終わるまでできません", true},
  };
  for (const Case& c : cases) {
    Harness hh;
    Taikyoku t = haichi(Taikyoku::Haichi{});
    if (c.handicap) {
      ASSERT_TRUE(t.handicap_kaeru(1).kaeta);
    }
    if (c.hanten) {
      ASSERT_EQ(t.hanten(), Kotowari::nashi);
    }
    if (c.tochuu) {  // the holder's first move: a pawn of its own (the upper's after a flip)
      const Sashita r = c.hanten ? t.sasu({{7, 3, 7, 4, HU}}, 0) : t.sasu({{7, 7, 7, 6, -HU}}, 0);
      ASSERT_EQ(r.kotowari, Kotowari::nashi);
    }
    hh.game.haichi(t);
    hh.game.on_menu(Menu::KIFU_WRITE);
    ASSERT_EQ(hh.ui.boxes.size(), 1u) << c.text;
    EXPECT_EQ(hh.ui.boxes[0].text, c.text);
    EXPECT_EQ(hh.ui.boxes[0].title, "棋譜書込");
    EXPECT_EQ(!hh.sound.log.empty() && hh.sound.log.back() == "play snd_kinshi", c.kinshi) << c.text;
    EXPECT_FALSE(hh.ui.visible[Control::PANEL_WRITE_BUTTON]);
  }
  // A game won on the first or second move of a turn can be saved.
  Taikyoku::Haichi ou_tori;
  ou_tori.sfen = "4k4/4G4/9/9/9/9/9/9/4K4 b - 1";
  Taikyoku t = haichi(ou_tori);
  ASSERT_EQ(t.sasu({{5, 2, 5, 1, -KIN}}, 0).shousha, Gawa::sente);  // the upper king taken at once
  g.haichi(t);
  g.on_menu(Menu::KIFU_WRITE);
  EXPECT_TRUE(h.ui.boxes.empty());
  EXPECT_TRUE(panel_open());
}

TEST_F(KifuPanel, ReturnRefusesBadInputBeforeWritingAnything) {
  g.haichi(haichi(kidou_no_gawa()));
  g.on_menu(Menu::KIFU_WRITE);
  struct Case { std::string name, title, sente, text, box_title; bool moves; };
  const Case cases[] = {
      {"", "t", "s", "ﾌｧｲﾙ名が入力されていません", "  ", true},
      {"a/b", "t", "s", "ﾌｧｲﾙ名に「/」や「.」「..」は使えません", "棋譜保存", true},
      {".", "t", "s", "ﾌｧｲﾙ名に「/」や「.」「..」は使えません", "棋譜保存", true},
      {"..", "t", "s", "ﾌｧｲﾙ名に「/」や「.」「..」は使えません", "棋譜保存", true},
      {std::string("a\0b", 3), "t", "s", "ﾌｧｲﾙ名にNUL文字（\\0）は使えません", "棋譜保存", true},
      {"ok", "t", "s", "保存するデータがありません", "棋譜保存", false},
      {"ok", "絵😀", "s", "対局名に保存できない文字があります", "棋譜保存", true},
      {"ok", "t", "two\r\nlines", "先手の名前に保存できない文字があります", "棋譜保存", true},
  };
  for (const Case& c : cases) {
    g.haichi(haichi(kidou_no_gawa()));
    if (c.moves) ue_no_ban();
    fill(c.name, c.title, c.sente);
    g.kifu_panel().panel_write_click();
    ASSERT_FALSE(h.ui.boxes.empty());
    EXPECT_EQ(last_box().text, c.text) << c.name;
    EXPECT_EQ(last_box().title, c.box_title) << c.name;
    EXPECT_TRUE(panel_open()) << c.name;
    EXPECT_EQ(files_in_dir(), 0u) << c.name;
  }
}

TEST_F(KifuPanel, AFailedSaveSaysSoAndKeepsThePanelAndTheOldFile) {
  g.haichi(haichi(kidou_no_gawa()));
  ue_no_ban();
  fs::create_directory("busy.棋譜");
  g.on_menu(Menu::KIFU_WRITE);
  fill("busy");
  g.kifu_panel().panel_write_click();
  EXPECT_EQ(last_box().text.rfind("棋譜を書き込めませんでした", 0), 0u);
  EXPECT_TRUE(panel_open());
  EXPECT_EQ(g.kifu_panel().panel_text(1), "busy");
  EXPECT_TRUE(fs::is_directory("busy.棋譜"));

  fs::create_directory("gone");
  g.kifu_panel().panel_dir_change("gone");
  fs::remove("gone");
  fill("x");
  g.kifu_panel().panel_write_click();
  EXPECT_EQ(last_box().text.rfind("棋譜を書き込めませんでした", 0), 0u);
  EXPECT_TRUE(panel_open());
  EXPECT_EQ(files_in_dir(), 1u);  // only busy.棋譜: no temporary file left behind
}

TEST_F(KifuPanel, ListsShowDrivesDirectoriesAndRecordFiles) {
  fs::create_directories("棋譜集/sub");
  fs::create_directory(".hidden");
  fs::create_directory("alpha");
  write_bytes("b.棋譜", "x");
  write_bytes("あ.棋譜", "x");
  write_bytes("a.txt", "x");
  write_bytes("棋譜集/c.棋譜", "x");
  g.on_menu(Menu::KIFU_READ);
  EXPECT_TRUE(h.ui.visible[Control::PANEL_DRIVE_LIST]);
  EXPECT_TRUE(h.ui.visible[Control::PANEL_DIR_LIST]);
  EXPECT_TRUE(h.ui.visible[Control::PANEL_FILE_LIST]);
  EXPECT_FALSE(h.ui.visible[Control::PANEL_WRITE_BUTTON]);
  const std::string here = fs::current_path().string();
  EXPECT_EQ(g.kifu_panel().dir_path(), here);
  EXPECT_EQ(list(Control::PANEL_DIR_LIST), (std::vector<std::string>{here, "..", "alpha", "棋譜集"}));
  EXPECT_EQ(list(Control::PANEL_FILE_LIST), (std::vector<std::string>{"b.棋譜", "あ.棋譜"}));
  const auto drives = list(Control::PANEL_DRIVE_LIST);
  ASSERT_GE(drives.size(), 1u);
  EXPECT_NE(std::find(drives.begin(), drives.end(), "/"), drives.end());

  g.kifu_panel().panel_dir_change("棋譜集");
  EXPECT_EQ(g.kifu_panel().dir_path(), here + "/棋譜集");
  EXPECT_EQ(list(Control::PANEL_FILE_LIST), std::vector<std::string>{"c.棋譜"});
  EXPECT_EQ(list(Control::PANEL_DIR_LIST), (std::vector<std::string>{here + "/棋譜集", "..", "sub"}));
  g.kifu_panel().panel_dir_change("..");
  EXPECT_EQ(g.kifu_panel().dir_path(), here);

  h.ui.boxes.clear();
  g.kifu_panel().panel_dir_change("missing");
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].title, "ｴﾗｰ");
  EXPECT_EQ(g.kifu_panel().dir_path(), here);

  g.kifu_panel().panel_drive_change("/no/such/drive");
  EXPECT_EQ(last_box().text, "ﾃﾞﾊﾞｲｽが準備できていません");
  EXPECT_EQ(last_box().title, "ｴﾗｰ");
  EXPECT_EQ(g.kifu_panel().dir_path(), here);
  g.kifu_panel().panel_drive_change("/");
  EXPECT_EQ(g.kifu_panel().dir_path(), "/");
  EXPECT_EQ(list(Control::PANEL_DIR_LIST).at(0), "/");
  EXPECT_NE(list(Control::PANEL_DIR_LIST).at(1), "..");  // the root has no parent entry
}

TEST(KifuDrives, HomeRootAndTheVolumesAUserWouldPick) {
  const std::string mounts =
      "/dev/sda1 / ext4 rw 0 0\n"
      "proc /proc proc rw 0 0\n"
      "tmpfs /run tmpfs rw 0 0\n"
      "/dev/sda2 /boot ext4 rw 0 0\n"
      "/dev/sdb1 /media/user/USB\\040STICK vfat rw 0 0\n"
      "/dev/sdc1 /mnt/data ntfs3 rw 0 0\n"
      "/dev/sda3 /home ext4 rw 0 0\n"
      "overlay /var/lib/docker/x overlay rw 0 0\n"
      "server:/x /srv/share nfs4 rw 0 0\n"
      "/dev/sda1 /etc/hosts ext4 rw 0 0\n";
  EXPECT_EQ(drive_list(mounts, "/home/user"),
            (std::vector<std::string>{"/home/user", "/", "/media/user/USB STICK", "/mnt/data", "/home",
                                      "/srv/share"}));
  EXPECT_EQ(drive_list("", "/"), std::vector<std::string>{"/"});
}

TEST_F(KifuPanel, OpeningARecordStartsReplayWithTheSidesOfAFreshGame) {
  write_bytes("下手先.棋譜", *utf8_to_cp932("名局\r\n上の人\r\n下の人\r\n"
                                          "3 736-10 -10 0   0    5    0    0    \r\n"));
  // Whatever the last game left, the lower pieces moved first as the record says: here a
  // game of the start-up sides (the first player has the upper pieces), its board turned.
  Taikyoku last = haichi(kidou_no_gawa());
  ASSERT_EQ(last.hanten(), Kotowari::nashi);
  g.haichi(last);
  ASSERT_EQ(g.taikyoku().sita_gawa(), Gawa::gote);
  ASSERT_EQ(g.taikyoku().teban(), Gawa::gote);
  g.on_menu(Menu::KIFU_READ);
  g.kifu_panel().panel_file_click("下手先.棋譜");
  ASSERT_EQ(h.ui.boxes.size(), 2u);
  EXPECT_EQ(h.ui.boxes[0].text, " 読み込みました");
  EXPECT_EQ(h.ui.boxes[1].text, "棋譜を '進 'で進めて下さい");
  EXPECT_EQ(h.ui.boxes[1].title, "棋譜");
  EXPECT_FALSE(h.ui.visible[Control::PANEL_FILE_LIST]);
  EXPECT_TRUE(g.taikyoku().saisei_chu());
  EXPECT_FALSE(g.taikyoku().hanten_zumi());
  EXPECT_EQ(g.taikyoku().sita_gawa(), Gawa::sente);
  EXPECT_EQ(g.taikyoku().ue_gawa(), Gawa::gote);
  EXPECT_EQ(g.taikyoku().teban(), Gawa::sente);
  EXPECT_EQ(g.taikyoku().taikyoku_shu(), TaikyokuShu::ningen);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 1);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  // The header is printed around the board.
  auto printed = [&](const std::string& s, int x, int y, int iro) {
    return std::any_of(h.canvas.ops.begin(), h.canvas.ops.end(), [&](const test::Painted& p) {
      return p.kind == test::Painted::kText && p.text == s && p.x == x && p.y == y && p.id_or_colour == iro;
    });
  };
  EXPECT_TRUE(printed("名局", chuuou_x("名局") - 3000, 6350, IRO_AKA));
  EXPECT_TRUE(printed("上の人", chuuou_x("上の人"), 100, IRO_SHIRO));
  EXPECT_TRUE(printed("下の人", chuuou_x("下の人"), 6350, IRO_SHIRO));

  write_bytes("上手先.棋譜", "t\nu\nv\n7 374 10  10  0   0    0    0    3    \n");
  g.kifu_panel().panel_file_click("上手先.棋譜");
  EXPECT_EQ(g.taikyoku().taikyoku_shu(), TaikyokuShu::com);
  EXPECT_EQ(g.taikyoku().ue_gawa(), Gawa::sente);
  EXPECT_EQ(g.taikyoku().sita_gawa(), Gawa::gote);
  EXPECT_EQ(g.taikyoku().teban(), Gawa::sente);
}

TEST_F(KifuPanel, ARecordWithoutEntriesOrAFileThatCannotBeReadIsReported) {
  write_bytes("empty.棋譜", "a\r\nb\r\nc\r\n\r\n  \r\n");
  g.kifu_panel().panel_file_click("empty.棋譜");
  EXPECT_EQ(last_box().text, "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません");
  EXPECT_EQ(last_box().title, "棋譜");
  EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
  EXPECT_FALSE(g.taikyoku().saisei_chu());  // refused before anything changed

  // A game in progress survives a click on a file that has gone.
  g.shinki_kyoku();
  g.haichi(haichi(kidou_no_gawa_sita()));
  test::play_sample_game(h);
  const Kyokumen before = g.taikyoku().pos();
  g.on_menu(Menu::KIFU_READ);
  h.ui.boxes.clear();
  g.kifu_panel().panel_file_click("vanished.棋譜");
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text.rfind("棋譜ﾌｧｲﾙを開けません", 0), 0u);
  EXPECT_EQ(h.sound.log.back(), "play snd_kinshi");
  EXPECT_TRUE(test::same_position(g.taikyoku().pos(), before));
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 9);
  EXPECT_FALSE(g.taikyoku().saisei_chu());
  EXPECT_TRUE(h.ui.visible[Control::PANEL_FILE_LIST]);  // another file can be chosen
}

TEST_F(KifuPanel, LoadStepSaveComesBackByteForByte) {
  g.haichi(haichi(Taikyoku::Haichi{}));  // the sides as START sets them
  test::play_sample_game(h);
  const Kyokumen end = g.taikyoku().pos();
  g.on_menu(Menu::KIFU_WRITE);
  fill("first", "三手指し", "甲", "乙");
  g.kifu_panel().panel_write_click();

  g.on_menu(Menu::KIFU_READ);
  g.kifu_panel().panel_file_click("first.棋譜");
  for (int i = 0; i < 3; ++i) g.on_menu(Menu::AFTER);
  EXPECT_TRUE(test::same_position(g.taikyoku().pos(), end));
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 9);
  g.on_menu(Menu::AFTER);
  EXPECT_EQ(last_box().text, "終わり");

  // Saved again from the loaded game, played on between two people, with the header typed
  // as it was read.
  g.on_menu(Menu::START);
  ASSERT_FALSE(g.taikyoku().saisei_chu());
  g.on_menu(Menu::KIFU_WRITE);
  fill("second", "三手指し", "甲", "乙");
  g.kifu_panel().panel_write_click();
  EXPECT_EQ(read_bytes("second.棋譜"), read_bytes("first.棋譜"));

  // 名前を付けて保存… writes the same moves (under the header lines the panel holds, none
  // here) into the folder chosen, which the panel then shows; an existing name is asked
  // about first, and no leaves it as it was.
  fs::create_directory("sub");
  ASSERT_TRUE(g.kifu_panel().kifu_dialog_mae(true));
  g.kifu_panel().kifu_nazuke_hozon(fs::absolute("sub/third.棋譜").string());
  const auto te_gyou = [](const std::string& b) {
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) at = b.find("\r\n", at) + 2;
    return b.substr(at);
  };
  EXPECT_EQ(read_bytes("sub/third.棋譜").rfind("\r\n\r\n\r\n", 0), 0u);
  EXPECT_EQ(te_gyou(read_bytes("sub/third.棋譜")), te_gyou(read_bytes("first.棋譜")));
  EXPECT_EQ(fs::path(g.kifu_panel().dir_path()), fs::absolute("sub"));
  write_bytes("sub/third.棋譜", "old");
  h.ui.boxes.clear();
  h.ui.answers.push_back(Answer::no);
  g.kifu_panel().kifu_nazuke_hozon(fs::absolute("sub/third").string());
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].buttons, Buttons::yesno_iie);
  EXPECT_EQ(read_bytes("sub/third.棋譜"), "old");
  // 開く… reads it from any folder as the panel would.
  g.kifu_panel().kifu_dialog_hiraku(fs::absolute("second.棋譜").string());
  EXPECT_TRUE(g.taikyoku().saisei_chu());
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 9);
}

}  // namespace
}  // namespace mirado
