// LEVEL4's look-ahead: whole turns chosen by beams over the design's move scores, judged
// by a static assessment, and answered by the opponent's best turn.
#include "engine/yomi.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "engine/fukayomi.h"
#include "engine/keisei.h"
#include "engine/yomi_kihon.h"
#include "rules/ikisaki.h"
#include "rules/santeme.h"
#include "rules/tsumi.h"
#include "rules/ugoki.h"

namespace mirado {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int MUGEN = 2 * YOMI_KACHI;  // beyond any score
constexpr int KACHI_MIN = YOMI_KACHI - 1000;  // anything above is a won game

// Beams of one turn: how many legal candidates of each move are followed.
struct Haba {
  int b1, b2, b3;
};

// The rounds of the widening search: root turns answered and the beams of the answers.
struct Round {
  int kotae;   // root turns answered
  Haba aite;   // beams of the opponent's answering turn
};
constexpr Round ROUNDS[] = {
    {6, {6, 4, 8}},
    {12, {10, 6, 12}},
    {20, {14, 8, 16}},
    {32, {20, 10, 22}},
    {48, {28, 12, 28}},
    {64, {40, 16, 36}},
};
constexpr int N_ROUNDS = sizeof ROUNDS / sizeof ROUNDS[0];
// Beams of our own turn, whose whole turns are all judged statically first.
constexpr Haba ROOT_HABA = {14, 8, 99};
constexpr int ROOT_MAX = 64;  // best distinct whole turns kept for answering

constexpr int TT_BITS = 15;
struct TtEntry {
  std::uint64_t key = 0;
  std::uint32_t search = 0;  // entries of earlier searches are never read: the same
                             // budget must give the same answer on any Yomi object
  int value = 0;
  int round = -1;
  bool exact = false;
  YomiTe reply;
};

}  // namespace

struct Yomi::Impl {
  // Candidate lists and their orderings, one per move of a turn.
  std::vector<Kouho> buf[3];
  std::vector<int> order[3];
  std::vector<TtEntry> tt;
  std::unique_ptr<Fukayomi> fuka;  // LEVEL5, made when first asked for

  struct RootTe {
    YomiTe turn;
    int asai = 0;        // the static value of the turn
    bool owari = false;  // the turn ends the game
    std::uint64_t key = 0;
    Kyokumen after;      // the board the opponent moves from, turned to its view
    int fukai = 0;       // value after the answer in this round
    bool answered = false;
    YomiTe reply;
    // As the last finished round left them.
    int kakutei = 0;
    bool kakutei_answered = false;
    YomiTe kakutei_reply;
  };
  RootTe roots[ROOT_MAX];
  int rank[ROOT_MAX] = {};
  int n_roots = 0;

  // One turn being searched: where it may stop (a turn worth beta refutes the turn
  // before it), the best so far and the moves on the way.
  struct Turn {
    int beta = MUGEN;
    int best = -MUGEN;
    bool cut = false;
    Haba haba{};
    bool aite = false;     // the opponent's answering turn
    bool atsume = false;   // our own turn: keep every whole turn reached
    YomiTe cur, best_te;
  };

  const YomiSettei* st = nullptr;
  SteadyClock::time_point t0;
  std::int64_t nodes = 0;
  bool aborted = false;
  int round = 0;
  std::uint32_t search = 0;  // numbers the searches of this object, from 1

  Impl() : tt(std::size_t{1} << TT_BITS) {
    for (int i = 0; i < 3; ++i) {
      buf[i].resize(KOUHO_MAX);
      order[i].resize(KOUHO_MAX);
    }
  }

  // A search begins: its budget, counters and round, and a new number for the table's
  // entries (after 2^32 searches the numbers come round: forget everything).
  void hajimeru(const YomiSettei& settei, int first_round) {
    st = &settei;
    t0 = SteadyClock::now();
    nodes = 0;
    aborted = false;
    n_roots = 0;
    round = first_round;
    if (++search == 0) {
      std::fill(tt.begin(), tt.end(), TtEntry{});
      search = 1;
    }
  }

  bool tomaru() {
    if (!aborted) aborted = yomi_tomaru(*st, nodes, t0, n_roots > 0, (nodes & 31) == 0);
    return aborted;
  }

  // The design's candidates of one move for the upper side, ordered by its scores
  // (best first, ties in the design's own order). Returns how many.
  int kouho(int ply, Kyokumen& p, int phase) { return turn_kouho(p, phase, buf[ply].data(), order[ply].data()); }

  void kanryou(Turn& t, const Kyokumen& q, int v, bool owari) {
    ++nodes;
    if (t.atsume) tameru(t.cur, q, v, owari);
    if (v > t.best) {
      t.best = v;
      t.best_te = t.cur;
      if (v >= t.beta || v >= KACHI_MIN) t.cut = true;
    }
    tomaru();
  }

  // Keeps the best distinct whole turns of our own turn, by static value: `rank` lists
  // the kept turns best first; a new one takes the slot of the worst when all are used.
  void tameru(const YomiTe& turn, const Kyokumen& q, int v, bool owari) {
    if (n_roots == ROOT_MAX && v <= roots[rank[ROOT_MAX - 1]].asai) return;
    const Kyokumen f = kaiten(q);
    const std::uint64_t key = kyokumen_kagi(f);
    for (int i = 0; i < n_roots; ++i)
      if (roots[rank[i]].key == key) return;  // the same position by another order of moves
    int at, slot;
    if (n_roots < ROOT_MAX) {
      at = n_roots;
      slot = n_roots++;
    } else {
      at = ROOT_MAX - 1;
      slot = rank[at];
    }
    while (at > 0 && roots[rank[at - 1]].asai < v) {
      rank[at] = rank[at - 1];
      --at;
    }
    rank[at] = slot;
    RootTe& r = roots[slot];
    r = RootTe{};
    r.turn = turn;
    r.asai = v;
    r.owari = owari;
    r.key = key;
    r.after = f;
  }

  // Searches the rest of a turn of the upper side from move `phase`. Moves are made on p
  // and taken back, so p is as it was when this returns.
  void te(int ply, Kyokumen& p, int phase, int ix, int iy, int nx, int ny, Turn& t) {
    if (t.cut || aborted) return;
    if (phase > 3) {  // the turn is complete: judge the board the opponent moves from
      kanryou(t, p, -keisei(p), false);
      return;
    }
    const int n = kouho(ply, p, phase);
    const Kouho* b = buf[ply].data();
    const int* ord = order[ply].data();
    // The design's computer, answering, plays the second move that leaves our king
    // attacked whenever nothing scores lower, and then takes the king.
    if (phase == 2 && t.aite && st->aite_com && n > 0 && b[ord[n - 1]].score == TEN_OUTE_SITA) {
      kanryou(t, p, YOMI_KACHI - 2, true);
      return;
    }
    const bool ue_ou = ue_ou_ari(p);
    const bool seigen = phase == 3 && santeme_seigen_ue(p);
    const Santeme santeme{ix, iy, nx, ny};
    const int haba = phase == 1 ? t.haba.b1 : phase == 2 ? t.haba.b2 : t.haba.b3;
    int tried = 0;
    for (int i = 0; i < n && tried < haba && !t.cut && !aborted; ++i) {
      const Te& c = b[ord[i]].te;
      if (seigen && santeme_ihan(santeme, c.fc, c.fr, c.tc, c.tr) != SantemeIhan::nashi) continue;
      const Sashite m{true, c, is_uchi(c.fc) ? c.koma : p.ban[c.fc][c.fr], b[ord[i]].score};
      const TeModoshi u = do_move(p, c);
      // A move may not leave the king of the moved piece attacked.
      if (!kinjite(p, phase, u, ue_ou)) {
        ++tried;
        t.cur.dankai[t.cur.n] = phase;
        t.cur.te[t.cur.n++] = m;
        if (const int owari = te_kekka(p, phase, u.torareru); owari != 0) {
          kanryou(t, p, owari, true);
        } else {
          const int nix = phase == 1 ? c.tc : ix, niy = phase == 1 ? c.tr : iy;
          const int nnx = phase == 2 ? c.tc : nx, nny = phase == 2 ? c.tr : ny;
          te(ply + 1, p, phase + 1, nix, niy, nnx, nny, t);
        }
        --t.cur.n;
      }
      undo_move(p, u);
    }
    // No legal move: it is skipped and the turn goes on, as the design's computer does.
    if (tried == 0 && !t.cut && !aborted) te(ply + 1, p, phase + 1, ix, iy, nx, ny, t);
  }

  // The opponent's best turn from the board after one of ours; value for the opponent.
  int kotae(RootTe& r, int beta) {
    TtEntry& e = tt[r.key & ((std::size_t{1} << TT_BITS) - 1)];
    if (e.key == r.key && e.search == search && e.round == round && (e.exact || e.value >= beta)) {
      r.reply = e.reply;
      return e.value;
    }
    Turn t;
    t.beta = beta;
    t.haba = ROUNDS[round].aite;
    t.aite = true;
    te(0, r.after, 1, 0, 0, 0, 0, t);
    if (aborted) return t.best;
    e.key = r.key;
    e.search = search;
    e.value = t.best;
    e.round = round;
    e.exact = !t.cut || t.best >= KACHI_MIN;
    e.reply = t.best_te;
    r.reply = t.best_te;
    return t.best;
  }

  // One round: the kept turns answered in order of their static value, alpha-beta over
  // whole turns. Returns the index of the best, or -1 when the round was cut short.
  int round_run() {
    const int kotae_su = std::min(ROUNDS[round].kotae, n_roots);
    int alpha = -MUGEN, best = -1;
    for (int i = 0; i < n_roots; ++i) roots[i].answered = false;
    for (int i = 0; i < kotae_su; ++i) {
      RootTe& r = roots[rank[i]];
      int v;
      if (r.owari) {
        v = r.asai;
      } else {
        const int a = kotae(r, alpha == -MUGEN ? MUGEN : -alpha);
        if (aborted) return -1;
        v = -a;
      }
      r.fukai = v;
      r.answered = true;
      if (v > alpha) {
        alpha = v;
        best = rank[i];
      }
    }
    for (int i = 0; i < n_roots; ++i) {
      roots[i].kakutei = roots[i].fukai;
      roots[i].kakutei_answered = roots[i].answered;
      roots[i].kakutei_reply = roots[i].reply;
    }
    return best;
  }
};

Yomi::Yomi() : impl_(std::make_unique<Impl>()) {}
Yomi::~Yomi() = default;

YomiKekka Yomi::sagasu(const Kyokumen& p0, const YomiSettei& settei, int dankai, int ichite_x,
                       int ichite_y, int nite_x, int nite_y) {
  Impl& s = *impl_;
  if (settei.level == 5) {
    if (!s.fuka) s.fuka = std::make_unique<Fukayomi>();
    return s.fuka->sagasu(p0, settei, dankai, ichite_x, ichite_y, nite_x, nite_y);
  }
  s.hajimeru(settei, 0);
  YomiKekka out;

  Kyokumen p = p0;

  // Our own turn, every whole turn within the beams judged statically.
  Impl::Turn root;
  root.haba = ROOT_HABA;
  root.atsume = true;
  const int phase = dankai >= 1 && dankai <= 3 ? dankai : 1;
  s.te(0, p, phase, ichite_x, ichite_y, nite_x, nite_y, root);
  int chosen = s.n_roots > 0 ? s.rank[0] : -1;
  int chosen_value = s.n_roots > 0 ? s.roots[chosen].asai : 0;

  // Then the answers, in rounds of widening beams while the budget lasts.
  const bool won = s.n_roots > 0 && chosen_value >= KACHI_MIN;
  for (s.round = 0; s.round < N_ROUNDS && s.n_roots > 0 && !won && !s.aborted; ++s.round) {
    const int best = s.round_run();
    if (best < 0) break;
    chosen = best;
    chosen_value = s.roots[best].fukai;
    out.rounds = s.round + 1;
    // A round costs a few times the one before: start one only while that fits.
    const double spent = std::chrono::duration<double>(SteadyClock::now() - s.t0).count();
    if (settei.byou > 0 && spent * 3.5 > settei.byou) break;
  }

  if (chosen >= 0) out.turn = s.roots[chosen].turn;
  out.score = chosen_value;
  out.nodes = s.nodes;
  out.aborted = s.aborted;
  out.seconds = std::chrono::duration<double>(SteadyClock::now() - s.t0).count();

  // The principal lines: the turns answered in the last finished round by their value,
  // then the rest by static value.
  const int want = std::clamp(settei.lines, 0, YOMI_LINES);
  int idx[ROOT_MAX];
  for (int i = 0; i < s.n_roots; ++i) idx[i] = s.rank[i];
  auto value = [&s](int i) { return s.roots[i].kakutei_answered ? s.roots[i].kakutei : s.roots[i].asai; };
  std::sort(idx, idx + s.n_roots, [&](int a, int b) {
    const auto& x = s.roots[a];
    const auto& y = s.roots[b];
    if (x.kakutei_answered != y.kakutei_answered) return x.kakutei_answered;
    if (value(a) != value(b)) return value(a) > value(b);
    return x.asai != y.asai ? x.asai > y.asai : a < b;
  });
  for (int i = 0; i < s.n_roots && out.n_lines < want; ++i) {
    const auto& r = s.roots[idx[i]];
    YomiLine& l = out.lines[out.n_lines++];
    l.turn = r.turn;
    l.answered = r.kakutei_answered && !r.owari;
    l.reply = l.answered ? r.kakutei_reply : YomiTe{};
    l.score = value(idx[i]);
  }
  return out;
}

int Yomi::kotae_atai(const Kyokumen& p0, const YomiSettei& settei, int rounds) {
  Impl& s = *impl_;
  s.hajimeru(settei, std::clamp(rounds - 1, 0, N_ROUNDS - 1));
  Kyokumen p = p0;
  if (!ue_ou_ari(p)) return -YOMI_KACHI;
  if (!sita_ou_ari(p)) return YOMI_KACHI;
  // The turn ended with the opponent mated: the search's own verdict after a move.
  if (p.kiki().kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0 && tsumi_sita(p)) return YOMI_KACHI;
  if (settei.level == 5) {
    if (!s.fuka) s.fuka = std::make_unique<Fukayomi>();
    return s.fuka->atai(p, settei, std::max(0, rounds - 1));
  }
  if (rounds <= 0) return -keisei(p);
  Impl::RootTe r;
  r.after = kaiten(p);
  r.key = kyokumen_kagi(r.after);
  return -s.kotae(r, MUGEN);
}

}  // namespace mirado
