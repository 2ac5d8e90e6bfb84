// The sounds: the sound library opened at start, the five sounds loaded into it from where
// they are found, played by name, and everything freed when the game shuts down. A sound
// that cannot be had stays silent; the player is warned once for each.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/ports.h"

namespace mirado {

class BanGamen;

class Onkyou {
 public:
  Onkyou(const Ports& ports, BanGamen& gamen) : ports_(ports), gamen_(gamen) {}
  Onkyou(const Onkyou&) = delete;
  Onkyou& operator=(const Onkyou&) = delete;

  // Where sound files are looked for after the working directory (empty: skipped): the
  // folder of the running program and the installed data folder.
  void oto_basho(std::string exe_dir, std::string data_dir) {
    exe_dir_ = std::move(exe_dir);
    data_dir_ = std::move(data_dir);
  }
  const std::string& exe_dir() const { return exe_dir_; }
  const std::string& data_dir() const { return data_dir_; }

  // Start-up: the library opened and the five sounds loaded.
  void hiraku(std::intptr_t window);
  // Shut-down: the sounds and the library freed; twice is harmless.
  void tojiru();

  void snd_init(std::intptr_t window);
  std::int32_t snd_load(const std::string& file_name, std::int32_t flags);
  void snd_term();
  void snd_play(Oto which);
  void snd_loop(Oto which);
  void snd_stop(Oto which);
  std::int32_t ds_context() const { return ds_context_; }

 private:
  void snd_warn(const std::string& text);

  const Ports& ports_;
  BanGamen& gamen_;
  std::array<std::int32_t, static_cast<int>(Oto::COUNT)> oto_{};  // sound handles, 0 = silent
  std::int32_t ds_context_ = 0;
  std::string exe_dir_, data_dir_;
};

}  // namespace mirado
