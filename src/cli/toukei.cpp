#include "cli/toukei.h"

#include <algorithm>
#include <cmath>

namespace mirado::cli {

namespace {

double score_of_elo(double elo) { return 1.0 / (1.0 + std::pow(10.0, -elo / 400.0)); }

// The spread of one game's result around the mean score.
double game_variance(const Shouhai& s) {
  const double n = static_cast<double>(s.n()), m = s.score();
  return (static_cast<double>(s.w) * (1 - m) * (1 - m) + static_cast<double>(s.l) * m * m +
          static_cast<double>(s.d) * (0.5 - m) * (0.5 - m)) / n;
}

}  // namespace

double elo_of_score(double score) {
  score = std::clamp(score, 1e-4, 1 - 1e-4);
  return -400.0 * std::log10(1.0 / score - 1.0);
}

EloKukan elo_kukan(const Shouhai& s) {
  EloKukan k;
  if (s.n() == 0) return k;
  const double n = static_cast<double>(s.n());
  k.bound = s.w == s.n() || s.l == s.n();
  const double m = k.bound ? (s.w == s.n() ? 1 - 0.5 / n : 0.5 / n) : s.score();
  const double se = k.bound ? std::sqrt(m * (1 - m) / n) : std::sqrt(game_variance(s) / n);
  k.elo = elo_of_score(m);
  k.lo = elo_of_score(m - 1.96 * se);
  k.hi = elo_of_score(m + 1.96 * se);
  return k;
}

double sprt_llr(const Shouhai& s, const Sprt& t) {
  if (s.n() == 0) return 0;
  const double s0 = score_of_elo(t.elo0), s1 = score_of_elo(t.elo1), m = s.score();
  // Games that all ended alike show no spread: the spread of win-or-loss games at the
  // score halfway between the hypotheses is taken instead, which judges a sweep cautiously.
  const double mid = (s0 + s1) / 2;
  const double var = game_variance(s) > 0 ? game_variance(s) : mid * (1 - mid);
  return static_cast<double>(s.n()) * (s1 - s0) * (2 * m - s0 - s1) / (2 * var);
}

double sprt_shita(const Sprt& t) { return std::log(t.beta / (1 - t.alpha)); }
double sprt_ue(const Sprt& t) { return std::log((1 - t.beta) / t.alpha); }

SprtKetsu sprt_hantei(const Shouhai& s, const Sprt& t) {
  const double llr = sprt_llr(s, t);
  if (llr >= sprt_ue(t)) return SprtKetsu::h1;
  if (llr <= sprt_shita(t)) return SprtKetsu::h0;
  return SprtKetsu::tsuzuku;
}

}  // namespace mirado::cli
