// The record panel's folder (app/kifu_panel.h).
#include "app/kifu_panel.h"

#include <system_error>

namespace mirado {

namespace fs = std::filesystem;

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

}  // namespace mirado
