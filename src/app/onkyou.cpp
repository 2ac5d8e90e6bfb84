// The sounds (app/onkyou.h).
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "app/onkyou.h"
#include "app/ban_gamen.h"
#include "kifu/file_io.h"

namespace mirado {

namespace {

namespace fs = std::filesystem;

// No sound of the game comes near this; anything bigger is not worth holding in memory.
constexpr std::size_t kMaxWavBytes = 64u << 20;

// The working directory first, then beside the program, then the installed data.
std::optional<fs::path> sagasu(const Onkyou& o, const std::string& name) {
  std::vector<fs::path> basho{fs::path(name)};
  for (const std::string* dir : {&o.exe_dir(), &o.data_dir()})
    if (!dir->empty()) basho.push_back(fs::path(*dir) / name);
  for (const fs::path& p : basho) {
    std::error_code ec;
    if (fs::exists(p, ec)) return p;
  }
  return std::nullopt;
}

// The whole file, or the system's description of why it cannot be read.
bool yomu(const fs::path& p, std::string& data, std::string& error) {
  int err = 0;
  const Yomikomi r = read_capped(p, kMaxWavBytes, data, err);
  if (r == Yomikomi::ookisugiru) err = EFBIG;
  if (r != Yomikomi::ok) error = std::strerror(err);
  return r == Yomikomi::ok;
}

}  // namespace

void Onkyou::hiraku(std::intptr_t window) {
  snd_init(window);
  oto_[static_cast<int>(Oto::sonota)] = snd_load("その他.wav", 3);
  oto_[static_cast<int>(Oto::kinshi)] = snd_load("禁止.wav", 3);
  oto_[static_cast<int>(Oto::koma)] = snd_load("駒打音.wav", 3);
  oto_[static_cast<int>(Oto::jusei)] = snd_load("銃声.wav", 3);
  oto_[static_cast<int>(Oto::bgm)] = snd_load("BGM.wav", 1);
}

void Onkyou::tojiru() {
  for (Oto o : {Oto::sonota, Oto::kinshi, Oto::koma, Oto::jusei, Oto::bgm})
    ports_.sound->free(oto_[static_cast<int>(o)]);
  snd_term();
}

void Onkyou::snd_init(std::intptr_t window) {
  ds_context_ = ports_.sound->initialize(window);
  if (ds_context_ == 0) snd_warn("Direct Soundインターフェースが作成できません。");
}

std::int32_t Onkyou::snd_load(const std::string& file_name, std::int32_t flags) {
  if (ds_context_ == 0) return 0;
  const auto path = sagasu(*this, file_name);
  if (!path) return 0;  // a missing sound just stays silent
  std::string data, error;
  if (!yomu(*path, data, error)) {
    snd_warn(file_name + ": " + error);
    return 0;
  }
  const std::int32_t handle =
      ports_.sound->create_dsb(ds_context_, data.data(), data.size(), flags);
  if (handle == 0) {
    const std::string why = ports_.sound->last_error();
    snd_warn(why.empty() ? file_name : file_name + ": " + why);
  }
  return handle;
}

void Onkyou::snd_term() {
  if (ds_context_ == 0) return;
  ports_.sound->terminate(ds_context_);
  ds_context_ = 0;  // closing twice (menu quit, then the window closing) stays harmless
}

void Onkyou::snd_warn(const std::string& text) {
  gamen_.msg(text, "ミラド将棋.dll", Buttons::ok, Icon::warning);
}

void Onkyou::snd_play(Oto which) {
  if (ports_.trace) ports_.trace->sound("play", which);
  ports_.sound->play(oto_[static_cast<int>(which)]);
}

void Onkyou::snd_loop(Oto which) {
  if (ports_.trace) ports_.trace->sound("loop", which);
  ports_.sound->play_looping(oto_[static_cast<int>(which)]);
}

void Onkyou::snd_stop(Oto which) {
  if (ports_.trace) ports_.trace->sound("stop", which);
  ports_.sound->stop(oto_[static_cast<int>(which)]);
}

}  // namespace mirado
