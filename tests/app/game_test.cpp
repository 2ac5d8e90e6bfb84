// The game object: new game, applying moves, the record and stepping through it.
#include <gtest/gtest.h>

#include <cstring>

#include "fakes.h"
#include "kifu_support.h"
#include "game_shiken.h"

namespace mirado {
namespace {

using test::same_position;

using test::Harness;

Kyokumen hirate() {
  Kyokumen p;
  p.shoki_haichi();
  return p;
}

// A game at `sfen` between two people, its clock started by the window's.
Taikyoku futari(Harness& h, const std::string& sfen) {
  Taikyoku::Haichi k;
  k.sfen = sfen;
  k.jikan_kaishi = h.clock.now();
  return haichi(k);
}

TEST(Game, NewGameResetsStateAndPaintsTheStartingPosition) {
  Harness h;
  Game& g = h.game;
  // A handicap, a flip, a piece in hand and a record, and a game won by a captured king.
  Taikyoku t = futari(h, "4k4/4G4/9/9/9/9/9/9/4K4 b 2P 1");
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(t.handicap_kaeru(1).kaeta);
  ASSERT_EQ(t.hanten(), Kotowari::nashi);  // the gold is now the upper one, its turn
  te_sasu(t, 5, 8, 5, 9, KIN);
  g.haichi(t);
  ASSERT_NE(g.taikyoku().teban(), Gawa::nashi);
  ASSERT_NE(g.taikyoku().shousha(), Gawa::nashi);
  ASSERT_NE(g.taikyoku().handicap(), 0);
  ASSERT_TRUE(g.taikyoku().handicap_zumi());
  ASSERT_TRUE(g.taikyoku().hanten_zumi());
  ASSERT_EQ(g.taikyoku().pos().mochigoma_ue[1], 2);
  ASSERT_EQ(g.taikyoku().kifu().kifu_ichi, 1);
  ASSERT_EQ(g.taikyoku().tesuu(), 1);
  g.shinki_kyoku();
  EXPECT_EQ(g.taikyoku().teban(), Gawa::nashi);
  EXPECT_EQ(g.taikyoku().shousha(), Gawa::nashi);
  EXPECT_EQ(g.taikyoku().handicap(), 0);
  EXPECT_FALSE(g.taikyoku().handicap_zumi());
  EXPECT_FALSE(g.taikyoku().hanten_zumi());
  EXPECT_TRUE(same_position(g.taikyoku().pos(), hirate()));  // the even start, empty hands
  EXPECT_EQ(g.taikyoku().tesuu(), 0);
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa,
            0);  // played after a flip or handicap: not replayable from the start
  EXPECT_FALSE(h.ui.timer);
  EXPECT_FALSE(h.ui.visible[Control::AICON_COM]);
  ASSERT_FALSE(h.sound.log.empty());
  EXPECT_EQ(h.sound.log.front(), "stop snd_bgm");
  // Painted: the lower bishop in column 2, the logo of "no game" above the hands.
  EXPECT_EQ(h.canvas.picture_at(2, 8), -KAKU);
  EXPECT_EQ(h.canvas.picture_at(8, 8), -HISHA);
  EXPECT_EQ(h.canvas.picture_at(5, 1), OU);
  EXPECT_EQ(h.canvas.picture_at(11.2, 0), PIC_ZUVANSHOGI2);
  EXPECT_EQ(h.canvas.picture_at(11, 3), kara);  // empty hand slot
}

// A new game keeps the record of a game from the even start, to be stepped through again.
TEST(Game, NewGameKeepsARecordFromTheEvenStart) {
  Harness h;
  Game& g = h.game;
  g.haichi(haichi(Taikyoku::Haichi{}));
  test::play_sample_game(h);
  for (int i = 0; i < 2; ++i) g.ippo_modosu();
  ASSERT_EQ(g.taikyoku().kifu().kifu_ichi, 7);
  g.shinki_kyoku();
  EXPECT_EQ(g.taikyoku().kifu().kifu_ichi, 0);
  EXPECT_EQ(g.taikyoku().kifu().kifu_nagasa, 9);
  EXPECT_EQ(g.taikyoku().tesuu(), 0);
  EXPECT_TRUE(same_position(g.taikyoku().pos(), hirate()));
}

TEST(Game, CapturesEnterTheCapturersHandByBaseKind) {
  Harness h;
  Game& g = h.game;
  // The lower rook takes a dragon in the first move; the upper knight takes a tokin in
  // the second.
  Taikyoku t = futari(h, "1n6k/4+r4/+P8/9/4R4/9/9/9/K8 b - 1");
  te_sasu(t, 5, 5, 5, 2, -HISHA);
  g.haichi(t);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_sita[7], 1);  // a dragon becomes a rook in hand
  EXPECT_EQ(g.taikyoku().pos().mochigoma_su_sita, 1);
  EXPECT_EQ(g.taikyoku().pos().ban[5][5], kara);
  EXPECT_EQ(h.canvas.picture_at(11, 9), -HISHA);

  te_sasu(t, 2, 1, 1, 3, KEI);
  g.haichi(t);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_ue[1], 1);  // a tokin becomes a pawn
}

TEST(Game, CapturingAKingEndsTheGameWithoutPuttingItInHand) {
  Harness h;
  Game& g = h.game;
  Taikyoku::Haichi k;  // the lower pieces moved second; their gold can take the king
  k.sfen = "9/9/9/4k4/4G4/9/9/9/K8 b - 1";
  k.sita_sente = false;
  Taikyoku t = haichi(k);
  ASSERT_EQ(t.sita_gawa(), Gawa::gote);
  te_sasu(t, 5, 5, 5, 4, -KIN);
  g.haichi(t);
  EXPECT_EQ(g.taikyoku().shousha(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().pos().mochigoma_su_sita, 1);  // the total counts the king
  int in_hand = 0;
  for (int i = 1; i <= 7; ++i) in_hand += g.taikyoku().pos().mochigoma_sita[i];
  EXPECT_EQ(in_hand, 0);
}

TEST(Game, LowerKingSquareFollowsItsMoves) {
  Harness h;
  Game& g = h.game;
  g.haichi(haichi(Taikyoku::Haichi{}));
  test::play_move(h, 5, 9, 5, 8, -OU);
  EXPECT_EQ(g.taikyoku().pos().ou_sita_x, 5);
  EXPECT_EQ(g.taikyoku().pos().ou_sita_y, 8);
}

// The record as the game keeps it: a move played where the record was stepped back
// replaces what followed, and it has no fixed length.
TEST(Kifu, IsCutAtThePositionByTheNextMoveAndGrowsPastFiveHundred) {
  auto entry = [](int moto_x, int saki_y) {
    KifuEntry e;
    e.te.fc = moto_x;
    e.te.tr = saki_y;
    return e;
  };
  Kifu k;
  k.kiroku(entry(3, 6));
  k.kiroku(entry(3, 4));
  EXPECT_EQ(k.kifu_ichi, 2);
  EXPECT_EQ(k.kifu_nagasa, 2);
  k.kifu_ichi = 1;  // one step back
  k.kiroku(entry(7, 6));
  EXPECT_EQ(k.kifu_ichi, 2);
  EXPECT_EQ(k.kifu_nagasa, 2);
  EXPECT_EQ(k.at(2).te.fc, 7);
  for (int i = 0; i < 600; ++i) k.kiroku(entry(1, 2));
  EXPECT_EQ(k.kifu_nagasa, 602);
  EXPECT_EQ(k.at(602).te.tr, 2);
  EXPECT_EQ(k.at(1).te.tr, 6);
}

TEST(Game, StepsBackAndForwardOverCapturesDropsAndPromotionsRestoreEverything) {
  Harness h;
  Game& g = h.game;
  g.haichi(haichi(Taikyoku::Haichi{}));
  // A line with a capture, a promotion, a drop and a recapture.
  struct M { int fc, fr, tc, tr, code; } line[] = {
      {3, 7, 3, 6, -HU},   {7, 3, 7, 4, HU},          {2, 8, 8, 2, -UMA},  // takes the bishop, promotes
      {2, 2, 8, 2, HISHA}, {TE_SITA, 6, 5, 5, -KAKU}, {3, 3, 3, 4, HU},    // recapture; drop
      {5, 5, 1, 1, -UMA},  {9, 1, 9, 2, KYOU},
  };
  std::vector<Kyokumen> seen{g.taikyoku().pos()};
  double secs = 1;
  for (const M& m : line) {
    test::play_move(h, m.fc, m.fr, m.tc, m.tr, m.code, secs);
    secs += 2;
    seen.push_back(g.taikyoku().pos());
  }
  const double sita_end = g.taikyoku().jikan_sita(), ue_end = g.taikyoku().jikan_ue();
  EXPECT_EQ(g.taikyoku().pos().mochigoma_sita[6], 0);  // the bishop was dropped again
  EXPECT_EQ(g.taikyoku().pos().mochigoma_sita[2], 1);  // the lance taken by the horse
  EXPECT_EQ(g.taikyoku().pos().mochigoma_ue[6], 1);    // the horse taken back as a bishop

  const int n = g.taikyoku().kifu().kifu_ichi;
  for (int i = n; i > 0; --i) {
    g.ippo_modosu();
    EXPECT_TRUE(same_position(g.taikyoku().pos(), seen[i - 1])) << "back to " << i - 1;
  }
  EXPECT_EQ(g.taikyoku().jikan_sita(), 0);
  EXPECT_EQ(g.taikyoku().jikan_ue(), 0);
  EXPECT_EQ(g.taikyoku().teban(), g.taikyoku().sita_gawa());
  h.ui.boxes.clear();
  g.ippo_modosu();  // at the start of the record: refused, nothing moves
  ASSERT_EQ(h.ui.boxes.size(), 1u);
  EXPECT_EQ(h.ui.boxes[0].text, "できません");
  EXPECT_EQ(h.ui.boxes[0].title, "戻る");
  EXPECT_TRUE(same_position(g.taikyoku().pos(), seen[0]));

  for (int i = 1; i <= n; ++i) {
    g.ippo_susumu();
    EXPECT_TRUE(same_position(g.taikyoku().pos(), seen[i])) << "forward to " << i;
  }
  EXPECT_EQ(g.taikyoku().jikan_sita(), sita_end);
  EXPECT_EQ(g.taikyoku().jikan_ue(), ue_end);
  EXPECT_EQ(g.taikyoku().tesuu(), n);
}

TEST(Game, SteppingOverAKingCaptureEndsAndTakingItBackResumes) {
  Harness h;
  Game& g = h.game;
  Taikyoku::Haichi kifu;  // the start-up sides, a record of the lower gold taking the king
  kifu.sfen = "9/4k4/4G4/9/9/9/9/9/4K4 w - 1";
  kifu.sita_sente = false;
  kifu.kifu_saki.push_back({{5, 3, 5, 2, -KIN}, -KIN, OU});
  g.haichi(haichi(kifu));
  g.ippo_susumu();
  EXPECT_EQ(g.taikyoku().shousha(), g.taikyoku().sita_gawa());
  EXPECT_EQ(g.taikyoku().pos().mochigoma_su_sita, 1);
  g.ippo_modosu();
  EXPECT_EQ(g.taikyoku().shousha(), Gawa::nashi);
  EXPECT_EQ(g.taikyoku().pos().ban[5][2], OU);
  EXPECT_EQ(g.taikyoku().pos().mochigoma_su_sita, 0);
}

TEST(Game, StepForwardShowsTheMoveInNotation) {
  Harness h;
  Game& g = h.game;
  Taikyoku::Haichi kifu;  // the start-up sides, a record of the bishop taking a pawn
  kifu.sfen = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";
  kifu.sita_sente = false;
  kifu.kifu_saki.push_back({{2, 8, 2, 3, -UMA}, -KAKU, HU});
  g.haichi(haichi(kifu));
  g.kirikae().set_checked(Menu::KEIKA, true);  // the clocks are first drawn by the step
  h.canvas.ops.clear();
  g.ippo_susumu();
  const auto texts = h.canvas.texts();
  auto has = [&](const char* s) { return std::find(texts.begin(), texts.end(), s) != texts.end(); };
  // Column 2 stands under the file label 8: the notation reads 8三角成, as players say it.
  EXPECT_TRUE(has("８"));
  EXPECT_FALSE(has("２"));
  EXPECT_TRUE(has("三"));
  EXPECT_TRUE(has("角成"));
  EXPECT_TRUE(has("00:00:00"));
  EXPECT_EQ(h.sound.log.back(), "play snd_koma");
}

// Each part turns over at its limit: a whole minute or hour is never shown as 60.
TEST(Status, ClockTextsTurnOverAtEveryWholeMinuteAndHour) {
  EXPECT_EQ(jikan_moji(0), "00:00:00");
  EXPECT_EQ(jikan_moji(59.9), "00:00:59");
  EXPECT_EQ(jikan_moji(60), "00:01:00");
  EXPECT_EQ(jikan_moji(3599), "00:59:59");
  EXPECT_EQ(jikan_moji(3599.99), "00:59:59");
  EXPECT_EQ(jikan_moji(3600), "01:00:00");
  EXPECT_EQ(jikan_moji(3660), "01:01:00");
  EXPECT_EQ(jikan_moji(3661), "01:01:01");
  EXPECT_EQ(jikan_moji(7200), "02:00:00");
  EXPECT_EQ(jikan_moji(86399), "23:59:59");
  EXPECT_EQ(jikan_moji(86400), "24:00:00");
  EXPECT_EQ(jikan_moji(359999), "99:59:59");
}

TEST(Status, TextsOfTimesAndNotation) {
  EXPECT_EQ(jikan_moji(5), "00:00:05");
  EXPECT_EQ(jikan_moji(3725), "01:02:05");
  EXPECT_EQ(jikan_moji(360000), ":00:00");  // 100 hours: the hours part is empty
  EXPECT_EQ(keika_byou(86390, 5), 15);
  EXPECT_EQ(keika_byou(100, 160.5), 60.5);
  EXPECT_EQ(kifu_moji(0), "");
  EXPECT_EQ(kifu_moji(1009), "九");
  EXPECT_EQ(kifu_moji(-901), "飛成");
  EXPECT_EQ(handicap_meishou(-10), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人");
  EXPECT_EQ(handicap_meishou(-9), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８段");
  EXPECT_EQ(handicap_meishou(0), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２級");
  EXPECT_EQ(handicap_meishou(10), "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:12級");
}

}  // namespace
}  // namespace mirado
