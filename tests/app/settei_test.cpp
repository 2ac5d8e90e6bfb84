// The settings file and the option menu commands, on real files in a temporary
// working directory.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "fakes.h"
#include "kifu/cp932.h"
#include "temp_cwd.h"
#include "game_shiken.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using test::Harness;
using test::Painted;
using test::read_bytes;
using test::TempCwd;
using test::write_bytes;

const fs::path kIni = "ミラド将棋.ini";
const char* const kDefaults =
    "背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\nｱｲｺﾝ=ON\r\n直前の手=ON\r\n棋譜一覧=OFF\r\n解析グラフ=ON\r\n"
    "成りを確認=OFF\r\nCOMの手の表示=標準\r\nCOM対局ﾚﾍﾞﾙ=LEVEL3\r\nCOMの考慮時間=0.25秒\r\n";

std::string cp932(const std::string& utf8) { return utf8_to_cp932(utf8).value(); }

// The settings file as the user would see it, decoded.
std::string ini_text(const fs::path& p = kIni) { return cp932_to_utf8(read_bytes(p)); }

Menu checked_background(const Game& g) {
  for (Menu m : {Menu::MIDORI, Menu::UCHU, Menu::TATAMI, Menu::TAKE, Menu::RENGA})
    if (g.kirikae().is_checked(m)) return m;
  return Menu::COUNT;
}

int checked_backgrounds(const Game& g) {
  int n = 0;
  for (Menu m : {Menu::MIDORI, Menu::UCHU, Menu::TATAMI, Menu::TAKE, Menu::RENGA}) n += g.kirikae().is_checked(m);
  return n;
}

void expect_defaults(const Harness& h) {
  const Game& g = h.game;
  EXPECT_EQ(checked_background(g), Menu::MIDORI);
  EXPECT_EQ(checked_backgrounds(g), 1);
  EXPECT_EQ(g.settei().haikei(), HAIKEI_MIDORI);
  EXPECT_FALSE(g.kirikae().is_checked(Menu::SIDOU));
  EXPECT_FALSE(g.settei().sidou_on());
  EXPECT_EQ(g.settei().sidou_iro(), IRO_MIDORI);
  EXPECT_TRUE(g.kirikae().is_checked(Menu::KEIKA));
  EXPECT_TRUE(g.kirikae().is_checked(Menu::BGM));
  EXPECT_TRUE(g.kirikae().is_checked(Menu::AICON));
  // The window's menu shows the same marks.
  EXPECT_TRUE(h.ui.checked.at(Menu::MIDORI));
  EXPECT_TRUE(h.ui.checked.at(Menu::AICON));
  // The window outside the board is tiled green, corner to corner.
  EXPECT_EQ(h.canvas.picture_at(-3, -2), HAIKEI_MIDORI);
  EXPECT_EQ(h.canvas.picture_at(28, 17), HAIKEI_MIDORI);
}

TEST(Settei, NoFileGivesTheDefaultsAndNothingIsWrittenUntilAnOptionChanges) {
  TempCwd tmp;
  Harness h;
  h.game.on_menu(Menu::SIDOU);  // an option left on by an earlier file, that file since gone
  ASSERT_TRUE(h.game.settei().sidou_on());
  fs::remove(kIni);
  h.game.opushon().settei_yomi();
  expect_defaults(h);
  EXPECT_EQ(h.canvas.picture_at(5, 5), -1);  // board squares are not tiled
  EXPECT_FALSE(fs::exists(kIni));
  // The player's own files beside it, however much they look like a temporary file.
  test::write_players_own_files();
  h.game.on_menu(Menu::BGM);
  h.game.on_menu(Menu::BGM);
  EXPECT_EQ(read_bytes(kIni), cp932(kDefaults));
  EXPECT_EQ(test::players_own_files_touched(), std::vector<std::string>{});
  // Replaced through a temporary file that does not stay behind.
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(tmp.dir())) names.insert(e.path().filename().string());
  std::set<std::string> expected(test::players_own_files().begin(), test::players_own_files().end());
  expected.insert(kIni.string());
  EXPECT_EQ(names, expected);
  EXPECT_TRUE(h.ui.boxes.empty());  // no settings trouble reaches the user as a box
}

TEST(Settei, EveryBackgroundChoiceIsWrittenAndReadBackTheSame) {
  const struct {
    int id;
    Menu item;
    const char* line;
  } cases[] = {{3, Menu::MIDORI, "背景画=緑"}, {4, Menu::TATAMI, "背景画=美女１"},
               {5, Menu::TAKE, "背景画=美女３"}, {6, Menu::UCHU, "背景画=宇宙"},
               {7, Menu::RENGA, "背景画=美女２"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    TempCwd tmp;
    {
      Harness h;
      h.game.opushon().settei_yomi();
      h.game.on_menu(c.item);
      EXPECT_EQ(h.game.settei().haikei(), c.id);
      EXPECT_EQ(checked_backgrounds(h.game), 1);
      EXPECT_EQ(h.canvas.picture_at(28, 17), c.id);  // the full redraw uses the new tile
      EXPECT_EQ(ini_text().substr(0, ini_text().find("\r\n")), c.line);
    }
    Harness again;
    again.game.opushon().settei_yomi();
    EXPECT_EQ(checked_background(again.game), c.item);
    EXPECT_EQ(checked_backgrounds(again.game), 1);
    EXPECT_EQ(again.game.settei().haikei(), c.id);
    EXPECT_EQ(again.canvas.picture_at(-3, -2), c.id);
  }
}

TEST(Settei, APartialOrEmptyFileGivesTheDefaultsLineByLine) {
  {
    TempCwd tmp;
    write_bytes(kIni, cp932("移動指導=ON\r\n"));
    Harness h;
    h.game.opushon().settei_yomi();
    EXPECT_EQ(checked_background(h.game), Menu::MIDORI);
    EXPECT_EQ(h.canvas.picture_at(-3, -2), HAIKEI_MIDORI);
    EXPECT_TRUE(h.game.kirikae().is_checked(Menu::SIDOU));
    EXPECT_EQ(h.game.settei().sidou_iro(), IRO_SHIRO);
    EXPECT_TRUE(h.game.kirikae().is_checked(Menu::KEIKA));
    EXPECT_TRUE(h.game.kirikae().is_checked(Menu::BGM));
    EXPECT_TRUE(h.game.kirikae().is_checked(Menu::AICON));
    EXPECT_EQ(ini_text(), "移動指導=ON\r\n");  // reading never rewrites a file
    h.game.on_menu(Menu::BGM);
    EXPECT_EQ(ini_text(), "背景画=緑\r\n移動指導=ON\r\n経過時間=ON\r\nBGM=OFF\r\nｱｲｺﾝ=ON\r\n直前の手=ON\r\n棋譜一覧=OFF\r\n"
                          "解析グラフ=ON\r\n成りを確認=OFF\r\nCOMの手の表示=標準\r\nCOM対局ﾚﾍﾞﾙ=LEVEL3\r\nCOMの考慮時間=0.25秒\r\n");
  }
  TempCwd tmp;
  write_bytes(kIni, "");
  Harness h;
  h.game.opushon().settei_yomi();
  expect_defaults(h);
  EXPECT_EQ(read_bytes(kIni), "");
  EXPECT_TRUE(h.game.ban_gamen().oshirase().empty());  // an empty file is no fault
}

TEST(Settei, OnlyExactOnSwitchesOnAndUnknownLinesAreIgnored) {
  TempCwd tmp;
  write_bytes(kIni, cp932("背景画=宇宙\r\n背景画=赤\r\n移動指導=on\r\n経過時間=ON \r\n"
                          "音量=5\r\nBGM=OFF\r\nｱｲｺﾝ=ON\r\n"));
  Harness h;
  h.game.opushon().settei_yomi();
  EXPECT_EQ(checked_background(h.game), Menu::UCHU);  // "赤" leaves the earlier choice
  EXPECT_EQ(h.game.settei().haikei(), HAIKEI_UCHU);
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::SIDOU));
  EXPECT_EQ(h.game.settei().sidou_iro(), IRO_MIDORI);
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::KEIKA));
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::BGM));
  EXPECT_TRUE(h.game.kirikae().is_checked(Menu::AICON));
}

TEST(Settei, BlankLinesAreSkippedAndBareLineEndsAccepted) {
  TempCwd tmp;
  write_bytes(kIni, cp932("\r\n背景画=美女１\r\n\r\nBGM=OFF\n経過時間=ON\rｱｲｺﾝ=OFF\r\n\r\n"));
  Harness h;
  h.game.opushon().settei_yomi();
  EXPECT_EQ(checked_background(h.game), Menu::TATAMI);
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::BGM));
  EXPECT_TRUE(h.game.kirikae().is_checked(Menu::KEIKA));
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::AICON));
}

TEST(Settei, AFileThatDoesNotParseIsKeptAsABackupBeforeTheDefaultsAreUsed) {
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"a line without =", cp932("背景画=宇宙\r\nBGM\r\n")},
      {"a comment line", cp932("背景画=宇宙\r\n; 自分で書いた注\r\n")},
      {"binary data", std::string("BGM=ON\r\n\x00\x01\x02\xff", 12)},
      {"bytes that are not code page 932", "BGM=OFF\r\n\x81\x20=ON\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempCwd tmp;
    write_bytes(kIni, c.bytes);
    Harness h;
    h.game.opushon().settei_yomi();
    expect_defaults(h);
    EXPECT_EQ(read_bytes(kIni), c.bytes);  // not written at start
    EXPECT_EQ(read_bytes("ミラド将棋.ini.bak"), c.bytes);
    EXPECT_NE(h.game.ban_gamen().joukyou().find("ミラド将棋.ini.bak"), std::string::npos);
    // The next change writes the file whole; the backup stays.
    h.game.on_menu(Menu::BGM);
    EXPECT_EQ(read_bytes(kIni).find("BGM=OFF"), 0u + cp932("背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\n").size());
    EXPECT_EQ(read_bytes("ミラド将棋.ini.bak"), c.bytes);
  }
}

TEST(Settei, AnOlderBackupIsNeverLost) {
  {
    TempCwd tmp;
    write_bytes("ミラド将棋.ini.bak", "first");
    write_bytes(kIni, "second");
    {
      Harness h;
      h.game.opushon().settei_yomi();
    }
    EXPECT_EQ(read_bytes("ミラド将棋.ini.bak"), "second");
    EXPECT_EQ(read_bytes("ミラド将棋.ini.bak.1"), "first");
    Harness again;  // the same bad file again: no second copy of it
    again.game.opushon().settei_yomi();
    EXPECT_FALSE(fs::exists("ミラド将棋.ini.bak.2"));
  }
  {
    // A backup that is a link moves as a link: the file it names is never written.
    TempCwd tmp;
    write_bytes("mine.txt", "mine");
    fs::create_symlink("mine.txt", "ミラド将棋.ini.bak");
    write_bytes(kIni, "second");
    Harness h;
    h.game.opushon().settei_yomi();
    EXPECT_EQ(read_bytes("mine.txt"), "mine");
    EXPECT_TRUE(fs::is_symlink("ミラド将棋.ini.bak.1"));
    EXPECT_FALSE(fs::is_symlink("ミラド将棋.ini.bak"));
    EXPECT_EQ(read_bytes("ミラド将棋.ini.bak"), "second");
  }
  // Every numbered name taken: no backup is replaced, the status line says none was
  // kept, and the file that could not be kept is not replaced either.
  TempCwd tmp;
  write_bytes("ミラド将棋.ini.bak", "first");
  for (int n = 1; n < 1000; ++n) write_bytes("ミラド将棋.ini.bak." + std::to_string(n), std::to_string(n));
  write_bytes(kIni, "second");
  Harness h;
  h.game.opushon().settei_yomi();
  EXPECT_EQ(read_bytes("ミラド将棋.ini.bak"), "first");
  EXPECT_EQ(read_bytes("ミラド将棋.ini.bak.999"), "999");
  EXPECT_NE(h.game.ban_gamen().joukyou().find("控えを残せません"), std::string::npos) << h.game.ban_gamen().joukyou();
  EXPECT_EQ(h.game.ban_gamen().joukyou().find("残しました"), std::string::npos) << h.game.ban_gamen().joukyou();
  h.game.on_menu(Menu::BGM);
  EXPECT_EQ(read_bytes(kIni), "second");
  EXPECT_NE(h.game.ban_gamen().joukyou().find("設定を保存できません"), std::string::npos) << h.game.ban_gamen().joukyou();
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::BGM));  // the change holds for the session
}

// A settings file of any size is kept whole as the backup before it is replaced.
TEST(Settei, AFileTooBigIsReportedAndKeptWholeAsTheBackup) {
  TempCwd tmp;
  const std::string big = "BGM=" + std::string(1 << 20, 'X') + "\r\n";
  write_bytes(kIni, big);
  Harness h;
  h.game.opushon().settei_yomi();
  expect_defaults(h);
  EXPECT_NE(h.game.ban_gamen().joukyou().find("既定の設定"), std::string::npos);
  EXPECT_NE(h.game.ban_gamen().joukyou().find("ミラド将棋.ini.bak"), std::string::npos) << h.game.ban_gamen().joukyou();
  EXPECT_EQ(read_bytes(kIni), big);
  EXPECT_EQ(read_bytes("ミラド将棋.ini.bak"), big);
  h.game.on_menu(Menu::BGM);
  EXPECT_EQ(read_bytes(kIni), cp932(kDefaults).replace(cp932(kDefaults).find("BGM=ON"), 6, "BGM=OFF"));
  EXPECT_EQ(read_bytes("ミラド将棋.ini.bak"), big);
}

// Under --user-data with a data folder that cannot be used: the player is told, the
// options are the defaults whatever file is here, and nothing is written.
TEST(Settei, WithoutAPlaceForFilesTheDefaultsHoldAndNothingIsWritten) {
  TempCwd tmp;
  write_bytes(kIni, cp932("BGM=OFF\r\n"));
  Harness h;
  h.game.hozon_basho_nashi("Not a directory: /nowhere");
  h.game.on_load();
  expect_defaults(h);
  EXPECT_NE(h.game.ban_gamen().joukyou().find("データフォルダを使えないため既定の設定で始め、何も保存しません（Not a directory: /nowhere）"),
            std::string::npos)
      << h.game.ban_gamen().joukyou();
  h.game.on_menu(Menu::SIDOU);
  EXPECT_TRUE(h.game.kirikae().is_checked(Menu::SIDOU));
  EXPECT_NE(h.game.ban_gamen().joukyou().find("設定を保存できません"), std::string::npos) << h.game.ban_gamen().joukyou();
  h.game.on_menu(Menu::TSUZUKI);  // no kept game is looked for where the game happens to run
  ASSERT_FALSE(h.ui.boxes.empty());
  EXPECT_EQ(h.ui.boxes.back().text, "データフォルダを使えません（Not a directory: /nowhere）");
  h.game.on_menu(Menu::START);
  test::press(h.game, 7, 7);
  test::press(h.game, 7, 6);
  ASSERT_EQ(h.game.taikyoku().kifu().kifu_ichi, 1);
  h.game.on_close();
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(tmp.dir())) ++entries;
  EXPECT_EQ(entries, 1u);
  EXPECT_EQ(ini_text(), "BGM=OFF\r\n");
}

TEST(Settei, ClickingTheCheckedBackgroundRewritesTheFileAndRedraws) {
  TempCwd tmp;
  Harness h;
  h.game.opushon().settei_yomi();
  fs::remove(kIni);
  h.canvas.ops.clear();
  h.game.on_menu(Menu::MIDORI);
  EXPECT_EQ(read_bytes(kIni), cp932(kDefaults));
  EXPECT_EQ(checked_background(h.game), Menu::MIDORI);
  EXPECT_EQ(h.canvas.picture_at(-3, -2), HAIKEI_MIDORI);
  EXPECT_EQ(h.canvas.picture_at(5, 9), -OU);  // the board too
}

TEST(Settei, WhenTheFileCannotBeWrittenTheStatusSaysWhyAndTheOptionsHold) {
  TempCwd tmp;
  fs::create_directory(kIni);  // the name is taken: nothing can be written here
  Harness h;
  h.game.opushon().settei_yomi();
  expect_defaults(h);
  h.game.on_menu(Menu::BGM);
  EXPECT_NE(h.game.ban_gamen().joukyou().find("設定を保存できません"), std::string::npos);
  h.game.on_menu(Menu::SIDOU);
  h.game.on_menu(Menu::UCHU);
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::BGM));
  EXPECT_TRUE(h.game.kirikae().is_checked(Menu::SIDOU));
  EXPECT_EQ(h.game.settei().sidou_iro(), IRO_SHIRO);
  EXPECT_EQ(checked_background(h.game), Menu::UCHU);
  EXPECT_EQ(h.sound.log.back(), "stop snd_bgm");
  EXPECT_TRUE(h.ui.boxes.empty());
  // There is no second place that could disagree at the next start.
  size_t entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(tmp.dir())) ++entries;
  EXPECT_EQ(entries, 1u);
  EXPECT_FALSE(fs::exists(tmp.dir() / "config"));
}

TEST(Settei, AReadOnlyFileIsRefusedAndALinkIsWrittenThrough) {
  {
    TempCwd tmp;
    write_bytes(kIni, cp932("BGM=OFF\r\n"));
    fs::permissions(kIni, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Harness h;
    h.game.opushon().settei_yomi();
    h.game.on_menu(Menu::BGM);
    EXPECT_TRUE(h.game.kirikae().is_checked(Menu::BGM));
    EXPECT_NE(h.game.ban_gamen().joukyou().find("設定を保存できません"), std::string::npos);
    EXPECT_EQ(ini_text(), "BGM=OFF\r\n");
  }
  TempCwd tmp;
  fs::create_directory("real");
  write_bytes("real/settings", cp932("BGM=OFF\r\n"));
  fs::create_symlink("real/settings", kIni);
  Harness h;
  h.game.opushon().settei_yomi();
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::BGM));
  EXPECT_EQ(ini_text("real/settings"), "BGM=OFF\r\n");  // nothing written at start
  h.game.on_menu(Menu::BGM);
  EXPECT_TRUE(fs::is_symlink(kIni));
  EXPECT_EQ(ini_text("real/settings"), cp932_to_utf8(cp932(kDefaults)));
}

// ---- the option commands ----

TEST(Option, GuidanceOffErasesEveryOutlineInTheBoardColour) {
  TempCwd tmp;
  Harness h;
  Game& g = h.game;
  g.opushon().settei_yomi();
  h.canvas.ops.clear();
  g.on_menu(Menu::SIDOU);
  EXPECT_TRUE(g.kirikae().is_checked(Menu::SIDOU));
  EXPECT_TRUE(g.settei().sidou_on());
  EXPECT_EQ(g.settei().sidou_iro(), IRO_SHIRO);
  EXPECT_TRUE(h.canvas.ops.empty());
  g.on_menu(Menu::SIDOU);
  EXPECT_FALSE(g.kirikae().is_checked(Menu::SIDOU));
  EXPECT_FALSE(g.settei().sidou_on());
  EXPECT_EQ(g.settei().sidou_iro(), IRO_MIDORI);
  std::set<std::pair<int, int>> outlined;
  for (const Painted& op : h.canvas.ops) {
    ASSERT_EQ(op.kind, Painted::kRect);
    EXPECT_EQ(op.id_or_colour, IRO_MIDORI);
    outlined.insert({op.x, op.y});
  }
  EXPECT_EQ(outlined.size(), 81u + 14u);
  for (auto [c, r] : {std::pair{1, 1}, {9, 9}, {-1, 1}, {-1, 7}, {11, 3}, {11, 9}})
    EXPECT_TRUE(outlined.count({cell_x(c), cell_y(r)})) << c << "," << r;
  EXPECT_NE(ini_text().find("移動指導=OFF"), std::string::npos);
}

TEST(Option, ElapsedTimeShowsBothClocksAndErasesThem) {
  TempCwd tmp;
  Harness h;
  Game& g = h.game;
  g.opushon().settei_yomi();  // KEIKA on
  Taikyoku::Haichi clocks = haichi_ima(g, "");
  clocks.jikan_ue = 65;
  clocks.jikan_sita = 3725;
  clocks.jikan_kaishi = h.clock.now();  // the holder's charge begins now
  g.haichi(haichi(clocks));
  g.on_menu(Menu::KEIKA);
  EXPECT_FALSE(g.kirikae().is_checked(Menu::KEIKA));
  EXPECT_FALSE(h.ui.timer);
  for (int c = 13; c <= 15; ++c) EXPECT_EQ(h.canvas.picture_at(c, 9), HAIKEI_MIDORI);
  for (int c = -2; c <= 0; ++c) EXPECT_EQ(h.canvas.picture_at(c, 9), HAIKEI_MIDORI);
  EXPECT_NE(ini_text().find("経過時間=OFF"), std::string::npos);
  h.canvas.ops.clear();
  g.on_menu(Menu::KEIKA);
  EXPECT_TRUE(g.kirikae().is_checked(Menu::KEIKA));
  EXPECT_TRUE(h.ui.timer);
  const auto texts = h.canvas.texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "00:01:05"), 2);  // shadow and text
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "01:02:05"), 2);
  EXPECT_NE(ini_text().find("経過時間=ON"), std::string::npos);
}

TEST(Option, MusicStartsAndStopsWithItsOption) {
  TempCwd tmp;
  Harness h;
  h.game.opushon().settei_yomi();  // BGM on
  h.game.on_menu(Menu::BGM);
  EXPECT_FALSE(h.game.kirikae().is_checked(Menu::BGM));
  EXPECT_EQ(h.sound.log.back(), "stop snd_bgm");
  EXPECT_NE(ini_text().find("BGM=OFF"), std::string::npos);
  h.game.on_menu(Menu::BGM);
  EXPECT_TRUE(h.game.kirikae().is_checked(Menu::BGM));
  EXPECT_EQ(h.sound.log.back(), "loop snd_bgm");
  EXPECT_NE(ini_text().find("BGM=ON"), std::string::npos);
}

TEST(Option, IconsHideAndComeBackOnlyInAComputerGame) {
  TempCwd tmp;
  Harness h;
  Game& g = h.game;
  g.opushon().settei_yomi();  // AICON on
  g.kirikae().set_visible(Control::AICON_MAN1, true);
  g.kirikae().set_visible(Control::AICON_COM, true);
  g.on_menu(Menu::AICON);
  EXPECT_FALSE(g.kirikae().is_checked(Menu::AICON));
  for (Control c : {Control::AICON_MAN1, Control::AICON_MAN2, Control::AICON_COM})
    EXPECT_FALSE(h.ui.visible[c]);
  EXPECT_NE(ini_text().find("ｱｲｺﾝ=OFF"), std::string::npos);

  Taikyoku::Haichi shu = haichi_ima(g, "");
  shu.shu = TaikyokuShu::ningen;
  g.haichi(haichi(shu));
  g.on_menu(Menu::AICON);
  EXPECT_TRUE(g.kirikae().is_checked(Menu::AICON));
  EXPECT_FALSE(h.ui.visible[Control::AICON_MAN1]);  // shown again at the next turn

  g.on_menu(Menu::AICON);
  shu.shu = TaikyokuShu::com;
  g.haichi(haichi(shu));
  g.on_menu(Menu::AICON);
  EXPECT_TRUE(h.ui.visible[Control::AICON_MAN1]);
  EXPECT_FALSE(h.ui.visible[Control::AICON_COM]);
  EXPECT_NE(ini_text().find("ｱｲｺﾝ=ON"), std::string::npos);
}

}  // namespace
}  // namespace mirado

namespace mirado {
namespace {

TEST(Settei, PromotionAskingTheComputersDisplayAndTheLevelAreKept) {
  TempCwd tmp;
  {
    Harness h;
    h.game.on_load();
    EXPECT_FALSE(h.game.settei().nari_kakunin());
    EXPECT_EQ(h.game.settei().com_hyouji(), ComHyouji::hyoujun);
    EXPECT_EQ(h.game.taikyoku().level(), 3);
    EXPECT_EQ(h.game.settei().kouryo_ms(), 250);
    EXPECT_TRUE(h.game.kirikae().is_checked(Menu::KOURYO_025));
    EXPECT_DOUBLE_EQ(h.game.com_teban().yomi().yomi_byou(), 0.25);
    h.game.on_menu(Menu::NARI_KAKUNIN);
    h.game.on_menu(Menu::SHOURYAKU);
    h.game.on_menu(Menu::LEVEL5);
    h.game.on_menu(Menu::KOURYO_3);
    EXPECT_TRUE(h.game.kirikae().is_checked(Menu::SHOURYAKU));
    EXPECT_FALSE(h.game.kirikae().is_checked(Menu::HYOUJUN));
    EXPECT_TRUE(h.game.kirikae().is_checked(Menu::KOURYO_3));
    EXPECT_FALSE(h.game.kirikae().is_checked(Menu::KOURYO_025));
    EXPECT_DOUBLE_EQ(h.game.com_teban().yomi().yomi_byou(), 3.0);  // the computer's next search thinks that long
  }
  EXPECT_NE(ini_text().find("成りを確認=ON\r\nCOMの手の表示=省略\r\nCOM対局ﾚﾍﾞﾙ=LEVEL5\r\nCOMの考慮時間=3秒\r\n"),
            std::string::npos)
      << ini_text();
  Harness again;
  again.game.on_load();
  EXPECT_TRUE(again.game.settei().nari_kakunin());
  EXPECT_TRUE(again.game.kirikae().is_checked(Menu::NARI_KAKUNIN));
  EXPECT_EQ(again.game.settei().com_hyouji(), ComHyouji::shouryaku);
  EXPECT_EQ(again.game.taikyoku().level(), 5);
  EXPECT_TRUE(again.game.kirikae().is_checked(Menu::LEVEL5));
  EXPECT_FALSE(again.game.kirikae().is_checked(Menu::LEVEL3));
  EXPECT_EQ(again.game.settei().kouryo_ms(), 3000);
  EXPECT_TRUE(again.game.kirikae().is_checked(Menu::KOURYO_3));
  EXPECT_DOUBLE_EQ(again.game.com_teban().yomi().yomi_byou(), 3.0);
  again.game.on_menu(Menu::KOURYO_1);
  EXPECT_NE(ini_text().find("COMの考慮時間=1秒\r\n"), std::string::npos) << ini_text();
  // Words the game does not know leave the defaults.
  write_bytes(kIni, cp932("COMの手の表示=とても速い\r\nCOM対局ﾚﾍﾞﾙ=LEVEL9\r\nCOMの考慮時間=2秒\r\n"));
  Harness odd;
  odd.game.on_load();
  EXPECT_EQ(odd.game.settei().com_hyouji(), ComHyouji::hyoujun);
  EXPECT_EQ(odd.game.taikyoku().level(), 3);
  EXPECT_EQ(odd.game.settei().kouryo_ms(), 250);
  EXPECT_DOUBLE_EQ(odd.game.com_teban().yomi().yomi_byou(), 0.25);
}

}  // namespace
}  // namespace mirado
