// The window object: it receives the window's events and routes them, and turns what
// the game (taikyoku/taikyoku.h, which it holds and changes only through its methods)
// says happened into boxes, sounds and drawing. What it keeps lives in rooms, each the
// only writer of its state, each a class with its procedures beside it in app/:
//   Nyuuryoku (app/nyuuryoku.h)      the person's selection between the presses of a move;
//   Settei (app/settei.h)            the options;
//   Opushon (app/opushon.h)          the option and level menus and the settings file;
//   KifuPanel (app/kifu_panel.h)     the record panel: its folder, lists and texts, saving
//                                    and opening record files;
//   Nokoshi (app/nokoshi.h)          a game kept when the window closes, and 続きから's read;
//   ComTeban (app/com_teban.h)       the computer's turn, its look-ahead and plan;
//   HintKaiseki (app/hint_kaiseki.h) the hint, the analysis, its results and its line;
//   BanGamen (app/ban_gamen.h)       what the board, the status line, the move list and
//                                    the clocks show, as drawn and sent;
//   Kirikae (app/kirikae.h)          the menu ticks, controls shown and timer as sent;
//   Onkyou (app/onkyou.h)            the sounds, their handles and where they are found.
// Here remain the window's events, the procedures they start (a game's start and control,
// the mouse, stepping through the record, handicap and flip, a record or a kept game
// taken up, the about box), and quitting, all in app/game.cpp. The rooms reach the
// window through a Madoguchi (app/irai.h): the board view, the switches, the options, the
// ports, and the few procedures of the window object they call. It knows nothing of Qt;
// it draws, asks and plays sounds only through the ports.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ban_gamen.h"
#include "app/com_teban.h"
#include "app/hint_kaiseki.h"
#include "app/kifu_panel.h"
#include "app/kirikae.h"
#include "app/irai.h"
#include "app/nokoshi.h"
#include "app/nyuuryoku.h"
#include "app/onkyou.h"
#include "app/opushon.h"
#include "app/ports.h"
#include "app/settei.h"
#include "engine/yomi.h"
#include "kifu/kifu_file.h"
#include "rules/ugoki.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class Game final : private Irai {
 public:
  explicit Game(const Ports& ports);

  // ---- the game, read: only the window's own procedures change it ----
  const Taikyoku& taikyoku() const { return taikyoku_; }

  // ---- its rooms: each changes only through its own procedures ----
  const Nyuuryoku& nyuuryoku() const { return nyuuryoku_; }  // the person's selection
  const Settei& settei() const { return settei_; }           // the options
  Opushon& opushon() { return opushon_; }  // the option menus and the settings file
  const KifuPanel& kifu_panel() const { return kifu_panel_; }  // the record panel
  KifuPanel& kifu_panel() { return kifu_panel_; }              // its boxes, lists and files
  Nokoshi& nokoshi() { return nokoshi_; }  // a game kept at quitting
  const BanGamen& ban_gamen() const { return gamen_; }  // the board view
  BanGamen& ban_gamen() { return gamen_; }
  const Kirikae& kirikae() const { return kirikae_; }  // the window's switches
  Kirikae& kirikae() { return kirikae_; }
  const ComTeban& com_teban() const { return com_teban_; }  // the computer's turn
  ComTeban& com_teban() { return com_teban_; }              // its look-ahead's budget
  const HintKaiseki& hint_kaiseki() const { return hint_kaiseki_; }  // hint and analysis
  HintKaiseki& hint_kaiseki() { return hint_kaiseki_; }              // the analysis' budget
  Onkyou& onkyou() { return onkyou_; }  // the sounds: where they are looked for, opened, freed
  const Ports& ports() const { return ports_; }

  // ---- window events and the procedures they start ----
  void on_load(std::intptr_t window = 0);  // start-up
  void on_menu(Menu item);                 // a menu item clicked, or a top-level menu opened
  void on_mouse_down(int button, int shift, int x, int y);  // twips
  void on_key(int ch);
  void on_close();                         // the window's close request
  bool quitting() const { return quitting_; }
  // The game plays on by itself (a pause, the computer's turn, a hint being read): the
  // window's input is refused as the design refuses it then.
  bool machichu() const {
    return matsu_chu_ > 0 || com_teban_.shikouchu() || com_teban_.yomi().yomichu();
  }
  void ichiran_click(int row);      // a row of the move list: to the end of that turn
  void kaiseki_zu_click(int turn);  // a click on the graph: to that turn, as a row click

  // ---- procedures the window's owner and the tests start directly ----
  void shinki_kyoku();
  // The window goes on with a game set up at a position (a position to study, a record's
  // middle): the turn's marks and the selection go, and the board is drawn anew.
  void haichi(const Taikyoku& t);
  // After every event of the window: marks, status line and move list brought up to date.
  void ibento_owari() override;
  // Record stepping as shown: false, with nothing changed, at the end of the record or on
  // an entry that cannot be played.
  bool ippo_susumu();
  void ippo_modosu();
  // The player's data folder cannot be used (`naze`: why, then the folder): the options
  // start as their defaults, and neither they nor a game in progress are written anywhere.
  void hozon_basho_nashi(std::string naze) { hozon_fuka_ = std::move(naze); }

 private:
  // ---- game control ----
  void start();   // START: two people
  void sente();   // SENTE: the person moves first against the computer
  void gote();    // GOTE: the computer moves first
  void sente_kimaru();  // after the start's pause: who moves, and the first turn
  void gote_kimaru();
  void aicon_ichi(std::string_view position, Gawa side) override;  // "上" or "下"
  // A pause of the game's own (a start's): the window answers meanwhile, the game takes
  // no command; then `tsugi`.
  void matsu(double seconds, std::function<void()> tsugi);
  void com_turn() override { com_teban_.com_turn(); }  // com_ban1, com_ban2, com_ban3 in order
  bool te_tochuu_de_kotowaru(std::string_view title);
  // The steps SENTE and GOTE share before they decide who moves, then `tsugi`.
  void com_taikyoku_kaishi(bool timer_first, std::function<void()> tsugi);
  // The first press after stepping through a record: play goes on from the position
  // shown. False when the press is not part of a move (the computer played instead).
  bool saikai_suru();

  // ---- replay, board flip, handicap ----
  void after();       // 進
  void replay();      // 戻
  void cancel();      // 最初
  void reverse();     // 反転
  void handicap_kaeru(int step);  // △ one handicap level more (1), ▽ one less (-1)
  void handicap_keikoku(Kotowari reason);
  // What a step back over entry `e` shows, once the game has taken it back.
  void modoshi_egaku(const KifuEntry& e) override;
  // A step back closes the panel and reopens a game a capture had ended; false at the
  // start of the record, where there is nothing to take back.
  bool modoseru();
  void panel_tojiru() override { kifu_panel_.tojiru(); }

  // ---- a record or a kept game taken up ----
  // Starts a new game in record-replay mode holding the record of `f`, the game in
  // progress kept first, as opening a record file does once the file has been read.
  void kifu_settei(const KifuFile& f) override;
  void tsuzuki();  // 続きから

  void ver();  // the about box
  void snd_play(Oto which) override { onkyou_.snd_play(which); }

  // The game, for the window's procedures to change through its methods.
  Taikyoku& game() { return taikyoku_; }
  // What the rooms reach of the window.
  Madoguchi madoguchi() { return {*this, gamen_, kirikae_, settei_, ports_}; }
  Taikyoku taikyoku_;
  Ports ports_;
  Kirikae kirikae_{ports_};
  Settei settei_;
  std::string hozon_fuka_;  // why the data folder cannot be used (empty: it can)
  KifuPanel kifu_panel_{madoguchi(), taikyoku_};
  BanGamen gamen_{ports_, taikyoku_, settei_, kirikae_, nyuuryoku_, com_teban_, hint_kaiseki_};
  Nyuuryoku nyuuryoku_{madoguchi(), taikyoku_};
  ComTeban com_teban_{madoguchi(), taikyoku_};
  HintKaiseki hint_kaiseki_{madoguchi(), taikyoku_, com_teban_.yomi()};
  Onkyou onkyou_{ports_, gamen_};
  Nokoshi nokoshi_{madoguchi(), taikyoku_, hozon_fuka_};
  Opushon opushon_{madoguchi(), settei_, taikyoku_, com_teban_.yomi(), onkyou_, hozon_fuka_};

  bool quitting_ = false;
  int matsu_chu_ = 0;  // pauses of the game's own under way
};

}  // namespace mirado
