#include "rules/perft.h"

#include "rules/ikisaki.h"
#include "rules/ugoki.h"

namespace mirado {

namespace {

bool own_king_attacked(const Kyokumen& p, bool sita) {
  return sita ? kiki_ari(p.ban, false, p.ou_sita_x, p.ou_sita_y) : kiki_ari(p.ban, true, p.ou_ue_x, p.ou_ue_y);
}

std::uint64_t count(Kyokumen& p, bool sita, int depth) {
  if (depth == 0) return 1;
  std::uint64_t nodes = 0;
  auto visit = [&](const Te& te) {
    const TeModoshi m = do_move(p, te);
    if (!own_king_attacked(p, sita)) nodes += count(p, !sita, depth - 1);
    undo_move(p, m);
  };

  for (int c = 1; c <= 9; ++c) {
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (sita ? code > -10 : code < 10) continue;
      for (Masume to = ikisaki(p, c, r, code); !to.kara();) {
        int tc, tr;
        to.toridasu(tc, tr);
        int nari = 0;
        const bool may_promote = naru_kanou(c, r, tr, code, nari);
        if (narazu_kanou(tr, code)) visit(Te{c, r, tc, tr, code});
        if (may_promote) visit(Te{c, r, tc, tr, nari});
      }
    }
  }

  const int* hand = sita ? p.mochigoma_sita : p.mochigoma_ue;
  const int te_col = sita ? TE_SITA : TE_UE;
  for (int slot = 1; slot <= 7; ++slot) {
    if (hand[slot] <= 0) continue;
    const int code = sita ? -MOCHIGOMA_KOMA[slot] : MOCHIGOMA_KOMA[slot];
    for (int tc = 1; tc <= 9; ++tc)
      for (int tr = 1; tr <= 9; ++tr)
        if (p.idou_kanou(te_col, slot, tc, tr, code)) visit(Te{te_col, slot, tc, tr, code});
  }
  return nodes;
}

}  // namespace

std::uint64_t perft(Kyokumen& p, bool teban_sita, int depth) {
  return count(p, teban_sita, depth);
}

}  // namespace mirado
