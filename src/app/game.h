// The window object: it receives the window's events and routes them, and turns what
// the game (taikyoku/taikyoku.h, which it holds and changes only through its methods)
// says happened into boxes, sounds and drawing. What it keeps lives in rooms, each the
// only writer of its state: the person's selection (app/nyuuryoku.h), the options
// (app/settei.h), the record panel (app/kifu_panel.h) and the computer's turn with its
// look-ahead (app/com_teban.h), and the hint with the analysis (app/hint_kaiseki.h); the
// rest (marks, status line, clocks, sounds) is private here and read through accessors. It
// knows nothing of Qt; it draws, asks and plays sounds only through the ports. Its
// procedures live in the folder of their part: play in app/play/, the drawing in view/,
// settings, sounds and the about box in media/.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/com_teban.h"
#include "app/hint_kaiseki.h"
#include "app/kifu_panel.h"
#include "app/nyuuryoku.h"
#include "app/ports.h"
#include "app/settei.h"
#include "engine/yomi.h"
#include "rules/ugoki.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

// Geometry of the window grid in twips.
constexpr int BAN_LEFT = 1050;
constexpr int BAN_TOP = 100;
constexpr int MASU_W = 495;
constexpr int MASU_H = 615;
constexpr int FORM_W = 9000;
constexpr int FORM_H = 8000;

inline int cell_x(double c) { return BAN_LEFT + static_cast<int>(MASU_W * c); }
inline int cell_y(double r) { return BAN_TOP + static_cast<int>(MASU_H * r); }

class Game {
 public:
  explicit Game(const Ports& ports);

  // ---- the game, read: only the window's own procedures change it ----
  const Taikyoku& taikyoku() const { return taikyoku_; }

  // ---- its rooms, read: each changes only through its own procedures ----
  const Nyuuryoku& nyuuryoku() const { return nyuuryoku_; }    // the person's selection
  const Settei& settei() const { return settei_; }             // the options
  const KifuPanel& kifu_panel() const { return kifu_panel_; }  // the record panel
  bool timer1() const { return timer1_; }
  bool is_visible(Control c) const { return visible_[static_cast<int>(c)]; }
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
  void on_timer() { timer_tick(); }
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
  void aicon_ichi(std::string_view position, int side);  // "上" or "下"
  void matsu(double seconds);
  void shuuryou();
  void com_turn() { com_teban_.com_turn(); }  // com_ban1, com_ban2, com_ban3 in this order
  bool te_tochuu_de_kotowaru(std::string_view title);
  void com_taikyoku_kaishi(bool timer_first);
  // A wait of the computer's display, as long as COMの手の表示 lets it be.
  void com_matsu(double seconds);

  // ---- moves (app/play/te_egaku.cpp) ----
  // Draws a move already made on the position; `torareru` is what it took.
  void te_egaku(const Te& te, int torareru);

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
  void kaiseki_zu_click(int turn);   // a click on the graph: to that turn, as a row click
  bool kaiseki_chu() const { return hint_kaiseki_.kaiseki_chu(); }
  KaisekiZu kaiseki_zu() const { return hint_kaiseki_.kaiseki_zu(settei_.kaiseki_zu_on()); }
  // The last analysis, by turn (empty: none).
  const std::vector<KaisekiTe>& kaiseki_kekka() const { return hint_kaiseki_.kaiseki_kekka(); }
  // Whole turns per search beside the window.
  void kaiseki_nodes_settei(std::int64_t n) { hint_kaiseki_.kaiseki_nodes_settei(n); }
  // The analysis' progress, or how it ended, in the status line.
  const std::string& kaiseki_moji() const { return hint_kaiseki_.kaiseki_moji(); }

  // ---- following a turn: marks of the last turn, the status line, the move list ----
  // (app/play/shirushi.cpp, app/play/joukyou.cpp)
  // A marked square: the move's number (1..3) and whether it is the move's destination,
  // which carries the number.
  struct Shirushi {
    int c = 0, r = 0, no = 0;
    bool saki = false;
  };
  using ComHyouji = mirado::ComHyouji;
  // Moves were played or stepped since the last new game: the marks may show.
  bool shirushi_ari() const { return shirushi_ari_; }
  void shirushi_tsukeru() { shirushi_ari_ = true; }
  bool com_shikouchu() const { return com_teban_.shikouchu(); }  // the computer's turn is played
  int com_tejun() const { return com_teban_.tejun(); }  // which of its three procedures
  const std::string& kotowari() const { return kotowari_; }  // why the last click was refused
  const std::string& hint_moji() const { return hint_kaiseki_.hint_moji(); }  // in notation
  // The marks as they should stand: the moves of the turn in progress, or of the one just
  // finished until the next turn's first move.
  std::vector<Shirushi> shirushi() const;
  // Brings the marks on screen up to date, repainting only what changed or was painted over.
  void shirushi_awaseru();
  // The one drawing of a numbered mark (last turn and hint): a thick frame inside the
  // square in colour `iro`, and the number in a corner when no > 0.
  void masu_shirushi(int iro, int c, int r, int no);
  // The status line: whose turn, which move is due, and why the last click was refused;
  // while a box waits, what the box says.
  std::string joukyou() const;
  // Can the selected piece promote on some square it reaches? The line then says how.
  bool sentaku_nareru() const;
  void kotowaru(std::string why) { kotowari_ = std::move(why); }
  // A notice for the player (a settings file kept aside, a game that can be resumed); it
  // stays on the status line until the next click or command, as a refusal does.
  const std::string& oshirase() const { return oshirase_; }
  void shiraseru(std::string what) { oshirase_ += (oshirase_.empty() ? "" : "　") + what; }
  // Sends the status line and the move list to the window when they changed.
  void joukyou_okuru();
  // After every event of the window: marks, status line and move list brought up to date.
  void ibento_owari();
  std::vector<std::string> ichiran() const;  // the move list's rows
  int ichiran_ima() const;                   // the row of the position on the board, -1 none
  void ichiran_click(int row);               // to the end of that turn, as 戻/進 would go
  void chokuzen_menu();
  void ichiran_menu();
  void nari_kakunin_menu();
  void com_hyouji_menu(ComHyouji h);
  void com_hyouji_settei(ComHyouji h);

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
  void modoshi_egaku(const KifuEntry& e);
  void file_mado(int drive, int dir, int file);
  void kaki_mado(int mode);
  void panel_tojiru() { file_mado(nashi, nashi, nashi); kaki_mado(1); }

  // ---- a game left by quitting (app/play/chuudan.cpp) ----
  // Quitting keeps a game in progress in "中断.棋譜"; 続きから (TSUZUKI) plays it on.
  void chuudan_hozon();
  void chuudan_shiraseru();
  void tsuzuki();
  // The first press after stepping through a record: play goes on from the position
  // shown. False when the press is not part of a move (the computer played instead).
  bool saikai_suru();

  // ---- drawing (view) ----
  void koma_egaku(int code, double c, double r);
  void waku_egaku(int iro, double c, double r);
  // A cell's picture with the grid outline back on top: the picture covers the outline
  // of the cell it fills.
  void masu_egaku(int code, double c, double r);
  void moji_egaku(double c, double r, std::string_view value, int iro, int mode, int size);
  void moji_egaku(double c, double r, long value, int iro, int mode, int size);
  void meisho_egaku(double c, double r, int code, int iro, int size);
  void haikei_shiku(int id, int c1, int c2, int r1, int r2);
  void zahyou_egaku();
  void ban_egaku();
  void mochigoma_sita_egaku();
  void mochigoma_ue_egaku();
  void zenbu_egaku();
  void kaishi_egaku();
  void waku_kesu();
  // Frames the squares the piece `code` can go to from the move source (fc, fr) (for a
  // drop, a hand and its slot).
  void sidou_egaku(int fc, int fr, int iro, int code);

  // ---- status texts (view) ----
  void level_hyouji(int lv);
  void handicap_hyouji(int h);
  void tesuu_hyouji(int n);
  void te_hyouji(int side, int c, int r, int code, int iro);
  void te_kesu(int side);
  void keika_hyouji(int side, double seconds);
  void keika_kesu(int side);
  void timer_tick();
  // The clocks as shown: the holder's runs through all three of its moves (the computer's
  // only while it searches), the other stands at its total; only changed texts are redrawn.
  bool tokei_hashiru() const;
  double jikan_gamen(int side) const;
  bool jikan_awaseru();
  // The clocks' texts on screen, lower side first; empty: none drawn.
  const std::string& tokei_moji(int i) const { return tokei_moji_[i]; }
  bool com_kangae_chu() const { return com_teban_.kangae_chu(); }  // its clock runs
  double com_mikomi() const { return com_teban_.mikomi(); }  // its charge, not yet booked
  // The computer's clock as shown: searching, and its charge so far.
  void com_tokei(bool kangae_chu, double mikomi) { com_teban_.tokei(kangae_chu, mikomi); }
  void com_tejun_hyouji(int tejun) { com_teban_.tejun_hyouji(tejun); }

  // ---- settings, options, sound, about box (media/) ----
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
  void snd_play(Oto which);
  void snd_loop(Oto which);
  void snd_stop(Oto which);

  // ---- window-side helpers ----
  bool is_checked(Menu m) const { return checked_[static_cast<int>(m)]; }
  void set_checked(Menu m, bool on);
  void set_visible(Control c, bool on);
  void set_timer(bool on);
  Answer msg(std::string_view text, std::string_view title, Buttons b = Buttons::ok,
             Icon icon = Icon::none);

  const Ports& ports() const { return ports_; }

  // Tests set the game up directly.
  friend struct TaikyokuShiken;

 private:
  // The game, for the window's procedures to change through its methods.
  Taikyoku& game() { return taikyoku_; }
  Taikyoku taikyoku_;
  Ports ports_;
  Nyuuryoku nyuuryoku_{*this, taikyoku_};
  Settei settei_;
  KifuPanel kifu_panel_;
  ComTeban com_teban_{*this, taikyoku_, ports_};
  HintKaiseki hint_kaiseki_{*this, taikyoku_, com_teban_.yomi()};

  bool timer1_ = false;
  std::array<bool, static_cast<int>(Menu::COUNT)> checked_{};
  std::array<bool, static_cast<int>(Control::COUNT)> visible_{};
  std::array<std::int32_t, static_cast<int>(Oto::COUNT)> oto_{};  // sound handles, 0 = silent
  std::int32_t ds_context_ = 0;
  std::string exe_dir_, data_dir_;
  bool quitting_ = false;

  bool shirushi_ari_ = false;
  std::string kotowari_;
  std::string oshirase_;
  std::string tokei_moji_[2];

  std::array<unsigned char, 100> shirushi_gamen_{};  // what is drawn per square: no * 2 + saki
  std::array<bool, 100> nurikae_{};                  // squares painted over since the last sync
  std::string joukyou_okutta_;
  std::string hako_moji_;  // the words of the box that waits for an answer
  std::vector<std::string> ichiran_okutta_;
  int ichiran_ima_okutta_ = -2;
  bool ichiran_mieru_ = false;
  std::vector<int> ichiran_rui_okutta_;
  KaisekiZu kaiseki_zu_okutta_;
};

// Text helpers of the status display, free of any state.
std::string kifu_moji(int value);
std::string niketa(long value);
std::string jikan_moji(double seconds);
std::string kansuuji(int value);           // 1..9 as 一..九, else empty
std::string handicap_meishou(int level);  // -10..10, else empty

}  // namespace mirado
