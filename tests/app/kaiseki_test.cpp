// Looking back at a game: the win-chance curve and the classes, a turn that leaves its
// own king to be taken found as the side's worst, the same results with one job or two,
// and the analysis in the window object (refusal, progress, cancel, close, the graph's
// click, the best turn marked while stepping).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

#include "app/kaiseki_sagyou.h"
#include "engine/kaiseki.h"
#include "kifu/kifu_file.h"
#include "fakes.h"
#include "kaiseki_kiroku.h"
#include "rules/sfen.h"
#include "game_shiken.h"
#include "temp_cwd.h"
#include "tsumi_kyokumen.h"

namespace mirado {
namespace {

std::vector<KaisekiKyokumen> turns_of(const std::vector<KifuEntry>& e) {
  std::vector<KaisekiKyokumen> turns;
  EXPECT_EQ(kaiseki_kyokumen(e, turns), "");
  return turns;
}

TEST(KachiRitsu, MonotoneFromNothingToCertainAndEvenAtZero) {
  EXPECT_DOUBLE_EQ(kachi_ritsu(0), 0.5);
  double mae = -1;
  for (int v = -YOMI_KACHI; v <= YOMI_KACHI; v += v < -5000 || v > 5000 ? 999'983 : 7) {
    const double p = kachi_ritsu(v);
    EXPECT_GE(p, mae) << v;
    EXPECT_GE(p, 0);
    EXPECT_LE(p, 1);
    EXPECT_NEAR(p + kachi_ritsu(-v), 1, 1e-12) << v;  // the same for either side
    mae = p;
  }
  EXPECT_EQ(kachi_ritsu(YOMI_KACHI), 1);
  EXPECT_EQ(kachi_ritsu(-YOMI_KACHI), 0);
  EXPECT_GT(kachi_ritsu(100), 0.5);
}

TEST(KachiRitsu, ClassesAtTheirThresholds) {
  EXPECT_EQ(te_rui(0), TeRui::nashi);
  EXPECT_EQ(te_rui(4.99), TeRui::nashi);
  EXPECT_EQ(te_rui(5), TeRui::kanshu);
  EXPECT_EQ(te_rui(9.99), TeRui::kanshu);
  EXPECT_EQ(te_rui(10), TeRui::gimonshu);
  EXPECT_EQ(te_rui(19.99), TeRui::gimonshu);
  EXPECT_EQ(te_rui(20), TeRui::akushu);
  EXPECT_EQ(te_rui(100), TeRui::akushu);
  EXPECT_STREQ(te_rui_mei(TeRui::akushu), "悪手");
}

TEST(Kaiseki, ATurnThatLeavesItsKingToBeTakenIsTheSidesWorstAndABlunder) {
  int blunder = 0;
  const std::vector<KifuEntry> e = kyou_wo_toraseru_kiroku(blunder);
  ASSERT_EQ(e.size(), 10u) << "no such turn found";
  const std::vector<KaisekiKyokumen> turns = turns_of(e);
  ASSERT_EQ(turns.size(), 4u);  // the last turn is the capture alone: it ends the game
  EXPECT_EQ(turns[3].kekka, 1);
  KaisekiSettei s;
  s.nodes = 2000;
  std::vector<KaisekiTe> te;
  ASSERT_TRUE(kaiseki(turns, s, te));
  const KaisekiTe& b = te[static_cast<std::size_t>(blunder)];
  EXPECT_TRUE(b.sita);
  EXPECT_EQ(b.rui, TeRui::akushu);
  EXPECT_EQ(kachi_ritsu(b.ato), 0);  // the king is lost
  EXPECT_GT(b.son, 30);
  for (std::size_t i = 0; i < te.size(); ++i)
    if (te[i].sita && i != static_cast<std::size_t>(blunder)) {
      EXPECT_LT(te[i].son, b.son) << i;
    }
  // The capture that follows loses nothing, and the counts say what happened.
  EXPECT_EQ(te[3].son, 0);
  EXPECT_EQ(kaiseki_matome(te).kazu[0][static_cast<int>(TeRui::akushu)] >= 1, true);
  for (const KaisekiTe& t : te) EXPECT_GE(t.son, 0);
}

// A game the computer won by mating with a whole turn (LEVEL5 against itself): the record
// stops there, and its last turn is the winner's, as the rules judge the position.
TEST(Kaiseki, ARecordThatEndsInMateIsWonByItsLastTurn) {
  KifuFile f;
  std::string error;
  ASSERT_TRUE(read_kifu_file(MIRADO_TESTS_DIR "/app/tsumi_de_owaru.棋譜", f, error)) << error;
  std::vector<KaisekiKyokumen> turns;
  ASSERT_EQ(kaiseki_kyokumen(f.entries, turns), "");
  ASSERT_EQ(turns.size(), 15u);
  for (std::size_t i = 0; i + 1 < turns.size(); ++i) EXPECT_EQ(turns[i].kekka, 0) << i;
  EXPECT_EQ(turns.back().kekka, 1);
  EXPECT_TRUE(turns.back().sita);
}

// The upper side, far ahead on material (two rooks and two bishops in hand), mates with
// its gold dropped on (5, 8), guarded by the silver on (5, 7).
Kyokumen ue_tsumi_ari() {
  Kyokumen p = test::gold_drop_mate();
  p.mochigoma_ue[6] = 2;
  p.mochigoma_ue[7] = 2;
  p.shiage();
  return p;
}

// Letting a forced win go, or walking into a forced loss, is 悪手 even where the win
// chance it loses is small: the side was far ahead anyway, or far behind.
TEST(Kaiseki, AForcedWinLetGoOrAForcedLossWalkedIntoIsABlunderWhateverTheWinChance) {
  for (const int level : {4, 5}) {
    SCOPED_TRACE("level " + std::to_string(level));
    KaisekiSettei s;
    s.level = level;
    s.nodes = level == 5 ? 20000 : 2000;
    Yomi yomi;
    KaisekiKyokumen nogasu;  // the upper side plays its king aside instead of mating
    nogasu.sita = false;
    nogasu.mae = ue_tsumi_ari();
    nogasu.ato = nogasu.mae;
    nogasu.ato.oku(5, 1, kara);
    nogasu.ato.oku(4, 1, OU);
    nogasu.ato.shiage();
    const KaisekiTe a = kaiseki_ichite(yomi, nogasu, s);
    EXPECT_GE(kachi_ritsu(a.mae), 1.0);
    ASSERT_LT(a.son, AKUSHU_SON) << "the material alone would not make it 悪手";
    EXPECT_EQ(a.rui, TeRui::akushu);

    // The lower side, far behind (the upper rook, bishop, golds and silvers stand back
    // home, the gold to drop the only piece in hand), leaves the mate standing. LEVEL4 sees no way out
    // for it before either: only LEVEL5 judges this half.
    if (level == 4) continue;
    KaisekiKyokumen ochiru;
    ochiru.sita = true;
    ochiru.mae = ue_tsumi_ari();
    ochiru.mae.mochigoma_ue[6] = ochiru.mae.mochigoma_ue[7] = 0;
    for (const int c : {9, 8, 7}) ochiru.mae.oku(c, 1, KIN);
    for (const int c : {2, 1}) ochiru.mae.oku(c, 1, GIN);
    ochiru.mae.oku(2, 2, HISHA);
    ochiru.mae.oku(8, 2, KAKU);
    ochiru.mae.shiage();
    ochiru.ato = ochiru.mae;
    const KaisekiTe b = kaiseki_ichite(yomi, ochiru, s);
    EXPECT_GT(kachi_ritsu(b.mae), 0.0) << "it had a way out";
    EXPECT_EQ(kachi_ritsu(b.ato), 0.0);
    ASSERT_LT(b.son, AKUSHU_SON);
    EXPECT_EQ(b.rui, TeRui::akushu);
  }
}

TEST(Kaiseki, OneJobOrTwoGiveTheSameUnderABudgetOfTurns) {
  int blunder = 0;
  std::vector<KifuEntry> e = kyou_wo_toraseru_kiroku(blunder);
  ASSERT_FALSE(e.empty());
  e.pop_back();  // the game goes on: every turn is searched
  const std::vector<KaisekiKyokumen> turns = turns_of(e);
  ASSERT_EQ(turns.size(), 3u);
  KaisekiSettei s;
  s.nodes = 7000;  // enough for rounds of answers
  std::vector<KaisekiTe> one, two;
  s.jobs = 1;
  ASSERT_TRUE(kaiseki(turns, s, one));
  s.jobs = 2;
  ASSERT_TRUE(kaiseki(turns, s, two));
  ASSERT_EQ(one.size(), two.size());
  for (std::size_t i = 0; i < one.size(); ++i) {
    EXPECT_EQ(one[i].mae, two[i].mae);
    EXPECT_EQ(one[i].ato, two[i].ato);
    EXPECT_EQ(one[i].son, two[i].son);
    EXPECT_EQ(one[i].nodes, two[i].nodes);
    ASSERT_EQ(one[i].saizen.n, two[i].saizen.n);
    for (int j = 0; j < one[i].saizen.n; ++j) {
      EXPECT_EQ(one[i].saizen.te[j].te.tc, two[i].saizen.te[j].te.tc);
      EXPECT_EQ(one[i].saizen.te[j].te.tr, two[i].saizen.te[j].te.tr);
    }
  }
  // A turn LEVEL4 plays itself loses nothing: its value is the best turn's.
  Kiroku k;
  KaisekiKyokumen start;
  start.mae = k.p;
  start.sita = true;
  Yomi yomi;
  const KaisekiTe best = kaiseki_ichite(yomi, start, s);
  start.ato = start.mae;
  for (int i = 0; i < best.saizen.n; ++i) sashite_ugokasu(start.ato, best.saizen.te[i]);
  const KaisekiTe again = kaiseki_ichite(yomi, start, s);
  EXPECT_EQ(again.ato, again.saizen_atai);
  EXPECT_EQ(again.son, 0);
}

// ---- in the window object ----

struct KaisekiGame : ::testing::Test {
  test::TempCwd cwd;
  test::Harness h;
  Game& g = h.game;
  std::vector<KifuEntry> e;
  int blunder = 0;
  void SetUp() override {
    g.on_load();
    e = kyou_wo_toraseru_kiroku(blunder);
    ASSERT_FALSE(e.empty());
    Taikyoku t = haichi(Taikyoku::Haichi{});
    t.kifu_yomikomi(e);
    g.haichi(t);
    if (!g.settei().ichiran_on()) g.on_menu(Menu::ICHIRAN);  // the move list shown
    g.ibento_owari();
  }
  void menu(Menu m) {
    g.on_menu(m);
    g.ibento_owari();
  }
  std::string status() const { return h.ui.statuses.empty() ? "" : h.ui.statuses.back(); }
};

TEST_F(KaisekiGame, RefusedWithoutARecord) {
  test::Harness fresh;
  fresh.game.on_load();
  fresh.game.on_menu(Menu::KAISEKI);
  fresh.game.ibento_owari();
  EXPECT_TRUE(fresh.game.hint_kaiseki().kaiseki_kekka().empty());
  EXPECT_FALSE(fresh.game.hint_kaiseki().kaiseki_chu());
  ASSERT_FALSE(fresh.ui.statuses.empty());
  EXPECT_NE(fresh.ui.statuses.back().find("解析する棋譜がありません"), std::string::npos);
  // A handicapped game cannot be replayed from the even position it would be read from.
  Taikyoku t = haichi(Taikyoku::Haichi{});
  ASSERT_TRUE(t.handicap_kaeru(1).kaeta);
  ASSERT_TRUE(t.handicap_kaeru(1).kaeta);
  ASSERT_EQ(t.sasu({{7, 7, 7, 6, -HU}}, 0).kotowari, Kotowari::nashi);  // a turn played on it
  ASSERT_EQ(t.sasu({{3, 3, 3, 4, HU}}, 0).kotowari, Kotowari::nashi);
  ASSERT_EQ(t.sasu({{2, 7, 2, 6, -HU}}, 0).kotowari, Kotowari::nashi);
  g.haichi(t);
  menu(Menu::KAISEKI);
  EXPECT_TRUE(g.hint_kaiseki().kaiseki_kekka().empty());
  EXPECT_FALSE(g.hint_kaiseki().kaiseki_chu());
  EXPECT_NE(status().find("駒落ちの対局は解析できません"), std::string::npos);
}

TEST_F(KaisekiGame, InPlaceClassesTheRowsDrawsTheGraphAndMarksTheBestTurn) {
  g.com_teban().yomi().yomi_nodes_settei(2000);
  menu(Menu::KAISEKI);
  ASSERT_EQ(g.hint_kaiseki().kaiseki_kekka().size(), 4u);
  ASSERT_EQ(h.ui.ichiran_rui.size(), 4u);
  EXPECT_EQ(h.ui.ichiran_rui[static_cast<std::size_t>(blunder)], static_cast<int>(TeRui::akushu));
  ASSERT_EQ(h.ui.zu.kachi.size(), 5u);
  EXPECT_EQ(h.ui.zu.rui[static_cast<std::size_t>(blunder)], static_cast<int>(TeRui::akushu));
  EXPECT_DOUBLE_EQ(h.ui.zu.kachi[static_cast<std::size_t>(blunder) + 1], 0);
  EXPECT_NE(h.ui.zu.matome.find("悪手1"), std::string::npos);
  EXPECT_NE(h.ui.zu.matome.find("平均損失"), std::string::npos);
  // Under each row 先手's win chance after the turn; under the blunder its class and the
  // better turn, three moves in notation; a turn that lost nothing names none.
  ASSERT_EQ(h.ui.ichiran_rows.size(), 4u);
  const std::string& warui = h.ui.ichiran_rows[static_cast<std::size_t>(blunder)];
  EXPECT_NE(warui.find("\n      先手 0%　悪手\n      最善 ▲"), std::string::npos) << warui;
  const std::string saizen = warui.substr(warui.rfind("最善 "));
  EXPECT_EQ(std::count(saizen.begin(), saizen.end(), ' '), 3) << saizen;  // after 最善 and between the moves
  for (std::size_t i = 0; i < 4; ++i) {
    const KaisekiTe& k = g.hint_kaiseki().kaiseki_kekka()[i];
    const std::string& row = h.ui.ichiran_rows[i];
    EXPECT_NE(row.find("先手 " + std::to_string(static_cast<int>(std::lround(k.sita_ato()))) + "%"), std::string::npos)
        << row;
    EXPECT_EQ(row.find("最善") != std::string::npos, k.rui != TeRui::nashi) << row;
  }
  // The board stands at the start: LEVEL4's first turn is marked and named.
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.hint_kaiseki().hint_te().n, g.hint_kaiseki().kaiseki_kekka()[0].saizen.n);
  EXPECT_NE(status().find("最善 "), std::string::npos);
  // A click on the graph's third turn steps to its end, as the third row would.
  const std::size_t from = h.canvas.ops.size();
  g.kaiseki_zu_click(3);
  g.ibento_owari();
  // The better turn is marked by corners, another shape than the played turn's frames,
  // inside them and clear of them: neither hides the other.
  int corners = 0;
  for (std::size_t i = from; i < h.canvas.ops.size(); ++i) {
    const auto& op = h.canvas.ops[i];
    if (op.kind != test::Painted::kRect || op.id_or_colour != IRO_HINT) continue;
    ++corners;
    EXPECT_TRUE(op.x == op.x2 || op.y == op.y2);  // a line, not a frame
    const int cx = BAN_LEFT + (op.x - BAN_LEFT) / MASU_W * MASU_W, cy = BAN_TOP + (op.y - BAN_TOP) / MASU_H * MASU_H;
    EXPECT_GE(std::min({op.x - cx, op.y - cy, cx + MASU_W - op.x2, cy + MASU_H - op.y2}), 5 * 15);
  }
  EXPECT_GE(corners, 16 * (g.hint_kaiseki().kaiseki_kekka()[3].saizen.n));
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 9);
  EXPECT_EQ(h.ui.ichiran_current, 2);
  EXPECT_DOUBLE_EQ(h.ui.zu.ima, 3);
  EXPECT_EQ(g.hint_kaiseki().hint_te().n, g.hint_kaiseki().kaiseki_kekka()[3].saizen.n);
  EXPECT_EQ(g.hint_kaiseki().hint_te().te[0].te.tc, g.hint_kaiseki().kaiseki_kekka()[3].saizen.te[0].te.tc);
  // The graph option hides the panel; the analysis stays.
  menu(Menu::KAISEKI_ZU);
  EXPECT_TRUE(h.ui.zu.kachi.empty());
  menu(Menu::KAISEKI_ZU);
  EXPECT_EQ(h.ui.zu.kachi.size(), 5u);
}

TEST_F(KaisekiGame, AChangedRecordDropsTheAnalysis) {
  g.com_teban().yomi().yomi_nodes_settei(2000);
  menu(Menu::KAISEKI);
  ASSERT_FALSE(g.hint_kaiseki().kaiseki_kekka().empty());
  std::vector<KifuEntry> other = e;
  other.resize(6);
  Taikyoku t = haichi(Taikyoku::Haichi{});
  t.kifu_yomikomi(other);
  g.haichi(t);
  g.ibento_owari();
  EXPECT_TRUE(g.hint_kaiseki().kaiseki_kekka().empty());
  EXPECT_TRUE(h.ui.zu.kachi.empty());
  EXPECT_TRUE(h.ui.ichiran_rui.empty());
}

struct Mae {
  std::string board;
  int ichi, nagasa;
};
Mae mae_of(const Game& g) {
  return {to_sfen(g.taikyoku().pos(), true, 1), g.taikyoku().kifu().kifu_ichi,
          g.taikyoku().kifu().kifu_nagasa};
}

TEST_F(KaisekiGame, BesideTheWindowItReportsProgressAndCanBeGivenUp) {
  g.hint_kaiseki().kaiseki_nodes_settei(2'000'000);  // long enough to be caught running
  const Mae before = mae_of(g);
  menu(Menu::KAISEKI);
  EXPECT_TRUE(g.hint_kaiseki().kaiseki_chu());
  EXPECT_TRUE(h.ui.poll);
  g.hint_kaiseki().on_poll();
  g.ibento_owari();
  EXPECT_NE(status().find("解析中… "), std::string::npos);
  EXPECT_NE(status().find("/4手番"), std::string::npos);
  menu(Menu::KAISEKI);  // chosen again: given up
  EXPECT_FALSE(g.hint_kaiseki().kaiseki_chu());
  EXPECT_FALSE(h.ui.poll);
  EXPECT_TRUE(g.hint_kaiseki().kaiseki_kekka().empty());
  EXPECT_NE(status().find("解析をやめました"), std::string::npos);
  const Mae after = mae_of(g);
  EXPECT_EQ(after.board, before.board);
  EXPECT_EQ(after.ichi, before.ichi);
  EXPECT_EQ(after.nagasa, before.nagasa);
}

TEST_F(KaisekiGame, AClosingWindowEndsItAtOnce) {
  g.hint_kaiseki().kaiseki_nodes_settei(2'000'000);
  const Mae before = mae_of(g);
  menu(Menu::KAISEKI);
  ASSERT_TRUE(g.hint_kaiseki().kaiseki_chu());
  g.on_close();
  EXPECT_FALSE(g.hint_kaiseki().kaiseki_chu());
  EXPECT_TRUE(h.ui.quitted);
  EXPECT_TRUE(g.hint_kaiseki().kaiseki_kekka().empty());  // given up, not waited for
  EXPECT_EQ(mae_of(g).board, before.board);

  // Quitting waits for the thread only briefly. Let run, it stops in time; one that has
  // not stopped is left on work it owns, and dropping it waits for nothing.
  KaisekiSettei s;
  s.nodes = 2'000'000;
  s.jobs = 2;
  {
    KaisekiSagyou sagyou(turns_of(e), s);
    EXPECT_TRUE(sagyou.owari(std::chrono::seconds(30)));
    EXPECT_TRUE(sagyou.owatta());
    EXPECT_TRUE(sagyou.uketoru().empty());
  }
  for (int i = 0; i < 3; ++i) {
    KaisekiSagyou sagyou(turns_of(e), s);
    EXPECT_FALSE(sagyou.owari(std::chrono::milliseconds(0)));
  }
}

TEST_F(KaisekiGame, BesideTheWindowItFindsWhatInPlaceFinds) {
  g.hint_kaiseki().kaiseki_nodes_settei(2000);
  menu(Menu::KAISEKI);
  for (int i = 0; i < 3000 && g.hint_kaiseki().kaiseki_chu(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    g.hint_kaiseki().on_poll();
    g.ibento_owari();
  }
  ASSERT_FALSE(g.hint_kaiseki().kaiseki_chu());
  ASSERT_EQ(g.hint_kaiseki().kaiseki_kekka().size(), 4u);
  KaisekiSettei s;
  s.nodes = 2000;
  std::vector<KaisekiTe> ref;
  kaiseki(turns_of(e), s, ref);
  for (std::size_t i = 0; i < ref.size(); ++i) {
    EXPECT_EQ(g.hint_kaiseki().kaiseki_kekka()[i].ato, ref[i].ato);
    EXPECT_EQ(g.hint_kaiseki().kaiseki_kekka()[i].rui, ref[i].rui);
  }
  EXPECT_NE(status().find("解析終了"), std::string::npos);
}

}  // namespace
}  // namespace mirado
