// The computer's turn on the game object: icons, label, clock, record, blink, sounds, messages, hand-over.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <thread>

#include "engine/tansaku.h"
#include "engine/yomi.h"
#include "fakes.h"
#include "rules/sfen.h"
#include "game_shiken.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

using test::FakeCanvas;
using test::FakeSound;
using test::FakeUi;
using test::Painted;

// The even start with the upper pieces to move.
constexpr const char* SHOKI_UE = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";

// A SENTE game against the computer at `level` (the person plays the lower pieces and
// moved first), the computer to move from the even start.
Taikyoku::Haichi com_haichi(int level) {
  Taikyoku::Haichi h;
  h.sfen = SHOKI_UE;
  h.shu = TaikyokuShu::com;
  h.level = level;
  return h;
}

// A clock that moves on a little at every reading, so that thinking takes time; waits
// move it on by the time waited.
class StepClock : public JunjiClock {
 public:
  double t = 36000;
  double step = 0.25;
  int readings = 0;
  double now() override {
    ++readings;
    t += step;
    return t;
  }
  void susumu(double s) override { t += s; }
};

struct ComHarness {
  FakeCanvas canvas;
  FakeUi ui;
  StepClock clock;
  FakeSound sound;
  Game game{Ports{&canvas, &ui, &clock, &sound, &sound}};

  // A SENTE game against the computer, the computer (upper pieces) to move.
  explicit ComHarness(int level = 3) {
    settei = com_haichi(level);
    haichi();
    game.kirikae().set_checked(Menu::KEIKA, true);
    game.kirikae().set_checked(Menu::AICON, true);
  }
  // The window on the game `settei` describes.
  void haichi() { game.haichi(mirado::haichi(settei)); }
  // The game at position `p` at move `d` of the computer's turn (in the second move the
  // person's pieces are moved), the rest as set up.
  void position(const Kyokumen& p, Dankai d = Dankai::ichi) {
    settei.sfen = to_sfen(p, d == Dankai::ni, 1);
    settei.dankai = d;
    haichi();
  }
  Taikyoku::Haichi settei;
  int sounds(const std::string& s) const {
    return static_cast<int>(std::count(sound.log.begin(), sound.log.end(), s));
  }
  bool text_at(const std::string& s, double c, double r, int colour, int size) const {
    for (const Painted& op : canvas.ops)
      if (op.kind == Painted::kText && op.text == s && op.x == cell_x(c) && op.y == cell_y(r) &&
          op.id_or_colour == colour && op.size == size)
        return true;
    return false;
  }
};

Kyokumen board(std::initializer_list<std::array<int, 3>> pieces) {
  Kyokumen p;
  p.kara_ni();
  for (const auto& x : pieces) p.ban[x[0]][x[1]] = x[2];
  return p;
}

TEST(ComBan, AWholeTurnFromTheStartingPosition) {
  ComHarness h;
  Game& g = h.game;
  Kyokumen start;
  start.shoki_haichi();
  Taikyoku alone = sente_taikyoku(start, 3);
  ComTurn expect;
  expect.run(alone);
  const Kyokumen& expect_pos = alone.pos();

  g.com_teban().com_turn();

  // Three moves, the same as the search alone finds, recorded and applied.
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 3);
  EXPECT_EQ(g.taikyoku().tesuu(), 3);
  for (int i = 1; i <= 3; ++i) {
    const KifuEntry& e = g.taikyoku().kifu().at(i);
    EXPECT_EQ(e.te.fc, expect.te[i].te.te.fc);
    EXPECT_EQ(e.te.fr, expect.te[i].te.te.fr);
    EXPECT_EQ(e.te.tc, expect.te[i].te.te.tc);
    EXPECT_EQ(e.te.tr, expect.te[i].te.te.tr);
    EXPECT_EQ(e.moto_koma, expect.te[i].te.moto_koma);
    EXPECT_EQ(e.te.koma, expect.te[i].te.te.koma);
  }
  EXPECT_EQ(std::memcmp(g.taikyoku().pos().ban, expect_pos.ban, sizeof g.taikyoku().pos().ban), 0);
  EXPECT_EQ(g.taikyoku().ichite_x(), expect.te[1].te.te.tc);
  EXPECT_EQ(g.taikyoku().ichite_y(), expect.te[1].te.te.tr);
  EXPECT_EQ(g.taikyoku().nite_x(), expect.te[2].te.te.tc);
  EXPECT_EQ(g.taikyoku().nite_y(), expect.te[2].te.te.tr);
  // Hand-over to the person.
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
  EXPECT_TRUE(h.ui.visible[Control::AICON_MAN1]);
  EXPECT_FALSE(h.ui.visible[Control::AICON_COM]);
  EXPECT_TRUE(h.ui.timer);  // KEIKA is checked
  // One move sound per move; no message box in a quiet turn.
  EXPECT_EQ(h.sounds("play snd_koma"), 3);
  EXPECT_TRUE(h.ui.boxes.empty());
  // The shadowed label, only once (com_ban1).
  EXPECT_TRUE(h.text_at("思考中", -1.5, 8.5, IRO_KURO, 12));
  EXPECT_TRUE(h.text_at("思考中", -1.6, 8.4, IRO_SHIRO, 12));
  const std::vector<std::string> texts = h.canvas.texts();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "思考中"), 2);
}

TEST(ComBan, TheClockChargesThinkingTimeButNotTheBlinkAndPause) {
  ComHarness h;
  Game& g = h.game;
  h.settei.jikan_sita = 100;
  h.settei.jikan_ue = 50;
  h.haichi();
  const double t0 = h.clock.t;
  g.com_teban().com_ban(Dankai::ichi);
  const double elapsed = h.clock.t - t0;
  const KifuEntry& e = g.taikyoku().kifu().at(1);
  EXPECT_EQ(e.sita_mae, 100);
  EXPECT_EQ(e.sita_ato, 100);
  EXPECT_EQ(e.ue_mae, 50);
  // The entry carries the time up to the entry, and the normal ending adds that same
  // value: the 2 x 0.4 s blink and the 0.5 s pause after the entry are not counted.
  const double thought = e.ue_ato - e.ue_mae;
  EXPECT_GT(thought, 0);
  EXPECT_GE(elapsed - thought, 1.3 - 1e-9);
  EXPECT_DOUBLE_EQ(g.taikyoku().jikan_ue(), e.ue_ato);
  EXPECT_DOUBLE_EQ(g.taikyoku().jikan_ima(), thought);
  EXPECT_EQ(g.taikyoku().jikan_sita(), 100);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
}

TEST(ComBan, TheMovingPieceBlinksTwiceWhereItStands) {
  ComHarness h;
  Game& g = h.game;
  g.com_teban().com_ban(Dankai::ichi);
  const KifuEntry& e = g.taikyoku().kifu().at(1);
  // Empty square, piece, empty, piece at the source cell, then the move paints it away.
  std::vector<int> at_source;
  for (const Painted& op : h.canvas.ops)
    if (op.kind == Painted::kPicture && op.x == cell_x(e.te.fc) &&
        op.y == cell_y(moto_gyou(e.te.fc, e.te.fr)))
      at_source.push_back(op.id_or_colour);
  ASSERT_GE(at_source.size(), 5u);
  EXPECT_EQ(std::vector<int>(at_source.end() - 5, at_source.end()),
            (std::vector<int>{kara, e.moto_koma, kara, e.moto_koma, kara}));
}

TEST(ComBan, MateByADropEndsTheGameAndRecordsTheHandCell) {
  ComHarness h;
  Game& g = h.game;
  Kyokumen p = board({{9, 1, OU}, {1, 9, -OU}, {2, 8, -GIN}, {2, 9, -KEI}, {2, 7, KIN}});
  p.mochigoma_ue[5] = 1;
  h.position(p);
  g.com_teban().com_turn();
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "よし！!　コンピュータの勝ちです");
  EXPECT_EQ(h.ui.boxes[0].title, "詰め!");
  EXPECT_EQ(h.ui.boxes[0].buttons, Buttons::ok);
  EXPECT_EQ(g.taikyoku().shousha(), g.taikyoku().ue_gawa());
  EXPECT_EQ(h.canvas.picture_at(11.2, 0), PIC_ZUVANSHOGI2);
  // com_ban2 and com_ban3 returned at once.
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 1);
  const KifuEntry& e = g.taikyoku().kifu().at(1);
  EXPECT_EQ(e.te.fc, TE_UE);
  EXPECT_EQ(e.te.fr, 5);  // the gold's hand slot
  EXPECT_EQ(e.te.koma, KIN);
  EXPECT_EQ(g.taikyoku().pos().ban[1][8], KIN);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_ue[5], 0);
}

TEST(ComBan, CapturingTheLowerKingWins) {
  ComHarness h;
  Game& g = h.game;
  h.position(board({{5, 1, OU}, {5, 5, HISHA}, {5, 8, -OU}}));
  g.com_teban().com_turn();
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "ｺﾝﾋﾟｭｰﾀの勝ちです");
  EXPECT_EQ(h.ui.boxes[0].title, "終了");
  EXPECT_EQ(g.taikyoku().shousha(), g.taikyoku().ue_gawa());
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().pos().ban[5][8], RYUU);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 1);
}

TEST(ComBan, CheckIsAnnounced) {
  ComHarness h;
  Game& g = h.game;
  // The bishop runs down its diagonal to (7, 7), promotes and checks the king on (5, 9).
  h.position(board({{1, 1, OU}, {2, 2, KAKU}, {5, 9, -OU}, {4, 9, -KIN}, {6, 9, -KIN}, {4, 8, -GIN}}));
  g.com_teban().com_ban(Dankai::ichi);
  ASSERT_EQ(g.taikyoku().kifu().kifu_ichi, 1);
  ASSERT_GT(g.taikyoku().kiki().kiki_ue[g.taikyoku().pos().ou_sita_x][g.taikyoku().pos().ou_sita_y],
            0);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "   ** 王手 **");
  EXPECT_EQ(h.ui.boxes[0].title, "");
  EXPECT_EQ(g.taikyoku().shousha(), Gawa::nashi);
}

TEST(ComBan, Com2CapturingTheUpperKingLetsThePersonWin) {
  ComHarness h;
  Game& g = h.game;
  // The upper king is in check from the gold; every trial that leaves it attacked scores
  // -9998, and the first of them in loop order is the gold taking it (defended by the
  // lance, so the stale king square is attacked: -9998).
  Kyokumen p = board({{1, 1, OU}, {1, 2, -KIN}, {1, 5, -KYOU}, {9, 9, -OU}});
  p.mochigoma_ue[1] = 1;  // the mate test then answers no: with no king on the board a
                          // drop could always interpose
  h.position(p, Dankai::ni);
  g.com_teban().com_ban(Dankai::ni);
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "あなたの勝ちです");
  EXPECT_EQ(h.ui.boxes[0].title, "終了");
  EXPECT_EQ(g.taikyoku().shousha(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
  EXPECT_EQ(h.canvas.picture_at(11.2, 0), PIC_ZUVANSHOGI2);
  g.com_teban().com_ban(Dankai::san);  // the game is over: nothing more
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 1);
}

TEST(ComBan, Com2MatingTheComputersKingOnlySaysSo) {
  ComHarness h;
  Game& g = h.game;
  h.position(board({{1, 1, OU}, {2, 1, KEI}, {2, 2, KYOU}, {1, 3, -KIN}, {1, 5, -KYOU}, {9, 9, -OU}}));
  g.com_teban().com_ban(Dankai::ni);
  ASSERT_EQ(g.taikyoku().kifu().kifu_ichi, 1);
  EXPECT_EQ(g.taikyoku().kifu().at(1).te.tc, 1);
  EXPECT_EQ(g.taikyoku().kifu().at(1).te.tr, 2);
  ASSERT_EQ(h.ui.boxes.size(), 1u);  // no check message after it
  EXPECT_EQ(h.ui.boxes[0].text, "よし！!");
  EXPECT_EQ(h.ui.boxes[0].title, "詰め ?");
  EXPECT_EQ(g.taikyoku().shousha(), Gawa::nashi);  // the game goes on
  EXPECT_EQ(g.taikyoku().nite_x(), 1);
  EXPECT_EQ(g.taikyoku().nite_y(), 2);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
}

TEST(ComBan, Com3KeepsItsRestrictionsAndHandsOver) {
  ComHarness h(2);
  Game& g = h.game;
  g.com_teban().com_ban(Dankai::ichi);
  g.com_teban().com_ban(Dankai::ni);
  const int ix = g.taikyoku().ichite_x(), iy = g.taikyoku().ichite_y(), nx = g.taikyoku().nite_x(),
            ny = g.taikyoku().nite_y();
  g.com_teban().com_ban(Dankai::san);
  ASSERT_EQ(g.taikyoku().kifu().kifu_ichi, 3);
  const KifuEntry& e = g.taikyoku().kifu().at(3);
  EXPECT_FALSE(e.te.fc == ix && e.te.fr == iy);
  EXPECT_FALSE(e.te.tc == nx && e.te.tr == ny);
  EXPECT_EQ(g.taikyoku().ichite_x(), ix);  // com_ban3 writes neither
  EXPECT_EQ(g.taikyoku().nite_y(), ny);
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
}

TEST(ComBan, NoCandidateMakesNoMoveAndTheTurnGoesOn) {
  ComHarness h;
  Game& g = h.game;
  h.settei.santeme = {5, 1, 0, 0};  // the king moved first
  h.position(board({{5, 1, OU}, {5, 9, -OU}}), Dankai::san);
  g.com_teban().com_ban(Dankai::san);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.taikyoku().tesuu(), 0);
  EXPECT_EQ(g.taikyoku().pos().ban[5][1], OU);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
  EXPECT_TRUE(h.ui.boxes.empty());
}

TEST(ComBan, EachProcedureReturnsAtOnceWhenTheGameIsOver) {
  ComHarness h;
  Game& g = h.game;
  // The person's gold takes the computer's king.
  h.settei.sfen = "4k4/4G4/9/9/9/9/9/9/4K4 b - 1";
  Taikyoku won = haichi(h.settei);
  ASSERT_EQ(won.sasu({{5, 2, 5, 1, -KIN}}, 0).shousha, won.sita_gawa());
  g.haichi(won);
  h.canvas.ops.clear();
  g.com_teban().com_turn();
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 1);  // the capture only
  EXPECT_TRUE(h.canvas.ops.empty());
  EXPECT_TRUE(h.sound.log.empty());
}

TEST(ComBan, TheSameTurnEveryTime) {
  std::vector<KifuEntry> first;
  for (int round = 0; round < 2; ++round) {
    ComHarness h(3);
    Game& g = h.game;
    g.com_teban().com_turn();
    for (int i = 1; i <= g.taikyoku().kifu().kifu_ichi; ++i) {
      const KifuEntry e = g.taikyoku().kifu().at(i);
      if (round == 0) {
        first.push_back(e);
      } else {
        ASSERT_LT(static_cast<std::size_t>(i - 1), first.size());
        EXPECT_EQ(e.te.fc, first[i - 1].te.fc);
        EXPECT_EQ(e.te.fr, first[i - 1].te.fr);
        EXPECT_EQ(e.te.tc, first[i - 1].te.tc);
        EXPECT_EQ(e.te.tr, first[i - 1].te.tr);
        EXPECT_EQ(e.te.koma, first[i - 1].te.koma);
      }
    }
  }
}

// ---------------------------------------------------------------------------------------
// LEVEL4

TEST(ComLevel4, MenuChecksItAndTheLabelShowsFourOrFive) {
  test::TempCwd cwd;  // the chosen level is saved in the settings file
  ComHarness h;
  Game& g = h.game;
  g.on_menu(Menu::LEVEL4);
  EXPECT_EQ(g.taikyoku().level(), 4);
  EXPECT_TRUE(h.ui.checked[Menu::LEVEL4]);
  for (Menu m : {Menu::LEVEL1, Menu::LEVEL2, Menu::LEVEL3, Menu::LEVEL5}) EXPECT_FALSE(h.ui.checked[m]);
  EXPECT_TRUE(h.text_at("4", 0, 0, IRO_SHIRO, 12));
  g.on_menu(Menu::LEVEL5);
  EXPECT_EQ(g.taikyoku().level(), 5);
  EXPECT_TRUE(h.ui.checked[Menu::LEVEL5]);
  EXPECT_FALSE(h.ui.checked[Menu::LEVEL4]);
  EXPECT_TRUE(h.text_at("5", 0, 0, IRO_SHIRO, 12));
  g.on_menu(Menu::LEVEL2);
  EXPECT_EQ(g.taikyoku().level(), 2);
  EXPECT_FALSE(h.ui.checked[Menu::LEVEL5]);
}

// LEVEL5 plays its own search's turn the same way.
TEST(ComLevel4, PlaysThePlannedTurnAsTheComputerPlaysAnyTurn) {
  for (const int level : {4, 5}) {
  SCOPED_TRACE("level " + std::to_string(level));
  ComHarness h(level);
  Game& g = h.game;
  g.com_teban().yomi().yomi_nodes_settei(3000);
  Kyokumen start;
  start.shoki_haichi();
  Yomi yomi;
  YomiSettei settei;
  settei.nodes = 3000;
  settei.level = level;
  const YomiKekka plan = yomi.sagasu(start, settei);
  ASSERT_EQ(plan.turn.n, 3);

  g.com_teban().com_turn();

  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 3);
  for (int i = 1; i <= 3; ++i) {
    const KifuEntry& e = g.taikyoku().kifu().at(i);
    const Sashite& m = plan.turn.te[i - 1];
    EXPECT_EQ(e.te.fc, m.te.fc);
    EXPECT_EQ(e.te.tc, m.te.tc);
    EXPECT_EQ(e.te.tr, m.te.tr);
    EXPECT_EQ(e.te.koma, m.te.koma);
  }
  EXPECT_EQ(g.taikyoku().ichite_x(), plan.turn.te[0].te.tc);
  EXPECT_EQ(g.taikyoku().nite_x(), plan.turn.te[1].te.tc);
  // Everything around the moves is the design's: label, sounds, hand-over.
  EXPECT_TRUE(h.text_at("思考中", -1.6, 8.4, IRO_SHIRO, 12));
  EXPECT_EQ(h.sounds("play snd_koma"), 3);
  EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().tesuu(), 3);
  }
}

// The window's way: thinking time, the search on a thread of its own. The window may be
// closed while it runs: its answer, when it comes, must change nothing.
class ThreadClock : public StepClock {
 public:
  std::function<void()> meanwhile;  // what the window does while the search runs
  std::thread::id worked_on;
  void betsu_de(std::function<void()> work, std::function<void()> done) override {
    std::thread t([&] {
      worked_on = std::this_thread::get_id();
      work();
    });
    if (meanwhile) meanwhile();
    t.join();
    done();
  }
};

TEST(ComLevel4, ThinksBesideTheWindowAndGivesUpWhenItCloses) {
  for (const bool closing : {false, true}) {
    SCOPED_TRACE(closing ? "closing" : "thinking");
    test::TempCwd cwd;  // the close keeps the game here
    FakeCanvas canvas;
    FakeUi ui;
    ThreadClock clock;
    clock.step = 0;
    FakeSound sound;
    Game g{Ports{&canvas, &ui, &clock, &sound, &sound}};
    if (closing) clock.meanwhile = [&] { g.on_close(); };
    g.haichi(haichi(com_haichi(4)));
    const Kyokumen before = g.taikyoku().pos();
    g.com_teban().com_turn();
    EXPECT_NE(clock.worked_on, std::this_thread::get_id());
    if (closing) {
      // Nothing played: the close found the board as it was, and the answer changed nothing.
      EXPECT_TRUE(ui.quitted);
      EXPECT_TRUE(g.com_teban().chuudan());
      EXPECT_FALSE(g.com_teban().shikouchu());
      EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 0);
      EXPECT_TRUE(test::same_position(g.taikyoku().pos(), before));
    } else {
      EXPECT_FALSE(g.com_teban().chuudan());
      EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 3);
      EXPECT_EQ(g.taikyoku().teban_nushi(), g.taikyoku().sita_gawa());
    }
  }
}

}  // namespace
}  // namespace mirado
