#include "kifu/ichiran.h"

#include <cstdio>

#include "kifu/kensa.h"
#include "rules/ugoki.h"

namespace mirado {

namespace {

const char* koma_mei(int code) {
  switch (koma_abs(code)) {
    case HU: return "歩";
    case TO: return "と";
    case KYOU: return "香";
    case NARIKYOU: return "成香";
    case KEI: return "桂";
    case NARIKEI: return "成桂";
    case GIN: return "銀";
    case NARIGIN: return "成銀";
    case KIN: case NARIKIN: return "金";
    case KAKU: return "角";
    case UMA: return "馬";
    case HISHA: return "飛";
    case RYUU: return "龍";
    case OU: return is_sita(code) ? "玉" : "王";
    default: return "?";
  }
}

// A square named as 先手 reads the board from its own side, whichever side of the screen
// it sits on: full-width file digit, kanji rank ("７六").
std::string masu_mei(int c, int r, bool sita_sente) {
  static constexpr const char* kSuji[10] = {"?", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  static constexpr const char* kDan[10] = {"?", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  if (c < 1 || c > 9 || r < 1 || r > 9) return "??";
  const int suji = sita_sente ? 10 - c : c;
  const int dan = sita_sente ? r : 10 - r;
  return std::string(kSuji[suji]) + kDan[dan];
}

// Directions as the piece's owner sees them: forward, and to its right.
int mae_muki(int code, int fr, int tr) { return is_sita(code) ? fr - tr : tr - fr; }
int migi_ichi(int code, int c) { return is_sita(code) ? c : 10 - c; }

const char* dousa(int mae) { return mae > 0 ? "上" : mae < 0 ? "引" : "寄"; }

struct Masu {
  int c, r;
};

// The other squares holding the same piece that could also go to the destination.
int onaji_koma(const Kyokumen& p, const KifuEntry& e, Masu* out) {
  int n = 0;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      if (p.ban[c][r] != e.moto_koma || (c == e.te.fc && r == e.te.fr)) continue;
      if (p.idou_kanou(c, r, e.te.tc, e.te.tr, e.moto_koma)) out[n++] = {c, r};
    }
  return n;
}

// 上 / 引 / 寄 when the movement tells the piece apart; else 直 for a piece going straight
// forward, else 右 / 左 by where it stands, with the movement when that alone is not enough.
std::string kubetsu(const KifuEntry& e, const Masu* hoka, int n) {
  const int code = e.moto_koma;
  const int mae = mae_muki(code, e.te.fr, e.te.tr);
  const int x = migi_ichi(code, e.te.fc);
  const auto sign = [](int v) { return (v > 0) - (v < 0); };
  int onaji_dousa = 0, migi = 0, hidari = 0, migi_d = 0, hidari_d = 0;
  for (int i = 0; i < n; ++i) {
    const bool d = sign(mae_muki(code, hoka[i].r, e.te.tr)) == sign(mae);
    const int hx = migi_ichi(code, hoka[i].c);
    onaji_dousa += d;
    migi += hx >= x;  // stands as far right or further
    hidari += hx <= x;
    migi_d += d && hx >= x;
    hidari_d += d && hx <= x;
  }
  if (onaji_dousa == 0) return dousa(mae);
  const bool ryuuma = koma_abs(code) == RYUU || koma_abs(code) == UMA;
  if (!ryuuma && mae > 0 && e.te.fc == e.te.tc && onaji_dousa > 0) {
    bool hoka_mo_massugu = false;
    for (int i = 0; i < n; ++i) hoka_mo_massugu |= hoka[i].c == e.te.tc && mae_muki(code, hoka[i].r, e.te.tr) > 0;
    if (!hoka_mo_massugu) return "直";
  }
  if (migi == 0) return "右";
  if (hidari == 0) return "左";
  if (migi_d == 0) return std::string("右") + dousa(mae);
  if (hidari_d == 0) return std::string("左") + dousa(mae);
  return {};
}

}  // namespace

std::string te_hyouki(const Kyokumen& mae, const KifuEntry& e, const KifuEntry* zen, bool sita_sente) {
  const bool sente_no_koma = is_sita(e.moto_koma) == sita_sente;
  std::string s = sente_no_koma ? "▲" : "△";
  if (zen && !is_uchi(e.te.fc) && zen->te.tc == e.te.tc && zen->te.tr == e.te.tr) {
    s += "同";
  } else {
    s += masu_mei(e.te.tc, e.te.tr, sita_sente);
  }
  s += koma_mei(e.moto_koma);
  Masu hoka[81];
  if (is_uchi(e.te.fc)) {
    KifuEntry ban_kara = e;
    ban_kara.te.fc = ban_kara.te.fr = 0;
    return onaji_koma(mae, ban_kara, hoka) > 0 ? s + "打" : s;
  }
  if (const int n = onaji_koma(mae, e, hoka); n > 0) s += kubetsu(e, hoka, n);
  if (e.te.koma != e.moto_koma) return s + "成";
  int nari = 0;
  if (naru_kanou(e.te.fc, e.te.fr, e.te.tr, e.moto_koma, nari)) s += "不成";
  return s;
}

Kyokumen kifu_hajime(const Kyokumen& ima, const Kifu& kifu) {
  Kyokumen p = ima;
  for (int i = kifu.kifu_ichi; i >= 1; --i) undo_move(p, kifu_modoshi(kifu.at(i)));
  return p;
}

std::vector<int> gyou_hajime(const TurnHajime& turns, int n) {
  std::vector<int> out;
  std::size_t k = 0;
  for (int s = 0; s < n;) {
    out.push_back(s);
    while (k < turns.size() && turns[k] <= s) ++k;
    // The next turn listed, when it begins within three entries; else three on.
    s = k < turns.size() && turns[k] <= s + 3 ? turns[k] : s + 3;
  }
  return out;
}

std::vector<std::string> kifu_ichiran(const Kifu& kifu, int n, bool sita_sente, const Kyokumen& hajime,
                                      const TurnHajime& turns) {
  std::vector<std::string> rows;
  Kyokumen p = hajime;
  const std::vector<int> gyou = gyou_hajime(turns, n);
  for (std::size_t g = 0; g < gyou.size(); ++g) {
    const int first = gyou[g] + 1;
    const int last = g + 1 < gyou.size() ? gyou[g + 1] : n;
    char head[16];
    std::snprintf(head, sizeof head, "%3d ", static_cast<int>(g) + 1);
    std::string row = head;
    // A turn belongs to the side whose own piece opens it.
    row += is_sita(kifu.at(first).moto_koma) == sita_sente ? "先手" : "後手";
    for (int i = first; i <= last; ++i) {
      const KifuEntry& e = kifu.at(i);
      row += " " + te_hyouki(p, e, i > 1 ? &kifu.at(i - 1) : nullptr, sita_sente);
      do_move(p, kifu_te(e));
    }
    rows.push_back(row);
  }
  return rows;
}

int ichiran_gyou(int ichi, const TurnHajime& turns) {
  return static_cast<int>(gyou_hajime(turns, ichi).size()) - 1;
}

}  // namespace mirado
