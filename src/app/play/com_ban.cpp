// The computer's turn (app/com_teban.h): com_ban1, com_ban2, com_ban3 (one procedure,
// com_ban) and the blink. The search itself lives in engine/tansaku.cpp; here are the side effects around
// it: icons, label, clock, record, blink, move, sounds, messages and status texts.

#include "app/com_teban.h"
#include "app/ban_gamen.h"
#include "app/mado_joutai.h"
#include "engine/tansaku.h"
#include "engine/yomi.h"
#include "rules/tsumi.h"

namespace mirado {

ComTeban::ComTeban(const Madoguchi& w, Taikyoku& t)
    : w_(w), t_(t), yomi_(w.ports, [&gamen = w.gamen] { gamen.timer_tick(); }) {}

void ComTeban::tenmetsu(int koma, int col, int row, int count) {
  if (w_.settei.com_hyouji() == ComHyouji::shouryaku) return;  // the moves are shown at once
  for (int i = 0; i < count; ++i) {
    w_.gamen.masu_egaku(kara, col, row);
    w_.ports.canvas->repaint();
    w_.tetsuzuki.com_matsu(0.2);
    w_.gamen.masu_egaku(koma, col, row);
    w_.ports.canvas->repaint();
    w_.tetsuzuki.com_matsu(0.2);
  }
}

void ComTeban::com_turn() {
  if (t_.owatta()) return;
  shikouchu_ = true;
  w_.ports.ui->set_menus_enabled(false);  // no command is taken until the person's turn
  // The player's last move marked, and the line saying the computer thinks.
  w_.tetsuzuki.ibento_owari();
  com_ban(Dankai::ichi);
  com_ban(Dankai::ni);
  com_ban(Dankai::san);
  shikouchu_ = false;
  w_.ports.ui->set_menus_enabled(true);
}

namespace {

// The game's side of one procedure: the Timer1 tick and the repaint while it thinks,
// and the record, the move count and the blink before the chosen move is made.
struct ComBan {
  const Madoguchi& w;
  ComTeban& c;
  Taikyoku& t;
  double jikan = 0;  // thinking time charged to the record entry
};

void tick_thunk(void* c) { static_cast<ComBan*>(c)->w.gamen.timer_tick(); }
void repaint_thunk(void* c) { static_cast<ComBan*>(c)->w.ports.canvas->repaint(); }

void sasu_mae(void* c, const Sashite& m) {
  ComBan& b = *static_cast<ComBan*>(c);
  const Madoguchi& w = b.w;
  // The clock is read right before the record entry: the timer may be off.
  b.jikan = b.t.com_kiroku(m, w.ports.clock->now());
  // Its clock stops at the charge while the move is shown.
  b.c.tokei(false, b.jikan);
  w.gamen.joukyou_okuru();
  w.gamen.shirushi_tsukeru();
  w.gamen.tesuu_hyouji(b.t.tesuu());
  b.c.tenmetsu(m.moto_koma, m.te.fc, moto_gyou(m.te.fc, m.te.fr), 2);
}

// One procedure on the game: the search, the record entry and blink, the move made and
// drawn. Returns what it did; `jikan` receives the time charged to the record.
ComTe com_sasu(const Madoguchi& w, ComTeban& c, Taikyoku& t, Dankai tejun, Sashite* yomi_te,
               double& jikan) {
  ComBan b{w, c, t};
  ComHooks hooks;
  hooks.ctx = &b;
  hooks.tick = tick_thunk;
  hooks.junbi_ato = repaint_thunk;
  hooks.sasu_mae = sasu_mae;
  const ComTe r = t.com_ban(tejun, hooks, nullptr, yomi_te);
  jikan = b.jikan;
  if (r.te.ari) w.gamen.te_egaku(r.te.te, r.torareru);
  return r;
}

void com_owari(const Madoguchi& w, ComTeban& c, Taikyoku& t, const Sashite& m, Gawa side,
               double jikan) {
  if (m.ari) {
    w.gamen.te_hyouji(side, m.te.tc, m.te.tr, m.te.koma, IRO_SHIRO);
    w.gamen.waku_egaku(IRO_SHIRO, m.te.tc, m.te.tr);
    w.gamen.shirushi_awaseru();
  }
  t.com_tejun_owari(jikan, w.ports.clock->now());
  c.tokei(false, 0);
  if (w.mado.is_checked(Menu::KEIKA)) w.mado.set_timer(true);
}

// Every procedure starts its own charge of the computer's clock, with the icon of the side
// whose piece it moves.
void com_tejun_hajime(const Madoguchi& w, ComTeban& c, Taikyoku& t, std::string_view ichi,
                      int tejun) {
  w.tetsuzuki.aicon_ichi(ichi, t.ue_gawa());
  t.com_tejun_kaishi(w.ports.clock->now());
  c.tokei(true, 0);
  c.tejun_hyouji(tejun);
  w.gamen.joukyou_okuru();
  if (w.mado.is_checked(Menu::KEIKA)) w.mado.set_timer(true);
}

// The pause and the sound after a move.
void com_ato(const Madoguchi& w) {
  w.tetsuzuki.com_matsu(0.5);
  w.tetsuzuki.snd_play(Oto::koma);
  w.mado.set_timer(false);
}

// No candidate: no move; the clock is charged as for a move and the turn goes on.
double com_nashi(const Madoguchi& w, ComTeban& c, Taikyoku& t) {
  const double jikan = t.jikan_hakaru(w.ports.clock->now());
  c.tokei(false, jikan);
  w.mado.set_timer(false);
  return jikan;
}

}  // namespace

namespace {

// The logo of a finished game above the board, shown at once.
void shouri_egaku(const Madoguchi& w) {
  w.gamen.koma_egaku(PIC_ZUVANSHOGI2, 11.2, 0);
  w.ports.canvas->repaint();
}

// The outcome of a move of an upper piece (the first and third moves): mate, a captured
// lower king, or check. True when the game is over.
bool com_ue_kessaku(const Madoguchi& w, Taikyoku& t, const ComTe& r) {
  if (r.sita_tsumi) {
    w.gamen.msg("よし！!　コンピュータの勝ちです", "詰め!");
    t.com_kachi(true);
    shouri_egaku(w);
    return true;
  }
  if (t.shousha() == t.ue_gawa()) {
    w.gamen.te_kesu(t.ue_gawa());
    w.gamen.msg("ｺﾝﾋﾟｭｰﾀの勝ちです", "終了");
    t.com_kachi(false);
    shouri_egaku(w);
    return true;
  }
  if (t.kiki().kiki_ue[t.pos().ou_sita_x][t.pos().ou_sita_y] > 0)
    w.gamen.msg("   ** 王手 **", "");
  return false;
}

}  // namespace

void ComTeban::com_yomi() {
  for (Sashite& m : yomi_te_) m = Sashite{};
  YomiTe plan;
  // The person answers by a person's rules.
  if (!yomi_.yomi_matsu(t_.pos(), 1, 0, 0, 0, 0, false, t_.level(), plan)) {
    chuudan_ = true;
    return;
  }
  for (int i = 0; i < plan.n; ++i) yomi_te_[plan.dankai[i]] = plan.te[i];
}

void ComTeban::shikouchu_egaku() {
  // The "thinking" label over the upper player's icon.
  w_.gamen.koma_egaku(w_.settei.haikei(), -2, 8);
  w_.gamen.koma_egaku(w_.settei.haikei(), -1, 8);
  w_.gamen.koma_egaku(w_.settei.haikei(), 0, 8);
  w_.gamen.waku_egaku(IRO_MIDORI, -1, 7);
  w_.gamen.moji_egaku(-1.5, 8.5, std::string_view("思考中"), IRO_KURO, 0, 12);
  w_.gamen.moji_egaku(-1.6, 8.4, std::string_view("思考中"), IRO_SHIRO, 0, 12);
  w_.gamen.waku_egaku(IRO_MIDORI, 1, 8);
}

// The outcome of the second move, a lower piece: the upper king mated (said only), the
// upper king captured, or check. True when the game is over.
bool ComTeban::sita_kessaku(const ComTe& r) {
  if (r.ue_tsumi) {
    w_.gamen.msg("よし！!", "詰め ?");
  } else if (t_.shousha() == t_.sita_gawa()) {
    w_.gamen.te_kesu(t_.sita_gawa());
    w_.gamen.msg("あなたの勝ちです", "終了");
    t_.ningen_kachi();
    shouri_egaku(w_);
    return true;
  } else if (t_.kiki().kiki_sita[t_.pos().ou_ue_x][t_.pos().ou_ue_y] > 0) {
    w_.gamen.msg("   ** 王手 **", "");
  }
  return false;
}

void ComTeban::com_ban(Dankai tejun) {
  if (tejun == Dankai::ichi)
    chuudan_ = false;
  else if (w_.ports.ui->close_requested())
    chuudan_ = true;  // quitting: the turn is played again later
  if (t_.owatta() || chuudan_) return;
  // The first and third moves are the computer's own pieces, the second the person's.
  const bool ue = tejun != Dankai::ni;
  com_tejun_hajime(w_, *this, t_, ue ? "上" : "下", static_cast<int>(tejun));
  if (tejun == Dankai::ichi) {
    shikouchu_egaku();
    if (t_.level() >= 4) {
      w_.ports.canvas->repaint();  // "思考中" shows while the look-ahead runs
      com_yomi();
      if (chuudan_) return;
    }
  }
  double jikan;
  const ComTe r = com_sasu(w_, *this, t_, tejun, t_.level() >= 4 ? yomi_te_ : nullptr, jikan);
  const Sashite& m = r.te;
  if (!m.ari) {
    jikan = com_nashi(w_, *this, t_);
  } else {
    com_ato(w_);
    if (ue ? com_ue_kessaku(w_, t_, r) : sita_kessaku(r)) return;
  }
  com_owari(w_, *this, t_, m, ue ? t_.ue_gawa() : t_.sita_gawa(), jikan);
  if (tejun != Dankai::san) return;
  t_.com_turn_owari();
  w_.tetsuzuki.aicon_ichi("下", t_.sita_gawa());
}

}  // namespace mirado
