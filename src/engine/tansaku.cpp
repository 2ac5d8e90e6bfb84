// The one-move search of com_ban1, com_ban2 and com_ban3.
#include "engine/tansaku.h"

#include <cstring>

#include "model/tsumi.h"
#include "model/ugoki.h"

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
  p_.fu_suji_keisan();
  // The maps first, so that the baseline describes this position and not stale maps.
  kiki_keisan(p_.ban, k_);
  s_.nigemichi_kijun = nigemichi_sita(p_, k_);
  kaku_oute_keisan(p_, k_, s_);
  kugi_keisan(p_, k_, s_);
  std::memcpy(s_.kiki_sita_mae, k_.kiki_sita, sizeof s_.kiki_sita_mae);
  std::memcpy(s_.kiki_ue_mae, k_.kiki_ue, sizeof s_.kiki_ue_mae);
  std::memcpy(s_.atari_ue_x_mae, k_.atari_ue_x, sizeof s_.atari_ue_x_mae);
  std::memcpy(s_.atari_ue_y_mae, k_.atari_ue_y, sizeof s_.atari_ue_y_mae);
  ou_ue_x_ = k_.ou_ue_x;
  ou_ue_y_ = k_.ou_ue_y;
  ou_sita_x_ = k_.ou_sita_x;
  ou_sita_y_ = k_.ou_sita_y;
  s_.level = level;
}

Sashite Tansaku::sagasu() {
  s_.level = level;
  Sashite best = tejun == Tejun::ni ? sagasu_impl<false>() : sagasu_impl<true>();
  // The trials leave the maps of the last one behind; describe the board again.
  k_.ou_ue_x = ou_ue_x_;
  k_.ou_ue_y = ou_ue_y_;
  k_.ou_sita_x = ou_sita_x_;
  k_.ou_sita_y = ou_sita_y_;
  kiki_keisan(p_.ban, k_);
  return best;
}

// Ue: com_ban1 / com_ban3 (upper pieces, highest score wins); !Ue: com_ban2 (lower
// pieces, lowest score wins, a trial that leaves the lower king attacked scores -1000).
template <bool Ue>
Sashite Tansaku::sagasu_impl() {
  auto& ban = p_.ban;
  const bool san = tejun == Tejun::san;
  Sashite best;
  best.score = Ue ? -999990 : 9990;  // -99999 and 999 points
  auto better = [&](int score) { return Ue ? score > best.score : score < best.score; };

  // Scores the position now on the board (the maps are computed here).
  auto score_trial = [&](int torareru, int koma, int fc, int fr, int tc, int tr) {
    kiki_keisan(ban, k_);
    int v;
    if constexpr (!Ue) {
      if (k_.kiki_ue[k_.ou_sita_x][k_.ou_sita_y] > 0) v = TEN_OUTE_SITA;
      else v = hyouka(p_, k_, s_, torareru, koma, fc, fr, tc, tr);
    } else {
      v = hyouka(p_, k_, s_, torareru, koma, fc, fr, tc, tr);
    }
    if (kiroku) kiroku->add(fc, fr, tc, tr, koma, v);
    return v;
  };

  bool stopped = false;
  // 6. Board moves.
  for (int sc = 1; sc <= 9 && !stopped; ++sc) {
    if (tick) tick(tick_ctx);
    for (int sr = 1; sr <= 9 && !stopped; ++sr) {
      const int piece = ban[sc][sr];
      if (Ue ? piece < 10 : piece > -10) continue;
      if (san && sc == ichite_x && sr == ichite_y) continue;  // the piece moved by com_ban1
      for (int tc = 1; tc <= 9 && !stopped; ++tc) {
        for (int tr = 1; tr <= 9; ++tr) {
          if (san && tc == nite_x && tr == nite_y) continue;  // the piece moved by com_ban2
          if (p_.idou_kanou(sc, sr, tc, tr, piece) != ari) continue;
          // 6.1
          s_.moto_koma = piece;
          s_.kyori_mae = Ue ? chebyshev(sc, sr, k_.ou_sita_x, k_.ou_sita_y)
                            : chebyshev(sc, sr, k_.ou_ue_x, k_.ou_ue_y);
          const int torareru = ban[tc][tr];
          // 6.2
          ban[sc][sr] = kara;
          ban[tc][tr] = piece;
          int nari = 0;
          int score, kekka;
          if (naru_kanou(sc, sr, tr, piece, nari) == nashi) {  // 6.3
            score = score_trial(torareru, piece, sc, sr, tc, tr);
            kekka = piece;
          } else if (narazu_kanou(tr, piece) == nashi) {  // 6.4
            ban[tc][tr] = nari;
            score = score_trial(torareru, nari, sc, sr, tc, tr);
            kekka = nari;
          } else {  // 6.5
            score = score_trial(torareru, piece, sc, sr, tc, tr);
            kekka = piece;
            ban[tc][tr] = nari;
            const int score2 = score_trial(torareru, nari, sc, sr, tc, tr);
            if (Ue ? score2 > score : score2 < score) {
              score = score2;
              kekka = nari;
            }
            if (Ue ? (piece == HU || piece == HISHA || piece == KAKU)
                   : (piece == -HU || piece == -HISHA || piece == -KAKU))
              kekka = nari;
          }
          // 6.6
          ban[tc][tr] = torareru;
          ban[sc][sr] = piece;
          // 6.7
          if (better(score)) {
            best = Sashite{true, sc, sr, tc, tr, piece, kekka, score};
            if constexpr (!Ue) {
              if (torareru == OU) stopped = true;
            }
          }
          if constexpr (Ue) {
            if (torareru == -OU) stopped = true;
          }
          if (stopped) break;
        }
      }
    }
  }
  if (stopped) return best;

  // 7. Drops. A drop has no source square, so it earns no approach term: kyori_mae is 0.
  if (Ue ? p_.mochigoma_su_ue > 0 : p_.mochigoma_su_sita > 0) {
    for (int idx = 1; idx <= 7; ++idx) {
      if (tick) tick(tick_ctx);
      const int have = Ue ? p_.mochigoma_ue[idx] : p_.mochigoma_sita[idx];
      if (have < 1) continue;
      const int code = Ue ? MOCHIGOMA_KOMA[idx] : -MOCHIGOMA_KOMA[idx];
      const int fc = Ue ? TE_UE : TE_SITA;
      const int fr = Ue ? idx : idx + 2;
      s_.moto_koma = code;
      s_.kyori_mae = 0;
      for (int tc = 1; tc <= 9; ++tc) {
        for (int tr = 1; tr <= 9; ++tr) {
          if (p_.idou_kanou(fc, fr, tc, tr, code) != ari) continue;
          ban[tc][tr] = code;
          const int score = score_trial(0, code, fc, fr, tc, tr);
          ban[tc][tr] = kara;
          if (better(score)) {
            best = Sashite{true, fc, fr, tc, tr, code, code, score};
            if constexpr (Ue) {
              if (best.score >= TEN_TSUMI) return best;
            }
          }
        }
      }
    }
  }
  return best;
}

template Sashite Tansaku::sagasu_impl<true>();
template Sashite Tansaku::sagasu_impl<false>();

Sashite tansaku(Kyokumen& p, Kiki& k, int level, Tejun tejun, int ichite_x, int ichite_y,
                int nite_x, int nite_y, KouhoKiroku* kiroku) {
  Tansaku t(p, k);
  t.level = level;
  t.tejun = tejun;
  t.ichite_x = ichite_x;
  t.ichite_y = ichite_y;
  t.nite_x = nite_x;
  t.nite_y = nite_y;
  t.kiroku = kiroku;
  t.junbi();
  return t.sagasu();
}

int sashite_ugokasu(Kyokumen& p, Kiki& k, const Sashite& m) {
  const TeModoshi u = do_move(p, Te{m.fc, is_uchi(m.fc) ? te_slot(m.fc, m.fr) : m.fr, m.tc, m.tr, m.koma});
  if (m.koma == -OU) {
    k.ou_sita_x = m.tc;
    k.ou_sita_y = m.tr;
  }
  return u.torareru;
}

Sashite sashite_kaiten(const Sashite& m) {
  Sashite t = m;
  t.moto_koma = -m.moto_koma;
  t.koma = -m.koma;
  t.tc = 10 - m.tc;
  t.tr = 10 - m.tr;
  if (m.fc == TE_UE) {
    t.fc = TE_SITA;
    t.fr = m.fr + 2;
  } else if (m.fc == TE_SITA) {
    t.fc = TE_UE;
    t.fr = m.fr - 2;
  } else {
    t.fc = 10 - m.fc;
    t.fr = 10 - m.fr;
  }
  return t;
}

void ComTurn::run(Kyokumen& p, Kiki& k, int only) {
  for (int proc = 1; proc <= 3; ++proc) {
    if (only != 0 && proc != only) continue;
    if (shuukyoku != 0) return;
    ran[proc] = true;
    Sashite m = keikaku[proc];
    if (!m.ari) {
      Tansaku t(p, k);
      t.level = level > 3 ? 3 : level;
      t.tejun = static_cast<Tejun>(proc);
      t.ichite_x = ichite_x;
      t.ichite_y = ichite_y;
      t.nite_x = nite_x;
      t.nite_y = nite_y;
      t.kiroku = kiroku[proc];
      t.junbi();
      m = t.sagasu();
    }
    te[proc] = m;
    if (!m.ari) continue;
    const int torareru = sashite_ugokasu(p, k, m);
    if (torareru == -OU) shuukyoku = ue_gawa;
    else if (torareru == OU) shuukyoku = sita_gawa;
    if (proc == 1) {
      ichite_x = m.tc;
      ichite_y = m.tr;
    } else if (proc == 2) {
      nite_x = m.tc;
      nite_y = m.tr;
    }
    kiki_keisan(p.ban, k);
    if (proc == 2) {
      if (tsumi_ue(p, k) == ari) tsumi_ue_msg = ari;  // a message only; the game goes on
    } else if (tsumi_sita(p, k) == ari) {
      shuukyoku = ue_gawa;
    }
  }
}

}  // namespace mirado
