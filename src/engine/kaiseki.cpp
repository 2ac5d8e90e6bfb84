#include "engine/kaiseki.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace mirado {

namespace {

constexpr int KETTEI = YOMI_KACHI - 1000;  // beyond it the game is decided

YomiTe kaiten_te(const YomiTe& t) {
  YomiTe out = t;
  for (int i = 0; i < t.n; ++i) out.te[i] = sashite_kaiten(t.te[i]);
  return out;
}

}  // namespace

double kachi_ritsu(int atai) {
  if (atai >= KETTEI) return 1;
  if (atai <= -KETTEI) return 0;
  return 1 / (1 + std::exp(-atai / KACHI_RITSU_SCALE));
}

TeRui te_rui(double son) {
  if (son >= AKUSHU_SON) return TeRui::akushu;
  if (son >= GIMONSHU_SON) return TeRui::gimonshu;
  if (son >= KANSHU_SON) return TeRui::kanshu;
  return TeRui::nashi;
}

const char* te_rui_mei(TeRui r) {
  switch (r) {
    case TeRui::akushu: return "悪手";
    case TeRui::gimonshu: return "疑問手";
    case TeRui::kanshu: return "緩手";
    default: return "";
  }
}

const char* te_rui_shirushi(TeRui r) {
  switch (r) {
    case TeRui::akushu: return "??";
    case TeRui::gimonshu: return "?";
    case TeRui::kanshu: return "?!";
    default: return "";
  }
}

double KaisekiTe::sita_mae() const {
  const double p = 100 * kachi_ritsu(mae);
  return sita ? p : 100 - p;
}

double KaisekiTe::sita_ato() const {
  const double p = 100 * kachi_ritsu(ato);
  return sita ? p : 100 - p;
}

KaisekiTe kaiseki_ichite(Yomi& yomi, const KaisekiKyokumen& k, const KaisekiSettei& settei) {
  KaisekiTe out;
  out.sita = k.sita;
  YomiSettei st;
  st.nodes = settei.nodes;
  st.byou = settei.nodes > 0 ? 0 : settei.byou;
  st.yamete = settei.yamete;
  st.level = settei.level;
  st.ippo_zutsu = true;
  // The look-ahead plays the upper pieces: the lower side's turns are read turned round.
  const YomiKekka best = yomi.sagasu(k.sita ? kaiten(k.mae) : k.mae, st);
  out.saizen = k.sita ? kaiten_te(best.turn) : best.turn;
  out.saizen_atai = out.mae = best.score;
  out.nodes = best.nodes;
  if (k.kekka != 0) {
    out.ato = k.kekka > 0 ? YOMI_KACHI : -YOMI_KACHI;
  } else {
    out.ato = yomi.kotae_atai(k.sita ? kaiten(k.ato) : k.ato, st, best.rounds);
  }
  out.son = std::max(0.0, 100 * (kachi_ritsu(out.saizen_atai) - kachi_ritsu(out.ato)));
  out.rui = te_rui(out.son);
  const bool kachi_nogashi = out.saizen_atai >= KETTEI && out.ato < KETTEI;
  const bool make_ni_iru = out.ato <= -KETTEI && out.saizen_atai > -KETTEI;
  if (kachi_nogashi || make_ni_iru) out.rui = TeRui::akushu;
  return out;
}

bool kaiseki(const std::vector<KaisekiKyokumen>& turns, const KaisekiSettei& settei,
             std::vector<KaisekiTe>& out) {
  out.assign(turns.size(), KaisekiTe{});
  std::atomic<std::size_t> tsugi{0};
  auto yameta = [&settei] { return settei.yamete && settei.yamete->load(std::memory_order_relaxed); };
  // Each job takes the next turn not yet taken, on a search object of its own.
  auto job = [&] {
    Yomi yomi;
    for (std::size_t i = tsugi++; i < turns.size() && !yameta(); i = tsugi++) {
      out[i] = kaiseki_ichite(yomi, turns[i], settei);
      if (settei.sumi) ++*settei.sumi;
    }
  };
  const int n = std::clamp(settei.jobs, 1, std::max(1, static_cast<int>(turns.size())));
  std::vector<std::thread> others;
  for (int j = 1; j < n; ++j) others.emplace_back(job);
  job();
  for (std::thread& t : others) t.join();
  return !yameta();
}

KaisekiMatome kaiseki_matome(const std::vector<KaisekiTe>& te) {
  KaisekiMatome m;
  for (const KaisekiTe& t : te) ++m.kazu[t.sita ? 0 : 1][static_cast<int>(t.rui)];
  return m;
}

}  // namespace mirado
