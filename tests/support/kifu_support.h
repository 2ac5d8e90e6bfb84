// Shared by the record tests: a scratch directory that is also the working directory.
#pragma once

#include <gtest/gtest.h>
#include <grp.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include <vector>

#include "kifu/kifu_file.h"
#include "temp_cwd.h"

namespace mirado::test {

class KifuDir : public ::testing::Test {
 protected:
  void SetUp() override {
    cwd_.emplace();
    dir_ = cwd_->dir();
  }
  void TearDown() override { cwd_.reset(); }

  static std::string read_bytes(const std::filesystem::path& p) { return test::read_bytes(p); }
  static void write_bytes(const std::filesystem::path& p, const std::string& bytes) {
    test::write_bytes(p, bytes);
  }

  std::filesystem::path dir_;

 private:
  std::optional<TempCwd> cwd_;
};

// Runs `f` in a child process in the working folder made read-only, as a user the folder
// does not belong to when the tests run as root (root writes through any protection); the
// folder is writable again afterwards. 0 when `f` held, else the child's status.
template <typename F>
int ro_folder_child(F f) {
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::permissions(cwd, std::filesystem::perms(0555));
  const pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(3);
    ::_exit(f() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  std::filesystem::permissions(cwd, std::filesystem::perms(0700));
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A record entry from its fields as a file holds them (the source's row as its own).
inline KifuEntry kifu_te_of(int fc, int fr, int tc, int tr, int koma, int moto, int tori = 0) {
  KifuEntry e;
  e.te = Te{fc, fr, tc, tr, koma};
  e.moto_koma = moto;
  e.tori_koma = tori;
  return e;
}

// A game of five turns that ends with the lower bishop taking the upper king: in the
// fourth turn the upper king walks into the bishop's line, which a person may not do but
// the computer's procedures, which keep no king safe, may.
inline std::vector<KifuEntry> ou_tori_kifu() {
  return {kifu_te_of(3, 7, 3, 6, -HU, -HU),     kifu_te_of(7, 3, 7, 4, HU, HU),
          kifu_te_of(7, 7, 7, 6, -HU, -HU),     kifu_te_of(5, 1, 6, 2, OU, OU),
          kifu_te_of(1, 7, 1, 6, -HU, -HU),     kifu_te_of(1, 3, 1, 4, HU, HU),
          kifu_te_of(9, 7, 9, 6, -HU, -HU),     kifu_te_of(9, 3, 9, 4, HU, HU),
          kifu_te_of(2, 7, 2, 6, -HU, -HU),     kifu_te_of(6, 2, 7, 3, OU, OU),
          kifu_te_of(1, 6, 1, 5, -HU, -HU),     kifu_te_of(5, 3, 5, 4, HU, HU),
          kifu_te_of(2, 8, 7, 3, -KAKU, -KAKU, OU)};
}

// A record file whose pieces stand where each line says, but one line of which is no
// legal move in its place: its name, that line and the words it is refused with.
struct IhanKifu {
  std::string name;
  int line;
  std::string naze;
};

// Writes the records that break the rules into the working directory.
inline std::vector<IhanKifu> ihan_kifu_kaku() {
  const KifuEntry t1[3] = {kifu_te_of(7, 7, 7, 6, -HU, -HU), kifu_te_of(3, 3, 3, 4, HU, HU),
                           kifu_te_of(2, 7, 2, 6, -HU, -HU)};
  std::vector<KifuEntry> owari = ou_tori_kifu();
  owari.push_back(kifu_te_of(5, 7, 5, 6, -HU, -HU));
  const std::vector<std::pair<IhanKifu, std::vector<KifuEntry>>> cases = {
      {{"nimasu", 4, "その駒はそこへ動けません"}, {kifu_te_of(3, 7, 3, 5, -HU, -HU)}},
      {{"ushiro", 6, "その駒はそこへ動けません"}, {t1[0], t1[1], kifu_te_of(7, 6, 7, 7, -HU, -HU)}},
      {{"hisha", 6, "その駒はそこへ動けません"}, {t1[0], t1[1], kifu_te_of(8, 8, 8, 3, -HISHA, -HISHA, HU)}},
      {{"aite", 7, "自分の駒を動かす番です"}, {t1[0], t1[1], t1[2], kifu_te_of(1, 7, 1, 6, -HU, -HU)}},
      {{"ichite", 6, "１手目に動かした駒は動かせません"}, {t1[0], t1[1], kifu_te_of(7, 6, 7, 5, -HU, -HU)}},
      {{"owari", 17, "この対局は終わっています"}, owari},
  };
  std::vector<IhanKifu> out;
  for (const auto& [ihan, entries] : cases) {
    int bad = 0;
    const auto bytes = encode_kifu("t", "u", "v", entries, bad);
    std::string error;
    if (!bytes || !write_file_atomically(ihan.name + ".棋譜", *bytes, error)) ADD_FAILURE() << ihan.name;
    out.push_back(ihan);
  }
  return out;
}

}  // namespace mirado::test
