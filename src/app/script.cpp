#include "app/script.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "app/game.h"
#include "app/names.h"
#include "kifu/file_io.h"

namespace mirado {

namespace {

bool at_end(std::istringstream& in) {
  std::string rest;
  return !(in >> rest);
}

// The rest of the line after the verb and one space, kept exactly (names may hold spaces).
std::string rest_after(std::string_view line, std::string_view verb) {
  return line.size() > verb.size() + 1 ? std::string(line.substr(verb.size() + 1)) : std::string();
}

bool seconds_of(std::istringstream& in, double& s, double max) {
  return static_cast<bool>(in >> s) && std::isfinite(s) && s >= 0 && s < max && at_end(in);
}

// The panel's text boxes are "Text1".."Text4" in a script, numbered as the game keeps
// their texts; 0 for any other name.
int text_box_number(std::string_view name) {
  if (name.size() != 5 || !name.starts_with("Text") || name[4] < '1' || name[4] > '4') return 0;
  return name[4] - '0';
}

// The line without the blanks that may stand before an event or a comment.
std::string_view lstrip(std::string_view line) {
  const auto first = line.find_first_not_of(" \t");
  return first == std::string_view::npos ? std::string_view() : line.substr(first);
}

}  // namespace

std::vector<ScriptLine> script_lines(std::string_view bytes) {
  std::vector<ScriptLine> out;
  int no = 0;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t end = std::min(bytes.find_first_of("\r\n", pos), bytes.size());
    const std::string_view line = lstrip(bytes.substr(pos, end - pos));
    ++no;
    pos = end;
    if (pos < bytes.size()) pos += bytes.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
    if (line.empty() || line[0] == '#') continue;
    out.push_back({no, std::string(line)});
  }
  return out;
}

bool read_script(const std::filesystem::path& path, std::vector<ScriptLine>& out, std::string& error) {
  std::string bytes;
  int err = 0;
  if (const Yomikomi r = read_capped(path, SCRIPT_SAIDAI_BYTE, bytes, err); r != Yomikomi::ok) {
    error = "cannot read " + path.string() + ": " + yomenai_riyuu(r, err, SCRIPT_SAIDAI_BYTE);
    return false;
  }
  out = script_lines(bytes);
  return true;
}

std::optional<ScriptEvent> parse_event(std::string_view line, std::string& error) {
  std::istringstream in{std::string(line)};
  std::string verb;
  in >> verb;
  ScriptEvent e{};
  if (verb == "menu") {
    std::string name;
    in >> name;
    const auto m = menu_from_name(name);
    if (!m || !at_end(in)) return error = "unknown menu item '" + name + "'", std::nullopt;
    e.kind = ScriptEvent::Kind::menu;
    e.menu = *m;
  } else if (verb == "press" || verb == "cell") {
    if (!(in >> e.button >> e.x >> e.y) || !at_end(in))
      return error = verb + " needs three whole numbers: button and position", std::nullopt;
    if (verb == "cell") {
      if (std::abs(e.x) > 1000 || std::abs(e.y) > 1000) return error = "cell out of range", std::nullopt;
      e.x = BAN_LEFT + MASU_W * e.x + MASU_W / 2;
      e.y = BAN_TOP + MASU_H * e.y + MASU_H / 2;
    }
    e.kind = ScriptEvent::Kind::press;
  } else if (verb == "key") {
    if (!(in >> e.key) || !at_end(in)) return error = "key needs a character code", std::nullopt;
    e.kind = ScriptEvent::Kind::key;
  } else if (verb == "answer") {
    std::string a;
    in >> a;
    if ((a != "yes" && a != "no") || !at_end(in)) return error = "answer must be yes or no", std::nullopt;
    e.kind = ScriptEvent::Kind::answer;
    e.yes = a == "yes";
  } else if (verb == "text") {
    std::string name;
    in >> name;
    const int n = text_box_number(name);
    if (n == 0) return error = "text needs Text1..Text4", std::nullopt;
    e.kind = ScriptEvent::Kind::text;
    e.text_no = n;
    e.value = rest_after(line, "text " + name);
  } else if (verb == "dir" || verb == "file") {
    e.kind = verb == "dir" ? ScriptEvent::Kind::dir : ScriptEvent::Kind::file;
    e.value = rest_after(line, verb);
    if (e.value.empty()) return error = verb + " needs a " + (verb == "dir" ? "path" : "name"), std::nullopt;
  } else if (verb == "click") {
    std::string name;
    in >> name;
    if (name != "Command1" || !at_end(in)) return error = "only Command1 can be clicked", std::nullopt;
    e.kind = ScriptEvent::Kind::click;
  } else if (verb == "clock") {
    if (!seconds_of(in, e.seconds, 86400)) return error = "clock needs seconds since midnight", std::nullopt;
    e.kind = ScriptEvent::Kind::clock;
  } else if (verb == "wait") {
    if (!seconds_of(in, e.seconds, 864000)) return error = "wait needs seconds", std::nullopt;
    e.kind = ScriptEvent::Kind::wait;
  } else {
    return error = "unknown event '" + verb + "'", std::nullopt;
  }
  return e;
}

}  // namespace mirado
