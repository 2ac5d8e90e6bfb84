#include "kifu/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace mirado {

namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Converts as much as possible; on an invalid or unconvertible sequence calls
// on_bad(out) and skips `skip` input bytes, or stops when on_bad returns false.
template <typename OnBad>
bool convert(const char* to, const char* from, std::string_view in, std::string& out, OnBad on_bad) {
  Iconv cd(to, from);
  if (!cd.ok()) return false;
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  char buf[1024];
  while (left > 0) {
    char* dst = buf;
    size_t room = sizeof buf;
    const size_t r = iconv(cd.get(), &src, &left, &dst, &room);
    out.append(buf, static_cast<size_t>(dst - buf));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      if (!on_bad(out)) return false;
      ++src;  // skip one byte of the bad sequence
      --left;
    }
  }
  char* dst = buf;
  size_t room = sizeof buf;
  iconv(cd.get(), nullptr, nullptr, &dst, &room);
  out.append(buf, static_cast<size_t>(dst - buf));
  return true;
}

}  // namespace

std::optional<std::string> utf8_to_cp932(std::string_view utf8) {
  std::string out;
  if (!convert("CP932", "UTF-8", utf8, out, [](std::string&) { return false; })) return std::nullopt;
  return out;
}

std::string cp932_to_utf8(std::string_view cp932) {
  std::string out;
  convert("UTF-8", "CP932", cp932, out, [](std::string& o) {
    o += "\xEF\xBF\xBD";
    return true;
  });
  return out;
}

}  // namespace mirado
