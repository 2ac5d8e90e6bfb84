// mirado-shogi: the game window.
//   mirado-shogi                               play
//   mirado-shogi --user-data                   play, keeping the settings file and the
//                                              records in the player's own data folder
//   mirado-shogi --events FILE                 play the lines of an event-runner script
//                                              in the live window, then leave it to the player
//   mirado-shogi --screenshot FILE.png [--scale N] [--events FILE]
//                                              render the window after start-up (and after
//                                              the events of an event-runner script) to a
//                                              PNG and exit, without a display
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFont>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <QThread>
#include <QTimer>

#include "app/script.h"
#include "qt/main_window.h"
#include "sound/sound_port.h"

namespace {

namespace fs = std::filesystem;

struct Options {
  const char* screenshot = nullptr;
  const char* events = nullptr;
  double scale = 1.0;
  bool user_data = false;
  bool help = false;
  bool version = false;
  bool ok = true;
  const char* bad = nullptr;  // the argument that was not understood
  // The file names above, made absolute before the game changes to the player's data
  // folder, so that they still name the files the player meant.
  std::string screenshot_path;
  std::string events_path;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc && o.ok; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--screenshot") == 0 && i + 1 < argc) {
      o.screenshot = argv[++i];
    } else if (std::strcmp(arg, "--events") == 0 && i + 1 < argc) {
      o.events = argv[++i];
    } else if (std::strcmp(arg, "--scale") == 0 && i + 1 < argc) {
      o.scale = std::atof(argv[++i]);
      if (!(o.scale >= 0.5 && o.scale <= 8)) o.ok = false;
    } else if (std::strcmp(arg, "--user-data") == 0) {
      o.user_data = true;
    } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      o.help = true;
    } else if (std::strcmp(arg, "--version") == 0) {
      o.version = true;
    } else {
      o.ok = false;
    }
    if (!o.ok) o.bad = arg;
  }
  return o;
}

constexpr const char* kUsage =
    "Usage: mirado-shogi [--user-data] [--events FILE] [--screenshot FILE.png [--scale N]]\n";

void help() {
  std::fputs(kUsage, stdout);
  std::fputs(
      "Play Mirado Shogi, shogi in which every turn is three moves, in a window.\n"
      "\n"
      "Options:\n"
      "  --user-data        keep the settings file and the game records in\n"
      "                     $XDG_DATA_HOME/mirado-shogi (~/.local/share/mirado-shogi),\n"
      "                     made on first start, instead of the working directory;\n"
      "                     when it cannot be used the game says so, starts with the\n"
      "                     default settings and saves nothing of its own\n"
      "  --screenshot FILE  draw the window after start-up into the PNG file FILE and\n"
      "                     exit; needs no display\n"
      "  --scale N          size of the screenshot, 0.5 to 8 times the window (default 1)\n"
      "  --events FILE      play the event lines of FILE (menu NAME, cell B C R,\n"
      "                     press B X Y, key N, wait S, ...) in the window once it is\n"
      "                     shown, as a player would, then leave it to the player;\n"
      "                     with --screenshot, play them before the picture is taken\n"
      "  -h, --help         show this help and exit\n"
      "  --version          show the version and exit\n",
      stdout);
}

int bad_usage(const Options& o) {
  std::fprintf(stderr, "mirado-shogi: bad option or value '%s'\n", o.bad ? o.bad : "");
  std::fputs(kUsage, stderr);
  std::fputs("Try 'mirado-shogi --help' for more information.\n", stderr);
  return 2;
}

// $XDG_DATA_HOME when set to an absolute path (a relative one does not count), else
// the usual folder under the home folder; "" when neither is known.
fs::path xdg_dir(const char* variable, const char* under_home) {
  if (const char* xdg = std::getenv(variable); xdg && xdg[0] == '/')
    return fs::path(xdg) / "mirado-shogi";
  if (const char* home = std::getenv("HOME"); home && home[0] != '\0')
    return fs::path(home) / under_home / "mirado-shogi";
  return {};
}

// Makes `dir` and any missing parents, private to the player as the XDG folders should
// be; folders that exist already are left as they are.
void make_private_dirs(const fs::path& dir) {
  fs::path made;
  for (const fs::path& part : dir) {
    made /= part;
    ::mkdir(made.c_str(), 0700);
  }
}

// Makes `dir` if need be and changes into it, when it is a folder this user can write.
// Empty when entered, else why not.
std::string enter_writable(const fs::path& dir) {
  if (dir.empty()) return "neither XDG_DATA_HOME nor HOME is set";
  make_private_dirs(dir);
  struct stat st {};
  if (::stat(dir.c_str(), &st) != 0) return std::strerror(errno);
  if (!S_ISDIR(st.st_mode)) return std::strerror(ENOTDIR);
  if (::access(dir.c_str(), W_OK | X_OK) != 0 || ::chdir(dir.c_str()) != 0) return std::strerror(errno);
  return {};
}

// Started from the desktop's menu the working directory is the home folder, which is no
// place for the settings file and the records: the game works in the player's data
// folder instead. When that cannot be made or written the player is told, and the game
// starts with the default options and writes nothing of its own anywhere: a second
// place for the settings could disagree with the first at the next start. Empty when
// entered, else the message for the status line.
std::string enter_user_data(Options& o) {
  std::error_code ec;
  if (o.screenshot) {
    o.screenshot_path = fs::absolute(o.screenshot, ec).string();
    if (!ec) o.screenshot = o.screenshot_path.c_str();
  }
  if (o.events) {
    o.events_path = fs::absolute(o.events, ec).string();
    if (!ec) o.events = o.events_path.c_str();
  }
  const fs::path dir = xdg_dir("XDG_DATA_HOME", ".local/share");
  const std::string why = enter_writable(dir);
  if (why.empty()) return {};
  std::fprintf(stderr,
               "mirado-shogi: cannot use the data folder %s (%s): starting with the default "
               "settings and saving neither them nor a game in progress\n",
               dir.empty() ? "$XDG_DATA_HOME/mirado-shogi" : dir.c_str(), why.c_str());
  return why + ": " + (dir.empty() ? std::string("$XDG_DATA_HOME/mirado-shogi") : dir.string());
}

// The script's event lines, each checked before the window opens.
bool read_events(const char* path, std::vector<std::string>& lines) {
  std::vector<mirado::ScriptLine> script;
  std::string error;
  if (!mirado::read_script(path, script, error)) {
    std::fprintf(stderr, "mirado-shogi: %s\n", error.c_str());
    return false;
  }
  for (mirado::ScriptLine& line : script) {
    if (!mirado::parse_event(line.text, error)) {
      std::fprintf(stderr, "mirado-shogi: %s line %d: %s\n", path, line.no, error.c_str());
      return false;
    }
    lines.push_back(std::move(line.text));
  }
  return true;
}

// Plays a player's report back in the live window: one line at a time, each once the
// one before has been handled and shown; `wait S` lets S seconds pass with the window
// live. Boxes are real and are answered by whoever sits at the window.
class LivePlayer : public QObject {
 public:
  LivePlayer(mirado::qt::MainWindow& w, std::vector<std::string> lines)
      : QObject(&w), window_(w), lines_(std::move(lines)) {
    QTimer::singleShot(0, this, [this] { step(); });
  }

 private:
  void step() {
    if (next_ >= lines_.size() || window_.game().quitting()) return;
    // The game plays on by itself (the computer's turn), or a box waits for its answer:
    // the next line waits for them.
    if (window_.game().machichu() || window_.busy()) {
      QTimer::singleShot(20, this, [this] { step(); });
      return;
    }
    const std::string& line = lines_[next_++];
    std::string error;
    const auto e = mirado::parse_event(line, error);
    int delay_ms = 0;
    if (e && e->kind == mirado::ScriptEvent::Kind::wait) delay_ms = static_cast<int>(e->seconds * 1000);
    else window_.apply_event(line);
    QTimer::singleShot(delay_ms, this, [this] { step(); });
  }

  mirado::qt::MainWindow& window_;
  std::vector<std::string> lines_;
  std::size_t next_ = 0;
};

void play_live(mirado::qt::MainWindow& w, std::vector<std::string> lines) { new LivePlayer(w, std::move(lines)); }

int screenshot(mirado::qt::MainWindow& w, const Options& o, const std::vector<std::string>& script) {
  w.set_auto_answer(true);
  w.surface().setFixedSize(static_cast<int>(mirado::qt::Surface::kBaseW * o.scale),
                           static_cast<int>(mirado::qt::Surface::kBaseH * o.scale));
  w.set_status_scale(o.scale);
  w.adjustSize();
  w.start_up();
  for (const std::string& line : script) {
    w.apply_event(line);
    // The computer's turn and the pauses play out before the next line, as a player waits.
    while (w.game().machichu() && !w.game().quitting()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      QThread::msleep(5);
    }
  }
  // An analysis the script started is let finish, so the picture shows what it found.
  while (w.game().hint_kaiseki().kaiseki_chu()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  const QImage shot = w.grab().toImage();
  if (!shot.save(QString::fromUtf8(o.screenshot))) {
    std::fprintf(stderr, "mirado-shogi: cannot write %s\n", o.screenshot);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer since_start;
  since_start.start();
  Options o = parse(argc, argv);
  if (!o.ok) return bad_usage(o);
  if (o.help) {
    help();
    return 0;
  }
  if (o.version) {
    std::puts("mirado-shogi " MIRADO_VERSION);
    return 0;
  }
  const std::string no_data_folder = o.user_data ? enter_user_data(o) : std::string();
  std::vector<std::string> script;
  if (o.events && !read_events(o.events, script)) return 2;
  if (o.screenshot) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
  QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐ明朝")));

  mirado::SdlSound sound;
  mirado::qt::MainWindow w(&sound);
  const std::string exe_dir = mirado::program_dir();
  w.game().onkyou().oto_basho(exe_dir, mirado::installed_data_dir(exe_dir));
  if (!no_data_folder.empty()) w.game().hozon_basho_nashi(no_data_folder);
  if (o.screenshot) {
    const int status = screenshot(w, o, script);
    w.game().onkyou().tojiru();  // the sounds and the device, as closing the window frees them
    return status;
  }

  if (qEnvironmentVariableIsSet("MIRADO_TRACE_STARTUP")) {
    QObject::connect(&w.surface(), &mirado::qt::Surface::first_painted, [&since_start] {
      std::fprintf(stderr, "first frame painted %lld ms after start\n",
                   static_cast<long long>(since_start.elapsed()));
    });
  }
  w.resize(w.initial_size());
  w.show();
  w.start_up();
  if (w.game().quitting()) return 0;
  if (o.events) {
    // The script starts once the window has been shown and painted.
    if (w.surface().painted())
      play_live(w, script);
    else
      QObject::connect(&w.surface(), &mirado::qt::Surface::first_painted, &w,
                       [&w, script] { play_live(w, script); }, Qt::SingleShotConnection);
  }
  return app.exec();
}
