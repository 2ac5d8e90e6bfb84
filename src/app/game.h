// The window object: it receives the window's events and routes them, and turns what
// the game (taikyoku/taikyoku.h, which it holds and changes only through its methods)
// says happened into boxes, sounds and drawing. What it keeps lives in rooms, each the
// only writer of its state:
//   Nyuuryoku (app/nyuuryoku.h)      the person's selection between the presses of a move;
//   Settei (app/settei.h)            the options;
//   KifuPanel (app/kifu_panel.h)     the record panel's folder, files and texts;
//   ComTeban (app/com_teban.h)       the computer's turn, its look-ahead and plan;
//   HintKaiseki (app/hint_kaiseki.h) the hint, the analysis, its results and its line;
//   BanGamen (app/ban_gamen.h)       what the board, the status line, the move list and
//                                    the clocks show, as drawn and sent;
//   Kirikae (app/kirikae.h)          the menu ticks, controls shown and timer as sent;
//   Onkyou (app/onkyou.h)            the sounds, their handles and where they are found.
// Here remain the window's events, the procedures they start, and quitting. The person's
// input, the computer's turn and the hint reach the window through a Madoguchi
// (app/irai.h): the board view, the switches, the options, the ports, and the
// few procedures of the window object they call. It knows nothing of Qt; it draws, asks
// and plays sounds only through the ports. Its procedures live in the folder of their
// part: the board view in app/ban_gamen.cpp, play, settings and the about box in
// app/play/.
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
#include "app/nyuuryoku.h"
#include "app/onkyou.h"
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
  const Nyuuryoku& nyuuryoku() const { return nyuuryoku_; }    // the person's selection
  const Settei& settei() const { return settei_; }             // the options
  const KifuPanel& kifu_panel() const { return kifu_panel_; }  // the record panel
  KifuPanel& kifu_panel() { return kifu_panel_; }              // its texts as typed
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

  // ---- window events (app/events.cpp and the procedures they start) ----
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
  // The record panel's button and lists (app/play/panel.cpp).
  void panel_write_click();
  void panel_drive_change(const std::string& path);
  void panel_dir_change(const std::string& path);
  void panel_file_click(const std::string& name);
  // 棋譜 → 開く… and 名前を付けて保存…: the desktop's file dialog names the file, the checks
  // are the panel's, and the panel goes on from the folder chosen. Before the dialog opens
  // the panel closes, and a save is told (and the player why not) whether the game may be
  // saved at all.
  bool kifu_dialog_mae(bool hozon);
  void kifu_dialog_hiraku(const std::string& path);
  void kifu_nazuke_hozon(const std::string& path);  // the record's extension added when missing

  // ---- procedures the window's owner and the tests start directly ----
  void shinki_kyoku();
  // The window goes on with a game set up at a position (a position to study, a record's
  // middle): the turn's marks and the selection go, and the board is drawn anew.
  void haichi(const Taikyoku& t);
  // After every event of the window: marks, status line and move list brought up to date.
  void ibento_owari() override;
  // Record stepping as shown (app/play/replay.cpp): false, with nothing changed, at the
  // end of the record or on an entry that cannot be played.
  bool ippo_susumu();
  void ippo_modosu();
  // Quitting keeps a game in progress in "中断.棋譜" (app/play/chuudan.cpp): true when
  // kept; false when there is none, or with why in `naze` when it could not be kept.
  bool chuudan_hozon(std::string& naze);
  // The settings file read at start and written after a change (app/play/settei_menu.cpp).
  void settei_yomi();
  void settei_kaki();
  // The player's data folder cannot be used (`naze`: why, then the folder): the options
  // start as their defaults, and neither they nor a game in progress are written anywhere.
  void hozon_basho_nashi(std::string naze) { hozon_fuka_ = std::move(naze); }

 private:
  // ---- game control (app/play/seigyo.cpp, app/play/kaishi.cpp) ----
  void start();   // START: two people
  void sente();   // SENTE: the person moves first against the computer
  void gote();    // GOTE: the computer moves first
  void sente_kimaru();  // after the start's pause: who moves, and the first turn
  void gote_kimaru();
  void level_menu(int n);
  void level_settei(int n);
  void aicon_ichi(std::string_view position, Gawa side) override;  // "上" or "下"
  // A pause of the game's own (a start's): the window answers meanwhile, the game takes
  // no command; then `tsugi`.
  void matsu(double seconds, std::function<void()> tsugi);
  void com_turn() override { com_teban_.com_turn(); }  // com_ban1, com_ban2, com_ban3 in order
  bool te_tochuu_de_kotowaru(std::string_view title);
  // The steps SENTE and GOTE share before they decide who moves, then `tsugi`.
  void com_taikyoku_kaishi(bool timer_first, std::function<void()> tsugi);

  // ---- the marks, the move list and the graph (app/play/shirushi.cpp) ----
  void kaiseki_zu_menu();  // ｵﾌﾟｼｮﾝ → 解析グラフ
  void chokuzen_menu();
  void ichiran_menu();
  void nari_kakunin_menu();
  void com_hyouji_menu(ComHyouji h);
  void com_hyouji_settei(ComHyouji h);
  void kouryo_menu(int ms);    // ｵﾌﾟｼｮﾝ → COMの考慮時間
  void kouryo_settei(int ms);

  // ---- record files, replay, board flip, handicap (app/play/) ----
  void kifu_write();  // KIFU_WRITE
  void kifu_read();   // KIFU_READ
  void after();       // 進
  void replay();      // 戻
  void cancel();      // 最初
  void reverse();     // 反転
  void lbel_up();
  void lebel_down();
  void handicap_kaeru(int step);  // one handicap level more (1) or less (-1)
  bool kifu_kakeru();  // may the game be saved? If not the player is told why
  void handicap_keikoku(Kotowari reason);
  // What a step back over entry `e` shows, once the game has taken it back.
  void modoshi_egaku(const KifuEntry& e) override;
  void file_mado(bool drive, bool dir, bool file);
  void kaki_mado(int mode);
  void panel_tojiru() override { file_mado(false, false, false); kaki_mado(1); }

  // ---- a game left by quitting (app/play/chuudan.cpp) ----
  // Is there a game in progress to keep?
  bool chuudan_dekiru() const;
  // A command is about to drop the game in progress: it is kept first, and the status
  // line says so.
  void chuudan_nokosu();
  // Play is about to go on from a position stepped back to, which cuts the record's
  // later moves: the game as played is kept first.
  void kiru_mae_ni_nokosu() {
    if (taikyoku_.kifu().kifu_nagasa > taikyoku_.kifu().kifu_ichi) chuudan_nokosu();
  }
  // Quitting could not keep the game: the player is told why and chooses (true: quit).
  bool owari_kakunin(const std::string& naze);
  void chuudan_shiraseru();
  void tsuzuki();
  // The first press after stepping through a record: play goes on from the position
  // shown. False when the press is not part of a move (the computer played instead).
  bool saikai_suru();
  // Starts a new game in record-replay mode holding the record of `f`, as opening a
  // record file does once the file has been read.
  void kifu_settei(const KifuFile& f);
  // A step back closes the panel and reopens a game a capture had ended; false at the
  // start of the record, where there is nothing to take back.
  bool modoseru();

  // ---- settings, options, sound, about box (app/play/settei_menu.cpp, about.cpp) ----
  bool hozon_basho_ari() const { return hozon_fuka_.empty(); }
  void haikei_sentaku(int id);
  void haikei_settei(int id);
  void sidou_settei(bool on);
  void shoki_settei();  // the options a settings file does not name
  void settei_tekiyou(const std::string& key, const std::string& value);  // one line of it
  void haikei_menu(int id);  // MIDORI, UCHU, TATAMI, TAKE, RENGA
  void sidou_menu();
  void keika_menu();
  void bgm_menu();
  void aicon_menu();
  void ver();
  void snd_play(Oto which) override { onkyou_.snd_play(which); }

  // The game, for the window's procedures to change through its methods.
  Taikyoku& game() { return taikyoku_; }
  void kifu_hiraku(const std::filesystem::path& path);  // read and set up a record, or refuse
  void kifu_hozon(const std::filesystem::path& path);   // write the record there, or refuse
  // What the rooms reach of the window.
  Madoguchi madoguchi() { return {*this, gamen_, kirikae_, settei_, ports_}; }
  Taikyoku taikyoku_;
  Ports ports_;
  Kirikae kirikae_{ports_};
  Settei settei_;
  KifuPanel kifu_panel_;
  BanGamen gamen_{ports_, taikyoku_, settei_, kirikae_, nyuuryoku_, com_teban_, hint_kaiseki_};
  Nyuuryoku nyuuryoku_{madoguchi(), taikyoku_};
  ComTeban com_teban_{madoguchi(), taikyoku_};
  HintKaiseki hint_kaiseki_{madoguchi(), taikyoku_, com_teban_.yomi()};
  Onkyou onkyou_{ports_, gamen_};

  std::string hozon_fuka_;  // why the data folder cannot be used (empty: it can)
  bool quitting_ = false;
  int matsu_chu_ = 0;  // pauses of the game's own under way
};

}  // namespace mirado
