// ﾍﾙﾌﾟ → 解析: LEVEL4 looks back at the record on the board, turn by turn, beside the
// window; the classes go to the move list, the win chance to the graph, and while the
// record is stepped through, the best turn of the position shown is marked on the board.
#include <string>

#include "app/game.h"

namespace mirado {

namespace {

std::vector<KifuEntry> kifu_zenbu(const Kifu& k) {
  std::vector<KifuEntry> out;
  for (int i = 1; i <= k.kifu_nagasa; ++i) out.push_back(k.at(i));
  return out;
}

// The moves of two records are the same (the clocks may differ).
bool onaji_te(const std::vector<KifuEntry>& a, const std::vector<KifuEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const KifuEntry &x = a[i], &y = b[i];
    if (x.moto_x != y.moto_x || x.moto_y != y.moto_y || x.saki_x != y.saki_x || x.saki_y != y.saki_y ||
        x.koma != y.koma || x.moto_koma != y.moto_koma || x.tori_koma != y.tori_koma)
      return false;
  }
  return true;
}

void kotowaru_kaiseki(Game& g, std::string why) {
  g.kotowaru(std::move(why));
  g.snd_play(Oto::kinshi);
}

std::string owari_moji(const Game& g) {
  return "解析終了　" + kaiseki_matome_moji(g.kaiseki_kekka(),
                                            g.taikyoku().sente_gawa() == g.taikyoku().sita_gawa());
}

}  // namespace

void Game::kaiseki_menu() {
  if (kaiseki_chu()) {
    kaiseki_yameru();
    kaiseki_moji_ = "解析をやめました";
    return;
  }
  if (taikyoku_.kifu().kifu_nagasa == 0) return kotowaru_kaiseki(*this, "解析する棋譜がありません");
  // The record is replayed from the even position: pieces a handicap took off would be back.
  if (taikyoku_.handicap_zumi() && taikyoku_.handicap() != 0)
    return kotowaru_kaiseki(*this, "駒落ちの対局は解析できません");
  std::vector<KifuEntry> entries = kifu_zenbu(taikyoku_.kifu());
  std::vector<KaisekiKyokumen> turns;
  if (const std::string naze = kaiseki_kyokumen(entries, turns); !naze.empty())
    return kotowaru_kaiseki(*this, "この棋譜は解析できません（" + naze + "）");
  if (turns.empty()) return kotowaru_kaiseki(*this, "解析できる手番がまだありません");
  kaiseki_kekka_.clear();
  kaiseki_kifu_ = std::move(entries);
  KaisekiSettei settei;
  // A fixed budget, in place: the same every time (the event runner).
  if (com_teban_.yomi().yomi_nodes() > 0) {
    settei.nodes = com_teban_.yomi().yomi_nodes();
    kaiseki(turns, settei, kaiseki_kekka_);
    kaiseki_moji_ = owari_moji(*this);
    return;
  }
  settei.nodes = kaiseki_nodes_;
  settei.jobs = kaiseki_jobs_;
  const int n = static_cast<int>(turns.size());
  kaiseki_sagyou_ = std::make_shared<KaisekiSagyou>(std::move(turns), settei);
  kaiseki_moji_ = "解析中… 0/" + std::to_string(n) + "手番（もう一度「解析」でやめます）";
  ports().ui->set_poll(true);
}

void Game::on_poll() {
  if (!kaiseki_sagyou_) {
    ports().ui->set_poll(false);
    return;
  }
  if (!kaiseki_sagyou_->owatta()) {
    kaiseki_moji_ = "解析中… " + std::to_string(kaiseki_sagyou_->sumi()) + "/" +
                    std::to_string(kaiseki_sagyou_->zentai()) +
                    "手番（もう一度「解析」でやめます）";
    return;
  }
  kaiseki_kekka_ = kaiseki_sagyou_->uketoru();
  kaiseki_sagyou_.reset();
  ports().ui->set_poll(false);
  kaiseki_moji_ = owari_moji(*this);
  snd_play(Oto::sonota);
}

void Game::kaiseki_yameru() {
  if (!kaiseki_sagyou_) return;
  kaiseki_sagyou_->yameru();
  kaiseki_sagyou_.reset();
  if (kaiseki_kekka_.empty()) kaiseki_kifu_.clear();
  ports().ui->set_poll(false);
}

void Game::kaiseki_zu_menu() {
  settei_.kaiseki_zu(!settei_.kaiseki_zu_on());
  set_checked(Menu::KAISEKI_ZU, settei_.kaiseki_zu_on());
  settei_kaki();
}

void Game::kaiseki_zu_click(int turn) {
  if (turn >= 1) ichiran_click(turn - 1);
}

void Game::kaiseki_awaseru() {
  if (kaiseki_kifu_.empty() || onaji_te(kaiseki_kifu_, kifu_zenbu(taikyoku_.kifu()))) return;
  // The record was played on or replaced: what was found belongs to another game.
  if (kaiseki_chu()) kaiseki_moji_ = "棋譜が変わったので解析をやめました";
  kaiseki_yameru();
  kaiseki_kekka_.clear();
  kaiseki_kifu_.clear();
}

void Game::kaiseki_shirushi() {
  const int ichi = taikyoku_.kifu().kifu_ichi;
  const int n = static_cast<int>(kaiseki_kekka_.size());
  const int t = ichi % 3 == 0 && ichi / 3 < n ? ichi / 3 : -1;
  // The board moved on without a click that takes the marks away (a row of the list).
  if (kaiseki_shirushi_ >= 0 && kaiseki_shirushi_ != t && hint_te_.n > 0) hint_kesu();
  if (hint_te_.n == 0) kaiseki_shirushi_ = -1;
  if (t < 0 || hint_te_.n > 0) return;
  const KaisekiTe& k = kaiseki_kekka_[static_cast<std::size_t>(t)];
  if (k.saizen.n == 0) return;
  hint_te_ = k.saizen;
  for (int i = 0; i < k.saizen.n; ++i) {
    const Sashite& m = k.saizen.te[i];
    if (!is_uchi(m.fc)) masu_shirushi(IRO_HINT, m.fc, m.fr, 0);
    masu_shirushi(IRO_HINT, m.tc, m.tr, k.saizen.dankai[i]);
  }
  const KifuEntry zen = taikyoku_.kifu().at(taikyoku_.kifu().kifu_ichi);
  hint_moji_ = "最善 " + yomi_te_hyouki(taikyoku_.pos(), k.saizen,
                                        taikyoku_.kifu().kifu_ichi >= 1 ? &zen : nullptr,
                                        taikyoku_.sente_gawa() == taikyoku_.sita_gawa());
  if (k.rui != TeRui::nashi) hint_moji_ += "（指した手は" + std::string(te_rui_mei(k.rui)) + "）";
  kaiseki_shirushi_ = t;
  ports().canvas->refresh();
}

KaisekiZu Game::kaiseki_zu() const {
  KaisekiZu zu;
  if (!settei_.kaiseki_zu_on() || kaiseki_kekka_.empty()) return zu;
  zu.kachi.push_back(kaiseki_kekka_.front().sita_mae());
  for (const KaisekiTe& k : kaiseki_kekka_) {
    zu.kachi.push_back(k.sita_ato());
    zu.rui.push_back(static_cast<int>(k.rui));
  }
  zu.ima = taikyoku_.kifu().kifu_ichi / 3.0;
  zu.matome = kaiseki_matome_moji(kaiseki_kekka_, taikyoku_.sente_gawa() == taikyoku_.sita_gawa());
  return zu;
}

}  // namespace mirado
