// The computer's look-ahead as the window runs it: LEVEL4's or LEVEL5's search for the
// rest of the upper side's turn, in place on a fixed budget, or beside the window's
// thread for the thinking time chosen while the window keeps painting and its clocks
// running.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

#include "app/ports.h"
#include "engine/yomi.h"
#include "rules/kyokumen.h"

namespace mirado {

class ComYomi {
 public:
  // `tick`: what the window does each time it looks in on the search (its clock).
  ComYomi(const Ports& ports, std::function<void()> tick)
      : ports_(ports), tick_(std::move(tick)) {}
  ComYomi(const ComYomi&) = delete;
  ComYomi& operator=(const ComYomi&) = delete;

  // A fixed budget of whole turns, searched in place: the same moves every time (the
  // event runner, tests). 0: the window's thinking time, off the window's thread.
  std::int64_t yomi_nodes() const { return yomi_nodes_; }
  void yomi_nodes_settei(std::int64_t n) { yomi_nodes_ = n; }
  // The thinking time of a search beside the window, in seconds.
  double yomi_byou() const { return yomi_byou_; }
  void yomi_byou_settei(double byou) { yomi_byou_ = byou; }

  // yomi_matsu: the look-ahead for the rest of the upper side's turn in p (from move
  // `hajime`, the first and second moves having ended on the ichite and nite squares),
  // read as the computer's `level` reads (LEVEL5's search at 5, else LEVEL4's). False when
  // the window is closing.
  bool yomi_matsu(const Kyokumen& p, int hajime, int ix, int iy, int nx, int ny, bool aite_com, int level,
                  YomiTe& out);

 private:
  const Ports& ports_;
  std::function<void()> tick_;
  std::shared_ptr<Yomi> yomi_;  // made at the first search
  std::int64_t yomi_nodes_ = 0;
  double yomi_byou_ = YOMI_BYOU;
};

}  // namespace mirado
