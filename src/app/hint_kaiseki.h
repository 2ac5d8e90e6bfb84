// The hint and the look back at a game: ﾋﾝﾄ marks what LEVEL4 would play for the holder
// of the turn; 解析 has LEVEL4 judge every turn of the record beside the window, and
// while the record is stepped through, its best turn from the position shown is marked
// with the hint's marks. Both write their words for the status line here.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/com_yomi.h"
#include "app/kaiseki_sagyou.h"
#include "app/irai.h"
#include "app/ports.h"
#include "engine/yomi.h"
#include "taikyoku/taikyoku.h"

namespace mirado {

class HintKaiseki {
 public:
  // The window that shows them (its procedures, board view, switches, options and
  // ports), the game they read, and the look-ahead they ask.
  HintKaiseki(const Madoguchi& w, const Taikyoku& t, ComYomi& yomi)
      : w_(w), t_(t), yomi_(yomi) {}
  HintKaiseki(const HintKaiseki&) = delete;
  HintKaiseki& operator=(const HintKaiseki&) = delete;

  // ﾋﾝﾄ: the moves the look-ahead would play for the holder of the turn, marked on the
  // board and written under it, not played; the next click takes them away.
  void hint();
  void hint_kesu();
  const YomiTe& hint_te() const { return hint_te_; }  // the moves on show (n = 0: none)
  const std::string& hint_moji() const { return hint_moji_; }  // a hint on show, in notation

  // ﾍﾙﾌﾟ → 解析: in place on a fixed budget when the look-ahead has one; chosen again
  // while it runs, it is given up.
  void kaiseki_menu();
  void on_poll();         // the window looks in on the analysis
  void kaiseki_yameru();  // a running analysis given up; the game is untouched
  // The program is quitting: given up, and waited for only briefly.
  void kaiseki_owari();
  // The analysis is told to stop, and is let finish stopping while the window closes.
  void kaiseki_yamesaseru() {
    if (sagyou_) sagyou_->yamesaseru();
  }
  bool kaiseki_chu() const { return sagyou_ != nullptr; }
  // After every event: an analysis whose record changed is dropped, and the best turn of
  // the position shown is marked with the hint's marks and named under the board.
  void kaiseki_awaseru();
  void kaiseki_shirushi();
  KaisekiZu kaiseki_zu(bool mieru) const;
  // What the analysis adds under each turn's row of the move list: 先手's win chance after
  // the turn, and where the turn played was worse, its class and the better turn. Empty
  // without an analysis of the record as it stands.
  std::vector<std::string> ichiran_soe() const;
  const std::vector<KaisekiTe>& kaiseki_kekka() const { return kekka_; }
  void kaiseki_nodes_settei(std::int64_t n) { nodes_ = n; }
  // The analysis' progress, or how it ended, in the status line.
  const std::string& kaiseki_moji() const { return moji_; }
  // A click or command: how the last analysis ended is said no more.
  void kaiseki_moji_kesu() {
    if (!kaiseki_chu()) moji_.clear();
  }

 private:
  std::string owari_moji() const;
  // The look-ahead's answer marked and written; `sita`: read on the turned board.
  void hint_miseru(YomiTe plan, bool sita);

  Madoguchi w_;
  const Taikyoku& t_;
  ComYomi& yomi_;
  YomiTe hint_te_;
  std::string hint_moji_;
  std::vector<KaisekiTe> kekka_;
  std::int64_t nodes_ = KAISEKI_NODES;
  int jobs_ = 2;
  std::string moji_;
  std::shared_ptr<KaisekiSagyou> sagyou_;
  std::vector<KifuEntry> kifu_;  // the record the analysis belongs to
  std::vector<int> hajime_;      // where each of its turns begins (entries before it)
  int shirushi_ = -1;            // the turn whose best moves are marked, -1 none
};

}  // namespace mirado
