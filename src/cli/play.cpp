// mirado-cli play FILE: drives the game object exactly as the window does, with
// recording ports, a simulated clock and real files, one JSON line per event.
#include <cmath>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "app/game.h"
#include "app/names.h"
#include "cli/commands.h"
#include "model/sfen.h"

namespace mirado::cli {

namespace {

using Json = nlohmann::ordered_json;

class NullCanvas : public Canvas {
 public:
  void picture(int, int, int) override {}
  void rect(int, int, int, int, int) override {}
  void text(int, int, std::string_view, int, int, bool) override {}
  void repaint() override {}
  void refresh() override {}
};

class RecordingUi : public Ui {
 public:
  Json boxes = Json::array();
  std::deque<Answer> answers;
  bool timer = false;
  bool quitted = false;

  void set_checked(Menu, bool) override {}
  void set_visible(Control, bool) override {}
  void move_control(Control, int, int) override {}
  void set_text(Control, std::string_view) override {}
  void set_list(Control, const std::vector<std::string>&, int) override {}
  void set_timer(bool on) override { timer = on; }
  void quit() override { quitted = true; }
  Answer message_box(std::string_view text, std::string_view title, Buttons b, Icon) override {
    Json box;
    box["text"] = std::string(text);
    box["title"] = std::string(title);
    box["buttons"] = b == Buttons::ok ? "ok" : "yesno";
    Answer a = Answer::ok;
    if (b == Buttons::yesno) {
      a = Answer::yes;  // a Yes/No box with no queued answer is answered yes
      if (!answers.empty()) {
        a = answers.front();
        answers.pop_front();
      }
      box["answer"] = a == Answer::no ? "no" : "yes";
    }
    boxes.push_back(box);
    return a;
  }
};

// Whole milliseconds, so waiting never drifts.
class SimulatedClock : public Clock {
 public:
  long long ms = 36000LL * 1000;
  double now() override { return static_cast<double>(ms % 86400000LL) / 1000.0; }
  void wait(double seconds) override { ms += std::llround(seconds * 1000); }
};

// A sound library with a working device; requests are reported by name.
class RecordingSound : public SoundLib, public SoundTrace {
 public:
  Json sounds = Json::array();
  std::int32_t initialize(std::intptr_t) override { return 1; }
  void terminate(std::int32_t) override {}
  std::int32_t create_dsb(std::int32_t, const void*, std::size_t, std::int32_t) override { return ++next_; }
  void play(std::int32_t) override {}
  void play_looping(std::int32_t) override {}
  void stop(std::int32_t) override {}
  void free(std::int32_t) override {}
  void sound(std::string_view verb, Oto which) override {
    sounds.push_back(std::string(verb) + " " + oto_name(which));
  }

 private:
  std::int32_t next_ = 0;
};

struct Runner {
  NullCanvas canvas;
  RecordingUi ui;
  SimulatedClock clock;
  RecordingSound sound;
  Game game{Ports{&canvas, &ui, &clock, &sound, &sound}};

  bool shown(Control c) const { return game.visible[static_cast<int>(c)]; }

  Json state() const {
    Json s;
    s["board"] = sfen_board(game.pos) + " " + sfen_hands(game.pos);
    s["teban"] = game.teban;
    s["teban_nushi"] = game.teban_nushi;
    s["dankai"] = game.dankai;
    s["tesuu"] = game.tesuu;
    s["shuukyoku"] = game.shuukyoku;
    s["click_jotai"] = game.click_jotai;
    s["taikyoku_shu"] = game.taikyoku_shu;
    s["saisei_chu"] = game.saisei_chu;
    s["saikai_machi"] = game.saikai_machi;
    s["te_tochuu"] = game.te_tochuu;
    s["kifu_ichi"] = game.kifu.kifu_ichi;
    s["kifu_nagasa"] = game.kifu.kifu_nagasa;
    s["handicap"] = game.handicap;
    s["hanten_zumi"] = game.hanten_zumi;
    s["level"] = game.level;
    s["jikan_sita"] = game.jikan_sita;
    s["jikan_ue"] = game.jikan_ue;
    return s;
  }

  void emit(int n, const std::string& event) {
    Json line;
    line["n"] = n;
    line["event"] = event;
    line["boxes"] = ui.boxes;
    line["sounds"] = sound.sounds;
    line["state"] = state();
    std::cout << line.dump() << "\n";
    ui.boxes = Json::array();
    sound.sounds = Json::array();
  }

  // Applies one event line; returns an error text, empty when it was an event.
  std::string apply(const std::string& line);
};

bool read_int(std::istringstream& in, int& v) { return static_cast<bool>(in >> v); }

bool read_number(std::istringstream& in, double& v) { return static_cast<bool>(in >> v) && std::isfinite(v) && v >= 0; }

bool at_end(std::istringstream& in) {
  std::string rest;
  return !(in >> rest);
}

std::string Runner::apply(const std::string& line) {
  std::istringstream in(line);
  std::string verb;
  in >> verb;
  if (verb == "menu") {
    std::string name;
    in >> name;
    const auto m = menu_from_name(name);
    if (!m || !at_end(in)) return "unknown menu item '" + name + "'";
    game.on_menu(*m);
  } else if (verb == "press" || verb == "cell") {
    int b = 0, x = 0, y = 0;
    if (!read_int(in, b) || !read_int(in, x) || !read_int(in, y) || !at_end(in))
      return verb + " needs three whole numbers: button and position";
    if (verb == "cell") {
      if (std::abs(x) > 1000 || std::abs(y) > 1000) return "cell out of range";
      x = BAN_LEFT + MASU_W * x + 247;
      y = BAN_TOP + MASU_H * y + 307;
    }
    game.on_mouse_down(b, 0, x, y);
  } else if (verb == "key") {
    int ch = 0;
    if (!read_int(in, ch) || !at_end(in)) return "key needs a character code";
    game.on_key(ch);
  } else if (verb == "answer") {
    std::string a;
    in >> a;
    if ((a != "yes" && a != "no") || !at_end(in)) return "answer must be yes or no";
    ui.answers.push_back(a == "yes" ? Answer::yes : Answer::no);
  } else if (verb == "text") {
    std::string name;
    in >> name;
    const auto c = control_from_name(name);
    if (!c || *c < Control::Text1 || *c > Control::Text4) return "text needs Text1..Text4";
    std::string value;
    const auto pos = line.find(name) + name.size();
    if (pos < line.size()) value = line.substr(pos + 1);
    if (shown(*c)) game.text_change(static_cast<int>(*c) - static_cast<int>(Control::Text1) + 1, value);
  } else if (verb == "dir") {
    std::string path = line.size() > 4 ? line.substr(4) : "";
    if (path.empty()) return "dir needs a path";
    if (shown(Control::Dir1)) game.dir1_change(path);
  } else if (verb == "click") {
    std::string name;
    in >> name;
    if (name != "Command1" || !at_end(in)) return "only Command1 can be clicked";
    if (shown(Control::Command1)) game.command1_click();
  } else if (verb == "file") {
    std::string name = line.size() > 5 ? line.substr(5) : "";
    if (name.empty()) return "file needs a name";
    if (shown(Control::File1)) game.file1_click(name);
  } else if (verb == "clock") {
    double s = 0;
    if (!read_number(in, s) || s >= 86400 || !at_end(in)) return "clock needs seconds since midnight";
    clock.ms = std::llround(s * 1000);
  } else if (verb == "wait") {
    double s = 0;
    if (!read_number(in, s) || s > 864000 || !at_end(in)) return "wait needs seconds";
    for (long long left = std::llround(s * 1000); left > 0; left -= 50) {
      clock.ms += std::min(50LL, left);
      if (ui.timer) game.on_timer();
    }
  } else {
    return "unknown event '" + verb + "'";
  }
  return "";
}

}  // namespace

int cmd_play(int argc, char** argv) {
  if (argc != 1) {
    std::fputs("usage: mirado-cli play FILE\n", stderr);
    return 2;
  }
  std::ifstream file(argv[0], std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "mirado-cli: cannot read %s\n", argv[0]);
    return 2;
  }
  Runner r;
  r.game.on_load();
  r.emit(0, "load");
  std::string line;
  int line_no = 0, n = 0;
  while (!r.ui.quitted && std::getline(file, line)) {
    ++line_no;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    line = line.substr(first);
    const std::string error = r.apply(line);
    if (!error.empty()) {
      std::fprintf(stderr, "mirado-cli: line %d: %s\n", line_no, error.c_str());
      return 2;
    }
    r.emit(++n, line);
  }
  return 0;
}

}  // namespace mirado::cli
