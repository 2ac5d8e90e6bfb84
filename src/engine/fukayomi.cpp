// LEVEL5's search; see the header.
#include "engine/fukayomi.h"

#include <algorithm>
#include <chrono>
#include <vector>

#include "engine/keisei.h"
#include "engine/yomi_kihon.h"
#include "rules/ikisaki.h"
#include "rules/santeme.h"

namespace mirado {

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr int MUGEN = 2 * YOMI_KACHI;
constexpr int KACHI_MIN = YOMI_KACHI - 1000;  // anything above is a won game
constexpr int MAX_PLY = 3 * FUKAYOMI_MAX_TURNS + 3;

// The quick mate search of our own turn follows this many legal first and second moves,
// for at most this share of a budget of time: the reading of the turns must have the rest.
constexpr int KACHI_HABA = 10;
constexpr double KACHI_JIKAN = 0.5;

// Legal moves followed at each move of a turn (selective search): a turn has a few
// hundred thousand orders of moves, so only the best ordered few of the first and second
// move are read; our own turn, whose choice is the answer, a few more.
constexpr int HABA_JIBUN[4] = {0, 12, 8, 24};
constexpr int HABA[4] = {0, 6, 4, 8};

enum class Kind : std::uint8_t { exact, lower, upper };

struct TtEntry {
  std::uint64_t key = 0;
  std::uint32_t search = 0;  // 0: empty; entries of earlier searches count as empty
  std::int16_t nokori = 0;   // moves that were still to be read below it
  Kind kind = Kind::exact;
  bool has_te = false;
  int value = 0;
  Te te;
};

// Keys for what the board does not show: the move of the turn, whose turn it is (the
// design's computer answers differently) and the squares the third move's limits use.
std::uint64_t phase_kagi(int phase, int turn, int ix, int iy, int nx, int ny) {
  std::uint64_t h = kagi_hojo(phase) ^ kagi_hojo(4 + (turn & 1));
  if (phase >= 2) h ^= kagi_hojo(8 + ix * 10 + iy);
  if (phase == 3) h ^= kagi_hojo(108 + nx * 10 + ny);
  return h;
}

// A move's source as an index of the history table.
int moto_index(const Te& te) {
  if (te.fc == TE_UE) return 120 + te.fr;
  return te.fc * 10 + te.fr;  // squares 11..99, the lower hand 111..117
}

bool onaji_te(const Te& a, const Te& b) {
  return a.fc == b.fc && a.fr == b.fr && a.tc == b.tc && a.tr == b.tr && a.koma == b.koma;
}

// Wins sooner and losses later are worth more; the table keeps them from its own node.
int tt_ni(int v, int ply) { return v >= KACHI_MIN ? v + ply : v <= -KACHI_MIN ? v - ply : v; }
int tt_kara(int v, int ply) { return v >= KACHI_MIN ? v - ply : v <= -KACHI_MIN ? v + ply : v; }

}  // namespace

struct Fukayomi::Impl {
  struct Ply {
    std::vector<Kouho> buf;
    std::vector<int> order;
    std::vector<std::int64_t> jun;
  };
  Ply plies[MAX_PLY + 1];
  std::vector<TtEntry> tt;
  std::size_t mask = 0;
  std::size_t filled = 0, limit = 0;
  std::uint32_t search = 0;
  int hist[4][128][100] = {};
  Kyokumen boards[FUKAYOMI_MAX_TURNS + 2];
  Kyokumen shizuka_ban;

  const YomiSettei* st = nullptr;
  SteadyClock::time_point t0;
  std::int64_t nodes = 0;
  bool aborted = false;
  bool kachi_kireta = false;  // the mate search's share of the time ran out
  std::int64_t kachi_te = 0;  // moves the mate search made
  int saigo_turn = 0;  // the last turn read in this iteration (0: our own)

  // The moves on the way, and the best turn of our own found so far.
  Sashite path[MAX_PLY + 1];
  int path_dankai[MAX_PLY + 1] = {};
  YomiTe kept;
  int kept_value = 0;
  bool kept_valid = false;

  explicit Impl(int tt_bits) : tt(std::size_t{1} << std::clamp(tt_bits, 4, 28)) {
    for (Ply& pl : plies) {
      pl.buf.resize(KOUHO_MAX);
      pl.order.resize(KOUHO_MAX);
      pl.jun.resize(KOUHO_MAX);
    }
    mask = tt.size() - 1;
    limit = tt.size() / 4 * 3;
  }

  void hajimeru(const YomiSettei& settei) {
    st = &settei;
    t0 = SteadyClock::now();
    nodes = 0;
    aborted = false;
    kachi_kireta = false;
    kachi_te = 0;
    kept = YomiTe{};
    kept_value = 0;
    kept_valid = false;
    filled = 0;
    for (auto& a : hist)
      for (auto& b : a)
        for (int& h : b) h = 0;
    if (++search == 0) {
      std::fill(tt.begin(), tt.end(), TtEntry{});
      search = 1;
    }
  }

  bool tomaru() {
    if (!aborted) aborted = yomi_tomaru(*st, nodes, t0, kept_valid, (nodes & 63) == 0);
    return aborted;
  }

  // Makes candidate c as move `phase` of the turn on p and notes it on the path at ply,
  // when the third move's limits (`seigen`) and the kings allow it; else p is left as it
  // was and false returned.
  bool sasu(int ply, Kyokumen& p, const Te& c, int phase, bool seigen, const Santeme& santeme, bool ue_ou,
            TeModoshi& u) {
    if (seigen && santeme_ihan(santeme, c.fc, c.fr, c.tc, c.tr) != SantemeIhan::nashi) return false;
    const int moto = is_uchi(c.fc) ? c.koma : p.ban[c.fc][c.fr];
    u = do_move(p, c);
    if (kinjite(p, phase, u, ue_ou)) {
      undo_move(p, u);
      return false;
    }
    path[ply] = Sashite{true, c, moto, 0};
    path_dankai[ply] = phase;
    return true;
  }

  // The slot holding `key`, or the empty slot where it would go.
  TtEntry& tt_slot(std::uint64_t key) {
    std::size_t i = key & mask;
    while (tt[i].search == search && tt[i].key != key) i = (i + 1) & mask;
    return tt[i];
  }

  void tt_store(std::uint64_t key, int nokori, Kind kind, int value, const Te* te) {
    TtEntry& e = tt_slot(key);
    if (e.search == search) {
      if (nokori < e.nokori) return;
    } else {
      if (filled >= limit) return;  // a full table keeps what it has
      ++filled;
    }
    e.key = key;
    e.search = search;
    e.nokori = static_cast<std::int16_t>(nokori);
    e.kind = kind;
    e.value = value;
    e.has_te = te != nullptr;
    if (te) e.te = *te;
  }

  // Our own turn is complete with value v, better than any before it in this iteration.
  void keep(int n_moves, int v) {
    kept.n = n_moves;
    for (int i = 0; i < n_moves; ++i) {
      kept.te[i] = path[i];
      kept.dankai[i] = path_dankai[i];
    }
    kept_value = v;
    kept_valid = true;
  }

  // Orders the candidates of ply: the table's move, captures, history, the design's order.
  // Returns how many; jun holds (key << 13 | rank), best first.
  void narabu(Ply& pl, const Kyokumen& p, int n, int phase, const Te* tt_te) {
    for (int rank = 0; rank < n; ++rank) {
      const Te& c = pl.buf[pl.order[rank]].te;
      std::int64_t k = hist[phase][moto_index(c)][c.tc * 10 + c.tr];
      if (tt_te && onaji_te(c, *tt_te)) {
        k = std::int64_t{1} << 40;
      } else if (phase != 2 && p.ban[c.tc][c.tr] <= -10) {
        k += (std::int64_t{1} << 32) + std::int64_t{koma_kachi(-p.ban[c.tc][c.tr])} * 1024 -
             (is_uchi(c.fc) ? 0 : koma_kachi(p.ban[c.fc][c.fr]));
      }
      pl.jun[rank] = k * 8192 + (8191 - rank);
    }
    std::sort(pl.jun.begin(), pl.jun.begin() + n, [](std::int64_t a, std::int64_t b) { return a > b; });
  }

  // The value for the lower side, which moves next on p: the static assessment, or better
  // when captures it makes at once leave it better off. Its turn has two moves of its own
  // (the first and the third), so a capture may follow a capture, or a first move out of
  // check.
  int shizuka(int ply, const Kyokumen& p, int beta) {
    const int stand = keisei5(p);
    if (stand >= beta || stand >= KACHI_MIN || stand <= -KACHI_MIN) return stand;
    const Kiki& k = p.kiki();
    bool semeru = false;
    for (int c = 1; c <= 9 && !semeru; ++c)
      for (int r = 1; r <= 9; ++r)
        if (p.ban[c][r] >= 10 && k.kiki_sita[c][r] > 0) {
          semeru = true;
          break;
        }
    if (!semeru) return stand;
    Kyokumen& q = shizuka_ban;
    q = kaiten(p);  // the capturer plays the upper pieces
    int best = stand;
    toru(ply, q, 1, 0, 0, beta, best);
    return best;
  }

  // The capturer's captures as its first (kaisuu 1) or third move (2, not with the piece
  // that stands on (ic, ir), moved by the first); each judged as if it ended the turn.
  void toru(int ply, Kyokumen& q, int kaisuu, int ic, int ir, int beta, int& best) {
    const bool ue_ou = ue_ou_ari(q);
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r) {
        const int code = q.ban[c][r];
        if (code < 10 || (c == ic && r == ir)) continue;
        Masume to = ikisaki(q, c, r, code);
        while (!to.kara() && best < beta) {
          int tc, tr;
          to.toridasu(tc, tr);
          if (q.ban[tc][tr] > -10 && !(kaisuu == 1 && code == OU)) continue;
          const TeModoshi u = do_move(q, Te{c, r, tc, tr, code});
          if (!kinjite(q, 1, u, ue_ou) && !tomaru()) {
            ++nodes;
            if (u.torareru == -OU) {
              best = std::max(best, YOMI_KACHI - ply);
            } else if (u.torareru != kara) {
              // The other side then moves a whole turn.
              best = std::max(best, -keisei5(q));
            }
            if (kaisuu == 1) toru(ply, q, 2, tc, tr, beta, best);
          }
          undo_move(q, u);
          if (aborted) return;
        }
      }
  }

  // The value for the side whose turn just ended on p (the lower side moves next).
  int turn_owari(int ply, int turn, Kyokumen& p, int alpha, int beta) {
    if (turn >= saigo_turn) return -shizuka(ply, p, -alpha);
    Kyokumen& q = boards[turn + 1];
    q = kaiten(p);
    return -yomu(ply, turn + 1, q, 1, 0, 0, 0, 0, -beta, -alpha);
  }

  // The value for the upper side of the rest of its turn from move `phase`, and the turns
  // after it up to saigo_turn. p is as it was when this returns.
  int yomu(int ply, int turn, Kyokumen& p, int phase, int ix, int iy, int nx, int ny, int alpha, int beta) {
    if (aborted) return 0;
    const int nokori = (saigo_turn - turn) * 3 + (4 - phase);
    const std::uint64_t key = kyokumen_kagi(p) ^ phase_kagi(phase, turn, ix, iy, nx, ny);
    Te tt_copy;
    const Te* tt_te = nullptr;
    if (int v; tt_hiku(key, nokori, ply, turn, alpha, beta, v, tt_copy, tt_te)) return v;
    Ply& pl = plies[ply];
    const int n = turn_kouho(p, phase, pl.buf.data(), pl.order.data());
    // The design's computer, answering, plays the second move that leaves our king
    // attacked whenever nothing scores lower, and then takes the king.
    if (phase == 2 && (turn & 1) == 1 && st->aite_com && n > 0 && pl.buf[pl.order[n - 1]].score == TEN_OUTE_SITA)
      return YOMI_KACHI - 2 - ply;
    narabu(pl, p, n, phase, tt_te);
    const bool ue_ou = ue_ou_ari(p);
    const bool seigen = phase == 3 && santeme_seigen_ue(p);
    const Santeme santeme{ix, iy, nx, ny};
    const int alpha0 = alpha;
    int best = -MUGEN;
    Te best_te;
    int tried = 0;
    const int haba = turn == 0 ? HABA_JIBUN[phase] : HABA[phase];
    for (int j = 0; j < n && tried < haba; ++j) {
      const Te& c = pl.buf[pl.order[8191 - static_cast<int>(pl.jun[j] & 8191)]].te;
      if (tomaru()) return best;  // a spent budget makes no move more
      TeModoshi u;
      if (!sasu(ply, p, c, phase, seigen, santeme, ue_ou, u)) continue;
      ++tried;
      ++nodes;
      int v;
      const int owari = te_kekka(p, phase, u.torareru);
      if (owari != 0) {
        v = owari > 0 ? YOMI_KACHI - ply : -(YOMI_KACHI - ply);
      } else if (phase < 3) {
        const int nix = phase == 1 ? c.tc : ix, niy = phase == 1 ? c.tr : iy;
        const int nnx = phase == 2 ? c.tc : nx, nny = phase == 2 ? c.tr : ny;
        v = yomu(ply + 1, turn, p, phase + 1, nix, niy, nnx, nny, alpha, beta);
      } else {
        v = turn_owari(ply + 1, turn, p, alpha, beta);
      }
      undo_move(p, u);
      if (tomaru()) return best;
      if (v > best) {
        best = v;
        best_te = c;
      }
      if (v > alpha) {
        alpha = v;
        if (turn == 0 && (owari != 0 || phase == 3)) keep(ply + 1, v);
      }
      if (alpha >= beta) {
        int& h = hist[phase][moto_index(c)][c.tc * 10 + c.tr];
        h = std::min(h + nokori * nokori, 1 << 28);
        break;
      }
    }
    if (tried == 0) {
      // No legal move: it is skipped and the turn goes on, as the design's computer does.
      best = phase < 3 ? yomu(ply, turn, p, phase + 1, ix, iy, nx, ny, alpha, beta)
                       : turn_owari(ply, turn, p, alpha, beta);
      if (aborted) return best;
      if (turn == 0 && phase == 3 && best > alpha) keep(ply, best);
    }
    tt_store(key, nokori, best <= alpha0 ? Kind::upper : best >= beta ? Kind::lower : Kind::exact, tt_ni(best, ply),
             tried == 0 ? nullptr : &best_te);
    return best;
  }

  // Looks the node up: true with its value v when the table settles it; else the table's
  // move, if any, in tt_te (pointing at te).
  bool tt_hiku(std::uint64_t key, int nokori, int ply, int turn, int alpha, int beta, int& v, Te& te,
               const Te*& tt_te) {
    const TtEntry& e = tt_slot(key);
    if (e.search != search) return false;
    if (e.has_te) te = e.te, tt_te = &te;
    // Not in our own turn: the turn to play must come from a line read to its end.
    if (turn == 0 || e.nokori < nokori) return false;
    v = tt_kara(e.value, ply);
    return e.kind == Kind::exact || (e.kind == Kind::lower && v >= beta) || (e.kind == Kind::upper && v <= alpha);
  }

  // Is the mate search's share of a budget of time spent? The clock is read every 64 moves.
  bool kachi_owari() {
    if (!kachi_kireta && st->byou > 0 && (++kachi_te & 63) == 0 &&
        std::chrono::duration<double>(SteadyClock::now() - t0).count() > st->byou * KACHI_JIKAN)
      kachi_kireta = true;
    return kachi_kireta || aborted;
  }

  // A quick look for a turn of our own that wins at once, whatever the budget of nodes
  // (its moves are not counted) and within KACHI_JIKAN of a budget of time: every move
  // checked for the win, the first KACHI_HABA legal first and second moves followed.
  bool kachi_sagasu(int ply, Kyokumen& p, int phase, int ix, int iy, int nx, int ny) {
    if (phase > 3 || aborted || kachi_kireta) return false;
    Ply& pl = plies[ply];
    const int n = turn_kouho(p, phase, pl.buf.data(), pl.order.data());
    const bool ue_ou = ue_ou_ari(p);
    const bool seigen = phase == 3 && santeme_seigen_ue(p);
    const Santeme santeme{ix, iy, nx, ny};
    int tried = 0;
    for (int i = 0; i < n; ++i) {
      const Te& c = pl.buf[pl.order[i]].te;
      TeModoshi u;
      if (!sasu(ply, p, c, phase, seigen, santeme, ue_ou, u)) continue;
      ++tried;
      bool won = te_kekka(p, phase, u.torareru) > 0;
      if (won) {
        keep(ply + 1, YOMI_KACHI - ply);
      } else if (phase < 3 && tried <= KACHI_HABA) {
        const int nix = phase == 1 ? c.tc : ix, niy = phase == 1 ? c.tr : iy;
        const int nnx = phase == 2 ? c.tc : nx, nny = phase == 2 ? c.tr : ny;
        won = kachi_sagasu(ply + 1, p, phase + 1, nix, niy, nnx, nny);
      }
      undo_move(p, u);
      if (won) return true;
      if (st->yamete && st->yamete->load(std::memory_order_relaxed)) aborted = true;
      if (kachi_owari()) return false;
    }
    return tried == 0 && kachi_sagasu(ply, p, phase + 1, ix, iy, nx, ny);
  }
};

Fukayomi::Fukayomi(int tt_bits) : impl_(std::make_unique<Impl>(tt_bits)) {}
Fukayomi::~Fukayomi() = default;

int Fukayomi::atai(const Kyokumen& p, const YomiSettei& settei, int turns) {
  if (turns > 0) {
    YomiSettei st = settei;
    st.turns = turns;
    return -sagasu(kaiten(p), st).score;
  }
  Impl& s = *impl_;
  s.hajimeru(settei);
  Kyokumen& q = s.boards[0];
  q = p;
  return -s.shizuka(0, q, MUGEN);
}

void Fukayomi::tt_clear() {
  std::fill(impl_->tt.begin(), impl_->tt.end(), TtEntry{});
  impl_->search = 0;
}

YomiKekka Fukayomi::sagasu(const Kyokumen& p0, const YomiSettei& settei, int dankai, int ichite_x, int ichite_y,
                           int nite_x, int nite_y) {
  Impl& s = *impl_;
  s.hajimeru(settei);
  YomiKekka out;
  Kyokumen& p = s.boards[0];
  p = p0;
  const int phase = dankai >= 1 && dankai <= 3 ? dankai : 1;

  if (s.kachi_sagasu(0, p, phase, ichite_x, ichite_y, nite_x, nite_y)) {
    out.rounds = out.depth = 1;
  } else {
    s.kept_valid = false;
    const int saidai = settei.turns > 0 ? std::min(settei.turns, FUKAYOMI_MAX_TURNS) : FUKAYOMI_MAX_TURNS;
    // Two whole turns at a time: a reading that ends after the opponent's turn, with our
    // own captures still to come, sees the opponent's answers through its narrow beams
    // only and trusts our side too much; one that ends after ours answers it with every
    // capture the opponent has.
    const int kizami = settei.ippo_zutsu ? 1 : 2;
    for (int d = 1; d <= saidai && !s.aborted; d = d < saidai ? std::min(d + kizami, saidai) : d + 1) {
      s.saigo_turn = d - 1;
      const int v = s.yomu(0, 0, p, phase, ichite_x, ichite_y, nite_x, nite_y, -MUGEN, MUGEN);
      if (s.aborted) break;
      s.kept_value = v;
      out.rounds = out.depth = d;
      if (v >= KACHI_MIN || v <= -KACHI_MIN) break;  // the game's end is in sight
      // An iteration costs several times the one before: start one only while that fits.
      const double spent = std::chrono::duration<double>(SteadyClock::now() - s.t0).count();
      if (settei.byou > 0 && spent * 4 > settei.byou) break;
    }
  }
  if (s.kept_valid) out.turn = s.kept;
  out.score = s.kept_value;
  out.nodes = s.nodes;
  out.aborted = s.aborted;
  out.seconds = std::chrono::duration<double>(SteadyClock::now() - s.t0).count();
  if (settei.lines > 0 && s.kept_valid) {
    out.n_lines = 1;
    out.lines[0].turn = out.turn;
    out.lines[0].score = out.score;
  }
  return out;
}

}  // namespace mirado
