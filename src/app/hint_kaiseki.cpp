// The hint and the analysis (app/hint_kaiseki.h). ﾋﾝﾄ: what the look-ahead would play for
// the holder of the turn, shown on the board and under it. ﾍﾙﾌﾟ → 解析: the record on the
// board looked back at turn by turn beside the window; the classes go to the move list, the
// win chance to the graph, and while the record is stepped through, the best turn of the
// position shown is marked on the board.
#include "app/hint_kaiseki.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "app/ban_gamen.h"
#include "engine/yomi.h"
#include "kifu/ichiran.h"
#include "kifu/kensa.h"
#include "rules/ugoki.h"

namespace mirado {

namespace {

int turned(int v) { return v >= 1 && v <= 9 ? 10 - v : v; }

bool refuse(const Madoguchi& w, std::string_view why) {
  w.gamen.kotowaru(std::string(why));
  w.irai.snd_play(Oto::kinshi);
  w.gamen.msg(why, "ﾋﾝﾄ");
  return false;
}

bool hint_dekiru(const Madoguchi& w, const Taikyoku& t) {
  if (!t.hajimatta()) return refuse(w, "対局を始めてから使って下さい");
  if (t.owatta()) return refuse(w, "対局は終わっています");
  if (t.saisei_chu() || t.saikai_machi())
    return refuse(w, kotowari_moji(Kotowari::kifu_mode));
  if (t.taikyoku_shu() == TaikyokuShu::com &&
      t.teban_nushi() == t.ue_gawa())
    return refuse(w, "コンピュータの番です");
  return true;
}

// The moves of two records are the same (the clocks may differ).
bool onaji_te(const std::vector<KifuEntry>& a, const std::vector<KifuEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const KifuEntry &x = a[i], &y = b[i];
    if (x.te.fc != y.te.fc || x.te.fr != y.te.fr || x.te.tc != y.te.tc || x.te.tr != y.te.tr ||
        x.te.koma != y.te.koma || x.moto_koma != y.moto_koma || x.tori_koma != y.tori_koma)
      return false;
  }
  return true;
}

// Where the position shown lies in turns: whole turns before it and the part of the one
// it is in.
double turn_ichi(const std::vector<int>& hajime, int ichi) {
  const auto next = std::upper_bound(hajime.begin(), hajime.end(), ichi);
  const int i = static_cast<int>(next - hajime.begin()) - 1;
  if (i < 0) return 0;
  const int nagasa = next == hajime.end() ? 3 : *next - hajime[static_cast<std::size_t>(i)];
  return i + static_cast<double>(ichi - hajime[static_cast<std::size_t>(i)]) / nagasa;
}

void kotowaru_kaiseki(const Madoguchi& w, std::string why) {
  w.gamen.kotowaru(std::move(why));
  w.irai.snd_play(Oto::kinshi);
}

}  // namespace

void HintKaiseki::hint() {
  if (!hint_dekiru(w_, t_)) return;
  // The look-ahead plays the upper pieces: the lower side's turn is read on the turned board.
  const bool sita = t_.teban_nushi() == t_.sita_gawa();
  const int ix = t_.te_tochuu() ? t_.ichite_x() : 0,
            iy = t_.te_tochuu() ? t_.ichite_y() : 0;
  const int nx =
      t_.te_tochuu() && t_.dankai() == Dankai::san ? t_.nite_x() : 0;
  const int ny =
      t_.te_tochuu() && t_.dankai() == Dankai::san ? t_.nite_y() : 0;
  // Against the design's computer, its second move may leave the person's king attacked.
  const bool aite_com = t_.taikyoku_shu() == TaikyokuShu::com && t_.level() <= 3;
  // The look-ahead reads its own copy of the position, beside the window.
  struct Yomi1 {
    Kyokumen p;
    Santeme s;
    int hajime;
    YomiTe plan;
  };
  auto y = std::make_shared<Yomi1>(Yomi1{sita ? kaiten(t_.pos()) : t_.pos(),
                                         {sita ? turned(ix) : ix, sita ? turned(iy) : iy,
                                          sita ? turned(nx) : nx, sita ? turned(ny) : ny},
                                         static_cast<int>(t_.dankai()), {}});
  yomi_.yomu(
      [y](Yomi& yomi, const YomiSettei& settei) {
        y->plan = yomi.sagasu(y->p, settei, y->hajime, y->s.ichite_x, y->s.ichite_y,
                              y->s.nite_x, y->s.nite_y).turn;
      },
      aite_com, t_.level(), [this, y, sita] { hint_miseru(y->plan, sita); });
}

void HintKaiseki::hint_miseru(YomiTe plan, bool sita) {
  if (plan.n == 0) {
    refuse(w_, "指せる手がありません");
    return;
  }
  if (sita)
    for (int i = 0; i < plan.n; ++i) plan.te[i] = sashite_kaiten(plan.te[i]);
  hint_te_ = plan;
  std::string text = "ﾋﾝﾄ:";
  // Written as the move list writes them, each on the position the one before leaves.
  Kyokumen p_ima = t_.pos();
  KifuEntry zen = t_.kifu().at(t_.kifu().kifu_ichi);
  for (int i = 0; i < plan.n; ++i) {
    const Te& m = plan.te[i].te;
    const int no = plan.dankai[i];
    if (!is_uchi(m.fc)) w_.gamen.masu_shirushi(IRO_HINT, m.fc, m.fr, 0);
    w_.gamen.masu_shirushi(IRO_HINT, m.tc, m.tr, no);
    const KifuEntry e = sashite_entry(plan.te[i]);
    text += " " + std::to_string(no) + " " +
            te_hyouki(p_ima, e, t_.kifu().kifu_ichi >= 1 || i > 0 ? &zen : nullptr,
                      t_.hyouki_sita_sente());
    do_move(p_ima, kifu_te(e));
    zen = e;
  }
  hint_moji_ = text;
  w_.ports.canvas->refresh();
}

void HintKaiseki::hint_kesu() {
  if (hint_te_.n == 0) return;
  for (int i = 0; i < hint_te_.n; ++i) {
    const Te& m = hint_te_.te[i].te;
    for (const auto& [c, r] : {std::pair{m.fc, m.fr}, std::pair{m.tc, m.tr}}) {
      if (!on_ban(c, r)) continue;
      w_.gamen.masu_egaku(t_.pos().ban[c][r], c, r);
    }
  }
  hint_te_ = YomiTe{};
  hint_moji_.clear();
  w_.ports.canvas->refresh();
}

std::string HintKaiseki::owari_moji() const {
  return "解析終了　" + kaiseki_matome_moji(kekka_, t_.sita_sente());
}

void HintKaiseki::kaiseki_menu() {
  if (kaiseki_chu()) {
    kaiseki_yameru();
    moji_ = "解析をやめました";
    return;
  }
  if (t_.kifu().kifu_nagasa == 0) return kotowaru_kaiseki(w_, "解析する棋譜がありません");
  // The record is replayed from the even position: pieces a handicap took off would be back.
  if (t_.handicap_zumi() && t_.handicap() != 0)
    return kotowaru_kaiseki(w_, "駒落ちの対局は解析できません");
  std::vector<KifuEntry> entries = t_.kifu().made(t_.kifu().kifu_nagasa);
  std::vector<KaisekiKyokumen> turns;
  if (const std::string naze = kaiseki_kyokumen(entries, turns); !naze.empty())
    return kotowaru_kaiseki(w_, "この棋譜は解析できません（" + naze + "）");
  if (turns.empty()) return kotowaru_kaiseki(w_, "解析できる手番がまだありません");
  kekka_.clear();
  hajime_ = turn_hajime(entries);
  kifu_ = std::move(entries);
  KaisekiSettei settei;
  // LEVEL5 judges when it is the level chosen, on its own budget of moves.
  settei.level = t_.level() >= 5 ? 5 : 4;
  // A fixed budget, in place: the same every time (the event runner).
  if (yomi_.yomi_nodes() > 0) {
    settei.nodes = yomi_.yomi_nodes();
    kaiseki(turns, settei, kekka_);
    moji_ = owari_moji();
    return;
  }
  settei.nodes = settei.level == 5 ? KAISEKI_NODES5 : nodes_;
  settei.jobs = jobs_;
  const int n = static_cast<int>(turns.size());
  sagyou_ = std::make_shared<KaisekiSagyou>(std::move(turns), settei);
  moji_ = "解析中… 0/" + std::to_string(n) + "手番（もう一度「解析」でやめます）";
  w_.ports.ui->set_poll(true);
}

void HintKaiseki::on_poll() {
  if (!sagyou_) {
    w_.ports.ui->set_poll(false);
    return;
  }
  if (!sagyou_->owatta()) {
    moji_ = "解析中… " + std::to_string(sagyou_->sumi()) + "/" +
                    std::to_string(sagyou_->zentai()) +
                    "手番（もう一度「解析」でやめます）";
    return;
  }
  kekka_ = sagyou_->uketoru();
  sagyou_.reset();
  w_.ports.ui->set_poll(false);
  moji_ = owari_moji();
  w_.irai.snd_play(Oto::sonota);
}

void HintKaiseki::kaiseki_yameru() {
  if (!sagyou_) return;
  sagyou_->yameru();
  sagyou_.reset();
  if (kekka_.empty()) kifu_.clear();
  w_.ports.ui->set_poll(false);
}

void HintKaiseki::kaiseki_owari() {
  if (!sagyou_) return;
  // Long enough for a thread that is let run to stop; the window never waits on one that
  // a busy machine keeps from running.
  sagyou_->owari(std::chrono::milliseconds(20));
  sagyou_.reset();
  kifu_.clear();
  w_.ports.ui->set_poll(false);
}

void HintKaiseki::kaiseki_awaseru() {
  if (kifu_.empty() || onaji_te(kifu_, t_.kifu().made(t_.kifu().kifu_nagasa))) return;
  // The record was played on or replaced: what was found belongs to another game.
  if (kaiseki_chu()) moji_ = "棋譜が変わったので解析をやめました";
  kaiseki_yameru();
  kekka_.clear();
  kifu_.clear();
}

void HintKaiseki::kaiseki_shirushi() {
  const int ichi = t_.kifu().kifu_ichi;
  const int n = static_cast<int>(kekka_.size());
  // The turn that begins at the position shown, by the record's own turns.
  const auto at = std::find(hajime_.begin(), hajime_.end(), ichi);
  const int t = at != hajime_.end() && at - hajime_.begin() < n ? static_cast<int>(at - hajime_.begin()) : -1;
  // The board moved on without a click that takes the marks away (a row of the list).
  if (shirushi_ >= 0 && shirushi_ != t && hint_te_.n > 0) hint_kesu();
  if (hint_te_.n == 0) shirushi_ = -1;
  if (t < 0 || hint_te_.n > 0) return;
  const KaisekiTe& k = kekka_[static_cast<std::size_t>(t)];
  if (k.saizen.n == 0) return;
  hint_te_ = k.saizen;
  for (int i = 0; i < k.saizen.n; ++i) {
    const Te& m = k.saizen.te[i].te;
    if (!is_uchi(m.fc)) w_.gamen.masu_saizen(m.fc, m.fr, 0);
    w_.gamen.masu_saizen(m.tc, m.tr, k.saizen.dankai[i]);
  }
  const KifuEntry zen = t_.kifu().at(t_.kifu().kifu_ichi);
  hint_moji_ = "最善 " + yomi_te_hyouki(t_.pos(), k.saizen,
                                        t_.kifu().kifu_ichi >= 1 ? &zen : nullptr,
                                        t_.hyouki_sita_sente());
  if (k.rui != TeRui::nashi) hint_moji_ += "（指した手は" + std::string(te_rui_mei(k.rui)) + "）";
  shirushi_ = t;
  w_.ports.canvas->refresh();
}

std::vector<std::string> HintKaiseki::ichiran_soe() const {
  std::vector<std::string> out;
  std::vector<KaisekiKyokumen> turns;
  if (kekka_.empty() || !onaji_te(kifu_, t_.kifu().made(t_.kifu().kifu_nagasa)) || !kaiseki_kyokumen(kifu_, turns).empty())
    return out;
  const bool sita_sente = t_.hyouki_sita_sente();
  const std::vector<int> hajime = turn_hajime(kifu_);  // a turn may hold fewer than three moves
  for (std::size_t i = 0; i < kekka_.size() && i < turns.size() && i < hajime.size(); ++i) {
    const KaisekiTe& k = kekka_[i];
    char kachi[32];
    std::snprintf(kachi, sizeof kachi, "\n      先手 %.0f%%", sita_sente ? k.sita_ato() : 100 - k.sita_ato());
    std::string s = kachi;
    if (k.rui != TeRui::nashi && k.saizen.n > 0) {
      const KifuEntry* zen = hajime[i] > 0 ? &kifu_[hajime[i] - 1] : nullptr;
      s += std::string("　") + te_rui_mei(k.rui) + "\n      最善 " +
           yomi_te_hyouki(turns[i].mae, k.saizen, zen, sita_sente);
    }
    out.push_back(std::move(s));
  }
  return out;
}

KaisekiZu HintKaiseki::kaiseki_zu(bool mieru) const {
  KaisekiZu zu;
  if (!mieru || kekka_.empty()) return zu;
  zu.kachi.push_back(kekka_.front().sita_mae());
  for (const KaisekiTe& k : kekka_) {
    zu.kachi.push_back(k.sita_ato());
    zu.rui.push_back(static_cast<int>(k.rui));
  }
  zu.ima = turn_ichi(hajime_, t_.kifu().kifu_ichi);
  zu.matome = kaiseki_matome_moji(kekka_, t_.sita_sente());
  return zu;
}

}  // namespace mirado
