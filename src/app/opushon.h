// The options' room: the commands of the ｵﾌﾟｼｮﾝ menu and of the levels, and the settings
// file "ミラド将棋.ini" that keeps them, read once at start and written after every
// change. The options themselves (app/settei.h) and the menu ticks (app/kirikae.h) change
// only here, the level of the game through it.
#pragma once

#include <string>

#include "app/ban_gamen.h"
#include "app/com_yomi.h"
#include "app/irai.h"
#include "app/kirikae.h"
#include "app/onkyou.h"
#include "app/settei.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class Opushon {
 public:
  // The window (its icons, board view and switches), the options it changes, the game
  // whose level it sets, the look-ahead whose time it sets, the sounds for BGM, and why
  // the player's data folder cannot be used (empty: it can; the window object owns it).
  Opushon(const Madoguchi& w, Settei& settei, Taikyoku& t, ComYomi& yomi, Onkyou& onkyou,
          const std::string& hozon_fuka)
      : irai_(w.irai), gamen_(w.gamen), kirikae_(w.kirikae), settei_(settei), taikyoku_(t), yomi_(yomi),
        onkyou_(onkyou), hozon_fuka_(hozon_fuka) {}
  Opushon(const Opushon&) = delete;
  Opushon& operator=(const Opushon&) = delete;

  // The settings file read at start (the defaults where it names nothing) and written
  // after a change; the player is told on the status line when it cannot be.
  void settei_yomi();
  void settei_kaki();

  // The computer's level, 1-5, ticked and shown; anything else only clears the ticks.
  void level_settei(int n);
  void level_menu(int n);    // LEVEL1 .. LEVEL5
  void haikei_menu(int id);  // MIDORI, UCHU, TATAMI, TAKE, RENGA
  void sidou_menu();
  void keika_menu();
  void bgm_menu();
  void aicon_menu();
  // An option that is one switch, flipped by its menu item: CHOKUZEN, ICHIRAN, KAISEKI_ZU
  // (ｵﾌﾟｼｮﾝ → 解析グラフ), NARI_KAKUNIN; any other item is left alone.
  void onoff_menu(Menu item);
  void com_hyouji_menu(ComHyouji h);
  void kouryo_menu(int ms);  // ｵﾌﾟｼｮﾝ → COMの考慮時間

 private:
  bool hozon_basho_ari() const { return hozon_fuka_.empty(); }
  void haikei_sentaku(int id);
  void haikei_settei(int id);
  void sidou_settei(bool on);
  void com_hyouji_settei(ComHyouji h);
  void kouryo_settei(int ms);
  void shoki_settei();  // the options a settings file does not name
  void settei_tekiyou(const std::string& key, const std::string& value);  // one line of it

  Irai& irai_;
  BanGamen& gamen_;
  Kirikae& kirikae_;
  Settei& settei_;
  Taikyoku& taikyoku_;
  ComYomi& yomi_;
  Onkyou& onkyou_;
  const std::string& hozon_fuka_;
};

}  // namespace mirado
