// Writes the random games of the behaviour record: event scripts for mirado-cli play
// made by the soak test's random player, one section per game.
//
//   mirado_golden_scripts [GAMES [EVENTS]] > tests/golden/random.events
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "soak_play.h"
#include "temp_cwd.h"

int main(int argc, char** argv) {
  using namespace mirado::test;
  const int games = argc > 1 ? std::atoi(argv[1]) : 300;
  const long events = argc > 2 ? std::atol(argv[2]) : 150;
  static constexpr Profile kProfiles[] = {Profile::ningen, Profile::com, Profile::mixed};
  for (int i = 0; i < games; ++i) {
    // Each game saves and loads records in its own folder, as the replay will.
    TempCwd cwd;
    std::string script;
    Soak soak(kProfiles[i % 3], 7000 + static_cast<std::uint64_t>(i), script);
    soak.script_made(events);
    std::cout << "#= game " << i << "\n" << script;
  }
  return 0;
}
