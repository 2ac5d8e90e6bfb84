// A person's move, made with two presses: select a piece on the board or in a hand,
// then name its destination (the right button promotes where promotion is allowed).
// The game decides whether the move stands; here is what the player sees of it: the
// selection and its marks, the move drawn, the refusals' sounds and boxes, the win.
#include "app/nyuuryoku.h"

namespace mirado {

namespace {

constexpr int kMigi = 2;  // the right mouse button

}  // namespace

void Nyuuryoku::hanasu() { click_jotai_ = 0; }

void Nyuuryoku::moto_waku(int iro, const Te& s) {
  gamen_.waku_egaku(iro, s.fc, moto_gyou(s.fc, s.fr));
}

void Nyuuryoku::sentaku_kesu(const Te& s) {
  gamen_.sidou_egaku(s.fc, s.fr, IRO_MIDORI, s.koma);
  moto_waku(IRO_MIDORI, s);
}

void Nyuuryoku::erabu(Te& s, int c, int r) {
  s.fc = c;
  s.fr = r;
  s.koma = t_.pos().ban[c][r];
  gamen_.sidou_egaku(c, r, settei_.sidou_iro(), s.koma);
}

// First press on a board square: show the piece's moves; select it if this phase may move it.
void Nyuuryoku::ban_wo_osu(Dankai d, int c, int r) {
  if (t_.pos().ban[c][r] == kara) return;
  Te& s = sentaku_[static_cast<int>(d)];
  erabu(s, c, r);
  if (t_.ugokaseru(d, s.koma)) {
    gamen_.waku_egaku(IRO_AKA, c, r);
    click_jotai_ = 1;
  } else {
    gamen_.kotowaru(kotowari_moji(Kotowari::dare_no_koma, d));
    gamen_.waku_egaku(settei_.sidou_iro(), c, r);
  }
}

// A press off the board: let go of the marks, then pick up a piece from a hand. Either
// hand can be picked up; the wrong one is refused at the destination.
void Nyuuryoku::soto_wo_osu(Dankai d, int c, int r) {
  Te& s = sentaku_[static_cast<int>(d)];
  if (is_koma(s.koma)) sentaku_kesu(s);
  const Kyokumen& p = t_.pos();
  const int k = moto_fr(c, r);  // the hand slot the cell shows
  if (!is_uchi(c) || k < 1 || k > 7) return;
  if ((c == TE_SITA ? p.mochigoma_sita[k] : p.mochigoma_ue[k]) <= 0) return;
  const int code = c == TE_SITA ? -MOCHIGOMA_KOMA[k] : MOCHIGOMA_KOMA[k];
  click_jotai_ = 1;
  s.fc = c;
  s.fr = k;
  s.koma = code;
  const bool jibun_no_te = (c == TE_SITA) == (t_.teban_nushi() == t_.sita_gawa());
  gamen_.waku_egaku(jibun_no_te ? IRO_AKA : settei_.sidou_iro(), c, r);
  gamen_.sidou_egaku(c, k, settei_.sidou_iro(), code);
}

void Nyuuryoku::te_hyouji(const Te& s, int koma) {
  gamen_.te_hyouji(koma >= 10 ? t_.ue_gawa() : t_.sita_gawa(), s.tc, s.tr, koma, IRO_SHIRO);
}

// The move as the game made it: the move number, the selection let go, the squares and
// hands, the sound, and the first move's notation.
void Nyuuryoku::sashita_egaku(Dankai d, Te& s, const Sashita& r, int tesuu) {
  gamen_.shirushi_tsukeru();
  gamen_.tesuu_hyouji(tesuu);
  click_jotai_ = 0;
  moto_waku(IRO_MIDORI, s);
  gamen_.waku_egaku(IRO_MIDORI, s.tc, s.tr);
  gamen_.sidou_egaku(s.fc, s.fr, IRO_MIDORI, r.koma);
  gamen_.te_egaku(r.te.te, r.te.torareru);
  s.koma = r.koma;
  irai_.snd_play(Oto::koma);
  if (d == Dankai::ichi) te_hyouji(s, s.koma);
}

// A made move the game took back: shown until the box is answered, then stepped back.
void Nyuuryoku::torikeshi_egaku(Dankai d, const Sashita& r, bool timer) {
  const char* why = kotowari_moji(r.kotowari, d);
  gamen_.kotowaru(why);
  const bool ou = r.kotowari == Kotowari::jibun_oute || r.kotowari == Kotowari::aite_oute;
  if (ou && d == Dankai::ichi) {
    irai_.snd_play(Oto::kinshi);
    gamen_.waku_kesu();
  }
  gamen_.msg(ou ? std::string_view("王手です。自殺はできません") : std::string_view(why), "警告");
  irai_.panel_tojiru();
  irai_.modoshi_egaku(r.kiroku);
  if (timer) kirikae_.set_timer(true);
  if (!ou) irai_.aicon_ichi(t_.teban_nushi() == t_.sita_gawa() ? "下" : "上", t_.teban());
}

void Nyuuryoku::shouri(Gawa winner) {
  const char* text = t_.com_taikyoku()
                         ? (winner == t_.sita_gawa() ? "あなたの勝ちです" : "ＣＯＭの勝ちです")
                         : (winner == Gawa::sente ? "先手の勝ちです" : "後手の勝ちです");
  gamen_.msg(text, "終了");
  gamen_.koma_egaku(PIC_ZUVANSHOGI2, 11.2, 0);
  ports_.canvas->repaint();
}

// After a move that stands: its notation, the turn icons, the win, or the computer's turn.
void Nyuuryoku::sashita_ato(Dankai d, const Te& s, const Sashita& r, bool nushi_sita) {
  if (d != Dankai::ichi) te_hyouji(s, s.koma);
  if (d == Dankai::san && !t_.com_taikyoku()) irai_.aicon_ichi(nushi_sita ? "上" : "下", t_.teban());
  if (r.shousha != Gawa::nashi) {
    shouri(r.shousha);
    return;
  }
  if (d == Dankai::ichi)
    irai_.aicon_ichi(nushi_sita ? "上" : "下", t_.sita_gawa());
  else if (d == Dankai::ni)
    irai_.aicon_ichi(nushi_sita ? "下" : "上", t_.sita_gawa());
  else if (r.com_no_ban)
    irai_.com_turn();
}

// 成りを確認: a left click on a move that may promote, and need not, asks which.
bool Nyuuryoku::naru_ka_kiku(Dankai d, const Te& s) {
  if (!settei_.nari_kakunin() || !on_ban(s.fc, s.fr) || !t_.ugokaseru(d, s.koma))
    return false;
  if (t_.pos().ban[s.fc][s.fr] != s.koma ||
      !t_.pos().idou_kanou(s.fc, s.fr, s.tc, s.tr, s.koma))
    return false;
  int nari = 0;
  if (!naru_kanou(s.fc, s.fr, s.tr, s.koma, nari)) return false;
  if (!narazu_kanou(s.tr, s.koma)) return true;  // it must: no need to ask
  return gamen_.msg("成りますか？", "成り", Buttons::naru) == Answer::yes;
}

void Nyuuryoku::sasu(Dankai d, Te& s, int button) {
  const bool nushi_sita = t_.teban_nushi() == t_.sita_gawa();
  const bool timer = kirikae_.timer1();
  const int tesuu = t_.tesuu() + 1;
  const bool naru = button == kMigi || naru_ka_kiku(d, s);
  const Sashita r = t_.sasu(NingenTe{s, naru}, ports_.clock->now());
  switch (r.kotowari) {
    case Kotowari::nashi: break;
    case Kotowari::dare_no_koma:
      gamen_.kotowaru(kotowari_moji(r.kotowari, d));
      sentaku_kesu(s);
      click_jotai_ = 0;
      return;
    case Kotowari::ugokenai:
    case Kotowari::nifu:
      gamen_.kotowaru(kotowari_moji(r.kotowari, d));
      irai_.snd_play(Oto::kinshi);
      click_jotai_ = 0;
      gamen_.waku_kesu();
      if (!on_ban(s.fc, s.fr)) moto_waku(IRO_MIDORI, s);
      return;
    case Kotowari::naranai_to:
      gamen_.kotowaru(kotowari_moji(r.kotowari, d));
      irai_.snd_play(Oto::kinshi);
      gamen_.msg("マウスの右をクリックして下さい", "成り");
      return;
    default:
      sashita_egaku(d, s, r, tesuu);
      torikeshi_egaku(d, r, timer);
      return;
  }
  // A piece left unpromoted where it could have promoted is said so: the left button
  // never promotes.
  int nari = 0;
  if (!naru && on_ban(s.fc, s.fr) && naru_kanou(s.fc, s.fr, s.tr, s.koma, nari))
    gamen_.shiraseru("成らずに指しました（成る時は右ボタン）");
  sashita_egaku(d, s, r, tesuu);
  sashita_ato(d, s, r, nushi_sita);
}

// Second press on a board square, with a piece selected: another piece of one's own is
// selected instead, anything else is the move.
void Nyuuryoku::saki_wo_osu(Dankai d, int button, int c, int r) {
  Te& s = sentaku_[static_cast<int>(d)];
  s.tc = c;
  s.tr = r;
  if (!t_.machigai_te(d, s.fc) && d != Dankai::ni && t_.ugokaseru(d, t_.pos().ban[c][r])) {
    moto_waku(IRO_MIDORI, s);
    erabu(s, c, r);
    gamen_.waku_egaku(IRO_AKA, c, r);
    return;
  }
  sasu(d, s, button);
}

void Nyuuryoku::koma_sentaku(Dankai d, int button, int col, int row) {
  if (!on_ban(col, row))
    soto_wo_osu(d, col, row);
  else if (click_jotai_ == 0)
    ban_wo_osu(d, col, row);
  else
    saki_wo_osu(d, button, col, row);
}

}  // namespace mirado
