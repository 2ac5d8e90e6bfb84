// The board view: painting the board, pieces, hands, coordinates, background and logo;
// the texts around the board (level, handicap, move number, last moves, elapsed times)
// and the clock's tick; the status line under the board, handed to the window with the
// move list after every event; and the marks of the last turn and of the best turn.
// Every operation paints over what is there; a region is cleared by painting background
// tiles over it again. Every text is printed twice: black first, then its colour 0.1 cell
// up-left.
#include <algorithm>
#include <cmath>

#include "app/ban_gamen.h"
#include "app/com_teban.h"
#include "app/hint_kaiseki.h"
#include "app/nyuuryoku.h"
#include "kifu/ichiran.h"

namespace mirado {

namespace {
constexpr int kMochigomaUe[8] = {0, HU, KYOU, KEI, GIN, KIN, KAKU, HISHA};
}  // namespace

void BanGamen::koma_egaku(int code, double c, double r) {
  const bool known = code == kara || (code >= 1 && code <= 7) ||
                     (is_koma(code) && is_valid_code(code));
  if (!known) return;  // no picture: the cell is left as it was
  ports_.canvas->picture(code, cell_x(c), cell_y(r));
  const int ic = static_cast<int>(c), ir = static_cast<int>(r);
  if (ic == c && ir == r && on_ban(ic, ir)) nurikae_[ic * 10 + ir] = true;  // its mark is gone
}

void BanGamen::waku_egaku(int iro, double c, double r) {
  const int x = cell_x(c), y = cell_y(r);
  ports_.canvas->rect(iro, x, y, x + MASU_W, y + MASU_H);
}

void BanGamen::masu_egaku(int code, double c, double r) {
  koma_egaku(code, c, r);
  waku_egaku(IRO_MIDORI, c, r);
}

void BanGamen::moji_egaku(double c, double r, std::string_view value, int iro, int mode, int size) {
  (void)mode;  // a text is printed as it is whatever the mode
  ports_.canvas->text(cell_x(c), cell_y(r), value, iro, size, font_bold_);
}

void BanGamen::moji_egaku(double c, double r, long value, int iro, int mode, int size) {
  const std::string s = mode == 0 ? std::to_string(value)
                                  : kansuuji(value >= 1 && value <= 9 ? static_cast<int>(value) : 0);
  if (s.empty()) return;
  ports_.canvas->text(cell_x(c), cell_y(r), s, iro, size, font_bold_);
}

void BanGamen::meisho_egaku(double c, double r, int code, int iro, int size) {
  const std::string s = code == 99 ? std::string("手目") : handicap_meishou(code);
  if (s.empty()) return;
  ports_.canvas->text(cell_x(c) + 120, cell_y(r) + 160, s, iro, size, font_bold_);
}

void BanGamen::haikei_shiku(int id, int c1, int c2, int r1, int r2) {
  for (int c = c1; c <= c2; ++c)
    for (int r = r1; r <= r2; ++r)
      if (!on_ban(c, r)) koma_egaku(id, c, r);
}

void BanGamen::zahyou_egaku() {
  font_bold_ = true;
  for (int i = 1; i <= 9; ++i) {
    koma_egaku(settei_.haikei(), i, 0);
    moji_egaku(i + 0.2, 0.5, static_cast<long>(10 - i), IRO_KURO, 0, 16);
    moji_egaku(i + 0.1, 0.4, static_cast<long>(10 - i), IRO_KIIRO, 0, 16);
    koma_egaku(settei_.haikei(), 10, i);
    moji_egaku(10.2, i + 0.4, static_cast<long>(i), IRO_KURO, 1, 12);
    moji_egaku(10.1, i + 0.3, static_cast<long>(i), IRO_KIIRO, 1, 12);
    waku_egaku(IRO_MIDORI, 9, i);
  }
}

void BanGamen::ban_egaku() {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) masu_egaku(t_.pos().ban[c][r], c, r);
}

void BanGamen::mochigoma_sita_egaku() {
  for (int k = 1; k <= 7; ++k) {
    const int r = moto_gyou(TE_SITA, k);
    koma_egaku(kara, 11, r);
    koma_egaku(settei_.haikei(), 12, r);
    waku_egaku(IRO_MIDORI, 11, r);
    if (t_.pos().mochigoma_sita[k] > 0) {
      masu_egaku(-kMochigomaUe[k], 11, r);
      moji_egaku(12.1, k + 2.3, static_cast<long>(t_.pos().mochigoma_sita[k]), IRO_KURO, 0,
                 14);
      moji_egaku(12, k + 2.2, static_cast<long>(t_.pos().mochigoma_sita[k]), IRO_AKA, 0, 14);
    }
  }
}

void BanGamen::mochigoma_ue_egaku() {
  for (int j = 1; j <= 7; ++j) {
    const int k = moto_fr(TE_UE, j);
    koma_egaku(kara, -1, j);
    koma_egaku(settei_.haikei(), 0, j);
    waku_egaku(IRO_MIDORI, -1, j);
    if (t_.pos().mochigoma_ue[k] > 0) {
      masu_egaku(kMochigomaUe[k], -1, j);
      moji_egaku(0.1, j + 0.3, static_cast<long>(t_.pos().mochigoma_ue[k]), IRO_KURO, 0, 14);
      moji_egaku(0, j + 0.2, static_cast<long>(t_.pos().mochigoma_ue[k]), IRO_AKA, 0, 14);
    }
    waku_egaku(IRO_MIDORI, 1, j);
  }
}

void BanGamen::zenbu_egaku() {
  haikei_shiku(settei_.haikei(), -3, 28, -2, 17);
  zahyou_egaku();
  mochigoma_sita_egaku();
  mochigoma_ue_egaku();
  ban_egaku();
  tokei_moji_[0].clear();  // the background covered them
  tokei_moji_[1].clear();
  jikan_awaseru();
  if (t_.taikyoku_shu() == TaikyokuShu::com) level_hyouji(t_.level());
  if (t_.handicap_zumi()) handicap_hyouji(t_.handicap());
  koma_egaku(!t_.hajimatta() ? PIC_ZUVANSHOGI2 : PIC_ZUVANSHOGI, 11.2, 0);
  shirushi_awaseru();
}

void BanGamen::kaishi_egaku() {
  // A game starts on a clean picture: a loaded record's title and names, the last
  // moves' labels and anything else of the game before are gone.
  zenbu_egaku();
}

void BanGamen::waku_kesu() {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) waku_egaku(IRO_MIDORI, c, r);
}

void BanGamen::sidou_egaku(int fc, int fr, int iro, int code) {
  waku_kesu();
  if (!settei_.sidou_on()) return;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r)
      if (t_.pos().idou_kanou(fc, fr, c, r, code)) waku_egaku(iro, c, r);
}

// A move made on the position: the two squares and the hands it changed.
void BanGamen::te_egaku(const Te& te, int torareru) {
  if (is_sita(torareru)) mochigoma_ue_egaku();
  else if (is_ue(torareru)) mochigoma_sita_egaku();
  // A drop's source is a hand cell, which the hand redraw below paints whole.
  if (on_ban(te.fc, te.fr)) masu_egaku(kara, te.fc, te.fr);
  if (te.fc == TE_UE) mochigoma_ue_egaku();
  else if (te.fc == TE_SITA) mochigoma_sita_egaku();
  masu_egaku(te.koma, te.tc, te.tr);
}

// ---- texts around the board and the clocks ----

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

void BanGamen::level_kesu() {
  for (int c = -2; c <= 0; ++c) koma_egaku(settei_.haikei(), c, 0);
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
  if (!kirikae_.is_checked(Menu::KEIKA)) return;
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
  if (!kirikae_.is_checked(Menu::KEIKA)) return false;
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
  if (!kirikae_.timer1()) return;
  if (jikan_awaseru()) ports_.canvas->refresh();
}

// ---- the status line: whose turn it is, which of its three moves is due, and why the
// last click was refused, or what a waiting box says ----

namespace {

std::string gawa_mei(const Taikyoku& t, Gawa side) {
  if (t.com_taikyoku()) return side == t.sita_gawa() ? "あなた" : "COM";
  return side == Gawa::sente ? "先手" : "後手";
}

std::string dankai_moji(const Taikyoku& t) {
  switch (t.dankai()) {
    case Dankai::ichi: return "1手目: 自分の駒";
    case Dankai::ni: return "2手目: 相手の駒";
    case Dankai::san:
      return t.santeme_seigen()
                 ? "3手目: 自分の駒（1手目の駒は動かせない・2手目の駒は取れない）"
                 : "3手目: 自分の駒";
    default: return {};
  }
}

std::string kihon(const Taikyoku& t, const ComTeban& com) {
  if (!t.hajimatta()) return "「対局」で始めて下さい";
  if (t.owatta()) return gawa_mei(t, t.shousha()) + "の勝ち";
  if (t.saisei_chu())
    return "棋譜 " + std::to_string(t.kifu().kifu_ichi) + "/" +
           std::to_string(t.kifu().kifu_nagasa) + "手（進で進めます）";
  if (com.shikouchu()) {
    // It thinks only while it searches; the rest of its turn shows its moves.
    if (com.kangae_chu()) return "COM 考え中…";
    return "COMの番　" + std::to_string(com.tejun()) + "手目";
  }
  return gawa_mei(t, t.teban_nushi()) + "の番　" + dankai_moji(t);
}

// A box's words on one line: the title (when it has one) and the text, spaces trimmed.
std::string hitogyou(std::string_view text, std::string_view title) {
  const auto trim = [](std::string_view s) {
    const auto a = s.find_first_not_of(" \n");
    if (a == std::string_view::npos) return std::string();
    std::string out(s.substr(a, s.find_last_not_of(" \n") - a + 1));
    for (std::size_t i; (i = out.find('\n')) != std::string::npos;) out.replace(i, 1, "　");
    return out;
  };
  const std::string t = trim(title), m = trim(text);
  return t.empty() ? m : m.empty() ? t : t + "：" + m;
}

}  // namespace

std::string BanGamen::joukyou() const {
  if (!hako_moji_.empty()) {
    std::string s = hako_moji_;
    if (!kotowari_.empty() && hako_moji_.find(kotowari_) == std::string::npos)
      s += "　× " + kotowari_;
    return s;
  }
  std::string s = kihon(t_, com_);
  if (!hint_.kaiseki_moji().empty()) s += "　" + hint_.kaiseki_moji();
  if (!hint_.hint_moji().empty()) s += "　" + hint_.hint_moji();
  if (!kotowari_.empty()) s += "　× " + kotowari_;
  if (!oshirase_.empty()) s += "　" + oshirase_;
  if (kotowari_.empty() && sentaku_nareru()) s += "　成る時は右ボタンで指して下さい";
  return s;
}

bool BanGamen::sentaku_nareru() const {
  if (nyuuryoku_.click_jotai() == 0 || !t_.hajimatta() || t_.owatta() ||
      t_.saisei_chu())
    return false;
  const Te& s = nyuuryoku_.sentaku(t_.dankai());
  if (!on_ban(s.fc, s.fr) || t_.pos().ban[s.fc][s.fr] != s.koma)
    return false;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      int nari = 0;
      if (t_.pos().idou_kanou(s.fc, s.fr, c, r, s.koma) &&
          naru_kanou(s.fc, s.fr, r, s.koma, nari))
        return true;
    }
  return false;
}

void BanGamen::joukyou_okuru() {
  if (std::string s = joukyou(); s != joukyou_okutta_) {
    joukyou_okutta_ = std::move(s);
    ports_.ui->set_status(joukyou_okutta_);
  }
  std::vector<std::string> rows = settei_.ichiran_on() ? ichiran() : std::vector<std::string>{};
  const int ima = settei_.ichiran_on() ? ichiran_ima() : -1;
  if (rows != ichiran_okutta_ || ima != ichiran_ima_okutta_ ||
      settei_.ichiran_on() != ichiran_mieru_) {
    ichiran_okutta_ = std::move(rows);
    ichiran_ima_okutta_ = ima;
    ichiran_mieru_ = settei_.ichiran_on();
    ports_.ui->set_ichiran(settei_.ichiran_on(), ichiran_okutta_, ima);
  }
  // The analysis' classes beside the rows, and its graph.
  std::vector<int> rui;
  if (settei_.ichiran_on() && !hint_.kaiseki_kekka().empty()) {
    rui.assign(ichiran_okutta_.size(), 0);
    for (std::size_t i = 0; i < rui.size() && i < hint_.kaiseki_kekka().size(); ++i)
      rui[i] = static_cast<int>(hint_.kaiseki_kekka()[i].rui);
  }
  if (rui != ichiran_rui_okutta_) {
    ichiran_rui_okutta_ = std::move(rui);
    ports_.ui->set_ichiran_rui(ichiran_rui_okutta_);
  }
  if (KaisekiZu zu = hint_.kaiseki_zu(settei_.kaiseki_zu_on()); !(zu == kaiseki_zu_okutta_)) {
    kaiseki_zu_okutta_ = std::move(zu);
    ports_.ui->set_kaiseki_zu(kaiseki_zu_okutta_);
  }
}

Answer BanGamen::msg(std::string_view text, std::string_view title, Buttons b, Icon icon) {
  // While the box waits, the line under the board says what it says, with why.
  hako_moji_ = hitogyou(text, title);
  joukyou_okuru();
  const Answer a = ports_.ui->message_box(text, title, b, icon);
  hako_moji_.clear();
  joukyou_okuru();
  return a;
}

// ---- the marks of the last turn and of the best turn, and the move list ----

namespace {

// One colour per move of a turn (blue, purple, teal): apart from the red of a selection
// and the magenta of a hint, and dark enough on the wood.
constexpr int kShirushiIro[4] = {IRO_KURO, 9, 5, 3};

int masu_ban(int c, int r) { return c * 10 + r; }

// A frame three lines thick just inside the grid line, which stays the grid's.
constexpr int kFuchi = 15;  // twips: one pixel at scale 1

}  // namespace

std::vector<BanGamen::Shirushi> BanGamen::shirushi() const {
  std::vector<Shirushi> out;
  const int n = t_.kifu().kifu_ichi;
  if (!settei_.chokuzen_on() || !shirushi_ari_ || n < 1) return out;
  const int hajime = gyou_hajime(turn_hajime(), n).back();
  for (int i = hajime + 1; i <= n; ++i) {
    const KifuEntry& e = t_.kifu().at(i);
    const int no = i - hajime;
    if (on_ban(e.te.fc, e.te.fr)) out.push_back({e.te.fc, e.te.fr, no, false});
    if (on_ban(e.te.tc, e.te.tr)) out.push_back({e.te.tc, e.te.tr, no, true});
  }
  return out;
}

void BanGamen::masu_shirushi(int iro, int c, int r, int no) {
  const int x = cell_x(c), y = cell_y(r);
  for (int i = 1; i <= 3; ++i)
    ports_.canvas->rect(iro, x + i * kFuchi, y + i * kFuchi, x + MASU_W - i * kFuchi,
                        y + MASU_H - i * kFuchi);
  if (no <= 0) return;
  const std::string s = std::to_string(no);
  // A light edge keeps the number readable on the wood and on a piece.
  moji_egaku(c + 0.12, r + 0.06, s, IRO_SHIRO, 0, 9);
  moji_egaku(c + 0.10, r + 0.04, s, iro, 0, 9);
}

void BanGamen::masu_saizen(int c, int r, int no) {
  const int x = cell_x(c), y = cell_y(r);
  // Corners only, inside the played turn's frames and clear of them, so both are seen.
  const int dx = MASU_W / 4, dy = MASU_H / 4;
  for (int i = 5; i <= 6; ++i) {
    const int x1 = x + i * kFuchi, y1 = y + i * kFuchi;
    const int x2 = x + MASU_W - i * kFuchi, y2 = y + MASU_H - i * kFuchi;
    for (const int cy : {y1, y2}) {
      ports_.canvas->rect(IRO_HINT, x1, cy, x1 + dx, cy);
      ports_.canvas->rect(IRO_HINT, x2 - dx, cy, x2, cy);
    }
    for (const int cx : {x1, x2}) {
      ports_.canvas->rect(IRO_HINT, cx, y1, cx, y1 + dy);
      ports_.canvas->rect(IRO_HINT, cx, y2 - dy, cx, y2);
    }
  }
  if (no <= 0) return;
  // Its number in the lower right corner, away from the played turn's in the upper left.
  const std::string s = std::to_string(no);
  moji_egaku(c + 0.70, r + 0.56, s, IRO_SHIRO, 0, 9);
  moji_egaku(c + 0.68, r + 0.54, s, IRO_HINT, 0, 9);
}

void BanGamen::shirushi_awaseru() {
  std::array<unsigned char, 100> want{};
  // A later move's mark stands over an earlier one on the same square.
  for (const Shirushi& s : shirushi()) {
    unsigned char& w = want[masu_ban(s.c, s.r)];
    w = static_cast<unsigned char>(s.no * 2 + (s.saki ? 1 : 0));
  }
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int i = masu_ban(c, r);
      const bool painted_over = nurikae_[i];
      if (want[i] == shirushi_gamen_[i] && (want[i] == 0 || !painted_over)) continue;
      // A square the game has just repainted is clean already; any other loses its old mark.
      if (!painted_over && shirushi_gamen_[i] != 0) {
        masu_egaku(t_.pos().ban[c][r], c, r);
      }
      if (want[i] != 0) masu_shirushi(kShirushiIro[want[i] / 2], c, r, want[i] % 2 ? want[i] / 2 : 0);
      shirushi_gamen_[i] = want[i];
    }
  nurikae_.fill(false);
}

std::vector<std::string> BanGamen::ichiran() const {
  // Before a game starts (最初, start-up) 進 cannot step: no rows to click. A new game
  // shows none either until a move is made, or 進 steps into the record kept from before.
  if (!t_.hajimatta() ||
      (t_.tesuu() == 0 && !t_.saisei_chu() && !t_.saikai_machi()))
    return {};
  std::vector<std::string> rows = kifu_ichiran(t_.kifu(), t_.kifu().kifu_nagasa, t_.hyouki_sita_sente(),
                                               kifu_hajime(t_.pos(), t_.kifu()), turn_hajime());
  const std::vector<std::string> soe = hint_.ichiran_soe();
  for (std::size_t i = 0; i < rows.size() && i < soe.size(); ++i) rows[i] += soe[i];
  return rows;
}

int BanGamen::ichiran_ima() const { return ichiran_gyou(t_.kifu().kifu_ichi, turn_hajime()); }

int BanGamen::ichiran_owari(int row) const {
  const std::vector<int> gyou = gyou_hajime(turn_hajime(), t_.kifu().kifu_nagasa);
  return row + 1 < static_cast<int>(gyou.size()) ? gyou[row + 1] : t_.kifu().kifu_nagasa;
}

const std::vector<int>& BanGamen::turn_hajime() const {
  std::vector<int> kagi{t_.hanten_zumi() ? -1 : t_.handicap()};
  for (int i = 1; i <= t_.kifu().kifu_nagasa; ++i) {
    const KifuEntry& e = t_.kifu().at(i);
    kagi.insert(kagi.end(), {e.te.fc, e.te.fr, e.te.tc, e.te.tr, e.te.koma, e.moto_koma, e.tori_koma});
  }
  if (kagi != turn_kagi_) {
    turn_kagi_ = std::move(kagi);
    turn_hajime_.clear();
    if (!t_.hanten_zumi())
      turn_hajime_ = mirado::turn_hajime(t_.kifu().made(t_.kifu().kifu_nagasa), {t_.handicap(), true});
  }
  return turn_hajime_;
}

}  // namespace mirado
