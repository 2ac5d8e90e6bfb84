// The state of one game, without a window: the position and its maps, the record, the
// sides and who holds the turn, the phase of the turn, the clocks, the handicap and the
// flip and replay flags, and every rule of play over them. Its methods change the game
// and say what happened (a move refused and why, a game won and by whom); the window
// object (app/game.h) is built on it and turns that into boxes, sounds and drawing.
#pragma once

#include <string>
#include <vector>

#include "engine/kaiseki.h"
#include "engine/tansaku.h"
#include "engine/yomi.h"
#include "kifu/kifu.h"
#include "rules/kiki.h"
#include "rules/kotowari.h"
#include "rules/kyokumen.h"
#include "rules/santeme.h"
#include "rules/ugoki.h"

namespace mirado {

struct KifuFile;

// One of the two armies: the one that moved first (sente) or second (gote); nashi before
// a game, and for no winner. Which of them plays the lower pieces changes with the kind of
// game and with a flip.
enum class Gawa : int { nashi = 0, sente = 1, gote = -1 };
constexpr Gawa aite(Gawa g) { return static_cast<Gawa>(-static_cast<int>(g)); }

// How a game stands: going on, or won by one of the armies (the values are the winner's).
enum class Shuukyoku : int { tsuzuku = 0, sente_kachi = 1, gote_kachi = -1 };
constexpr Shuukyoku kachi(Gawa g) { return static_cast<Shuukyoku>(static_cast<int>(g)); }

// A person's move as the two presses gave it: the move with the piece as it was taken
// up (te.koma, before any promotion), and whether the right button asked for promotion.
struct NingenTe {
  Te te;
  bool naru = false;
};

// What a person's move did.
struct Sashita {
  Kotowari kotowari = Kotowari::nashi;  // refused (before or after it was tried) and why
  bool tameshita = false;  // the move was made on the board, then taken back when refused
  TeModoshi te;            // the move as made
  int koma = 0;            // what it put on the target: promoted when it promoted
  KifuEntry kiroku;        // its record entry (a refused move's entry is gone again)
  Gawa shousha = Gawa::nashi;  // the army that won by it
  bool com_no_ban = false; // the third move handed the turn to the computer
};

// Seconds from `start` to `now`, both times of day: a charge that runs past midnight
// goes on counting.
double keika_byou(double start, double now);

// What a move of the computer came to, as the game decides it.
enum class ComKessaku {
  tsuzuku,      // play goes on
  oute,         // the other side's king is in check
  ue_tsumi,     // its move of a lower piece left the upper king mated: said, play goes on
  com_tsumi,    // the lower king is mated: the computer has won
  com_tori,     // the lower king was taken: the computer has won
  ningen_tori,  // its move of a lower piece took the upper king: the person has won
};
constexpr bool owari(ComKessaku k) {
  return k == ComKessaku::com_tsumi || k == ComKessaku::com_tori || k == ComKessaku::ningen_tori;
}

// One procedure of the computer as played on the game.
struct ComKekka {
  ComTe te;  // te.te.ari false: no move was found, nothing was played
  ComKessaku kessaku = ComKessaku::tsuzuku;
};

// Who moves next after a command that starts or resumes play.
enum class Tsugi { ningen, com };

class Taikyoku {
 public:
  // Every field of a game; the methods below are the only writers outside tests.
  struct Joutai {
    Kyokumen pos;  // board, hands and what follows from them
    Kifu kifu;     // the record of this game
    Gawa teban = Gawa::nashi;        // whose move it is
    Gawa teban_nushi = Gawa::nashi;  // who holds the turn of three moves
    Gawa sita_gawa = Gawa::gote, ue_gawa = Gawa::sente;  // who plays the lower, the upper pieces
    TaikyokuShu taikyoku_shu = TaikyokuShu::ningen;
    Shuukyoku shuukyoku = Shuukyoku::tsuzuku;
    int tesuu = 0;  // moves played
    Dankai dankai = Dankai::ichi;  // which of the turn's three moves comes next
    int level = 3;  // the computer's level
    bool saisei_chu = false;    // a loaded record is being stepped through
    bool saikai_machi = false;  // stepped back: play resumes from here
    bool te_tochuu = false;     // in the middle of a turn
    bool oute_mae = false;      // the holder's king was in check before the third move
    Santeme santeme;  // where the turn's first and second moves went
    double jikan_kaishi = 0;         // the clock when the current charge began
    double jikan_ima = 0;            // seconds of the current charge
    double jikan_sita = 0, jikan_ue = 0;  // each side's total
    int handicap = 0;
    bool handicap_zumi = false;
    bool hanten_zumi = false;
    bool gun_irekae = false;  // an odd number of 反転 in a game under way: the armies swapped sides
  };

  Taikyoku() { j_.pos.shoki_haichi(); }

  // A game set up at a position rather than played to it (tests, tools): the board and
  // hands and the side whose pieces move next from an SFEN, and the move of the turn due.
  // In the second move the pieces that move are the opponent's of the holder; after the
  // first, the turn is under way with its earlier moves ended on the `santeme` squares.
  struct Haichi {
    std::string sfen;                   // empty: the even start, the lower pieces to move
    Dankai dankai = Dankai::ichi;
    Santeme santeme;
    TaikyokuShu shu = TaikyokuShu::ningen;
    bool sita_sente = true;             // the lower pieces moved first (START, SENTE)
    int level = 3;
    double jikan_kaishi = 0;            // when the current charge began
    double jikan_sita = 0, jikan_ue = 0;  // each side's clock so far
    // Record lines beyond the position, as after stepping back over them.
    std::vector<KifuEntry> kifu_saki;
  };
  // False, with the reason, when the SFEN does not parse.
  static bool haichi(const Haichi& h, Taikyoku& out, std::string& error);

  // ---- reading the game ----
  const Kyokumen& pos() const { return j_.pos; }
  const Kiki& kiki() const { return j_.pos.kiki(); }
  const Kifu& kifu() const { return j_.kifu; }
  Gawa teban() const { return j_.teban; }
  Gawa teban_nushi() const { return j_.teban_nushi; }
  Gawa sita_gawa() const { return j_.sita_gawa; }
  Gawa ue_gawa() const { return j_.ue_gawa; }
  bool sita_sente() const { return j_.sita_gawa == Gawa::sente; }  // the lower pieces moved first
  // For the notation: the lower pieces are the army that moved first in this game. A 反転
  // in a game under way hands each army the other side's pieces.
  bool hyouki_sita_sente() const { return sita_sente() != j_.gun_irekae; }
  bool hajimatta() const { return j_.teban != Gawa::nashi; }  // a game was started or loaded
  TaikyokuShu taikyoku_shu() const { return j_.taikyoku_shu; }
  Shuukyoku shuukyoku() const { return j_.shuukyoku; }
  bool owatta() const { return j_.shuukyoku != Shuukyoku::tsuzuku; }
  Gawa shousha() const { return static_cast<Gawa>(static_cast<int>(j_.shuukyoku)); }  // nashi: none
  int tesuu() const { return j_.tesuu; }
  Dankai dankai() const { return j_.dankai; }
  int level() const { return j_.level; }
  bool saisei_chu() const { return j_.saisei_chu; }
  bool saikai_machi() const { return j_.saikai_machi; }
  bool te_tochuu() const { return j_.te_tochuu; }
  bool oute_mae() const { return j_.oute_mae; }
  const Santeme& santeme() const { return j_.santeme; }
  int ichite_x() const { return j_.santeme.ichite_x; }
  int ichite_y() const { return j_.santeme.ichite_y; }
  int nite_x() const { return j_.santeme.nite_x; }
  int nite_y() const { return j_.santeme.nite_y; }
  double jikan_kaishi() const { return j_.jikan_kaishi; }
  double jikan_ima() const { return j_.jikan_ima; }
  double jikan_sita() const { return j_.jikan_sita; }
  double jikan_ue() const { return j_.jikan_ue; }
  int handicap() const { return j_.handicap; }
  bool handicap_zumi() const { return j_.handicap_zumi; }
  bool hanten_zumi() const { return j_.hanten_zumi; }
  bool com_taikyoku() const { return j_.taikyoku_shu == TaikyokuShu::com; }
  // Pieces on the board and in hand of the army `side`.
  int koma_su(Gawa side) const;
  // Is the king of the lower (sita) or the upper pieces attacked on the board as it stands?
  bool ou_oute(bool sita) const;
  // Are the third move's two limits in force on the position as it stands? They are
  // lifted for a holder with only its king left or whose king is in check.
  bool santeme_seigen() const;
  // Does phase `d` of the holder's turn move lower pieces?
  bool ugoki_sita(Dankai d) const;
  // May phase `d` take up this piece? (Empty squares never.)
  bool ugokaseru(Dankai d, int code) const;
  // The hand phase `d` may not drop from: the one of the side whose pieces it does not move.
  bool machigai_te(Dankai d, int moto_x) const {
    return ugoki_sita(d) ? moto_x == TE_UE : moto_x == TE_SITA;
  }

  // ---- starting and resuming play ----
  // The window has just opened: no record, level 3, the sides of a game the computer starts.
  void kidou();
  // A new game on the even position. The record keeps its length, so that it can be
  // stepped through again, unless the board was turned or handicapped.
  void shinki();
  void level_settei(int n);  // 1..5; anything else leaves the level as it is
  // A game between two people begins, or goes on from the position on the board. True
  // when it is a fresh game: the lower pieces move first.
  bool ningen_kaishi(double now);
  // A game against the computer is being set up: the record ends where play goes on from.
  void com_kaishi();
  // The person plays first with the lower pieces (SENTE), or the computer first (GOTE).
  // `shoteme` tells a fresh game; the result says who moves now. When GOTE leaves the
  // person to move, play goes on with saikai once the person has been told.
  Tsugi sente_kaishi(double now, bool& shoteme);
  Tsugi gote_kaishi(bool& shoteme);
  // Play goes on from the position on the board (the first click after stepping through
  // the record): the clock of the side to move starts now.
  void saikai(double now);
  // The clock of the current charge, for the running display.
  double jikan_hakaru(double now);

  // ---- the person's three moves ----
  // Plays the move for the phase due: refused with nothing changed, or made with its
  // record entry, clocks charged, a win found, and the move or turn handed over.
  Sashita sasu(const NingenTe& te, double now);

  // ---- the computer's moves ----
  // The computer's procedure begins: its clock starts.
  void com_tejun_kaishi(double now) { j_.jikan_kaishi = now; }
  // What the computer's procedures read of the game besides the position; `keikaku`,
  // when given, holds the moves LEVEL4's look-ahead chose, by procedure.
  ComSettei com_settei(const Sashite* keikaku = nullptr) const;
  // One procedure decided on a copy of the position (com_erabu): the game is unchanged.
  Sashite com_erabu(Dankai tejun, KouhoKiroku* kiroku = nullptr,
                    const Sashite* keikaku = nullptr) const;
  // The computer's chosen move played: its record entry, charged `jikan` seconds of
  // thinking, the move made (com_sasu), the turn's first or second square noted, and what
  // came of it decided: a mate or a captured king ends the game. Nothing is played when
  // the procedure found no move.
  ComKekka com_sasu(Dankai tejun, const Sashite& m, double jikan);
  // One procedure decided and played at once, with no time charged (the computer's turn
  // without a window).
  ComKekka com_ban(Dankai tejun, KouhoKiroku* kiroku = nullptr, const Sashite* keikaku = nullptr) {
    return com_sasu(tejun, com_erabu(tejun, kiroku, keikaku), 0);
  }
  // After a procedure: its time charged, the move handed to the lower side.
  void com_tejun_owari(double jikan, double now);
  // The computer's third procedure is done: the person holds the turn.
  void com_turn_owari() { j_.teban_nushi = j_.sita_gawa; }

  // ---- the record ----
  // A loaded record, to be stepped through from the start with the sides of the game that
  // made it (the upper pieces moved first after GOTE). A record of a handicapped game
  // (`handicap` not 0) starts from the position that handicap leaves, on a new game.
  void kifu_yomikomi(const std::vector<KifuEntry>& entries, int handicap = 0);
  // One record entry forward: the move made, the clocks as the entry has them, the turn
  // passed on, a captured king ending the game. When the entry does not fit the position
  // nothing changes and the reason is returned; empty when it was played. Only while
  // kifu().kifu_ichi < kifu().kifu_nagasa.
  std::string kifu_susumu();
  // One entry back (kifu().kifu_ichi >= 1): board, hands, clocks, turn and counters as
  // before it.
  void kifu_modosu();
  // A record's entry played as the move due, by the rules of play, to check a record: refused
  // with nothing changed, or made with the turn and the game going on as in play. `com`:
  // the turn may be the computer's, whose procedures play moves a person may not (see
  // kifu_kensa.cpp).
  Kotowari kifu_de_sasu(const KifuEntry& e, bool com);
  // After the record's last entry: the phases left of a turn that may be the computer's
  // are passed over where its procedures find no move, as play passes them over. True
  // when one was.
  bool com_te_owari(bool sita_com);
  // Stepping begins (進, 戻): play will resume from where it stops. Stepping back also
  // reopens a game a captured king had ended.
  void susumi_hajime() { j_.saikai_machi = true; }
  void modoshi_hajime();
  // 戻 is about to take a turn back: how many entries. Three, but a finished game, or a
  // record 進 stopped inside its last turn, goes back to that turn's first move (to be
  // played again from there), not into the turn before.
  int modosu_su();
  // Stepping ends: the side to move holds the turn.
  void idou_owari() { j_.teban_nushi = j_.teban; }
  // A game kept when the window was closed, stepped to its end, is played on as a game
  // of kind `shu`: the turn in progress (one or two of its moves made) is taken up where
  // it stopped, and the next press resumes play.
  void tsuzuki(TaikyokuShu shu);
  // A kept game's clocks as they were shown when it was left, the unfinished charge in
  // them: each side's total, from which play goes on.
  void tokei_modosu(double sita, double ue) {
    j_.jikan_sita = sita;
    j_.jikan_ue = ue;
  }

  // ---- the board ----
  // Turns the board (反転): refused in the middle of a turn, while a record is stepped
  // through, or during a game against the computer.
  Kotowari hanten();
  // Handicap one step up or down: refused while a record is stepped through, once moves
  // were made or after a flip, with nothing changed; else the square changed, if the
  // level was not at its end.
  struct HandicapKekka {
    Kotowari kotowari = Kotowari::nashi;
    bool kaeta = false;
    int c = 0, r = 0;
  };
  HandicapKekka handicap_kaeru(int step);

  friend Taikyoku sente_taikyoku(const Kyokumen& p, int level, int ichite_x, int ichite_y,
                                 int nite_x, int nite_y);

 private:
  void ou_tori(int torareru);
  // A phase of the computer's turn that found no move to play: the turn goes on without it.
  void dankai_tobasu();
  // The record entry of a move about to be made: `te` with the code it places, and the
  // code that stood on its source.
  void kiroku(const Te& te, int moto_koma, double sita_ato, double ue_ato);
  void modoshita(const KifuEntry& e);
  Kotowari sasu_mae(Dankai d, const NingenTe& te) const;
  Kotowari sasu_ato(Dankai d, const Te& te) const;
  // What taking a refused move back needs beyond what undoing it and its record entry
  // give back.
  struct Mae {
    int kifu_nagasa;
    KifuEntry uwagaki;  // the entry the move's record overwrites (a line stepped back over)
    bool te_tochuu, saikai_machi;
    Shuukyoku shuukyoku;
  };
  void te_wo_sasu(const NingenTe& s, double now, Sashita& kekka);
  void torikesu(Dankai d, const Sashita& kekka, const Mae& mae);
  Gawa te_owari(Dankai d, int captured, bool& com_no_ban);

  Joutai j_;
};

// How a record is checked: the handicap its game started from, and whether the computer
// played the lower pieces too (a match's records name a level for them).
struct KifuKensaSettei {
  int handicap = 0;
  bool sita_com = false;
};
// What checking a record found: why its first entry that is no legal move in its place is
// refused (empty when every entry is one), and that entry's file line; and where the
// entries played leave the game, by the record's own phases rather than three entries to
// a turn (a phase the computer passed over, finding no move, has no entry).
struct KifuTurn {
  int owari = 0;         // the entry count at its end
  bool nushi_ue = false; // the upper pieces held it
};
struct KifuKensa {
  std::string naze;
  int gyou = 0;
  std::vector<KifuTurn> turns;  // each whole turn, in order
  int turn_hajime = 0;          // entries before the turn in progress (all, between turns)
  Dankai dankai = Dankai::ichi; // the phase due next
  bool nushi_ue = false;        // the upper pieces hold that turn
  Santeme santeme;              // where its first and second moves ended
};
// A record checked by the rules of the game from its start: every entry must be the move
// due (the right side's piece, a movement or drop the piece may make, promotion where it
// may or must, the third move's limits, the king's safety for a person's move) and none
// may follow the end of the game. A record without moves is refused too.
KifuKensa kifu_kensa(const std::vector<KifuEntry>& entries, const KifuKensaSettei& s = {});
// The same for a record file, the computer's sides and a kept game's handicap read from
// its header.
KifuKensa kifu_kensa(const KifuFile& f);
// The message of kifu_kensa: empty when the record plays.
std::string kifu_sasenai(const std::vector<KifuEntry>& entries, const KifuKensaSettei& s = {});

// The turns of a record for analysis (engine/kaiseki.h), as the rules of play divide its
// entries into turns (kifu_kensa: a phase the computer passed over has no entry), each
// position as stepping through the record from the start gives it. A last turn cut short
// is kept when it mated the opponent (the computer's games end there), else left out.
// Empty when the record can be played, else the message at the first entry that cannot
// (whose file line goes to `gyou`).
std::string kaiseki_kyokumen(const std::vector<KifuEntry>& entries, std::vector<KaisekiKyokumen>& out,
                             int* gyou = nullptr, const KifuKensaSettei& s = {});
// Where each turn of a record begins (the entries before it), as kaiseki_kyokumen divides
// the record: the whole turns, then the part of one its end cuts short.
std::vector<int> turn_hajime(const std::vector<KifuEntry>& entries, const KifuKensaSettei& s = {});
// Moves played one after another from `mae` in the move list's notation ("▲7六歩 △3四歩
// ▲2六歩"), each named on the position the one before leaves; `zen` is the move before
// the first (nullptr: none), for 同. The lower pieces' moves are ▲ when `sita_sente`.
std::string te_retsu_hyouki(Kyokumen mae, const std::vector<KifuEntry>& te, const KifuEntry* zen,
                            bool sita_sente);
// A move of the computer or the look-ahead as a record entry (no capture or times filled
// in), for naming it as the move list does.
KifuEntry sashite_entry(const Sashite& m);
// A whole turn of the look-ahead from `mae`, written the same way.
std::string yomi_te_hyouki(const Kyokumen& mae, const YomiTe& t, const KifuEntry* zen, bool sita_sente);
// The count of each class by side, as one line: "先手 悪手1 疑問手0 緩手2　後手 ...".
std::string kaiseki_matome_moji(const std::vector<KaisekiTe>& te, bool sita_sente);

// A new game at the start handicap level `handicap` leaves (0: the even start), as a
// record of a handicapped game is played from.
Taikyoku handicap_kyoku(int handicap);

// A game at position `p` against the computer at `level`, with the sides of a SENTE game
// (the person plays the lower pieces and moved first); the turn's
// first and second moves, when it is in progress, ended on the squares given.
Taikyoku sente_taikyoku(const Kyokumen& p, int level, int ichite_x = 0, int ichite_y = 0,
                        int nite_x = 0, int nite_y = 0);

// The computer's whole turn on a game without a window (mirado-cli think, match, the
// benchmarks, tests): com_ban for procedures 1, 2 and 3 in order, or only the one named,
// stopping once the game is over.
struct ComTurn {
  ComTe te[4];                  // [1..3] by procedure; te[i].te.ari when a move was made
  ComKessaku kessaku[4] = {};   // what each came to
  bool ran[4] = {};             // the procedure ran (the game was not over at its start)
  KouhoKiroku* kiroku[4] = {};  // optional trial lists by procedure
  // LEVEL4: the moves its look-ahead chose, by procedure; the others search as the
  // design's computer does.
  Sashite keikaku[4] = {};

  void run(Taikyoku& t, int only = 0);
};

// LEVEL4's plan: the look-ahead reads the rest of the upper side's turn in `p` from
// procedure `kara` (the earlier moves of the turn ended on the `s` squares), and its moves
// go to `keikaku` by procedure (the procedure `only` alone, when not 0). Returns what the
// look-ahead found. The window runs it beside itself, on a copy of the position.
YomiKekka com_keikaku(Yomi& yomi, const Kyokumen& p, const YomiSettei& settei, int kara,
                      const Santeme& s, Sashite keikaku[4], int only = 0);

// LEVEL4's whole turn on a game without a window: its plan from the procedure `only` (or
// the first) on, then the procedures play it as any computer turn. Returns what the
// look-ahead found.
YomiKekka com_turn_yomi(ComTurn& turn, Taikyoku& t, Yomi& yomi, const YomiSettei& settei, int only = 0);

}  // namespace mirado
