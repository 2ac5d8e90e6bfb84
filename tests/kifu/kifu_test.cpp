// The in-memory record: appending, overwriting and reading entries.
#include <gtest/gtest.h>

#include "kifu/kifu.h"

namespace mirado {
namespace {

KifuEntry entry(int saki_x) {
  KifuEntry e;
  e.te.tc = saki_x;
  return e;
}

TEST(Kifu, OnlyStoredEntriesCanBeOverwrittenAndReadingNeverAddsOne) {
  Kifu k;
  k.kiroku(entry(1));
  k.kiroku(entry(2));
  EXPECT_EQ(k.at(7).te.tc, 0);  // past the end: an entry of zeros
  k.okikae(5, entry(5));          // past the end: ignored
  EXPECT_EQ(k.at(5).te.tc, 0);
  k.okikae(2, entry(9));
  EXPECT_EQ(k.at(2).te.tc, 9);
  EXPECT_EQ(k.kifu_nagasa, 2);
  // Stepping back and playing again drops the line that was stepped over.
  k.kifu_ichi = 1;
  k.kiroku(entry(3));
  EXPECT_EQ(k.kifu_nagasa, 2);
  EXPECT_EQ(k.at(2).te.tc, 3);
}

}  // namespace
}  // namespace mirado
