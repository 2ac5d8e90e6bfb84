// A person's move: the refusals before it is made, the move and its record entry, the
// refusals that only the made move shows (a king left attacked, the third move's two
// limits), and what follows it: the clocks, the end of the game, the next move or turn.
#include "rules/tsumi.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

namespace {

// Does the selection still stand where it was taken from? Commands between the two
// presses can change the board; a stale selection must never move a piece that is gone.
bool moto_ga_aru(const Kyokumen& p, const Te& s) {
  if (on_ban(s.fc, s.fr)) return p.ban[s.fc][s.fr] == s.koma;
  if (!is_uchi(s.fc) || s.fr < 1 || s.fr > 7) return false;
  if (s.fc == TE_SITA) return p.mochigoma_sita[s.fr] > 0 && s.koma == -MOCHIGOMA_KOMA[s.fr];
  return p.mochigoma_ue[s.fr] > 0 && s.koma == MOCHIGOMA_KOMA[s.fr];
}

// Would dropping this pawn onto column c put two unpromoted pawns of one side on the file?
bool nifu(const Kyokumen& p, const Te& s) {
  if (!is_uchi(s.fc) || koma_abs(s.koma) != HU) return false;
  for (int r = 1; r <= 9; ++r)
    if (p.ban[s.tc][r] == s.koma) return true;
  return false;
}

}  // namespace

Kotowari Taikyoku::sasu_mae(Dankai d, const NingenTe& n) const {
  const Te& s = n.te;
  const bool nushi_sita = j_.teban_nushi == j_.sita_gawa;
  if (machigai_te(d, s.fc)) return Kotowari::dare_no_koma;
  const int saki_koma = j_.pos.ban[s.tc][s.tr];
  if (d == Dankai::ni && j_.teban == j_.teban_nushi &&
      (nushi_sita ? is_sita(saki_koma) : is_ue(saki_koma)))
    return Kotowari::dare_no_koma;
  if (!moto_ga_aru(j_.pos, s) || !j_.pos.idou_kanou(s.fc, s.fr, s.tc, s.tr, s.koma))
    return nifu(j_.pos, s) ? Kotowari::nifu : Kotowari::ugokenai;
  // A piece on the board that this phase does not move (the window only lets one be
  // selected that it does, but a selection can outlive the position it was made on).
  if (on_ban(s.fc, s.fr) && !ugokaseru(d, s.koma)) return Kotowari::dare_no_koma;
  if (!narazu_kanou(s.tr, s.koma) && !n.naru) return Kotowari::naranai_to;
  return Kotowari::nashi;
}

// What the made move shows: the mover's king attacked (in the second move the opponent's,
// whose piece moved), or in the third move the piece of the first moved or the piece of
// the second taken. Those two limits are lifted for a holder with only its king left or
// one whose king was in check before the move (the king test has made sure the move
// leaves it safe).
Kotowari Taikyoku::sasu_ato(Dankai d, const Te& s) const {
  const bool nushi_sita = j_.teban_nushi == j_.sita_gawa;
  const bool sita = ugoki_sita(d);
  if (ou_oute(sita)) return sita == nushi_sita ? Kotowari::jibun_oute : Kotowari::aite_oute;
  if (d != Dankai::san ||
      !santeme_seigen_ari(SantemeMenjo::ari, koma_su(j_.teban_nushi), j_.oute_mae))
    return Kotowari::nashi;
  switch (santeme_ihan(j_.santeme, s.fc, s.fr, s.tc, s.tr)) {
    case SantemeIhan::ichite_no_koma: return Kotowari::ichite_no_koma;
    case SantemeIhan::nite_no_koma: return Kotowari::nite_no_koma;
    case SantemeIhan::nashi: break;
  }
  return Kotowari::nashi;
}

void Taikyoku::kiroku(const Te& te, int moto_koma, double sita_ato, double ue_ato) {
  KifuEntry e;
  e.te = te;
  e.moto_koma = moto_koma;
  e.tori_koma = on_ban(te.tc, te.tr) ? j_.pos.ban[te.tc][te.tr] : kara;
  e.sita_mae = j_.jikan_sita;
  e.sita_ato = sita_ato;
  e.ue_mae = j_.jikan_ue;
  e.ue_ato = ue_ato;
  j_.kifu.kiroku(e);
}

Sashita Taikyoku::sasu(const NingenTe& n, double now) {
  const Dankai d = j_.dankai;
  Sashita kekka;
  kekka.kotowari = sasu_mae(d, n);
  if (kekka.kotowari != Kotowari::nashi) return kekka;
  const Te& s = n.te;

  if (d == Dankai::san) j_.oute_mae = ou_oute(j_.teban_nushi == j_.sita_gawa);
  const Mae mae{j_.kifu.kifu_nagasa, j_.kifu.at(j_.kifu.kifu_ichi + 1), j_.te_tochuu,
                j_.saikai_machi, j_.shuukyoku};
  te_wo_sasu(n, now, kekka);
  kekka.kotowari = sasu_ato(d, s);
  if (kekka.kotowari != Kotowari::nashi) {
    torikesu(d, kekka, mae);
    return kekka;
  }
  if (d == Dankai::ichi) {
    j_.santeme.ichite_x = s.tc;
    j_.santeme.ichite_y = s.tr;
  } else if (d == Dankai::ni) {
    j_.santeme.nite_x = s.tc;
    j_.santeme.nite_y = s.tr;
  } else {
    j_.te_tochuu = false;
  }
  // Every move is charged to the holder of the turn, with the time since the last charge.
  (j_.teban_nushi == j_.sita_gawa ? j_.jikan_sita : j_.jikan_ue) += jikan_hakaru(now);
  j_.jikan_kaishi = now;
  kekka.shousha = te_owari(d, kekka.te.torareru, kekka.com_no_ban);
  if (kekka.shousha != Gawa::nashi) j_.shuukyoku = kachi(kekka.shousha);
  else j_.dankai = static_cast<Dankai>(static_cast<int>(d) % 3 + 1);
  return kekka;
}

void Taikyoku::te_wo_sasu(const NingenTe& n, double now, Sashita& kekka) {
  // The move is recorded with the times of the player who holds the turn, whatever
  // pieces move.
  const bool nushi_sita = j_.teban_nushi == j_.sita_gawa;
  const double ima = jikan_hakaru(now);
  Te te = n.te;
  int nari_koma = 0;
  if (n.naru && naru_kanou(te.fc, te.fr, te.tr, te.koma, nari_koma)) te.koma = nari_koma;
  kiroku(te, n.te.koma, j_.jikan_sita + (nushi_sita ? ima : 0), j_.jikan_ue + (nushi_sita ? 0 : ima));
  ++j_.tesuu;
  kekka.te = do_move(j_.pos, te);
  ou_tori(kekka.te.torareru);
  kekka.tameshita = true;
  kekka.koma = te.koma;
  kekka.kiroku = j_.kifu.at(j_.kifu.kifu_ichi);
  if (j_.dankai == Dankai::ichi) j_.te_tochuu = true;
}

void Taikyoku::torikesu(Dankai d, const Sashita& kekka, const Mae& mae) {
  // Taken back exactly: the refused move must not stay in the record either.
  undo_move(j_.pos, kekka.te);
  modoshita(kekka.kiroku);
  j_.kifu.okikae(j_.kifu.kifu_ichi + 1, mae.uwagaki);
  j_.kifu.kifu_nagasa = mae.kifu_nagasa;
  j_.te_tochuu = mae.te_tochuu;
  j_.saikai_machi = mae.saikai_machi;
  j_.shuukyoku = mae.shuukyoku;
  if (d != Dankai::ni) j_.teban = j_.teban_nushi;
}

// Has the side of the lower (sita) or upper pieces lost: its king taken by this move, or mated?
static bool maketa(Kyokumen& p, bool sita, int captured) {
  if (captured == (sita ? -OU : OU)) return true;
  return sita ? tsumi_sita(p) : tsumi_ue(p);
}

// After a completed move: the winner when one army is beaten, else nashi with the next
// move handed over.
Gawa Taikyoku::te_owari(Dankai d, int captured, bool& com_no_ban) {
  Kyokumen& p = j_.pos;
  const Gawa nushi = j_.teban_nushi;
  const bool nushi_sita = nushi == j_.sita_gawa;
  switch (d) {
    case Dankai::ichi:
      if (maketa(p, !nushi_sita, captured)) return nushi;
      j_.teban = aite(nushi);
      return Gawa::nashi;
    case Dankai::ni:
      // The second move may beat either side: the one whose piece moved, or the holder.
      if (maketa(p, false, captured)) return j_.sita_gawa;
      if (maketa(p, true, captured)) return j_.ue_gawa;
      j_.teban = nushi;
      return Gawa::nashi;
    case Dankai::san:
      if (com_taikyoku()) {
        if (maketa(p, !nushi_sita, captured)) return nushi;
        j_.teban = j_.teban_nushi = aite(nushi);
        com_no_ban = true;
        return Gawa::nashi;
      }
      // Between two people the turn passes before the win is found.
      j_.teban = j_.teban_nushi = aite(nushi);
      return maketa(p, !nushi_sita, captured) ? nushi : Gawa::nashi;
  }
  return Gawa::nashi;
}

}  // namespace mirado
