// The record file format: fixed columns, code page 932, CR LF; reading back by column.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

#include "kifu/cp932.h"
#include "kifu/kensa.h"
#include "kifu/kifu_file.h"
#include "kifu_support.h"

namespace mirado {
namespace {

KifuEntry entry(int mx, int my, int sx, int sy, int koma, int moto, int tori, double a, double b,
                double c, double d) {
  KifuEntry e;
  e.te = Te{mx, moto_fr(mx, my), sx, sy, koma};  // my: the row the file keeps
  e.moto_koma = moto, e.tori_koma = tori;
  e.sita_mae = a, e.sita_ato = b, e.ue_mae = c, e.ue_ato = d;
  return e;
}

TEST(KifuFormat, EntryLinesFillTheirColumnsExactly) {
  // A lower pawn from (3, 7) to (3, 6), five seconds after the start.
  EXPECT_EQ(entry_line(entry(3, 7, 3, 6, -10, -10, 0, 0, 5, 0, 0)),
            "3 7" "3" "6" "-10 " "-10 " "0   " "0    " "5    " "0    " "0    ");
  // Drops from each hand; a time of 1000 s or more still takes exactly five columns.
  EXPECT_EQ(entry_line(entry(11, 8, 5, 5, -800, -800, 0, 1234, 1240, 77, 77)),
            "118" "5" "5" "-800" "-800" "0   " "1234 " "1240 " "77   " "77   ");
  EXPECT_EQ(entry_line(entry(-1, 2, 4, 4, 900, 900, 0, 3, 3, 99999, 99999.9)),
            "-12" "4" "4" "900 " "900 " "0   " "3    " "3    " "99999" "99999");
  // Times are written as whole seconds; one that does not fit is clamped to five digits.
  EXPECT_EQ(entry_line(entry(2, 8, 8, 2, -801, -800, 800, 12.9, 100004, 0, 0)),
            "2 8" "8" "2" "-801" "-800" "800 " "12   " "99999" "0    " "0    ");
  EXPECT_EQ(entry_line(entry(1, 1, 1, 2, 20, 20, 0, 0, 0, 0, 0)).size(), 37u);
}

TEST(KifuFormat, FieldsAreCutByCharacterPosition) {
  KifuEntry e;
  ASSERT_TRUE(parse_entry_line("3 7" "3" "6" "-10 " "-10 " "0   " "0    " "5    " "0    " "1234 ", e));
  EXPECT_EQ(e.te.fc, 3);
  EXPECT_EQ(e.te.tr, 6);
  EXPECT_EQ(e.moto_koma, -10);
  EXPECT_EQ(e.sita_ato, 5);
  EXPECT_EQ(e.ue_ato, 1234);  // followed by a space
  // A two-byte character counts as one column: the fields after it stay in place.
  ASSERT_TRUE(parse_entry_line("５ 7" "3" "6" "-10 " "-10 " "0   " "0    " "5    " "0    " "0    ", e));
  EXPECT_EQ(e.te.fc, 0);  // not a number
  EXPECT_EQ(e.te.fr, 7);
  EXPECT_EQ(e.te.tc, 3);
  EXPECT_EQ(e.te.koma, -10);
  EXPECT_EQ(e.kaketa_ran, 1);  // a field without a digit holds no value
  // Short lines, letters, a lone sign and digits followed by garbage.
  ASSERT_TRUE(parse_entry_line("1", e));
  EXPECT_EQ(e.te.fc, 1);
  EXPECT_EQ(e.ue_ato, 0);
  EXPECT_EQ(e.kaketa_ran, 2);
  ASSERT_TRUE(parse_entry_line("ab" "x" "-" "9" "12x4" "  -3" "-   " "7.5  ", e));
  EXPECT_EQ(e.te.fc, 0);
  EXPECT_EQ(e.te.tc, 0);
  EXPECT_EQ(e.te.tr, 9);
  EXPECT_EQ(e.te.koma, 12);
  EXPECT_EQ(e.moto_koma, -3);
  EXPECT_EQ(e.tori_koma, 0);
  EXPECT_EQ(e.sita_mae, 7);
  // Blank lines are not moves.
  EXPECT_FALSE(parse_entry_line("", e));
  EXPECT_FALSE(parse_entry_line("     ", e));
}

// A line cut short, or with a field left blank, would read its missing fields as 0:
// the reader marks the first missing field, and the game refuses the entry by it.
TEST(KifuFormat, ALineMissingAFieldIsRefusedWithItsLine) {
  const std::string whole = entry_line(entry(3, 7, 3, 6, -10, -10, 0, 0, 5, 0, 1234));
  KifuEntry e;
  ASSERT_TRUE(parse_entry_line(whole, e));
  EXPECT_EQ(e.kaketa_ran, 0);
  // Trailing spaces stripped (as some editors do) leave every field whole.
  ASSERT_TRUE(parse_entry_line(whole.substr(0, whole.find_last_not_of(' ') + 1), e));
  EXPECT_EQ(e.kaketa_ran, 0);
  EXPECT_EQ(e.ue_ato, 1234);
  // Cut inside or before each time field, or a field blanked in the middle.
  for (std::size_t cut : {std::size_t{32}, std::size_t{31}, std::size_t{27}, std::size_t{17}, std::size_t{3}}) {
    SCOPED_TRACE(cut);
    ASSERT_TRUE(parse_entry_line(whole.substr(0, cut), e));
    EXPECT_NE(e.kaketa_ran, 0);
  }
  std::string blanked = whole;
  blanked.replace(22, 5, "     ");  // the lower side's time after the move
  ASSERT_TRUE(parse_entry_line(blanked, e));
  EXPECT_EQ(e.kaketa_ran, 9);

  const KifuFile f = parse_kifu("t\r\nu\r\nv\r\n" + whole + "\r\n" + "3 334 10  10 0   0    5    0\r\n");
  ASSERT_EQ(f.entries.size(), 2u);
  EXPECT_EQ(f.entries[1].kaketa_ran, 11);
}

// A record holds a drop by its hand slot; the file keeps the row of the hand cell, as
// files saved before did. A drop from each hand saves to that row and loads back to the
// same move, and the loaded record saves to the same bytes.
TEST(KifuFormat, ADropSavesAsItsHandCellRowAndLoadsBackToTheSameBytes) {
  KifuEntry sita;  // the lower bishop (slot 6), shown on row 8
  sita.te = Te{TE_SITA, 6, 5, 5, -KAKU};
  sita.moto_koma = -KAKU;
  sita.sita_ato = 4;
  KifuEntry ue;  // the upper pawn (slot 1), shown on row 7
  ue.te = Te{TE_UE, 1, 5, 4, HU};
  ue.moto_koma = HU;
  ue.sita_ato = 4, ue.ue_ato = 2;
  EXPECT_EQ(entry_line(sita), "118" "5" "5" "-800" "-800" "0   " "0    " "4    " "0    " "0    ");
  EXPECT_EQ(entry_line(ue), "-17" "5" "4" "10  " "10  " "0   " "0    " "4    " "0    " "2    ");
  int bad = 0;
  const std::optional<std::string> bytes = encode_kifu("t", "u", "v", {sita, ue}, bad);
  ASSERT_TRUE(bytes.has_value());
  const KifuFile f = parse_kifu(*bytes);
  ASSERT_EQ(f.entries.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    const Te& want = (i == 0 ? sita : ue).te;
    EXPECT_EQ(f.entries[i].te.fc, want.fc) << i;
    EXPECT_EQ(f.entries[i].te.fr, want.fr) << i;
    EXPECT_EQ(f.entries[i].te.tc, want.tc) << i;
    EXPECT_EQ(f.entries[i].te.tr, want.tr) << i;
    EXPECT_EQ(f.entries[i].te.koma, want.koma) << i;
  }
  EXPECT_EQ(encode_kifu("t", "u", "v", f.entries, bad), bytes);
  // Stepping the loaded drop takes the bishop from its own slot.
  Kyokumen p;
  p.kara_ni();
  p.ban[5][9] = -OU, p.ban[5][1] = OU;
  p.mochigoma_sita[6] = 1;
  p.shiage();
  EXPECT_EQ(te_kensa(p, f.entries[0]), Kotowari::nashi);
  do_move(p, kifu_te(f.entries[0]));
  EXPECT_EQ(p.mochigoma_sita[6], 0);
  EXPECT_EQ(p.ban[5][5], -KAKU);
}

TEST(KifuFormat, ReadsCrLfAndLfAlikeSkippingBlankLinesAndKeepingLineNumbers) {
  const std::string crlf =
      "\x91\xce\x8b\xc7\r\n\xc3\xbd\xc4\r\nB\r\n"
      "3 736-10 -10 0   0    5    0    0    \r\n"
      "\r\n"
      "   \r\n"
      "7 374 10  10  0   5    5    0    3    \r\n";
  std::string lf = crlf;
  for (std::size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
  for (const std::string& bytes : {crlf, lf}) {
    const KifuFile f = parse_kifu(bytes);
    EXPECT_EQ(f.title, "対局");
    EXPECT_EQ(f.line2, "ﾃｽﾄ");
    EXPECT_EQ(f.line3, "B");
    ASSERT_EQ(f.entries.size(), 2u);
    EXPECT_EQ(f.entries[0].gyou, 4);
    EXPECT_EQ(f.entries[1].gyou, 7);
    EXPECT_EQ(f.entries[1].te.koma, 10);
    EXPECT_EQ(f.entries[1].ue_ato, 3);
  }
  // A last line without its line end is read too.
  EXPECT_EQ(parse_kifu("t\nu\nv\n1 1111  10  0").entries.size(), 1u);
}

TEST(KifuFormat, MissingHeaderLinesRepeatTheLastLineRead) {
  const KifuFile one = parse_kifu("only a title\r\n");
  EXPECT_EQ(one.line2, "only a title");
  EXPECT_EQ(one.line3, "only a title");
  EXPECT_TRUE(one.entries.empty());
  const KifuFile none = parse_kifu("");
  EXPECT_EQ(none.title, "");
  EXPECT_EQ(none.line3, "");
  EXPECT_TRUE(parse_kifu("a\r\nb\r\nc\r\n").entries.empty());
}

TEST(KifuFormat, EncodingWritesCp932WithCrLfAndRefusesWhatItCannotHold) {
  int bad = -1;
  const auto bytes = encode_kifu("対局", "ﾃｽﾄ", "先手", {entry(3, 7, 3, 6, -10, -10, 0, 0, 5, 0, 0)}, bad);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(bad, 0);
  EXPECT_EQ(*bytes, "\x91\xce\x8b\xc7\r\n\xc3\xbd\xc4\r\n\x90\xe6\x8e\xe8\r\n"
                    "3 736-10 -10 0   0    5    0    0    \r\n");
  EXPECT_FALSE(encode_kifu("ok", "絵文字😀", "x", {}, bad));
  EXPECT_EQ(bad, 2);
  EXPECT_FALSE(encode_kifu("ok", "x", "two\nlines", {}, bad));
  EXPECT_EQ(bad, 3);
}

TEST(KifuFormat, GarbageNeverBreaksTheReader) {
  std::mt19937 rng(7);
  for (int round = 0; round < 200; ++round) {
    std::string bytes(static_cast<std::size_t>(rng() % 3000), '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 256);
    if (round % 3 == 0)
      for (std::size_t i = 0; i < bytes.size(); i += 1 + rng() % 50) bytes[i] = '\n';
    const KifuFile f = parse_kifu(bytes);
    for (const KifuEntry& e : f.entries) {
      EXPECT_GT(e.gyou, 3);
      EXPECT_LE(std::abs(e.te.fc), 99);  // two columns hold at most two digits
      EXPECT_LE(std::abs(e.ue_ato), 99999);
    }
  }
  // A line of any length: only its first 37 characters are fields.
  const KifuFile f = parse_kifu("a\nb\nc\n" + std::string(1 << 20, '9'));
  ASSERT_EQ(f.entries.size(), 1u);
  EXPECT_EQ(f.entries[0].te.fc, 99);
  EXPECT_EQ(f.entries[0].ue_ato, 99999);
}

using KifuFiles = test::KifuDir;

TEST_F(KifuFiles, ReadingRefusesWhatCannotBeReadWithAClearMessage) {
  KifuFile f;
  std::string error;
  EXPECT_FALSE(read_kifu_file("nothing-here.棋譜", f, error));
  EXPECT_NE(error.find("棋譜ﾌｧｲﾙを開けません"), std::string::npos);
  EXPECT_NE(error.find("nothing-here.棋譜"), std::string::npos);

  std::filesystem::create_directory("dir.棋譜");
  EXPECT_FALSE(read_kifu_file("dir.棋譜", f, error));
  EXPECT_NE(error.find("棋譜ﾌｧｲﾙを読み込めません"), std::string::npos);

  write_bytes("huge.棋譜", "a\nb\nc\n" + std::string(KIFU_SAIDAI_BYTE, ' '));
  EXPECT_FALSE(read_kifu_file("huge.棋譜", f, error));
  EXPECT_NE(error.find("大きすぎます"), std::string::npos);

  std::string many = "a\nb\nc\n";
  for (int i = 0; i <= KIFU_SAIDAI_TE; ++i) many += "1\n";
  write_bytes("many.棋譜", many);
  EXPECT_FALSE(read_kifu_file("many.棋譜", f, error));

  write_bytes("日本語の名前.棋譜", "t\r\nu\r\nv\r\n3 736-10 -10 0   0    5    0    0    \r\n");
  ASSERT_TRUE(read_kifu_file("日本語の名前.棋譜", f, error)) << error;
  EXPECT_EQ(f.entries.size(), 1u);
}

TEST_F(KifuFiles, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  std::string error;
  ASSERT_TRUE(write_file_atomically("a.棋譜", "old", error)) << error;
  ASSERT_TRUE(write_file_atomically("a.棋譜", "new contents", error));
  EXPECT_EQ(read_bytes("a.棋譜"), "new contents");

  std::filesystem::create_directory("taken.棋譜");
  EXPECT_FALSE(write_file_atomically("taken.棋譜", "x", error));
  EXPECT_NE(error.find("taken.棋譜"), std::string::npos);
  EXPECT_FALSE(write_file_atomically("no/such/dir/b.棋譜", "x", error));

  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir_)) ++files;
  EXPECT_EQ(files, 2);
  EXPECT_EQ(read_bytes("a.棋譜"), "new contents");
}

// Titles typed on Windows use the characters code page 932 adds to plain Shift_JIS (NEC
// and IBM extensions, its own forms of the wave dash and minus) and the backslash, which
// must stay one byte 0x5C: each is written as those exact bytes and read back unchanged.
TEST_F(KifuFiles, TitlesKeepCodePage932OnlyCharactersAndTheBackslash) {
  const std::string title = "\u2460\u2160\u3231\u9AD9\uFF5E\uFF0D\\x";  // ①Ⅰ㈱髙～－\x
  const std::string cp932 = "\x87\x40\x87\x54\x87\x8A\xFB\xFC\x81\x60\x81\x7C\x5C" "x";
  EXPECT_EQ(utf8_to_cp932(title), cp932);
  EXPECT_EQ(cp932_to_utf8(cp932), title);

  int bad = -1;
  const auto bytes = encode_kifu(title, "\u9AD9\u6A4B", "C:\\kifu", {entry(3, 7, 3, 6, -10, -10, 0, 0, 5, 0, 0)}, bad);
  ASSERT_TRUE(bytes) << bad;
  EXPECT_EQ(bytes->substr(0, cp932.size() + 2), cp932 + "\r\n");
  EXPECT_EQ(bytes->substr(cp932.size() + 2, 6), "\xFB\xFC\x8B\xB4\r\n");  // 髙橋

  std::string error;
  ASSERT_TRUE(write_file_atomically("t.棋譜", *bytes, error)) << error;
  EXPECT_EQ(read_bytes("t.棋譜"), *bytes);
  KifuFile f;
  ASSERT_TRUE(read_kifu_file("t.棋譜", f, error)) << error;
  EXPECT_EQ(f.title, title);
  EXPECT_EQ(f.line2, "\u9AD9\u6A4B");
  EXPECT_EQ(f.line3, "C:\\kifu");
  ASSERT_EQ(f.entries.size(), 1u);
}

TEST(KifuFormat, CentredTextsMoveLeftByCharacters) {
  EXPECT_EQ(chuuou_x("1234567890123"), 1050 + 495 * 3);
  EXPECT_EQ(chuuou_x("対局"), chuuou_x("ab"));  // characters, not bytes
  EXPECT_EQ(chuuou_x("") - chuuou_x("a"), 99);
}

}  // namespace
}  // namespace mirado
