// mirado-cli match: the computer against itself, to measure strength.
//
//   mirado-cli match --a LEVEL --b LEVEL [--games N] [--openings FILE] [--jobs J]
//                    [--max-moves M] [--nodes N | --ms T] [--a-nodes N | --a-ms T]
//                    [--b-nodes N | --b-ms T] [--sprt E0,E1 [--alpha A] [--beta B]]
//                    [--pgn-like DIR]
//   mirado-cli openings N [--seed S]
//
// Every opening is played twice, A with the lower pieces (moving first) and then B.
// Whoever holds the turn plays as the design's computer does, on the upper pieces: the
// board is turned for the side playing the lower pieces. A game ends as the computer's
// procedures end it (a captured king, a mate found after a move) or is drawn at the move
// cap. A side's own budget goes before the shared one. With --sprt the match stops as soon
// as the games, counted in the order they were dealt, accept one hypothesis; games still
// being played then are finished but not counted, so any number of jobs counts the same
// games. Progress goes to stderr; the result is one JSON object. With --pgn-like every game
// is written into DIR as a record file the game can load: from the even start with the
// opening's moves, so an opening elsewhere without its moves is refused before play.
//
// `openings` prints a set of openings made of two whole turns of random quiet legal
// moves from the start, each with its moves; the built-in set was made with it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "cli/openings.h"
#include "engine/keisei.h"
#include "engine/tansaku.h"
#include "engine/yomi.h"
#include "kifu/file_io.h"
#include "kifu/kensa.h"
#include "kifu/kifu_file.h"
#include "rules/sfen.h"
#include "taikyoku/taikyoku.h"

namespace {

using json = nlohmann::ordered_json;
using namespace mirado;

// ---- openings ----

// A million openings fit in far less; a bigger file is no set of openings.
constexpr std::size_t kOpeningsSaidaiByte = 64u << 20;

// One line of a set of openings, kept as the text it was read from (which outlives it): a
// parsed position is some fifty times the size of its line, and a set may hold a million.
struct Opening {
  int line = 0;             // in its file
  std::string_view sfen;
  std::string_view moves;   // how it arose from the start, in record form, when known
};

// A move in record form: source column and row (for a drop the hand cell's row),
// target, the code before and after.
std::string entry_text(const KifuEntry& e) {
  std::ostringstream o;
  o << e.te.fc << ',' << moto_gyou(e.te.fc, e.te.fr) << ',' << e.te.tc << ',' << e.te.tr << ','
    << e.moto_koma << ',' << e.te.koma;
  return o.str();
}

bool parse_entry_text(const std::string& s, KifuEntry& e) {
  int v[6];
  std::istringstream in(s);
  char comma;
  for (int i = 0; i < 6; ++i) {
    if (!(in >> v[i])) return false;
    if (i < 5 && !(in >> comma && comma == ',')) return false;
  }
  e = KifuEntry{};
  e.te = Te{v[0], moto_fr(v[0], v[1]), v[2], v[3], v[5]};
  e.moto_koma = v[4];
  return true;
}

// The position of an opening and its moves; false with the reason when either is bad.
bool parse_opening(const Opening& o, SfenPosition& sp, std::vector<KifuEntry>& moves, std::string& error) {
  std::string why;
  if (!parse_sfen(o.sfen, sp, why)) {
    error = "line " + std::to_string(o.line) + ": bad SFEN: " + why;
    return false;
  }
  moves.clear();
  std::istringstream ms{std::string(o.moves)};
  for (std::string word; ms >> word;) {
    KifuEntry e;
    if (!parse_entry_text(word, e)) {
      error = "line " + std::to_string(o.line) + ": bad move '" + word + "'";
      return false;
    }
    moves.push_back(e);
  }
  return true;
}

// One opening a line: the SFEN, then optionally " ; " and the moves from the start. Each
// line is checked here and parsed again when its games are played.
bool parse_openings(std::string_view text, std::vector<Opening>& out, std::string& error) {
  int n = 0;
  SfenPosition sp;
  std::vector<KifuEntry> moves;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++n;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos || line[0] == '#') continue;
    Opening o;
    o.line = n;
    const std::size_t semi = line.find(';');
    o.sfen = line.substr(0, semi);
    if (semi != std::string_view::npos) o.moves = line.substr(semi + 1);
    while (!o.sfen.empty() && o.sfen.back() == ' ') o.sfen.remove_suffix(1);
    if (!parse_opening(o, sp, moves, error)) return false;
    out.push_back(std::move(o));
  }
  if (out.empty()) error = "no openings";
  return !out.empty();
}

// Fills in what each move of an opening took, played from the even position, as a record
// keeps it; returns the position they lead to.
Kyokumen toru_koma(std::vector<KifuEntry>& moves) {
  Kyokumen p;
  p.shoki_haichi();
  for (KifuEntry& e : moves) {
    e.tori_koma = on_ban(e.te.tc, e.te.tr) ? p.ban[e.te.tc][e.te.tr] : kara;
    if (te_kensa(p, e) != Kotowari::nashi) break;  // refused whole by the check
    do_move(p, kifu_te(e));
  }
  return p;
}

bool onaji_kyokumen(const Kyokumen& a, const Kyokumen& b) {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r)
      if (a.ban[c][r] != b.ban[c][r]) return false;
  for (int k = 1; k <= 7; ++k)
    if (a.mochigoma_sita[k] != b.mochigoma_sita[k] || a.mochigoma_ue[k] != b.mochigoma_ue[k]) return false;
  return true;
}

// A record starts from the even position: an opening elsewhere can be written only through
// the moves that lead to it, played by the rules of the game. Empty when its games can be
// recorded, else why not.
std::string kiroku_dekinai(const Opening& o) {
  SfenPosition sp;
  std::vector<KifuEntry> moves;
  std::string error;
  if (!parse_opening(o, sp, moves, error)) return error;
  Kyokumen p;
  p.shoki_haichi();
  const std::string where = "line " + std::to_string(o.line) + ": ";
  if (moves.empty())
    return onaji_kyokumen(p, sp.pos) ? std::string()
                                     : where + "a record cannot start from this position; give the moves that lead to it (SFEN ; moves)";
  p = toru_koma(moves);
  if (const std::string naze = kifu_sasenai(moves, {0, true}); !naze.empty())
    return where + "its moves are not legal: " + naze;
  if (!onaji_kyokumen(p, sp.pos)) return where + "its moves do not lead to its position";
  return {};
}

// The move of a turn played on the turned board, back on the real one, in record form;
// applies it to `p` and fills the captured code.
KifuEntry record_and_apply(Kyokumen& p, const Sashite& played, bool turned) {
  const Sashite m = turned ? sashite_kaiten(played) : played;
  KifuEntry e;
  e.te = m.te;
  e.moto_koma = m.moto_koma;
  e.tori_koma = p.ban[m.te.tc][m.te.tr];
  sashite_ugokasu(p, m);
  return e;
}

struct Rng {
  unsigned long long s;
  unsigned next() {
    s = s * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<unsigned>(s >> 33);
  }
};

// One whole turn of random quiet legal moves for the side on the upper pieces of `p`
// (no capture, no promotion). Returns false when some move had no such candidate.
bool random_turn(Kyokumen& p, Rng& rng, std::vector<Sashite>& played) {
  std::vector<Kouho> buf(KOUHO_MAX);
  int ix = 0, iy = 0, nx = 0, ny = 0;
  for (int proc = 1; proc <= 3; ++proc) {
    KouhoKiroku log{buf.data(), KOUHO_MAX};
    tansaku(p, 1, proc == 2 ? Dankai::ni : Dankai::san, ix, iy, nx, ny, &log);
    std::vector<Sashite> ok;
    for (int i = 0; i < log.n; ++i) {
      const Kouho& k = buf[static_cast<std::size_t>(i)];
      const Te& c = k.te;
      if (is_uchi(c.fc) || p.ban[c.tc][c.tr] != kara || p.ban[c.fc][c.fr] != c.koma) continue;
      const Sashite s{true, c, c.koma, k.score};
      Kyokumen q = p;
      sashite_ugokasu(q, s);
      const Kiki& kq = q.kiki();
      const bool own = proc != 2;
      if (own ? kq.kiki_sita[q.ou_ue_x][q.ou_ue_y] > 0 : kq.kiki_ue[q.ou_sita_x][q.ou_sita_y] > 0) continue;
      ok.push_back(s);
    }
    if (ok.empty()) return false;
    const Sashite m = ok[rng.next() % ok.size()];
    sashite_ugokasu(p, m);
    if (proc == 1) ix = m.te.tc, iy = m.te.tr;
    if (proc == 2) nx = m.te.tc, ny = m.te.tr;
    played.push_back(m);
  }
  return true;
}

int make_openings(long long n, long long seed) {
  Rng rng{static_cast<unsigned long long>(seed) * 7919ULL + 17};
  std::printf("# Openings: two whole turns of random quiet legal moves from the start (seed %lld);\n"
              "# each line is the SFEN, then ';' and the six moves in record form.\n", seed);
  int made = 0;
  while (made < n) {
    Kyokumen p;
    p.shoki_haichi();
    std::vector<KifuEntry> moves;
    bool ok = true;
    for (int turn = 0; turn < 2 && ok; ++turn) {
      const bool sita = turn == 0;  // the lower pieces move first
      Kyokumen f = sita ? kaiten(p) : p;
      std::vector<Sashite> played;
      ok = random_turn(f, rng, played);
      if (!ok) break;
      for (const Sashite& m : played) moves.push_back(record_and_apply(p, m, sita));
    }
    if (!ok) continue;
    // Keep only openings that leave the game even: nothing hangs for the side to move.
    if (std::abs(keisei(p)) > 250) continue;
    std::printf("%s ;", to_sfen(p, true, 7).c_str());
    for (const KifuEntry& e : moves) std::printf(" %s", entry_text(e).c_str());
    std::printf("\n");
    ++made;
  }
  return 0;
}

// ---- games ----

struct Side {
  int level;
  bool a;  // side A of the match
  cli::Yosan yosan;
};

// A side's own budget, else the shared one.
cli::Yosan side_yosan(const cli::MatchOptions& set, bool a) {
  const cli::Yosan& own = a ? set.a : set.b;
  return own.nodes != 0 || own.ms != 0 ? own : cli::Yosan{set.nodes, set.ms};
}

struct GameResult {
  int winner = 0;  // 1: A won, -1: B won, 0: drawn
  int moves = 0;   // toward the cap: three a turn, a skipped move included
  std::vector<double> turn_a, turn_b;  // seconds per turn
  std::vector<KifuEntry> record;
  std::string reason;  // how it ended: "mate", "king taken" or "move cap"
};

GameResult play_game(const Opening& o, bool a_sita, const cli::MatchOptions& set, Yomi& yomi) {
  GameResult g;
  SfenPosition sp;
  std::string error;
  parse_opening(o, sp, g.record, error);  // checked when the set was read
  toru_koma(g.record);
  Kyokumen p = sp.pos;
  bool sita_to_move = sp.teban_sita == 1;
  const Side sita{a_sita ? set.level_a : set.level_b, a_sita, side_yosan(set, a_sita)};
  const Side ue{a_sita ? set.level_b : set.level_a, !a_sita, side_yosan(set, !a_sita)};
  double jikan[2] = {0, 0};  // thinking time of the lower and upper player, for the record
  while (g.moves < set.max_moves) {
    const Side& s = sita_to_move ? sita : ue;
    const Side& other = sita_to_move ? ue : sita;
    // The side that holds the turn plays the upper pieces: the board is turned for the
    // lower side.
    Taikyoku t = sente_taikyoku(sita_to_move ? kaiten(p) : p, std::min(s.level, 4));
    ComTurn turn;
    const auto t0 = std::chrono::steady_clock::now();
    if (s.level >= 4) {
      YomiSettei st;
      st.level = s.level;
      st.nodes = s.yosan.nodes;
      st.byou = s.yosan.nodes != 0 ? 0 : (s.yosan.ms != 0 ? static_cast<double>(s.yosan.ms) / 1000 : YOMI_BYOU);
      st.aite_com = other.level <= 3;
      com_turn_yomi(turn, t, yomi, st);
    } else {
      turn.run(t);
    }
    const double sec = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    (s.a ? g.turn_a : g.turn_b).push_back(sec);
    double& mine = jikan[sita_to_move ? 0 : 1];
    for (int i = 1; i <= 3; ++i) {
      if (!turn.ran[i] || !turn.te[i].te.ari) continue;
      const double mae = mine;
      KifuEntry e = record_and_apply(p, turn.te[i].te, sita_to_move);
      mine = mae + sec / 3;
      e.sita_mae = jikan[0], e.sita_ato = jikan[0];
      e.ue_mae = jikan[1], e.ue_ato = jikan[1];
      (sita_to_move ? e.sita_mae : e.ue_mae) = mae;
      g.record.push_back(e);
    }
    g.moves += 3;  // a skipped move still uses up the cap, so every game ends
    if (t.owatta()) {
      const bool mover_won = t.shousha() == t.ue_gawa();
      const bool a_won = mover_won == s.a;
      g.winner = a_won ? 1 : -1;
      const int taken = g.record.empty() ? 0 : g.record.back().tori_koma;
      g.reason = taken == OU || taken == -OU ? "king taken" : "mate";
      return g;
    }
    sita_to_move = !sita_to_move;
  }
  g.reason = "move cap";
  return g;
}

struct Summary {
  std::vector<double> turns;
  double mean() const {
    double s = 0;
    for (double v : turns) s += v;
    return turns.empty() ? 0 : s / static_cast<double>(turns.size());
  }
  double median() const {
    if (turns.empty()) return 0;
    std::vector<double> v = turns;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
  }
  double slowest() const { return turns.empty() ? 0 : *std::max_element(turns.begin(), turns.end()); }
};

json time_json(const Summary& s) {
  auto ms = [](double v) { return std::round(v * 10000.0) / 10.0; };
  return {{"turns", s.turns.size()}, {"mean_ms", ms(s.mean())}, {"median_ms", ms(s.median())},
          {"slowest_ms", ms(s.slowest())}};
}

bool write_record(const std::filesystem::path& dir, int index, const cli::MatchOptions& set, bool a_sita,
                  const GameResult& g, std::string& error) {
  const std::string sita_name = "LEVEL" + std::to_string(a_sita ? set.level_a : set.level_b);
  const std::string ue_name = "LEVEL" + std::to_string(a_sita ? set.level_b : set.level_a);
  char name[64];
  std::snprintf(name, sizeof name, "game-%03d", index + 1);
  int bad = 0;
  // The header names the upper player on its second line and the lower on its third.
  const auto bytes = encode_kifu(std::string("match ") + name, ue_name, sita_name, g.record, bad);
  if (!bytes) {
    error = "cannot encode the record";
    return false;
  }
  return write_file_atomically(dir / (std::string(name) + std::string(KIFU_KAKUCHOUSHI)), *bytes, error);
}

// The match's openings: a file's, read into `text`, or the built-in set. Returns the exit
// status on failure.
int load_openings(const std::string& path, std::string& text, std::vector<Opening>& openings) {
  if (path.empty()) {
    text = cli::BUILTIN_OPENINGS;
  } else {
    int err = 0;
    if (const Yomikomi r = read_capped(path, kOpeningsSaidaiByte, text, err); r != Yomikomi::ok)
      return cli::fail("match", "cannot read " + path + ": " + yomenai_riyuu(r, err, kOpeningsSaidaiByte));
  }
  std::string error;
  if (!parse_openings(text, openings, error)) return cli::fail("match", (path.empty() ? "built-in openings: " : path + ": ") + error);
  return 0;
}

// The games finished so far, as the progress lines count them.
struct Tally {
  int done = 0, w = 0, l = 0, d = 0;
  bool write_failed = false;
};

// The games that count: those dealt first, up to the first gap. The test is judged after
// each of them in turn, so that the match stops at the same game for any number of jobs.
struct Counted {
  long long n = 0;             // games 0..n-1 have ended
  cli::Shouhai shouhai;        // and their results for A
  long long stop = -1;         // the test decided after this many games
  cli::SprtKetsu ketsu = cli::SprtKetsu::tsuzuku;

  void advance(const std::vector<GameResult>& results, const std::vector<char>& ended, const cli::MatchOptions& set) {
    while (stop < 0 && n < static_cast<long long>(ended.size()) && ended[static_cast<std::size_t>(n)]) {
      const int winner = results[static_cast<std::size_t>(n++)].winner;
      (winner > 0 ? shouhai.w : winner < 0 ? shouhai.l : shouhai.d) += 1;
      if (set.sprt) ketsu = cli::sprt_hantei(shouhai, set.sprt_settei);
      if (ketsu != cli::SprtKetsu::tsuzuku) stop = n;
    }
  }
};

// Plays the games on set.jobs threads, each with its own search; every game's record is
// written as it ends. Returns how many games count.
long long play_games(const std::vector<Opening>& openings, const cli::MatchOptions& set, long long games,
                     std::vector<GameResult>& results, Tally& tally, Counted& counted) {
  results.assign(static_cast<std::size_t>(games), GameResult{});
  std::vector<char> ended(static_cast<std::size_t>(games), 0);
  std::atomic<long long> next{0};
  std::atomic<bool> decided{false};
  std::mutex mu;
  auto worker = [&]() {
    Yomi yomi;
    for (;;) {
      if (decided) return;
      const long long gi = next.fetch_add(1);
      if (gi >= games) return;
      const Opening& o = openings[static_cast<std::size_t>(gi / 2) % openings.size()];
      const bool a_sita = gi % 2 == 0;
      GameResult g = play_game(o, a_sita, set, yomi);
      std::string werr;
      const bool wrote = set.out_dir.empty() || write_record(set.out_dir, static_cast<int>(gi), set, a_sita, g, werr);
      std::lock_guard<std::mutex> lock(mu);
      if (!wrote && !tally.write_failed) {
        tally.write_failed = true;
        cli::fail("match", werr);
      }
      ++tally.done;
      (g.winner > 0 ? tally.w : g.winner < 0 ? tally.l : tally.d) += 1;
      const double score = (tally.w + 0.5 * tally.d) / tally.done;
      // The moves as its record has them: the opening's and every move made.
      std::fprintf(stderr, "game %d/%lld: %s (%zu moves)  A %d-%d-%d  score %.3f\n", tally.done, games,
                   g.winner > 0 ? "A wins" : g.winner < 0 ? "B wins" : "draw", g.record.size(), tally.w, tally.l,
                   tally.d, score);
      results[static_cast<std::size_t>(gi)] = std::move(g);
      ended[static_cast<std::size_t>(gi)] = 1;
      counted.advance(results, ended, set);
      if (counted.stop >= 0) decided = true;
    }
  };
  std::vector<std::thread> pool;
  for (long long j = 0; j < std::min(set.jobs, games); ++j) pool.emplace_back(worker);
  for (std::thread& t : pool) t.join();
  return counted.n;
}

double tenth(double v) { return std::round(v * 10.0) / 10.0 + 0.0; }  // + 0.0: never "-0.0"

// The score and Elo with its 95 % interval, and the half width of that interval.
void elo_json(json& out, const cli::Shouhai& s) {
  const cli::EloKukan k = cli::elo_kukan(s);
  out["score"] = std::round(s.score() * 10000.0) / 10000.0;
  out["elo"] = tenth(k.elo);
  out["elo_error_95"] = tenth((k.hi - k.lo) / 2);
  out["elo_95"] = {tenth(k.lo), tenth(k.hi)};
  if (k.bound) out["elo_is_bound"] = true;
}

json sprt_json(const cli::MatchOptions& set, const Counted& c) {
  const cli::Sprt& t = set.sprt_settei;
  const char* decision = c.ketsu == cli::SprtKetsu::h1 ? "H1" : c.ketsu == cli::SprtKetsu::h0 ? "H0" : "none";
  auto hundredth = [](double v) { return std::round(v * 100.0) / 100.0 + 0.0; };
  return {{"elo0", t.elo0}, {"elo1", t.elo1}, {"alpha", t.alpha}, {"beta", t.beta},
          {"llr", hundredth(cli::sprt_llr(c.shouhai, t))}, {"lower", hundredth(cli::sprt_shita(t))},
          {"upper", hundredth(cli::sprt_ue(t))}, {"decision", decision}};
}

// A budget as the JSON names it.
void yosan_json(json& out, const std::string& prefix, const cli::Yosan& y) {
  if (y.nodes != 0) out[prefix + "nodes"] = y.nodes;
  else out[prefix + "ms"] = y.ms != 0 ? y.ms : static_cast<long long>(YOMI_BYOU * 1000);
}

json result_json(const cli::MatchOptions& set, std::size_t in_set, const std::vector<GameResult>& results,
                 const Counted& c) {
  const long long games = c.n;
  Summary ta, tb;
  json ended = json::object();
  for (long long i = 0; i < games; ++i) {
    const GameResult& g = results[static_cast<std::size_t>(i)];
    ended[g.reason] = ended.value(g.reason, 0) + 1;
    ta.turns.insert(ta.turns.end(), g.turn_a.begin(), g.turn_a.end());
    tb.turns.insert(tb.turns.end(), g.turn_b.begin(), g.turn_b.end());
  }
  json out;
  out["a"] = "LEVEL" + std::to_string(set.level_a);
  out["b"] = "LEVEL" + std::to_string(set.level_b);
  out["games"] = games;
  out["openings"] = std::min<long long>(static_cast<long long>(in_set), (games + 1) / 2);
  out["openings_in_set"] = in_set;
  out["wins"] = c.shouhai.w;
  out["losses"] = c.shouhai.l;
  out["draws"] = c.shouhai.d;
  elo_json(out, c.shouhai);
  if (set.sprt) out["sprt"] = sprt_json(set, c);
  out["ended"] = ended;
  out["a_time"] = time_json(ta);
  out["b_time"] = time_json(tb);
  const cli::Yosan ya = side_yosan(set, true), yb = side_yosan(set, false);
  if (ya == yb) {
    yosan_json(out, "", ya);
  } else {
    yosan_json(out, "a_", ya);
    yosan_json(out, "b_", yb);
  }
  out["max_moves"] = set.max_moves;
  if (!set.out_dir.empty()) out["records"] = set.out_dir;
  return out;
}

}  // namespace

namespace mirado::cli {

int cmd_openings(const OpeningsOptions& o) { return make_openings(o.n, o.seed); }

int cmd_match(const MatchOptions& set) {
  std::string text;  // the openings point into it
  std::vector<Opening> openings;
  if (const int status = load_openings(set.openings_path, text, openings); status != 0) return status;
  const long long games = set.games != 0 ? set.games : 2 * static_cast<long long>(openings.size());
  if (!set.out_dir.empty()) {
    // Refused before play: a record written from a start it cannot express would load nowhere.
    const std::size_t used = static_cast<std::size_t>(std::min<long long>((games + 1) / 2, static_cast<long long>(openings.size())));
    for (std::size_t i = 0; i < used; ++i)
      if (const std::string naze = kiroku_dekinai(openings[i]); !naze.empty())
        return fail("match", (set.openings_path.empty() ? "built-in openings: " : set.openings_path + ": ") + naze + " (--pgn-like)");
  }
  if (!set.out_dir.empty()) {
    std::error_code ec;
    std::filesystem::create_directories(set.out_dir, ec);
    if (ec) return fail("match", "cannot create " + set.out_dir + ": " + ec.message());
  }
  Tally tally;
  Counted counted;
  std::vector<GameResult> results;
  play_games(openings, set, games, results, tally, counted);
  std::cout << result_json(set, openings.size(), results, counted).dump() << "\n";
  return tally.write_failed ? 2 : 0;
}

}  // namespace mirado::cli
