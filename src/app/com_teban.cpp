// The computer's turn (app/com_teban.h): com_ban1, com_ban2, com_ban3 as chains of steps.
// The search runs beside the window (engine/tansaku.cpp, LEVEL4's plan in
// taikyoku/com.cpp); the game plays the move, writes its record entry and decides what
// came of it. Here are the side effects around them: icons, label, clock, blink, the move
// drawn with its list entry, sounds, messages and status texts, each at its time.

#include <algorithm>
#include <memory>

#include "app/com_teban.h"
#include "app/ban_gamen.h"
#include "app/kirikae.h"
#include "app/settei.h"
#include "engine/tansaku.h"
#include "engine/yomi.h"

namespace mirado {

namespace {

// Every procedure starts its own charge of the computer's clock, with the icon of the side
// whose piece it moves.
void tejun_hajime(const Madoguchi& w, ComTeban& c, Taikyoku& t, std::string_view ichi, int tejun) {
  w.irai.aicon_ichi(ichi, t.ue_gawa());
  t.com_tejun_kaishi(w.ports.clock->now());
  c.tokei(true, 0);
  c.tejun_hyouji(tejun);
  w.gamen.joukyou_okuru();
  if (w.kirikae.is_checked(Menu::KEIKA)) w.kirikae.set_timer(true);
}

// The logo of a finished game above the board, shown at once.
void shouri_egaku(const Madoguchi& w) {
  w.gamen.koma_egaku(PIC_ZUVANSHOGI2, 11.2, 0);
  w.ports.canvas->repaint();
}

}  // namespace

ComTeban::ComTeban(const Madoguchi& w, Taikyoku& t) : w_(w), t_(t), yomi_(w.ports) {}

std::function<void()> ComTeban::tsuzukeba(std::function<void()> tsugi) {
  return [this, sedai = sedai_, tsugi = std::move(tsugi)] {
    if (sedai == sedai_) tsugi();
  };
}

void ComTeban::matsu(double seconds, std::function<void()> tsugi) {
  switch (w_.settei.com_hyouji()) {
    case ComHyouji::hyoujun: break;
    case ComHyouji::hayai: seconds /= 4; break;
    case ComHyouji::shouryaku: return tsugi();  // shown at once: nothing to wait for
  }
  w_.ports.clock->ato_de(seconds, tsuzukeba(std::move(tsugi)));
}

void ComTeban::tenmetsu(const Sashite& m, int count, std::function<void()> tsugi) {
  // Shown at once: no blink.
  if (count == 0 || w_.settei.com_hyouji() == ComHyouji::shouryaku) return tsugi();
  const int col = m.te.fc, row = moto_gyou(m.te.fc, m.te.fr);
  w_.gamen.masu_egaku(kara, col, row);
  w_.ports.canvas->repaint();
  matsu(0.2, [this, m, col, row, count, tsugi = std::move(tsugi)]() mutable {
    w_.gamen.masu_egaku(m.moto_koma, col, row);
    w_.ports.canvas->repaint();
    matsu(0.2, [this, m, count, tsugi = std::move(tsugi)]() mutable {
      tenmetsu(m, count - 1, std::move(tsugi));
    });
  });
}

void ComTeban::com_turn() {
  if (t_.owatta()) return;
  shikouchu_ = true;
  ippon_ = false;
  w_.kirikae.set_menus_enabled(false);  // no command is taken until the person's turn
  // The player's last move marked, and the line saying the computer thinks.
  w_.irai.ibento_owari();
  hajime(Dankai::ichi);
}

void ComTeban::com_ban(Dankai tejun) {
  ippon_ = true;
  hajime(tejun);
}

void ComTeban::hajime(Dankai tejun) {
  if (tejun == Dankai::ichi) chuudan_ = false;
  if (t_.owatta() || chuudan_) return turn_owari();
  tsugi_ = static_cast<int>(tejun);
  // The first and third moves are the computer's own pieces, the second the person's.
  const bool ue = tejun != Dankai::ni;
  tejun_hajime(w_, *this, t_, ue ? "上" : "下", static_cast<int>(tejun));
  if (tejun == Dankai::ichi) {
    shikouchu_egaku();
    if (t_.level() >= 4) w_.ports.canvas->repaint();  // "思考中" shows while it reads ahead
  }
  sagasu(tejun);
}

void ComTeban::sagasu(Dankai tejun) {
  // The search reads its own copy of the position: the window's stays the window's.
  struct Kettei {
    Kyokumen p;
    ComSettei settei;
    Sashite te;
  };
  const bool yomu = t_.level() >= 4 && tejun == Dankai::ichi;
  if (yomu)
    for (Sashite& m : keikaku_) m = Sashite{};
  // Only LEVEL4 and LEVEL5 play a plan; a level changed since keeps none.
  auto k = std::make_shared<Kettei>(
      Kettei{t_.pos(), t_.com_settei(t_.level() >= 4 ? keikaku_ : nullptr), {}});
  w_.ports.canvas->repaint();  // what the procedure has drawn so far shows while it searches
  auto kimeru = [this, k, tejun, yomu] {
    if (yomu) std::copy(k->settei.keikaku, k->settei.keikaku + 4, keikaku_);
    kimatta(tejun, k->te);
  };
  if (!yomu) {
    w_.ports.clock->betsu_de([k, tejun] { k->te = com_erabu(k->p, k->settei, tejun); },
                             tsuzukeba(std::move(kimeru)));
    return;
  }
  // LEVEL4 and LEVEL5 plan the whole turn at the first move; the person answers by a person's rules.
  yomi_.yomu(
      [k, tejun](Yomi& yomi, const YomiSettei& settei) {
        com_keikaku(yomi, k->p, settei, 1, Santeme{}, k->settei.keikaku);
        k->te = com_erabu(k->p, k->settei, tejun);
      },
      false, t_.level(), tsuzukeba(std::move(kimeru)));
}

void ComTeban::kimatta(Dankai tejun, const Sashite& m) {
  jikan_ = t_.jikan_hakaru(w_.ports.clock->now());
  // Its clock stops at the charge while the move is shown.
  tokei(false, jikan_);
  if (!m.ari) {
    // No candidate: no move; the clock is charged as for a move and the turn goes on.
    w_.kirikae.set_timer(false);
    return owari(tejun, m, jikan_);
  }
  w_.gamen.joukyou_okuru();
  tenmetsu(m, 2, [this, tejun, m] { sasu(tejun, m); });
}

void ComTeban::sasu(Dankai tejun, const Sashite& m) {
  const ComKekka r = t_.com_sasu(tejun, m, jikan_);
  mi_owari_ = true;
  w_.gamen.te_egaku(m.te, r.te.torareru);
  // The move list gains the move as the board shows it.
  w_.gamen.joukyou_okuru();
  w_.gamen.shirushi_tsukeru();
  w_.gamen.tesuu_hyouji(t_.tesuu());
  matsu(0.5, [this, tejun, m, r] {
    w_.irai.snd_play(Oto::koma);
    w_.kirikae.set_timer(false);
    if (kessaku_miseru(r)) {
      mi_owari_ = false;
      return turn_owari();
    }
    owari(tejun, m, jikan_);
  });
}

// The outcome the game decided, shown: true when the game is over.
bool ComTeban::kessaku_miseru(const ComKekka& r) {
  switch (r.kessaku) {
    case ComKessaku::tsuzuku: return false;
    case ComKessaku::oute: w_.gamen.msg("   ** 王手 **", ""); return false;
    case ComKessaku::ue_tsumi: w_.gamen.msg("よし！!", "詰め ?"); return false;
    case ComKessaku::com_tsumi: w_.gamen.msg("よし！!　コンピュータの勝ちです", "詰め!"); break;
    case ComKessaku::com_tori:
      w_.gamen.te_kesu(t_.ue_gawa());
      w_.gamen.msg("ｺﾝﾋﾟｭｰﾀの勝ちです", "終了");
      break;
    case ComKessaku::ningen_tori:
      w_.gamen.te_kesu(t_.sita_gawa());
      w_.gamen.msg("あなたの勝ちです", "終了");
      break;
  }
  shouri_egaku(w_);
  return true;
}

void ComTeban::owari(Dankai tejun, const Sashite& m, double jikan) {
  const bool ue = tejun != Dankai::ni;
  if (m.ari) {
    w_.gamen.te_hyouji(ue ? t_.ue_gawa() : t_.sita_gawa(), m.te.tc, m.te.tr, m.te.koma, IRO_SHIRO);
    w_.gamen.waku_egaku(IRO_SHIRO, m.te.tc, m.te.tr);
    w_.gamen.shirushi_awaseru();
  }
  t_.com_tejun_owari(jikan, w_.ports.clock->now());
  mi_owari_ = false;
  tokei(false, 0);
  if (w_.kirikae.is_checked(Menu::KEIKA)) w_.kirikae.set_timer(true);
  if (tejun == Dankai::san) {
    t_.com_turn_owari();
    w_.irai.aicon_ichi("下", t_.sita_gawa());
    return turn_owari();
  }
  if (ippon_) return turn_owari();
  hajime(static_cast<Dankai>(static_cast<int>(tejun) + 1));
}

void ComTeban::turn_owari() {
  ippon_ = false;
  if (!shikouchu_) return;
  shikouchu_ = false;
  w_.kirikae.set_menus_enabled(true);
}

void ComTeban::yameru() {
  if (!shikouchu_ && !ippon_) return;
  ++sedai_;
  yomi_.yameru();
  // A move already played keeps its charge, as when its procedure ends.
  if (mi_owari_ && !t_.owatta()) {
    t_.com_tejun_owari(jikan_, w_.ports.clock->now());
    if (tsugi_ == static_cast<int>(Dankai::san)) t_.com_turn_owari();
    ++tsugi_;
  }
  mi_owari_ = false;
  chuudan_ = true;
  tokei(false, 0);
  turn_owari();
}

void ComTeban::tsuzukeru() {
  if (!chuudan_ || t_.owatta()) return;
  chuudan_ = false;
  if (tsugi_ > static_cast<int>(Dankai::san)) {
    w_.irai.aicon_ichi("下", t_.sita_gawa());
    return;
  }
  shikouchu_ = true;
  w_.kirikae.set_menus_enabled(false);
  hajime(static_cast<Dankai>(tsugi_));
}

void ComTeban::shikouchu_egaku() {
  // The "thinking" label over the upper player's icon.
  w_.gamen.koma_egaku(w_.settei.haikei(), -2, 8);
  w_.gamen.koma_egaku(w_.settei.haikei(), -1, 8);
  w_.gamen.koma_egaku(w_.settei.haikei(), 0, 8);
  w_.gamen.waku_egaku(IRO_MIDORI, -1, 7);
  w_.gamen.moji_egaku(-1.5, 8.5, std::string_view("思考中"), IRO_KURO, 0, 12);
  w_.gamen.moji_egaku(-1.6, 8.4, std::string_view("思考中"), IRO_SHIRO, 0, 12);
  w_.gamen.waku_egaku(IRO_MIDORI, 1, 8);
}

}  // namespace mirado
