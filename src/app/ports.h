// The small interfaces through which the game logic reaches the outside world.
// The Qt main window implements them for real; tests and the event runner use
// recording fakes. Nothing here is called per square in a hot loop.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

// Drawing onto the window's retained surface. Positions and sizes are in twips
// (15 twips to a pixel at scale 1).
class Canvas {
 public:
  virtual ~Canvas() = default;
  // Paints picture `id` with its top-left corner at (x, y). Ids are those of koma_egaku:
  // 0 the empty square, piece codes, 1 and 2 the logos, 3..7 the background tiles.
  virtual void picture(int id, int x, int y) = 0;
  // Unfilled rectangle outline from (x1, y1) to (x2, y2) in palette colour 0..15.
  virtual void rect(int colour, int x1, int y1, int x2, int y2) = 0;
  // Prints text with the top of its line at (x, y), no background fill.
  virtual void text(int x, int y, std::string_view utf8, int colour, int size_pt, bool bold) = 0;
  // Synchronous repaint of the window, and an asynchronous refresh.
  virtual void repaint() = 0;
  virtual void refresh() = 0;
};

// Menu items and controls, named as the window names them.
enum class Menu : int {
  TAIKYOKU, MATCH_MAN, START, START2, SENTE, GOTE, LEVEL, LEVEL1, LEVEL2, LEVEL3, LEVEL4, LEVEL5, OWARI,
  STOP, CANCEL, REVERSE, REPLAY, AFTER, LBEL_UP, LEBEL_DOWN, KIFU, KIFU_READ, KIFU_WRITE,
  OPTION, HAIKEI_GA, MIDORI, UCHU, TATAMI, TAKE, RENGA, SIDOU, KEIKA, BGM, AICON, CHOKUZEN, ICHIRAN, KAISEKI_ZU, HELP, ASOBIKATA, HINT, KAISEKI, VER,
  TSUZUKI, NARI_KAKUNIN, COM_HYOUJI, HYOUJUN, HAYAI, SHOURYAKU, KOURYO, KOURYO_025, KOURYO_1, KOURYO_3,
  COUNT
};

// The player icons, and the record panel's lists, text boxes, captions and button.
enum class Control : int {
  AICON_MAN1, AICON_MAN2, AICON_COM,
  PANEL_DRIVE_LIST, PANEL_DIR_LIST, PANEL_FILE_LIST,
  PANEL_FILE_NAME, PANEL_TITLE, PANEL_SENTE_NAME, PANEL_GOTE_NAME,
  PANEL_FILE_NAME_LABEL, PANEL_GOTE_LABEL, PANEL_SENTE_LABEL, PANEL_TITLE_LABEL,
  PANEL_WRITE_BUTTON,
  COUNT
};

// The panel's text boxes by the number the game keeps their texts under
// (Game::panel_text): 1 file name, 2 title, 3 first player, 4 second player.
constexpr Control panel_text_box(int n) {
  return static_cast<Control>(static_cast<int>(Control::PANEL_FILE_NAME) + n - 1);
}

// yesno answers yes when closed; yesno_iie, for a question whose yes cannot be undone,
// has no as its default and its answer when closed. naru offers 成る (yes, the default
// Enter takes) and 成らない (no), no when closed: a left click never promotes unasked.
enum class Buttons { ok, yesno, yesno_iie, naru };

// The analysis graph beside the board: the lower side's win chance (0..100) at the start
// and after each turn, each turn's class (0 none, 1 緩手, 2 疑問手, 3 悪手), where the
// board stands in turns (entries played / 3) and the line counting each side's classes.
// An empty `kachi` hides the panel.
struct KaisekiZu {
  std::vector<double> kachi;
  std::vector<int> rui;
  double ima = 0;
  std::string matome;
  bool operator==(const KaisekiZu&) const = default;
};

enum class Icon { none, warning };
enum class Answer { ok, yes, no };

class Ui {
 public:
  virtual ~Ui() = default;
  virtual void set_checked(Menu item, bool checked) = 0;
  virtual void set_visible(Control c, bool visible) = 0;
  // Moves a control's top-left corner (twips).
  virtual void move_control(Control c, int left, int top) = 0;
  virtual void set_text(Control c, std::string_view utf8) = 0;
  // Modal message box; returns the user's answer (ok for an OK box).
  virtual Answer message_box(std::string_view text, std::string_view title, Buttons buttons,
                             Icon icon) = 0;
  virtual void set_timer(bool enabled) = 0;
  // Fills one of the panel's three lists and marks the selected row (-1 none).
  virtual void set_list(Control c, const std::vector<std::string>& items, int selected) = 0;
  // The status line under the board.
  virtual void set_status(std::string_view) {}
  // The move list beside the board: shown or hidden, its rows and the current one (-1 none).
  virtual void set_ichiran(bool, const std::vector<std::string>&, int) {}
  // The class of each row of the move list after an analysis (0 none, 1 緩手, 2 疑問手,
  // 3 悪手), shown as a mark beside the row and its colour; empty: no analysis.
  virtual void set_ichiran_rui(const std::vector<int>&) {}
  // The analysis graph (KaisekiZu), hidden when it has no points.
  virtual void set_kaiseki_zu(const KaisekiZu&) {}
  // While on, the window calls Game::on_poll about ten times a second: the game has
  // work beside the window (an analysis) to look in on.
  virtual void set_poll(bool) {}
  // The game has shut down (sounds freed); the window closes.
  virtual void quit() = 0;
  // While the computer plays its turn the menus that could not act are shown disabled.
  virtual void set_menus_enabled(bool) {}
  // The user asked to close the window while an event was being handled (a box up): the
  // game gives up what it is doing and the close follows.
  virtual bool close_requested() const { return false; }
};

// Time of day in seconds since midnight, with fractions, and the game's steps that wait:
// the game never waits itself, it asks to be called back, and the window answers every
// event meanwhile.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual double now() = 0;
  // Calls `step` on the window's thread once `seconds` have passed.
  virtual void ato_de(double seconds, std::function<void()> step) = 0;
  // Runs `work` beside the window, then `done` on the window's thread. `work` touches
  // nothing of the game's but what it was given.
  virtual void betsu_de(std::function<void()> work, std::function<void()> done) = 0;
};

// The product's sound library, as its C interface offers it.
class SoundLib {
 public:
  virtual ~SoundLib() = default;
  virtual std::int32_t initialize(std::intptr_t window) = 0;
  virtual void terminate(std::int32_t context) = 0;
  virtual std::int32_t create_dsb(std::int32_t context, const void* wav, std::size_t size,
                                  std::int32_t flags) = 0;
  virtual void play(std::int32_t handle) = 0;
  virtual void play_looping(std::int32_t handle) = 0;
  virtual void stop(std::int32_t handle) = 0;
  virtual void free(std::int32_t handle) = 0;
  // Why the last initialize or create_dsb answered 0 (shown to the user as it is).
  virtual std::string last_error() const { return {}; }
};

// The five sounds, in the order start-up loads them.
enum class Oto : int { sonota, kinshi, koma, jusei, bgm, COUNT };

// Optional observer of sound requests by name (the event runner reports them even
// when a handle is 0).
class SoundTrace {
 public:
  virtual ~SoundTrace() = default;
  virtual void sound(std::string_view verb, Oto which) = 0;
};

struct Ports {
  Canvas* canvas;
  Ui* ui;
  Clock* clock;
  SoundLib* sound;
  SoundTrace* trace = nullptr;
};

}  // namespace mirado
