// kiki_keisan: one pass over the board, each piece adding its contributions.
// The two sides are deliberately not mirror images; see the per-piece notes.
#include "rules/kiki.h"

#include <cstring>

#include "rules/koma.h"

namespace mirado {

namespace {

using Ban = int[10][10];

// Which parts of the basic contribution a piece applies to a target square.
enum : unsigned {
  K = 1,      // count
  D = 2,      // defence, code only
  DSQ = 4,    // defence with the defender's square (upper side only)
  A = 8,      // attack, code only (the lower side always keeps the square)
  ASQ = 16,   // attack with the attacker's square
  C = 32,     // check mark on the contributor's square
  CKEI = 64,  // knight check: also mark the king's square
};

template <bool Sita, unsigned Parts>
inline void contribute(const Ban& ban, Kiki& k, int pc, int pr, int code, int tc, int tr) {
  const int v = ban[tc][tr];
  if constexpr (Sita) {
    if constexpr ((Parts & K) != 0) ++k.kiki_sita[tc][tr];
    if constexpr ((Parts & D) != 0) {
      if (v <= -10 && k.himo_sita[tc][tr] > code) k.himo_sita[tc][tr] = static_cast<std::int16_t>(code);
    }
    if constexpr ((Parts & A) != 0) {
      if (v >= 10 && k.atari_sita[tc][tr] < code) {
        k.atari_sita[tc][tr] = static_cast<std::int16_t>(code);
        k.atari_sita_x[tc][tr] = static_cast<std::int16_t>(pc);
        k.atari_sita_y[tc][tr] = static_cast<std::int16_t>(pr);
      }
    }
    if constexpr ((Parts & C) != 0) {
      if (v == OU) {
        k.oute_ue[pc][pr] = 9;
        if constexpr ((Parts & CKEI) != 0) k.oute_ue[tc][tr] = 9;
      }
    }
  } else {
    if constexpr ((Parts & K) != 0) ++k.kiki_ue[tc][tr];
    if constexpr ((Parts & (D | DSQ)) != 0) {
      if (v >= 10 && k.himo_ue[tc][tr] > code) {
        k.himo_ue[tc][tr] = static_cast<std::int16_t>(code);
        if constexpr ((Parts & DSQ) != 0) {
          k.himo_ue_x[tc][tr] = static_cast<std::int16_t>(pc);
          k.himo_ue_y[tc][tr] = static_cast<std::int16_t>(pr);
        }
      }
    }
    if constexpr ((Parts & (A | ASQ)) != 0) {
      if (v <= -10 && k.atari_ue[tc][tr] > code) {
        k.atari_ue[tc][tr] = static_cast<std::int16_t>(code);
        if constexpr ((Parts & ASQ) != 0) {
          k.atari_ue_x[tc][tr] = static_cast<std::int16_t>(pc);
          k.atari_ue_y[tc][tr] = static_cast<std::int16_t>(pr);
        }
      }
    }
    if constexpr ((Parts & C) != 0) {
      if (v == -OU) {
        k.oute_sita[pc][pr] = 9;
        if constexpr ((Parts & CKEI) != 0) k.oute_sita[tc][tr] = 9;
      }
    }
  }
}

template <bool Sita, unsigned Parts>
inline void step(const Ban& ban, Kiki& k, int pc, int pr, int code, int dc, int dr) {
  const int tc = pc + dc, tr = pr + dr;
  if (on_ban(tc, tr)) contribute<Sita, Parts>(ban, k, pc, pr, code, tc, tr);
}

// One ray: counts every square up to and including the first piece met, but runs on
// through the enemy king so that squares behind it count as attacked.
template <bool Sita>
inline void hashiri(const Ban& ban, Kiki& k, int pc, int pr, int code, int dc, int dr) {
  constexpr unsigned kParts = Sita ? (K | D | A) : (K | DSQ | ASQ);
  constexpr int kTeki = Sita ? OU : -OU;
  auto& oute = Sita ? k.oute_ue : k.oute_sita;
  int c = pc + dc, r = pr + dr;
  while (on_ban(c, r)) {
    contribute<Sita, kParts>(ban, k, pc, pr, code, c, r);
    const int v = ban[c][r];
    if (v == kTeki) {
      for (int bc = pc + dc, br = pr + dr; bc != c || br != r; bc += dc, br += dr) oute[bc][br] = 1;
      oute[pc][pr] = 9;
    } else if (v != kara) {
      return;
    }
    c += dc;
    r += dr;
  }
}

// Gold-movers of the lower side contribute their own code; fwd = -1 (toward row 1).
inline void kiki_kin_sita(const Ban& ban, Kiki& k, int code, int c, int r) {
  constexpr unsigned P = K | D | A | C;
  step<true, P>(ban, k, c, r, code, -1, -1);
  step<true, P>(ban, k, c, r, code, 0, -1);
  step<true, P>(ban, k, c, r, code, 1, -1);
  step<true, P>(ban, k, c, r, code, -1, 0);
  step<true, P>(ban, k, c, r, code, 1, 0);
  step<true, P>(ban, k, c, r, code, 0, 1);
}

// Upper gold-movers all contribute as a plain gold (110), defence without square, no attack.
inline void kiki_kin_ue(const Ban& ban, Kiki& k, int c, int r) {
  constexpr unsigned P = K | D | C;
  step<false, P>(ban, k, c, r, KIN, -1, 1);
  step<false, P>(ban, k, c, r, KIN, 0, 1);
  step<false, P>(ban, k, c, r, KIN, 1, 1);
  step<false, P>(ban, k, c, r, KIN, -1, 0);
  step<false, P>(ban, k, c, r, KIN, 1, 0);
  step<false, P>(ban, k, c, r, KIN, 0, -1);
}

template <bool Sita>
inline void kiki_naname(const Ban& ban, Kiki& k, int code, int c, int r) {
  hashiri<Sita>(ban, k, c, r, code, 1, 1);
  hashiri<Sita>(ban, k, c, r, code, 1, -1);
  hashiri<Sita>(ban, k, c, r, code, -1, 1);
  hashiri<Sita>(ban, k, c, r, code, -1, -1);
}

template <bool Sita>
inline void kiki_hisha(const Ban& ban, Kiki& k, int code, int c, int r) {
  hashiri<Sita>(ban, k, c, r, code, 0, 1);   // toward row 9
  hashiri<Sita>(ban, k, c, r, code, 0, -1);  // toward row 1
  hashiri<Sita>(ban, k, c, r, code, 1, 0);   // toward column 9
  hashiri<Sita>(ban, k, c, r, code, -1, 0);  // toward column 1
}

void sita_koma(const Ban& ban, Kiki& k, int code, int c, int r) {
  constexpr unsigned P = K | D | A | C;
  switch (code) {
    case -HU:
      step<true, P>(ban, k, c, r, code, 0, -1);
      break;
    case -KYOU:
      hashiri<true>(ban, k, c, r, code, 0, -1);
      break;
    case -KEI:
      step<true, P | CKEI>(ban, k, c, r, code, -1, -2);
      step<true, P | CKEI>(ban, k, c, r, code, 1, -2);
      break;
    case -GIN:
      step<true, P>(ban, k, c, r, code, -1, -1);
      step<true, P>(ban, k, c, r, code, 0, -1);
      step<true, P>(ban, k, c, r, code, 1, -1);
      step<true, P>(ban, k, c, r, code, -1, 1);
      step<true, P>(ban, k, c, r, code, 1, 1);
      break;
    case -KIN: case -TO: case -NARIKYOU: case -NARIKEI: case -NARIGIN:
      kiki_kin_sita(ban, k, code, c, r);
      break;
    case -KAKU:
      kiki_naname<true>(ban, k, -KAKU, c, r);
      break;
    case -UMA:
      step<true, P>(ban, k, c, r, -UMA, 0, 1);
      step<true, P>(ban, k, c, r, -UMA, 0, -1);
      step<true, P>(ban, k, c, r, -UMA, 1, 0);
      step<true, P>(ban, k, c, r, -UMA, -1, 0);
      kiki_naname<true>(ban, k, -KAKU, c, r);  // the horse's diagonals count as a bishop
      break;
    case -HISHA:
      kiki_hisha<true>(ban, k, code, c, r);
      break;
    case -RYUU:
      kiki_hisha<true>(ban, k, code, c, r);
      step<true, P>(ban, k, c, r, code, 1, 1);
      step<true, P>(ban, k, c, r, code, 1, -1);
      step<true, P>(ban, k, c, r, code, -1, 1);
      step<true, P>(ban, k, c, r, code, -1, -1);
      break;
    case -OU:
      for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
          if (dc != 0 || dr != 0) step<true, K | D | A>(ban, k, c, r, code, dc, dr);
      break;
    default:
      break;
  }
}

void ue_koma(const Ban& ban, Kiki& k, int code, int c, int r) {
  switch (code) {
    case HU:
      step<false, K | D | A | C>(ban, k, c, r, code, 0, 1);
      break;
    case KYOU:
      hashiri<false>(ban, k, c, r, code, 0, 1);
      break;
    case KEI:
      step<false, K | DSQ | C | CKEI>(ban, k, c, r, code, -1, 2);
      step<false, K | DSQ | C | CKEI>(ban, k, c, r, code, 1, 2);
      break;
    case GIN: {
      constexpr unsigned P = K | DSQ | C;
      step<false, P>(ban, k, c, r, code, -1, 1);
      step<false, P>(ban, k, c, r, code, 0, 1);
      step<false, P>(ban, k, c, r, code, 1, 1);
      step<false, P>(ban, k, c, r, code, -1, -1);
      step<false, P>(ban, k, c, r, code, 1, -1);
      break;
    }
    case KIN: case TO: case NARIKYOU: case NARIKEI: case NARIGIN:
      kiki_kin_ue(ban, k, c, r);
      break;
    case KAKU:
      kiki_naname<false>(ban, k, KAKU, c, r);
      break;
    case UMA:
      // The upper horse's orthogonal steps only count and mark checks.
      step<false, K | C>(ban, k, c, r, UMA, 0, 1);
      step<false, K | C>(ban, k, c, r, UMA, 0, -1);
      step<false, K | C>(ban, k, c, r, UMA, 1, 0);
      step<false, K | C>(ban, k, c, r, UMA, -1, 0);
      kiki_naname<false>(ban, k, UMA, c, r);
      break;
    case HISHA:
      kiki_hisha<false>(ban, k, code, c, r);
      break;
    case RYUU: {
      kiki_hisha<false>(ban, k, code, c, r);
      constexpr unsigned P = K | DSQ | ASQ | C;
      step<false, P>(ban, k, c, r, code, 1, 1);
      step<false, P>(ban, k, c, r, code, 1, -1);
      step<false, P>(ban, k, c, r, code, -1, 1);
      step<false, P>(ban, k, c, r, code, -1, -1);
      break;
    }
    case OU:
      for (int dc = -1; dc <= 1; ++dc)
        for (int dr = -1; dr <= 1; ++dr)
          if (dc != 0 || dr != 0) step<false, K | D>(ban, k, c, r, code, dc, dr);
      break;
    default:
      break;
  }
}

template <typename T>
constexpr void fill_map(T (&m)[10][10], T v) {
  for (auto& col : m)
    for (T& x : col) x = v;
}

// The maps of an empty board: no reach, no defender or attacker (999, -999), no squares.
constexpr Kiki kara_no_kiki() {
  Kiki k{};
  fill_map<std::int16_t>(k.atari_sita, -999);
  fill_map<std::int16_t>(k.atari_ue, 999);
  fill_map<std::int16_t>(k.himo_sita, 999);
  fill_map<std::int16_t>(k.himo_ue, 999);
  return k;
}

constexpr Kiki kKaraNoKiki = kara_no_kiki();

}  // namespace

void kiki_keisan(const int (&ban)[10][10], Kiki& k) {
  // Every map reset in one copy, squares included, so nothing from an unrelated earlier
  // position can leak into a score.
  std::memcpy(&k, &kKaraNoKiki, sizeof k);

  for (int c = 1; c <= 9; ++c) {
    for (int r = 1; r <= 9; ++r) {
      const int code = ban[c][r];
      if (code <= -10) sita_koma(ban, k, code, c, r);
      else if (code >= 10) ue_koma(ban, k, code, c, r);
    }
  }
}

}  // namespace mirado
