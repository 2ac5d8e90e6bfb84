// The board view: what the board, the hands, the labels around them, the status line, the
// move list and the clocks show, and the sending of their changes through the ports. It
// keeps what it has drawn and sent (the marks of the last turn per square, the clocks'
// texts, the line and the rows as sent) and the words of the line (a refusal, a notice,
// the box that waits); it reads the game and the other rooms and changes neither.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/kirikae.h"
#include "app/ports.h"
#include "app/settei.h"
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

class Nyuuryoku;
class ComTeban;
class HintKaiseki;

class BanGamen {
 public:
  // A marked square: the move's number (1..3) and whether it is the move's destination,
  // which carries the number.
  struct Shirushi {
    int c = 0, r = 0, no = 0;
    bool saki = false;
  };

  // The game it shows, the options it draws by, the window's switches, and the rooms
  // whose selection, turn and words the status line and the clocks read.
  BanGamen(const Ports& ports, const Taikyoku& t, const Settei& settei, const Kirikae& kirikae,
           const Nyuuryoku& nyuuryoku, const ComTeban& com, const HintKaiseki& hint)
      : ports_(ports), t_(t), settei_(settei), kirikae_(kirikae), nyuuryoku_(nyuuryoku), com_(com),
        hint_(hint) {}
  BanGamen(const BanGamen&) = delete;
  BanGamen& operator=(const BanGamen&) = delete;

  // ---- drawing ----
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
  // Draws a move already made on the position; `torareru` is what it took.
  void te_egaku(const Te& te, int torareru);
  bool font_bold() const { return font_bold_; }  // the board's labels are bold once drawn

  // ---- status texts and clocks ----
  void level_hyouji(int lv);
  // The level label cleared: it sits left of the column labels, where the background shows.
  void level_kesu();
  void handicap_hyouji(int h);
  void tesuu_hyouji(int n);
  void te_hyouji(Gawa side, int c, int r, int code, int iro);
  void te_kesu(Gawa side);
  void keika_hyouji(Gawa side, double seconds);
  void keika_kesu(Gawa side);
  void timer_tick();
  // The clocks as shown: the holder's runs through all three of its moves (the computer's
  // only while it searches), the other stands at its total; only changed texts are redrawn.
  bool tokei_hashiru() const;
  double jikan_gamen(Gawa side) const;
  bool jikan_awaseru();
  // The clocks' texts on screen, lower side first; empty: none drawn.
  const std::string& tokei_moji(int i) const { return tokei_moji_[i]; }

  // ---- marks of the last turn ----
  // Moves were played or stepped since the last new game: the marks may show.
  bool shirushi_ari() const { return shirushi_ari_; }
  void shirushi_tsukeru() { shirushi_ari_ = true; }
  void shirushi_nashi() { shirushi_ari_ = false; }  // a new game: none until a move
  // The marks as they should stand: the moves of the turn in progress, or of the one just
  // finished until the next turn's first move.
  std::vector<Shirushi> shirushi() const;
  // Brings the marks on screen up to date, repainting only what changed or was painted over.
  void shirushi_awaseru();
  // The one drawing of a numbered mark (last turn and hint): a thick frame inside the
  // square in colour `iro`, and the number in a corner when no > 0.
  void masu_shirushi(int iro, int c, int r, int no);
  // The better turn the analysis found: corner marks, another shape than the frames of
  // the turn played, numbered in the other corner.
  void masu_saizen(int c, int r, int no);

  // ---- the status line and the move list ----
  // The status line: whose turn, which move is due, and why the last click was refused;
  // while a box waits, what the box says.
  std::string joukyou() const;
  // Can the selected piece promote on some square it reaches? The line then says how.
  bool sentaku_nareru() const;
  const std::string& kotowari() const { return kotowari_; }  // why the last click was refused
  void kotowaru(std::string why) { kotowari_ = std::move(why); }
  // A notice for the player (a settings file kept aside, a game that can be resumed); it
  // stays on the status line until the next click or command, as a refusal does.
  const std::string& oshirase() const { return oshirase_; }
  void shiraseru(std::string what) { oshirase_ += (oshirase_.empty() ? "" : "　") + what; }
  // A click or command: the last refusal and notice are said no more.
  void kotowari_kesu() {
    kotowari_.clear();
    oshirase_.clear();
  }
  // A box, its words on the status line while it waits.
  Answer msg(std::string_view text, std::string_view title, Buttons b = Buttons::ok,
             Icon icon = Icon::none);
  std::vector<std::string> ichiran() const;  // the move list's rows
  int ichiran_ima() const;                   // the row of the position on the board, -1 none
  int ichiran_owari(int row) const;          // the entries up to the end of a row's turn
  // Sends the status line, the move list and the analysis graph when they changed.
  void joukyou_okuru();

 private:
  // Where the record's turns begin, as its phases divide it: a turn the computer cut short
  // holds fewer than three entries. Empty (three to a turn) on a turned board or a game
  // set up at a position, whose record the rules cannot replay from a start.
  const std::vector<int>& turn_hajime() const;
  const Ports& ports_;
  const Taikyoku& t_;
  const Settei& settei_;
  const Kirikae& kirikae_;
  const Nyuuryoku& nyuuryoku_;
  const ComTeban& com_;
  const HintKaiseki& hint_;

  bool font_bold_ = false;
  bool shirushi_ari_ = false;
  std::string kotowari_;
  std::string oshirase_;
  std::string hako_moji_;  // the words of the box that waits for an answer
  std::string tokei_moji_[2];
  std::array<unsigned char, 100> shirushi_gamen_{};  // what is drawn per square: no * 2 + saki
  std::array<bool, 100> nurikae_{};                  // squares painted over since the last sync
  std::string joukyou_okutta_;
  // The record turn_hajime last divided (handicap, then each entry's move and pieces) and
  // what it found: the rules replay the record only when it changes.
  mutable std::vector<int> turn_kagi_;
  mutable std::vector<int> turn_hajime_;
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
