// What the fitting and checking tools share: the records of a folder, and a record's
// turns as the analysis divides them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/kaiseki.h"
#include "kifu/kifu_file.h"
#include "taikyoku/chuudan.h"
#include "taikyoku/taikyoku.h"

namespace mirado::tools {

// Every record file under dir, in name order (the same on every machine).
inline std::vector<std::filesystem::path> kiroku_tachi(const std::filesystem::path& dir) {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(dir))
    if (e.is_regular_file() && e.path().extension() == std::string(KIFU_KAKUCHOUSHI)) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

// The turns of the record at path; false when it cannot be read or played, or has none.
inline bool kiroku_turns(const std::filesystem::path& path, std::vector<KaisekiKyokumen>& turns) {
  KifuFile f;
  std::string error;
  return read_kifu_file(path, f, error) &&
         kaiseki_kyokumen(f.entries, turns, nullptr, {kifu_handicap(f), false}).empty() && !turns.empty();
}

}  // namespace mirado::tools
