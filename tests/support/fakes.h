// Recording fakes of the window ports, for driving the game logic without a display.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/game.h"
#include "app/null_ports.h"
#include "kyokumen_kensa.h"

namespace mirado::test {

struct Painted {
  enum Kind { kPicture, kRect, kText } kind;
  int id_or_colour;
  int x, y, x2, y2;
  std::string text;
  int size;
  bool bold;
};

class FakeCanvas : public Canvas {
 public:
  std::vector<Painted> ops;
  int repaints = 0, refreshes = 0;
  void picture(int id, int x, int y) override { ops.push_back({Painted::kPicture, id, x, y, 0, 0, "", 0, false}); }
  void rect(int colour, int x1, int y1, int x2, int y2) override {
    ops.push_back({Painted::kRect, colour, x1, y1, x2, y2, "", 0, false});
  }
  void text(int x, int y, std::string_view s, int colour, int size, bool bold) override {
    ops.push_back({Painted::kText, colour, x, y, 0, 0, std::string(s), size, bold});
  }
  void repaint() override { ++repaints; }
  void refresh() override { ++refreshes; }
  // Last picture painted with its top-left at the given cell, or -1.
  int picture_at(double c, double r) const;
  std::vector<std::string> texts() const;
};

struct Box {
  std::string text, title;
  Buttons buttons;
  Icon icon;
  Answer answer;
};

class FakeUi : public Ui {
 public:
  std::map<Menu, bool> checked;
  std::map<Control, bool> visible;
  std::map<Control, std::string> texts;
  std::vector<Box> boxes;
  std::deque<Answer> answers;  // answers for Yes/No boxes; yes when empty
  bool timer = false;
  bool close = false;  // the player has asked to close the window
  bool close_requested() const override { return close; }

  void set_checked(Menu m, bool on) override { checked[m] = on; }
  void set_visible(Control c, bool on) override { visible[c] = on; }
  void move_control(Control, int, int) override {}
  void set_text(Control c, std::string_view s) override { texts[c] = std::string(s); }
  Answer message_box(std::string_view text, std::string_view title, Buttons b, Icon icon) override;
  void set_timer(bool on) override { timer = on; }
  std::map<Control, std::vector<std::string>> lists;
  bool quitted = false;
  void set_list(Control c, const std::vector<std::string>& items, int) override { lists[c] = items; }
  void quit() override { quitted = true; }
  std::vector<std::string> statuses;  // every status line sent, in order
  void set_status(std::string_view s) override { statuses.emplace_back(s); }
  bool ichiran_shown = false;
  std::vector<std::string> ichiran_rows;
  int ichiran_current = -1;
  void set_ichiran(bool shown, const std::vector<std::string>& rows, int current) override {
    ichiran_shown = shown;
    ichiran_rows = rows;
    ichiran_current = current;
  }
  std::vector<int> ichiran_rui;
  KaisekiZu zu;
  bool poll = false;
  void set_ichiran_rui(const std::vector<int>& rui) override { ichiran_rui = rui; }
  void set_kaiseki_zu(const KaisekiZu& z) override { zu = z; }
  void set_poll(bool on) override { poll = on; }
};

class SimClock : public JunjiClock {
 public:
  double t = 36000;
  double now() override { return t; }
  void susumu(double s) override { t += s; }
};

class FakeSound : public SoundLib, public SoundTrace {
 public:
  std::vector<std::string> log;  // "play snd_koma", ...
  std::int32_t context = 1;           // what initialize answers (0: no device)
  std::int32_t handle = 0;            // what create_dsb answers
  std::string error;                  // what last_error answers
  std::vector<std::string> loaded;    // the WAV bytes given to create_dsb
  std::vector<std::int32_t> terminated;
  std::int32_t initialize(std::intptr_t) override { return context; }
  void terminate(std::int32_t c) override { terminated.push_back(c); }
  std::int32_t create_dsb(std::int32_t, const void* wav, std::size_t size, std::int32_t) override {
    loaded.emplace_back(static_cast<const char*>(wav), size);
    return handle;
  }
  std::string last_error() const override { return error; }
  void play(std::int32_t) override {}
  void play_looping(std::int32_t) override {}
  void stop(std::int32_t) override {}
  void free(std::int32_t) override {}
  void sound(std::string_view verb, Oto which) override;
};

// A press in the middle of board cell (c, r), as the window sends it.
inline void press(Game& g, int c, int r, int button = 1) {
  g.on_mouse_down(button, 0, BAN_LEFT + MASU_W * c + MASU_W / 2, BAN_TOP + MASU_H * r + MASU_H / 2);
}

// A game wired to fresh fakes.
struct Harness {
  FakeCanvas canvas;
  FakeUi ui;
  SimClock clock;
  FakeSound sound;
  Game game{Ports{&canvas, &ui, &clock, &sound, &sound}};
};

}  // namespace mirado::test
