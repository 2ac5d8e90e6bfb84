#include "kifu/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

std::string yomenai_riyuu(Yomikomi r, int err, std::size_t cap) {
  if (r == Yomikomi::ookisugiru) return "larger than " + std::to_string(cap) + " bytes";
  if (r == Yomikomi::yomenai && err == EINVAL) return "not a regular file";
  return std::strerror(err);
}

bool write_atomically(const fs::path& path, std::string_view bytes, int& err) {
  const fs::path dir = path.has_parent_path() ? path.parent_path() : fs::path(".");
  std::string tmp = (dir / ("." + path.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(tmp.data());
  if (fd < 0) {
    err = errno;
    return false;
  }
  struct stat st {};
  const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : new_file_mode();
  bool ok = ::fchmod(fd, mode) == 0 && write_all(fd, bytes) && ::fsync(fd) == 0;
  err = ok ? 0 : errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    err = errno;
  }
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
    ok = false;
    err = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    return false;
  }
  sync_folder(dir);
  return true;
}

}  // namespace mirado
