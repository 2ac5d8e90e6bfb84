// The settings file "ミラド将棋.ini" and the option menu commands.
//
// The file lives in the working directory; when that cannot be written it lives in
// the user's configuration folder instead. It is code page 932 with CR LF, and is
// always replaced whole through a temporary file, so it is never left half written.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/game.h"
#include "kifu/file_io.h"
#include "kifu/cp932.h"

namespace mirado {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSetteiFile = "ミラド将棋.ini";
// Five short lines; anything much bigger is not a settings file of this game.
constexpr std::uintmax_t kMaxSetteiBytes = 64 * 1024;

struct HaikeiGo {
  Menu item;
  int id;
  const char* go;  // the file's word for it
};

// In the order the menu items are cleared and the first checked one is written. The
// file calls TAKE "美女３" and RENGA "美女２", crosswise to their captions; existing
// files depend on it.
constexpr HaikeiGo kHaikei[] = {
    {Menu::MIDORI, HAIKEI_MIDORI, "緑"},
    {Menu::TAKE, HAIKEI_TAKE, "美女３"},
    {Menu::TATAMI, HAIKEI_TATAMI, "美女１"},
    {Menu::UCHU, HAIKEI_UCHU, "宇宙"},
    {Menu::RENGA, HAIKEI_RENGA, "美女２"},
};

using Gyou = std::pair<std::string, std::string>;  // key, value (UTF-8)

// $XDG_CONFIG_HOME (only if absolute), else ~/.config; "" when neither is known.
fs::path config_file() {
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home && home[0] != '\0') {
    base = fs::path(home) / ".config";
  } else {
    return {};
  }
  return base / "mirado-shogi" / kSetteiFile;
}

// The working directory takes the file when it can be written there: the folder is
// writable and the file, if any, is a writable regular file.
bool cwd_kakeru() {
  if (::access(".", W_OK | X_OK) != 0) return false;
  struct stat st {};
  if (::stat(kSetteiFile, &st) != 0) return errno == ENOENT;
  return S_ISREG(st.st_mode) && ::access(kSetteiFile, W_OK) == 0;
}

fs::path yomu_basho() {
  if (cwd_kakeru()) return kSetteiFile;
  const fs::path cfg = config_file();
  std::error_code ec;
  if (!cfg.empty() && fs::exists(cfg, ec)) return cfg;
  return kSetteiFile;  // a read-only file in the working directory is still read
}

// The lines of a readable settings file; nullopt when it cannot be opened or does not
// read as one: too big, control characters (binary data), bytes that are not code
// page 932, or a non-blank line without "=".
std::optional<std::vector<Gyou>> yomu(const fs::path& p) {
  std::string bytes;
  int err = 0;
  if (read_capped(p, kMaxSetteiBytes, bytes, err) != Yomikomi::ok) return std::nullopt;
  for (unsigned char c : bytes)
    if ((c < 0x20 && c != '\r' && c != '\n' && c != '\t') || c == 0x7F) return std::nullopt;
  const std::string text = cp932_to_utf8(bytes);
  if (text.find("\xEF\xBF\xBD") != std::string::npos) return std::nullopt;  // undecodable bytes

  std::vector<Gyou> gyou;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    const std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    if (line.empty()) continue;  // CR LF's second half, or a blank line
    const size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    gyou.emplace_back(line.substr(0, eq), line.substr(eq + 1));
  }
  return gyou;
}

bool okikae(const fs::path& path, const std::string& bytes) {
  int err = 0;
  return write_atomically(path, bytes, err);
}

// The working directory, else the configuration folder. False when neither took it.
bool kaku(const std::string& utf8) {
  const std::optional<std::string> bytes = utf8_to_cp932(utf8);
  if (!bytes) return false;
  if (cwd_kakeru()) {
    // A linked file is replaced where it really lies, so the link survives.
    std::error_code ec;
    fs::path target = kSetteiFile;
    if (fs::is_symlink(target, ec)) target = fs::canonical(target, ec);
    if (!target.empty() && okikae(target, *bytes)) return true;
  }
  const fs::path cfg = config_file();
  if (cfg.empty()) return false;
  std::error_code ec;
  fs::create_directories(cfg.parent_path(), ec);
  return !ec && okikae(cfg, *bytes);
}

// The options before any file is read: the green background, everything else off.
void yomu_mae(Game& g) {
  g.haikei_sentaku(HAIKEI_MIDORI);
  g.haikei = HAIKEI_MIDORI;
  g.sidou_on = false;
  g.sidou_iro = IRO_MIDORI;
  for (Menu m : {Menu::SIDOU, Menu::KEIKA, Menu::BGM, Menu::AICON}) g.set_checked(m, false);
  // The two later options, for files written before them.
  g.chokuzen_on = true;
  g.ichiran_on = false;
  g.kaiseki_zu_on = true;
  g.set_checked(Menu::CHOKUZEN, true);
  g.set_checked(Menu::ICHIRAN, false);
  g.set_checked(Menu::KAISEKI_ZU, true);
}

void sidou_settei(Game& g, bool on) {
  g.set_checked(Menu::SIDOU, on);
  g.sidou_on = on;
  g.sidou_iro = on ? IRO_SHIRO : IRO_MIDORI;  // off: outlines in the board colour stay invisible
}

void haikei_settei(Game& g, int id) {
  g.haikei_sentaku(id);
  g.haikei_shiku(id, -3, 28, -2, 17);
  g.haikei = id;
}

// The five default lines, applied as they are written.
void shoki_settei(Game& g) {
  haikei_settei(g, HAIKEI_MIDORI);
  sidou_settei(g, false);
  for (Menu m : {Menu::KEIKA, Menu::BGM, Menu::AICON}) g.set_checked(m, true);
  g.settei_kaki();
}

void tekiyou(Game& g, const Gyou& gyou) {
  const auto& [key, value] = gyou;
  if (key == "背景画") {
    for (const HaikeiGo& h : kHaikei)
      if (value == h.go) haikei_settei(g, h.id);
  } else if (key == "移動指導") {
    sidou_settei(g, value == "ON");
  } else if (key == "経過時間") {
    g.set_checked(Menu::KEIKA, value == "ON");
  } else if (key == "BGM") {
    g.set_checked(Menu::BGM, value == "ON");
  } else if (key == "ｱｲｺﾝ") {
    g.set_checked(Menu::AICON, value == "ON");
  } else if (key == "直前の手") {
    g.chokuzen_on = value == "ON";
    g.set_checked(Menu::CHOKUZEN, g.chokuzen_on);
  } else if (key == "棋譜一覧") {
    g.ichiran_on = value == "ON";
    g.set_checked(Menu::ICHIRAN, g.ichiran_on);
  } else if (key == "解析グラフ") {
    g.kaiseki_zu_on = value == "ON";
    g.set_checked(Menu::KAISEKI_ZU, g.kaiseki_zu_on);
  }
}

const char* on_off(bool on) { return on ? "ON" : "OFF"; }

}  // namespace

void Game::settei_yomi() {
  yomu_mae(*this);
  const auto gyou = yomu(yomu_basho());
  if (!gyou) {
    shoki_settei(*this);
    return;
  }
  for (const Gyou& line : *gyou) tekiyou(*this, line);
}

void Game::settei_kaki() {
  std::string text;
  for (const HaikeiGo& h : kHaikei)
    if (is_checked(h.item)) {
      text += std::string("背景画=") + h.go + "\r\n";
      break;
    }
  text += std::string("移動指導=") + on_off(is_checked(Menu::SIDOU)) + "\r\n";
  text += std::string("経過時間=") + on_off(is_checked(Menu::KEIKA)) + "\r\n";
  text += std::string("BGM=") + on_off(is_checked(Menu::BGM)) + "\r\n";
  text += std::string("ｱｲｺﾝ=") + on_off(is_checked(Menu::AICON)) + "\r\n";
  text += std::string("直前の手=") + on_off(chokuzen_on) + "\r\n";
  text += std::string("棋譜一覧=") + on_off(ichiran_on) + "\r\n";
  text += std::string("解析グラフ=") + on_off(kaiseki_zu_on) + "\r\n";
  // When no place takes the file, the options stay as the user set them; only
  // their lasting record is lost.
  kaku(text);
}

void Game::haikei_sentaku(int id) {
  for (const HaikeiGo& h : kHaikei) set_checked(h.item, false);
  for (const HaikeiGo& h : kHaikei)
    if (h.id == id) set_checked(h.item, true);
}

void Game::haikei_menu(int id) {
  for (const HaikeiGo& h : kHaikei)
    if (h.id == id && !is_checked(h.item)) {
      haikei_sentaku(id);
      haikei = id;
    }
  settei_kaki();
  zenbu_egaku();
}

void Game::sidou_menu() {
  if (is_checked(Menu::SIDOU)) {
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r) waku_egaku(IRO_MIDORI, c, r);
    for (int i = 1; i <= 7; ++i) {
      waku_egaku(IRO_MIDORI, -1, i);
      waku_egaku(IRO_MIDORI, 11, i + 2);
    }
    sidou_settei(*this, false);
  } else {
    sidou_settei(*this, true);
  }
  settei_kaki();
}

void Game::keika_menu() {
  if (is_checked(Menu::KEIKA)) {
    set_checked(Menu::KEIKA, false);
    set_timer(false);
    keika_kesu(sita_gawa());
    keika_kesu(ue_gawa());
  } else {
    set_checked(Menu::KEIKA, true);
    set_timer(true);
    keika_hyouji(ue_gawa(), jikan_ue());
    keika_hyouji(sita_gawa(), jikan_sita());
  }
  settei_kaki();
}

void Game::bgm_menu() {
  if (is_checked(Menu::BGM)) {
    set_checked(Menu::BGM, false);
    snd_stop(Oto::bgm);
  } else {
    set_checked(Menu::BGM, true);
    snd_loop(Oto::bgm);
  }
  settei_kaki();
}

void Game::aicon_menu() {
  if (is_checked(Menu::AICON)) {
    set_checked(Menu::AICON, false);
    for (Control c : {Control::AICON_MAN1, Control::AICON_MAN2, Control::AICON_COM})
      set_visible(c, false);
  } else {
    set_checked(Menu::AICON, true);
    if (taikyoku_shu() == TaikyokuShu::com) aicon_ichi("下", sita_gawa());
  }
  settei_kaki();
}

}  // namespace mirado
