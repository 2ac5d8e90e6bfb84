// The in-memory game record: one entry per single move, up to three to a turn.
#pragma once

#include <vector>

#include "rules/ugoki.h"

namespace mirado {

struct KifuEntry {
  Te te;              // the move, te.koma promoted if it promoted; a drop names its hand slot
  int moto_koma = 0;  // code that stood on the source (for a drop, the dropped piece)
  int tori_koma = 0;  // code captured on the destination, or 0
  double sita_mae = 0, sita_ato = 0;  // lower player's time before / after the move
  double ue_mae = 0, ue_ato = 0;      // upper player's time before / after the move
  int gyou = 0;       // line of the file it was loaded from; 0 for a move played here
  int kaketa_ran = 0;  // the first field (1..11) its file line left blank or cut off; 0 when whole
};

// Entries are numbered from 1 as the game counts moves. The record grows with the game;
// it has no fixed limit.
class Kifu {
 public:
  int kifu_ichi = 0;    // entries currently played out on the board
  int kifu_nagasa = 0;  // valid entries

  // Appends at position kifu_ichi + 1, dropping entries left from a line stepped back over.
  void kiroku(const KifuEntry& e) {
    ++kifu_ichi;
    if (static_cast<int>(entries_.size()) <= kifu_ichi) entries_.resize(kifu_ichi + 1);
    entries_[kifu_ichi] = e;
    kifu_nagasa = kifu_ichi;
  }

  // Room for n entries made beforehand, so recording them allocates nothing.
  void yoyaku(int n) { entries_.reserve(static_cast<std::size_t>(n) + 1); }

  // Overwrites stored entry n (1 and up); outside the stored entries nothing happens.
  void okikae(int n, const KifuEntry& e) {
    if (n >= 1 && n < static_cast<int>(entries_.size())) entries_[n] = e;
  }
  // Entry n; reading past the stored entries gives an entry of zeros.
  const KifuEntry& at(int n) const {
    static const KifuEntry kZero{};
    return (n >= 1 && n < static_cast<int>(entries_.size())) ? entries_[n] : kZero;
  }

  // Entries 1..n as a list, as a record file holds them.
  std::vector<KifuEntry> made(int n) const {
    std::vector<KifuEntry> out;
    for (int i = 1; i <= n; ++i) out.push_back(at(i));
    return out;
  }

  // Replaces the whole record (a loaded file); position 0.
  void set_entries(std::vector<KifuEntry> list) {
    entries_.assign(1, KifuEntry{});
    entries_.insert(entries_.end(), list.begin(), list.end());
    kifu_ichi = 0;
    kifu_nagasa = static_cast<int>(list.size());
  }

 private:
  std::vector<KifuEntry> entries_ = std::vector<KifuEntry>(1);  // slot 0 unused
};

}  // namespace mirado
