// One line of an event script, as the event runner and the window's scripted
// screenshots read them: "menu NAME", "press B X Y", "cell B C R", "key N",
// "answer yes|no", "text TextN VALUE", "dir PATH", "click Command1", "file NAME",
// "clock S", "wait S".
#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace mirado
