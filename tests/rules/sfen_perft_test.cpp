// SFEN notation and move counts against the published numbers of shogi.
#include <gtest/gtest.h>

#include "bench_positions.h"
#include "te_ichiran.h"
#include "rules/perft.h"
#include "rules/sfen.h"
#include "rules/ugoki.h"

namespace mirado {
namespace {

constexpr const char* kStart = "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";

TEST(Sfen, StandardStartIsTheNewGamePosition) {
  SfenPosition sp;
  std::string error;
  ASSERT_TRUE(parse_sfen(kStart, sp, error)) << error;
  Kyokumen start;
  start.shoki_haichi();
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) EXPECT_EQ(sp.pos.ban[c][r], start.ban[c][r]) << c << "," << r;
  EXPECT_EQ(sp.teban_sita, 1);
  EXPECT_EQ(to_sfen(sp.pos, true, 1), kStart);
}

TEST(Sfen, PromotedPiecesAndHandsRoundTrip) {
  const char* s = "l+N2k3l/9/p+p7/9/4B4/9/9/9/4K4 w 2P+rS 12";
  SfenPosition sp;
  std::string error;
  ASSERT_FALSE(parse_sfen(s, sp, error));  // '+' is not allowed in the hands field
  const char* ok = "l+N2k3l/9/p+p7/9/4+B4/9/9/9/4K4 w RS2Pbg 12";
  ASSERT_TRUE(parse_sfen(ok, sp, error)) << error;
  EXPECT_EQ(sp.pos.ban[2][1], -NARIKEI);
  EXPECT_EQ(sp.pos.ban[2][3], TO);
  EXPECT_EQ(sp.pos.ban[5][5], -UMA);
  EXPECT_EQ(sp.pos.mochigoma_sita[1], 2);
  EXPECT_EQ(sp.pos.mochigoma_sita[7], 1);
  EXPECT_EQ(sp.pos.mochigoma_ue[6], 1);
  EXPECT_EQ(sp.pos.mochigoma_su_sita, 4);
  EXPECT_EQ(sp.teban_sita, 0);
  EXPECT_EQ(to_sfen(sp.pos, false, 12), ok);
}

TEST(Sfen, BadInputIsNamed) {
  struct Case {
    const char* sfen;
    const char* words;
  } cases[] = {
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1 b - 1", "ranks"},
      {"lnsgkgsnl/1r5b/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", "rank 2"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNLL b - 1", "longer"},
      {"lnsgkgsnl/1r5b1/ppppxpppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", "unknown letter 'x'"},
      {"lnsg1gsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1", "missing king"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL x - 1", "side to move"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b -", nullptr},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b 2Q 1", "unknown letter 'Q'"},
      {"", "fields"},
      {"+/9/9/9/9/9/9/9/9 b - 1", "'+'"},
      // Repeated letters add up; more than 18 of a kind in one hand would not print back.
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b 18P2P 1", "above 18"},
      {"lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w RRRRRRRRRRRRRRRRRRRb 1", "above 18"},
  };
  for (const auto& c : cases) {
    SfenPosition sp;
    std::string error;
    const bool ok = parse_sfen(c.sfen, sp, error);
    if (c.words == nullptr) {
      EXPECT_TRUE(ok) << c.sfen;  // the move number is optional
      continue;
    }
    EXPECT_FALSE(ok) << c.sfen;
    EXPECT_NE(error.find(c.words), std::string::npos) << c.sfen << " -> " << error;
  }
}

std::uint64_t perft_of(const char* sfen, int depth) {
  SfenPosition sp;
  std::string error;
  EXPECT_TRUE(parse_sfen(sfen, sp, error)) << error;
  return perft(sp.pos, sp.teban_sita == 1, depth);
}

// The count the slow way: every move of the 81-square scan, the maps drawn anew after each.
std::uint64_t perft_by_scan(Kyokumen& p, bool sita, int depth) {
  if (depth == 0) return 1;
  std::uint64_t n = 0;
  for (const Te& te : test::moves_of(p, sita)) {
    const TeModoshi m = do_move(p, te);
    Kiki k{};
    kiki_keisan(p.ban, k);
    const bool own_king_attacked =
        sita ? k.kiki_ue[p.ou_sita_x][p.ou_sita_y] > 0 : k.kiki_sita[p.ou_ue_x][p.ou_ue_y] > 0;
    if (!own_king_attacked) n += perft_by_scan(p, !sita, depth - 1);
    undo_move(p, m);
  }
  return n;
}

// Real middle games with pieces in hand, promotions and checks, for either side to move:
// perft counts what the slow scan counts.
TEST(Perft, BenchmarkPositionsCountWhatTheFullScanCounts) {
  const std::vector<Kyokumen> ps = test::bench_positions();
  ASSERT_GT(ps.size(), 100u);
  for (std::size_t i = 0; i < ps.size(); ++i) {
    for (const bool sita : {false, true}) {
      Kyokumen p = ps[i];
      const int depth = i % 8 == 0 ? 2 : 1;
      const std::uint64_t want = perft_by_scan(p, sita, depth);
      EXPECT_EQ(perft(p, sita, depth), want) << "position " << i << (sita ? " lower" : " upper");
    }
  }
}

TEST(Perft, StartPositionMatchesPublishedCounts) {
  EXPECT_EQ(perft_of(kStart, 1), 30u);
  EXPECT_EQ(perft_of(kStart, 2), 900u);
  EXPECT_EQ(perft_of(kStart, 3), 25470u);
}

TEST(Perft, StartPositionDepthFour) { EXPECT_EQ(perft_of(kStart, 4), 719731u); }

TEST(Perft, MiddleGameWithHandsAndPromotions) {
  // The well-known "matsuri" position: 207 moves for the side to move.
  EXPECT_EQ(perft_of("l6nl/5+P1gk/2np1S3/p1p4Pp/3P2Sp1/1PPb2P1P/P5GS1/R8/LN4bKL w RGgsn5p 1", 1),
            207u);
}

}  // namespace
}  // namespace mirado
