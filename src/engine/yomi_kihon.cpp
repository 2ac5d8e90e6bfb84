// What both look-aheads share; see the header.
#include "engine/yomi_kihon.h"

#include <algorithm>
#include <atomic>

#include "engine/yomi.h"
#include "rules/ikisaki.h"
#include "rules/santeme.h"
#include "rules/tsumi.h"

namespace mirado {

namespace {

struct Zobrist {
  std::uint64_t ban[10][10][32];
  std::uint64_t te[2][8][20];
  std::uint64_t hojo[KAGI_HOJO];
  Zobrist() {
    std::uint64_t s = 0x9E3779B97F4A7C15ULL;
    auto next = [&s]() {
      s += 0x9E3779B97F4A7C15ULL;
      std::uint64_t z = s;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
      return z ^ (z >> 31);
    };
    // The board's and hands' keys first: LEVEL4's table slots depend on them.
    for (auto& col : ban)
      for (auto& sq : col)
        for (auto& z : sq) z = next();
    for (auto& side : te)
      for (auto& slot : side)
        for (auto& z : slot) z = next();
    for (auto& z : hojo) z = next();
  }
};

const Zobrist& zobrist() {
  static const Zobrist z;
  return z;
}

int shurui(int code) {
  switch (koma_abs(code)) {
    case HU: return 1;
    case TO: return 2;
    case KYOU: return 3;
    case NARIKYOU: return 4;
    case KEI: return 5;
    case NARIKEI: return 6;
    case GIN: return 7;
    case NARIGIN: return 8;
    case KIN: case NARIKIN: return 9;
    case KAKU: return 10;
    case UMA: return 11;
    case HISHA: return 12;
    case RYUU: return 13;
    case OU: return 14;
    default: return 0;
  }
}

}  // namespace

// Worth of a piece standing on the board, by absolute code (whole points, pawn 100).
int koma_kachi(int a) {
  switch (a) {
    case HU: return 100;
    case TO: return 520;
    case KYOU: return 300;
    case NARIKYOU: return 480;
    case KEI: return 350;
    case NARIKEI: return 500;
    case GIN: return 500;
    case NARIGIN: return 540;
    case KIN: case NARIKIN: return 560;
    case KAKU: return 820;
    case UMA: return 1050;
    case HISHA: return 950;
    case RYUU: return 1250;
    default: return 0;
  }
}

bool ue_ou_ari(const Kyokumen& p) {
  return on_ban(p.ou_ue_x, p.ou_ue_y) && p.ban[p.ou_ue_x][p.ou_ue_y] == OU;
}
bool sita_ou_ari(const Kyokumen& p) {
  return on_ban(p.ou_sita_x, p.ou_sita_y) && p.ban[p.ou_sita_x][p.ou_sita_y] == -OU;
}

int koma_su_ue(const Kyokumen& p) {
  int n = p.mochigoma_su_ue;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) n += p.ban[c][r] >= 10 ? 1 : 0;
  return n;
}

std::uint64_t kyokumen_kagi(const Kyokumen& p) {
  const Zobrist& z = zobrist();
  std::uint64_t h = 0;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int v = p.ban[c][r];
      if (v == kara) continue;
      h ^= z.ban[c][r][shurui(v) + (v < 0 ? 16 : 0)];
    }
  for (int s = 1; s <= 7; ++s) {
    h ^= z.te[0][s][std::clamp(p.mochigoma_sita[s], 0, 19)];
    h ^= z.te[1][s][std::clamp(p.mochigoma_ue[s], 0, 19)];
  }
  return h;
}

std::uint64_t kagi_hojo(int i) { return zobrist().hojo[std::clamp(i, 0, KAGI_HOJO - 1)]; }

int turn_kouho(Kyokumen& p, int phase, Kouho* buf, int* ord) {
  KouhoKiroku log{buf, KOUHO_MAX};
  Tansaku t(p);  // its trials put the board back as they found it
  t.level = 3;
  t.tejun = phase == 2 ? Dankai::ni : Dankai::ichi;  // restrictions are applied by the caller, with their exemptions
  t.kiroku = &log;
  t.junbi();
  t.sagasu();
  for (int i = 0; i < log.n; ++i) ord[i] = i;
  // Best first; equal scores keep the design's own order.
  std::sort(ord, ord + log.n, [buf](int x, int y) {
    return buf[x].score != buf[y].score ? buf[x].score > buf[y].score : x < y;
  });
  return log.n;
}

bool santeme_seigen_ue(const Kyokumen& p) {
  const bool oute_mae = ue_ou_ari(p) && kiki_ari(p.ban, true, p.ou_ue_x, p.ou_ue_y);
  return santeme_seigen_ari(SantemeMenjo::ari, koma_su_ue(p), oute_mae);
}

bool kinjite(const Kyokumen& p, int phase, const TeModoshi& u, bool ue_ou) {
  return phase == 2 ? u.torareru == OU || (sita_ou_ari(p) && kiki_ari(p.ban, false, p.ou_sita_x, p.ou_sita_y))
                    : ue_ou && u.torareru != -OU && kiki_ari(p.ban, true, p.ou_ue_x, p.ou_ue_y);
}

int te_kekka(Kyokumen& q, int phase, int torareru) {
  if (torareru == -OU) return YOMI_KACHI;
  if (phase != 2) {
    if (sita_ou_ari(q) && kiki_ari(q.ban, false, q.ou_sita_x, q.ou_sita_y) && tsumi_sita(q)) return YOMI_KACHI;
  } else if (ue_ou_ari(q) && kiki_ari(q.ban, true, q.ou_ue_x, q.ou_ue_y) && tsumi_ue(q)) {
    return -YOMI_KACHI;  // moved the opponent's piece into a mate of our own king
  }
  return 0;
}

bool yomi_tomaru(const YomiSettei& st, std::int64_t nodes, std::chrono::steady_clock::time_point t0, bool ari,
                 bool tokei) {
  if (st.yamete && st.yamete->load(std::memory_order_relaxed)) return true;
  // The budget never stops a search before it has one whole turn to play.
  if (!ari) return false;
  if (st.nodes > 0 && nodes >= st.nodes) return true;
  return tokei && st.byou > 0 &&
         std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() > st.byou;
}

}  // namespace mirado
