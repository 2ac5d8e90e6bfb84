// Check and mate detection on positions built for each rule.
#include <gtest/gtest.h>

#include <cstring>

#include "rules/sfen.h"
#include "rules/tsumi.h"

namespace mirado {
namespace {

bool test_same(const Kyokumen& a, const Kyokumen& b) {
  return std::memcmp(a.ban, b.ban, sizeof a.ban) == 0 &&
         std::memcmp(a.mochigoma_sita, b.mochigoma_sita, sizeof a.mochigoma_sita) == 0 &&
         std::memcmp(a.fu_suji_sita, b.fu_suji_sita, sizeof a.fu_suji_sita) == 0 &&
         std::memcmp(a.fu_suji_ue, b.fu_suji_ue, sizeof a.fu_suji_ue) == 0 &&
         a.mochigoma_su_sita == b.mochigoma_su_sita;
}

struct Pos {
  Kyokumen p;
  explicit Pos(const char* sfen) {
    SfenPosition sp;
    std::string error;
    EXPECT_TRUE(parse_sfen(sfen, sp, error)) << error;
    p = sp.pos;
  }
  bool sita() { return tsumi_sita(p); }
  bool ue() { return tsumi_ue(p); }
};

TEST(Tsumi, KingNotAttackedIsNeverMatedEvenWithoutMoves) {
  // The lower king in the corner, boxed in by its own pieces, nothing attacks it.
  Pos s("k8/9/9/9/9/9/9/7LL/7LK b - 1");
  EXPECT_FALSE(s.sita());
}

TEST(Tsumi, SupportedGoldInFrontOfTheKingMates) {
  Pos s("4k4/9/9/9/9/9/4p4/4g4/4K4 b - 1");
  EXPECT_TRUE(sita_outechu(s.p));
  EXPECT_TRUE(s.sita());
}

TEST(Tsumi, ContactCheckCannotBeAnsweredByADrop) {
  Pos s("4k4/9/9/9/9/9/4p4/4g4/4K4 b GSR 1");
  EXPECT_TRUE(s.sita());
}

TEST(Tsumi, KnightCheckCannotBeAnsweredByADrop) {
  // Upper knight on (4,7) checks the king on (5,9); own knights fill the escapes and
  // the bishop covers (5,8).
  Pos s("k8/9/9/9/7b1/9/3n5/3N1N3/3NKN3 b G 1");
  EXPECT_EQ(s.p.kiki().oute_sita[5][9], 9);
  EXPECT_TRUE(s.sita());
}

TEST(Tsumi, KingTakesAnUndefendedChecker) {
  Pos s("4k4/9/9/9/9/9/9/4g4/4K4 b - 1");
  EXPECT_FALSE(s.sita());
}

TEST(Tsumi, AnotherPieceCapturesTheChecker) {
  Pos s("4k4/9/9/9/9/9/4p4/R3g4/4K4 b - 1");
  EXPECT_FALSE(s.sita());
}

TEST(Tsumi, APinnedCapturerDoesNotCount) {
  // The lower gold on (6,9) could take the checker but would expose its king to the rook.
  Pos s("4k4/9/9/9/9/9/4p4/4g4/4KG2r b - 1");
  EXPECT_TRUE(s.sita());
}

TEST(Tsumi, DistantCheckIsBlockedByADropUnlessOnlyForbiddenPawnsAreInHand) {
  EXPECT_TRUE(Pos("k8/4l4/9/9/9/9/9/3L1L3/3LKL3 b - 1").sita());
  EXPECT_FALSE(Pos("k8/4l4/9/9/9/9/9/3L1L3/3LKL3 b G 1").sita());
  EXPECT_FALSE(Pos("k8/4l4/9/9/9/9/9/3L1L3/3LKL3 b P 1").sita());
  // Check along row 1: a pawn may not be dropped there, so pawns alone do not help.
  EXPECT_TRUE(Pos("K4r3/NN7/9/9/9/9/9/9/8k b 2P 1").sita());
  EXPECT_FALSE(Pos("K4r3/NN7/9/9/9/9/9/9/8k b S 1").sita());
}

TEST(Tsumi, DoubleCheckWithADistantCheckerIsNotSavedByADrop) {
  EXPECT_TRUE(Pos("k8/4l4/9/9/b8/9/9/5L3/3LKL3 b G 1").sita());
  EXPECT_FALSE(Pos("k8/9/9/9/b8/9/9/5L3/3LKL3 b G 1").sita());
}

TEST(Tsumi, PawnDropBlocksAndThePositionComesBackSound) {
  // The pawn in hand blocks the lance's check on column 5.
  Pos s("k8/4l4/9/9/9/9/9/3L1L3/3LKL3 b P 1");
  const Kyokumen before = s.p;
  EXPECT_FALSE(s.sita());
  EXPECT_TRUE(test_same(before, s.p));
  EXPECT_EQ(kyokumen_fusei(s.p), "");

  // No hand: the only way out is the pawn on (4, 9) taking the defended gold, tried on the
  // board; its file's flag comes back with it.
  Pos t("k8/9/9/9/9/9/2s6/3g1G3/3PKS3 b - 1");
  EXPECT_FALSE(t.sita());
  EXPECT_TRUE(t.p.fu_suji_sita[4]);
  EXPECT_EQ(kyokumen_fusei(t.p), "");
  t.p.oku(4, 9, -KEI);  // a knight cannot take it: mate
  EXPECT_TRUE(t.sita());
  EXPECT_FALSE(t.p.fu_suji_sita[4]);
}

TEST(Tsumi, UpperSideMirror) {
  Pos s("4k4/4G4/4P4/9/9/9/9/9/4K4 w - 1");
  EXPECT_TRUE(s.ue());
  EXPECT_FALSE(s.sita());
  EXPECT_FALSE(Pos("4k4/4G4/9/9/9/9/9/9/4K4 w - 1").ue());
}

TEST(Tsumi, UpperDefenceLaterInScanOrderIsStillFound) {
  // The gold on (4,1) can block the rook's check on (5,2) but uncovers the rook on (1,1);
  // the silver on (6,4) blocks properly. The trial of the gold must not hide that.
  Pos s("R2gkp3/3p1p3/9/5s3/9/4R4/9/9/8K b - 1");
  EXPECT_FALSE(s.ue());
}

TEST(Tsumi, MapsDescribeTheBoardAgainAfterTsumiUe) {
  for (const char* sfen : {"R2gkp3/3p1p3/9/5s3/9/4R4/9/9/8K b - 1",
                           "4k4/4G4/4P4/9/9/9/9/9/4K4 w - 1"}) {
    Pos s(sfen);
    Kyokumen before = s.p;
    s.ue();
    Kiki fresh{};
    kiki_keisan(s.p.ban, fresh);
    EXPECT_EQ(0, std::memcmp(&fresh, &s.p.kiki(), sizeof fresh)) << sfen;
    EXPECT_EQ(kyokumen_fusei(s.p), "") << sfen;
    EXPECT_EQ(0, std::memcmp(before.ban, s.p.ban, sizeof before.ban)) << sfen;
  }
}

}  // namespace
}  // namespace mirado
