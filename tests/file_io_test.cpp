// The file helper every saved and loaded file goes through.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>  // umask

#include <cerrno>
#include <filesystem>

#include "kifu/file_io.h"
#include "temp_cwd.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;
using test::read_bytes;
using test::write_bytes;

mode_t mode_of(const char* path) {
  struct stat st {};
  EXPECT_EQ(::stat(path, &st), 0);
  return st.st_mode & 07777;
}

TEST(FileIo, AReadTakesTheWholeFileUpToTheCapAndNamesWhatStopsIt) {
  test::TempCwd cwd;
  write_bytes("small", "abc");
  write_bytes("big", std::string(101, 'x'));
  fs::create_directory("folder");
  ASSERT_EQ(::mkfifo("pipe", 0600), 0);
  std::string out;
  int err = 0;
  EXPECT_EQ(read_capped("small", 100, out, err), Yomikomi::ok);
  EXPECT_EQ(out, "abc");
  EXPECT_EQ(read_capped("big", 100, out, err), Yomikomi::ookisugiru);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(read_capped("big", 101, out, err), Yomikomi::ok);
  EXPECT_EQ(read_capped("missing", 100, out, err), Yomikomi::hirakenai);
  EXPECT_EQ(err, ENOENT);
  EXPECT_EQ(read_capped("folder", 100, out, err), Yomikomi::yomenai);
  EXPECT_EQ(err, EISDIR);
  // A pipe with no writer would block an ordinary open for ever.
  EXPECT_EQ(read_capped("pipe", 100, out, err), Yomikomi::yomenai);
  EXPECT_EQ(err, EINVAL);
}

TEST(FileIo, AWriteReplacesTheFileKeepsItsModeAndLeavesNoTemporaryFile) {
  test::TempCwd cwd;
  int err = 0;
  write_bytes("rec", "old");
  ASSERT_EQ(::chmod("rec", 0640), 0);
  ASSERT_TRUE(write_atomically("rec", "new", err)) << err;
  EXPECT_EQ(read_bytes("rec"), "new");
  EXPECT_EQ(mode_of("rec"), 0640u);

  const mode_t mask = ::umask(022);
  ASSERT_TRUE(write_atomically("fresh", "x", err)) << err;
  ::umask(mask);
  EXPECT_EQ(mode_of("fresh"), 0644u);

  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(".")) ++files;
  EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace mirado
