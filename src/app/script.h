// Event scripts, as the event runner and the window's scripted runs read them: the file
// split into event lines, and one line parsed: "menu NAME", "press B X Y", "cell B C R",
// "key N", "answer yes|no", "text TextN VALUE", "dir PATH", "click Command1",
// "file NAME", "clock S", "wait S".
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ports.h"

namespace mirado {

struct ScriptEvent {
  enum class Kind { menu, press, key, answer, text, dir, click, file, clock, wait } kind;
  Menu menu = Menu::COUNT;
  int button = 0, x = 0, y = 0;  // press (a cell is turned into the twips of its centre)
  int key = 0;
  bool yes = true;
  int text_no = 0;               // 1..4 for Text1..Text4
  std::string value;             // text, dir path or file name, as written (UTF-8)
  double seconds = 0;            // clock, wait
};

// Parses a line that is neither blank nor a comment; on failure names the problem.
std::optional<ScriptEvent> parse_event(std::string_view line, std::string& error);

// A script far past anything a person or a test writes is refused unread.
inline constexpr std::size_t SCRIPT_SAIDAI_BYTE = 16u << 20;

struct ScriptLine {
  int no = 0;        // line in the file, from 1
  std::string text;  // without its line end and leading blanks, bytes as in the file
};

// The event lines of a script's bytes: lines end with CR LF, LF or CR alone; lines that
// are blank, only spaces and tabs, or comments ('#' after any blanks) are left out.
// Bytes are kept as they are, so a file name that is not UTF-8 still names its file.
std::vector<ScriptLine> script_lines(std::string_view bytes);

// Reads a script file through the capped reader: a folder, a device, a FIFO or a file
// over SCRIPT_SAIDAI_BYTE is refused at once. On failure returns false with a one-line
// reason naming the file.
bool read_script(const std::filesystem::path& path, std::vector<ScriptLine>& out, std::string& error);

}  // namespace mirado
