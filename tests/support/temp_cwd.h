// A fresh temporary working directory for one test, with the user's configuration
// folder pointed inside it; the old directory and environment come back afterwards.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mirado::test {

class TempCwd {
 public:
  TempCwd() : old_(std::filesystem::current_path()) {
    if (const char* x = std::getenv("XDG_CONFIG_HOME")) old_xdg_ = x;
    std::string tmpl = (std::filesystem::temp_directory_path() / "mirado-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    dir_ = tmpl;
    std::filesystem::current_path(dir_);
    ::setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  }
  ~TempCwd() {
    std::filesystem::current_path(old_);
    if (old_xdg_) ::setenv("XDG_CONFIG_HOME", old_xdg_->c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TempCwd(const TempCwd&) = delete;
  TempCwd& operator=(const TempCwd&) = delete;

  const std::filesystem::path& dir() const { return dir_; }

 private:
  std::filesystem::path old_;
  std::optional<std::string> old_xdg_;
  std::filesystem::path dir_;
};

inline void write_bytes(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

inline std::string read_bytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

// A player's own hidden files beside records and settings, named much like the temporary
// files of a save (some as older versions named theirs): no save may touch them.
inline const std::vector<std::string>& players_own_files() {
  static const std::vector<std::string> names = {
      ".名局.棋譜.backup", ".club.棋譜.2024v1", ".ミラド将棋.ini.backup", ".第1局.棋譜.Q1w2E3",
      ".ミラド将棋.ini.abcdef", ".mirado-aZ09x", ".mirado-aZ09xyz", "mirado-aZ09xy", "mine.棋譜.tmp"};
  return names;
}

// Writes each of them in the working directory, its name as its contents.
inline void write_players_own_files() {
  for (const std::string& name : players_own_files()) write_bytes(name, name);
}

// Those of them that are gone or changed.
inline std::vector<std::string> players_own_files_touched() {
  std::vector<std::string> touched;
  for (const std::string& name : players_own_files())
    if (read_bytes(name) != name) touched.push_back(name);
  return touched;
}

}  // namespace mirado::test
