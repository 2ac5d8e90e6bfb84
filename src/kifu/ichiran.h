// The move list beside the board: one row per turn of three moves, in the notation
// players read (file label over the column, kanji rank, piece, 成/不成/打).
#pragma once

#include <string>
#include <vector>

#include "kifu/kifu.h"

namespace mirado {

// One move as players write it: ▲ or △ by the side whose piece moved ("▲7六歩",
// "△2二角成", "▲5五銀不成", "▲3三歩打"). The lower pieces are ▲ when they moved first.
std::string te_hyouki(const KifuEntry& e, bool sita_sente);

// Rows for entries 1..n of a record, three to a turn:
// "  1 先手 ▲7六歩 △3四歩 ▲2六歩". The holder of a turn alternates from the first mover.
std::vector<std::string> kifu_ichiran(const Kifu& kifu, int n, bool sita_sente);

// The row (0-based) that holds entry `ichi`, -1 before the first move.
inline int ichiran_gyou(int ichi) { return ichi >= 1 ? (ichi - 1) / 3 : -1; }

}  // namespace mirado
