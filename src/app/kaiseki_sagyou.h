// An analysis of a record running beside the window: its own thread (which runs the
// turns two at a time), a cancel flag, the count of turns done, and the results once
// it is over. Giving it up, or dropping it, stops the search within milliseconds and
// waits for the thread, so a close never leaves a thread behind.
#pragma once

#include <atomic>
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

  int zentai() const { return static_cast<int>(turns_.size()); }
  int sumi() const { return sumi_.load(); }
  bool owatta() const { return owatta_.load(std::memory_order_acquire); }
  // Gives up and waits for the thread.
  void yameru();
  // Tells it to give up, without waiting.
  void yamesaseru() { yamete_.store(true); }
  // Once it is over: waits for the thread and hands over every turn's result (empty
  // when it was given up).
  std::vector<KaisekiTe> uketoru();

 private:
  std::vector<KaisekiKyokumen> turns_;
  KaisekiSettei settei_;
  std::vector<KaisekiTe> kekka_;
  std::atomic<bool> yamete_{false}, owatta_{false}, kansei_{false};
  std::atomic<int> sumi_{0};
  std::thread thread_;
};

}  // namespace mirado
