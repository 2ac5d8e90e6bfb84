// The one way the game reads and writes its files (records, settings, sounds): a read
// that never takes more than a cap, and a write that replaces a file only once every
// byte of the new one is safely on disk.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace mirado {

enum class Yomikomi {
  ok,
  hirakenai,   // the file cannot be opened (err says why)
  yomenai,     // opened, but it is no regular file or reading failed (err says why)
  ookisugiru,  // larger than the cap
};

// Reads a whole regular file of at most `cap` bytes into `out`. The file is opened
// without blocking, so a pipe given a record's name cannot hang the window; a folder
// gives EISDIR, any other file that is not regular EINVAL.
Yomikomi read_capped(const std::filesystem::path& path, std::size_t cap, std::string& out, int& err);

// Why read_capped refused a file, in a few words for a command line's one-line error:
// the system's reason, "not a regular file" for a device or a FIFO, or the cap.
std::string yomenai_riyuu(Yomikomi r, int err, std::size_t cap);

// Writes `bytes` to a temporary file in the folder of `path`, flushes it to disk, gives it
// the mode of the file it replaces (a new file gets the usual mode for created files),
// renames it over `path` and flushes the folder, so that a crash or a full disk leaves
// either the old file or the new one, never a mix. A symbolic link is written through:
// the link stays and the file it names is replaced. A file without write permission for
// this user (or with no write bit at all) is refused with the system's reason (EACCES,
// EROFS on a read-only file system) and left as it was.
// Temporary files that an interrupted write of this game left in that folder are removed
// first. On failure returns false with errno's value in `err`.
bool write_atomically(const std::filesystem::path& path, std::string_view bytes, int& err);

// Replaces `to` as write_atomically does with a copy of the regular file `from`, of any
// size: read a piece at a time, never whole. False with errno's value in `err`.
bool copy_atomically(const std::filesystem::path& from, const std::filesystem::path& to, int& err);

// Can a write replace `path` (or create it)? False with errno's value in `err` when the
// file is a folder, not a regular file, or one this user may not write.
bool replaceable(const std::filesystem::path& path, int& err);

// The file a write to `path` replaces: `path` itself, or for a symbolic link the file
// it names (followed to the end of a chain).
std::filesystem::path write_target(const std::filesystem::path& path);

// Is `name` the name of a temporary file of this game's writes? Only the names this
// helper makes: a player's own hidden files, whatever they look like, are never ours.
bool is_temporary_name(std::string_view name);

// Removes the temporary files an interrupted write left in `dir`: those with our names
// whose lock it can take, so that no running write loses its file. Returns how many
// were removed.
int remove_stale_temporaries(const std::filesystem::path& dir);

}  // namespace mirado
