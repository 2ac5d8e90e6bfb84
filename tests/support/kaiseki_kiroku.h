// A record for the analysis tests: two quiet turns, then a turn of the lower side that
// leaves its own king attacked, then the upper side taking the king with its first move.
#pragma once

#include <vector>

#include "kifu/kensa.h"
#include "kifu/kifu.h"
#include "rules/kyokumen.h"
#include "rules/ugoki.h"

namespace mirado {
namespace {

// A record made by playing moves on a board, as stepping will play them again.
struct Kiroku {
  Kyokumen p;
  std::vector<KifuEntry> e;
  Kiroku() { p.shoki_haichi(); }
  void sasu(int fc, int fr, int tc, int tr) {
    KifuEntry k;
    k.te.fc = fc, k.te.fr = fr, k.te.tc = tc, k.te.tr = tr;
    k.moto_koma = k.te.koma = p.ban[fc][fr];
    k.tori_koma = p.ban[tc][tr];
    do_move(p, kifu_te(k));
    e.push_back(k);
  }
};

struct Te3 {
  int fc, fr, tc, tr;
};

// Quiet board moves of one side: no capture, nothing that could promote.
inline std::vector<Te3> shizuka(const Kyokumen& p, bool sita) {
  std::vector<Te3> out;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int v = p.ban[c][r];
      if (sita ? v > -10 : v < 10) continue;
      for (int tc = 1; tc <= 9; ++tc)
        for (int tr = 4; tr <= 6; ++tr)
          if (p.ban[tc][tr] == kara && (sita ? r >= 4 : r <= 6) &&
              const_cast<Kyokumen&>(p).idou_kanou(c, r, tc, tr, v))
            out.push_back({c, r, tc, tr});
    }
  return out;
}

// Two quiet turns, then a turn of the lower side that ends with its king attacked, then
// the upper side taking the king with its first move.
inline std::vector<KifuEntry> kyou_wo_toraseru_kiroku(int& blunder_turn) {
  Kiroku k;
  k.sasu(7, 7, 7, 6);  // ▲３六歩
  k.sasu(7, 3, 7, 4);  // △３四歩
  k.sasu(9, 7, 9, 6);  // ▲１六歩
  k.sasu(8, 2, 6, 4);  // △４四角: it eyes the lower king's diagonal, opened by ▲３六歩
  k.sasu(1, 7, 1, 6);  // ▲９六歩
  k.sasu(1, 3, 1, 4);  // △９四歩
  blunder_turn = 2;
  for (const Te3& a : shizuka(k.p, true))
    for (const Te3& b : shizuka(k.p, false))
      for (const Te3& c : shizuka(k.p, true)) {
        if (c.fc == a.fc && c.fr == a.fr) continue;
        Kiroku t = k;
        if (t.p.ban[a.fc][a.fr] == kara || t.p.ban[a.tc][a.tr] != kara) continue;
        t.sasu(a.fc, a.fr, a.tc, a.tr);
        if (t.p.ban[b.fc][b.fr] < 10 || t.p.ban[b.tc][b.tr] != kara) continue;
        t.sasu(b.fc, b.fr, b.tc, b.tr);
        if (t.p.ban[c.fc][c.fr] > -10 || t.p.ban[c.tc][c.tr] != kara ||
            !t.p.idou_kanou(c.fc, c.fr, c.tc, c.tr, t.p.ban[c.fc][c.fr]))
          continue;
        t.sasu(c.fc, c.fr, c.tc, c.tr);
        const int x = t.p.ou_sita_x, y = t.p.ou_sita_y;
        for (int uc = 1; uc <= 9; ++uc)
          for (int ur = 1; ur <= 9; ++ur)
            if (t.p.ban[uc][ur] >= 10 && t.p.idou_kanou(uc, ur, x, y, t.p.ban[uc][ur])) {
              t.sasu(uc, ur, x, y);
              return t.e;
            }
      }
  return {};
}

}  // namespace
}  // namespace mirado
