// mirado-cli play as a user or a script runs it: whole games and commands through the
// same game object the window drives, checked from the JSON it prints.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_support.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

using nlohmann::json;

struct Played {
  int status = -1;
  std::vector<json> lines;
  const json& last() const { return lines.back(); }
  const json& state() const { return lines.back()["state"]; }
};

Played play(const std::string& script) {
  { std::ofstream("events.txt") << script; }
  const test::CliRun run = test::run_cli("play events.txt 2>stderr.txt", false);
  Played r;
  r.status = run.status;
  for (size_t start = 0, nl; (nl = run.out.find('\n', start)) != std::string::npos; start = nl + 1)
    r.lines.push_back(json::parse(run.out.substr(start, nl - start)));
  return r;
}

std::string slurp(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> texts(const json& line) {
  std::vector<std::string> out;
  for (const auto& b : line["boxes"]) out.push_back(b["text"]);
  return out;
}

TEST(Runner, StartUpWritesNoSettingsAndStartAnnouncesSente) {
  test::TempCwd cwd;
  const Played r = play("menu START\n");
  ASSERT_EQ(r.status, 0);
  ASSERT_EQ(r.lines.size(), 2u);
  EXPECT_EQ(r.lines[0]["n"], 0);
  EXPECT_EQ(r.lines[0]["event"], "load");
  const json& start = r.lines[1];
  EXPECT_EQ(start["boxes"], json::parse(R"([{"text":"先手の番です","title":" ","buttons":"ok"}])"));
  EXPECT_EQ(start["sounds"], json::parse(R"(["play snd_jusei","loop snd_bgm"])"));
  EXPECT_EQ(start["state"]["teban"], 1);
  EXPECT_EQ(start["state"]["teban_nushi"], 1);
  EXPECT_EQ(start["state"]["board"],
            "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL -");
  EXPECT_FALSE(std::filesystem::exists("ミラド将棋.ini"));  // written only when an option changes
}

TEST(Runner, StartUpReadsAnExistingSettingsFile) {
  test::TempCwd cwd;
  // 移動指導=ON and BGM=OFF in code page 932, nothing else: the rest keep their start values.
  { std::ofstream("ミラド将棋.ini", std::ios::binary) << "\x88\xda\x93\xae\x8e\x77\x93\xb1=ON\r\nBGM=OFF\r\n"; }
  const Played r = play("menu START\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.lines[1]["sounds"], json::parse(R"(["play snd_jusei"])"));  // no music
  EXPECT_EQ(slurp("ミラド将棋.ini"), "\x88\xda\x93\xae\x8e\x77\x93\xb1=ON\r\nBGM=OFF\r\n");
}

TEST(Runner, ATwoPersonTurnTakeBackAndReplay) {
  test::TempCwd cwd;
  const Played r = play(
      "menu START\n"
      "cell 1 3 7\ncell 1 3 6\n"   // sente: own pawn
      "cell 1 3 3\ncell 1 3 4\n"   // sente moves gote's pawn
      "cell 1 7 7\ncell 1 7 6\n"   // sente: own pawn again; turn passes to gote
      "menu REPLAY\n"
      "menu AFTER\n");
  ASSERT_EQ(r.status, 0);
  const json& after_turn = r.lines[7]["state"];
  EXPECT_EQ(after_turn["board"], "lnsgkgsnl/1r5b1/pp1pppppp/2p6/9/2P3P2/PP1PPP1PP/1B5R1/LNSGKGSNL -");
  EXPECT_EQ(after_turn["teban"], -1);
  EXPECT_EQ(after_turn["teban_nushi"], -1);
  EXPECT_EQ(after_turn["dankai"], 1);
  EXPECT_EQ(after_turn["kifu_nagasa"], 3);
  const json& back = r.lines[8];
  EXPECT_EQ(back["sounds"], json::parse(R"(["play snd_koma","play snd_koma","play snd_koma"])"));
  EXPECT_EQ(back["state"]["board"], "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL -");
  EXPECT_EQ(back["state"]["kifu_ichi"], 0);
  EXPECT_EQ(r.lines[9]["state"]["board"], after_turn["board"]);
  EXPECT_EQ(r.lines[9]["state"]["kifu_ichi"], 3);
}

TEST(Runner, RefusalsBeforeAGameAndInTheMiddleOfATurn) {
  test::TempCwd cwd;
  const Played r = play(
      "cell 1 3 7\n"
      "menu START\n"
      "cell 1 3 7\ncell 1 3 6\n"
      "menu SENTE\n"
      "menu KIFU_WRITE\n"
      "menu REPLAY\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(texts(r.lines[1]), std::vector<std::string>{"「対局」で始めて下さい"});
  EXPECT_EQ(r.lines[1]["sounds"], json::parse(R"(["play snd_kinshi"])"));
  EXPECT_EQ(texts(r.lines[5]), std::vector<std::string>{"３手目が打ち終わるまでできません"});
  EXPECT_EQ(r.lines[5]["boxes"][0]["title"], "対局");
  EXPECT_EQ(r.lines[5]["state"]["taikyoku_shu"], 0);
  EXPECT_EQ(texts(r.lines[6]), std::vector<std::string>{"３手目が打ち終わるまでできません"});
  EXPECT_EQ(r.lines[6]["boxes"][0]["title"], "棋譜書込");
  EXPECT_EQ(texts(r.lines[7]), std::vector<std::string>{"３手目がまだ打ち終わっていせん"});
}

TEST(Runner, GoteLetsTheComputerPlayItsWholeTurnAtOnce) {
  test::TempCwd cwd;
  const Played r = play("menu LEVEL1\nmenu GOTE\n");
  ASSERT_EQ(r.status, 0);
  const json& s = r.state();
  EXPECT_EQ(s["level"], 1);
  EXPECT_EQ(s["taikyoku_shu"], 1);
  EXPECT_EQ(s["tesuu"], 3);
  EXPECT_EQ(s["kifu_ichi"], 3);
  EXPECT_EQ(s["teban"], s["teban_nushi"]);
  EXPECT_EQ(s["dankai"], 1);
  EXPECT_NE(s["board"], "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL -");
  // The start shot, then one placing sound per move of the computer.
  const json& sounds = r.last()["sounds"];
  EXPECT_EQ(sounds[0], "play snd_jusei");
  EXPECT_EQ(std::count(sounds.begin(), sounds.end(), "play snd_koma"), 3);
}

TEST(Runner, SenteGameTheComputerAnswersAfterThePersonsThirdMove) {
  test::TempCwd cwd;
  const Played r = play(
      "menu SENTE\n"
      "cell 1 3 7\ncell 1 3 6\n"
      "cell 1 3 3\ncell 1 3 4\n"
      "cell 1 7 7\ncell 1 7 6\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(texts(r.lines[1]), std::vector<std::string>{"MANの番です"});
  EXPECT_EQ(r.lines[1]["state"]["tesuu"], 0);  // SENTE: the person moves first
  const json& s = r.state();
  EXPECT_EQ(s["tesuu"], 6);
  EXPECT_EQ(s["teban_nushi"], r.lines[1]["state"]["teban_nushi"]);
  EXPECT_EQ(s["dankai"], 1);
  // Deterministic: the same script gives the same game.
  const Played again = play(
      "menu SENTE\n"
      "cell 1 3 7\ncell 1 3 6\n"
      "cell 1 3 3\ncell 1 3 4\n"
      "cell 1 7 7\ncell 1 7 6\n");
  EXPECT_EQ(again.state(), s);
}

TEST(Runner, SaveAndLoadARecordThroughThePanel) {
  test::TempCwd cwd;
  const Played saved = play(
      "menu START\n"
      "cell 1 3 7\ncell 1 3 6\ncell 1 3 3\ncell 1 3 4\ncell 1 7 7\ncell 1 7 6\n"
      "text Text1 first\n"         // ignored: the panel is closed
      "menu KIFU_WRITE\n"
      "text Text2 練習対局\n"
      "text Text3 先手さん\n"
      "text Text4 後手さん\n"
      "text Text1 対局一\n"
      "click Command1\n");
  ASSERT_EQ(saved.status, 0);
  EXPECT_EQ(texts(saved.last()), std::vector<std::string>{"棋譜を書き込みました"});
  const std::string file = slurp("対局一.棋譜");
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(file.substr(file.size() - 2), "\r\n");

  const Played loaded = play("menu KIFU_READ\nfile 対局一.棋譜\nmenu AFTER\ncell 1 5 5\n");
  ASSERT_EQ(loaded.status, 0);
  EXPECT_EQ(texts(loaded.lines[2]), (std::vector<std::string>{" 読み込みました", "棋譜を '進 'で進めて下さい"}));
  EXPECT_EQ(loaded.lines[2]["state"]["saisei_chu"], 1);
  EXPECT_EQ(loaded.lines[2]["state"]["kifu_nagasa"], 3);
  EXPECT_EQ(loaded.lines[3]["state"]["board"],
            "lnsgkgsnl/1r5b1/pp1pppppp/2p6/9/2P3P2/PP1PPP1PP/1B5R1/LNSGKGSNL -");
  // In record mode a board press asks to step with 進 (answered yes: nothing changes).
  EXPECT_EQ(loaded.last()["boxes"][0]["text"], "棋譜を '進 'で進めて下さい");
  EXPECT_EQ(loaded.last()["boxes"][0]["buttons"], "yesno");
}

TEST(Runner, HandicapStepsAndOptionsChangeStateAndSettings) {
  test::TempCwd cwd;
  const Played r = play("menu LEBEL_DOWN\nmenu LBEL_UP\nmenu LBEL_UP\nmenu SIDOU\nmenu KEIKA\nmenu BGM\n");
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.lines[1]["state"]["handicap"], -1);
  EXPECT_EQ(r.lines[1]["state"]["board"], "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/7R1/LNSGKGSNL -");
  EXPECT_EQ(r.lines[3]["state"]["handicap"], 1);
  EXPECT_EQ(r.lines[3]["state"]["board"], "lnsgkgsnl/1r7/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL -");
  EXPECT_EQ(r.last()["sounds"], json::parse(R"(["stop snd_bgm"])"));
  const std::string ini = slurp("ミラド将棋.ini");
  EXPECT_NE(ini.find("=ON\r\n"), std::string::npos);  // guidance on
  EXPECT_NE(ini.find("BGM=OFF\r\n"), std::string::npos);
}

// The runner loads sounds through the game's own sound library, so a broken file is
// refused with the very box the window shows.
TEST(Runner, BrokenSoundFilesGetTheWindowsWarning) {
  test::TempCwd cwd;
  { std::ofstream("BGM.wav"); }                                     // empty
  { std::ofstream("禁止.wav", std::ios::binary) << "not a sound"; }  // not a WAV
  const Played r = play("");
  ASSERT_EQ(r.status, 0);
  const std::vector<std::string> boxes = texts(r.lines[0]);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].rfind("禁止.wav: ", 0), 0u) << boxes[0];
  EXPECT_EQ(boxes[1].rfind("BGM.wav: ", 0), 0u) << boxes[1];
  EXPECT_EQ(r.lines[0]["boxes"][0]["title"], "ミラド将棋.dll");
}

// A long sound at a low rate, small as a file, would decode to gigabytes: it gets the
// same box before anything is decoded, and the game goes on without it.
TEST(Runner, ASoundThatWouldDecodeTooLargeGetsTheWarningAndTheGameGoesOn) {
  test::TempCwd cwd;
  auto u32 = [](std::uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
  const std::uint32_t rate = 8, n = 8192;  // 17 minutes of 8-bit mono
  {
    std::ofstream f("BGM.wav", std::ios::binary);
    f << "RIFF" + u32(36 + n) + "WAVEfmt " + u32(16) + std::string{1, 0, 1, 0} + u32(rate) + u32(rate) +
             std::string{1, 0, 8, 0} + "data" + u32(n) + std::string(n, '\x80');
  }
  const Played r = play("menu START\n");
  ASSERT_EQ(r.status, 0);
  const std::vector<std::string> boxes = texts(r.lines[0]);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("BGM.wav: the decoded sound would take ", 0), 0u) << boxes[0];
  EXPECT_EQ(r.lines[0]["boxes"][0]["title"], "ミラド将棋.dll");
  EXPECT_EQ(texts(r.lines[1]), std::vector<std::string>{"先手の番です"});
}

TEST(Runner, EscapeEndsTheRunAndBadLinesAreNamed) {
  test::TempCwd cwd;
  const Played quit = play("menu START\nkey 27\nmenu START\n");
  EXPECT_EQ(quit.status, 0);
  EXPECT_EQ(quit.lines.size(), 3u);  // load, START, the key; nothing after the quit

  const Played bad = play("menu START\n\n# a comment\nmenu NOPE\n");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(slurp("stderr.txt").find("line 4"), std::string::npos);
  EXPECT_EQ(play("cell 1 x 3\n").status, 2);
}

TEST(Runner, TheClockRunsOnlyWhileTheTimerIsOnAndCrossesMidnight) {
  test::TempCwd cwd;
  const Played r = play("clock 86390\nmenu START\nwait 20\ncell 1 3 7\ncell 1 3 6\n");
  ASSERT_EQ(r.status, 0);
  // 1.5 s of the start wait plus 20 s of waiting, across midnight.
  EXPECT_DOUBLE_EQ(r.state()["jikan_sita"].get<double>(), 21.5);
}

}  // namespace
}  // namespace mirado
