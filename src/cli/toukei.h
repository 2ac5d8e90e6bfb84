// The match's statistics: the Elo difference a score stands for, its 95 % interval, and
// the sequential test that stops a match once its games tell two hypotheses apart.
#pragma once

namespace mirado::cli {

// Side A's games so far.
struct Shouhai {
  long long w = 0, l = 0, d = 0;
  long long n() const { return w + l + d; }
  double score() const { return n() == 0 ? 0.5 : (static_cast<double>(w) + 0.5 * static_cast<double>(d)) / static_cast<double>(n()); }
};

// The logistic Elo difference of a score, clamped to ±1600 so that a sweep stays finite.
double elo_of_score(double score);

// The Elo of a score and the 95 % interval of the score carried over to Elo. A clean
// sweep has no finite Elo: it is then given as the bound that conceding half a game would
// leave (`bound`).
struct EloKukan {
  double elo = 0, lo = 0, hi = 0;
  bool bound = false;
};
EloKukan elo_kukan(const Shouhai& s);

// A sequential probability ratio test of H0 "A is elo0 stronger" against H1 "A is elo1
// stronger", with false-positive rate alpha and false-negative rate beta.
struct Sprt {
  double elo0 = 0, elo1 = 0, alpha = 0.05, beta = 0.05;
};
enum class SprtKetsu { tsuzuku, h0, h1 };  // go on, accept H0, accept H1

// The log-likelihood ratio of H1 against H0 for the games, by the normal approximation
// of the score. While every game ended alike the spread is taken as that of win-or-loss
// games at the score between the hypotheses.
double sprt_llr(const Shouhai& s, const Sprt& t);
double sprt_shita(const Sprt& t);  // at or below: H0 accepted
double sprt_ue(const Sprt& t);     // at or above: H1 accepted
SprtKetsu sprt_hantei(const Shouhai& s, const Sprt& t);

}  // namespace mirado::cli
