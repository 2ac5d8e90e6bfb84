#include "model/perft.h"

#include "engine/kiki.h"

namespace mirado {

namespace {

struct Undo {
  int from_code, to_code;
};

bool own_king_attacked(const Kyokumen& p, Kiki& k, bool sita) {
  kiki_keisan(p.ban, k);
  return sita ? k.kiki_ue[k.ou_sita_x][k.ou_sita_y] > 0 : k.kiki_sita[k.ou_ue_x][k.ou_ue_y] > 0;
}

void capture_to_hand(Kyokumen& p, int captured, bool sita, int delta) {
  if (captured == kara) return;
  const int slot = mochigoma_slot(captured);
  if (slot == 0) return;
  (sita ? p.mochigoma_sita : p.mochigoma_ue)[slot] += delta;
}

std::uint64_t count(Kyokumen& p, Kiki& k, bool sita, int depth) {
  if (depth == 0) return 1;
  std::uint64_t nodes = 0;
  auto visit = [&]() {
    if (!own_king_attacked(p, k, sita)) nodes += count(p, k, !sita, depth - 1);
  };

  for (int c = 1; c <= 9; ++c) {
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (sita ? code > -10 : code < 10) continue;
      for (int tc = 1; tc <= 9; ++tc) {
        for (int tr = 1; tr <= 9; ++tr) {
          if (p.idou_kanou(c, r, tc, tr, code) == nashi) continue;
          const int captured = p.ban[tc][tr];
          capture_to_hand(p, captured, sita, +1);
          p.ban[c][r] = kara;
          int nari = 0;
          const bool may_promote = naru_kanou(c, r, tr, code, nari) == ari;
          if (narazu_kanou(tr, code) == ari) {
            p.ban[tc][tr] = code;
            visit();
          }
          if (may_promote) {
            p.ban[tc][tr] = nari;
            visit();
          }
          p.ban[tc][tr] = captured;
          p.ban[c][r] = code;
          capture_to_hand(p, captured, sita, -1);
        }
      }
    }
  }

  int* hand = sita ? p.mochigoma_sita : p.mochigoma_ue;
  const int te_col = sita ? TE_SITA : TE_UE;
  p.fu_suji_keisan();
  for (int slot = 1; slot <= 7; ++slot) {
    if (hand[slot] <= 0) continue;
    const int code = sita ? -MOCHIGOMA_KOMA[slot] : MOCHIGOMA_KOMA[slot];
    for (int tc = 1; tc <= 9; ++tc) {
      for (int tr = 1; tr <= 9; ++tr) {
        if (p.idou_kanou(te_col, slot, tc, tr, code) == nashi) continue;
        p.ban[tc][tr] = code;
        --hand[slot];
        visit();
        ++hand[slot];
        p.ban[tc][tr] = kara;
        p.fu_suji_keisan();  // deeper nodes refreshed the flags for their own positions
      }
    }
  }
  return nodes;
}

}  // namespace

std::uint64_t perft(Kyokumen& p, bool teban_sita, int depth) {
  Kiki k{};
  kiki_keisan(p.ban, k);
  return count(p, k, teban_sita, depth);
}

}  // namespace mirado
