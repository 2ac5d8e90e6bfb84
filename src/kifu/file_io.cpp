#include "kifu/file_io.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace mirado {

namespace fs = std::filesystem;

namespace {

bool write_all(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

// Reads at most `cap` + 1 bytes, so a file that grew past the cap is noticed without
// reading it all.
bool read_all(int fd, std::string& out, std::size_t cap) {
  char buf[65536];
  while (out.size() <= cap) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return true;
}

// The mode a new file gets: read and write for all, less the process's umask.
mode_t new_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A rename is on disk only once its folder is; a folder that cannot be opened for
// that (some file systems) is no reason to call the save failed.
void sync_folder(const fs::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

Yomikomi read_capped(const fs::path& path, std::size_t cap, std::string& out, int& err) {
  out.clear();
  err = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    err = errno;
    return Yomikomi::hirakenai;
  }
  struct stat st {};
  Yomikomi r = Yomikomi::ok;
  if (::fstat(fd, &st) != 0) {
    err = errno;
    r = Yomikomi::yomenai;
  } else if (!S_ISREG(st.st_mode)) {
    err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    r = Yomikomi::yomenai;
  } else if (static_cast<std::uintmax_t>(st.st_size) > cap) {
    r = Yomikomi::ookisugiru;
  } else if (!read_all(fd, out, cap)) {
    err = errno;
    r = Yomikomi::yomenai;
  } else if (out.size() > cap) {
    r = Yomikomi::ookisugiru;
  }
  ::close(fd);
  if (r != Yomikomi::ok) out.clear();
  return r;
}

namespace {

// Every temporary file of ours is ".mirado-" and six letters or digits: short enough that
// a name the file system takes can always be saved, and distinct from anything else.
constexpr std::string_view kTmpMae = ".mirado-";
constexpr std::size_t kTmpRandom = 6;

bool alnum_tail(std::string_view s) {
  if (s.size() != kTmpRandom) return false;
  for (char c : s)
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
  return true;
}

// Mode of the file a write replaces; a new file gets the usual mode for created files.
// A file this user may not write is refused: replacing it through the folder would
// bypass the file's own protection.
bool replace_mode(const fs::path& target, mode_t& mode, int& err) {
  struct stat st {};
  if (::stat(target.c_str(), &st) != 0) {
    if (errno != ENOENT) {
      err = errno;
      return false;
    }
    mode = new_file_mode();
    return true;
  }
  if (S_ISDIR(st.st_mode)) {
    err = EISDIR;
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    err = EINVAL;
    return false;
  }
  // The system's own reason first: a read-only file system says so.
  if (::access(target.c_str(), W_OK) != 0) {
    err = errno;
    return false;
  }
  if ((st.st_mode & 0222) == 0) {
    err = EACCES;
    return false;
  }
  mode = st.st_mode & 07777;
  return true;
}

// Does the name `name` still lead to the file open as `fd`?
bool same_file(int fd, const char* name) {
  struct stat a {}, b {};
  return ::fstat(fd, &a) == 0 && ::lstat(name, &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Makes our temporary file in `dir` and holds a lock on it while it is written, so that
// another write's clean-up never takes a file in use. Between its making and its lock a
// clean-up may take it first: then the lock is refused or the name is gone, and another
// is made. -1 with errno on failure.
int make_temporary(const fs::path& dir, std::string& tmp) {
  for (int tries = 0; tries < 100; ++tries) {
    tmp = (dir / (std::string(kTmpMae) + std::string(kTmpRandom, 'X'))).string();
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    // A file system without locks still gets its write, unguarded as before.
    const bool taken = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (!taken && same_file(fd, tmp.c_str())) return fd;
    ::close(fd);  // a clean-up holds it, and removes it if it has not already
  }
  errno = EBUSY;
  return -1;
}

}  // namespace

bool replaceable(const fs::path& path, int& err) {
  mode_t mode = 0;
  return replace_mode(write_target(path), mode, err);
}

fs::path write_target(const fs::path& path) {
  fs::path p = path;
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(p, ec))) return p;
    const fs::path to = fs::read_symlink(p, ec);
    if (ec) return p;
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  return p;
}

bool is_temporary_name(std::string_view name) {
  return name.size() == kTmpMae.size() + kTmpRandom && name.substr(0, kTmpMae.size()) == kTmpMae &&
         alnum_tail(name.substr(kTmpMae.size()));
}

int remove_stale_temporaries(const fs::path& dir) {
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    if (!is_temporary_name(it->path().filename().string())) continue;
    const int fd = ::open(it->path().c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    // A write still running holds its lock; a killed one's lock died with it. The name
    // must still be the file locked: a write that finished has given it up.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        same_file(fd, it->path().c_str()) && ::unlink(it->path().c_str()) == 0)
      ++removed;
    ::close(fd);
  }
  return removed;
}

std::string yomenai_riyuu(Yomikomi r, int err, std::size_t cap) {
  if (r == Yomikomi::ookisugiru) return "larger than " + std::to_string(cap) + " bytes";
  if (r == Yomikomi::yomenai && err == EINVAL) return "not a regular file";
  return std::strerror(err);
}

namespace {

// Copies the rest of `from` into `to`; false with errno when a read or a write fails.
bool copy_all(int from, int to) {
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(from, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    if (!write_all(to, std::string_view(buf, static_cast<std::size_t>(n)))) return false;
  }
}

// The one way a file is replaced: `fill` writes the new contents into the temporary file.
template <typename Fill>
bool replace_atomically(const fs::path& path, Fill fill, int& err) {
  const fs::path target = write_target(path);
  const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
  mode_t mode = 0;
  if (!replace_mode(target, mode, err)) return false;
  remove_stale_temporaries(dir);
  std::string tmp;
  const int fd = make_temporary(dir, tmp);
  if (fd < 0) {
    err = errno;
    return false;
  }
  bool ok = ::fchmod(fd, mode) == 0 && fill(fd) && ::fsync(fd) == 0;
  err = ok ? 0 : errno;
  if (ok && ::rename(tmp.c_str(), target.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) ::unlink(tmp.c_str());
  ::close(fd);  // the lock goes only once the file has its name or is gone
  if (!ok) return false;
  sync_folder(dir);
  return true;
}

}  // namespace

bool write_atomically(const fs::path& path, std::string_view bytes, int& err) {
  return replace_atomically(path, [bytes](int fd) { return write_all(fd, bytes); }, err);
}

bool copy_atomically(const fs::path& from, const fs::path& to, int& err) {
  const int src = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (src < 0) {
    err = errno;
    return false;
  }
  struct stat st {};
  bool ok = false;
  if (::fstat(src, &st) != 0) err = errno;
  else if (!S_ISREG(st.st_mode)) err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  else ok = replace_atomically(to, [src](int fd) { return copy_all(src, fd); }, err);
  ::close(src);
  return ok;
}

}  // namespace mirado
