// ﾋﾝﾄ: what LEVEL4 would play for the holder of the turn, shown on the board and under it.
#include "app/game.h"
#include "engine/yomi.h"
#include "kifu/ichiran.h"
#include "kifu/kensa.h"
#include "rules/ugoki.h"

namespace mirado {

namespace {

int turned(int v) { return v >= 1 && v <= 9 ? 10 - v : v; }

bool refuse(Game& g, std::string_view why) {
  g.kotowaru(std::string(why));
  g.snd_play(Oto::kinshi);
  g.msg(why, "ﾋﾝﾄ");
  return false;
}

bool hint_dekiru(Game& g) {
  if (g.taikyoku().teban() == 0) return refuse(g, "対局を始めてから使って下さい");
  if (g.taikyoku().owatta()) return refuse(g, "対局は終わっています");
  if (g.taikyoku().saisei_chu() || g.taikyoku().saikai_machi())
    return refuse(g, kotowari_moji(Kotowari::kifu_mode));
  if (g.taikyoku().taikyoku_shu() == TaikyokuShu::com &&
      g.taikyoku().teban_nushi() == g.taikyoku().ue_gawa())
    return refuse(g, "コンピュータの番です");
  return true;
}

}  // namespace

void Game::hint() {
  if (!hint_dekiru(*this)) return;
  // The look-ahead plays the upper pieces: the lower side's turn is read on the turned board.
  const bool sita = taikyoku_.teban_nushi() == taikyoku_.sita_gawa();
  const int ix = taikyoku_.te_tochuu() ? taikyoku_.ichite_x() : 0,
            iy = taikyoku_.te_tochuu() ? taikyoku_.ichite_y() : 0;
  const int nx =
      taikyoku_.te_tochuu() && taikyoku_.dankai() == Dankai::san ? taikyoku_.nite_x() : 0;
  const int ny =
      taikyoku_.te_tochuu() && taikyoku_.dankai() == Dankai::san ? taikyoku_.nite_y() : 0;
  const Kyokumen p = sita ? kaiten(taikyoku_.pos()) : taikyoku_.pos();
  // Against the design's computer, its second move may leave the person's king attacked.
  const bool aite_com = taikyoku_.taikyoku_shu() == TaikyokuShu::com && taikyoku_.level() <= 3;
  YomiTe plan;
  if (!com_teban_.yomi().yomi_matsu(p, static_cast<int>(taikyoku_.dankai()),
                                    sita ? turned(ix) : ix, sita ? turned(iy) : iy,
                                    sita ? turned(nx) : nx, sita ? turned(ny) : ny, aite_com, plan))
    return;  // the window is closing
  if (plan.n == 0) {
    refuse(*this, "指せる手がありません");
    return;
  }
  if (sita)
    for (int i = 0; i < plan.n; ++i) plan.te[i] = sashite_kaiten(plan.te[i]);
  hint_te_ = plan;
  std::string text = "ﾋﾝﾄ:";
  // Written as the move list writes them, each on the position the one before leaves.
  Kyokumen p_ima = taikyoku_.pos();
  KifuEntry zen = taikyoku_.kifu().at(taikyoku_.kifu().kifu_ichi);
  for (int i = 0; i < plan.n; ++i) {
    const Sashite& m = plan.te[i];
    const int no = plan.dankai[i];
    if (!is_uchi(m.fc)) masu_shirushi(IRO_HINT, m.fc, m.fr, 0);
    masu_shirushi(IRO_HINT, m.tc, m.tr, no);
    const KifuEntry e = sashite_entry(m);
    text += " " + std::to_string(no) + " " +
            te_hyouki(p_ima, e, taikyoku_.kifu().kifu_ichi >= 1 || i > 0 ? &zen : nullptr,
                      taikyoku_.sente_gawa() == taikyoku_.sita_gawa());
    do_move(p_ima, kifu_te(e));
    zen = e;
  }
  hint_moji_ = text;
  ports().canvas->refresh();
}

void Game::hint_kesu() {
  if (hint_te_.n == 0) return;
  for (int i = 0; i < hint_te_.n; ++i) {
    const Sashite& m = hint_te_.te[i];
    for (const auto& [c, r] : {std::pair{m.fc, m.fr}, std::pair{m.tc, m.tr}}) {
      if (!on_ban(c, r)) continue;
      masu_egaku(taikyoku_.pos().ban[c][r], c, r);
    }
  }
  hint_te_ = YomiTe{};
  hint_moji_.clear();
  ports().canvas->refresh();
}

}  // namespace mirado
