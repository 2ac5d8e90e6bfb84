// The random player of the soak test: mouse presses on random cells and hands with both
// buttons, menu commands in random order, saving and loading records, options, and
// message boxes answered at random, over games between two people and against the
// computer at every level, with the soundness checks after every event.
//
// With a script attached it also writes each event as a line of the event runner's
// language (mirado-cli play), and then answers Yes/No boxes and ticks the timer the way
// the runner does, so that the script replays the same game.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/names.h"
#include "kifu/file_io.h"
#include "fakes.h"
#include "game_kensa.h"
#include "taikyoku_shiken.h"

namespace mirado::test {

// Drawing is not looked at here; only counted, so that memory stays flat.
class KazuCanvas : public Canvas {
 public:
  long ops = 0;
  void picture(int, int, int) override { ++ops; }
  void rect(int, int, int, int, int) override { ++ops; }
  void text(int, int, std::string_view, int, int, bool) override { ++ops; }
  void repaint() override {}
  void refresh() override {}
};

// Yes/No boxes are answered at random; the texts of the last event are kept. A scripted
// run answers from the queued answers instead, yes when none is left, as the runner does.
class RandomUi : public FakeUi {
 public:
  explicit RandomUi(std::mt19937_64& rng) : rng_(rng) {}
  std::vector<std::string> kotoba;
  bool queued = false;
  Answer message_box(std::string_view text, std::string_view title, Buttons b, Icon icon) override {
    kotoba.emplace_back(text);
    if (queued) return FakeUi::message_box(text, title, b, icon);
    if (b == Buttons::ok) return Answer::ok;
    return rng_() % 2 ? Answer::yes : Answer::no;
  }

 private:
  std::mt19937_64& rng_;
};

// Seconds since midnight that wrap at midnight, as the real clock does.
class WrapClock : public JunjiClock {
 public:
  double t = 86400 - 600;
  double now() override { return t; }
  void susumu(double s) override {
    t += s;
    while (t >= 86400) t -= 86400;
  }
};

struct Session {
  // LEVEL4 and the hint think to a small fixed budget: the same game every time, quickly.
  explicit Session(std::mt19937_64& rng) : ui(rng) { game.com_teban().yomi().yomi_nodes_settei(300); }
  KazuCanvas canvas;
  RandomUi ui;
  WrapClock clock;
  FakeSound sound;
  Game game{Ports{&canvas, &ui, &clock, &sound, nullptr}};
};

enum class Profile { ningen, com, mixed };

struct Tokei {  // what the run went through
  long events = 0, te = 0, com_ban[5] = {}, shouri = 0, hozon = 0, yomikomi = 0, hanten = 0,
       handicap = 0, shuuryou = 0, nokoshita = 0;
};

inline Kyokumen shoki() {
  Kyokumen p;
  p.shoki_haichi();
  return p;
}

struct Masu {
  int c, r;
};

class Soak {
 public:
  Soak(Profile profile, std::uint64_t seed) : profile_(profile), seed_(seed), rng_(seed) { atarashii(); }
  // Writes every event to `script` as a line of the runner's language from here on.
  Soak(Profile profile, std::uint64_t seed, std::string& script) : Soak(profile, seed) {
    script_ = &script;
    s_->ui.queued = true;
  }

  // Scripted runs: events until the game is quit, at most `n`.
  void script_made(long n) {
    for (long i = 0; i < n && !g().quitting(); ++i) ippo();
  }

  // Runs `n` events; returns the first fault, or empty.
  std::string hashiru(long n) {
    for (long i = 0; i < n; ++i) {
      std::string fault = ippo();
      ++tokei.events;
      if (!fault.empty()) return houkoku(fault);
    }
    return {};
  }

  Tokei tokei;

 private:
  Game& g() { return s_->game; }
  int ransu(int n) { return static_cast<int>(rng_() % static_cast<std::uint64_t>(n)); }
  bool kakuritsu(int percent) { return ransu(100) < percent; }

  std::string chuudan_;  // the kept game's record as last seen

  void atarashii() {
    s_ = std::make_unique<Session>(rng_);
    g().on_load();
    origin_ = g().taikyoku().pos();
  }

  void kiroku(std::string what) {
    recent_.push_back(std::move(what));
    if (recent_.size() > 40) recent_.pop_front();
  }

  void script(const std::string& line) {
    if (script_) *script_ += line + "\n";
  }

  // The runner sets its clock in whole milliseconds; so does a scripted run.
  void tokei_susumu(double s) {
    if (!script_) return s_->clock.susumu(s);
    s_->clock.susumu(s);
    s_->clock.t = std::round(s_->clock.t * 1000) / 1000;
    if (s_->clock.t >= 86400) s_->clock.t -= 86400;
    char line[40];
    std::snprintf(line, sizeof line, "clock %.3f", s_->clock.t);
    script(line);
  }

  void press(int button, int x, int y) {
    script("press " + std::to_string(button) + " " + std::to_string(x) + " " + std::to_string(y));
    g().on_mouse_down(button, 0, x, y);
  }

  std::string houkoku(const std::string& fault) {
    std::string out = "seed " + std::to_string(seed_) + ", event " + std::to_string(tokei.events) +
                      ": " + fault + "\nlast events:\n";
    for (const std::string& e : recent_) out += "  " + e + "\n";
    return out;
  }

  // ---- events ----

  void osu(int button, int c, int r) {
    kiroku("press " + std::to_string(button) + " at " + std::to_string(c) + "," + std::to_string(r));
    const int x = cell_x(c) + 1 + ransu(MASU_W - 2);
    press(button, x, cell_y(r) + 1 + ransu(MASU_H - 2));
  }

  // A cell the move in progress could use: a piece or hand of the phase, or a square the
  // selected piece can reach.
  std::vector<Masu> nerai() {
    const Game& gm = s_->game;
    const bool nushi_sita = gm.taikyoku().teban_nushi() == gm.taikyoku().sita_gawa();
    const bool ugoki_sita = gm.taikyoku().dankai() == Dankai::ni ? !nushi_sita : nushi_sita;
    std::vector<Masu> out;
    if (gm.nyuuryoku().click_jotai() == 0) {
      for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
          if (ugoki_sita ? is_sita(gm.taikyoku().pos().ban[c][r])
                         : is_ue(gm.taikyoku().pos().ban[c][r]))
            out.push_back({c, r});
      for (int k = 1; k <= 7; ++k) {
        if (ugoki_sita && gm.taikyoku().pos().mochigoma_sita[k] > 0)
          out.push_back({TE_SITA, k + 2});
        if (!ugoki_sita && gm.taikyoku().pos().mochigoma_ue[k] > 0) out.push_back({TE_UE, 8 - k});
      }
      return out;
    }
    const Te& s = gm.nyuuryoku().sentaku(gm.taikyoku().dankai());
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r)
        if (gm.taikyoku().pos().idou_kanou(s.fc, s.fr, c, r, s.koma))
          out.push_back({c, r});
    return out;
  }

  // The destinations of the selected piece that attack the other side's king; between
  // two people random moves would almost never end a game otherwise.
  std::vector<Masu> oute_no_masu(const std::vector<Masu>& m) {
    const Game& gm = s_->game;
    const Te& s = gm.nyuuryoku().sentaku(gm.taikyoku().dankai());
    const int teki_ou = is_sita(s.koma) ? OU : -OU;
    std::vector<Masu> out;
    for (const Masu& x : m) {
      Kyokumen p = gm.taikyoku().pos();
      if (on_ban(s.fc, s.fr)) p.oku(s.fc, s.fr, kara);
      p.oku(x.c, x.r, s.koma);
      const Kiki& k = p.kiki();
      for (int c = 1; c <= 9; ++c)
        for (int r = 1; r <= 9; ++r)
          if (p.ban[c][r] == teki_ou && (teki_ou > 0 ? k.kiki_sita[c][r] : k.kiki_ue[c][r]) > 0) out.push_back(x);
    }
    return out;
  }

  void mouse() {
    const int button = kakuritsu(35) ? 2 : 1;
    if (kakuritsu(80)) {
      const std::vector<Masu> m = nerai();
      if (!m.empty()) {
        // Taking a king ends a game; random play seldom finds it without a nudge.
        for (const Masu& x : m)
          if (on_ban(x.c, x.r) && koma_abs(g().taikyoku().pos().ban[x.c][x.r]) == OU &&
              g().nyuuryoku().click_jotai() == 1 && kakuritsu(70))
            return osu(button, x.c, x.r);
        if (g().nyuuryoku().click_jotai() == 1 && kakuritsu(60))
          if (const auto oute = oute_no_masu(m); !oute.empty()) {
            const Masu& x = oute[ransu(static_cast<int>(oute.size()))];
            return osu(button, x.c, x.r);
          }
        const Masu& x = m[ransu(static_cast<int>(m.size()))];
        return osu(button, x.c, x.r);
      }
    }
    if (kakuritsu(85)) {
      const int cell = ransu(95);
      if (cell < 81) return osu(button, cell % 9 + 1, cell / 9 + 1);
      if (cell < 88) return osu(button, TE_SITA, cell - 81 + 3);
      return osu(button, TE_UE, cell - 88 + 1);
    }
    const int x = ransu(FORM_W + 4000) - 2000, y = ransu(FORM_H + 4000) - 2000;
    kiroku("press " + std::to_string(button) + " at twips " + std::to_string(x) + "," + std::to_string(y));
    press(button, x, y);
  }

  std::vector<Menu> hajime_menu() const {
    switch (profile_) {
      case Profile::ningen: return {Menu::START};
      case Profile::com: return {Menu::SENTE, Menu::GOTE};
      default: return {Menu::START, Menu::SENTE, Menu::GOTE};
    }
  }

  Menu menu_erabu() {
    static const Menu kSousa[] = {Menu::AFTER, Menu::AFTER, Menu::REPLAY, Menu::REPLAY, Menu::AFTER,
                                  Menu::REVERSE, Menu::LBEL_UP, Menu::LEBEL_DOWN, Menu::TAIKYOKU,
                                  Menu::STOP, Menu::OPTION, Menu::LEVEL, Menu::KIFU, Menu::HINT};
    static const Menu kOption[] = {Menu::MIDORI, Menu::UCHU, Menu::TATAMI, Menu::TAKE, Menu::RENGA,
                                   Menu::SIDOU, Menu::KEIKA, Menu::BGM, Menu::AICON, Menu::VER};
    static const Menu kLevel[] = {Menu::LEVEL1, Menu::LEVEL2, Menu::LEVEL3, Menu::LEVEL4};
    const std::vector<Menu> hajime = hajime_menu();
    const bool owatta = !g().taikyoku().hajimatta() || g().taikyoku().owatta();
    const int k = ransu(100);
    if (k < (owatta ? 60 : 12)) return hajime[ransu(static_cast<int>(hajime.size()))];
    if (k < 70) return kSousa[ransu(std::size(kSousa))];
    if (k < 80 && profile_ != Profile::ningen) return kLevel[ransu(std::size(kLevel))];
    if (k < 84) return kOption[ransu(std::size(kOption))];
    if (k < 86) return Menu::CANCEL;
    return kSousa[ransu(std::size(kSousa))];
  }

  void menu(Menu m) {
    susunda_ = m == Menu::AFTER;  // steps through the record, three entries at a time
    kiroku(std::string("menu ") + menu_name(m));
    script(std::string("menu ") + menu_name(m));
    g().on_menu(m);
  }

  void hozon() {
    static const char* kNamae[] = {"a", "b", "c", "対局", "", "..", "x/y"};
    static const char* kMidashi[] = {"", "対局", "名人", "ﾃｽﾄ", "😀", "改\n行"};
    menu(Menu::KIFU_WRITE);
    if (!g().kirikae().is_visible(Control::PANEL_WRITE_BUTTON)) return;
    // A script line cannot hold a line break.
    const int midashi = static_cast<int>(std::size(kMidashi)) - (script_ ? 1 : 0);
    text(1, kNamae[ransu(std::size(kNamae))]);
    for (int i = 2; i <= 4; ++i) text(i, kMidashi[kakuritsu(90) ? 1 : ransu(midashi)]);
    kiroku("save as '" + g().kifu_panel().panel_text(1) + "'");
    script("click Command1");
    g().kifu_panel().panel_write_click();
  }

  void text(int n, const std::string& value) {
    script("text Text" + std::to_string(n) + " " + value);
    g().kifu_panel().text_kaeru(n, value);
  }

  void yomikomi() {
    menu(Menu::KIFU_READ);
    if (!g().kirikae().is_visible(Control::PANEL_FILE_LIST)) return;
    const auto& names = g().kifu_panel().file_names();
    const bool nai = names.empty() || kakuritsu(5);  // now and then a file that is gone
    const std::string name = nai ? "nai.棋譜" : names[ransu(static_cast<int>(names.size()))];
    kiroku("open '" + name + "'");
    script("file " + name);
    g().kifu_panel().panel_file_click(name);
  }

  // ---- one event and its checks ----

  enum class Kind { other, reset, hanten, handicap };

  Kind event() {
    tokei_susumu(ransu(4000) / 1000.0);
    if (script_ && kakuritsu(30)) {
      const bool yes = kakuritsu(50);
      s_->ui.answers.push_back(yes ? Answer::yes : Answer::no);
      script(yes ? "answer yes" : "answer no");
    }
    const int k = ransu(1000);
    if (k < 760) {
      const bool kiroku_mode = g().taikyoku().saisei_chu();
      mouse();
      return kiroku_mode ? Kind::reset : Kind::other;
    }
    if (k < 960) {
      const Menu m = menu_erabu();
      menu(m);
      switch (m) {
        case Menu::REVERSE: return Kind::hanten;
        case Menu::LBEL_UP: case Menu::LEBEL_DOWN: return Kind::handicap;
        case Menu::CANCEL: case Menu::START: case Menu::SENTE: case Menu::GOTE: return Kind::reset;
        default: return Kind::other;
      }
    }
    if (k < 972) return hozon(), Kind::other;
    if (k < 975) return yomikomi(), Kind::reset;
    if (k < 998) {
      kiroku("timer");
      if (!script_) {
        g().ban_gamen().timer_tick();
        return Kind::other;
      }
      // The runner's clock ticks the timer only while it runs.
      script("wait 0.05");
      s_->clock.susumu(0.05);
      if (s_->ui.timer) g().ban_gamen().timer_tick();
      return Kind::other;
    }
    kiroku(k == 998 ? "menu OWARI" : "key ESC");
    script(k == 998 ? "menu OWARI" : "key 27");
    if (k == 998) g().on_menu(Menu::OWARI);
    else g().on_key(27);
    return Kind::reset;
  }

  void kazoeru(bool mae_owatta, int mae_ichi, const std::vector<std::string>& kotoba) {
    const Game& gm = s_->game;
    const int te = gm.taikyoku().kifu().kifu_ichi - mae_ichi;
    if (te > 0) tokei.te += te;
    // A person plays one move per event; three or more at once are the computer's turn.
    if (te >= 3 && gm.taikyoku().taikyoku_shu() == TaikyokuShu::com && !susunda_)
      ++tokei.com_ban[gm.taikyoku().level()];
    if (!mae_owatta && gm.taikyoku().owatta()) ++tokei.shouri;
    for (const std::string& t : kotoba) {
      tokei.hozon += t == "棋譜を書き込みました";
      tokei.yomikomi += t == " 読み込みました";
    }
  }

  std::string ippo() {
    const Kyokumen mae = g().taikyoku().pos();
    const int mae_ichi = g().taikyoku().kifu().kifu_ichi, mae_handicap = g().taikyoku().handicap();
    const bool mae_owatta = g().taikyoku().owatta();
    s_->ui.kotoba.clear();
    susunda_ = false;
    const Kind kind = event();
    // Every record the game writes here loads: a saved one, and a kept game whenever an
    // action keeps one (quitting, or a command that would drop it).
    const bool kaita = std::find(s_->ui.kotoba.begin(), s_->ui.kotoba.end(), "棋譜を書き込みました") != s_->ui.kotoba.end();
    if (kaita || nokoshita())
      if (std::string f = kaita_kifu_fusei("."); !f.empty()) return f;
    if (g().quitting()) {
      atarashii();
      return kensa(Kind::reset, mae, mae_handicap);
    }
    kazoeru(mae_owatta, mae_ichi, s_->ui.kotoba);
    return kensa(kind, mae, mae_handicap);
  }

  // Was a game kept by the last event? (The kept record's bytes changed.)
  bool nokoshita() {
    std::string now;
    int err = 0;
    read_capped("中断.棋譜", KIFU_SAIDAI_BYTE, now, err);
    if (now == chuudan_) return false;
    chuudan_ = std::move(now);
    tokei.nokoshita += !chuudan_.empty();
    return !chuudan_.empty();
  }

  std::string kensa(Kind kind, const Kyokumen& mae, int mae_handicap) {
    const Game& gm = s_->game;
    if (std::string f = kyokumen_fusei(gm.taikyoku().pos()); !f.empty()) return f;
    if (std::string f = koma_kazu_fusei(gm.taikyoku().pos(), gm.taikyoku().handicap()); !f.empty())
      return f;
    if (const int d = static_cast<int>(gm.taikyoku().dankai()); d < 1 || d > 3)
      return "phase " + std::to_string(d);
    if (kind == Kind::hanten) {
      // Every refusal says why in a box; a flip says nothing. (The start position
      // turned is the start position, so the board alone cannot tell.)
      const bool done = s_->ui.kotoba.empty();
      if (!same_position(gm.taikyoku().pos(), done ? kaiten(mae) : mae))
        return done ? "a flip did not turn the board" : "a refused flip changed the board";
      if (done && (gm.taikyoku().kifu().kifu_ichi != 0 || gm.taikyoku().kifu().kifu_nagasa != 0))
        return "a flip kept the record";
      if (done) ++tokei.hanten;
    }
    if (kind == Kind::handicap && gm.taikyoku().handicap() != mae_handicap) ++tokei.handicap;
    std::string fault = kifu_fusei(gm, origin_);
    if (fault.empty()) return {};
    // The record began anew: the start position, a turned board or a handicap position.
    std::vector<Kyokumen> candidates;
    if (kind == Kind::reset) candidates.push_back(shoki());
    // A kept game's record loads from the start its handicap left.
    if (kind == Kind::reset && gm.taikyoku().handicap_zumi())
      candidates.push_back(handicap_kyoku(gm.taikyoku().handicap()).pos());
    if (kind == Kind::hanten) candidates.push_back(kaiten(mae));
    if (kind == Kind::handicap && gm.taikyoku().kifu().kifu_ichi == 0)
      candidates.push_back(gm.taikyoku().pos());
    for (const Kyokumen& c : candidates)
      if (kifu_fusei(gm, c).empty()) {
        origin_ = c;
        return {};
      }
    return fault;
  }

  Profile profile_;
  std::uint64_t seed_;
  std::mt19937_64 rng_;
  std::unique_ptr<Session> s_;
  Kyokumen origin_;
  std::deque<std::string> recent_;
  bool susunda_ = false;
  std::string* script_ = nullptr;
};

}  // namespace mirado::test
