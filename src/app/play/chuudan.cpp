// A game in progress outlives quitting: closing the window keeps it in "中断.棋譜", an
// ordinary record whose header says how to play it on, and 続きから takes it up again.
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/game.h"
#include "kifu/file_io.h"
#include "kifu/kifu_file.h"

namespace mirado {

namespace {

namespace fs = std::filesystem;

constexpr const char* kChuudanFile = "中断.棋譜";
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
    if (n.size() != 1 || n[0] < '1' || n[0] > '4') return std::nullopt;
    t.level = n[0] - '0';
  }
  return t;
}

// The moves to keep: those on the board, less a turn the computer has not finished (it
// plays its whole turn again when the game goes on).
int nokosu_te(const Game& g) {
  const int ichi = g.taikyoku().kifu().kifu_ichi;
  const int k = ichi % 3;
  if (k != 0 && g.taikyoku().com_taikyoku() &&
      is_ue(g.taikyoku().kifu().at(ichi - k + 1).moto_koma))
    return ichi - k;
  return ichi;
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

}  // namespace

void Game::chuudan_hozon() {
  if (!hozon_basho_ari()) return;
  // Only a game being played: not one over, not a record stepped through, and not one
  // on a turned board, whose start no record can hold.
  if (!taikyoku_.hajimatta() || taikyoku_.owatta() || taikyoku_.saisei_chu() ||
      taikyoku_.hanten_zumi())
    return;
  const int n = nokosu_te(*this);
  if (n < 1) return;
  std::vector<KifuEntry> entries;
  for (int i = 1; i <= n; ++i) entries.push_back(taikyoku_.kifu().at(i));
  const std::string ue = taikyoku_.com_taikyoku()
                             ? std::string(kCom) + std::to_string(taikyoku_.level())
                             : std::string(kNingen);
  int bad = 0;
  const auto bytes =
      encode_kifu(midashi_title(taikyoku_.handicap()), ue, std::string(kNingen), entries, bad);
  int err = 0;
  // Quitting goes on whatever happens here: there is nobody left to tell.
  if (bytes) write_atomically(kChuudanFile, *bytes, err);
}

void Game::chuudan_shiraseru() {
  std::error_code ec;
  if (hozon_basho_ari() && fs::is_regular_file(kChuudanFile, ec)) gamen_.shiraseru("中断した対局があります（対局 → 続きから）");
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
  shinki_kyoku();
  game() = shiken;
  level_settei(z->level);
  zenbu_egaku();  // the clocks with it, as the kept game left them
  gamen_.tesuu_hyouji(taikyoku_.tesuu());
  fs::remove(kChuudanFile, ec);
  if (is_checked(Menu::BGM)) snd_loop(Oto::bgm);
  aicon_ichi(taikyoku_.teban() == taikyoku_.ue_gawa() ? "上" : "下", taikyoku_.teban());
  saikai_suru();
}

}  // namespace mirado
