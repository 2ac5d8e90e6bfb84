// A person's move decided by the game alone, with no window: what a move does to the turn,
// the record and the clocks, that every refusal leaves the game exactly as it was, the
// third move's two limits, and a win.
#include <gtest/gtest.h>

#include "kyokumen_kensa.h"
#include "taikyoku/taikyoku.h"

namespace mirado {
namespace {

using test::same_position;

// Everything a refused move must leave as it found it.
void onaji(const Taikyoku& a, const Taikyoku& b) {
  EXPECT_TRUE(same_position(a.pos(), b.pos()));
  EXPECT_EQ(a.teban(), b.teban());
  EXPECT_EQ(a.teban_nushi(), b.teban_nushi());
  EXPECT_EQ(a.dankai(), b.dankai());
  EXPECT_EQ(a.tesuu(), b.tesuu());
  EXPECT_EQ(a.shuukyoku(), b.shuukyoku());
  EXPECT_EQ(a.te_tochuu(), b.te_tochuu());
  EXPECT_EQ(a.saikai_machi(), b.saikai_machi());
  EXPECT_EQ(a.ichite_x(), b.ichite_x());
  EXPECT_EQ(a.ichite_y(), b.ichite_y());
  EXPECT_EQ(a.nite_x(), b.nite_x());
  EXPECT_EQ(a.nite_y(), b.nite_y());
  EXPECT_EQ(a.jikan_sita(), b.jikan_sita());
  EXPECT_EQ(a.jikan_ue(), b.jikan_ue());
  EXPECT_EQ(a.jikan_kaishi(), b.jikan_kaishi());
  ASSERT_EQ(a.kifu().kifu_ichi, b.kifu().kifu_ichi);
  ASSERT_EQ(a.kifu().kifu_nagasa, b.kifu().kifu_nagasa);
  for (int i = 1; i <= a.kifu().kifu_nagasa + 1; ++i) {
    EXPECT_EQ(a.kifu().at(i).te.fc, b.kifu().at(i).te.fc) << i;
    EXPECT_EQ(a.kifu().at(i).te.tr, b.kifu().at(i).te.tr) << i;
    EXPECT_EQ(a.kifu().at(i).te.koma, b.kifu().at(i).te.koma) << i;
  }
}

// A fresh game between two people: the lower pieces move first, the clock started at 100.
Taikyoku ningen() {
  Taikyoku t;
  t.shinki();
  EXPECT_TRUE(t.ningen_kaishi(100));
  return t;
}

// A game between two people at a position, at move `d` of a turn the lower pieces hold
// (in the second move the SFEN names the upper pieces, whose turn it is to be moved), the
// clock started at 100.
Taikyoku haichi(const char* sfen, Dankai d = Dankai::ichi, Santeme santeme = {},
                TaikyokuShu shu = TaikyokuShu::ningen) {
  Taikyoku t;
  std::string error;
  Taikyoku::Haichi h;
  h.sfen = sfen;
  h.dankai = d;
  h.santeme = santeme;
  h.shu = shu;
  h.jikan_kaishi = 100;
  EXPECT_TRUE(Taikyoku::haichi(h, t, error)) << error;
  EXPECT_EQ(t.teban_nushi(), t.sita_gawa());
  return t;
}

// The two kings alone, on their starting squares.
constexpr const char* OU_DAKE = "4k4/9/9/9/9/9/9/9/4K4 b - 1";

TEST(TaikyokuSasu, ATurnOfThreeMovesPassesTheTurnAndChargesTheHoldersClock) {
  Taikyoku t = ningen();
  const Gawa sita = t.sita_gawa();
  Sashita r = t.sasu({{7, 7, 7, 6, -HU}}, 103);
  ASSERT_EQ(r.kotowari, Kotowari::nashi);
  EXPECT_EQ(t.dankai(), Dankai::ni);
  EXPECT_EQ(t.teban(), aite(sita));  // the opponent's piece moves next
  EXPECT_EQ(t.teban_nushi(), sita);
  EXPECT_TRUE(t.te_tochuu());
  EXPECT_EQ(t.ichite_x(), 7);
  EXPECT_EQ(t.ichite_y(), 6);

  r = t.sasu({{3, 3, 3, 4, HU}}, 104);
  ASSERT_EQ(r.kotowari, Kotowari::nashi);
  EXPECT_EQ(t.dankai(), Dankai::san);
  EXPECT_EQ(t.teban(), sita);
  EXPECT_EQ(t.nite_x(), 3);
  EXPECT_EQ(t.jikan_sita(), 4);  // the second move is the holder's time too
  EXPECT_EQ(t.jikan_ue(), 0);

  r = t.sasu({{2, 7, 2, 6, -HU}}, 110);
  ASSERT_EQ(r.kotowari, Kotowari::nashi);
  EXPECT_FALSE(r.com_no_ban);
  EXPECT_EQ(t.dankai(), Dankai::ichi);
  EXPECT_EQ(t.teban(), aite(sita));
  EXPECT_EQ(t.teban_nushi(), aite(sita));
  EXPECT_FALSE(t.te_tochuu());
  EXPECT_EQ(t.tesuu(), 3);
  EXPECT_EQ(t.kifu().kifu_nagasa, 3);
  EXPECT_EQ(t.kifu().at(2).moto_koma, HU);
  EXPECT_EQ(t.kifu().at(3).sita_ato, 10);
  EXPECT_EQ(t.jikan_sita(), 10);
  EXPECT_EQ(t.jikan_kaishi(), 110);
}

TEST(TaikyokuSasu, EveryRefusalLeavesTheGameAsItWas) {
  struct Case {
    const char* name;
    Dankai d;
    const char* sfen;  // the two kings on their starting squares, and the pieces of the case
    NingenTe te;
    Kotowari expected;
    bool tried;  // made on the board, then taken back
  };
  const Case cases[] = {
      {"upper piece in the first move", Dankai::ichi, "4k4/9/9/3g5/9/9/9/9/4K4 b - 1",
       {{4, 4, 4, 5, KIN}, false}, Kotowari::dare_no_koma, false},
      {"own piece in the second move", Dankai::ni, "4k4/9/9/3G5/9/9/9/9/4K4 w - 1",
       {{4, 4, 4, 3, -KIN}, false}, Kotowari::dare_no_koma, false},
      {"upper hand in the first move", Dankai::ichi, "4k4/9/9/9/9/9/9/9/4K4 b p 1",
       {{TE_UE, 1, 4, 4, HU}, false}, Kotowari::dare_no_koma, false},
      {"a pawn two squares", Dankai::ichi, "4k4/9/9/9/9/9/3P5/9/4K4 b - 1",
       {{4, 7, 4, 5, -HU}, false}, Kotowari::ugokenai, false},
      {"a piece that is gone", Dankai::ichi, OU_DAKE, {{4, 7, 4, 6, -HU}, false}, Kotowari::ugokenai, false},
      {"two pawns on a file", Dankai::ichi, "4k4/9/9/9/9/9/3P5/9/4K4 b P 1",
       {{TE_SITA, 1, 4, 5, -HU}, false}, Kotowari::nifu, false},
      {"a knight left unpromoted on the last rows", Dankai::ichi, "4k4/9/9/2N6/9/9/9/9/4K4 b - 1",
       {{3, 4, 2, 2, -KEI}, false}, Kotowari::naranai_to, false},
      {"a pinned gold", Dankai::ichi, "4k4/9/9/9/4r4/9/9/4G4/4K4 b - 1",
       {{5, 8, 4, 8, -KIN}, false}, Kotowari::jibun_oute, true},
      {"the upper king opened by the second move", Dankai::ni, "4k4/4g4/9/9/4R4/9/9/9/4K4 w - 1",
       {{5, 2, 4, 2, KIN}, false}, Kotowari::aite_oute, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Taikyoku t;
    std::string error;
    Taikyoku::Haichi h;
    h.sfen = c.sfen;
    h.dankai = c.d;
    h.jikan_kaishi = 100;
    h.kifu_saki.push_back({{1, 1, 1, 2, HU}, HU});  // a line stepped back over stays
    ASSERT_TRUE(Taikyoku::haichi(h, t, error)) << error;
    const Taikyoku mae = t;
    const Sashita r = t.sasu(c.te, 150);
    EXPECT_EQ(r.kotowari, c.expected);
    EXPECT_EQ(r.tameshita, c.tried);
    onaji(t, mae);
    EXPECT_STRNE(kotowari_moji(r.kotowari, c.d), "");
  }
}

TEST(TaikyokuSasu, TheThirdMoveMayNotMoveTheFirstPieceNorTakeTheSecond) {
  Taikyoku t = haichi("lnsgkgsnl/1r5b1/ppppppppp/9/7S1/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1");
  ASSERT_EQ(t.sasu({{7, 7, 7, 6, -HU}}, 100).kotowari, Kotowari::nashi);
  ASSERT_EQ(t.sasu({{7, 3, 7, 4, HU}}, 100).kotowari, Kotowari::nashi);
  const Taikyoku mae = t;
  Sashita r = t.sasu({{7, 6, 7, 5, -HU}}, 100);
  EXPECT_EQ(r.kotowari, Kotowari::ichite_no_koma);
  EXPECT_TRUE(r.tameshita);
  onaji(t, mae);
  r = t.sasu({{8, 5, 7, 4, -GIN}}, 100);
  EXPECT_EQ(r.kotowari, Kotowari::nite_no_koma);
  onaji(t, mae);
  EXPECT_EQ(t.sasu({{8, 5, 8, 4, -GIN}}, 100).kotowari, Kotowari::nashi);
  EXPECT_EQ(t.dankai(), Dankai::ichi);
}

TEST(TaikyokuSasu, TheLimitsAreLiftedForAHolderWithOnlyItsKing) {
  Taikyoku t = haichi(OU_DAKE, Dankai::san, {5, 9, 0, 0});  // the king moved first
  EXPECT_EQ(t.sasu({{5, 9, 4, 8, -OU}}, 100).kotowari, Kotowari::nashi);
}

TEST(TaikyokuSasu, TakingTheKingWinsAndAgainstTheComputerTheTurnGoesToIt) {
  Taikyoku t = haichi("4k4/4G4/9/9/9/9/9/9/4K4 b - 1");
  Sashita r = t.sasu({{5, 2, 5, 1, -KIN}}, 100);
  EXPECT_EQ(r.kotowari, Kotowari::nashi);
  EXPECT_EQ(r.shousha, t.sita_gawa());
  EXPECT_EQ(t.shousha(), t.sita_gawa());
  EXPECT_EQ(t.dankai(), Dankai::ichi);  // a finished game stays at its move

  Taikyoku c = haichi("4k4/9/9/9/9/9/9/9/4K3L b - 1", Dankai::san, {}, TaikyokuShu::com);
  r = c.sasu({{9, 9, 9, 8, -KYOU}}, 100);
  EXPECT_EQ(r.kotowari, Kotowari::nashi);
  EXPECT_TRUE(r.com_no_ban);
  EXPECT_EQ(c.teban(), c.ue_gawa());
  EXPECT_EQ(c.teban_nushi(), c.ue_gawa());
}

}  // namespace
}  // namespace mirado
