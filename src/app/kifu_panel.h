// The record panel: the drive, directory and file lists, the boxes typed into, saving a
// record (書込, RETURN) and opening one (読込, a click in the file list), and the
// desktop's file dialog checked the same way. Its state (the folder it lists, the record
// files in it, the texts typed) changes only through these procedures; a record read
// becomes the game through the window object (Irai::kifu_settei).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/irai.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class KifuPanel {
 public:
  // The window that shows the panel and is told of a record read, and the game saved.
  KifuPanel(const Madoguchi& w, const Taikyoku& t) : w_(w), t_(t) {}
  KifuPanel(const KifuPanel&) = delete;
  KifuPanel& operator=(const KifuPanel&) = delete;

  const std::string& dir_path() const { return dir_path_; }  // UTF-8
  const std::vector<std::string>& file_names() const { return file_names_; }
  // The text boxes by number (panel_text_box): 1 file name, 2 title, 3 and 4 the players.
  const std::string& panel_text(int n) const { return panel_text_[n >= 1 && n <= 4 ? n : 0]; }
  void text_kaeru(int n, const std::string& value) {
    if (n >= 1 && n <= 4) panel_text_[n] = value;
  }

  void kifu_read();   // KIFU_READ: the panel opened to choose a record
  void kifu_write();  // KIFU_WRITE: the panel opened to name the file, if the game may be saved
  void tojiru();      // the panel closed, its boxes emptied
  // The panel's button and lists.
  void panel_write_click();
  void panel_drive_change(const std::string& path);
  void panel_dir_change(const std::string& path);
  void panel_file_click(const std::string& name);
  // 棋譜 → 開く… and 名前を付けて保存…: the desktop's file dialog names the file, the checks
  // are the panel's, and the panel goes on from the folder chosen. Before the dialog opens
  // the panel closes, and a save is told (and the player why not) whether the game may be
  // saved at all.
  bool kifu_dialog_mae(bool hozon);
  void kifu_dialog_hiraku(const std::string& path);
  void kifu_nazuke_hozon(const std::string& path);  // the record's extension added when missing

 private:
  // The folder listed: the working directory until one is chosen.
  std::filesystem::path dir();
  // A name typed or clicked in the panel, taken from the folder listed unless absolute.
  std::filesystem::path path(const std::string& name);
  void lists();  // the three lists filled from the folder listed
  bool kifu_kakeru();  // may the game be saved? If not the player is told why
  void kifu_hiraku(const std::filesystem::path& path);  // read and set up a record, or refuse
  void kifu_hozon(const std::filesystem::path& path);   // write the record there, or refuse
  void file_mado(bool drive, bool dir, bool file);
  void kaki_mado(int mode);

  Madoguchi w_;
  const Taikyoku& t_;
  std::string dir_path_;
  std::vector<std::string> file_names_;
  std::string panel_text_[5];  // [0] unused, and always empty
};

// The drive list: the home directory first, then "/" and the mounted volumes a user would
// pick (disks, removable media, network shares), from the text of /proc/mounts.
std::vector<std::string> drive_list(std::string_view proc_mounts, const std::string& home);
// The directory list: the directory itself, ".." unless it is the root, then its visible
// subdirectories in name order.
std::vector<std::string> dir_list(const std::filesystem::path& dir);
// The file list: the names of the "*.棋譜" files of the directory, in name order.
std::vector<std::string> kifu_file_list(const std::filesystem::path& dir);

}  // namespace mirado
