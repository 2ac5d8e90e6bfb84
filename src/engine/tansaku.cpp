// The one-move search of com_ban1, com_ban2 and com_ban3.
#include "engine/tansaku.h"

#include <cstring>

#include "rules/ikisaki.h"
#include "rules/tsumi.h"
#include "rules/ugoki.h"

namespace mirado {

namespace {

inline int iabs(int v) { return v < 0 ? -v : v; }

inline int chebyshev(int c1, int r1, int c2, int r2) {
  const int dc = iabs(c1 - c2), dr = iabs(r1 - r2);
  return dc > dr ? dc : dr;
}

}  // namespace

void Tansaku::junbi() {
  std::memcpy(s_.ban_mae, p_.ban, sizeof s_.ban_mae);
  mochigoma_mae_kiroku(p_, s_);
  const Kiki& k = p_.kiki();
  s_.nigemichi_kijun = nigemichi_sita(p_, k);
  kaku_oute_keisan(p_, k, s_);
  kugi_keisan(p_, s_);
  // The trials score against the maps of the position they start from: kept here, as
  // every trial draws the maps of its own board.
  std::memcpy(s_.kiki_sita_mae, k.kiki_sita, sizeof s_.kiki_sita_mae);
  std::memcpy(s_.kiki_ue_mae, k.kiki_ue, sizeof s_.kiki_ue_mae);
  std::memcpy(s_.atari_ue_x_mae, k.atari_ue_x, sizeof s_.atari_ue_x_mae);
  std::memcpy(s_.atari_ue_y_mae, k.atari_ue_y, sizeof s_.atari_ue_y_mae);
  s_.level = level;
}

Sashite Tansaku::sagasu() {
  s_.level = level;
  return tejun == Dankai::ni ? sagasu_impl<false>() : sagasu_impl<true>();
}

namespace {

// Ue: the upper side wants the highest score, the lower side the lowest.
template <bool Ue>
inline bool yori_yoi(int score, int than) {
  return Ue ? score > than : score < than;
}

}  // namespace

// Makes the trial move, scores it (the maps are computed here) and takes it back. fr is
// the source row as the scores weigh it: the move's own, but a lower drop's hand row
// (the slot + 2) where the move names the slot. The lower side scores a trial that
// leaves its own king attacked at once, without the evaluation. It and ban_no_te run for
// every trial, so they are written into the loops rather than called.
template <bool Ue>
[[gnu::always_inline]] inline int Tansaku::shikou(const Te& te, int fr) {
  const TeModoshi modoshi = do_move(p_, te);
  int v;
  // Only a trial that is scored draws the maps.
  if (!Ue && kiki_ari(p_.ban, false, p_.ou_sita_x, p_.ou_sita_y)) v = TEN_OUTE_SITA;
  else v = hyouka(p_, p_.kiki(), s_, modoshi.torareru, te.koma, te.fc, fr, te.tc, te.tr);
  undo_move(p_, modoshi);
  if (kiroku) kiroku->add(te, v);
  return v;
}

// One board move scored, promoted or not as the piece may or must; kekka is the code it
// is played as.
template <bool Ue>
[[gnu::always_inline]] inline int Tansaku::ban_no_te(int sc, int sr, int tc, int tr, int piece, int& kekka) {
  int nari = 0;
  if (!naru_kanou(sc, sr, tr, piece, nari)) {
    kekka = piece;
    return shikou<Ue>(Te{sc, sr, tc, tr, piece}, sr);
  }
  if (!narazu_kanou(tr, piece)) {  // must promote
    kekka = nari;
    return shikou<Ue>(Te{sc, sr, tc, tr, nari}, sr);
  }
  // May promote: both are scored.
  int score = shikou<Ue>(Te{sc, sr, tc, tr, piece}, sr);
  kekka = piece;
  const int score2 = shikou<Ue>(Te{sc, sr, tc, tr, nari}, sr);
  if (yori_yoi<Ue>(score2, score)) {
    score = score2;
    kekka = nari;
  }
  // A pawn, rook or bishop always promotes when it may, whatever the scores.
  const int a = koma_abs(piece);
  if (a == HU || a == HISHA || a == KAKU) kekka = nari;
  return score;
}

// Every move of the piece on (sc, sr). Returns true when the search stops: a move
// capturing the opponent's king.
template <bool Ue>
bool Tansaku::koma_no_te(int sc, int sr, Sashite& best) {
  const bool san = santeme_ari();
  const int piece = p_.ban[sc][sr];
  // Targets in the order of a scan of the whole board.
  for (Masume to = ikisaki(p_, sc, sr, piece); !to.kara();) {
    int tc, tr;
    to.toridasu(tc, tr);
    if (san && nite_no_koma(santeme, tc, tr)) continue;
    s_.moto_koma = piece;
    s_.kyori_mae = Ue ? chebyshev(sc, sr, p_.ou_sita_x, p_.ou_sita_y)
                      : chebyshev(sc, sr, p_.ou_ue_x, p_.ou_ue_y);
    const int torareru = p_.ban[tc][tr];
    int kekka = piece;
    const int score = ban_no_te<Ue>(sc, sr, tc, tr, piece, kekka);
    const bool ou_tori = torareru == (Ue ? -OU : OU);
    if (yori_yoi<Ue>(score, best.score)) {
      best = Sashite{true, Te{sc, sr, tc, tr, kekka}, piece, score};
      if (ou_tori) return true;
    }
    // The upper side stops at a king capture even when it did not score best.
    if (Ue && ou_tori) return true;
  }
  return false;
}

// Board moves, in board order. Returns true when the search stops.
template <bool Ue>
bool Tansaku::ban_sagasu(Sashite& best) {
  const bool san = santeme_ari();
  for (int sc = 1; sc <= 9; ++sc) {
    for (int sr = 1; sr <= 9; ++sr) {
      const int piece = p_.ban[sc][sr];
      if (Ue ? piece < 10 : piece > -10) continue;
      if (san && ichite_no_koma(santeme, sc, sr)) continue;
      if (koma_no_te<Ue>(sc, sr, best)) return true;
    }
  }
  return false;
}

// Drops, by hand slot. A drop has no source square, so it earns no approach term:
// kyori_mae is 0. The upper side stops at a mating drop.
template <bool Ue>
void Tansaku::uchi_sagasu(Sashite& best) {
  for (int idx = 1; idx <= 7; ++idx) {
    const int have = Ue ? p_.mochigoma_ue[idx] : p_.mochigoma_sita[idx];
    if (have < 1) continue;
    const int code = Ue ? MOCHIGOMA_KOMA[idx] : -MOCHIGOMA_KOMA[idx];
    const int fc = Ue ? TE_UE : TE_SITA;
    const int fr = Ue ? idx : idx + 2;  // the source row the scores weigh
    s_.moto_koma = code;
    s_.kyori_mae = 0;
    for (int tc = 1; tc <= 9; ++tc) {
      for (int tr = 1; tr <= 9; ++tr) {
        if (!p_.idou_kanou(fc, idx, tc, tr, code)) continue;
        const int score = shikou<Ue>(Te{fc, idx, tc, tr, code}, fr);
        if (!yori_yoi<Ue>(score, best.score)) continue;
        best = Sashite{true, Te{fc, idx, tc, tr, code}, code, score};
        if (Ue && best.score >= TEN_TSUMI) return;
      }
    }
  }
}

// Ue: com_ban1 / com_ban3 (upper pieces, highest score wins); !Ue: com_ban2 (lower
// pieces, lowest score wins, a trial that leaves the lower king attacked scores -1000).
template <bool Ue>
Sashite Tansaku::sagasu_impl() {
  Sashite best;
  best.score = Ue ? -999990 : 9990;  // -99999 and 999 points
  if (ban_sagasu<Ue>(best)) return best;
  if (Ue ? p_.mochigoma_su_ue > 0 : p_.mochigoma_su_sita > 0) uchi_sagasu<Ue>(best);
  return best;
}

template Sashite Tansaku::sagasu_impl<true>();
template Sashite Tansaku::sagasu_impl<false>();

namespace {

void settei_suru(Tansaku& t, const ComSettei& s, Dankai tejun, KouhoKiroku* kiroku) {
  t.level = s.level > 3 ? 3 : s.level;
  t.tejun = tejun;
  t.santeme = s.santeme;
  t.kiroku = kiroku;
}

}  // namespace

Sashite tansaku(Kyokumen& p, int level, Dankai tejun, int ichite_x, int ichite_y,
                int nite_x, int nite_y, KouhoKiroku* kiroku) {
  Tansaku t(p);
  ComSettei s;
  s.level = level;
  s.santeme = {ichite_x, ichite_y, nite_x, nite_y};
  settei_suru(t, s, tejun, kiroku);
  t.junbi();
  return t.sagasu();
}

int sashite_ugokasu(Kyokumen& p, const Sashite& m) {
  return do_move(p, m.te).torareru;
}

Sashite com_erabu(Kyokumen& p, const ComSettei& s, Dankai tejun, KouhoKiroku* kiroku) {
  // LEVEL4 chose this move already.
  if (const Sashite& planned = s.keikaku[static_cast<int>(tejun)]; planned.ari) return planned;
  Tansaku t(p);
  settei_suru(t, s, tejun, kiroku);
  t.junbi();
  return t.sagasu();
}

ComTe com_sasu(Kyokumen& p, const Sashite& m, Dankai tejun) {
  ComTe r;
  r.te = m;
  if (!m.ari) return r;
  r.torareru = sashite_ugokasu(p, m);
  if (tejun == Dankai::ni) r.ue_tsumi = tsumi_ue(p);
  else r.sita_tsumi = tsumi_sita(p);
  return r;
}

Sashite sashite_kaiten(const Sashite& m) {
  Sashite t = m;
  t.moto_koma = -m.moto_koma;
  t.te = te_kaiten(m.te);
  return t;
}

}  // namespace mirado
