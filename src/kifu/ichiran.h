// The move list beside the board, the hint, the analysis and the command line write moves
// one way: the usual notation players read (squares named from 先手's side of the board,
// full-width file, kanji rank, the piece as it stands before the move, 同, the words that
// tell two like pieces apart, 成/不成/打).
#pragma once

#include <string>
#include <vector>

#include "kifu/kifu.h"
#include "rules/kyokumen.h"

namespace mirado {

// One move as players write it, read on the position `mae` before it: ▲ or △ by the side
// whose piece moved ("▲７六歩", "△同角成", "▲５七金右", "▲５五銀不成", "▲３三歩打"). `zen`
// is the move before it (nullptr: none), whose destination makes 同. `sita_sente`: the lower
// pieces are 先手's; when they are not, 先手 sits at the top and every square is named as on
// the board turned round to face it. Kings are named by their owner: 玉 below, 王 above.
std::string te_hyouki(const Kyokumen& mae, const KifuEntry& e, const KifuEntry* zen, bool sita_sente);

// The position before the record's first entry, found by taking back the kifu_ichi
// entries played out on `ima` (a record may start from a handicap or a turned board).
Kyokumen kifu_hajime(const Kyokumen& ima, const Kifu& kifu);

// Where each turn of a record begins (the entries before it), as the rules of play divide
// it (taikyoku's turn_hajime): a turn the computer cut short, finding no move for one of
// its procedures, holds fewer than three entries. Entries past the last turn listed, or a
// record whose turns are not known (empty), go three to a turn.
using TurnHajime = std::vector<int>;

// Where the rows of the move list begin for entries 1..n, one row to a turn.
std::vector<int> gyou_hajime(const TurnHajime& turns, int n);

// Rows for entries 1..n of a record played from `hajime`, one to a turn:
// "  1 先手 ▲７六歩 △３四歩 ▲２六歩". A turn is the holder's whose own piece opens it.
std::vector<std::string> kifu_ichiran(const Kifu& kifu, int n, bool sita_sente, const Kyokumen& hajime,
                                      const TurnHajime& turns = {});

// The row (0-based) that holds entry `ichi`, -1 before the first move.
int ichiran_gyou(int ichi, const TurnHajime& turns = {});

}  // namespace mirado
