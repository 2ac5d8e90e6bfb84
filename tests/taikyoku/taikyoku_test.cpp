// The game's state without a window: a copy of a game is a game of its own, a loaded
// record steps forward and back, and taking a king ends the game.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench_positions.h"
#include "kifu_support.h"
#include "kyokumen_kensa.h"
#include "te_ichiran.h"
#include "kifu/kifu_file.h"
#include "rules/sfen.h"
#include "taikyoku/taikyoku.h"
#include "taikyoku_shiken.h"

namespace mirado {
namespace {

using test::bench_positions;

// Everything the computer's turn reads and changes is in the game's state: a copy plays
// the same turn, and playing it leaves the original as it was.
TEST(TaikyokuState, ACopiedGamePlaysTheSameTurnAndLeavesTheOriginalAlone) {
  const std::vector<Kyokumen> positions = bench_positions();
  ASSERT_GT(positions.size(), 100u);
  int games_won = 0;
  for (std::size_t i = 0; i < positions.size(); i += 3) {
    const Taikyoku start = sente_taikyoku(positions[i], 1 + static_cast<int>(i % 3));
    Taikyoku a = start, b = start;
    ComTurn ta, tb;
    ta.run(a);
    EXPECT_TRUE(test::same_position(b.pos(), start.pos())) << i;
    EXPECT_EQ(b.ichite_x(), 0) << i;
    tb.run(b);
    EXPECT_TRUE(test::same_position(a.pos(), b.pos())) << i;
    EXPECT_EQ(std::memcmp(&a.kiki(), &b.kiki(), sizeof a.kiki()), 0) << i;
    EXPECT_EQ(a.shousha(), b.shousha()) << i;
    for (int proc = 1; proc <= 3; ++proc) {
      EXPECT_EQ(ta.ran[proc], tb.ran[proc]) << i;
      EXPECT_EQ(ta.te[proc].te.score, tb.te[proc].te.score) << i;
    }
    EXPECT_EQ(a.ichite_x(), ta.te[1].te.ari ? ta.te[1].te.te.tc : 0) << i;
    EXPECT_EQ(a.nite_y(), ta.te[2].te.ari ? ta.te[2].te.te.tr : 0) << i;
    games_won += a.owatta();
  }
  EXPECT_GT(games_won, 0);
}

// A record of `n` moves from the start, each side in turn making its first move (its
// first capture when it has one), as the game would record them.
std::vector<KifuEntry> record_of(int n) {
  Kyokumen p;
  p.shoki_haichi();
  std::vector<KifuEntry> out;
  bool sita = true;
  for (int i = 0; i < n; ++i) {
    Te best;
    for (const Te& te : test::moves_of(p, sita)) {
      if (koma_abs(p.ban[te.tc][te.tr]) == OU) continue;
      if (best.koma == 0 || (p.ban[te.tc][te.tr] != kara && p.ban[best.tc][best.tr] == kara)) best = te;
    }
    KifuEntry e;
    e.te = best;
    e.moto_koma = is_uchi(best.fc) ? best.koma : p.ban[best.fc][best.fr];
    e.tori_koma = p.ban[best.tc][best.tr];
    e.sita_ato = e.ue_ato = i + 1;
    e.sita_mae = e.ue_mae = i;
    do_move(p, best);
    out.push_back(e);
    sita = !sita;
  }
  return out;
}

TEST(TaikyokuState, ALoadedRecordStepsForwardAndBackWithoutAWindow) {
  const std::vector<KifuEntry> entries = record_of(40);
  Taikyoku t;
  t.shinki();
  const Kyokumen start = t.pos();
  t.kifu_yomikomi(entries);
  EXPECT_EQ(t.teban(), t.sita_gawa());  // the lower pieces made the first entry
  int captures = 0;
  while (t.kifu().kifu_ichi < t.kifu().kifu_nagasa) {
    captures += t.kifu().at(t.kifu().kifu_ichi + 1).tori_koma != kara;
    ASSERT_EQ(t.kifu_susumu(), "") << t.kifu().kifu_ichi;
  }
  EXPECT_GT(captures, 0);
  EXPECT_EQ(t.tesuu(), 40);
  EXPECT_EQ(t.jikan_ue(), 40);
  EXPECT_EQ(t.teban(), t.sita_gawa());
  EXPECT_EQ(kyokumen_fusei(t.pos()), "");
  while (t.kifu().kifu_ichi > 0) t.kifu_modosu();
  EXPECT_TRUE(test::same_position(t.pos(), start));
  EXPECT_EQ(t.pos().ou_sita_x, start.ou_sita_x);
  EXPECT_EQ(t.pos().ou_ue_y, start.ou_ue_y);
  EXPECT_EQ(t.tesuu(), 0);
  EXPECT_EQ(t.jikan_sita(), 0);

  // A record the upper pieces began, stepped in a game that says the lower pieces move
  // first (one begun between people after a game the computer opened): its first turn
  // still hands the turn to the lower pieces.
  t.shinki();
  t.kifu_yomikomi({test::kifu_te_of(7, 3, 7, 4, HU, HU), test::kifu_te_of(7, 7, 7, 6, -HU, -HU),
                   test::kifu_te_of(3, 3, 3, 4, HU, HU)});
  t.ningen_kaishi(0);
  ASSERT_EQ(t.teban(), t.sita_gawa());
  for (int i = 0; i < 3; ++i) ASSERT_EQ(t.kifu_susumu(), "");
  EXPECT_EQ(t.teban(), t.sita_gawa());

  // An entry that does not fit the board is refused with its line, and nothing moves.
  std::vector<KifuEntry> bad = entries;
  bad[2].tori_koma = HISHA;
  bad[2].gyou = 6;
  t.shinki();
  t.kifu_yomikomi(bad);
  ASSERT_EQ(t.kifu_susumu(), "");
  ASSERT_EQ(t.kifu_susumu(), "");
  const Taikyoku before = t;
  EXPECT_EQ(t.kifu_susumu().rfind("棋譜の6行目", 0), 0u);
  EXPECT_TRUE(test::same_position(t.pos(), before.pos()));
  EXPECT_EQ(t.kifu().kifu_ichi, 2);
  EXPECT_EQ(t.tesuu(), before.tesuu());
}

TEST(TaikyokuState, TakingAKingEndsTheGameForTheSideThatLostIt) {
  // The lower pieces moved first: they are side 1, the upper side -1.
  Taikyoku::Haichi h;
  h.sfen = "4k4/3pG4/9/9/9/9/9/9/4K4 b - 1";
  Taikyoku t = haichi(h);
  ASSERT_EQ(t.sasu({{5, 2, 6, 2, -KIN}}, 0).kotowari, Kotowari::nashi);  // a pawn taken
  EXPECT_EQ(t.shousha(), Gawa::nashi);
  t = haichi(h);
  ASSERT_EQ(t.sasu({{5, 2, 5, 1, -KIN}}, 0).kotowari, Kotowari::nashi);  // the upper king
  EXPECT_EQ(t.shousha(), Gawa::sente);
  h.sfen = "4k4/9/9/9/9/9/9/4g4/4K4 w - 1";  // the upper pieces hold the turn
  t = haichi(h);
  ASSERT_EQ(t.sasu({{5, 8, 5, 9, KIN}}, 0).kotowari, Kotowari::nashi);  // the lower king
  EXPECT_EQ(t.shousha(), Gawa::gote);
}

// A record line cut short is refused with its line and the field that is missing when
// the record is played, as any other entry that cannot be.
TEST(TaikyokuState, ARecordLineMissingAFieldIsRefusedWithItsLine) {
  KifuEntry e;
  e.te = Te{3, 7, 3, 6, -HU};
  e.moto_koma = -HU, e.ue_ato = 1234;
  const std::string whole = entry_line(e);
  const KifuFile f = parse_kifu("t\r\nu\r\nv\r\n" + whole + "\r\n" + "3 334 10  10 0   0    5    0\r\n");
  ASSERT_EQ(f.entries.size(), 2u);
  EXPECT_EQ(kifu_sasenai(f.entries), "棋譜の5行目の手は盤上で指せません\n行の11番目の欄に数字がありません");
  EXPECT_EQ(kifu_sasenai({f.entries[0]}), "");
}

// A record is checked by the rules of play, not only by whether its pieces stand where it
// says: each case is refused at its own line with the game's own words, and the record
// up to it plays.
TEST(TaikyokuState, ARecordIsRefusedAtTheFirstLineThatIsNoLegalMoveInItsPlace) {
  auto te = [](int fc, int fr, int tc, int tr, int koma, int moto, int tori = 0) {
    KifuEntry e;
    e.te = Te{fc, fr, tc, tr, koma};
    e.moto_koma = moto, e.tori_koma = tori;
    return e;
  };
  // A whole first turn: a lower pawn, an upper pawn, another lower pawn.
  const std::vector<KifuEntry> turn = {te(7, 7, 7, 6, -HU, -HU), te(3, 3, 3, 4, HU, HU),
                                       te(2, 7, 2, 6, -HU, -HU)};
  ASSERT_EQ(kifu_sasenai(turn), "");
  auto with = [&](std::vector<KifuEntry> head, const KifuEntry& e) {
    head.push_back(e);
    return kifu_sasenai(head);
  };
  const std::string line = "棋譜の";
  const std::string nai = "行目の手は盤上で指せません\n";
  EXPECT_EQ(with({}, te(3, 7, 3, 5, -HU, -HU)), line + "4" + nai + "その駒はそこへ動けません");  // two squares
  EXPECT_EQ(with({turn[0], turn[1]}, te(7, 6, 7, 7, -HU, -HU)),
            line + "6" + nai + "その駒はそこへ動けません");  // backwards
  EXPECT_EQ(with({turn[0], turn[1]}, te(8, 8, 8, 3, -HISHA, -HISHA, HU)),
            line + "6" + nai + "その駒はそこへ動けません");  // a rook through its own pawn
  EXPECT_EQ(with({turn[0]}, te(2, 7, 2, 6, -HU, -HU)),
            line + "5" + nai + "2手目は相手の駒を動かします");  // the second move with its own piece
  EXPECT_EQ(with(turn, te(1, 7, 1, 6, -HU, -HU)),
            line + "7" + nai + "自分の駒を動かす番です");  // turn 2 begun with the opponent's piece
  EXPECT_EQ(with({turn[0], turn[1]}, te(7, 6, 7, 5, -HU, -HU)),
            line + "6" + nai + "１手目に動かした駒は動かせません");
  EXPECT_EQ(with({turn[0]}, te(7, 3, 7, 4, HU, HU)), "");
  EXPECT_EQ(with({turn[0], te(7, 3, 7, 4, HU, HU)}, te(7, 6, 7, 5, -HU, -HU)),
            line + "6" + nai + "１手目に動かした駒は動かせません");
  EXPECT_EQ(with({turn[0], te(7, 3, 7, 5, HU, HU, 0)}, te(8, 7, 8, 6, -HU, -HU)),
            line + "5" + nai + "その駒はそこへ動けません");  // the upper pawn two squares
  EXPECT_EQ(with({}, te(3, 7, 3, 6, -TO, -HU)), line + "4" + nai + "成れない所で成る手です");
  // A line that its file gives keeps its own number.
  std::vector<KifuEntry> numbered = {te(3, 7, 3, 5, -HU, -HU)};
  numbered[0].gyou = 9;
  EXPECT_EQ(kifu_kensa(numbered).gyou, 9);
  EXPECT_EQ(kifu_sasenai({}), "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません");

  // The computer keeps no king safe: the upper king walking into the lower bishop's line
  // is taken, and the game ends there. A person may not move a king into attack: with
  // the lower pieces (always a person's against the computer) the same is refused.
  const std::vector<KifuEntry> owatta = test::ou_tori_kifu();
  EXPECT_EQ(kifu_sasenai(owatta), "");
  EXPECT_EQ(with(owatta, te(5, 7, 5, 6, -HU, -HU)), line + "17" + nai + "この対局は終わっています");
  std::vector<KifuEntry> nite(owatta.begin(), owatta.begin() + 7);
  nite.push_back(te(6, 2, 7, 3, OU, OU));  // the lower side's second move puts the upper king in the line
  EXPECT_EQ(kifu_sasenai(nite), line + "11" + nai + "相手の玉が王手になる手です");
  // A match's computer plays the lower pieces too.
  EXPECT_EQ(kifu_sasenai(nite, {0, true}), "");

  // The computer passes over a move it finds none for, and its record goes on with the
  // next: its third move, with only the king it moved first, comes to nothing. Where it
  // had a move, the next turn's piece is no piece of this move.
  Taikyoku::Haichi h;
  h.sfen = "4k4/9/9/9/9/9/9/9/4K4 w - 1";
  h.dankai = Dankai::san;
  h.santeme = {5, 1, 0, 0};
  Taikyoku t = haichi(h);
  EXPECT_EQ(t.kifu_de_sasu(te(5, 9, 5, 8, -OU, -OU), false), Kotowari::nashi);
  EXPECT_EQ(t.dankai(), Dankai::ni);
  EXPECT_EQ(t.teban_nushi(), t.sita_gawa());
  h.sfen = "4k4/9/9/9/9/9/9/9/g3K4 w - 1";  // an upper gold too
  t = haichi(h);
  EXPECT_EQ(t.kifu_de_sasu(te(5, 9, 5, 8, -OU, -OU), false), Kotowari::dare_no_koma);
  EXPECT_EQ(t.dankai(), Dankai::san);

  // A record with such a turn of two entries is divided into turns by the rules' phases,
  // not three entries to a turn: the holders alternate, and the turn in progress at its
  // end is the lower side's, after its first move. The analysis takes the same turns.
  const std::vector<KifuEntry> tobashi = tobashi_kifu();
  const KifuKensa k = kifu_kensa(tobashi, {10, false});
  ASSERT_EQ(k.naze, "");
  ASSERT_GE(k.turns.size(), 3u);
  for (std::size_t i = 0; i < k.turns.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(k.turns[i].nushi_ue, i % 2 == 1);
    EXPECT_EQ(k.turns[i].owari - (i == 0 ? 0 : k.turns[i - 1].owari), i + 1 == k.turns.size() ? 2 : 3);
  }
  EXPECT_EQ(k.turn_hajime, static_cast<int>(tobashi.size()) - 1);
  EXPECT_EQ(k.dankai, Dankai::ni);
  EXPECT_FALSE(k.nushi_ue);
  std::vector<KaisekiKyokumen> turns;
  EXPECT_EQ(kaiseki_kyokumen(tobashi, turns, nullptr, {10, false}), "");
  ASSERT_EQ(turns.size(), k.turns.size());
  Taikyoku susumu = handicap_kyoku(10);
  susumu.kifu_yomikomi(tobashi);
  for (std::size_t i = 0; i < turns.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(turns[i].sita, i % 2 == 0);
    EXPECT_TRUE(test::same_position(turns[i].mae, susumu.pos()));
    while (susumu.kifu().kifu_ichi < k.turns[i].owari) ASSERT_EQ(susumu.kifu_susumu(), "");
    EXPECT_TRUE(test::same_position(turns[i].ato, susumu.pos()));
  }
}

// The computer's whole turn on a game: three moves, or one that mates and ends it.
TEST(ComTurn, AppliesThreeMovesAndEndsOnAMate) {
  Kyokumen start;
  start.shoki_haichi();
  Taikyoku g = sente_taikyoku(start, 3);
  ComTurn t;
  t.run(g);
  EXPECT_TRUE(t.te[1].te.ari && t.te[2].te.ari && t.te[3].te.ari);
  EXPECT_EQ(g.ichite_x(), t.te[1].te.te.tc);
  EXPECT_EQ(g.nite_y(), t.te[2].te.te.tr);
  EXPECT_EQ(g.shousha(), Gawa::nashi);

  // The lower king in the corner, walled in by its own silver and knight; an upper gold
  // guards (1, 8), where a gold from the upper hand gives mate.
  Kyokumen m;
  m.kara_ni();
  m.oku(9, 1, OU), m.oku(1, 9, -OU), m.oku(2, 8, -GIN), m.oku(2, 9, -KEI), m.oku(2, 7, KIN);
  m.mochigoma_ue[5] = 1;
  m.shiage();
  Taikyoku mate = sente_taikyoku(m, 3);
  ComTurn tm;
  tm.run(mate);
  EXPECT_EQ(mate.shousha(), Gawa::gote);  // the upper side of a SENTE game
  EXPECT_TRUE(tm.ran[1]);
  EXPECT_FALSE(tm.ran[2]);
  EXPECT_FALSE(tm.ran[3]);
  EXPECT_EQ(mate.pos().ban[1][8], KIN);
  EXPECT_EQ(mate.pos().mochigoma_ue[5], 0);
  EXPECT_EQ(mate.pos().mochigoma_su_ue, 0);
}

}  // namespace
}  // namespace mirado
