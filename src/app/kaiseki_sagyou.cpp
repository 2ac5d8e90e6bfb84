#include "app/kaiseki_sagyou.h"

#include <sys/resource.h>
#include <unistd.h>

#include <utility>

namespace mirado {

KaisekiSagyou::KaisekiSagyou(std::vector<KaisekiKyokumen> turns, KaisekiSettei settei)
    : turns_(std::move(turns)), settei_(settei) {
  settei_.yamete = &yamete_;
  settei_.sumi = &sumi_;
  thread_ = std::thread([this] {
    // Beside the window, never before it: the player's clicks and a close are answered at
    // once. The search's own threads, started from this one, inherit its priority.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
    kansei_.store(kaiseki(turns_, settei_, kekka_));
    owatta_.store(true, std::memory_order_release);
  });
}

void KaisekiSagyou::yameru() {
  yamete_.store(true);
  if (thread_.joinable()) thread_.join();
}

std::vector<KaisekiTe> KaisekiSagyou::uketoru() {
  if (thread_.joinable()) thread_.join();
  if (!kansei_.load()) return {};
  return std::move(kekka_);
}

}  // namespace mirado
