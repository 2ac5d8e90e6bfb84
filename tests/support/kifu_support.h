// Shared by the record tests: a scratch directory that is also the working directory.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

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

}  // namespace mirado::test
