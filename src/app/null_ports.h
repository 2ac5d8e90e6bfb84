// Ports for running the game without a window: drawing goes nowhere, sound is silent.
#pragma once

#include "app/ports.h"

namespace mirado {

class NullCanvas : public Canvas {
 public:
  void picture(int, int, int) override {}
  void rect(int, int, int, int, int) override {}
  void text(int, int, std::string_view, int, int, bool) override {}
  void repaint() override {}
  void refresh() override {}
};

// A sound library that plays nothing. `context` is what opening it answers: 0 as with
// no device (the game then warns once), anything else as with a working one.
class SilentSound : public SoundLib {
 public:
  explicit SilentSound(std::int32_t context = 0) : context_(context) {}
  std::int32_t initialize(std::intptr_t) override { return context_; }
  void terminate(std::int32_t) override {}
  std::int32_t create_dsb(std::int32_t, const void*, std::size_t, std::int32_t) override { return 0; }
  void play(std::int32_t) override {}
  void play_looping(std::int32_t) override {}
  void stop(std::int32_t) override {}
  void free(std::int32_t) override {}

 private:
  std::int32_t context_;
};

// A clock for running without a window (the event runner, tests): a wait passes at once,
// moving the clock on by its length (susumu), and its step follows in place; the search
// runs in place. A whole computer's turn thus plays within the event that began it, at
// the times the window would play it.
class JunjiClock : public Clock {
 public:
  void ato_de(double seconds, std::function<void()> step) override {
    susumu(seconds);
    step();
  }
  void betsu_de(std::function<void()> work, std::function<void()> done) override {
    work();
    done();
  }

 protected:
  virtual void susumu(double seconds) = 0;
};

}  // namespace mirado
