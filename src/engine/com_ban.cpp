// The computer's turn: com_ban1, com_ban2, com_ban3 and the blink. The
// search itself lives in engine/tansaku.cpp; here are the side effects around it:
// icons, label, clock, record, blink, move, sounds, messages and status texts.
#include <atomic>
#include <chrono>
#include <thread>

#include "app/game.h"
#include "engine/tansaku.h"
#include "engine/yomi.h"
#include "model/tsumi.h"

namespace mirado {

namespace {

void tick_thunk(void* g) { static_cast<Game*>(g)->timer_tick(); }

}  // namespace

void Game::tenmetsu(int koma, int col, int row, int count) {
  for (int i = 0; i < count; ++i) {
    koma_egaku(kara, col, row);
    waku_egaku(IRO_MIDORI, col, row);
    ports().canvas->repaint();
    matsu(0.2);
    koma_egaku(koma, col, row);
    waku_egaku(IRO_MIDORI, col, row);
    ports().canvas->repaint();
    matsu(0.2);
  }
}

void Game::com_turn() {
  com_ban1();
  com_ban2();
  com_ban3();
}

namespace {

// Steps 4 to 7 (step 5 with its repaint), shared by the three procedures. At LEVEL4 the
// move planned by com_ban1 is played; a procedure the plan has no move for searches as
// the design's computer does at level 3.
Sashite com_sagasu(Game& g, Tejun tejun) {
  if (g.level == 4 && g.yomi_te[static_cast<int>(tejun)].ari) {
    g.ports().canvas->repaint();
    return g.yomi_te[static_cast<int>(tejun)];
  }
  Tansaku t(g.pos, g.kiki);
  t.level = g.level > 3 ? 3 : g.level;
  t.tejun = tejun;
  t.ichite_x = g.ichite_x;
  t.ichite_y = g.ichite_y;
  t.nite_x = g.nite_x;
  t.nite_y = g.nite_y;
  t.tick = tick_thunk;
  t.tick_ctx = &g;
  t.junbi();
  g.ports().canvas->repaint();
  return t.sagasu();
}

// Step 8 (play the move) of every procedure. Returns the thinking time charged to the
// record entry, which the normal ending adds to jikan_ue.
double com_sasu(Game& g, const Sashite& m) {
  // jikan_ima is brought up to date right before the record entry: the timer may be off.
  g.jikan_ima = keika_byou(g.jikan_kaishi, g.ports().clock->now());
  const double jikan = g.jikan_ima;
  // 8.1. A drop from the upper hand is recorded with the row of its hand cell, as every
  // other drop is; the search names it by its hand index.
  const int kiroku_y = m.fc == TE_UE ? 8 - m.fr : m.fr;
  g.kifu_kiroku(m.fc, kiroku_y, m.tc, m.tr, m.moto_koma, m.koma, g.jikan_sita, g.jikan_sita,
                g.jikan_ue, jikan + g.jikan_ue);
  // 8.2
  ++g.tesuu;
  g.tesuu_hyouji(g.tesuu);
  // 8.3
  if (m.fc == TE_UE) g.tenmetsu(m.moto_koma, TE_UE, 8 - m.fr, 2);
  else if (m.fc == TE_SITA) g.tenmetsu(m.moto_koma, TE_SITA, m.fr, 2);
  else g.tenmetsu(m.moto_koma, m.fc, m.fr, 2);
  // 8.4
  g.te_ugokasu(m.fc, m.fr, m.tc, m.tr, m.koma);
  // 8.5 (ichite / nite) is the caller's.
  return jikan;
}

void com_owari(Game& g, const Sashite& m, int side, double jikan) {
  if (m.ari) {
    g.te_hyouji(side, m.tc, m.tr, m.koma, IRO_SHIRO);
    g.waku_egaku(IRO_SHIRO, m.tc, m.tr);
  }
  g.jikan_ue += jikan;
  g.jikan_kaishi = g.ports().clock->now();
  g.teban = g.sita_gawa;
  if (g.is_checked(Menu::KEIKA)) g.set_timer(true);
}

// 8.6 after the move.
void com_ato(Game& g) {
  g.matsu(0.5);
  g.snd_play(Oto::koma);
  g.set_timer(false);
  kiki_keisan(g.pos.ban, g.kiki);
}

// No candidate: no move; the clock is charged as for a move and the turn goes on.
double com_nashi(Game& g) {
  g.jikan_ima = keika_byou(g.jikan_kaishi, g.ports().clock->now());
  g.set_timer(false);
  return g.jikan_ima;
}

}  // namespace

namespace {

// The logo of a finished game above the board, shown at once.
void shouri_egaku(Game& g) {
  g.koma_egaku(PIC_ZUVANSHOGI2, 11.2, 0);
  g.ports().canvas->repaint();
}

// The outcome of a move of an upper piece (the first and third moves): mate, a captured
// lower king, or check. True when the game is over.
bool com_ue_kessaku(Game& g) {
  if (tsumi_sita(g.pos, g.kiki) == ari) {
    g.msg("よし！!　コンピュータの勝ちです", "詰め!");
    g.shuukyoku = g.ue_gawa;
    shouri_egaku(g);
    return true;
  }
  if (g.shuukyoku == g.ue_gawa) {
    g.te_kesu(g.ue_gawa);
    g.msg("ｺﾝﾋﾟｭｰﾀの勝ちです", "終了");
    g.teban = g.sita_gawa;
    shouri_egaku(g);
    return true;
  }
  if (g.kiki.kiki_ue[g.kiki.ou_sita_x][g.kiki.ou_sita_y] > 0) g.msg("   ** 王手 **", "");
  return false;
}

}  // namespace

bool Game::yomi_matsu(const Kyokumen& p, int dankai, int ix, int iy, int nx, int ny, bool aite_com,
                      YomiTe& out) {
  if (!yomi) yomi = std::make_shared<Yomi>();
  YomiSettei settei;
  settei.nodes = yomi_nodes;
  settei.byou = yomi_nodes > 0 ? 0 : YOMI_BYOU;
  settei.aite_com = aite_com;
  YomiKekka r;
  if (yomi_nodes > 0) {
    r = yomi->sagasu(p, settei, dankai, ix, iy, nx, ny);
  } else {
    // The search runs beside the window, which keeps painting and its clock running; a
    // close request stops it within a few milliseconds.
    std::atomic<bool> yamete{false}, done{false};
    settei.yamete = &yamete;
    const Kyokumen mine = p;  // the worker's own board: the window's stays the window's
    std::thread worker([&] {
      r = yomi->sagasu(mine, settei, dankai, ix, iy, nx, ny);
      done.store(true, std::memory_order_release);
    });
    while (!done.load(std::memory_order_acquire)) {
      ports().clock->wait(0.01);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a clock that does not wait
      if (ports().ui->close_requested()) yamete.store(true);
      timer_tick();
    }
    worker.join();
    if (yamete.load()) return false;
  }
  out = r.turn;
  return true;
}

void Game::com_yomi() {
  for (Sashite& m : yomi_te) m = Sashite{};
  YomiTe plan;
  // The person answers by a person's rules.
  if (!yomi_matsu(pos, 1, 0, 0, 0, 0, false, plan)) {
    com_chuudan = true;
    return;
  }
  for (int i = 0; i < plan.n; ++i) yomi_te[plan.dankai[i]] = plan.te[i];
}

void Game::com_ban1() {
  com_chuudan = false;
  if (shuukyoku != 0) return;
  // 2
  aicon_ichi("上", ue_gawa);
  jikan_kaishi = ports().clock->now();
  if (is_checked(Menu::KEIKA)) set_timer(true);
  // 3
  koma_egaku(haikei, -2, 8);
  koma_egaku(haikei, -1, 8);
  koma_egaku(haikei, 0, 8);
  waku_egaku(IRO_MIDORI, -1, 7);
  moji_egaku(-1.5, 8.5, std::string_view("思考中"), IRO_KURO, 0, 12);
  moji_egaku(-1.6, 8.4, std::string_view("思考中"), IRO_SHIRO, 0, 12);
  waku_egaku(IRO_MIDORI, 1, 8);
  if (level == 4) {
    ports().canvas->repaint();  // "思考中" shows while the look-ahead runs
    com_yomi();
    if (com_chuudan) return;
  }
  // 4-7
  const Sashite m = com_sagasu(*this, Tejun::ichi);
  if (!m.ari) {
    com_owari(*this, m, ue_gawa, com_nashi(*this));
    return;
  }
  // 8
  const double jikan = com_sasu(*this, m);
  ichite_x = m.tc;
  ichite_y = m.tr;
  com_ato(*this);
  // 9
  if (com_ue_kessaku(*this)) return;
  com_owari(*this, m, ue_gawa, jikan);
}

void Game::com_ban2() {
  if (shuukyoku != 0 || com_chuudan) return;
  aicon_ichi("下", ue_gawa);
  jikan_kaishi = ports().clock->now();
  if (is_checked(Menu::KEIKA)) set_timer(true);
  const Sashite m = com_sagasu(*this, Tejun::ni);
  if (!m.ari) {
    com_owari(*this, m, sita_gawa, com_nashi(*this));
    return;
  }
  const double jikan = com_sasu(*this, m);
  nite_x = m.tc;
  nite_y = m.tr;
  com_ato(*this);
  if (tsumi_ue(pos, kiki) == ari) {
    msg("よし！!", "詰め ?");
  } else if (shuukyoku == sita_gawa) {
    te_kesu(sita_gawa);
    msg("あなたの勝ちです", "終了");
    teban = sita_gawa;
    shouri_egaku(*this);
    return;
  } else if (kiki.kiki_sita[kiki.ou_ue_x][kiki.ou_ue_y] > 0) {
    msg("   ** 王手 **", "");
  }
  com_owari(*this, m, sita_gawa, jikan);
}

void Game::com_ban3() {
  if (shuukyoku != 0 || com_chuudan) return;
  aicon_ichi("上", ue_gawa);
  jikan_kaishi = ports().clock->now();
  if (is_checked(Menu::KEIKA)) set_timer(true);
  const Sashite m = com_sagasu(*this, Tejun::san);
  double jikan;
  if (!m.ari) {
    jikan = com_nashi(*this);
  } else {
    jikan = com_sasu(*this, m);
    com_ato(*this);
    if (com_ue_kessaku(*this)) return;
  }
  com_owari(*this, m, ue_gawa, jikan);
  teban_nushi = sita_gawa;
  aicon_ichi("下", sita_gawa);
}

}  // namespace mirado
