#include "sound/sound_port.h"

#include <filesystem>
#include <system_error>

#include "sound/mirado_sound.h"

namespace mirado {

namespace fs = std::filesystem;

std::int32_t SdlSound::initialize(std::intptr_t window) { return dsInitialize(window); }
void SdlSound::terminate(std::int32_t context) { dsTerminate(context); }
std::int32_t SdlSound::create_dsb(std::int32_t context, const void* wav, std::size_t size,
                                  std::int32_t flags) {
  return dsCreateDSB(context, wav, size, flags);
}
void SdlSound::play(std::int32_t handle) { dsPlay(handle); }
void SdlSound::play_looping(std::int32_t handle) { dsPlayLooping(handle); }
void SdlSound::stop(std::int32_t handle) { dsStop(handle); }
void SdlSound::free(std::int32_t handle) { dsFree(handle); }
std::string SdlSound::last_error() const { return dsLastError(); }

std::string program_dir() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.parent_path().string();
}

std::string installed_data_dir(const std::string& program_dir) {
  if (!program_dir.empty()) {
    const fs::path beside = fs::path(program_dir).parent_path() / MIRADO_DATA_RELDIR;
    std::error_code ec;
    if (fs::is_directory(beside, ec)) return beside.string();
  }
  return MIRADO_DATA_DIR;
}

}  // namespace mirado
