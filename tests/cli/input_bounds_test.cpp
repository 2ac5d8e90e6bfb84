// Bad input on the command line and in the event runner: every file is read with a cap,
// devices, FIFOs and folders are refused at once with exit 2, and bytes that are not
// UTF-8 pass through to the game as they are.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "app/script.h"
#include "cli_support.h"
#include "fakes.h"
#include "game_kensa.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

void write_bytes(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

std::vector<std::pair<int, std::string>> lines_of(std::string_view bytes) {
  std::vector<std::pair<int, std::string>> out;
  for (const ScriptLine& l : script_lines(bytes)) out.emplace_back(l.no, l.text);
  return out;
}

using Lines = std::vector<std::pair<int, std::string>>;

TEST(ScriptReader, EndsOfLineBlanksAndCommentsAreLeftOutAndLineNumbersKept) {
  EXPECT_EQ(lines_of("menu START\r\nkey 27\r\n"), (Lines{{1, "menu START"}, {2, "key 27"}}));
  EXPECT_EQ(lines_of("menu START\rkey 27\r"), (Lines{{1, "menu START"}, {2, "key 27"}}));  // CR alone
  EXPECT_EQ(lines_of("menu START\nkey 27"), (Lines{{1, "menu START"}, {2, "key 27"}}));    // no last end
  EXPECT_EQ(lines_of("\n \t \r\n  # note\r\t#\n\tmenu START\n\r\nkey 27\n"),
            (Lines{{5, "menu START"}, {7, "key 27"}}));
  // LF CR is two line ends, as CR LF is one.
  EXPECT_EQ(lines_of("a\n\rb\r\n"), (Lines{{1, "a"}, {3, "b"}}));
  EXPECT_TRUE(lines_of("").empty());
  EXPECT_TRUE(lines_of("\r\n\r\n   \n").empty());
}

TEST(ScriptReader, BytesThatAreNotUtf8StayAsTheyAre) {
  const std::string name = "file \xff\xfe\x82\xa0 x.\x8a\xfb";
  EXPECT_EQ(lines_of(name + "\r\n"), (Lines{{1, name}}));
  std::string error;
  const auto e = parse_event(name, error);
  ASSERT_TRUE(e) << error;
  EXPECT_EQ(e->value, "\xff\xfe\x82\xa0 x.\x8a\xfb");
}

TEST(ScriptReader, FoldersDevicesFifosAndHugeFilesAreRefusedUnread) {
  test::TempCwd cwd;
  fs::create_directory("folder");
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  { std::ofstream("huge"); }
  fs::resize_file("huge", SCRIPT_SAIDAI_BYTE + 1);  // sparse: nothing is written
  write_bytes("ok", "menu START\n");
  std::vector<ScriptLine> lines;
  std::string error;
  const struct {
    const char* path;
    const char* why;
  } cases[] = {{"folder", "Is a directory"},
               {"fifo", "not a regular file"},
               {"/dev/zero", "not a regular file"},
               {"huge", "larger than"},
               {"missing", "No such file"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    error.clear();
    EXPECT_FALSE(read_script(c.path, lines, error));
    EXPECT_NE(error.find(c.path), std::string::npos) << error;
    EXPECT_NE(error.find(c.why), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
  }
  ASSERT_TRUE(read_script("ok", lines, error)) << error;
  EXPECT_EQ(lines.size(), 1u);
}

// The event runner refuses what the reader refuses, at once and with exit 2.
TEST(RunnerInput, PlayRefusesFoldersDevicesAndFifosWithExitTwo) {
  test::TempCwd cwd;
  fs::create_directory("folder");
  ASSERT_EQ(::mkfifo("fifo", 0600), 0);
  for (const char* path : {"folder", "fifo", "/dev/zero", "/dev/null"}) {
    SCOPED_TRACE(path);
    const test::CliRun r = test::run_cli(std::string("play ") + path);
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_EQ(r.out.rfind("mirado-cli: cannot read ", 0), 0u) << r.out;
    EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << "one line: " << r.out;
  }
}

std::vector<json> json_lines(const std::string& out) {
  std::vector<json> lines;
  for (size_t start = 0, nl; (nl = out.find('\n', start)) != std::string::npos; start = nl + 1)
    lines.push_back(json::parse(out.substr(start, nl - start)));
  return lines;
}

// A file name that is not UTF-8 names its file as it is, and the JSON shows it with
// replacement characters instead of stopping the run.
TEST(RunnerInput, LinesThatAreNotUtf8AreUsedAsTheyAreAndShownReplaced) {
  test::TempCwd cwd;
  const std::string name = "\xff\xfe\x8a\xfb.\x8a\xfb\x95\x88";  // not UTF-8
  // Three moves of the lower side's first turn, as the game saves them.
  write_bytes(name,
              "t\r\nu\r\nv\r\n"
              "3 736-10 -10 0   0    0    0    0    \r\n"
              "3 334 10  10 0   0    0    0    0    \r\n"
              "7 776-10 -10 0   0    0    0    0    \r\n");
  write_bytes("events.txt", "menu KIFU_READ\r\nfile " + name + "\r\nmenu \xc3\x28\r\n");
  const test::CliRun r = test::run_cli("play events.txt 2>stderr.txt", false);
  EXPECT_EQ(r.status, 2);  // the last line names no menu item
  const std::vector<json> lines = json_lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  const std::string event = lines[2]["event"];
  EXPECT_EQ(event.rfind("file \xef\xbf\xbd", 0), 0u) << event;  // U+FFFD for the first byte
  EXPECT_EQ(lines[2]["state"]["kifu_nagasa"], 3) << "the file was not found under its own name";
  EXPECT_EQ(lines[2]["boxes"][0]["text"], " 読み込みました");
}

TEST(RunnerInput, OldMacLineEndsBlankLinesAndIndentedCommentsPlayAsUsual) {
  test::TempCwd cwd;
  write_bytes("events.txt", "menu START\r  # the first move\r\t \r  cell 1 3 7\r\ncell 1 3 6");
  const test::CliRun r = test::run_cli("play events.txt", false);
  ASSERT_EQ(r.status, 0) << r.out;
  const std::vector<json> lines = json_lines(r.out);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[2]["event"], "cell 1 3 7");
  EXPECT_EQ(lines[3]["state"]["dankai"], 2) << "the first move was made";
}

// A record line cut inside its time fields is refused with its line; the game under way
// stays exactly as it was.
TEST(RecordInput, ALineMissingItsLastFieldsIsRefusedAndTheGameStays) {
  test::TempCwd cwd;
  test::Harness h;
  Game& g = h.game;
  g.on_menu(Menu::START);
  test::press(g, 3, 7);
  test::press(g, 3, 6);
  write_bytes("cut.棋譜", "t\r\nu\r\nv\r\n3 736-10 -10 0   0    0    0    0    \r\n3 334 10  10 0   0");
  const std::string before = test::joutai_kiroku(g);
  h.ui.boxes.clear();
  h.sound.log.clear();
  g.kifu_panel().panel_file_click("cut.棋譜");
  EXPECT_EQ(test::joutai_kiroku(g), before);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "棋譜の5行目の手は盤上で指せません\n行の9番目の欄に数字がありません");
  EXPECT_EQ(h.sound.log, std::vector<std::string>{"play snd_kinshi"});
}

}  // namespace
}  // namespace mirado
