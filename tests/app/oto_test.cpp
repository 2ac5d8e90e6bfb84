// Opening the sound library, finding and loading the sound files, and the about box.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using test::Harness;
using test::TempCwd;
using test::write_bytes;

TEST(Oto, WithoutADeviceTheWarningComesOnceAndEverythingAfterIsSilent) {
  TempCwd tmp;
  write_bytes("駒打音.wav", "RIFF....WAVE");
  Harness h;
  h.sound.context = 0;
  Game& g = h.game;
  g.onkyou().snd_init(0);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "Direct Soundインターフェースが作成できません。");
  EXPECT_EQ(h.ui.boxes[0].title, "ミラド将棋.dll");
  EXPECT_EQ(h.ui.boxes[0].icon, Icon::warning);
  EXPECT_EQ(h.ui.boxes[0].buttons, Buttons::ok);
  EXPECT_EQ(g.onkyou().snd_load("駒打音.wav", 3), 0);
  EXPECT_TRUE(h.sound.loaded.empty());
  g.onkyou().snd_term();
  EXPECT_TRUE(h.sound.terminated.empty());
  EXPECT_EQ(h.ui.boxes.size(), 1u);
}

TEST(Oto, FilesAreFoundInTheWorkingDirectoryThenBesideTheProgramThenInTheData) {
  TempCwd tmp;
  Harness h;
  Game& g = h.game;
  g.onkyou().oto_basho((tmp.dir() / "bin").string(), (tmp.dir() / "share").string());
  fs::create_directories(g.onkyou().exe_dir());
  fs::create_directories(g.onkyou().data_dir());
  write_bytes("BGM.wav", "from cwd");
  write_bytes(fs::path(g.onkyou().exe_dir()) / "BGM.wav", "from bin");
  write_bytes(fs::path(g.onkyou().data_dir()) / "BGM.wav", "from share");
  h.sound.handle = 7;
  g.onkyou().snd_init(0);
  EXPECT_EQ(g.onkyou().snd_load("BGM.wav", 1), 7);
  fs::remove("BGM.wav");
  EXPECT_EQ(g.onkyou().snd_load("BGM.wav", 1), 7);
  fs::remove(fs::path(g.onkyou().exe_dir()) / "BGM.wav");
  EXPECT_EQ(g.onkyou().snd_load("BGM.wav", 1), 7);
  EXPECT_EQ(h.sound.loaded, (std::vector<std::string>{"from cwd", "from bin", "from share"}));
  // Nowhere at all: silent, and the library is not asked.
  fs::remove(fs::path(g.onkyou().data_dir()) / "BGM.wav");
  EXPECT_EQ(g.onkyou().snd_load("BGM.wav", 1), 0);
  EXPECT_EQ(h.sound.loaded.size(), 3u);
  EXPECT_TRUE(h.ui.boxes.empty());
}

TEST(Oto, AFileThatCannotBeLoadedWarnsWithTheReasonAndGivesZero) {
  TempCwd tmp;
  Harness h;
  Game& g = h.game;
  g.onkyou().snd_init(0);
  h.sound.handle = 0;
  h.sound.error = "the WAV data is empty";
  write_bytes("禁止.wav", "");
  EXPECT_EQ(g.onkyou().snd_load("禁止.wav", 3), 0);
  ASSERT_EQ(h.sound.loaded.size(), 1u);
  EXPECT_EQ(h.sound.loaded[0], "");
  fs::create_directory("銃声.wav");  // exists, but cannot be read as a file
  EXPECT_EQ(g.onkyou().snd_load("銃声.wav", 3), 0);
  EXPECT_EQ(h.sound.loaded.size(), 1u);
  ASSERT_EQ(h.ui.boxes.size(), 2u);
  EXPECT_EQ(h.ui.boxes[0].text, "禁止.wav: the WAV data is empty");
  EXPECT_EQ(h.ui.boxes[1].text, "銃声.wav: Is a directory");
  for (const auto& b : h.ui.boxes) {
    EXPECT_EQ(b.title, "ミラド将棋.dll");
    EXPECT_EQ(b.icon, Icon::warning);
  }
}

TEST(Oto, TheLibraryIsClosedOnceWithItsContext) {
  Harness h;
  h.sound.context = 5;
  h.game.onkyou().snd_init(0);
  EXPECT_EQ(h.game.onkyou().ds_context(), 5);
  h.game.onkyou().snd_term();
  h.game.onkyou().snd_term();
  EXPECT_EQ(h.sound.terminated, std::vector<std::int32_t>{5});
}

TEST(About, ClosesThePanelChimesAndShowsTheVersion) {
  Harness h;
  Game& g = h.game;
  g.kirikae().set_visible(Control::PANEL_FILE_LIST, true);
  g.kirikae().set_visible(Control::PANEL_WRITE_BUTTON, true);
  g.on_menu(Menu::VER);
  EXPECT_FALSE(h.ui.visible[Control::PANEL_FILE_LIST]);
  EXPECT_FALSE(h.ui.visible[Control::PANEL_WRITE_BUTTON]);
  EXPECT_EQ(h.sound.log, std::vector<std::string>{"play snd_sonota"});
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].title, "その他");
  EXPECT_EQ(h.ui.boxes[0].buttons, Buttons::ok);
  EXPECT_EQ(h.ui.boxes[0].text,
            "ミラド 将棋\nVersion 1.0.0\nHome page: https://mirado-shogi.example.org/\n"
            "e-mail: support@mirado-shogi.example.org");
}

}  // namespace
}  // namespace mirado
