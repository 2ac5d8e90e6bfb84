// The record panel (app/kifu_panel.h): the drive, directory and file lists, saving
// (書込, RETURN) and opening a record file (読込, a click in the file list).
#include "app/kifu_panel.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/ban_gamen.h"
#include "app/kirikae.h"
#include "kifu/cp932.h"
#include "kifu/kifu_file.h"
#include "kifu/file_io.h"

namespace mirado {
namespace fs = std::filesystem;

namespace {

// /proc/mounts writes space, tab, newline and backslash as three octal digits.
std::string mount_unescape(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto octal = [&](std::size_t k) { return s[k] >= '0' && s[k] <= '7'; };
    if (s[i] == '\\' && i + 3 < s.size() && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

bool starts_with_dir(std::string_view path, std::string_view dir) {
  if (dir == "/") return !path.empty() && path[0] == '/';
  return path.substr(0, dir.size()) == dir && (path.size() == dir.size() || path[dir.size()] == '/');
}

bool user_volume(const std::string& fstype, const std::string& where) {
  static constexpr std::string_view kMedia[] = {"/media", "/mnt", "/run/media"};
  static constexpr std::string_view kSystem[] = {"/boot", "/proc", "/sys", "/dev", "/run", "/snap",
                                                 "/var", "/usr", "/etc", "/lib", "/bin", "/sbin",
                                                 "/tmp"};
  static constexpr std::string_view kDisk[] = {
      "ext2", "ext3", "ext4", "xfs", "btrfs", "vfat", "exfat", "ntfs", "ntfs3", "fuseblk", "iso9660",
      "udf", "f2fs", "zfs", "hfsplus", "jfs", "reiserfs", "nfs", "nfs4", "cifs", "smb3"};
  const bool disk = std::find(std::begin(kDisk), std::end(kDisk), fstype) != std::end(kDisk);
  for (std::string_view m : kMedia)
    if (starts_with_dir(where, m) && where.size() > m.size()) return disk || fstype.rfind("fuse", 0) == 0;
  if (!disk || where == "/") return false;
  for (std::string_view s : kSystem)
    if (starts_with_dir(where, s)) return false;
  return true;
}

std::string home_dir() {
  if (const char* h = std::getenv("HOME"); h && *h) return h;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

std::string read_text(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool readable_dir(const fs::path& p) {
  std::error_code ec;
  if (!fs::is_directory(p, ec)) return false;
  fs::directory_iterator it(p, ec);
  return !ec;
}

// "/a/b/" and "/a/b" are the same directory; the root keeps its slash.
fs::path tidy(const fs::path& p) {
  std::error_code ec;
  fs::path n = fs::absolute(p, ec).lexically_normal();
  if (!n.has_filename() && n.has_relative_path()) n = n.parent_path();
  return n;
}

bool hozon_dekiru(std::string_view text) {
  return text.find_first_of("\r\n") == std::string_view::npos && utf8_to_cp932(text).has_value();
}

// A record already saved under the name is replaced only when the player says so; one
// that cannot be replaced is refused with the system's reason before anything is asked.
bool uwagaki_shite_yoi(const Madoguchi& w, const fs::path& path) {
  std::error_code ec;
  if (!fs::exists(fs::symlink_status(path, ec))) return true;  // a link counts, even one to nothing
  int err = 0;
  if (!replaceable(path, err)) {
    w.irai.snd_play(Oto::kinshi);
    w.gamen.msg("棋譜を書き込めませんでした\n" + path.filename().string() + "\n(" + std::strerror(err) + ")",
          "棋譜保存", Buttons::ok, Icon::warning);
    return false;
  }
  if (!fs::exists(path, ec)) return true;  // a link to a file not made yet
  KifuFile f;
  std::string error;
  // What the loader would make of it: a file it refuses is no record of a game.
  std::string naiyou = "内容不明";
  if (read_kifu_file(path, f, error))
    naiyou = kifu_sasenai(f.entries).empty() ? std::to_string(f.entries.size()) + "手" : "棋譜ではありません";
  return w.gamen.msg("「" + path.filename().string() + "」は既にあります（" + naiyou + "）。\n置き換えますか？",
               "棋譜保存", Buttons::yesno_iie) == Answer::yes;
}

}  // namespace

std::vector<std::string> drive_list(std::string_view proc_mounts, const std::string& home) {
  std::vector<std::string> out;
  auto add = [&](const std::string& p) {
    if (!p.empty() && std::find(out.begin(), out.end(), p) == out.end()) out.push_back(p);
  };
  add(home);
  add("/");
  std::istringstream in{std::string(proc_mounts)};
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream f(line);
    std::string device, where, fstype;
    if (!(f >> device >> where >> fstype)) continue;
    where = mount_unescape(where);
    if (user_volume(fstype, where)) add(where);
  }
  return out;
}

// The sorted names of the entries of `dir` that `erabu` keeps; what cannot be read is left out.
template <typename Erabu>
std::vector<std::string> namae(const fs::path& dir, Erabu erabu) {
  std::vector<std::string> out;
  std::error_code ec;
  for (fs::directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec), end;
       !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (erabu(*it, name)) out.push_back(name);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<std::string> dir_list(const fs::path& dir) {
  const std::vector<std::string> names = namae(dir, [](const fs::directory_entry& e, const std::string& name) {
    std::error_code ec;
    return !name.empty() && name[0] != '.' && e.is_directory(ec);
  });
  std::vector<std::string> out{dir.string()};
  if (dir.has_relative_path()) out.push_back("..");
  out.insert(out.end(), names.begin(), names.end());
  return out;
}

std::vector<std::string> kifu_file_list(const fs::path& dir) {
  return namae(dir, [](const fs::directory_entry& e, const std::string& name) {
    std::error_code ec;
    return name.size() >= KIFU_KAKUCHOUSHI.size() &&
           name.compare(name.size() - KIFU_KAKUCHOUSHI.size(), std::string::npos, KIFU_KAKUCHOUSHI) == 0 &&
           e.is_regular_file(ec);
  });
}

fs::path KifuPanel::dir() {
  if (dir_path_.empty()) {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    dir_path_ = ec ? std::string("/") : cwd.string();
  }
  return fs::path(dir_path_);
}

fs::path KifuPanel::path(const std::string& name) {
  const fs::path p(name);
  return p.is_absolute() ? p : dir() / p;
}

void KifuPanel::lists() {
  const fs::path d = dir();
  const std::vector<std::string> drives = drive_list(read_text("/proc/mounts"), home_dir());
  int selected = -1;
  std::size_t best = 0;
  for (std::size_t i = 0; i < drives.size(); ++i)
    if (starts_with_dir(dir_path_, drives[i]) && drives[i].size() >= best) {
      best = drives[i].size();
      selected = static_cast<int>(i);
    }
  w_.ports.ui->set_list(Control::PANEL_DRIVE_LIST, drives, selected);
  w_.ports.ui->set_list(Control::PANEL_DIR_LIST, dir_list(d), 0);
  file_names_ = kifu_file_list(d);
  w_.ports.ui->set_list(Control::PANEL_FILE_LIST, file_names_, -1);
}

void KifuPanel::tojiru() {
  file_mado(false, false, false);
  kaki_mado(1);
}

void KifuPanel::kifu_read() {
  tojiru();
  lists();
  file_mado(true, true, true);
  kaki_mado(1);
}

bool KifuPanel::kifu_dialog_mae(bool hozon) {
  tojiru();
  return !hozon || kifu_kakeru();
}

bool KifuPanel::kifu_kakeru() {
  if (t_.hanten_zumi()) {
    w_.gamen.msg("反転後は書き込みできません", "棋譜書込");
    return false;
  }
  if (t_.handicap_zumi()) {
    w_.gamen.msg("ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません", "棋譜書込");
    return false;
  }
  // A game won on the first or second move of a turn can be saved.
  if (t_.te_tochuu() && !t_.owatta()) {
    w_.irai.snd_play(Oto::kinshi);
    w_.gamen.msg(kotowari_moji(Kotowari::te_tochuu), "棋譜書込");
    return false;
  }
  return true;
}

void KifuPanel::kifu_write() {
  tojiru();
  if (!kifu_kakeru()) return;
  lists();
  file_mado(true, true, false);
  kaki_mado(0);
}

void KifuPanel::panel_write_click() {
  const std::string name = panel_text(1);
  if (name.empty()) {
    w_.gamen.msg("ﾌｧｲﾙ名が入力されていません", "  ");
    return;
  }
  if (name.find('\0') != std::string::npos) {
    w_.gamen.msg("ﾌｧｲﾙ名にNUL文字（\\0）は使えません", "棋譜保存");
    return;
  }
  if (name.find('/') != std::string::npos || name == "." || name == "..") {
    w_.gamen.msg("ﾌｧｲﾙ名に「/」や「.」「..」は使えません", "棋譜保存");
    return;
  }
  kifu_hozon(dir() / (name + std::string(KIFU_KAKUCHOUSHI)));
}

void KifuPanel::kifu_nazuke_hozon(const std::string& path) {
  fs::path p = fs::path(path);
  const std::string name = p.filename().string();
  if (name.size() < KIFU_KAKUCHOUSHI.size() ||
      name.compare(name.size() - KIFU_KAKUCHOUSHI.size(), std::string::npos, KIFU_KAKUCHOUSHI) != 0)
    p += std::string(KIFU_KAKUCHOUSHI);
  // The panel goes on from the folder the file was saved in.
  if (readable_dir(p.parent_path())) dir_path_ = (p.parent_path().string());
  kifu_hozon(p);
}

void KifuPanel::kifu_hozon(const fs::path& path) {
  if (t_.kifu().kifu_ichi < 1) {
    w_.gamen.msg("保存するデータがありません", "棋譜保存");
    return;
  }
  static constexpr const char* kNamae[5] = {"", "", "対局名", "先手の名前", "後手の名前"};
  for (int i = 2; i <= 4; ++i)
    if (!hozon_dekiru(panel_text(i))) {
      w_.gamen.msg(std::string(kNamae[i]) + "に保存できない文字があります", "棋譜保存");
      return;
    }
  const bool sita_sente = t_.sita_sente();
  std::vector<KifuEntry> entries;
  for (int i = 1; i <= t_.kifu().kifu_ichi; ++i) entries.push_back(t_.kifu().at(i));
  int bad = 0;
  const auto bytes =
      encode_kifu(panel_text(2), panel_text(sita_sente ? 4 : 3),
                  panel_text(sita_sente ? 3 : 4), entries, bad);
  std::string error;
  if (!uwagaki_shite_yoi(w_, path)) return;
  if (!bytes || !write_file_atomically(path, *bytes, error)) {
    // The panel stays open so that another name or directory can be chosen.
    w_.gamen.msg("棋譜を書き込めませんでした\n" + error, "棋譜保存", Buttons::ok, Icon::warning);
    return;
  }
  tojiru();
  file_names_ = kifu_file_list(dir());
  w_.ports.ui->set_list(Control::PANEL_FILE_LIST, file_names(), -1);
  w_.gamen.msg("棋譜を書き込みました", "  ");
}

void KifuPanel::panel_drive_change(const std::string& path) {
  if (path.empty() || !readable_dir(path)) {
    w_.gamen.msg("ﾃﾞﾊﾞｲｽが準備できていません", "ｴﾗｰ");
    lists();  // the lists keep the previous directory
    return;
  }
  dir_path_ = (tidy(path).string());
  lists();
}

void KifuPanel::panel_dir_change(const std::string& path) {
  const fs::path p = tidy(this->path(path));
  if (path.empty() || !readable_dir(p)) {
    w_.gamen.msg("ﾌｫﾙﾀﾞを開けません\n" + path, "ｴﾗｰ");
    lists();
    return;
  }
  dir_path_ = (p.string());
  lists();
}

void KifuPanel::panel_file_click(const std::string& name) { kifu_hiraku(path(name)); }

void KifuPanel::kifu_dialog_hiraku(const std::string& path) {
  const fs::path p(path);
  if (readable_dir(p.parent_path())) dir_path_ = (p.parent_path().string());
  kifu_hiraku(p);
}

void KifuPanel::kifu_hiraku(const fs::path& path) {
  // Read before anything changes: a file that cannot be read leaves the game as it was.
  KifuFile f;
  std::string error;
  if (!read_kifu_file(path, f, error)) {
    w_.irai.snd_play(Oto::kinshi);
    w_.gamen.msg(error, "棋譜");
    return;
  }
  // A record without moves, or one that breaks part-way, is refused whole: the game on
  // the board stays.
  if (const std::string naze = kifu_kensa(f).naze; !naze.empty()) {
    w_.irai.snd_play(Oto::kinshi);
    w_.gamen.msg(naze, "棋譜");
    return;
  }
  file_mado(false, false, false);
  w_.irai.kifu_settei(f);
}

void KifuPanel::file_mado(bool drive, bool dir, bool file) {
  w_.kirikae.set_visible(Control::PANEL_DRIVE_LIST, drive);
  w_.kirikae.set_visible(Control::PANEL_DIR_LIST, dir);
  w_.kirikae.set_visible(Control::PANEL_FILE_LIST, file);
}

void KifuPanel::kaki_mado(int mode) {
  static constexpr Control kPanel[] = {Control::PANEL_FILE_NAME,    Control::PANEL_TITLE,    Control::PANEL_SENTE_NAME,
                                       Control::PANEL_GOTE_NAME,    Control::PANEL_FILE_NAME_LABEL, Control::PANEL_GOTE_LABEL,
                                       Control::PANEL_SENTE_LABEL, Control::PANEL_TITLE_LABEL, Control::PANEL_WRITE_BUTTON};
  if (mode != 0) {
    const Control texts[] = {Control::PANEL_FILE_NAME, Control::PANEL_TITLE, Control::PANEL_SENTE_NAME, Control::PANEL_GOTE_NAME};
    for (int i = 0; i < 4; ++i) {
      text_kaeru(i + 1, "");
      w_.ports.ui->set_text(texts[i], "");
    }
  }
  for (Control c : kPanel) w_.kirikae.set_visible(c, mode == 0);
}

}  // namespace mirado
