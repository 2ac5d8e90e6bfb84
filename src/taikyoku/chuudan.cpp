#include "taikyoku/chuudan.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "kifu/file_io.h"
#include "kifu/kifu_file.h"
#include "rules/sfen.h"

namespace mirado {

namespace {

namespace fs = std::filesystem;

// The clocks as they were shown when the game was left, which no record line holds (the
// turn's unfinished charge). It names the record it belongs to by size and checksum, so a
// pair that a crash split between the two writes is never mixed: it is written first, and
// a record it does not match goes on with the clocks of its last line.
constexpr const char* kTokeiFile = "中断.時計";
constexpr std::string_view kTokeiMagic = "ミラド将棋 中断した対局の時計 1";
constexpr std::size_t kTokeiCap = 1024;
constexpr std::string_view kTitle = "中断した対局";
constexpr std::string_view kHandicap = " ﾊﾝﾃﾞｨｷｬｯﾌﾟ";
constexpr std::string_view kCom = "COM LEVEL";
constexpr std::string_view kNingen = "人間";

std::string midashi_title(int handicap) {
  std::string t(kTitle);
  if (handicap != 0) t += std::string(kHandicap) + std::to_string(handicap);
  return t;
}

// The moves to keep: the game as played (stepped back, to the end of its record, which
// the next move would cut), less a turn the computer has not finished (it plays its whole
// turn again when the game goes on). Turns are the record's own: a phase the computer
// passed over has no entry.
int nokosu_te(const Taikyoku& t, bool zenbu = true) {
  const int owari = zenbu ? t.kifu().kifu_nagasa : t.kifu().kifu_ichi;
  if (!t.com_taikyoku() || owari == 0) return owari;
  const KifuKensa k = kifu_kensa(t.kifu().made(owari), {t.handicap(), false});
  if (!k.naze.empty() || k.turn_hajime == owari || !k.nushi_ue) return owari;
  return k.turn_hajime;
}

std::uint64_t kensa_wa(std::string_view b) {  // FNV-1a
  std::uint64_t h = 1469598103934665603ull;
  for (unsigned char c : b) h = (h ^ c) * 1099511628211ull;
  return h;
}

std::string tokei_bytes(const std::string& kifu, double sita, double ue) {
  char buf[200];
  std::snprintf(buf, sizeof buf, "\n%zu %016llx\n%.3f %.3f\n", kifu.size(),
                static_cast<unsigned long long>(kensa_wa(kifu)), sita, ue);
  return std::string(kTokeiMagic) + buf;
}

// Each side's clock as shown when the game was left, when the file beside the kept record
// belongs to it.
std::optional<std::pair<double, double>> tokei_yomu(const std::string& kifu) {
  std::string b;
  int err = 0;
  if (read_capped(kTokeiFile, kTokeiCap, b, err) != Yomikomi::ok) return std::nullopt;
  if (b.compare(0, kTokeiMagic.size(), kTokeiMagic) != 0) return std::nullopt;
  std::size_t size = 0;
  unsigned long long wa = 0;
  double sita = 0, ue = 0;
  char end = 0;
  if (std::sscanf(b.c_str() + kTokeiMagic.size(), "\n%zu %llx\n%lf %lf%c", &size, &wa, &sita, &ue, &end) != 5 ||
      end != '\n' || size != kifu.size() || wa != kensa_wa(kifu) || !(sita >= 0 && sita < 1e7) ||
      !(ue >= 0 && ue < 1e7))
    return std::nullopt;
  return std::pair{sita, ue};
}

// Sets `t` up as the kept game was, stepped to its end. Empty when it plays to its end,
// else why not.
std::string narabete_miru(Taikyoku& t, const Tsuzuki& z, const std::vector<KifuEntry>& entries) {
  if (std::string naze = kifu_sasenai(entries, {z.handicap, false}); !naze.empty()) return naze;
  t = handicap_kyoku(z.handicap);
  t.kifu_yomikomi(entries);
  while (t.kifu().kifu_ichi < t.kifu().kifu_nagasa) {
    if (t.owatta()) return "この対局は終わっています";
    if (std::string naze = t.kifu_susumu(); !naze.empty()) return naze;
  }
  if (t.owatta()) return "この対局は終わっています";
  t.level_settei(z.level);
  t.tsuzuki(z.shu);
  return {};
}

// Do these entries play on from the start the game's handicap left, passing through the
// position on the board (a game set up at a position no record can start from does not),
// so that 続きから can take them up?
bool narabu(const Taikyoku& t, const std::vector<KifuEntry>& entries) {
  Taikyoku shiken;
  if (!narabete_miru(shiken, Tsuzuki{t.taikyoku_shu(), t.level(), t.handicap()}, entries).empty())
    return false;
  const int ichi = t.kifu().kifu_ichi;
  if (ichi > static_cast<int>(entries.size())) return true;  // less the computer's unfinished turn
  for (int i = static_cast<int>(entries.size()); i > ichi; --i) shiken.kifu_modosu();
  return to_sfen(shiken.pos(), true, 0) == to_sfen(t.pos(), true, 0);
}

}  // namespace

std::optional<Tsuzuki> chuudan_midashi(const KifuFile& f) {
  if (f.title.compare(0, kTitle.size(), kTitle) != 0) return std::nullopt;
  Tsuzuki t;
  if (const std::size_t h = f.title.find(kHandicap); h != std::string::npos) {
    const std::string n = f.title.substr(h + kHandicap.size());
    char* end = nullptr;
    const long v = std::strtol(n.c_str(), &end, 10);
    if (end == n.c_str() || v < -10 || v > 10) return std::nullopt;
    t.handicap = static_cast<int>(v);
  }
  if (f.line2.compare(0, kCom.size(), kCom) == 0) {
    t.shu = TaikyokuShu::com;
    const std::string n = f.line2.substr(kCom.size());
    if (n.size() != 1 || n[0] < '1' || n[0] > '5') return std::nullopt;
    t.level = n[0] - '0';
  }
  return t;
}

int kifu_handicap(const KifuFile& f) {
  const std::optional<Tsuzuki> z = chuudan_midashi(f);
  return z ? z->handicap : 0;
}

bool nokoseru(const Taikyoku& t) {
  return t.hajimatta() && !t.owatta() && !t.saisei_chu() && !t.hanten_zumi() && nokosu_te(t) >= 1;
}

bool chuudan_kaku(const Taikyoku& t, double sita, double ue, std::string& naze) {
  naze.clear();
  if (!nokoseru(t)) return false;
  // A game stepped back is kept to its end, with the clocks of that end, unless that end
  // finished it; else as it stands, with the clocks as shown.
  bool kiri = t.kifu().kifu_nagasa > t.kifu().kifu_ichi;
  std::vector<KifuEntry> entries = t.kifu().made(nokosu_te(t));
  if (kiri && !narabu(t, entries)) {
    kiri = false;
    entries = t.kifu().made(nokosu_te(t, false));
  }
  if (entries.empty() || (!kiri && !narabu(t, entries))) return false;
  if (kiri) sita = entries.back().sita_ato, ue = entries.back().ue_ato;
  const std::string ue_moji = t.com_taikyoku() ? std::string(kCom) + std::to_string(t.level()) : std::string(kNingen);
  int bad = 0;
  const auto bytes = encode_kifu(midashi_title(t.handicap()), ue_moji, std::string(kNingen), entries, bad);
  int err = 0;
  if (bytes && write_atomically(kTokeiFile, tokei_bytes(*bytes, sita, ue), err) &&
      write_atomically(CHUUDAN_KIFU, *bytes, err))
    return true;
  naze = bytes ? std::string(CHUUDAN_KIFU) + ": " + std::strerror(err) : "棋譜にできない手があります";
  std::error_code ec;
  fs::remove(kTokeiFile, ec);
  return false;
}

bool saigo_no_chuudan() {
  std::string kifu;
  int err = 0;
  if (read_capped(CHUUDAN_KIFU, KIFU_SAIDAI_BYTE, kifu, err) != Yomikomi::ok) return false;
  return tokei_yomu(kifu).has_value() && ::access(".", W_OK) == 0;
}

std::string chuudan_yomu(Taikyoku& t, Tsuzuki& z) {
  std::error_code ec;
  if (!fs::exists(CHUUDAN_KIFU, ec)) return "中断した対局はありません";
  KifuFile f;
  std::string error;
  if (!read_kifu_file(CHUUDAN_KIFU, f, error)) return error;
  const std::optional<Tsuzuki> midashi = chuudan_midashi(f);
  if (!midashi || f.entries.empty()) return std::string(CHUUDAN_KIFU) + " は中断した対局の棋譜ではありません";
  z = *midashi;
  if (std::string naze = narabete_miru(t, z, f.entries); !naze.empty()) return naze;
  std::string bytes;
  int err = 0;
  if (read_capped(CHUUDAN_KIFU, KIFU_SAIDAI_BYTE, bytes, err) == Yomikomi::ok)
    if (const auto tokei = tokei_yomu(bytes)) t.tokei_modosu(tokei->first, tokei->second);
  return {};
}

std::string chuudan_kesu() {
  std::error_code ec;
  std::string naze;
  if (!fs::remove(CHUUDAN_KIFU, ec) && fs::exists(CHUUDAN_KIFU)) naze = ec.message();
  fs::remove(kTokeiFile, ec);
  return naze;
}

}  // namespace mirado
