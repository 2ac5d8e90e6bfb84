// ﾋﾝﾄ: what LEVEL4 would play for the holder of the turn, shown on the board and under it.
#include <memory>

#include "app/ban_gamen.h"
#include "app/hint_kaiseki.h"
#include "engine/yomi.h"
#include "kifu/ichiran.h"
#include "kifu/kensa.h"
#include "rules/ugoki.h"

namespace mirado {

namespace {

int turned(int v) { return v >= 1 && v <= 9 ? 10 - v : v; }

bool refuse(const Madoguchi& w, std::string_view why) {
  w.gamen.kotowaru(std::string(why));
  w.tetsuzuki.snd_play(Oto::kinshi);
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

}  // namespace mirado
