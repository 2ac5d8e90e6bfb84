// mirado-shogi: the game window.
//   mirado-shogi                               play
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
#include <string>

#include "app/qt/main_window.h"
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
    std::fputs("usage: mirado-shogi [--screenshot FILE.png [--scale N] [--events FILE]]\n", stderr);
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
  w.show();
  w.start_up();
  if (w.game().quitting) return 0;
  return app.exec();
}
