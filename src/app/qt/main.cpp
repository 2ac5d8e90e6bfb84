// mirado-shogi: the game window.
//   mirado-shogi                               play
//   mirado-shogi --events FILE                 play the lines of an event-runner script
//                                              in the live window, then leave it to the player
//   mirado-shogi --screenshot FILE.png [--scale N] [--events FILE]
//                                              render the window after start-up (and after
//                                              the events of an event-runner script) to a
//                                              PNG and exit, without a display
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFont>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QTimer>

#include "app/qt/main_window.h"
#include "app/script.h"
#include "sound/sound_port.h"

namespace {

struct Options {
  const char* screenshot = nullptr;
  const char* events = nullptr;
  double scale = 1.0;
  bool ok = true;
};

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      o.screenshot = argv[++i];
    } else if (std::strcmp(argv[i], "--events") == 0 && i + 1 < argc) {
      o.events = argv[++i];
    } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
      o.scale = std::atof(argv[++i]);
      if (!(o.scale >= 0.5 && o.scale <= 8)) o.ok = false;
    } else {
      o.ok = false;
    }
  }
  return o;
}

bool read_script(const char* path, std::vector<std::string>& lines) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "mirado-shogi: cannot read %s\n", path);
    return false;
  }
  std::string line;
  std::string error;
  for (int n = 1; std::getline(in, line); ++n) {
    if (line.empty() || line[0] == '#') continue;
    if (!mirado::parse_event(line, error)) {
      std::fprintf(stderr, "mirado-shogi: %s line %d: %s\n", path, n, error.c_str());
      return false;
    }
    lines.push_back(line);
  }
  return true;
}

// Plays a player's report back in the live window: one line at a time, each once the
// one before has been handled and shown; `wait S` lets S seconds pass with the window
// live. Boxes are real and are answered by whoever sits at the window.
void play_live(mirado::qt::MainWindow& w, std::vector<std::string> lines) {
  auto next = std::make_shared<std::function<void(std::size_t)>>();
  *next = [&w, lines = std::move(lines), next](std::size_t i) {
    if (i >= lines.size() || w.game().quitting) return;
    std::string error;
    const auto e = mirado::parse_event(lines[i], error);
    int delay_ms = 0;
    if (e && e->kind == mirado::ScriptEvent::Kind::wait) delay_ms = static_cast<int>(e->seconds * 1000);
    else w.apply_event(lines[i]);
    QTimer::singleShot(delay_ms, &w, [next, i] { (*next)(i + 1); });
  };
  QTimer::singleShot(0, &w, [next] { (*next)(0); });
}

int screenshot(mirado::qt::MainWindow& w, const Options& o) {
  w.set_auto_answer(true);
  w.surface().setFixedSize(static_cast<int>(mirado::qt::Surface::kBaseW * o.scale),
                           static_cast<int>(mirado::qt::Surface::kBaseH * o.scale));
  w.adjustSize();
  w.start_up();
  if (o.events) {
    std::ifstream in(o.events);
    if (!in) {
      std::fprintf(stderr, "mirado-shogi: cannot read %s\n", o.events);
      return 2;
    }
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      if (line.empty() || line[0] == '#') continue;
      if (!w.apply_event(line)) {
        std::fprintf(stderr, "mirado-shogi: %s line %d: not an event\n", o.events, n);
        return 2;
      }
    }
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
  const Options o = parse(argc, argv);
  if (!o.ok) {
    std::fputs("usage: mirado-shogi [--events FILE] [--screenshot FILE.png [--scale N]]\n", stderr);
    return 2;
  }
  if (o.screenshot) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
  QApplication::setFont(QFont(QStringLiteral("ＭＳ Ｐ明朝")));

  mirado::SdlSound sound;
  mirado::qt::MainWindow w(&sound);
  w.game().exe_dir = mirado::program_dir();
  w.game().data_dir = mirado::installed_data_dir(w.game().exe_dir);
  if (o.screenshot) {
    const int status = screenshot(w, o);
    w.game().shuuryou();  // the sounds and the device, as closing the window frees them
    return status;
  }

  if (qEnvironmentVariableIsSet("MIRADO_TRACE_STARTUP")) {
    QObject::connect(&w.surface(), &mirado::qt::Surface::first_painted, [&since_start] {
      std::fprintf(stderr, "first frame painted %lld ms after start\n",
                   static_cast<long long>(since_start.elapsed()));
    });
  }
  std::vector<std::string> script;
  if (o.events && !read_script(o.events, script)) return 2;
  w.resize(w.initial_size());
  w.show();
  w.start_up();
  if (w.game().quitting) return 0;
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
