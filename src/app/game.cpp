// The window object (app/game.h): the window's events routed to the procedures they
// start, and quitting; the game's start and control, the mouse, stepping through the
// record, handicap and flip, a record or a kept game taken up, the about box. The rooms
// (app/*.h) keep the rest.
#include "app/game.h"

namespace mirado {

namespace {

// Cell of a press along one axis, rounded toward minus infinity so that presses left
// of or above the grid fall on negative cells. Wide arithmetic: no press overflows.
int masu(int v, int origin, int size) {
  const long long d = static_cast<long long>(v) - origin;
  long long q = d / size;
  if (d % size != 0 && d < 0) --q;
  return static_cast<int>(q);
}

void midashi(const Ports& ports, const BanGamen& gamen, const std::string& text, int x, int y, int iro) {
  if (!text.empty()) ports.canvas->text(x, y, text, iro, 12, gamen.font_bold());
}

}  // namespace

Game::Game(const Ports& ports) : ports_(ports) {
}

void Game::on_load(std::intptr_t window) {
  onkyou_.hiraku(window);

  game().kidou();
  kirikae_.set_checked(Menu::LEVEL3, true);
  // The options come from the settings file, or its defaults where it names none.
  for (int c = 0; c < static_cast<int>(Control::COUNT); ++c)
    kirikae_.set_visible(static_cast<Control>(c), false);

  opushon_.settei_yomi();
  shinki_kyoku();
  nokoshi_.shiraseru();
}

void Game::on_menu(Menu item) {
  gamen_.kotowari_kesu();
  hint_kaiseki_.kaiseki_moji_kesu();
  hint_kaiseki_.hint_kesu();  // a hint lasts until the next click
  switch (item) {
    case Menu::TAIKYOKU: case Menu::STOP: case Menu::OPTION: panel_tojiru(); break;
    case Menu::START: start(); break;
    case Menu::SENTE: sente(); break;
    case Menu::GOTE: gote(); break;
    case Menu::LEVEL1: opushon_.level_menu(1); break;
    case Menu::LEVEL2: opushon_.level_menu(2); break;
    case Menu::LEVEL3: opushon_.level_menu(3); break;
    case Menu::LEVEL4: opushon_.level_menu(4); break;
    case Menu::LEVEL5: opushon_.level_menu(5); break;
    case Menu::OWARI: on_close(); break;
    case Menu::CANCEL: cancel(); break;
    case Menu::REVERSE: reverse(); break;
    case Menu::REPLAY: replay(); break;
    case Menu::AFTER: after(); break;
    case Menu::LBEL_UP: handicap_kaeru(1); break;
    case Menu::LEBEL_DOWN: handicap_kaeru(-1); break;
    case Menu::KIFU_READ: kifu_panel_.kifu_read(); break;
    case Menu::KIFU_WRITE: kifu_panel_.kifu_write(); break;
    case Menu::MIDORI: opushon_.haikei_menu(HAIKEI_MIDORI); break;
    case Menu::UCHU: opushon_.haikei_menu(HAIKEI_UCHU); break;
    case Menu::TATAMI: opushon_.haikei_menu(HAIKEI_TATAMI); break;
    case Menu::TAKE: opushon_.haikei_menu(HAIKEI_TAKE); break;
    case Menu::RENGA: opushon_.haikei_menu(HAIKEI_RENGA); break;
    case Menu::SIDOU: opushon_.sidou_menu(); break;
    case Menu::KEIKA: opushon_.keika_menu(); break;
    case Menu::BGM: opushon_.bgm_menu(); break;
    case Menu::AICON: opushon_.aicon_menu(); break;
    case Menu::CHOKUZEN: case Menu::ICHIRAN: case Menu::KAISEKI_ZU: case Menu::NARI_KAKUNIN:
      opushon_.onoff_menu(item);
      break;
    case Menu::HINT: hint_kaiseki_.hint(); break;
    case Menu::TSUZUKI: tsuzuki(); break;
    case Menu::KAISEKI: hint_kaiseki_.kaiseki_menu(); break;
    case Menu::HYOUJUN: opushon_.com_hyouji_menu(ComHyouji::hyoujun); break;
    case Menu::HAYAI: opushon_.com_hyouji_menu(ComHyouji::hayai); break;
    case Menu::SHOURYAKU: opushon_.com_hyouji_menu(ComHyouji::shouryaku); break;
    case Menu::KOURYO_025: opushon_.kouryo_menu(250); break;
    case Menu::KOURYO_1: opushon_.kouryo_menu(1000); break;
    case Menu::KOURYO_3: opushon_.kouryo_menu(3000); break;
    case Menu::VER: ver(); break;
    default: break;  // submenu parents that do nothing of their own
  }
}

// After every event: the analysis' marks, the turn's marks, the clock and the status line.
void Game::ibento_owari() {
  hint_kaiseki_.kaiseki_awaseru();
  gamen_.shirushi_awaseru();
  hint_kaiseki_.kaiseki_shirushi();
  // The clock of the holder runs whenever its charge does, whatever the move did.
  const bool timer = kirikae_.is_checked(Menu::KEIKA) && gamen_.tokei_hashiru();
  if (timer != kirikae_.timer1()) kirikae_.set_timer(timer);
  gamen_.jikan_awaseru();
  gamen_.joukyou_okuru();
}

// Esc quits, except with the record panel open: then it only closes the panel, so that
// typing a file name never ends the game and closing the panel makes no move.
void Game::on_key(int ch) {
  if (ch != 27) return;
  if (kirikae_.is_visible(Control::PANEL_DIR_LIST)) {
    panel_tojiru();
    return;
  }
  on_close();
}

void Game::on_close() {
  if (quitting_) return;
  // An analysis beside the window stops while the game is kept and the sounds are freed
  // (a player who stays finds it given up).
  hint_kaiseki_.kaiseki_yamesaseru();
  // The computer's turn stops where it stands (its move on show keeps its charge) and is
  // played again when the game is resumed; a hint being read is given up.
  com_teban_.yameru();
  com_teban_.yomi().yameru();
  // A game that cannot be kept is never lost in silence: the player may stay.
  std::string naze;
  if (!nokoshi_.hozon(naze) && !naze.empty() && !nokoshi_.owari_kakunin(naze)) {
    com_teban_.tsuzukeru();
    return;
  }
  quitting_ = true;
  onkyou_.tojiru();
  hint_kaiseki_.kaiseki_owari();
  ports().ui->quit();
}

// ---- starting a game: between two people, or against the computer ----

bool Game::te_tochuu_de_kotowaru(std::string_view title) {
  // Starting a game against the computer in the middle of a turn would let the
  // computer play a whole turn inside the person's.
  if (!taikyoku_.te_tochuu() || taikyoku_.owatta()) return false;
  snd_play(Oto::kinshi);
  gamen_.msg(kotowari_moji(Kotowari::te_tochuu), title);
  return true;
}

void Game::start() {
  if (taikyoku_.owatta()) {
    shinki_kyoku();
    ports().canvas->repaint();
  }
  nokoshi_.kiru_mae_ni_nokosu();
  gamen_.kaishi_egaku();
  gamen_.level_kesu();  // the start commands repaint the level label
  gamen_.waku_kesu();
  const double now = ports().clock->now();
  if (kirikae_.is_checked(Menu::KEIKA)) kirikae_.set_timer(true);
  gamen_.koma_egaku(PIC_ZUVANSHOGI, 11.2, 0);
  ports().canvas->repaint();
  snd_play(Oto::jusei);
  matsu(1.5, [this, now] {
    const Gawa teban_mae = taikyoku_.teban();
    if (game().ningen_kaishi(now)) {
      if (kirikae_.is_checked(Menu::BGM)) onkyou_.snd_loop(Oto::bgm);
      aicon_ichi("下", taikyoku_.sita_gawa());
      gamen_.msg("先手の番です", " ");
    } else if (teban_mae == Gawa::sente) {
      aicon_ichi("下", taikyoku_.sita_gawa());
      gamen_.msg("先手の番です", " ");
    } else if (teban_mae == Gawa::gote) {
      aicon_ichi("上", taikyoku_.sita_gawa());
      gamen_.msg("後手の番です", " ");
    }
  });
}

void Game::com_taikyoku_kaishi(bool timer_first, std::function<void()> tsugi) {
  if (taikyoku_.owatta()) shinki_kyoku();
  gamen_.kaishi_egaku();
  gamen_.level_hyouji(taikyoku_.level());
  gamen_.waku_kesu();
  if (timer_first) kirikae_.set_timer(true);
  nyuuryoku_.hanasu();
  gamen_.koma_egaku(PIC_ZUVANSHOGI, 11.2, 0);
  ports().canvas->repaint();
  snd_play(Oto::jusei);
  matsu(1.5, [this, tsugi = std::move(tsugi)] {
    nokoshi_.kiru_mae_ni_nokosu();
    game().com_kaishi();
    tsugi();
  });
}

void Game::sente() {
  if (te_tochuu_de_kotowaru("対局")) return;
  com_taikyoku_kaishi(false, [this] { sente_kimaru(); });
}

void Game::sente_kimaru() {
  bool shoteme = false;
  const Tsugi tsugi = game().sente_kaishi(ports().clock->now(), shoteme);
  kirikae_.set_timer(true);
  // The person plays first, with the lower pieces; only the box's title tells a fresh
  // game from one that goes on.
  if (tsugi == Tsugi::ningen) {
    if (shoteme && kirikae_.is_checked(Menu::BGM)) onkyou_.snd_loop(Oto::bgm);
    gamen_.msg("MANの番です", shoteme ? " " : "対局");
  } else if (taikyoku_.teban() == taikyoku_.ue_gawa()) {
    com_turn();
  }
}

void Game::gote() {
  if (te_tochuu_de_kotowaru("対局")) return;
  com_taikyoku_kaishi(true, [this] { gote_kimaru(); });
}

void Game::gote_kimaru() {
  bool shoteme = false;
  const Tsugi tsugi = game().gote_kaishi(shoteme);
  if (shoteme) {
    if (kirikae_.is_checked(Menu::BGM)) onkyou_.snd_loop(Oto::bgm);
    com_turn();
  } else if (tsugi == Tsugi::ningen) {
    gamen_.msg("MANの番です", "対局");
    game().saikai(ports().clock->now());  // the person's clock starts now, not from a stale start
  } else if (taikyoku_.teban() == taikyoku_.ue_gawa()) {
    com_turn();
  }
}

void Game::aicon_ichi(std::string_view position, Gawa side) {
  if (!kirikae_.is_checked(Menu::AICON)) return;
  const int top = position == "上" ? 300 : 6000;
  for (Control c : {Control::AICON_MAN1, Control::AICON_MAN2, Control::AICON_COM})
    ports().ui->move_control(c, 3600, top);
  const bool com = taikyoku_.com_taikyoku();
  if (side == taikyoku_.ue_gawa()) {
    kirikae_.set_visible(Control::AICON_COM, com);
    kirikae_.set_visible(Control::AICON_MAN1, !com && taikyoku_.teban_nushi() == Gawa::sente);
    kirikae_.set_visible(Control::AICON_MAN2, !com && taikyoku_.teban_nushi() == Gawa::gote);
  } else if (side == taikyoku_.sita_gawa()) {
    if (com) {
      kirikae_.set_visible(Control::AICON_MAN1, true);
    } else {
      kirikae_.set_visible(Control::AICON_MAN1, taikyoku_.teban_nushi() == Gawa::sente);
      kirikae_.set_visible(Control::AICON_MAN2, taikyoku_.teban_nushi() == Gawa::gote);
    }
    kirikae_.set_visible(Control::AICON_COM, false);
  }
}

void Game::matsu(double seconds, std::function<void()> tsugi) {
  ++matsu_chu_;
  kirikae_.set_menus_enabled(false);
  ports().clock->ato_de(seconds, [this, tsugi = std::move(tsugi)] {
    --matsu_chu_;
    if (quitting_) return;
    tsugi();
    if (!machichu()) kirikae_.set_menus_enabled(true);
  });
}

// ---- the mouse ----
// Presses on the window: refused when no game can take a move, resume play after a record
// was stepped through, else go to the procedure of the turn's phase.

bool Game::saikai_suru() {
  nokoshi_.kiru_mae_ni_nokosu();
  game().saikai(ports().clock->now());
  if (kirikae_.is_checked(Menu::KEIKA)) kirikae_.set_timer(true);
  if (taikyoku_.taikyoku_shu() == TaikyokuShu::com) {
    if (taikyoku_.teban_nushi() == taikyoku_.ue_gawa()) {
      com_turn();
      return false;
    }
    if (taikyoku_.teban_nushi() == taikyoku_.sita_gawa()) gamen_.msg("あなたの番です", "対局");
    return true;
  }
  gamen_.msg(taikyoku_.teban_nushi() == Gawa::sente ? "先手の番です" : "後手の番です", "対局");
  return true;
}

void Game::on_mouse_down(int button, int /*shift*/, int x, int y) {
  gamen_.kotowari_kesu();
  hint_kaiseki_.kaiseki_moji_kesu();
  hint_kaiseki_.hint_kesu();  // a hint lasts until the next click
  panel_tojiru();
  if (taikyoku_.saisei_chu()) {
    gamen_.kotowaru("棋譜を進めている途中です");
    if (gamen_.msg("棋譜を '進 'で進めて下さい", "棋譜", Buttons::yesno) == Answer::no) {
      snd_play(Oto::kinshi);
      shinki_kyoku();
    }
    return;
  }
  if (taikyoku_.owatta()) {
    gamen_.kotowaru("対局は終わっています");
    gamen_.msg("新規に対局してください", "終局");
    return;
  }
  if (!taikyoku_.hajimatta()) {
    gamen_.kotowaru("対局が始まっていません");
    snd_play(Oto::kinshi);
    gamen_.msg("「対局」で始めて下さい", "開始");
    return;
  }
  const int col = masu(x, BAN_LEFT, MASU_W);
  const int row = masu(y, BAN_TOP, MASU_H);
  if (taikyoku_.saikai_machi() && !saikai_suru()) return;
  // koma_sentaku1, 2 or 3 by the phase of the turn.
  const Dankai d = taikyoku_.dankai();
  if (d == Dankai::ichi || d == Dankai::ni || d == Dankai::san)
    nyuuryoku_.koma_sentaku(d, button, col, row);
}

// ---- a new game, a game set up ----

void Game::shinki_kyoku() {
  onkyou_.snd_stop(Oto::bgm);
  game().shinki();  // the record's length stays, so CANCEL can replay it later
  gamen_.shirushi_nashi();
  kirikae_.set_timer(false);
  com_teban_.tokei(false, 0);
  nyuuryoku_.hanasu();
  kirikae_.set_visible(Control::AICON_MAN1, false);
  kirikae_.set_visible(Control::AICON_MAN2, false);
  kirikae_.set_visible(Control::AICON_COM, false);
  gamen_.zenbu_egaku();
}

void Game::haichi(const Taikyoku& t) {
  taikyoku_ = t;
  gamen_.shirushi_nashi();
  nyuuryoku_.hanasu();
  gamen_.zenbu_egaku();
}

// ---- stepping through the record ----
// One record entry forward or back on the board, hands and clocks; the commands that step
// a whole turn (進, 戻) or return to the start (最初); the move list's and the graph's
// clicks, which step to a turn.

bool Game::ippo_susumu() {
  if (taikyoku_.kifu().kifu_ichi >= taikyoku_.kifu().kifu_nagasa)
    return false;  // never past the end of the record
  const KifuEntry e = taikyoku_.kifu().at(taikyoku_.kifu().kifu_ichi + 1);
  if (const std::string naze = game().kifu_susumu(); !naze.empty()) {
    snd_play(Oto::kinshi);
    gamen_.msg(naze, "進む");
    return false;
  }
  nyuuryoku_.hanasu();
  kirikae_.set_timer(false);
  gamen_.waku_kesu();
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  if (on_ban(e.te.fc, e.te.fr)) {
    gamen_.masu_egaku(kara, e.te.fc, e.te.fr);
  }
  gamen_.jikan_awaseru();
  gamen_.masu_egaku(kara, e.te.fc, moto_gyou(e.te.fc, e.te.fr));  // a drop's hand cell, drawn over below
  gamen_.masu_egaku(e.te.koma, e.te.tc, e.te.tr);
  gamen_.mochigoma_sita_egaku();
  gamen_.mochigoma_ue_egaku();
  snd_play(Oto::koma);
  gamen_.te_hyouji(e.te.koma > 0 ? taikyoku_.ue_gawa() : taikyoku_.sita_gawa(), e.te.tc, e.te.tr,
                   e.te.koma, IRO_SHIRO);
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  return true;
}

bool Game::modoseru() {
  panel_tojiru();
  game().modoshi_hajime();
  if (taikyoku_.kifu().kifu_ichi >= 1) return true;
  snd_play(Oto::kinshi);
  gamen_.msg("できません", "戻る");
  return false;
}

void Game::ippo_modosu() {
  if (!modoseru()) return;
  const KifuEntry e = taikyoku_.kifu().at(taikyoku_.kifu().kifu_ichi);
  game().kifu_modosu();
  modoshi_egaku(e);
}

void Game::modoshi_egaku(const KifuEntry& e) {
  nyuuryoku_.hanasu();
  kirikae_.set_timer(false);
  gamen_.waku_kesu();
  if (on_ban(e.te.fc, e.te.fr)) {
    gamen_.masu_egaku(e.moto_koma, e.te.fc, e.te.fr);
  }
  gamen_.jikan_awaseru();
  gamen_.mochigoma_sita_egaku();
  gamen_.mochigoma_ue_egaku();
  gamen_.masu_egaku(kara, e.te.tc, e.te.tr);
  if (e.tori_koma != kara) {
    gamen_.masu_egaku(e.tori_koma, e.te.tc, e.te.tr);
  }
  snd_play(Oto::koma);
  gamen_.te_kesu(e.moto_koma > 0 ? taikyoku_.ue_gawa() : taikyoku_.sita_gawa());
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
}

void Game::after() {
  panel_tojiru();
  if (!taikyoku_.hajimatta()) {
    snd_play(Oto::kinshi);
    gamen_.msg("「対局」で始めて下さい", "開始");
    return;
  }
  // A finished game stays finished until a step back reopens it.
  if (!taikyoku_.owatta()) game().susumi_hajime();
  if (taikyoku_.kifu().kifu_ichi >= taikyoku_.kifu().kifu_nagasa) {
    if (taikyoku_.saisei_chu()) {
      gamen_.msg("終わり", "進む");
    } else {
      snd_play(Oto::kinshi);
      gamen_.msg("できません", "進む");
    }
    return;
  }
  gamen_.shirushi_tsukeru();  // the marks show the turn that led to the position stepped to
  // An entry that cannot be played ends the turn's steps at the last good position.
  for (int i = 0; i < 3 && taikyoku_.kifu().kifu_ichi < taikyoku_.kifu().kifu_nagasa; ++i)
    if (!ippo_susumu()) break;
  game().idou_owari();
  if (taikyoku_.teban() == taikyoku_.ue_gawa())
    aicon_ichi("上", taikyoku_.teban());
  else if (taikyoku_.teban() == taikyoku_.sita_gawa())
    aicon_ichi("下", taikyoku_.teban());
}

void Game::replay() {
  // A finished game is looked back at at once: its last turn, finished or not, is taken
  // back whole and the end is cleared, as any step back clears a king's capture.
  const int ippo = game().modosu_su();
  if (taikyoku_.te_tochuu() && !taikyoku_.owatta()) {
    snd_play(Oto::kinshi);
    gamen_.msg("３手目がまだ打ち終わっていせん", "戻る");
    return;
  }
  if (!modoseru()) return;
  gamen_.shirushi_tsukeru();
  for (int i = 0; i < ippo; ++i) ippo_modosu();  // each refuses by itself at the start
  game().idou_owari();
  if (taikyoku_.teban() == taikyoku_.ue_gawa())
    aicon_ichi("上", taikyoku_.teban());
  else if (taikyoku_.teban() == taikyoku_.sita_gawa())
    aicon_ichi("下", taikyoku_.teban());
}

void Game::cancel() {
  nokoshi_.nokosu();
  shinki_kyoku();
  snd_play(Oto::koma);
}

void Game::ichiran_click(int row) {
  if (row < 0 || row >= static_cast<int>(gamen_.ichiran().size())) return;
  const int goal = gamen_.ichiran_owari(row);
  // Each step is a 戻 or 進 of its own: it stops where they would be refused.
  while (taikyoku_.kifu().kifu_ichi != goal) {
    const int before = taikyoku_.kifu().kifu_ichi;
    const bool back = goal < before;
    if (back) replay();
    else after();
    if (taikyoku_.kifu().kifu_ichi == before ||
        (back ? taikyoku_.kifu().kifu_ichi < goal : taikyoku_.kifu().kifu_ichi > goal))
      break;
  }
}

void Game::kaiseki_zu_click(int turn) {
  if (turn >= 1) ichiran_click(turn - 1);
}

// ---- handicap and flip ----
// Handicap levels (△ and ▽): each level between -10 and 10 takes one more piece of one
// side off the starting position; the game decides which, here it is shown. Turning the
// board (反転): the position is rotated by 180 degrees and every piece changes side, so
// the pieces at the bottom are always the lower ones.

void Game::handicap_kaeru(int step) {
  panel_tojiru();
  // A game stepped back to its start would lose its record to the new position.
  if (taikyoku_.kifu().kifu_ichi == 0) nokoshi_.kiru_mae_ni_nokosu();
  const Taikyoku::HandicapKekka k = game().handicap_kaeru(step);
  if (k.kotowari != Kotowari::nashi) {
    snd_play(Oto::kinshi);
    handicap_keikoku(k.kotowari);
    return;
  }
  // A selected piece could be the one taken off the board.
  nyuuryoku_.hanasu();
  gamen_.waku_kesu();
  if (!k.kaeta) return;
  gamen_.handicap_hyouji(taikyoku_.handicap());
  gamen_.masu_egaku(taikyoku_.pos().ban[k.c][k.r], k.c, k.r);
  snd_play(Oto::koma);
}

void Game::handicap_keikoku(Kotowari reason) {
  gamen_.msg(std::string(kotowari_moji(reason)) + "\r\r" + "局面→最初にして下さい", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定");
}


void Game::reverse() {
  if (const Kotowari why = game().hanten(); why != Kotowari::nashi) {
    snd_play(Oto::kinshi);
    gamen_.msg(kotowari_moji(why), "反転");
    return;
  }
  nyuuryoku_.hanasu();
  gamen_.zenbu_egaku();
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  if (taikyoku_.handicap_zumi()) gamen_.handicap_hyouji(taikyoku_.handicap());
  snd_play(Oto::koma);
}

// ---- a record or a kept game taken up ----
// The record panel (app/kifu_panel.h) reads and checks a file, the kept game's room
// (app/nokoshi.h) reads the kept one; here either becomes the game on the board.

void Game::kifu_settei(const KifuFile& f) {
  nokoshi_.nokosu();
  shinki_kyoku();
  midashi(ports_, gamen_, f.title, chuuou_x(f.title) - 3000, 6350, IRO_AKA);
  midashi(ports_, gamen_, f.line2, chuuou_x(f.line2), 100, IRO_SHIRO);
  midashi(ports_, gamen_, f.line3, chuuou_x(f.line3), 6350, IRO_SHIRO);
  // A kept game's record starts from the position its handicap left.
  game().kifu_yomikomi(f.entries, kifu_handicap(f));
  if (taikyoku_.handicap_zumi()) gamen_.zenbu_egaku();
  gamen_.msg(" 読み込みました", "棋譜");
  gamen_.msg("棋譜を '進 'で進めて下さい", "棋譜");
}

void Game::tsuzuki() {
  panel_tojiru();
  if (te_tochuu_de_kotowaru("続きから")) return;
  // Tried on a copy first: a kept game that cannot be played on leaves this one as it is.
  Taikyoku shiken;
  Tsuzuki z;
  if (!nokoshi_.yomu(shiken, z)) return;
  // The game on the board, if one is in progress, takes the kept one's place.
  const bool irekae = nokoshi_.dekiru();
  if (irekae) nokoshi_.nokosu();
  shinki_kyoku();
  game() = shiken;
  opushon_.level_settei(z.level);
  gamen_.zenbu_egaku();  // the clocks with it, as the kept game left them
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  if (!irekae) nokoshi_.kesu();
  if (kirikae_.is_checked(Menu::BGM)) onkyou_.snd_loop(Oto::bgm);
  aicon_ichi(taikyoku_.teban() == taikyoku_.ue_gawa() ? "上" : "下", taikyoku_.teban());
  saikai_suru();
}

// ---- the about box (menu "その他") ----

void Game::ver() {
  panel_tojiru();
  snd_play(Oto::sonota);
  gamen_.msg("ミラド 将棋\n"
      "Version 1.0.0\n"
      "Home page: https://mirado-shogi.example.org/\n"
      "e-mail: support@mirado-shogi.example.org",
      "その他", Buttons::ok);
}

}  // namespace mirado
