// The computer's look-ahead as the window runs it: LEVEL4's or LEVEL5's search beside the
// window's thread (in place, on a fixed budget, where the clock runs steps in place) for
// the thinking time chosen, while the window keeps answering; its answer comes back as a
// step on the window's thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/ports.h"
#include "engine/yomi.h"

namespace mirado {

class ComYomi {
 public:
  explicit ComYomi(const Ports& ports) : ports_(ports) {}
  ComYomi(const ComYomi&) = delete;
  ComYomi& operator=(const ComYomi&) = delete;

  // A fixed budget of whole turns: the same moves every time (the event runner, tests).
  // 0: the window's thinking time.
  std::int64_t yomi_nodes() const { return yomi_nodes_; }
  void yomi_nodes_settei(std::int64_t n) { yomi_nodes_ = n; }
  // The thinking time of a search beside the window, in seconds.
  double yomi_byou() const { return yomi_byou_; }
  void yomi_byou_settei(double byou) { yomi_byou_ = byou; }

  // Runs `sagasu` beside the window with the look-ahead and its settings (the budget, a
  // flag that stops it; `aite_com`: the opponent is the design's computer; `level`: 5 reads
  // as LEVEL5, else as LEVEL4), then `sumi`
  // on the window's thread, unless the search was given up meanwhile. `sagasu` reads only
  // what it holds itself (a copy of the position). One search at a time.
  using Sagasu = std::function<void(Yomi&, const YomiSettei&)>;
  void yomu(Sagasu sagasu, bool aite_com, int level, std::function<void()> sumi);
  // A search under way is given up: it stops within a few milliseconds and its `sumi`
  // never comes.
  void yameru();
  bool yomichu() const { return yamete_ != nullptr; }

 private:
  const Ports& ports_;
  std::shared_ptr<Yomi> yomi_;  // made at the first search
  std::shared_ptr<std::atomic<bool>> yamete_;  // the search under way's stop flag
  std::int64_t yomi_nodes_ = 0;
  double yomi_byou_ = YOMI_BYOU;
};

}  // namespace mirado
