// The status line under the board: whose turn it is, which of its three moves is due,
// and why the last click was refused, or what a waiting box says; and the hand-over of
// the line and the move list to the window after every event.
#include "app/game.h"

namespace mirado {

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

void Game::ibento_owari() {
  hint_kaiseki_.kaiseki_awaseru();
  gamen_.shirushi_awaseru();
  hint_kaiseki_.kaiseki_shirushi();
  // The clock of the holder runs whenever its charge does, whatever the move did.
  const bool timer = is_checked(Menu::KEIKA) && gamen_.tokei_hashiru();
  if (timer != mado_.timer1()) set_timer(timer);
  gamen_.jikan_awaseru();
  gamen_.joukyou_okuru();
}

}  // namespace mirado
