// Random play for a long time: mouse presses on random cells and hands with both
// buttons, menu commands in random order, saving and loading records, options, and
// message boxes answered at random, over games between two people and against the
// computer at every level. After every event the position and the record must be
// sound (the position's own kyokumen_fusei, and tests/kyokumen_kensa.h).
//
// MIRADO_SOAK_EVENTS sets the events per profile (default a short smoke run; the test
// soak_long, label "long", runs a million), and MIRADO_SOAK_SEED the first seed; a
// failure prints the seed and the last events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "soak_play.h"
#include "temp_cwd.h"

namespace mirado::test {
namespace {

long env_long(const char* name, long fallback) {
  const char* v = std::getenv(name);
  return v && *v ? std::strtol(v, nullptr, 10) : fallback;
}

struct Case {
  const char* name;
  Profile profile;
  long events;  // the short run
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class SoakTest : public ::testing::TestWithParam<Case> {};

TEST_P(SoakTest, EveryEventLeavesASoundGame) {
  TempCwd cwd;
  const Case& c = GetParam();
  const long n = env_long("MIRADO_SOAK_EVENTS", c.events);
  const auto seed = static_cast<std::uint64_t>(env_long("MIRADO_SOAK_SEED", 20240611)) +
                    static_cast<std::uint64_t>(c.profile);
  Soak soak(c.profile, seed);
  const std::string fault = soak.hashiru(n);
  if (!fault.empty()) FAIL() << fault;
  const Tokei& t = soak.tokei;
  std::printf("%s: %ld events, %ld moves, computer turns by level %ld/%ld/%ld/%ld, %ld games won, "
              "%ld saves, %ld games kept, %ld loads, %ld flips, %ld handicap steps\n",
              c.name, t.events, t.te, t.com_ban[1], t.com_ban[2], t.com_ban[3], t.com_ban[4], t.shouri,
              t.hozon, t.nokoshita, t.yomikomi, t.hanten, t.handicap);
  // The run must have gone where it was meant to go.
  EXPECT_GT(t.te, n / 20);
  // Random presses between two people almost never mate; the computer does.
  if (c.profile != Profile::ningen) {
    EXPECT_GT(t.shouri, 0);
  }
  EXPECT_GT(t.hozon, 0);
  EXPECT_GT(t.nokoshita, 0);
  EXPECT_GT(t.yomikomi, 0);
  if (c.profile != Profile::ningen) {
    for (int lv = 1; lv <= 4; ++lv) EXPECT_GT(t.com_ban[lv], 0) << "level " << lv;
  }
}

INSTANTIATE_TEST_SUITE_P(Soak, SoakTest,
                         ::testing::Values(Case{"ningen", Profile::ningen, 20000},
                                           Case{"com", Profile::com, 20000},
                                           Case{"mixed", Profile::mixed, 20000}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mirado::test
