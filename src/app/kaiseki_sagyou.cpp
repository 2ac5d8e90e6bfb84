#include "app/kaiseki_sagyou.h"

#include <sys/resource.h>
#include <unistd.h>

#include <utility>

namespace mirado {

KaisekiSagyou::KaisekiSagyou(std::vector<KaisekiKyokumen> turns, KaisekiSettei settei)
    : s_(std::make_shared<Shigoto>()) {
  s_->turns = std::move(turns);
  s_->settei = settei;
  s_->settei.yamete = &s_->yamete;
  s_->settei.sumi = &s_->sumi;
  thread_ = std::thread([s = s_] {
    // Beside the window, never before it: the player's clicks and a close are answered at
    // once. The search's own threads, started from this one, inherit its priority.
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
    s->kansei.store(kaiseki(s->turns, s->settei, s->kekka));
    s->owatta.store(true, std::memory_order_release);
  });
}

void KaisekiSagyou::yameru() {
  s_->yamete.store(true);
  if (thread_.joinable()) thread_.join();
}

bool KaisekiSagyou::owari(std::chrono::milliseconds machi) {
  s_->yamete.store(true);
  const auto made = std::chrono::steady_clock::now() + machi;
  while (!owatta() && std::chrono::steady_clock::now() < made) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  if (!thread_.joinable()) return true;
  if (!owatta()) {
    thread_.detach();
    return false;
  }
  thread_.join();
  return true;
}

std::vector<KaisekiTe> KaisekiSagyou::uketoru() {
  if (thread_.joinable()) thread_.join();
  if (!s_->kansei.load()) return {};
  return std::move(s_->kekka);
}

}  // namespace mirado
