// Game record files (".棋譜"): three header lines (title, the upper player's name,
// the lower player's name), then one 37-column line per move; code page 932, every
// line ended by CR LF. Reading accepts LF alone too.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kifu/kifu.h"

namespace mirado {

inline constexpr std::string_view KIFU_KAKUCHOUSHI = ".棋譜";
// A record of 100000 moves is far beyond any game; larger files are refused
// instead of being read into memory.
inline constexpr std::size_t KIFU_SAIDAI_BYTE = 4u << 20;
inline constexpr int KIFU_SAIDAI_TE = 100000;

struct KifuFile {
  std::string title, line2, line3;  // header lines, UTF-8
  std::vector<KifuEntry> entries;   // blank lines skipped; each entry keeps its line number
};

// The entry's line without its line end: 37 ASCII characters.
std::string entry_line(const KifuEntry& e);
// Cuts the fields of one decoded line by character position. Returns false for a
// blank line (empty or only spaces), which is not a move. A field without a digit (left
// blank, or cut off with the end of the line) reads as 0 and is noted in kaketa_ran, so
// that the entry is refused when it is played.
bool parse_entry_line(std::string_view utf8_line, KifuEntry& e);
// Splits raw file bytes into header and entries. Malformed fields read as 0; a
// missing header line repeats the last line read (empty if none).
KifuFile parse_kifu(std::string_view bytes);

// The whole file as code-page-932 bytes. On failure returns nullopt and sets
// `bad_line` to the header line (1..3) that code page 932 cannot hold or that
// contains a line break.
std::optional<std::string> encode_kifu(std::string_view title, std::string_view line2,
                                       std::string_view line3,
                                       const std::vector<KifuEntry>& entries, int& bad_line);

// Reads and parses a record file. On failure returns false with a message for the user.
bool read_kifu_file(const std::filesystem::path& path, KifuFile& out, std::string& error);
// Writes through a temporary file in the same directory that replaces the target only
// once every byte is on disk, so a failed save leaves the old file as it was.
bool write_file_atomically(const std::filesystem::path& path, std::string_view bytes,
                           std::string& error);

// Left edge in twips of a text of about 13 characters centred under the board.
int chuuou_x(std::string_view utf8);
// Number of characters (code points) of a UTF-8 text.
std::size_t moji_su(std::string_view utf8);

}  // namespace mirado
