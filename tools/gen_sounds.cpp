// Synthesises the game's five sounds as 16-bit mono WAV files:
//   駒打音.wav  a wooden click when a piece is placed
//   禁止.wav    a soft double buzz when something is refused
//   銃声.wav    a starter's shot when a game begins
//   その他.wav  a two-note chime for the about box
//   BGM.wav     a calm pentatonic tune of about 29 s that loops without a seam
// Usage: gen_sounds OUTPUT_DIR. The output is the same on every run.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

int frames(double seconds) { return static_cast<int>(std::lround(seconds * kRate)); }

double midi_hz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Fixed-seed noise so every build writes the same bytes.
class Noise {
 public:
  double next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<double>(state_) / 2147483648.0 - 1.0;
  }

 private:
  std::uint32_t state_ = 0x2545F491u;
};

void normalize(Samples& s, double peak) {
  double m = 0;
  for (double v : s) m = std::max(m, std::abs(v));
  if (m > 0)
    for (double& v : s) v *= peak / m;
}

// Short linear fades so no sound starts or ends with a click.
void fade(Samples& s, double in_s, double out_s) {
  const int in = std::min<int>(frames(in_s), static_cast<int>(s.size()));
  const int out = std::min<int>(frames(out_s), static_cast<int>(s.size()));
  for (int i = 0; i < in; ++i) s[i] *= static_cast<double>(i) / in;
  for (int i = 0; i < out; ++i) s[s.size() - 1 - i] *= static_cast<double>(i) / out;
}

// A decaying sine: the ringing mode of a struck body.
void add_mode(Samples& s, int at, double hz, double amp, double tau) {
  for (size_t i = at; i < s.size(); ++i) {
    const double t = static_cast<double>(i - at) / kRate;
    s[i] += amp * std::exp(-t / tau) * std::sin(2 * kPi * hz * t);
  }
}

Samples koma() {
  Samples s(frames(0.16));
  // Inharmonic modes of a hard wooden block, the high ones dying first.
  add_mode(s, 0, 560, 0.45, 0.040);
  add_mode(s, 0, 1180, 1.0, 0.028);
  add_mode(s, 0, 2390, 0.55, 0.016);
  add_mode(s, 0, 3760, 0.30, 0.009);
  // The contact itself: a few milliseconds of bright noise.
  Noise n;
  double prev = 0;
  for (int i = 0; i < frames(0.004); ++i) {
    const double x = n.next();
    s[i] += 0.6 * (x - prev) * (1.0 - static_cast<double>(i) / frames(0.004));
    prev = x;
  }
  fade(s, 0.0005, 0.02);
  normalize(s, 0.75);
  return s;
}

Samples kinshi() {
  Samples s(frames(0.42));
  // Two short low tones of a band-limited sawtooth, slightly detuned pairs for a buzz.
  for (double start : {0.0, 0.22}) {
    const int at = frames(start), len = frames(0.15);
    for (int i = 0; i < len; ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double env = std::min({1.0, t / 0.006, (0.15 - t) / 0.03});
      double v = 0;
      for (int k = 1; k <= 12; ++k)
        v += (std::sin(2 * kPi * 150 * k * t) + std::sin(2 * kPi * 151 * k * t)) / (k * 1.3);
      s[at + i] += env * v;
    }
  }
  normalize(s, 0.6);
  return s;
}

Samples jusei() {
  Samples s(frames(1.1));
  Noise n;
  double lp1 = 0, lp2 = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double x = n.next();
    lp1 += 0.35 * (x - lp1);   // body of the bang
    lp2 += 0.06 * (x - lp2);   // the duller echo that follows
    double v = 0;
    if (t < 0.008) v += x * (1.0 - t / 0.008);  // the crack
    v += 1.4 * lp1 * std::exp(-t / 0.07);
    v += 2.2 * lp2 * std::exp(-t / 0.30);
    const double thump_hz = 50 + 60 * std::exp(-t / 0.03);
    v += 0.8 * std::exp(-t / 0.09) * std::sin(2 * kPi * thump_hz * t);
    s[i] = v;
  }
  fade(s, 0.0003, 0.1);
  normalize(s, 0.8);
  return s;
}

Samples sonota() {
  Samples s(frames(1.8));
  // A bell-like note: the fundamental rings longest, the upper partials fade early.
  auto bell = [&](double start, double note) {
    const double f = midi_hz(note);
    const int at = frames(start);
    add_mode(s, at, f, 1.0, 0.70);
    add_mode(s, at, f * 2.0, 0.35, 0.40);
    add_mode(s, at, f * 3.01, 0.15, 0.22);
    add_mode(s, at, f * 4.17, 0.08, 0.12);
  };
  bell(0.0, 88);   // E6
  bell(0.32, 84);  // C6
  fade(s, 0.002, 0.3);
  normalize(s, 0.6);
  return s;
}

// ---- the looping tune ----

constexpr double kBeat = 60.0 / 66;  // 66 beats a minute
constexpr int kBars = 8;
const int kLoop = frames(kBars * 4 * kBeat);

// Adds a sound into the loop, wrapping its tail round to the start so the end of the
// file flows into its beginning.
void mix_loop(Samples& loop, double at_beat, const Samples& sound, double gain) {
  const size_t at = frames(at_beat * kBeat);
  for (size_t i = 0; i < sound.size(); ++i) loop[(at + i) % loop.size()] += gain * sound[i];
}

// A plucked string (Karplus-Strong): a noise burst circulating in a delay line.
Samples pluck(double note, double seconds, double brightness, Noise& n) {
  const int period = std::max(2, static_cast<int>(std::lround(kRate / midi_hz(note))));
  std::vector<double> line(period);
  double lp = 0;
  for (double& v : line) {
    lp += brightness * (n.next() - lp);
    v = lp;
  }
  Samples s(frames(seconds));
  for (size_t i = 0; i < s.size(); ++i) {
    const size_t k = i % period;
    const double out = line[k];
    line[k] = 0.996 * 0.5 * (line[k] + line[(k + 1) % period]);
    s[i] = out;
  }
  fade(s, 0.001, 0.3);
  return s;
}

// A soft chord that swells in and out over one bar.
Samples pad(const std::vector<double>& notes, double seconds) {
  Samples s(frames(seconds));
  for (size_t i = 0; i < s.size(); ++i) {
    const double t = static_cast<double>(i) / kRate;
    const double env = std::min({1.0, t / 0.9, (seconds - t) / 1.2});
    double v = 0;
    for (double note : notes) {
      const double f = midi_hz(note);
      v += std::sin(2 * kPi * f * t) + 0.5 * std::sin(2 * kPi * f * 1.003 * t);
    }
    s[i] = std::max(0.0, env) * v;
  }
  return s;
}

// A small Schroeder reverb, run twice round the loop so that its tail is steady
// across the joint.
Samples reverb(const Samples& dry) {
  struct Comb { std::vector<double> buf; size_t i = 0; double store = 0; };
  struct Allpass { std::vector<double> buf; size_t i = 0; };
  std::vector<Comb> combs;
  for (int d : {1557, 1617, 1491, 1422}) combs.push_back({std::vector<double>(d)});
  std::vector<Allpass> aps;
  for (int d : {556, 225}) aps.push_back({std::vector<double>(d)});
  Samples wet(dry.size());
  for (int pass = 0; pass < 2; ++pass)
    for (size_t i = 0; i < dry.size(); ++i) {
      double out = 0;
      for (Comb& c : combs) {
        const double y = c.buf[c.i];
        c.store = y * 0.7 + c.store * 0.3;  // damping of the high frequencies
        c.buf[c.i] = dry[i] + c.store * 0.8;
        c.i = (c.i + 1) % c.buf.size();
        out += y;
      }
      for (Allpass& a : aps) {
        const double b = a.buf[a.i];
        a.buf[a.i] = out + b * 0.5;
        out = b - out;
        a.i = (a.i + 1) % a.buf.size();
      }
      wet[i] = out;
    }
  return wet;
}

struct Note {
  double beats;
  int midi;
};

Samples bgm() {
  Samples loop(kLoop);
  Noise n;
  // Melody in D on the five notes D E G A B, eight bars of four beats.
  enum : int { D4 = 62, E4 = 64, G4 = 67, A4 = 69, B4 = 71, D5 = 74, E5 = 76 };
  const std::vector<Note> melody = {
      {1, A4}, {0.5, B4}, {0.5, A4}, {1, G4}, {1, E4},
      {1.5, D4}, {0.5, E4}, {2, G4},
      {1, A4}, {1, D5}, {1, B4}, {1, A4},
      {1, G4}, {0.5, A4}, {0.5, G4}, {2, E4},
      {1, E5}, {0.5, D5}, {0.5, B4}, {1, A4}, {1, B4},
      {1.5, D5}, {0.5, B4}, {2, A4},
      {1, G4}, {0.5, A4}, {0.5, G4}, {1, E4}, {1, G4},
      {1, E4}, {3, D4}};
  double beat = 0;
  for (const Note& m : melody) {
    mix_loop(loop, beat, pluck(m.midi, std::max(1.2, m.beats * kBeat + 0.8), 0.5, n), 0.55);
    beat += m.beats;
  }
  // Bass and a soft chord on each bar: root on beat 1, fifth on beat 3.
  const int roots[kBars] = {38, 43, 45, 40, 43, 38, 43, 38};  // D G A E G D G D
  for (int bar = 0; bar < kBars; ++bar) {
    const int r = roots[bar];
    mix_loop(loop, bar * 4.0, pluck(r, 2.4, 0.25, n), 0.7);
    mix_loop(loop, bar * 4.0 + 2, pluck(r + 7, 2.0, 0.25, n), 0.45);
    mix_loop(loop, bar * 4.0, pad({r + 12.0, r + 19.0, r + 24.0}, 4 * kBeat + 1.0), 0.035);
  }
  const Samples wet = reverb(loop);
  for (size_t i = 0; i < loop.size(); ++i) loop[i] += 0.22 * wet[i];
  normalize(loop, 0.45);  // quieter than the effects it plays under
  return loop;
}

void put16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

bool write_wav(const std::filesystem::path& path, const Samples& s) {
  const auto data_bytes = static_cast<std::uint32_t>(s.size() * 2);
  std::string out = "RIFF";
  put32(out, 36 + data_bytes);
  out += "WAVEfmt ";
  put32(out, 16);
  put16(out, 1);  // PCM
  put16(out, 1);  // mono
  put32(out, kRate);
  put32(out, kRate * 2);
  put16(out, 2);
  put16(out, 16);
  out += "data";
  put32(out, data_bytes);
  for (double v : s) {
    const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767);
    put16(out, static_cast<unsigned>(q) & 0xFFFF);
  }
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(out.data(), static_cast<std::streamsize>(out.size()));
  return static_cast<bool>(f.flush());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const struct {
    const char* name;
    Samples (*make)();
  } sounds[] = {{"その他.wav", sonota}, {"禁止.wav", kinshi}, {"駒打音.wav", koma},
                {"銃声.wav", jusei}, {"BGM.wav", bgm}};
  for (const auto& s : sounds) {
    if (!write_wav(dir / s.name, s.make())) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], (dir / s.name).c_str());
      return 1;
    }
  }
  return 0;
}
