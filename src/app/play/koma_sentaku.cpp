// A person's move, made with two presses: select a piece on the board or in a hand,
// then name its destination (the right button promotes where promotion is allowed).
// One procedure serves the three phases of a turn; they differ only in whose pieces
// move, in what the refusals show, and in what is checked after the move.
#include "rules/tsumi.h"
#include "app/play/te.h"

namespace mirado {

using play::Dankai;

namespace {

constexpr int kMigi = 2;  // the right mouse button

using Sentaku = Game::Sentaku;

// The hand a phase may not drop from: the one of the side whose pieces it does not move.
bool machigai_te(const Dankai& d, int moto_x) {
  return d.ugoki_sita ? moto_x == TE_UE : moto_x == TE_SITA;
}

// Does the selection still stand where it was taken from? Commands between the two
// presses can change the board; a stale selection must never move a piece that is gone.
bool moto_ga_aru(const Game& g, const Sentaku& s) {
  if (on_ban(s.moto_x, s.moto_y)) return g.pos.ban[s.moto_x][s.moto_y] == s.koma;
  if (s.moto_x == TE_SITA && s.moto_y >= 3 && s.moto_y <= 9) {
    const int k = s.moto_y - 2;
    return g.pos.mochigoma_sita[k] > 0 && s.koma == -MOCHIGOMA_KOMA[k];
  }
  if (s.moto_x == TE_UE && s.moto_y >= 1 && s.moto_y <= 7) {
    const int k = 8 - s.moto_y;
    return g.pos.mochigoma_ue[k] > 0 && s.koma == MOCHIGOMA_KOMA[k];
  }
  return false;
}

// Why a piece cannot be taken in this phase: it belongs to the other side.
void dare_no_koma(Game& g, const Dankai& d) {
  g.kotowaru(d.phase == 2 ? "2手目は相手の駒を動かします" : "自分の駒を動かす番です");
}

// Would dropping this pawn onto column c put two unpromoted pawns of one side on the file?
bool nifu(const Game& g, const Sentaku& s, int c) {
  if (!is_uchi(s.moto_x) || koma_abs(s.koma) != HU) return false;
  for (int r = 1; r <= 9; ++r)
    if (g.pos.ban[c][r] == s.koma) return true;
  return false;
}

void sentaku_kesu(Game& g, const Sentaku& s) {
  g.sidou_egaku(s.moto_x, s.moto_y, IRO_MIDORI, s.koma);
  g.waku_egaku(IRO_MIDORI, s.moto_x, s.moto_y);
}

void erabu(Game& g, Sentaku& s, int c, int r) {
  s.moto_x = c;
  s.moto_y = r;
  s.koma = g.pos.ban[c][r];
  g.sidou_egaku(c, r, g.sidou_iro, s.koma);
}

// First press on a board square: show the piece's moves; select it if this phase may move it.
void ban_wo_osu(Game& g, const Dankai& d, int c, int r) {
  if (g.pos.ban[c][r] == kara) return;
  Sentaku& s = g.sentaku[d.phase];
  erabu(g, s, c, r);
  if (play::ugokaseru(d, s.koma)) {
    g.waku_egaku(IRO_AKA, c, r);
    g.click_jotai = 1;
  } else {
    dare_no_koma(g, d);
    g.waku_egaku(g.sidou_iro, c, r);
  }
}

// A press off the board: let go of the marks, then pick up a piece from a hand. Either
// hand can be picked up; the wrong one is refused at the destination.
void soto_wo_osu(Game& g, const Dankai& d, int c, int r) {
  Sentaku& s = g.sentaku[d.phase];
  if (is_koma(s.koma)) sentaku_kesu(g, s);
  int code = 0;
  if (c == TE_SITA && r >= 3 && r <= 9) {
    if (g.pos.mochigoma_sita[r - 2] <= 0) return;
    code = -MOCHIGOMA_KOMA[r - 2];
  } else if (c == TE_UE && r >= 1 && r <= 7) {
    if (g.pos.mochigoma_ue[8 - r] <= 0) return;
    code = MOCHIGOMA_KOMA[8 - r];
  } else {
    return;
  }
  g.pos.fu_suji_keisan();
  g.click_jotai = 1;
  s.moto_x = c;
  s.moto_y = r;
  s.koma = code;
  const bool jibun_no_te = (c == TE_SITA) == d.nushi_sita;
  g.waku_egaku(jibun_no_te ? IRO_AKA : g.sidou_iro, c, r);
  g.sidou_egaku(c, r, g.sidou_iro, code);
}

void te_hyouji(Game& g, const Sentaku& s, int koma) {
  g.te_hyouji(koma >= 10 ? g.ue_gawa : g.sita_gawa, s.saki_x, s.saki_y, koma, IRO_SHIRO);
}

// Records the move with the times of the player who holds the turn, whatever pieces move.
void kiroku(Game& g, const Dankai& d, const Sentaku& s) {
  g.jikan_ima = keika_byou(g.jikan_kaishi, g.ports().clock->now());
  const double sita_ato = g.jikan_sita + (d.nushi_sita ? g.jikan_ima : 0);
  const double ue_ato = g.jikan_ue + (d.nushi_sita ? 0 : g.jikan_ima);
  g.kifu_kiroku(s.moto_x, s.moto_y, s.saki_x, s.saki_y, s.koma, g.pos.ban[s.saki_x][s.saki_y],
                g.jikan_sita, sita_ato, g.jikan_ue, ue_ato);
}

void jisatsu(Game& g, const Dankai& d, const play::Modoshi& m) {
  g.kotowaru(d.ugoki_sita == d.nushi_sita ? "自分の玉が王手になる手です" : "相手の玉が王手になる手です");
  if (d.phase == 1) {
    g.snd_play(Oto::kinshi);
    g.waku_kesu();
  }
  g.msg("王手です。自殺はできません", "警告");
  play::torikesu(g, m);
  if (d.phase != 2) g.teban = g.teban_nushi;
}

// The two limits on a turn's third move, lifted for a holder with only its king left
// or one whose king was in check before the move (the king test has already made sure
// the move leaves it safe).
const char* santeme_kinshi(const Game& g, const Sentaku& s) {
  if (g.koma_su(g.teban_nushi) == 1 || g.oute_mae) return nullptr;
  if (s.moto_x == g.ichite_x && s.moto_y == g.ichite_y) return "１手目に動かした駒は動かせません";
  if (s.saki_x == g.nite_x && s.saki_y == g.nite_y) return "２手目に動かした駒は取れません";
  return nullptr;
}

void santeme_kotowaru(Game& g, const Dankai& d, const char* text, const play::Modoshi& m) {
  g.kotowaru(text);
  g.msg(text, "警告");
  play::torikesu(g, m);
  g.teban = g.teban_nushi;
  g.aicon_ichi(d.nushi_sita ? "下" : "上", g.teban);
}

// Applies the move; returns what taking it back needs.
TeModoshi ugokasu(Game& g, Sentaku& s, int button) {
  ++g.tesuu;
  g.tesuu_hyouji(g.tesuu);
  int koma = s.koma;
  if (naru_kanou(s.moto_x, s.moto_y, s.saki_y, koma, g.nari_koma) == ari && button == kMigi)
    koma = g.nari_koma;
  KifuEntry kiroku = g.kifu.at(g.kifu.kifu_ichi);
  kiroku.koma = koma;  // the record keeps what stands on the target: promoted if it promoted
  g.kifu.okikae(g.kifu.kifu_ichi, kiroku);
  g.click_jotai = 0;
  g.waku_egaku(IRO_MIDORI, s.moto_x, s.moto_y);
  g.waku_egaku(IRO_MIDORI, s.saki_x, s.saki_y);
  g.sidou_egaku(s.moto_x, s.moto_y, IRO_MIDORI, koma);
  // The upper hand is addressed by slot, the lower one by its row on screen.
  const int fr = s.moto_x == TE_UE ? 8 - s.moto_y : s.moto_y;
  const TeModoshi te = g.te_ugokasu(s.moto_x, fr, s.saki_x, s.saki_y, koma);
  s.koma = koma;
  return te;
}

void sasu(Game& g, const Dankai& d, int button) {
  Sentaku& s = g.sentaku[d.phase];
  if (d.phase == 3) {
    kiki_keisan(g.pos.ban, g.kiki);
    g.oute_mae = play::ou_oute(g, d.nushi_sita);
  }
  play::Modoshi m = play::modoshi_toru(g);
  kiroku(g, d, s);
  m.te = ugokasu(g, s, button);
  const int captured = m.te.torareru;
  g.snd_play(Oto::koma);
  if (d.phase == 1) {
    g.te_tochuu = true;
    te_hyouji(g, s, s.koma);
  }
  kiki_keisan(g.pos.ban, g.kiki);
  if (play::ou_oute(g, d.ugoki_sita)) {
    jisatsu(g, d, m);
    return;
  }
  if (d.phase == 1) {
    g.ichite_x = s.saki_x;
    g.ichite_y = s.saki_y;
  } else if (d.phase == 2) {
    te_hyouji(g, s, s.koma);
    g.nite_x = s.saki_x;
    g.nite_y = s.saki_y;
  } else if (d.phase == 3) {
    if (const char* text = santeme_kinshi(g, s)) {
      santeme_kotowaru(g, d, text, m);
      return;
    }
    g.te_tochuu = false;
    te_hyouji(g, s, s.koma);
  }
  if (play::te_owari(g, d, captured)) g.dankai = d.phase % 3 + 1;
}

// Second press on a board square, with a piece selected.
void saki_wo_osu(Game& g, const Dankai& d, int button, int c, int r) {
  Sentaku& s = g.sentaku[d.phase];
  s.saki_x = c;
  s.saki_y = r;
  if (machigai_te(d, s.moto_x)) {
    dare_no_koma(g, d);
    sentaku_kesu(g, s);
    g.click_jotai = 0;
    return;
  }
  const int saki_koma = g.pos.ban[c][r];
  if (d.phase != 2 && play::ugokaseru(d, saki_koma)) {  // another piece of one's own
    g.waku_egaku(IRO_MIDORI, s.moto_x, s.moto_y);
    erabu(g, s, c, r);
    g.waku_egaku(IRO_AKA, c, r);
    return;
  }
  if (d.phase == 2 && g.teban == g.teban_nushi &&
      (d.nushi_sita ? is_sita(saki_koma) : is_ue(saki_koma))) {
    dare_no_koma(g, d);
    sentaku_kesu(g, s);
    g.click_jotai = 0;
    return;
  }
  if (!moto_ga_aru(g, s) || g.pos.idou_kanou(s.moto_x, s.moto_y, c, r, s.koma) == nashi) {
    g.kotowaru(nifu(g, s, c) ? "二歩です（同じ筋に歩があります）" : "その駒はそこへ動けません");
    g.snd_play(Oto::kinshi);
    g.click_jotai = 0;
    g.waku_kesu();
    if (!on_ban(s.moto_x, s.moto_y)) g.waku_egaku(IRO_MIDORI, s.moto_x, s.moto_y);
    return;
  }
  if (narazu_kanou(r, s.koma) == nashi && button != kMigi) {
    g.kotowaru("成らないと動けない所です（右クリックで成る）");
    g.snd_play(Oto::kinshi);
    g.msg("マウスの右をクリックして下さい", "成り");
    return;
  }
  sasu(g, d, button);
}

void koma_sentaku(Game& g, int phase, int button, int col, int row) {
  const Dankai d = play::dankai_of(g, phase);
  if (!on_ban(col, row)) soto_wo_osu(g, d, col, row);
  else if (g.click_jotai == 0) ban_wo_osu(g, d, col, row);
  else saki_wo_osu(g, d, button, col, row);
}

}  // namespace

void Game::koma_sentaku1(int button, int, int col, int row) { koma_sentaku(*this, 1, button, col, row); }
void Game::koma_sentaku2(int button, int, int col, int row) { koma_sentaku(*this, 2, button, col, row); }
void Game::koma_sentaku3(int button, int, int col, int row) { koma_sentaku(*this, 3, button, col, row); }

int Game::koma_su(int side) const {
  const bool ue = side == ue_gawa;
  if (!ue && side != sita_gawa) return 0;
  int n = 0;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r)
      if (ue ? is_ue(pos.ban[c][r]) : is_sita(pos.ban[c][r])) ++n;
  const int* te = ue ? pos.mochigoma_ue : pos.mochigoma_sita;
  for (int k = 1; k <= 7; ++k) n += te[k];
  return n;
}

}  // namespace mirado
