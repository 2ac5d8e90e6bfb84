// Status texts around the board: level, handicap, move number, last moves in
// notation, elapsed times, and the timer tick that keeps the clock running.
// Every text is printed twice: black first, then its colour 0.1 cell up-left.
#include <cmath>

#include "app/ban_gamen.h"
#include "app/com_teban.h"

namespace mirado {

std::string kansuuji(int value) {
  static constexpr const char* kKanji[10] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
  return (value >= 1 && value <= 9) ? kKanji[value] : "";
}

std::string handicap_meishou(int level) {
  static constexpr const char* kRank[21] = {
      "名人", "８段", "７段", "６段", "５段", "４段", "３段", "２段", "初段", "１級", "２級",
      "３級", "４級", "５級", "６級", "７級", "８級", "９級", "10級", "11級", "12級"};
  if (level < -10 || level > 10) return "";
  return std::string("ﾊﾝﾃﾞｨｷｬｯﾌﾟ:") + kRank[level + 10];
}

std::string kifu_moji(int value) {
  static constexpr const char* kZenkaku[10] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９"};
  if (value >= 1 && value <= 9) return kZenkaku[value];
  if (value >= 1001 && value <= 1009) return kansuuji(value - 1000);
  switch (koma_abs(value)) {
    case HU: return "歩";
    case TO: return "と";
    case KYOU: return "香";
    case NARIKYOU: return "香成";
    case KEI: return "桂";
    case NARIKEI: return "桂成";
    case GIN: return "銀";
    case NARIGIN: return "銀成";
    case KIN: return "金";
    case KAKU: return "角";
    case UMA: return "角成";
    case HISHA: return "飛";
    case RYUU: return "飛成";
    case OU: return "王";
    default: return "";
  }
}

std::string niketa(long value) {
  std::string s = std::to_string(value);
  if (s.size() == 1) return "0" + s;
  if (s.size() == 2) return s;
  return "";
}

std::string jikan_moji(double seconds) {
  double t = seconds;
  long h = 0;
  if (t >= 3600) {
    h = static_cast<long>(std::floor(t / 3600));
    t -= 3600.0 * static_cast<double>(h);
  }
  const long m = static_cast<long>(std::floor(t / 60));
  const double s = t - 60.0 * static_cast<double>(m);
  return niketa(h) + ":" + niketa(m) + ":" + niketa(static_cast<long>(std::floor(s)));
}

void BanGamen::level_hyouji(int lv) {
  moji_egaku(-1.4, 0.2, std::string_view("LEVEL"), IRO_KURO, 0, 10);
  moji_egaku(-1.5, 0.1, std::string_view("LEVEL"), IRO_SHIRO, 0, 10);
  moji_egaku(0.1, 0.1, static_cast<long>(lv), IRO_KURO, 0, 12);
  moji_egaku(0, 0, static_cast<long>(lv), IRO_SHIRO, 0, 12);
}

void BanGamen::handicap_hyouji(int h) {
  for (int c = 11; c <= 14; ++c) koma_egaku(settei_.haikei(), c, 2);
  meisho_egaku(11.1, 2.1, h, IRO_KURO, 10);
  meisho_egaku(11, 2, h, IRO_SHIRO, 10);
}

void BanGamen::tesuu_hyouji(int n) {
  koma_egaku(settei_.haikei(), 13, 4);
  koma_egaku(settei_.haikei(), 14, 4);
  waku_egaku(IRO_MIDORI, 11, 4);
  // Shorter numbers start further right so that they end in about the same place.
  const double x = n < 10 ? 13.2 : (n < 100 ? 13.1 : 13.0);
  moji_egaku(x + 0.1, 4.4, static_cast<long>(n), IRO_KURO, 0, 12);
  moji_egaku(x, 4.3, static_cast<long>(n), IRO_SHIRO, 0, 12);
  meisho_egaku(13.9, 4.2, 99, IRO_KURO, 10);
  meisho_egaku(13.8, 4.1, 99, IRO_SHIRO, 10);
}

void BanGamen::te_kesu(Gawa side) {
  if (side == t_.ue_gawa()) {
    // The notation starts half a cell into column -2: erase it too, or its first
    // character stays behind.
    koma_egaku(settei_.haikei(), -2, 8);
    koma_egaku(settei_.haikei(), -1, 8);
    koma_egaku(settei_.haikei(), 0, 8);
    waku_egaku(IRO_MIDORI, -1, 7);
    waku_egaku(IRO_MIDORI, 1, 8);
  } else if (side == t_.sita_gawa()) {
    koma_egaku(settei_.haikei(), 13, 3);
    koma_egaku(settei_.haikei(), 14, 3);
    koma_egaku(settei_.haikei(), 15, 3);
  }
}

void BanGamen::te_hyouji(Gawa side, int c, int r, int code, int iro) {
  te_kesu(side);
  double x_col, x_row, x_koma, y;
  if (side == t_.ue_gawa()) {
    koma_egaku(settei_.haikei(), -2, 8);
    koma_egaku(settei_.haikei(), -1, 8);
    koma_egaku(settei_.haikei(), 0, 8);
    waku_egaku(IRO_MIDORI, -1, 7);
    x_col = -1.5, x_row = -1.1, x_koma = -0.5, y = 8.5;
  } else if (side == t_.sita_gawa()) {
    te_kesu(side);
    x_col = 13.5, x_row = 13.9, x_koma = 14.5, y = 3.5;
  } else {
    return;
  }
  // Players read a square by the file label printed above its column (9 on the left),
  // so the notation names that label, not the column's place on the screen.
  const std::string parts[3] = {kifu_moji(10 - c), kifu_moji(r + 1000), kifu_moji(code)};
  const double xs[3] = {x_col, x_row, x_koma};
  for (int i = 0; i < 3; ++i) {
    if (parts[i].empty()) continue;
    moji_egaku(xs[i], y, parts[i], IRO_KURO, 0, 12);
    moji_egaku(xs[i] - 0.1, y - 0.1, parts[i], iro, 0, 12);
  }
  if (side == t_.ue_gawa()) waku_egaku(IRO_MIDORI, 1, 8);
}

void BanGamen::keika_kesu(Gawa side) {
  if (side == t_.sita_gawa() || side == t_.ue_gawa())
    tokei_moji_[side == t_.sita_gawa() ? 0 : 1].clear();
  if (side == t_.sita_gawa()) {
    for (int c = 13; c <= 15; ++c) koma_egaku(settei_.haikei(), c, 9);
  } else if (side == t_.ue_gawa()) {
    for (int c = -2; c <= 0; ++c) koma_egaku(settei_.haikei(), c, 9);
    waku_egaku(IRO_MIDORI, 1, 9);  // the tile in column 0 covered the board's left border
  }
}

void BanGamen::keika_hyouji(Gawa side, double seconds) {
  if (!mado_.is_checked(Menu::KEIKA)) return;
  const std::string text = jikan_moji(seconds);
  keika_kesu(side);
  if (side == t_.sita_gawa() || side == t_.ue_gawa())
    tokei_moji_[side == t_.sita_gawa() ? 0 : 1] = text;
  if (side == t_.sita_gawa()) {
    moji_egaku(13.1, 9.3, text, IRO_KURO, 0, 12);
    moji_egaku(13, 9.2, text, IRO_SHIRO, 0, 12);
  } else if (side == t_.ue_gawa()) {
    moji_egaku(-1.5, 9.3, text, IRO_KURO, 0, 12);
    moji_egaku(-1.6, 9.2, text, IRO_SHIRO, 0, 12);
    waku_egaku(IRO_MIDORI, 1, 9);
  }
}

bool BanGamen::tokei_hashiru() const {
  if (!t_.hajimatta() || t_.owatta() || t_.saisei_chu() ||
      t_.saikai_machi())
    return false;
  // The computer's time is charged for its search only, not for showing its move.
  if (t_.com_taikyoku() && t_.teban_nushi() == t_.ue_gawa())
    return com_.kangae_chu();
  return true;
}

double BanGamen::jikan_gamen(Gawa side) const {
  const bool sita = side == t_.sita_gawa();
  double t = sita ? t_.jikan_sita() : t_.jikan_ue();
  if (side != t_.teban_nushi()) return t;
  if (tokei_hashiru())
    t += keika_byou(t_.jikan_kaishi(), ports_.clock->now());
  else if (t_.com_taikyoku() && !sita)
    t += com_.mikomi();
  return t;
}

bool BanGamen::jikan_awaseru() {
  if (!mado_.is_checked(Menu::KEIKA)) return false;
  bool kaeta = false;
  for (Gawa side : {t_.sita_gawa(), t_.ue_gawa()}) {
    const double t = jikan_gamen(side);
    if (jikan_moji(t) == tokei_moji_[side == t_.sita_gawa() ? 0 : 1]) continue;
    keika_hyouji(side, t);
    kaeta = true;
  }
  return kaeta;
}

void BanGamen::timer_tick() {
  if (!mado_.timer1()) return;
  if (jikan_awaseru()) ports_.canvas->refresh();
}

}  // namespace mirado
