// An analysis of a record running beside the window: its own thread (which runs the
// turns two at a time), a cancel flag, the count of turns done, and the results once
// it is over. Giving it up, or dropping it, stops the search within milliseconds and
// waits for the thread, so that a game going on never has a thread behind it. Quitting
// waits only briefly: the thread runs beside the window at a lower priority, and on a
// busy machine it may be long before it is let run to see that it must stop; it then
// ends with the program, on work that it owns.
#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "engine/kaiseki.h"

namespace mirado {

class KaisekiSagyou {
 public:
  KaisekiSagyou(std::vector<KaisekiKyokumen> turns, KaisekiSettei settei);
  ~KaisekiSagyou() { yameru(); }
  KaisekiSagyou(const KaisekiSagyou&) = delete;
  KaisekiSagyou& operator=(const KaisekiSagyou&) = delete;

  int zentai() const { return static_cast<int>(s_->turns.size()); }
  int sumi() const { return s_->sumi.load(); }
  bool owatta() const { return s_->owatta.load(std::memory_order_acquire); }
  // Gives up and waits for the thread.
  void yameru();
  // Tells it to give up, without waiting.
  void yamesaseru() { s_->yamete.store(true); }
  // The program is quitting: gives up and waits at most `machi` for the thread; one not
  // yet over is left to end with the program. True when it was over in time.
  bool owari(std::chrono::milliseconds machi);
  // Once it is over: waits for the thread and hands over every turn's result (empty
  // when it was given up).
  std::vector<KaisekiTe> uketoru();

 private:
  // What the thread works on, shared with it so that it never outlives its work.
  struct Shigoto {
    std::vector<KaisekiKyokumen> turns;
    KaisekiSettei settei;
    std::vector<KaisekiTe> kekka;
    std::atomic<bool> yamete{false}, owatta{false}, kansei{false};
    std::atomic<int> sumi{0};
  };
  std::shared_ptr<Shigoto> s_;
  std::thread thread_;
};

}  // namespace mirado
