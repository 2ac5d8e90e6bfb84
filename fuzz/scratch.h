// A private scratch directory that the fuzz targets work in: their files (records,
// settings) are written there, and it goes away when the process ends normally.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace mirado::fuzz {

inline std::filesystem::path& scratch_dir() {
  static std::filesystem::path dir;
  return dir;
}

inline void scratch_kesu() {
  std::error_code ec;
  std::filesystem::current_path("/", ec);
  std::filesystem::remove_all(scratch_dir(), ec);
}

// Moves into a fresh directory; the user's configuration folder points inside it too,
// so nothing outside is read or written.
inline void scratch_hairu() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "mirado-fuzz-XXXXXX").string();
  if (::mkdtemp(tmpl.data()) == nullptr) {
    std::perror("mkdtemp");
    std::abort();
  }
  scratch_dir() = tmpl;
  std::filesystem::current_path(scratch_dir());
  ::setenv("XDG_CONFIG_HOME", (scratch_dir() / "config").c_str(), 1);
  std::atexit(scratch_kesu);
}

inline void kaku(const std::string& name, std::string_view bytes) {
  std::ofstream f(name, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Stops the run with a message when a check fails; libFuzzer reports the input.
inline void hitsuyou(const std::string& fusei, const char* where) {
  if (fusei.empty()) return;
  std::fprintf(stderr, "%s: %s\n", where, fusei.c_str());
  std::abort();
}

}  // namespace mirado::fuzz
