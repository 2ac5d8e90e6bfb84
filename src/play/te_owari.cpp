// What follows a person's move: taking back a refused move, the clocks, the end of
// the game and handing the next move over.
#include "model/tsumi.h"
#include "play/te.h"

namespace mirado::play {

Dankai dankai_of(const Game& g, int phase) {
  const bool nushi_sita = g.teban_nushi == g.sita_gawa;
  return {phase, nushi_sita, phase == 2 ? !nushi_sita : nushi_sita};
}

bool ugokaseru(const Dankai& d, int code) { return d.ugoki_sita ? is_sita(code) : is_ue(code); }

bool ou_oute(const Game& g, bool sita) {
  const Kiki& k = g.kiki;
  const Kyokumen& p = g.pos;
  return sita ? k.kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0 : k.kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0;
}

Modoshi modoshi_toru(const Game& g) {
  return {g.te_tochuu, g.saikai_machi, g.shuukyoku, g.timer1, g.kifu.kifu_nagasa,
          g.kifu.at(g.kifu.kifu_ichi + 1)};
}

void torikesu(Game& g, const Modoshi& m) {
  const int n = g.kifu.kifu_ichi;
  g.ippo_modosu();
  // The step back leaves the record as it is; the refused move must not stay replayable.
  g.kifu.okikae(n, m.uwagaki);
  g.kifu.kifu_nagasa = m.kifu_nagasa;
  g.te_tochuu = m.te_tochuu;
  g.saikai_machi = m.saikai_machi;
  g.shuukyoku = m.shuukyoku;
  if (m.timer1) g.set_timer(true);
  kiki_keisan(g.pos.ban, g.kiki);  // the king squares too
}

namespace {

// Every move is charged to the holder of the turn, with the time since the last charge.
void jikan_kasan(Game& g, bool nushi_sita) {
  const double now = g.ports().clock->now();
  g.jikan_ima = keika_byou(g.jikan_kaishi, now);
  (nushi_sita ? g.jikan_sita : g.jikan_ue) += g.jikan_ima;
  g.jikan_kaishi = now;
}

// Has the side of the lower (sita) or upper pieces lost: its king taken by this move, or mated?
bool maketa(Game& g, bool sita, int captured) {
  if (captured == (sita ? -OU : OU)) return true;
  return (sita ? tsumi_sita(g.pos, g.kiki) : tsumi_ue(g.pos, g.kiki)) == ari;
}

void shouri(Game& g, int winner) {
  g.shuukyoku = winner;
  const char* text = g.taikyoku_shu == Taikyoku::com
                         ? (winner == g.sita_gawa ? "あなたの勝ちです" : "ＣＯＭの勝ちです")
                         : (winner == g.sente_gawa ? "先手の勝ちです" : "後手の勝ちです");
  g.msg(text, "終了");
  g.koma_egaku(PIC_ZUVANSHOGI2, 11.2, 0);
  g.ports().canvas->repaint();
}

bool ichiteme_owari(Game& g, const Dankai& d, int captured) {
  if (maketa(g, !d.nushi_sita, captured)) {
    shouri(g, g.teban_nushi);
    return false;
  }
  g.teban = -g.teban_nushi;
  g.aicon_ichi(d.nushi_sita ? "上" : "下", g.sita_gawa);
  return true;
}

// The second move may beat either side: the one whose piece moved, or the holder.
bool niteme_owari(Game& g, const Dankai& d, int captured) {
  if (maketa(g, false, captured)) {
    shouri(g, g.sita_gawa);
    return false;
  }
  if (maketa(g, true, captured)) {
    shouri(g, g.ue_gawa);
    return false;
  }
  g.teban = g.teban_nushi;
  g.aicon_ichi(d.nushi_sita ? "下" : "上", g.sita_gawa);
  return true;
}

bool santeme_owari(Game& g, const Dankai& d, int captured) {
  const int nushi = g.teban_nushi;
  if (g.taikyoku_shu == Taikyoku::com) {
    if (maketa(g, !d.nushi_sita, captured)) {
      shouri(g, nushi);
      return false;
    }
    g.teban = g.teban_nushi = -nushi;
    g.com_turn();
    return true;
  }
  // Between two people the turn passes before the win is announced.
  g.teban = g.teban_nushi = -nushi;
  g.aicon_ichi(d.nushi_sita ? "上" : "下", g.teban);
  if (maketa(g, !d.nushi_sita, captured)) {
    shouri(g, nushi);
    return false;
  }
  return true;
}

}  // namespace

bool te_owari(Game& g, const Dankai& d, int captured) {
  if (g.taikyoku_shu == Taikyoku::com) g.set_timer(false);
  jikan_kasan(g, d.nushi_sita);
  switch (d.phase) {
    case 1: return ichiteme_owari(g, d, captured);
    case 2: return niteme_owari(g, d, captured);
    default: return santeme_owari(g, d, captured);
  }
}

}  // namespace mirado::play
