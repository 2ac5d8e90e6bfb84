#include "kifu/ichiran.h"

#include <cstdio>

#include "rules/kyokumen.h"
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
    case OU: return "玉";
    default: return "?";
  }
}

const char* dan_mei(int r) {
  static constexpr const char* kDan[10] = {"?", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  return r >= 1 && r <= 9 ? kDan[r] : "?";
}

}  // namespace

std::string te_hyouki(const KifuEntry& e, bool sita_sente) {
  const bool sente_no_koma = is_sita(e.koma) == sita_sente;
  std::string s = sente_no_koma ? "▲" : "△";
  // The file label printed over screen column c is 10 - c.
  s += e.saki_x >= 1 && e.saki_x <= 9 ? std::to_string(10 - e.saki_x) : "?";
  s += dan_mei(e.saki_y);
  if (is_uchi(e.moto_x)) return s + koma_mei(e.koma) + "打";
  s += koma_mei(e.moto_koma);
  if (e.koma != e.moto_koma) return s + "成";
  int nari = 0;
  if (naru_kanou(e.moto_x, e.moto_y, e.saki_y, e.moto_koma, nari) == ari) s += "不成";
  return s;
}

std::vector<std::string> kifu_ichiran(const Kifu& kifu, int n, bool sita_sente) {
  std::vector<std::string> rows;
  for (int first = 1; first <= n; first += 3) {
    const int turn = (first - 1) / 3 + 1;
    char head[16];
    std::snprintf(head, sizeof head, "%3d ", turn);
    std::string row = head;
    row += turn % 2 == 1 ? "先手" : "後手";
    for (int i = first; i < first + 3 && i <= n; ++i) row += " " + te_hyouki(kifu.at(i), sita_sente);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace mirado
