// The record panel's lists, and putting a loaded record into the game.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "kifu/kifu_file.h"

namespace mirado {

// The drive list: the home directory first, then "/" and the mounted volumes a user would
// pick (disks, removable media, network shares), from the text of /proc/mounts.
std::vector<std::string> drive_list(std::string_view proc_mounts, const std::string& home);
// The directory list: the directory itself, ".." unless it is the root, then its visible
// subdirectories in name order.
std::vector<std::string> dir_list(const std::filesystem::path& dir);
// The file list: the names of the "*.棋譜" files of the directory, in name order.
std::vector<std::string> kifu_file_list(const std::filesystem::path& dir);

}  // namespace mirado
