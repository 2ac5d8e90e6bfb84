// The main window: menus, controls, timer and message boxes for the game object.
// It owns no game state; it forwards events and implements the ports.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <thread>

#include "app/game.h"
#include "qt/close_watch.h"
#include "qt/kaiseki_graph.h"
#include "qt/surface.h"

class QAbstractButton;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMessageBox;
class QPushButton;

namespace mirado::qt {

// Time of day from a monotonic clock anchored at start-up, so a clock step cannot make
// a player's time jump. The game's steps come back through the window's event loop, by
// timers; its searches run on threads of their own, their answers posted back.
class WindowClock : public Clock {
 public:
  WindowClock();
  ~WindowClock() override;
  double now() override;
  void ato_de(double seconds, std::function<void()> step) override;
  void betsu_de(std::function<void()> work, std::function<void()> done) override;
  // Where steps and answers are delivered: `owner`'s thread, through `run`, which runs
  // a step when the window can take it.
  QObject* owner = nullptr;
  std::function<void(const std::function<void()>&)> run;
  // Waits for the threads still working (their work was told to stop).
  void join_all();

 private:
  QElapsedTimer elapsed_;
  double anchor_;
  std::map<int, std::thread> workers_;
  int next_worker_ = 0;
};

class MainWindow : public QMainWindow, public Ui {
  Q_OBJECT

 public:
  explicit MainWindow(SoundLib* sound);
  ~MainWindow() override;

  Game& game() { return *game_; }
  Surface& surface() { return *surface_; }
  void start_up();
  QAction* action(Menu m) const { return actions_[static_cast<int>(m)]; }
  QWidget* control(Control c) const { return controls_[static_cast<int>(c)]; }
  // Applies one line of an event script as if the user had done it; false for a line
  // that is not an event. Answers, clock settings and waits have no effect here.
  bool apply_event(const std::string& line);
  // For runs without a user: message boxes are answered at once (OK, or Yes) and
  // written to stderr instead of waiting for a click.
  void set_auto_answer(bool on) { auto_answer_ = on; }
  // The design size in logical pixels, shrunk to fit the screen keeping its shape.
  QSize initial_size() const;
  // True while a command runs (boxes it shows included).
  bool busy() const { return busy_; }

  // Ui
  void set_checked(Menu item, bool checked) override;
  void set_visible(Control c, bool visible) override;
  void move_control(Control c, int left, int top) override;
  void set_text(Control c, std::string_view utf8) override;
  Answer message_box(std::string_view text, std::string_view title, Buttons buttons, Icon icon) override;
  void set_timer(bool enabled) override;
  void set_menus_enabled(bool on) override;
  void set_list(Control c, const std::vector<std::string>& items, int selected) override;
  void set_status(std::string_view utf8) override;
  void set_ichiran(bool shown, const std::vector<std::string>& rows, int current) override;
  void set_ichiran_rui(const std::vector<int>& rui) override;
  void set_kaiseki_zu(const KaisekiZu& zu) override;
  void set_poll(bool on) override;
  KaisekiGraph* kaiseki_graph() const { return graph_; }
  // The status line under the board and the move list beside it (window widgets, not
  // part of the design's picture).
  QLabel* status_line() const { return status_; }
  QListWidget* move_list() const { return ichiran_; }
  // The status line's height in logical pixels (the picture keeps the rest).
  static constexpr int kStatusH = 20;
  // Scales the status line with a picture drawn at `scale` times the design size.
  void set_status_scale(double scale);
  void quit() override;
  // A close asked for while the game handles an event (the computer thinking).
  bool close_requested() const override { return close_pending_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void build_menus();
  void build_controls();
  void build_status_and_list();
  void copy_move_list();
  void place_controls();
  // Runs one game event; a close request that arrives meanwhile is acted on afterwards.
  // Refused while the game plays on by itself (the computer's turn, a pause).
  void handle(const std::function<void()>& f);
  // Runs one of the game's own steps (a timer or a search came back): at once, or once
  // the event or box under way is done.
  void run_step(const std::function<void()>& f);
  // What every event and step ends with: the window brought up to date.
  void after(const std::function<void()>& f);
  // A close request (title bar, window manager, Esc): now, or when the command ends.
  void request_close();
  bool is_own_widget(QObject* o) const;
  // Shows a box until it is answered; a close request meanwhile answers `safe`.
  void run_box(QMessageBox& box, QAbstractButton* safe);

  WindowClock clock_;
  std::unique_ptr<Game> game_;
  Surface* surface_;
  QLabel* status_ = nullptr;
  QListWidget* ichiran_ = nullptr;
  KaisekiGraph* graph_ = nullptr;
  std::vector<int> ichiran_rui_;  // the analysis' class of each row of the move list
  void rui_nuru();                // marks and colours the rows by class
  void graph_takasa();            // the graph's height follows the window's width
  QTimer timer1_;
  QTimer poll_;
  std::array<QAction*, static_cast<int>(Menu::COUNT)> actions_{};
  std::array<QWidget*, static_cast<int>(Control::COUNT)> controls_{};
  std::map<Control, QRect> geometry_;  // twips
  bool busy_ = false;
  bool close_pending_ = false;
  bool closing_ = false;
  bool auto_answer_ = false;
  bool box_open_ = false;
  QPointer<QAbstractButton> box_safe_;  // the open box's safe answer
  std::unique_ptr<CloseRequestWatch> close_watch_;  // a box of the game's is waiting for an answer
};

}  // namespace mirado::qt
