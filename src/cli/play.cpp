// mirado-cli play FILE: drives the game object exactly as the window does, with
// recording ports, a simulated clock and real files, one JSON line per event.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/game.h"
#include "app/names.h"
#include "app/null_ports.h"
#include "app/script.h"
#include "cli/commands.h"
#include "rules/sfen.h"
#include "sound/sound_port.h"

namespace mirado::cli {

namespace {

using Json = nlohmann::ordered_json;

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
    box["buttons"] = b == Buttons::ok ? "ok" : b == Buttons::naru ? "naru" : "yesno";
    Answer a = Answer::ok;
    if (b != Buttons::ok) {
      // A Yes/No box with no queued answer gets its default: yes, or no where yes
      // would replace a file or promote a piece moved with the left button.
      a = b == Buttons::yesno_iie || b == Buttons::naru ? Answer::no : Answer::yes;
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
class SimulatedClock : public JunjiClock {
 public:
  long long ms = 36000LL * 1000;
  double now() override { return static_cast<double>(ms % 86400000LL) / 1000.0; }
  void susumu(double seconds) override { ms += std::llround(seconds * 1000); }
};

// The product's sound library on a silent device, so a sound file is accepted or
// refused exactly as the window's library would; requests are reported by name.
class RecordingSound : public SdlSound, public SoundTrace {
 public:
  Json sounds = Json::array();
  void sound(std::string_view verb, Oto which) override {
    sounds.push_back(std::string(verb) + " " + oto_name(which));
  }
};

struct Runner {
  NullCanvas canvas;
  RecordingUi ui;
  SimulatedClock clock;
  RecordingSound sound;
  Game game{Ports{&canvas, &ui, &clock, &sound, &sound}};
  // LEVEL4 thinks to a fixed budget here, so that a script gives the same moves every time.
  Runner() { game.com_teban().yomi().yomi_nodes_settei(20000); }

  bool shown(Control c) const { return game.kirikae().is_visible(c); }

  Json state() const {
    Json s;
    s["board"] = sfen_board(game.taikyoku().pos()) + " " + sfen_hands(game.taikyoku().pos());
    s["teban"] = game.taikyoku().teban();
    s["teban_nushi"] = game.taikyoku().teban_nushi();
    s["dankai"] = game.taikyoku().dankai();
    s["tesuu"] = game.taikyoku().tesuu();
    s["shuukyoku"] = game.taikyoku().shousha();
    s["click_jotai"] = game.nyuuryoku().click_jotai();
    s["taikyoku_shu"] = static_cast<int>(game.taikyoku().taikyoku_shu());
    s["saisei_chu"] = int{game.taikyoku().saisei_chu()};
    s["saikai_machi"] = int{game.taikyoku().saikai_machi()};
    s["te_tochuu"] = int{game.taikyoku().te_tochuu()};
    s["kifu_ichi"] = game.taikyoku().kifu().kifu_ichi;
    s["kifu_nagasa"] = game.taikyoku().kifu().kifu_nagasa;
    s["handicap"] = game.taikyoku().handicap();
    s["hanten_zumi"] = int{game.taikyoku().hanten_zumi()};
    s["level"] = game.taikyoku().level();
    s["jikan_sita"] = game.taikyoku().jikan_sita();
    s["jikan_ue"] = game.taikyoku().jikan_ue();
    s["clocks"] = game.kirikae().is_checked(Menu::KEIKA)
                      ? Json::array({game.ban_gamen().tokei_moji(0), game.ban_gamen().tokei_moji(1)})
                      : Json();
    s["status"] = game.ban_gamen().joukyou();
    Json marks = Json::array();
    for (const BanGamen::Shirushi& m : game.ban_gamen().shirushi())
      marks.push_back(std::to_string(m.c) + "," + std::to_string(m.r) + ":" + std::to_string(m.no) +
                      (m.saki ? "*" : ""));
    s["marks"] = marks;
    return s;
  }

  void emit(std::ostream& out, int n, const std::string& event) {
    Json line;
    line["n"] = n;
    line["event"] = event;
    line["boxes"] = ui.boxes;
    line["sounds"] = sound.sounds;
    line["state"] = state();
    // Script lines and file names need not be UTF-8: such bytes are shown replaced.
    out << line.dump(-1, ' ', false, Json::error_handler_t::replace) << "\n";
    ui.boxes = Json::array();
    sound.sounds = Json::array();
  }

  // Applies one event line; returns an error text, empty when it was an event.
  std::string apply(const std::string& line);
};

std::string Runner::apply(const std::string& line) {
  std::string error;
  const auto e = parse_event(line, error);
  if (!e) return error;
  using Kind = ScriptEvent::Kind;
  switch (e->kind) {
    case Kind::menu: game.on_menu(e->menu); break;
    case Kind::press: game.on_mouse_down(e->button, 0, e->x, e->y); break;
    case Kind::key: game.on_key(e->key); break;
    case Kind::answer: ui.answers.push_back(e->yes ? Answer::yes : Answer::no); break;
    // The window could not deliver these to a control that is hidden.
    case Kind::text:
      if (shown(panel_text_box(e->text_no)))
        game.kifu_panel().text_kaeru(e->text_no, e->value);
      break;
    case Kind::dir:
      if (shown(Control::PANEL_DIR_LIST)) game.kifu_panel().panel_dir_change(e->value);
      break;
    case Kind::click:
      if (shown(Control::PANEL_WRITE_BUTTON)) game.kifu_panel().panel_write_click();
      break;
    case Kind::file:
      if (shown(Control::PANEL_FILE_LIST)) game.kifu_panel().panel_file_click(e->value);
      break;
    case Kind::clock: clock.ms = std::llround(e->seconds * 1000); break;
    case Kind::wait:
      for (long long left = std::llround(e->seconds * 1000); left > 0; left -= 50) {
        clock.ms += std::min(50LL, left);
        if (ui.timer) game.ban_gamen().timer_tick();
      }
      break;
  }
  return "";
}

}  // namespace

int cmd_play(const std::string& path, std::ostream& out, std::ostream& err) {
  std::vector<ScriptLine> lines;
  std::string error;
  if (!read_script(path, lines, error)) return fail("", error, 2, err);
  // The runner stands for a machine with a working sound device, whatever this one has.
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  Runner r;
  r.game.on_load();
  r.game.ibento_owari();
  r.emit(out, 0, "load");
  int n = 0;
  for (const ScriptLine& line : lines) {
    if (r.ui.quitted) break;
    error = r.apply(line.text);
    if (!error.empty()) return fail("", "line " + std::to_string(line.no) + ": " + error, 2, err);
    r.game.ibento_owari();
    r.emit(out, ++n, line.text);
  }
  return 0;
}

}  // namespace mirado::cli
