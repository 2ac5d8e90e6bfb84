// Mate tests: one test for either side. The sides differ on purpose in how a trial
// move is re-tested for check; see Gawa.
#include "rules/tsumi.h"

#include <cstring>

#include "rules/ikisaki.h"
#include "rules/ugoki.h"

namespace mirado {

namespace {

// Shared by both tests, before the escapes: can some drop block every check? Returns true when the
// test must go on to the escape step.
bool aigoma_dekinai(Kyokumen& p, const Kiki::Map& oute, int ou_x, int ou_y, int te_col,
                    int fu_code, int su, int fu_su) {
  for (int c = 1; c <= 9; ++c) {
    for (int r = 1; r <= 9; ++r) {
      const int m = oute[c][r];
      if (m == 9) {
        const int dc = c - ou_x, dr = r - ou_y;
        if (dc > -2 && dc < 2 && dr > -2 && dr < 2) return true;
      } else if (m == 1) {
        if (su == fu_su && !p.idou_kanou(te_col, 0, c, r, fu_code)) return true;
        // The pawn stands in for whatever would be dropped, so the drop names no hand slot.
        const TeModoshi modoshi = do_move(p, Te{te_col, 0, c, r, fu_code});
        bool still_checked = false;
        for (int c2 = 1; c2 <= 9 && !still_checked; ++c2)
          for (int r2 = 1; r2 <= 9 && !still_checked; ++r2)
            if (oute[c2][r2] == 9 && p.idou_kanou(c2, r2, ou_x, ou_y, p.ban[c2][r2]))
              still_checked = true;
        undo_move(p, modoshi);
        if (still_checked) return true;
      }
    }
  }
  return false;
}

bool nigerareru(const Kyokumen& p, const Kiki::Map& teki_kiki, int ou_x, int ou_y, int ou_code) {
  for (int c = ou_x - 1; c <= ou_x + 1; ++c)
    for (int r = ou_y - 1; r <= ou_y + 1; ++r)
      if (on_ban(c, r) && p.idou_kanou(ou_x, ou_y, c, r, ou_code) && teki_kiki[c][r] == 0)
        return true;
  return false;
}

}  // namespace

bool sita_outechu(const Kyokumen& p) {
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (code >= 10 && p.idou_kanou(c, r, p.ou_sita_x, p.ou_sita_y, code)) return true;
    }
  return false;
}

namespace {

// What sets one side's mate test apart from the other's. The two re-test a trial move
// for check differently, on purpose: the lower side scans the board for a checking
// piece directly; the upper side asks whether the trial's board reaches its king as the
// maps count reach, its targets from a copy of the maps taken beforehand.
template <bool Sita>
struct Gawa;

template <>
struct Gawa<true> {
  static constexpr int te_col = TE_SITA;
  static constexpr int fu = -HU;
  static constexpr int ou = -OU;
  static int ou_x(const Kyokumen& p) { return p.ou_sita_x; }
  static int ou_y(const Kyokumen& p) { return p.ou_sita_y; }
  static int mochigoma_su(const Kyokumen& p) { return p.mochigoma_su_sita; }
  static int fu_su(const Kyokumen& p) { return p.mochigoma_sita[1]; }
  static const Kiki::Map& teki_kiki(const Kiki& k) { return k.kiki_ue; }
  static const Kiki::Map& oute(const Kiki& k) { return k.oute_sita; }
  static bool mamori_koma(int code) { return code <= -10 && code != -OU; }

  // The trials never read the maps, so the targets are read from them as they stand.
  class Shiken {
   public:
    Shiken(Kyokumen& p, const Kiki& k) : p_(p), targets_(k.oute_sita) {}
    const Kiki::Map& targets() const { return targets_; }
    bool oute_kaisho(const Te& te) {
      const TeModoshi modoshi = do_move(p_, te);
      const bool still = sita_outechu(p_);
      undo_move(p_, modoshi);
      return !still;
    }

   private:
    Kyokumen& p_;
    const Kiki::Map& targets_;
  };
};

template <>
struct Gawa<false> {
  static constexpr int te_col = TE_UE;
  static constexpr int fu = HU;
  static constexpr int ou = OU;
  static int ou_x(const Kyokumen& p) { return p.ou_ue_x; }
  static int ou_y(const Kyokumen& p) { return p.ou_ue_y; }
  static int mochigoma_su(const Kyokumen& p) { return p.mochigoma_su_ue; }
  static int fu_su(const Kyokumen& p) { return p.mochigoma_ue[1]; }
  static const Kiki::Map& teki_kiki(const Kiki& k) { return k.kiki_sita; }
  static const Kiki::Map& oute(const Kiki& k) { return k.oute_ue; }
  static bool mamori_koma(int code) { return code >= 10 && code != OU; }

  // The trials read the reach on their own board: the targets are those of the position
  // under test, copied before any trial.
  class Shiken {
   public:
    Shiken(Kyokumen& p, const Kiki& k) : p_(p) { std::memcpy(targets_, k.oute_ue, sizeof targets_); }
    const Kiki::Map& targets() const { return targets_; }
    // The king does not move in a trial: its square is the position's.
    bool oute_kaisho(const Te& te) {
      const TeModoshi modoshi = do_move(p_, te);
      const bool nigeta = !kiki_ari(p_.ban, true, p_.ou_ue_x, p_.ou_ue_y);
      undo_move(p_, modoshi);
      return nigeta;
    }

   private:
    Kyokumen& p_;
    Kiki::Map targets_;
  };
};

// Can a piece of the side (not its king) capture the checker or step between? Every
// board move onto a square of the check map is tried, in board order, until one leaves
// the king safe.
template <bool Sita>
bool ukeru_te_ga_aru(Kyokumen& p, typename Gawa<Sita>::Shiken& shiken) {
  using G = Gawa<Sita>;
  const Kiki::Map& targets = shiken.targets();
  for (int c = 1; c <= 9; ++c) {
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (!G::mamori_koma(code)) continue;
      for (int tc = 1; tc <= 9; ++tc) {
        for (int tr = 1; tr <= 9; ++tr) {
          if ((tc == c && tr == r) || targets[tc][tr] <= 0) continue;
          if (!p.idou_kanou(c, r, tc, tr, code)) continue;
          if (shiken.oute_kaisho(Te{c, r, tc, tr, code})) return true;
        }
      }
    }
  }
  return false;
}

template <bool Sita>
bool tsumi(Kyokumen& p) {
  using G = Gawa<Sita>;
  const Kiki& k = p.kiki();
  const int ox = G::ou_x(p), oy = G::ou_y(p);
  if (G::teki_kiki(k)[ox][oy] == 0) return false;
  if (G::mochigoma_su(p) > 0) {
    // The checks of the position under test, kept while trial drops stand on the board.
    Kiki::Map oute;
    std::memcpy(oute, G::oute(k), sizeof oute);
    if (!aigoma_dekinai(p, oute, ox, oy, G::te_col, G::fu, G::mochigoma_su(p), G::fu_su(p)))
      return false;
  }
  if (nigerareru(p, G::teki_kiki(k), ox, oy, G::ou)) return false;
  typename G::Shiken shiken(p, k);
  return !ukeru_te_ga_aru<Sita>(p, shiken);
}

}  // namespace

bool tsumi_sita(Kyokumen& p) { return tsumi<true>(p); }

bool tsumi_ue(Kyokumen& p) { return tsumi<false>(p); }

}  // namespace mirado
