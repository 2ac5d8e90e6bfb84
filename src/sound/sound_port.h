// The game's sound port over the sound library, and where the program finds its
// installed sound files.
#pragma once

#include <string>

#include "app/ports.h"

namespace mirado {

class SdlSound : public SoundLib {
 public:
  std::int32_t initialize(std::intptr_t window) override;
  void terminate(std::int32_t context) override;
  std::int32_t create_dsb(std::int32_t context, const void* wav, std::size_t size,
                          std::int32_t flags) override;
  void play(std::int32_t handle) override;
  void play_looping(std::int32_t handle) override;
  void stop(std::int32_t handle) override;
  void free(std::int32_t handle) override;
  std::string last_error() const override;
};

// The folder holding the running executable ("" if it cannot be told).
std::string program_dir();

// The data folder of an installed game: "<prefix>/share/mirado-shogi" found next to
// the program's "<prefix>/bin", so an installed tree may be moved; otherwise the
// folder chosen when the game was configured.
std::string installed_data_dir(const std::string& program_dir);

}  // namespace mirado
