// Reading and writing game record files.
#include "kifu/kifu_file.h"

#include <cmath>
#include <cstring>

#include "kifu/file_io.h"
#include "kifu/cp932.h"

namespace mirado {

namespace {

namespace fs = std::filesystem;

constexpr int kHaba[11] = {2, 1, 1, 1, 4, 4, 4, 5, 5, 5, 5};  // column widths, in file order
constexpr int kGyouMoji = 37;

// Largest and smallest values that fit `width` columns in decimal.
long fit(long v, int width) {
  long hi = 1;
  for (int i = 0; i < width; ++i) hi *= 10;
  const long lo = -(hi / 10 - 1);
  return v > hi - 1 ? hi - 1 : (v < lo ? lo : v);
}

void put_field(std::string& out, long v, int width) {
  std::string s = std::to_string(fit(v, width));
  s.resize(static_cast<std::size_t>(width), ' ');
  out += s;
}

long whole_seconds(double t) { return static_cast<long>(std::floor(t)); }

// Leading spaces, an optional minus sign, then digits up to the first other character.
long field_value(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  const bool minus = i < s.size() && s[i] == '-';
  if (minus) ++i;
  long v = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) v = v * 10 + (s[i] - '0');
  return minus ? -v : v;
}

// A field holds a value only with a digit: a line cut short leaves its last fields blank
// or absent, which would otherwise read as 0.
bool has_digit(std::string_view s) { return s.find_first_of("0123456789") != std::string_view::npos; }

bool is_blank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }

std::string errno_text(const fs::path& path, int err) {
  return path.filename().string() + "\n(" + std::strerror(err) + ")";
}

}  // namespace

std::size_t moji_su(std::string_view utf8) {
  std::size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

int chuuou_x(std::string_view utf8) {
  const double n = static_cast<double>(moji_su(utf8));
  return static_cast<int>(1050 + 495 * (3 + (13 - n) / 5));
}

std::string entry_line(const KifuEntry& e) {
  std::string s;
  s.reserve(kGyouMoji);
  // The file keeps a drop's source as the row of its hand cell.
  const long v[11] = {e.te.fc, moto_gyou(e.te.fc, e.te.fr), e.te.tc, e.te.tr, e.te.koma,
                      e.moto_koma, e.tori_koma,
                      whole_seconds(e.sita_mae), whole_seconds(e.sita_ato),
                      whole_seconds(e.ue_mae), whole_seconds(e.ue_ato)};
  for (int i = 0; i < 11; ++i) put_field(s, v[i], kHaba[i]);
  return s;
}

bool parse_entry_line(std::string_view line, KifuEntry& e) {
  if (is_blank(line)) return false;
  // Byte offsets of the first characters, so that fields are cut by character.
  std::size_t start[kGyouMoji + 1];
  int k = 0;
  for (std::size_t i = 0; i < line.size() && k <= kGyouMoji; ++i)
    if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) start[k++] = i;
  for (; k <= kGyouMoji; ++k) start[k] = line.size();
  long v[11];
  int col = 0, kaketa = 0;
  for (int f = 0; f < 11; ++f) {
    const std::size_t a = start[col], b = start[col + kHaba[f]];
    v[f] = field_value(line.substr(a, b - a));
    if (kaketa == 0 && !has_digit(line.substr(a, b - a))) kaketa = f + 1;
    col += kHaba[f];
  }
  e = KifuEntry{};
  e.kaketa_ran = kaketa;
  e.te.fc = static_cast<int>(v[0]);
  e.te.fr = moto_fr(e.te.fc, static_cast<int>(v[1]));  // a hand cell's row names its slot
  e.te.tc = static_cast<int>(v[2]);
  e.te.tr = static_cast<int>(v[3]);
  e.te.koma = static_cast<int>(v[4]);
  e.moto_koma = static_cast<int>(v[5]);
  e.tori_koma = static_cast<int>(v[6]);
  e.sita_mae = static_cast<double>(v[7]);
  e.sita_ato = static_cast<double>(v[8]);
  e.ue_mae = static_cast<double>(v[9]);
  e.ue_ato = static_cast<double>(v[10]);
  return true;
}

KifuFile parse_kifu(std::string_view bytes) {
  // Decoded whole: code page 932 has no state, and no byte of a two-byte character
  // is LF or CR, so the lines and their characters are those of the raw file.
  const std::string text = cp932_to_utf8(bytes);
  KifuFile f;
  std::string last;  // what a missing header line shows
  std::string* header[3] = {&f.title, &f.line2, &f.line3};
  int gyou = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    const std::size_t next = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos = next;
    ++gyou;
    if (gyou <= 3) {
      last = line;
      *header[gyou - 1] = last;
      continue;
    }
    KifuEntry e;
    if (!parse_entry_line(line, e)) continue;
    e.gyou = gyou;
    f.entries.push_back(e);
    if (static_cast<int>(f.entries.size()) > KIFU_SAIDAI_TE) break;
  }
  for (int i = gyou; i < 3; ++i) *header[i] = last;
  return f;
}

std::optional<std::string> encode_kifu(std::string_view title, std::string_view line2,
                                       std::string_view line3,
                                       const std::vector<KifuEntry>& entries, int& bad_line) {
  std::string out;
  const std::string_view head[3] = {title, line2, line3};
  for (int i = 0; i < 3; ++i) {
    std::optional<std::string> b;
    if (head[i].find_first_of("\r\n") == std::string_view::npos) b = utf8_to_cp932(head[i]);
    if (!b) {
      bad_line = i + 1;
      return std::nullopt;
    }
    out += *b;
    out += "\r\n";
  }
  out.reserve(out.size() + entries.size() * (kGyouMoji + 2));
  for (const KifuEntry& e : entries) {
    out += entry_line(e);
    out += "\r\n";
  }
  bad_line = 0;
  return out;
}

bool read_kifu_file(const fs::path& path, KifuFile& out, std::string& error) {
  std::string bytes;
  int err = 0;
  switch (read_capped(path, KIFU_SAIDAI_BYTE, bytes, err)) {
    case Yomikomi::hirakenai: error = "棋譜ﾌｧｲﾙを開けません\n" + errno_text(path, err); return false;
    case Yomikomi::yomenai: error = "棋譜ﾌｧｲﾙを読み込めません\n" + errno_text(path, err); return false;
    case Yomikomi::ookisugiru: error = "棋譜ﾌｧｲﾙが大きすぎます\n" + path.filename().string(); return false;
    case Yomikomi::ok: break;
  }
  out = parse_kifu(bytes);
  if (static_cast<int>(out.entries.size()) > KIFU_SAIDAI_TE) {
    error = "棋譜ﾌｧｲﾙが大きすぎます\n" + path.filename().string();
    return false;
  }
  return true;
}

bool write_file_atomically(const fs::path& path, std::string_view bytes, std::string& error) {
  int err = 0;
  if (write_atomically(path, bytes, err)) return true;
  error = errno_text(path, err);
  return false;
}

}  // namespace mirado
