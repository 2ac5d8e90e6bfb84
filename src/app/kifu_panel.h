// The record panel's state: the folder it lists, the record files in it, and the texts
// typed into its boxes. Only the panel's procedures change it.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace mirado {

class KifuPanel {
 public:
  const std::string& dir_path() const { return dir_path_; }  // UTF-8
  const std::vector<std::string>& file_names() const { return file_names_; }
  // The text boxes by number (panel_text_box): 1 file name, 2 title, 3 and 4 the players.
  const std::string& panel_text(int n) const { return panel_text_[n >= 1 && n <= 4 ? n : 0]; }

  // The folder listed: the working directory until one is chosen (app/play/panel.cpp).
  std::filesystem::path dir();
  // A name typed or clicked in the panel, taken from the folder listed unless absolute.
  std::filesystem::path path(const std::string& name);
  void dir_kaeru(std::string path) { dir_path_ = std::move(path); }
  void file_names_kaeru(std::vector<std::string> names) { file_names_ = std::move(names); }
  void text_kaeru(int n, const std::string& value) {
    if (n >= 1 && n <= 4) panel_text_[n] = value;
  }

 private:
  std::string dir_path_;
  std::vector<std::string> file_names_;
  std::string panel_text_[5];  // [0] unused, and always empty
};

}  // namespace mirado
