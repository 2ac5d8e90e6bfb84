// A game in progress outlives quitting: closing the window keeps it in "中断.棋譜", an
// ordinary record whose header says how to play it on, and 続きから takes it up again.
// A command that would drop a game in progress keeps it the same way first.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/game.h"
#include "kifu/file_io.h"
#include "kifu/kifu_file.h"
#include "rules/sfen.h"

namespace mirado {

namespace {

namespace fs = std::filesystem;

constexpr const char* kChuudanFile = "中断.棋譜";
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

// How a kept game is played on, from its header.
struct Tsuzuki {
  TaikyokuShu shu = TaikyokuShu::ningen;
  int level = 3;
  int handicap = 0;
};

std::string midashi_title(int handicap) {
  std::string t(kTitle);
  if (handicap != 0) t += std::string(kHandicap) + std::to_string(handicap);
  return t;
}

std::optional<Tsuzuki> midashi_yomu(const KifuFile& f) {
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

// The moves to keep: the game as played (stepped back, to the end of its record, which
// the next move would cut), less a turn the computer has not finished (it plays its whole
// turn again when the game goes on).
int nokosu_te(const Taikyoku& t, bool zenbu = true) {
  const int owari = zenbu ? t.kifu().kifu_nagasa : t.kifu().kifu_ichi;
  const int k = owari % 3;
  if (k != 0 && t.com_taikyoku() && is_ue(t.kifu().at(owari - k + 1).moto_koma)) return owari - k;
  return owari;
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

// Is the kept record the last game left in this folder, as far as can be known? Not when
// its clocks file does not match it (a later quit could not keep its game and said so),
// nor in a folder nothing can be written to (a later quit could not have kept one).
bool saigo_no_chuudan() {
  std::string kifu;
  int err = 0;
  if (read_capped(kChuudanFile, KIFU_SAIDAI_BYTE, kifu, err) != Yomikomi::ok) return false;
  return tokei_yomu(kifu).has_value() && ::access(".", W_OK) == 0;
}

// Sets `t` up as the kept game was, stepped to its end. Empty when it plays to its end,
// else why not.
std::string narabete_miru(Taikyoku& t, const Tsuzuki& z, const std::vector<KifuEntry>& entries) {
  if (std::string naze = kifu_sasenai(entries, {z.handicap, false}); !naze.empty()) return naze;
  t.shinki();
  for (int i = 0; i < (z.handicap < 0 ? -z.handicap : z.handicap); ++i) t.handicap_kaeru(z.handicap > 0 ? 1 : -1);
  t.kifu_yomikomi(entries);
  while (t.kifu().kifu_ichi < t.kifu().kifu_nagasa) {
    if (t.owatta()) return "この対局は終わっています";
    if (std::string naze = t.kifu_susumu(); !naze.empty()) return naze;
  }
  if (t.owatta()) return "この対局は終わっています";
  t.set_level(z.level);
  t.tsuzuki(z.shu);
  return {};
}

std::vector<KifuEntry> kifu_made(const Taikyoku& t, int n) {
  std::vector<KifuEntry> e;
  for (int i = 1; i <= n; ++i) e.push_back(t.kifu().at(i));
  return e;
}

// Do these entries play on from the even start, passing through the position on the board
// (a game set up at a position no record can start from does not), so that 続きから can
// take them up?
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

bool Game::chuudan_dekiru() const {
  // Only a game being played: not one over, not a record stepped through, and not one
  // on a turned board, whose start no record can hold; and only where files may be
  // kept (without a data folder the player was told at start that nothing is saved).
  return hozon_basho_ari() && taikyoku_.hajimatta() && !taikyoku_.owatta() && !taikyoku_.saisei_chu() &&
         !taikyoku_.hanten_zumi() && nokosu_te(taikyoku_) >= 1;
}

bool Game::chuudan_hozon(std::string& naze) {
  naze.clear();
  if (!chuudan_dekiru()) return false;
  // A game stepped back is kept to its end, with the clocks of that end, unless that end
  // finished it; else as it stands, with the clocks as shown, the unfinished charge in them.
  bool kiri = taikyoku_.kifu().kifu_nagasa > taikyoku_.kifu().kifu_ichi;
  std::vector<KifuEntry> entries = kifu_made(taikyoku_, nokosu_te(taikyoku_));
  if (kiri && !narabu(taikyoku_, entries)) {
    kiri = false;
    entries = kifu_made(taikyoku_, nokosu_te(taikyoku_, false));
  }
  if (entries.empty() || (!kiri && !narabu(taikyoku_, entries))) return false;
  const double sita = kiri ? entries.back().sita_ato : gamen_.jikan_gamen(taikyoku_.sita_gawa());
  const double ue = kiri ? entries.back().ue_ato : gamen_.jikan_gamen(taikyoku_.ue_gawa());
  const std::string ue_moji = taikyoku_.com_taikyoku()
                                  ? std::string(kCom) + std::to_string(taikyoku_.level())
                                  : std::string(kNingen);
  int bad = 0;
  const auto bytes =
      encode_kifu(midashi_title(taikyoku_.handicap()), ue_moji, std::string(kNingen), entries, bad);
  int err = 0;
  if (bytes && write_atomically(kTokeiFile, tokei_bytes(*bytes, sita, ue), err) &&
      write_atomically(kChuudanFile, *bytes, err))
    return true;
  naze = bytes ? std::string(kChuudanFile) + ": " + std::strerror(err) : "棋譜にできない手があります";
  // The clocks of a game kept before stay no more: that game is not the last one left.
  std::error_code ec;
  fs::remove(kTokeiFile, ec);
  return false;
}

void Game::chuudan_nokosu() {
  std::string naze;
  if (chuudan_hozon(naze))
    gamen_.shiraseru("対局を残しました（対局 → 続きから）");
  else if (!naze.empty())
    gamen_.shiraseru("対局を残せませんでした（" + naze + "）");
}

bool Game::owari_kakunin(const std::string& naze) {
  const Answer a = msg("対局を残せません（" + naze + "）\r\rこのまま終わると、この対局は失われます。" +
                           "\r終わりますか？（いいえ: 対局に戻る）",
                       "終了", Buttons::yesno_iie, Icon::warning);
  // A second close while the box waits is the player's answer: the window goes.
  return a == Answer::yes || ports().ui->close_requested();
}

void Game::chuudan_shiraseru() {
  std::error_code ec;
  if (!hozon_basho_ari() || !fs::is_regular_file(kChuudanFile, ec)) return;
  gamen_.shiraseru(saigo_no_chuudan()
                       ? "中断した対局があります（対局 → 続きから）"
                       : "以前に中断した対局があります（最後の対局とは限りません。対局 → 続きから）");
}

void Game::tsuzuki() {
  panel_tojiru();
  if (te_tochuu_de_kotowaru("続きから")) return;
  KifuFile f;
  std::string error;
  std::optional<Tsuzuki> z;
  std::error_code ec;
  if (!hozon_basho_ari()) {
    error = "データフォルダを使えません（" + hozon_fuka_ + "）";
  } else if (!fs::exists(kChuudanFile, ec)) {
    error = "中断した対局はありません";
  } else if (read_kifu_file(kChuudanFile, f, error)) {
    z = midashi_yomu(f);
    if (!z || f.entries.empty()) error = std::string(kChuudanFile) + " は中断した対局の棋譜ではありません";
  }
  // Tried on a copy first: a kept game that cannot be played on leaves this one as it is.
  Taikyoku shiken;
  if (error.empty()) {
    if (std::string naze = narabete_miru(shiken, *z, f.entries); !naze.empty()) error = naze;
  }
  if (!error.empty()) {
    snd_play(Oto::kinshi);
    gamen_.kotowaru("続きから始められません");
    msg(error, "続きから");
    return;
  }
  std::string bytes;
  int err = 0;
  if (read_capped(kChuudanFile, KIFU_SAIDAI_BYTE, bytes, err) == Yomikomi::ok)
    if (const auto tokei = tokei_yomu(bytes)) shiken.tokei_modosu(tokei->first, tokei->second);
  // The game on the board, if one is in progress, takes the kept one's place.
  const bool irekae = chuudan_dekiru();
  if (irekae) chuudan_nokosu();
  shinki_kyoku();
  game() = shiken;
  level_settei(z->level);
  zenbu_egaku();  // the clocks with it, as the kept game left them
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  // Once resumed it is this game: never offered again as one left by quitting.
  if (!irekae) {
    if (!fs::remove(kChuudanFile, ec) && fs::exists(kChuudanFile))
      gamen_.shiraseru("中断した対局の棋譜を消せません（" + ec.message() + "）");
    fs::remove(kTokeiFile, ec);
  }
  if (is_checked(Menu::BGM)) snd_loop(Oto::bgm);
  aicon_ichi(taikyoku_.teban() == taikyoku_.ue_gawa() ? "上" : "下", taikyoku_.teban());
  saikai_suru();
}

}  // namespace mirado
