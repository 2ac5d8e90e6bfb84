// The file helper every saved and loaded file goes through.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>  // umask

#include <sys/wait.h>

#include <atomic>
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

// Keeps writing `bytes` and its twin to `name` until killed; a write that fails ends the
// child with status 1, which the parent sees instead of its signal.
[[noreturn]] void keep_writing(const char* name, const std::string& a, const std::string& b) {
  for (int i = 0;; ++i) {
    int e = 0;
    if (!write_atomically(name, i % 2 ? a : b, e)) ::_exit(1);
  }
}

// Saves killed at any moment, two writers in one folder at once (a record, and the
// settings of a second window): each file is the old one or the new one, whole, no write
// ever fails for the other's sake, at most the temporary file each was writing is left,
// and the next save clears them away.
TEST(FileIo, ASaveKilledAtRandomMomentsLeavesAWholeFileAndClearsItsTemporary) {
  test::TempCwd cwd;
  const std::string a(300000, 'a'), b(200000, 'b'), c(3000, 'c'), d(2000, 'd');
  int err = 0;
  ASSERT_TRUE(write_atomically("rec.棋譜", a, err));
  ASSERT_TRUE(write_atomically("ミラド将棋.ini", c, err));
  std::mt19937 rng(20261207);
  for (int round = 0; round < 50; ++round) {
    const pid_t kifu = ::fork();
    ASSERT_GE(kifu, 0);
    if (kifu == 0) keep_writing("rec.棋譜", a, b);
    const pid_t settei = ::fork();
    ASSERT_GE(settei, 0);
    if (settei == 0) keep_writing("ミラド将棋.ini", c, d);
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 20000));
    for (const pid_t child : {kifu, settei}) {
      ::kill(child, SIGKILL);
      int status = 0;
      ::waitpid(child, &status, 0);
      ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round << ": a write failed";
    }
    const std::string rec = read_bytes("rec.棋譜"), ini = read_bytes("ミラド将棋.ini");
    ASSERT_TRUE(rec == a || rec == b) << "round " << round << ": " << rec.size() << " bytes";
    ASSERT_TRUE(ini == c || ini == d) << "round " << round << ": " << ini.size() << " bytes";
    ASSERT_LE(temporaries("."), 2) << "round " << round;
  }
  ASSERT_TRUE(write_atomically("rec.棋譜", a, err));
  EXPECT_EQ(temporaries("."), 0);
}

// Two windows changing options and records saved beside them: every one of thousands of
// writes in one folder at once succeeds, though each write first clears the folder of
// temporary files no running write holds.
TEST(FileIo, TwoWritersInOneFolderNeverBreakEachOther) {
  test::TempCwd cwd;
  constexpr int kWrites = 400;
  std::atomic<int> failed{0};
  const auto writer = [&failed](const char* name, char fill) {
    for (int i = 0; i < kWrites; ++i) {
      int e = 0;
      if (!write_atomically(name, std::string(100 + i % 50, fill), e)) ++failed;
    }
  };
  std::thread one(writer, "ミラド将棋.ini", 'x');
  std::thread two(writer, "ミラド将棋.ini", 'y');
  std::thread three(writer, "rec.棋譜", 'z');
  one.join();
  two.join();
  three.join();
  EXPECT_EQ(failed, 0) << "of " << 3 * kWrites << " writes";
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

// The clean-up before every save takes only the temporary files this game makes now:
// a player's own hidden files beside records and settings stay, whatever their names.
TEST(FileIo, OnlyOurTemporaryNamesAreRecognisedAndRemoved) {
  EXPECT_TRUE(is_temporary_name(".mirado-aZ09xy"));
  EXPECT_FALSE(is_temporary_name(".mirado-aZ09x"));
  EXPECT_FALSE(is_temporary_name(".mirado-aZ09x!"));
  EXPECT_FALSE(is_temporary_name(".notes.txt.abcdef"));
  EXPECT_FALSE(is_temporary_name("第1局.棋譜"));
  EXPECT_FALSE(is_temporary_name(".棋譜.abcdef"));
  test::TempCwd cwd;
  for (const std::string& name : test::players_own_files()) EXPECT_FALSE(is_temporary_name(name)) << name;
  test::write_players_own_files();
  write_bytes(".mirado-Stale1", "left by a write that was killed");
  int err = 0;
  ASSERT_TRUE(write_atomically("第1局.棋譜", "record", err)) << err;
  ASSERT_TRUE(write_atomically("ミラド将棋.ini", "settings", err)) << err;
  EXPECT_EQ(test::players_own_files_touched(), std::vector<std::string>{});
  EXPECT_FALSE(fs::exists(".mirado-Stale1"));
}

// In a child with a mount table of its own: a record on a file system mounted read-only
// is refused with that reason, not as a matter of permission. 77: no such mount here.
int write_on_read_only_mount() {
  if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
      ::mount("none", "ro", "tmpfs", 0, nullptr) != 0)
    return 77;
  write_bytes("ro/rec.棋譜", "old");
  if (::mount(nullptr, "ro", nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) return 77;
  int replace = 0, fresh = 0;
  if (replaceable("ro/rec.棋譜", replace) || write_atomically("ro/rec.棋譜", "new", replace)) return 1;
  if (write_atomically("ro/new.棋譜", "new", fresh)) return 2;
  return replace == EROFS && fresh == EROFS ? 0 : 3;
}

TEST(FileIo, AReadOnlyFileSystemIsGivenAsTheReason) {
  test::TempCwd cwd;
  fs::create_directory("ro");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(write_on_read_only_mount());
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no private read-only mount can be made here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: written or called replaceable, 2: a new file written, 3: another reason";
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
