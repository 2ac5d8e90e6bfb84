// A record checked by the rules of play. Each entry is played as the move due through the
// tests a person's move passes (sasu_mae, sasu_ato) and ends the game as play ends it
// (te_owari). The computer plays by its own procedures, and a record does not say who made
// a move; so on a turn that may be the computer's (every turn of the upper pieces, which
// the computer plays against a person, and the lower pieces' too when a match's computer
// played them) the check also accepts what those procedures do and a person may not:
// - a move that leaves the mover's king attacked, or in the second move the king of the
//   side whose piece moved: the procedures choose among every movement the pieces can
//   make and keep no king safe (the second even prefers to leave the person's king
//   attacked);
// - a phase passed over when the procedure found no move at all: the turn goes on;
// - play going on after the second move left a king mated: the computer only says so.
// The third move's limits hold for everyone: the computer never breaks them, and LEVEL4
// is let off them only where a person is.
#include <cstdlib>

#include "kifu/kensa.h"
#include "kifu/kifu_file.h"
#include "taikyoku/chuudan.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

namespace {

// Does the procedure of phase `d` find no move at any of the design's levels (LEVEL4 plays
// that search when its look-ahead has none)? The procedures play the upper pieces: a turn
// of the lower pieces is searched on the turned board.
bool com_te_nashi(const Kyokumen& pos, bool nushi_sita, Dankai d, const Santeme& s) {
  Kyokumen q = nushi_sita ? kaiten(pos) : pos;
  Santeme m = s;
  if (nushi_sita) m = {10 - s.ichite_x, 10 - s.ichite_y, 10 - s.nite_x, 10 - s.nite_y};
  for (int level = 1; level <= 3; ++level)
    if (tansaku(q, level, d, m.ichite_x, m.ichite_y, m.nite_x, m.nite_y).ari) return false;
  return true;
}

}  // namespace

void Taikyoku::dankai_tobasu() {
  const Gawa nushi = j_.teban_nushi;
  switch (j_.dankai) {
    case Dankai::ichi: j_.teban = aite(nushi), j_.dankai = Dankai::ni; break;
    case Dankai::ni: j_.teban = nushi, j_.dankai = Dankai::san; break;
    case Dankai::san:
      j_.teban = j_.teban_nushi = aite(nushi);
      j_.dankai = Dankai::ichi;
      j_.te_tochuu = false;
      break;
  }
}

Kotowari Taikyoku::kifu_de_sasu(const KifuEntry& e, bool sita_com) {
  if (owatta()) return Kotowari::owatta_ato;
  if (const Kotowari k = te_kensa(j_.pos, e); k != Kotowari::nashi) return k;
  // The move as a person would give it: the piece as taken up, promotion asked for.
  NingenTe n{kifu_te(e), e.te.koma != e.moto_koma};
  n.te.koma = e.moto_koma;
  auto com = [&] { return j_.teban_nushi == j_.ue_gawa || sita_com; };
  auto dare_no = [&] {
    return on_ban(n.te.fc, n.te.fr) ? !ugokaseru(j_.dankai, n.te.koma) : machigai_te(j_.dankai, n.te.fc);
  };
  for (int i = 0; i < 3 && com() && dare_no() &&
                  com_te_nashi(j_.pos, j_.teban_nushi == j_.sita_gawa, j_.dankai, j_.santeme);
       ++i)
    dankai_tobasu();
  const Dankai d = j_.dankai;
  if (const Kotowari k = sasu_mae(d, n); k != Kotowari::nashi) return k;
  int nari = 0;
  if (n.naru && !naru_kanou(n.te.fc, n.te.fr, n.te.tr, n.te.koma, nari)) return Kotowari::narenai;
  const bool oute_mae = j_.oute_mae;
  if (d == Dankai::san) j_.oute_mae = ou_oute(j_.teban_nushi == j_.sita_gawa);
  const TeModoshi m = do_move(j_.pos, kifu_te(e));
  Kotowari k = sasu_ato(d, n.te);
  if (com() && (k == Kotowari::jibun_oute || k == Kotowari::aite_oute)) k = Kotowari::nashi;
  if (k != Kotowari::nashi) {
    undo_move(j_.pos, m);
    j_.oute_mae = oute_mae;
    return k;
  }
  ++j_.kifu.kifu_ichi;
  ++j_.tesuu;
  ou_tori(m.torareru);
  if (d == Dankai::ichi) j_.santeme.ichite_x = e.te.tc, j_.santeme.ichite_y = e.te.tr;
  if (d == Dankai::ni) j_.santeme.nite_x = e.te.tc, j_.santeme.nite_y = e.te.tr;
  j_.te_tochuu = d != Dankai::san;
  Gawa shousha = Gawa::nashi;
  bool com_no_ban = false;
  if (com() && d == Dankai::ni && koma_abs(m.torareru) != OU) j_.teban = j_.teban_nushi;
  else shousha = te_owari(d, m.torareru, com_no_ban);
  if (shousha != Gawa::nashi) j_.shuukyoku = kachi(shousha);
  if (!owatta()) j_.dankai = static_cast<Dankai>(static_cast<int>(d) % 3 + 1);
  return Kotowari::nashi;
}

Taikyoku handicap_kyoku(int handicap) {
  Taikyoku t;
  t.shinki();
  for (int i = 0; i < std::abs(handicap); ++i) t.handicap_kaeru(handicap > 0 ? 1 : -1);
  return t;
}

bool Taikyoku::com_te_owari(bool sita_com) {
  const auto com = [&] { return j_.teban_nushi == j_.ue_gawa || sita_com; };
  bool tobashita = false;
  for (int i = 0; i < 2 && !owatta() && j_.dankai != Dankai::ichi && com() &&
                  com_te_nashi(j_.pos, j_.teban_nushi == j_.sita_gawa, j_.dankai, j_.santeme);
       ++i) {
    dankai_tobasu();
    tobashita = true;
  }
  return tobashita;
}

KifuKensa kifu_kensa(const std::vector<KifuEntry>& entries, const KifuKensaSettei& s) {
  KifuKensa kekka;
  if (entries.empty()) {
    kekka.naze = kotowari_moji(Kotowari::kifu_kara);
    return kekka;
  }
  Taikyoku t = handicap_kyoku(s.handicap);
  t.kifu_yomikomi(entries);
  // A turn ends with its third move, or where the next entry is already another holder's
  // (the computer passed over the rest of its turn).
  int nushi = 0;  // the pieces that held the turn of the last entry: 1 upper, -1 lower
  auto owari = [&](int n) {
    if (n > kekka.turn_hajime) kekka.turns.push_back({n, nushi > 0});
    kekka.turn_hajime = n;
  };
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const KifuEntry& e = entries[i];
    const int n = static_cast<int>(i) + 1;
    if (const Kotowari k = t.kifu_de_sasu(e, s.sita_com); k != Kotowari::nashi) {
      kekka.naze = sasenai_moji(e, n, k, t.dankai());
      kekka.gyou = kifu_gyou(e, n);
      return kekka;
    }
    // The phase it was played in (the one due next, once the game goes on), and so its
    // holder: the second move moves the opponent's piece.
    const int tsugi = static_cast<int>(t.dankai());
    const Dankai d = t.owatta() ? t.dankai() : static_cast<Dankai>(tsugi == 1 ? 3 : tsugi - 1);
    const int kono = is_ue(e.moto_koma) != (d == Dankai::ni) ? 1 : -1;
    // Another holder's entry: the turn before ended unfinished.
    if (kono != nushi && n - 1 > kekka.turn_hajime) owari(n - 1);
    nushi = kono;
    if (d == Dankai::san || t.owatta()) owari(n);
  }
  if (t.com_te_owari(s.sita_com) && t.dankai() == Dankai::ichi) owari(static_cast<int>(entries.size()));
  kekka.dankai = t.dankai();
  kekka.nushi_ue = t.teban_nushi() == t.ue_gawa();
  kekka.santeme = t.santeme();
  return kekka;
}

KifuKensa kifu_kensa(const KifuFile& f) {
  // A match names each side by its level; the window's records name people.
  KifuKensaSettei s;
  s.handicap = kifu_handicap(f);
  s.sita_com = f.line3.rfind("LEVEL", 0) == 0;
  return kifu_kensa(f.entries, s);
}

std::string kifu_sasenai(const std::vector<KifuEntry>& entries, const KifuKensaSettei& s) {
  return kifu_kensa(entries, s).naze;
}

}  // namespace mirado
