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
//   MadoJoutai (app/mado_joutai.h)   the menu ticks, controls shown and timer as sent.
// Here remain the sounds' handles and where they are looked for, and quitting. The person's
// input, the computer's turn and the hint reach the window through a Madoguchi
// (app/mado_tetsuzuki.h): the board view, the switches, the options, the ports, and the
// few procedures of the window object they call. It knows nothing of Qt; it draws, asks
// and plays sounds only through the ports. Its procedures live in the folder of their
// part: play in app/play/, the drawing in view/, settings, sounds and the about box in
// media/.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/ban_gamen.h"
#include "app/com_teban.h"
#include "app/hint_kaiseki.h"
#include "app/kifu_panel.h"
#include "app/mado_joutai.h"
#include "app/mado_tetsuzuki.h"
#include "app/nyuuryoku.h"
#include "app/ports.h"
#include "app/settei.h"
#include "engine/yomi.h"
#include "rules/ugoki.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class Game final : private MadoTetsuzuki {
 public:
  explicit Game(const Ports& ports);

  // ---- the game, read: only the window's own procedures change it ----
  const Taikyoku& taikyoku() const { return taikyoku_; }

  // ---- its rooms, read: each changes only through its own procedures ----
  const Nyuuryoku& nyuuryoku() const { return nyuuryoku_; }    // the person's selection
  const Settei& settei() const { return settei_; }             // the options
  const KifuPanel& kifu_panel() const { return kifu_panel_; }  // the record panel
  const BanGamen& ban_gamen() const { return gamen_; }  // the board view
  const MadoJoutai& mado() const { return mado_; }      // the window's switches
  std::int32_t ds_context() const { return ds_context_; }
  // Where sound files are looked for after the working directory (empty: skipped): the
  // folder of the running program and the installed data folder.
  const std::string& exe_dir() const { return exe_dir_; }
  const std::string& data_dir() const { return data_dir_; }
  void oto_basho(std::string exe_dir, std::string data_dir) {
    exe_dir_ = std::move(exe_dir);
    data_dir_ = std::move(data_dir);
  }

  // ---- window events (app/events.cpp) ----
  void on_load(std::intptr_t window = 0);  // start-up
  void on_menu(Menu item);                 // a menu item clicked, or a top-level menu opened
  void on_mouse_down(int button, int shift, int x, int y);  // twips
  void on_key(int ch);
  void on_timer() { gamen_.timer_tick(); }
  void on_close();                         // the window's close request
  bool quitting() const { return quitting_; }

  // ---- game control (app/play/seigyo.cpp, app/play/taikyoku.cpp) ----
  void shinki_kyoku();
  // The window goes on with a game set up at a position (a position to study, a record's
  // middle): the turn's marks and the selection go, and the board is drawn anew.
  void haichi(const Taikyoku& t);
  void start();   // START: two people
  void sente();   // SENTE: the person moves first against the computer
  void gote();    // GOTE: the computer moves first
  void level_cmd(int n);
  void level_settei(int n);
  void aicon_ichi(std::string_view position, Gawa side) override;  // "上" or "下"
  void matsu(double seconds);
  void shuuryou();
  void com_turn() override { com_teban_.com_turn(); }  // com_ban1, com_ban2, com_ban3 in order
  bool te_tochuu_de_kotowaru(std::string_view title);
  void com_taikyoku_kaishi(bool timer_first);
  // A wait of the computer's display, as long as COMの手の表示 lets it be.
  void com_matsu(double seconds) override;

  // ---- moves (the board view, app/play/te_egaku.cpp) ----
  // Draws a move already made on the position; `torareru` is what it took.
  void te_egaku(const Te& te, int torareru) { gamen_.te_egaku(te, torareru); }

  // ---- computer player as shown (app/com_teban.h, app/play/com_ban.cpp) ----
  const ComTeban& com_teban() const { return com_teban_; }
  // com_ban1, com_ban2, com_ban3: one procedure of the computer's turn, `tejun` naming
  // which; the second moves one of the person's pieces.
  void com_ban(Dankai tejun) { com_teban_.com_ban(tejun); }
  // ﾋﾝﾄ (app/hint_kaiseki.h, app/play/hint.cpp): the moves the look-ahead would play for
  // the holder of the turn, marked and written under the board; the next click takes
  // them away.
  void hint() { hint_kaiseki_.hint(); }
  void hint_kesu() { hint_kaiseki_.hint_kesu(); }
  const YomiTe& hint_te() const { return hint_kaiseki_.hint_te(); }  // n = 0: none
  // A fixed budget of whole turns, searched in place: the same moves every time (the
  // event runner, tests). 0: the window's thinking time, off the window's thread.
  std::int64_t yomi_nodes() const { return com_teban_.yomi().yomi_nodes(); }
  void yomi_nodes_settei(std::int64_t n) { com_teban_.yomi().yomi_nodes_settei(n); }
  // The thinking time of LEVEL4 and LEVEL5 beside the window (ｵﾌﾟｼｮﾝ → COMの考慮時間).
  double yomi_byou() const { return com_teban_.yomi().yomi_byou(); }
  // The window is closing: the computer's turn was given up.
  bool com_chuudan() const { return com_teban_.chuudan(); }

  // ---- looking back at a game (app/hint_kaiseki.h, app/play/kaiseki.cpp) ----
  // ﾍﾙﾌﾟ → 解析: LEVEL4 judges every turn of the record beside the window (in place on a
  // fixed budget when yomi_nodes is set); chosen again while it runs, it is given up.
  const HintKaiseki& hint_kaiseki() const { return hint_kaiseki_; }
  void kaiseki_menu() { hint_kaiseki_.kaiseki_menu(); }
  void kaiseki_zu_menu();            // ｵﾌﾟｼｮﾝ → 解析グラフ
  void on_poll() { hint_kaiseki_.on_poll(); }  // the window looks in on the analysis
  void kaiseki_yameru() { hint_kaiseki_.kaiseki_yameru(); }  // the game is untouched
  void kaiseki_yamesaseru() { hint_kaiseki_.kaiseki_yamesaseru(); }  // told, not waited for
  void kaiseki_zu_click(int turn);   // a click on the graph: to that turn, as a row click
  bool kaiseki_chu() const { return hint_kaiseki_.kaiseki_chu(); }
  KaisekiZu kaiseki_zu() const { return hint_kaiseki_.kaiseki_zu(settei_.kaiseki_zu_on()); }
  // The last analysis, by turn (empty: none).
  const std::vector<KaisekiTe>& kaiseki_kekka() const { return hint_kaiseki_.kaiseki_kekka(); }
  // Whole turns per search beside the window.
  void kaiseki_nodes_settei(std::int64_t n) { hint_kaiseki_.kaiseki_nodes_settei(n); }
  // The analysis' progress, or how it ended, in the status line.
  const std::string& kaiseki_moji() const { return hint_kaiseki_.kaiseki_moji(); }

  // ---- following a turn: the board view (app/ban_gamen.h; app/play/shirushi.cpp,
  // app/play/joukyou.cpp) shows the marks of the last turn, the status line and the move
  // list ----
  using Shirushi = BanGamen::Shirushi;
  using ComHyouji = mirado::ComHyouji;
  // The marks as they should stand: the moves of the turn in progress, or of the one just
  // finished until the next turn's first move.
  std::vector<Shirushi> shirushi() const { return gamen_.shirushi(); }
  // The status line: whose turn, which move is due, and why the last click was refused;
  // while a box waits, what the box says.
  std::string joukyou() const { return gamen_.joukyou(); }
  // A notice for the player; it stays on the status line until the next click or command.
  const std::string& oshirase() const { return gamen_.oshirase(); }
  std::vector<std::string> ichiran() const { return gamen_.ichiran(); }  // the move list's rows
  // After every event of the window: marks, status line and move list brought up to date.
  void ibento_owari() override;
  void ichiran_click(int row);               // to the end of that turn, as 戻/進 would go
  void chokuzen_menu();
  void ichiran_menu();
  void nari_kakunin_menu();
  void com_hyouji_menu(ComHyouji h);
  void com_hyouji_settei(ComHyouji h);
  void kouryo_menu(int ms);    // ｵﾌﾟｼｮﾝ → COMの考慮時間
  void kouryo_settei(int ms);

  // ---- record files, replay, board flip, handicap (app/play/) ----
  void kifu_write();                    // KIFU_WRITE
  void kifu_read();                     // KIFU_READ
  void panel_write_click();
  void panel_drive_change(const std::string& path);
  void panel_dir_change(const std::string& path);
  void panel_file_click(const std::string& name);
  void text_change(int n, const std::string& value) { kifu_panel_.text_kaeru(n, value); }
  void after();    // 進
  void replay();   // 戻
  void cancel();   // 最初
  void reverse();  // 反転
  void lbel_up();
  void lebel_down();
  void handicap_keikoku(Kotowari reason);

  // ---- record stepping as shown (app/play/replay.cpp, app/play/panel_mado.cpp) ----
  // false, with nothing changed, at the end of the record or on an entry that cannot be played
  bool ippo_susumu();
  void ippo_modosu();
  // What a step back over entry `e` shows, once the game has taken it back.
  void modoshi_egaku(const KifuEntry& e) override;
  void file_mado(bool drive, bool dir, bool file);
  void kaki_mado(int mode);
  void panel_tojiru() override { file_mado(false, false, false); kaki_mado(1); }

  // ---- a game left by quitting (app/play/chuudan.cpp) ----
  // Quitting keeps a game in progress in "中断.棋譜"; 続きから (TSUZUKI) plays it on.
  // Is there a game in progress to keep?
  bool chuudan_dekiru() const;
  // Keeps it: true when kept; false when there is none, or with why in `naze` when it
  // could not be kept.
  bool chuudan_hozon(std::string& naze);
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

  // ---- drawing and the clocks (the board view: view/egaku.cpp, view/status.cpp) ----
  void zenbu_egaku() { gamen_.zenbu_egaku(); }
  // The clocks' texts on screen, lower side first; empty: none drawn.
  const std::string& tokei_moji(int i) const { return gamen_.tokei_moji(i); }
  // The computer's clock as shown: searching, and its charge so far.
  void com_tokei(bool kangae_chu, double mikomi) { com_teban_.tokei(kangae_chu, mikomi); }
  void com_tejun_hyouji(int tejun) { com_teban_.tejun_hyouji(tejun); }

  // ---- settings, options, sound, about box (media/) ----
  // The player's data folder cannot be used (`naze`: why, then the folder): the options
  // start as their defaults, and neither they nor a game in progress are written anywhere.
  void hozon_basho_nashi(std::string naze) { hozon_fuka_ = std::move(naze); }
  bool hozon_basho_ari() const { return hozon_fuka_.empty(); }
  void settei_yomi();
  void settei_kaki();
  void haikei_sentaku(int id);
  void haikei_menu(int id);  // MIDORI, UCHU, TATAMI, TAKE, RENGA
  void sidou_menu();
  void keika_menu();
  void bgm_menu();
  void aicon_menu();
  void ver();
  void snd_init(std::intptr_t window);
  std::int32_t snd_load(const std::string& file_name, std::int32_t flags);
  void snd_term();
  void snd_warn(const std::string& text);
  void snd_play(Oto which) override;
  void snd_loop(Oto which);
  void snd_stop(Oto which);

  // ---- window-side helpers (the window's switches, app/mado_joutai.h; the box's words
  // on the status line, the board view) ----
  bool is_checked(Menu m) const { return mado_.is_checked(m); }
  bool is_visible(Control c) const { return mado_.is_visible(c); }
  bool timer1() const { return mado_.timer1(); }
  void set_checked(Menu m, bool on) { mado_.set_checked(m, on); }
  void set_visible(Control c, bool on) { mado_.set_visible(c, on); }
  void set_timer(bool on) { mado_.set_timer(on); }
  Answer msg(std::string_view text, std::string_view title, Buttons b = Buttons::ok,
             Icon icon = Icon::none) {
    return gamen_.msg(text, title, b, icon);
  }

  const Ports& ports() const { return ports_; }

 private:
  // The game, for the window's procedures to change through its methods.
  Taikyoku& game() { return taikyoku_; }
  // What the rooms reach of the window.
  Madoguchi madoguchi() { return {*this, gamen_, mado_, settei_, ports_}; }
  Taikyoku taikyoku_;
  Ports ports_;
  MadoJoutai mado_{ports_};
  Settei settei_;
  KifuPanel kifu_panel_;
  BanGamen gamen_{ports_, taikyoku_, settei_, mado_, nyuuryoku_, com_teban_, hint_kaiseki_};
  Nyuuryoku nyuuryoku_{madoguchi(), taikyoku_};
  ComTeban com_teban_{madoguchi(), taikyoku_};
  HintKaiseki hint_kaiseki_{madoguchi(), taikyoku_, com_teban_.yomi()};

  std::array<std::int32_t, static_cast<int>(Oto::COUNT)> oto_{};  // sound handles, 0 = silent
  std::int32_t ds_context_ = 0;
  std::string exe_dir_, data_dir_;
  std::string hozon_fuka_;  // why the data folder cannot be used (empty: it can)
  bool quitting_ = false;
};

}  // namespace mirado
