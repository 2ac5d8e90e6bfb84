// SFEN position notation mapped onto this board: ranks from row 1 (top) to row 9,
// each rank from column 1 (leftmost on screen) to column 9; uppercase letters are
// the lower side, lowercase the upper side; side to move "b" means the lower pieces.
#pragma once

#include <string>
#include <string_view>

#include "rules/kyokumen.h"

namespace mirado {

struct SfenPosition {
  Kyokumen pos;
  int teban_sita = 1;  // 1: the lower pieces move next ("b"), 0: the upper ("w")
  int move_number = 1;
};

// Parses SFEN; on failure returns false and names the problem in `error`.
bool parse_sfen(std::string_view sfen, SfenPosition& out, std::string& error);

std::string sfen_board(const Kyokumen& p);  // the board field
std::string sfen_hands(const Kyokumen& p);  // the hands field ("-" when both are empty)
std::string to_sfen(const Kyokumen& p, bool teban_sita, int move_number);

}  // namespace mirado
