// The status line under the board: whose turn it is, which of its three moves is due,
// and why the last click was refused; and the hand-over of the line and the move list
// to the window after every event.
#include "app/game.h"

namespace mirado {

namespace {

std::string gawa_mei(const Game& g, int side) {
  if (g.taikyoku().com_taikyoku()) return side == g.taikyoku().sita_gawa() ? "あなた" : "COM";
  return side == g.taikyoku().sente_gawa() ? "先手" : "後手";
}

std::string dankai_moji(const Game& g) {
  switch (g.taikyoku().dankai()) {
    case Dankai::ichi: return "1手目: 自分の駒";
    case Dankai::ni: return "2手目: 相手の駒";
    case Dankai::san:
      return g.taikyoku().santeme_seigen()
                 ? "3手目: 自分の駒（1手目の駒は動かせない・2手目の駒は取れない）"
                 : "3手目: 自分の駒";
    default: return {};
  }
}

std::string kihon(const Game& g) {
  if (g.taikyoku().teban() == 0) return "「対局」で始めて下さい";
  if (g.taikyoku().owatta()) return gawa_mei(g, g.taikyoku().shousha()) + "の勝ち";
  if (g.taikyoku().saisei_chu())
    return "棋譜 " + std::to_string(g.taikyoku().kifu().kifu_ichi) + "/" +
           std::to_string(g.taikyoku().kifu().kifu_nagasa) + "手（進で進めます）";
  if (g.com_shikouchu()) {
    // It thinks only while it searches; the rest of its turn shows its moves.
    if (g.com_kangae_chu()) return "COM 考え中…";
    return "COMの番　" + std::to_string(g.com_tejun()) + "手目";
  }
  return gawa_mei(g, g.taikyoku().teban_nushi()) + "の番　" + dankai_moji(g);
}

}  // namespace

std::string Game::joukyou() const {
  if (!hako_moji_.empty()) {
    std::string s = hako_moji_;
    if (!kotowari_.empty() && hako_moji_.find(kotowari_) == std::string::npos)
      s += "　× " + kotowari_;
    return s;
  }
  std::string s = kihon(*this);
  if (!kaiseki_moji().empty()) s += "　" + kaiseki_moji();
  if (!hint_moji().empty()) s += "　" + hint_moji();
  if (!kotowari_.empty()) s += "　× " + kotowari_;
  if (!oshirase_.empty()) s += "　" + oshirase_;
  if (kotowari_.empty() && sentaku_nareru()) s += "　成る時は右ボタンで指して下さい";
  return s;
}

bool Game::sentaku_nareru() const {
  if (nyuuryoku_.click_jotai() == 0 || taikyoku_.teban() == 0 || taikyoku_.owatta() ||
      taikyoku_.saisei_chu())
    return false;
  const Te& s = nyuuryoku_.sentaku(taikyoku_.dankai());
  if (!on_ban(s.fc, s.fr) || taikyoku_.pos().ban[s.fc][s.fr] != s.koma)
    return false;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      int nari = 0;
      if (taikyoku_.pos().idou_kanou(s.fc, s.fr, c, r, s.koma) == ari &&
          naru_kanou(s.fc, s.fr, r, s.koma, nari) == ari)
        return true;
    }
  return false;
}

void Game::joukyou_okuru() {
  if (std::string s = joukyou(); s != joukyou_okutta_) {
    joukyou_okutta_ = std::move(s);
    ports().ui->set_status(joukyou_okutta_);
  }
  std::vector<std::string> rows = settei_.ichiran_on() ? ichiran() : std::vector<std::string>{};
  const int ima = settei_.ichiran_on() ? ichiran_ima() : -1;
  if (rows != ichiran_okutta_ || ima != ichiran_ima_okutta_ ||
      settei_.ichiran_on() != ichiran_mieru_) {
    ichiran_okutta_ = std::move(rows);
    ichiran_ima_okutta_ = ima;
    ichiran_mieru_ = settei_.ichiran_on();
    ports().ui->set_ichiran(settei_.ichiran_on(), ichiran_okutta_, ima);
  }
  // The analysis' classes beside the rows, and its graph.
  std::vector<int> rui;
  if (settei_.ichiran_on() && !kaiseki_kekka().empty()) {
    rui.assign(ichiran_okutta_.size(), 0);
    for (std::size_t i = 0; i < rui.size() && i < kaiseki_kekka().size(); ++i)
      rui[i] = static_cast<int>(kaiseki_kekka()[i].rui);
  }
  if (rui != ichiran_rui_okutta_) {
    ichiran_rui_okutta_ = std::move(rui);
    ports().ui->set_ichiran_rui(ichiran_rui_okutta_);
  }
  if (KaisekiZu zu = kaiseki_zu(); !(zu == kaiseki_zu_okutta_)) {
    kaiseki_zu_okutta_ = std::move(zu);
    ports().ui->set_kaiseki_zu(kaiseki_zu_okutta_);
  }
}

void Game::ibento_owari() {
  hint_kaiseki_.kaiseki_awaseru();
  shirushi_awaseru();
  hint_kaiseki_.kaiseki_shirushi();
  // The clock of the holder runs whenever its charge does, whatever the move did.
  const bool timer = is_checked(Menu::KEIKA) && tokei_hashiru();
  if (timer != timer1_) set_timer(timer);
  jikan_awaseru();
  joukyou_okuru();
}

}  // namespace mirado
