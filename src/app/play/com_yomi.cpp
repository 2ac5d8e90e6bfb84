// The look-ahead's search, in place or beside the window's thread.
#include <atomic>
#include <chrono>
#include <thread>

#include "app/com_yomi.h"

namespace mirado {

bool ComYomi::yomi_matsu(const Kyokumen& p, int hajime, int ix, int iy, int nx, int ny,
                         bool aite_com, int level, YomiTe& out) {
  if (!yomi_) yomi_ = std::make_shared<Yomi>();
  YomiSettei settei;
  settei.nodes = yomi_nodes_;
  settei.byou = yomi_nodes_ > 0 ? 0 : yomi_byou_;
  settei.level = level >= 5 ? 5 : 4;
  settei.aite_com = aite_com;
  YomiKekka r;
  if (yomi_nodes_ > 0) {
    r = yomi_->sagasu(p, settei, hajime, ix, iy, nx, ny);
  } else {
    // The search runs beside the window, which keeps painting and its clock running; a
    // close request stops it within a few milliseconds.
    std::atomic<bool> yamete{false}, done{false};
    settei.yamete = &yamete;
    const Kyokumen mine = p;  // the worker's own board: the window's stays the window's
    std::thread worker([&] {
      r = yomi_->sagasu(mine, settei, hajime, ix, iy, nx, ny);
      done.store(true, std::memory_order_release);
    });
    while (!done.load(std::memory_order_acquire)) {
      ports_.clock->wait(0.01);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));  // a clock that does not wait
      if (ports_.ui->close_requested()) yamete.store(true);
      tick_();
    }
    worker.join();
    if (yamete.load()) return false;
  }
  out = r.turn;
  return true;
}

}  // namespace mirado
