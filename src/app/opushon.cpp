// The settings file "ミラド将棋.ini" and the option menu commands (app/opushon.h).
//
// The file lives in the working directory (the player's data folder when the game is
// started from the desktop), and nowhere else, so there is never a second copy that
// could disagree. It is code page 932 with CR LF, read once at start and written only
// when the player changes an option, always whole through a temporary file. A file that
// does not read as settings is kept beside it as a backup before the defaults are used.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdio.h>  // renameat2

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "app/opushon.h"
#include "kifu/file_io.h"
#include "kifu/cp932.h"

namespace mirado {

namespace {

namespace fs = std::filesystem;

constexpr const char* kSetteiFile = "ミラド将棋.ini";
constexpr const char* kBakFile = "ミラド将棋.ini.bak";
// A few short lines; anything much bigger is not a settings file of this game.
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

enum class SetteiYomi { nai, yometa, kowareta };  // no file, read, there but not settings

// The lines of a settings file, from its bytes; nullopt when they do not read as one:
// control characters (binary data), bytes that are not code page 932, or a non-blank
// line without "=".
std::optional<std::vector<Gyou>> bunkai(const std::string& bytes) {
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

SetteiYomi yomu(std::vector<Gyou>& gyou, std::string& bytes) {
  int err = 0;
  switch (read_capped(kSetteiFile, kMaxSetteiBytes, bytes, err)) {
    case Yomikomi::hirakenai:
      if (err == ENOENT) return SetteiYomi::nai;
      return SetteiYomi::kowareta;
    case Yomikomi::yomenai: case Yomikomi::ookisugiru: return SetteiYomi::kowareta;
    case Yomikomi::ok: break;
  }
  std::optional<std::vector<Gyou>> g = bunkai(bytes);
  if (!g) return SetteiYomi::kowareta;
  gyou = std::move(*g);
  return SetteiYomi::yometa;
}

bool futsuu_fairu(const char* name) {
  struct stat st {};
  return ::stat(name, &st) == 0 && S_ISREG(st.st_mode);
}

// Do two regular files hold the same bytes? Compared a piece at a time, whatever their size.
bool onaji_naiyou(const char* a, const char* b) {
  std::error_code ec1, ec2;
  if (fs::file_size(a, ec1) != fs::file_size(b, ec2) || ec1 || ec2) return false;
  std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
  std::vector<char> ba(65536), bb(65536);
  while (fa && fb) {
    fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
    fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
    if (fa.gcount() != fb.gcount() || !std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin())) return false;
  }
  return fa.eof() && fb.eof();
}

// Is the settings file there now already kept, byte for byte, as the backup?
bool nokoshite_aru() {
  struct stat bak {};
  return ::lstat(kBakFile, &bak) == 0 && S_ISREG(bak.st_mode) && onaji_naiyou(kSetteiFile, kBakFile);
}

// Moves the backup there now to the first numbered name that is free, as a name: a
// link stays a link and the file it names is never written, and no name that exists is
// ever replaced. Empty when moved, else why not.
std::string bak_wo_zurasu() {
  for (int n = 1; n < 1000; ++n) {
    const std::string name = std::string(kBakFile) + "." + std::to_string(n);
    if (::renameat2(AT_FDCWD, kBakFile, AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) return {};
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) return std::strerror(errno);
    // A file system that cannot refuse to replace: a second name, then the first goes.
    if (::linkat(AT_FDCWD, kBakFile, AT_FDCWD, name.c_str(), 0) == 0)
      return ::unlink(kBakFile) == 0 ? std::string() : std::strerror(errno);
    if (errno != EEXIST) return std::strerror(errno);
  }
  return "「" + std::string(kBakFile) + ".1」から「.999」まで使われています";
}

// Keeps the settings file there now, whatever its size, as the backup before it is
// replaced, never losing an older backup. Empty when kept, else why not.
std::string bak_ni_nokosu() {
  if (nokoshite_aru()) return {};
  struct stat bak {};
  if (::lstat(kBakFile, &bak) == 0)
    if (std::string naze = bak_wo_zurasu(); !naze.empty()) return naze;
  int err = 0;
  if (!copy_atomically(kSetteiFile, kBakFile, err)) return std::strerror(err);
  return {};
}

struct HyoujiGo {
  ComHyouji h;
  const char* go;
};
constexpr HyoujiGo kHyouji[] = {{ComHyouji::hyoujun, "標準"},
                                {ComHyouji::hayai, "速い"},
                                {ComHyouji::shouryaku, "省略"}};
constexpr const char* kLevelGo[] = {"", "LEVEL1", "LEVEL2", "LEVEL3", "LEVEL4", "LEVEL5"};
struct KouryoGo {
  int ms;
  const char* go;
};
constexpr KouryoGo kKouryo[] = {{250, "0.25秒"}, {1000, "1秒"}, {3000, "3秒"}};

const char* on_off(bool on) { return on ? "ON" : "OFF"; }

// The options that are one switch each: the menu item that ticks it, how the options read
// and set it, the file's word for it and its value when the file names none, in the order
// the file writes them.
struct OnOffGo {
  Menu item;
  bool (Settei::*on)() const;
  void (Settei::*kaeru)(bool);
  const char* go;
  bool shoki;
};
constexpr OnOffGo kOnOff[] = {
    {Menu::CHOKUZEN, &Settei::chokuzen_on, &Settei::chokuzen, "直前の手", true},
    {Menu::ICHIRAN, &Settei::ichiran_on, &Settei::ichiran, "棋譜一覧", false},
    {Menu::KAISEKI_ZU, &Settei::kaiseki_zu_on, &Settei::kaiseki_zu, "解析グラフ", true},
    {Menu::NARI_KAKUNIN, &Settei::nari_kakunin, &Settei::nari_kakunin, "成りを確認", false},
};

void onoff_settei(Settei& s, Kirikae& k, const OnOffGo& o, bool on) {
  (s.*o.kaeru)(on);
  k.set_checked(o.item, (s.*o.on)());
}

}  // namespace

void Opushon::sidou_settei(bool on) {
  kirikae_.set_checked(Menu::SIDOU, on);
  settei_.sidou(on);
}

void Opushon::haikei_settei(int id) {
  haikei_sentaku(id);
  gamen_.haikei_shiku(id, -3, 28, -2, 17);
  settei_.haikei_kaeru(id);
}

// What holds for every setting a file does not name: a missing, empty or partial file
// gives the same options, line by line.
void Opushon::shoki_settei() {
  haikei_settei(HAIKEI_MIDORI);
  sidou_settei(false);
  for (Menu m : {Menu::KEIKA, Menu::BGM, Menu::AICON}) kirikae_.set_checked(m, true);
  for (const OnOffGo& o : kOnOff) onoff_settei(settei_, kirikae_, o, o.shoki);
  com_hyouji_settei(ComHyouji::hyoujun);
  kouryo_settei(250);
}

void Opushon::settei_tekiyou(const std::string& key, const std::string& value) {
  for (const OnOffGo& o : kOnOff)
    if (key == o.go) onoff_settei(settei_, kirikae_, o, value == "ON");
  if (key == "背景画") {
    for (const HaikeiGo& h : kHaikei)
      if (value == h.go) haikei_settei(h.id);
  } else if (key == "移動指導") {
    sidou_settei(value == "ON");
  } else if (key == "経過時間") {
    kirikae_.set_checked(Menu::KEIKA, value == "ON");
  } else if (key == "BGM") {
    kirikae_.set_checked(Menu::BGM, value == "ON");
  } else if (key == "ｱｲｺﾝ") {
    kirikae_.set_checked(Menu::AICON, value == "ON");
  } else if (key == "COMの手の表示") {
    for (const HyoujiGo& h : kHyouji)
      if (value == h.go) com_hyouji_settei(h.h);
  } else if (key == "COM対局ﾚﾍﾞﾙ") {
    for (int n = 1; n <= 5; ++n)
      if (value == kLevelGo[n]) level_settei(n);
  } else if (key == "COMの考慮時間") {
    for (const KouryoGo& k : kKouryo)
      if (value == k.go) kouryo_settei(k.ms);
  }
}

void Opushon::settei_yomi() {
  shoki_settei();
  if (!hozon_basho_ari()) {
    gamen_.shiraseru("データフォルダを使えないため既定の設定で始め、何も保存しません（" + hozon_fuka_ + "）");
    return;
  }
  std::vector<Gyou> gyou;
  std::string bytes;
  switch (yomu(gyou, bytes)) {
    case SetteiYomi::nai: return;
    case SetteiYomi::yometa:
      for (const auto& [key, value] : gyou) settei_tekiyou(key, value);
      return;
    case SetteiYomi::kowareta: break;
  }
  // Nothing is written back now: the file stays as it is until an option changes.
  if (!futsuu_fairu(kSetteiFile)) {
    gamen_.shiraseru("設定ファイル「" + std::string(kSetteiFile) + "」を読めないため、既定の設定を使います");
  } else if (const std::string naze = bak_ni_nokosu(); naze.empty()) {
    gamen_.shiraseru("設定ファイルを読めないため既定の設定を使います（元のファイルは「" + std::string(kBakFile) +
                     "」に残しました）");
  } else {
    gamen_.shiraseru("設定ファイルを読めないため既定の設定を使います（控えを残せません: " + naze + "）");
  }
}

void Opushon::settei_kaki() {
  std::string text;
  for (const HaikeiGo& h : kHaikei)
    if (kirikae_.is_checked(h.item)) {
      text += std::string("背景画=") + h.go + "\r\n";
      break;
    }
  text += std::string("移動指導=") + on_off(kirikae_.is_checked(Menu::SIDOU)) + "\r\n";
  text += std::string("経過時間=") + on_off(kirikae_.is_checked(Menu::KEIKA)) + "\r\n";
  text += std::string("BGM=") + on_off(kirikae_.is_checked(Menu::BGM)) + "\r\n";
  text += std::string("ｱｲｺﾝ=") + on_off(kirikae_.is_checked(Menu::AICON)) + "\r\n";
  for (const OnOffGo& o : kOnOff) text += std::string(o.go) + "=" + on_off((settei_.*o.on)()) + "\r\n";
  for (const HyoujiGo& h : kHyouji)
    if (h.h == settei_.com_hyouji()) text += std::string("COMの手の表示=") + h.go + "\r\n";
  if (taikyoku_.level() >= 1 && taikyoku_.level() <= 5)
    text += std::string("COM対局ﾚﾍﾞﾙ=") + kLevelGo[taikyoku_.level()] + "\r\n";
  for (const KouryoGo& k : kKouryo)
    if (k.ms == settei_.kouryo_ms()) text += std::string("COMの考慮時間=") + k.go + "\r\n";
  // When the file cannot take them the options hold for this session, and the player
  // is told why they will not last.
  std::string naze = hozon_basho_ari() ? std::string() : "データフォルダを使えません: " + hozon_fuka_;
  // A file there now that is not this game's settings is kept before it is replaced,
  // or not replaced at all.
  std::vector<Gyou> gyou;
  std::string bytes;
  if (naze.empty() && yomu(gyou, bytes) == SetteiYomi::kowareta && futsuu_fairu(kSetteiFile)) {
    if (const std::string bak = bak_ni_nokosu(); !bak.empty())
      naze = std::string(kSetteiFile) + "の控えを残せません: " + bak;
  }
  if (naze.empty()) {
    const std::optional<std::string> cp = utf8_to_cp932(text);
    int err = 0;
    if (cp && write_atomically(kSetteiFile, *cp, err)) return;
    naze = std::string(kSetteiFile) + ": " + std::strerror(err);
  }
  gamen_.shiraseru("設定を保存できません（" + naze + "）。変更は終了するまで有効です");
}

void Opushon::haikei_sentaku(int id) {
  for (const HaikeiGo& h : kHaikei) kirikae_.set_checked(h.item, false);
  for (const HaikeiGo& h : kHaikei)
    if (h.id == id) kirikae_.set_checked(h.item, true);
}

void Opushon::haikei_menu(int id) {
  for (const HaikeiGo& h : kHaikei)
    if (h.id == id && !kirikae_.is_checked(h.item)) {
      haikei_sentaku(id);
      settei_.haikei_kaeru(id);
    }
  settei_kaki();
  gamen_.zenbu_egaku();
}

void Opushon::sidou_menu() {
  if (kirikae_.is_checked(Menu::SIDOU)) {
    for (int c = 1; c <= 9; ++c)
      for (int r = 1; r <= 9; ++r) gamen_.waku_egaku(IRO_MIDORI, c, r);
    for (int i = 1; i <= 7; ++i) {
      gamen_.waku_egaku(IRO_MIDORI, -1, i);
      gamen_.waku_egaku(IRO_MIDORI, 11, i + 2);
    }
    sidou_settei(false);
  } else {
    sidou_settei(true);
  }
  settei_kaki();
}

void Opushon::keika_menu() {
  if (kirikae_.is_checked(Menu::KEIKA)) {
    kirikae_.set_checked(Menu::KEIKA, false);
    kirikae_.set_timer(false);
    gamen_.keika_kesu(taikyoku_.sita_gawa());
    gamen_.keika_kesu(taikyoku_.ue_gawa());
  } else {
    kirikae_.set_checked(Menu::KEIKA, true);
    kirikae_.set_timer(true);
    gamen_.jikan_awaseru();  // as they stand, the holder's running
  }
  settei_kaki();
}

void Opushon::bgm_menu() {
  if (kirikae_.is_checked(Menu::BGM)) {
    kirikae_.set_checked(Menu::BGM, false);
    onkyou_.snd_stop(Oto::bgm);
  } else {
    kirikae_.set_checked(Menu::BGM, true);
    onkyou_.snd_loop(Oto::bgm);
  }
  settei_kaki();
}

void Opushon::aicon_menu() {
  if (kirikae_.is_checked(Menu::AICON)) {
    kirikae_.set_checked(Menu::AICON, false);
    for (Control c : {Control::AICON_MAN1, Control::AICON_MAN2, Control::AICON_COM})
      kirikae_.set_visible(c, false);
  } else {
    kirikae_.set_checked(Menu::AICON, true);
    if (taikyoku_.taikyoku_shu() == TaikyokuShu::com) irai_.aicon_ichi("下", taikyoku_.sita_gawa());
  }
  settei_kaki();
}

void Opushon::level_settei(int n) {
  constexpr Menu kLevels[] = {Menu::LEVEL1, Menu::LEVEL2, Menu::LEVEL3, Menu::LEVEL4, Menu::LEVEL5};
  for (const Menu m : kLevels) kirikae_.set_checked(m, false);
  if (n >= 1 && n <= 5) {
    kirikae_.set_checked(kLevels[n - 1], true);
    taikyoku_.level_settei(n);
  }
  if (taikyoku_.com_taikyoku()) gamen_.level_hyouji(taikyoku_.level());
}

void Opushon::level_menu(int n) {
  gamen_.level_kesu();
  const int mae = taikyoku_.level();
  level_settei(n);
  if (taikyoku_.level() != mae) settei_kaki();  // the level chosen is the one the next start has
}

void Opushon::com_hyouji_settei(ComHyouji h) {
  settei_.com_hyouji(h);
  kirikae_.set_checked(Menu::HYOUJUN, h == ComHyouji::hyoujun);
  kirikae_.set_checked(Menu::HAYAI, h == ComHyouji::hayai);
  kirikae_.set_checked(Menu::SHOURYAKU, h == ComHyouji::shouryaku);
}

void Opushon::kouryo_settei(int ms) {
  settei_.kouryo_ms(ms);
  yomi_.yomi_byou_settei(settei_.kouryo_ms() / 1000.0);
  kirikae_.set_checked(Menu::KOURYO_025, settei_.kouryo_ms() == 250);
  kirikae_.set_checked(Menu::KOURYO_1, settei_.kouryo_ms() == 1000);
  kirikae_.set_checked(Menu::KOURYO_3, settei_.kouryo_ms() == 3000);
}

void Opushon::kouryo_menu(int ms) {
  const bool kawaru = ms != settei_.kouryo_ms();
  kouryo_settei(ms);  // the menu's own tick is put back even when nothing changes
  if (kawaru) settei_kaki();
}

void Opushon::com_hyouji_menu(ComHyouji h) {
  const bool kawaru = h != settei_.com_hyouji();
  com_hyouji_settei(h);  // the menu's own tick is put back even when nothing changes
  if (kawaru) settei_kaki();
}

void Opushon::onoff_menu(Menu item) {
  for (const OnOffGo& o : kOnOff)
    if (o.item == item) {
      onoff_settei(settei_, kirikae_, o, !(settei_.*o.on)());
      settei_kaki();
    }
}

}  // namespace mirado
