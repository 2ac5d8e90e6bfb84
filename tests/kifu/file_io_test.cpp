// The file helper every saved and loaded file goes through.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>  // umask

#include <sys/wait.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <random>
#include <thread>

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

int temporaries(const fs::path& dir) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(dir)) n += is_temporary_name(e.path().filename().string());
  return n;
}

// A save killed at any moment leaves the old record or the new one, whole, and at most
// the one temporary file it was writing, which the next save clears away.
TEST(FileIo, ASaveKilledAtRandomMomentsLeavesAWholeFileAndClearsItsTemporary) {
  test::TempCwd cwd;
  const std::string a(300000, 'a'), b(200000, 'b');
  int err = 0;
  ASSERT_TRUE(write_atomically("rec.棋譜", a, err));
  std::mt19937 rng(20261207);
  for (int round = 0; round < 50; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) {
        int e = 0;
        write_atomically("rec.棋譜", i % 2 ? a : b, e);
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 20000));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string now = read_bytes("rec.棋譜");
    ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
    ASSERT_LE(temporaries("."), 1) << "round " << round;
  }
  ASSERT_TRUE(write_atomically("rec.棋譜", a, err));
  EXPECT_EQ(temporaries("."), 0);
}

// A disk that fills up part-way through a save (here a file size limit, in a child so the
// limit stays there): the save reports the failure and the old record is left whole.
TEST(FileIo, AWriteThatFailsPartWayLeavesTheOldFileAsItWas) {
  test::TempCwd cwd;
  const std::string old(10000, 'o'), longer(100000, 'n');
  write_bytes("rec.棋譜", old);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of killing the child
    struct rlimit lim {};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = 4096;
    if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) ::_exit(3);
    int err = 0;
    const bool ok = write_atomically("rec.棋譜", longer, err);
    ::_exit(ok ? 0 : err == EFBIG ? 1 : 2);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << "0: reported success, 2: another error, 3: no limit";
  const std::string now = read_bytes("rec.棋譜");
  EXPECT_TRUE(now == old) << now.size() << " bytes of " << now.substr(0, 1) << ", was " << old.size() << " of o";
  EXPECT_EQ(temporaries("."), 0);
}

TEST(FileIo, OnlyOurTemporaryNamesAreRecognised) {
  EXPECT_TRUE(is_temporary_name(".mirado-aZ09xy"));
  EXPECT_TRUE(is_temporary_name(".第1局.棋譜.Q1w2E3"));
  EXPECT_TRUE(is_temporary_name(".ミラド将棋.ini.abcdef"));
  EXPECT_FALSE(is_temporary_name(".mirado-aZ09x"));
  EXPECT_FALSE(is_temporary_name(".mirado-aZ09x!"));
  EXPECT_FALSE(is_temporary_name(".notes.txt.abcdef"));
  EXPECT_FALSE(is_temporary_name("第1局.棋譜"));
  EXPECT_FALSE(is_temporary_name(".棋譜.abcdef"));
}

TEST(FileIo, ALinkChainIsFollowedToTheFileItNames) {
  test::TempCwd cwd;
  fs::create_directory("d");
  write_bytes("d/real", "old");
  fs::create_symlink("real", "d/one");         // relative to the link's own folder
  fs::create_symlink("d/one", "two");
  int err = 0;
  ASSERT_TRUE(write_atomically("two", "new", err)) << err;
  EXPECT_TRUE(fs::is_symlink("two"));
  EXPECT_TRUE(fs::is_symlink("d/one"));
  EXPECT_EQ(read_bytes("d/real"), "new");
  fs::create_directory("folder");
  EXPECT_FALSE(write_atomically("folder", "x", err));
  EXPECT_EQ(err, EISDIR);
}

}  // namespace
}  // namespace mirado
