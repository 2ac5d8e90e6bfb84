// The look-ahead's search beside the window's thread.
#include "app/com_yomi.h"

namespace mirado {

void ComYomi::yomu(Sagasu sagasu, bool aite_com, int level, std::function<void()> sumi) {
  if (!yomi_) yomi_ = std::make_shared<Yomi>();
  auto yamete = std::make_shared<std::atomic<bool>>(false);
  yamete_ = yamete;
  YomiSettei settei;
  settei.nodes = yomi_nodes_;
  settei.byou = yomi_nodes_ > 0 ? 0 : yomi_byou_;
  settei.level = level >= 5 ? 5 : 4;
  settei.aite_com = aite_com;
  settei.yamete = yamete.get();  // kept alive by the work that reads it
  ports_.clock->betsu_de(
      [yomi = yomi_, yamete, settei, sagasu = std::move(sagasu)] { sagasu(*yomi, settei); },
      [this, yamete, sumi = std::move(sumi)] {
        if (yamete->load()) return;  // given up: the window has moved on
        yamete_.reset();
        sumi();
      });
}

void ComYomi::yameru() {
  if (!yamete_) return;
  yamete_->store(true);
  yamete_.reset();
  yomi_.reset();  // the stopped search may still hold it a moment: the next one makes its own
}

}  // namespace mirado
