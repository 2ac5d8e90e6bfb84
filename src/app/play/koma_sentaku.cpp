// A person's move, made with two presses: select a piece on the board or in a hand,
// then name its destination (the right button promotes where promotion is allowed).
// The game decides whether the move stands; here is what the player sees of it: the
// selection and its marks, the move drawn, the refusals' sounds and boxes, the win.
#include "app/game.h"

namespace mirado {

namespace {

constexpr int kMigi = 2;  // the right mouse button

using Sentaku = Game::Sentaku;

void sentaku_kesu(Game& g, const Sentaku& s) {
  g.sidou_egaku(s.moto_x, s.moto_y, IRO_MIDORI, s.koma);
  g.waku_egaku(IRO_MIDORI, s.moto_x, s.moto_y);
}

void erabu(Game& g, Sentaku& s, int c, int r) {
  s.moto_x = c;
  s.moto_y = r;
  s.koma = g.taikyoku().pos().ban[c][r];
  g.sidou_egaku(c, r, g.sidou_iro, s.koma);
}

// First press on a board square: show the piece's moves; select it if this phase may move it.
void ban_wo_osu(Game& g, Dankai d, int c, int r) {
  if (g.taikyoku().pos().ban[c][r] == kara) return;
  Sentaku& s = g.sentaku[static_cast<int>(d)];
  erabu(g, s, c, r);
  if (g.taikyoku().ugokaseru(d, s.koma)) {
    g.waku_egaku(IRO_AKA, c, r);
    g.click_jotai = 1;
  } else {
    g.kotowaru(kotowari_moji(Kotowari::dare_no_koma, d));
    g.waku_egaku(g.sidou_iro, c, r);
  }
}

// A press off the board: let go of the marks, then pick up a piece from a hand. Either
// hand can be picked up; the wrong one is refused at the destination.
void soto_wo_osu(Game& g, Dankai d, int c, int r) {
  Sentaku& s = g.sentaku[static_cast<int>(d)];
  if (is_koma(s.koma)) sentaku_kesu(g, s);
  const Kyokumen& p = g.taikyoku().pos();
  int code = 0;
  if (c == TE_SITA && r >= 3 && r <= 9) {
    if (p.mochigoma_sita[r - 2] <= 0) return;
    code = -MOCHIGOMA_KOMA[r - 2];
  } else if (c == TE_UE && r >= 1 && r <= 7) {
    if (p.mochigoma_ue[8 - r] <= 0) return;
    code = MOCHIGOMA_KOMA[8 - r];
  } else {
    return;
  }
  g.click_jotai = 1;
  s.moto_x = c;
  s.moto_y = r;
  s.koma = code;
  const bool jibun_no_te = (c == TE_SITA) == (g.taikyoku().teban_nushi() == g.taikyoku().sita_gawa());
  g.waku_egaku(jibun_no_te ? IRO_AKA : g.sidou_iro, c, r);
  g.sidou_egaku(c, r, g.sidou_iro, code);
}

void te_hyouji(Game& g, const Sentaku& s, int koma) {
  g.te_hyouji(koma >= 10 ? g.taikyoku().ue_gawa() : g.taikyoku().sita_gawa(), s.saki_x, s.saki_y, koma, IRO_SHIRO);
}

// The move as the game made it: the move number, the selection let go, the squares and
// hands, the sound, and the first move's notation.
void sashita_egaku(Game& g, Dankai d, Sentaku& s, const Sashita& r, int tesuu) {
  g.shirushi_ari = true;
  g.tesuu_hyouji(tesuu);
  g.click_jotai = 0;
  g.waku_egaku(IRO_MIDORI, s.moto_x, s.moto_y);
  g.waku_egaku(IRO_MIDORI, s.saki_x, s.saki_y);
  g.sidou_egaku(s.moto_x, s.moto_y, IRO_MIDORI, r.koma);
  g.te_egaku(r.te.te.fc, r.te.te.fr, r.te.te.tc, r.te.te.tr, r.koma, r.te.torareru);
  s.koma = r.koma;
  g.snd_play(Oto::koma);
  if (d == Dankai::ichi) te_hyouji(g, s, s.koma);
}

// A made move the game took back: shown until the box is answered, then stepped back.
void torikeshi_egaku(Game& g, Dankai d, const Sashita& r, bool timer) {
  const char* why = kotowari_moji(r.kotowari, d);
  g.kotowaru(why);
  const bool ou = r.kotowari == Kotowari::jibun_oute || r.kotowari == Kotowari::aite_oute;
  if (ou && d == Dankai::ichi) {
    g.snd_play(Oto::kinshi);
    g.waku_kesu();
  }
  g.msg(ou ? std::string_view("王手です。自殺はできません") : std::string_view(why), "警告");
  g.panel_tojiru();
  g.modoshi_egaku(r.kiroku);
  if (timer) g.set_timer(true);
  if (!ou) g.aicon_ichi(g.taikyoku().teban_nushi() == g.taikyoku().sita_gawa() ? "下" : "上", g.taikyoku().teban());
}

void shouri(Game& g, int winner) {
  const char* text = g.taikyoku().com_taikyoku()
                         ? (winner == g.taikyoku().sita_gawa() ? "あなたの勝ちです" : "ＣＯＭの勝ちです")
                         : (winner == g.taikyoku().sente_gawa() ? "先手の勝ちです" : "後手の勝ちです");
  g.msg(text, "終了");
  g.koma_egaku(PIC_ZUVANSHOGI2, 11.2, 0);
  g.ports().canvas->repaint();
}

// After a move that stands: its notation, the turn icons, the win, or the computer's turn.
void sashita_ato(Game& g, Dankai d, const Sentaku& s, const Sashita& r, bool nushi_sita) {
  if (d != Dankai::ichi) te_hyouji(g, s, s.koma);
  if (d == Dankai::san && !g.taikyoku().com_taikyoku()) g.aicon_ichi(nushi_sita ? "上" : "下", g.taikyoku().teban());
  if (r.shousha != 0) {
    shouri(g, r.shousha);
    return;
  }
  if (d == Dankai::ichi) g.aicon_ichi(nushi_sita ? "上" : "下", g.taikyoku().sita_gawa());
  else if (d == Dankai::ni) g.aicon_ichi(nushi_sita ? "下" : "上", g.taikyoku().sita_gawa());
  else if (r.com_no_ban) g.com_turn();
}

// 成りを確認: a left click on a move that may promote, and need not, asks which.
bool naru_ka_kiku(Game& g, Dankai d, const Sentaku& s) {
  if (!g.nari_kakunin || !on_ban(s.moto_x, s.moto_y) || !g.taikyoku().ugokaseru(d, s.koma)) return false;
  if (g.taikyoku().pos().ban[s.moto_x][s.moto_y] != s.koma ||
      g.taikyoku().pos().idou_kanou(s.moto_x, s.moto_y, s.saki_x, s.saki_y, s.koma) == nashi)
    return false;
  int nari = 0;
  if (naru_kanou(s.moto_x, s.moto_y, s.saki_y, s.koma, nari) == nashi) return false;
  if (narazu_kanou(s.saki_y, s.koma) == nashi) return true;  // it must: no need to ask
  return g.msg("成りますか？", "成り", Buttons::naru) == Answer::yes;
}

void sasu(Game& g, Taikyoku& t, Dankai d, Sentaku& s, int button) {
  const bool nushi_sita = g.taikyoku().teban_nushi() == g.taikyoku().sita_gawa();
  const bool timer = g.timer1;
  const int tesuu = g.taikyoku().tesuu() + 1;
  const bool naru = button == kMigi || naru_ka_kiku(g, d, s);
  const Sashita r =
      t.sasu(NingenTe{s.moto_x, s.moto_y, s.saki_x, s.saki_y, s.koma, naru}, g.ports().clock->now());
  switch (r.kotowari) {
    case Kotowari::nashi: break;
    case Kotowari::dare_no_koma:
      g.kotowaru(kotowari_moji(r.kotowari, d));
      sentaku_kesu(g, s);
      g.click_jotai = 0;
      return;
    case Kotowari::ugokenai:
    case Kotowari::nifu:
      g.kotowaru(kotowari_moji(r.kotowari, d));
      g.snd_play(Oto::kinshi);
      g.click_jotai = 0;
      g.waku_kesu();
      if (!on_ban(s.moto_x, s.moto_y)) g.waku_egaku(IRO_MIDORI, s.moto_x, s.moto_y);
      return;
    case Kotowari::naranai_to:
      g.kotowaru(kotowari_moji(r.kotowari, d));
      g.snd_play(Oto::kinshi);
      g.msg("マウスの右をクリックして下さい", "成り");
      return;
    default:
      sashita_egaku(g, d, s, r, tesuu);
      torikeshi_egaku(g, d, r, timer);
      return;
  }
  // A piece left unpromoted where it could have promoted is said so: the left button
  // never promotes.
  int nari = 0;
  if (!naru && on_ban(s.moto_x, s.moto_y) && naru_kanou(s.moto_x, s.moto_y, s.saki_y, s.koma, nari) == ari)
    g.shiraseru("成らずに指しました（成る時は右ボタン）");
  sashita_egaku(g, d, s, r, tesuu);
  sashita_ato(g, d, s, r, nushi_sita);
}

// Second press on a board square, with a piece selected: another piece of one's own is
// selected instead, anything else is the move.
void saki_wo_osu(Game& g, Taikyoku& t, Dankai d, int button, int c, int r) {
  Sentaku& s = g.sentaku[static_cast<int>(d)];
  s.saki_x = c;
  s.saki_y = r;
  if (!g.taikyoku().machigai_te(d, s.moto_x) && d != Dankai::ni && g.taikyoku().ugokaseru(d, g.taikyoku().pos().ban[c][r])) {
    g.waku_egaku(IRO_MIDORI, s.moto_x, s.moto_y);
    erabu(g, s, c, r);
    g.waku_egaku(IRO_AKA, c, r);
    return;
  }
  sasu(g, t, d, s, button);
}

void koma_sentaku(Game& g, Taikyoku& t, int button, int col, int row) {
  const Dankai d = g.taikyoku().dankai();
  if (!on_ban(col, row)) soto_wo_osu(g, d, col, row);
  else if (g.click_jotai == 0) ban_wo_osu(g, d, col, row);
  else saki_wo_osu(g, t, d, button, col, row);
}

}  // namespace

void Game::koma_sentaku1(int button, int, int col, int row) { koma_sentaku(*this, game(), button, col, row); }
void Game::koma_sentaku2(int button, int, int col, int row) { koma_sentaku(*this, game(), button, col, row); }
void Game::koma_sentaku3(int button, int, int col, int row) { koma_sentaku(*this, game(), button, col, row); }

}  // namespace mirado
