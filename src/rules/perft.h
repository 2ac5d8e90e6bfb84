// Counting ordinary alternating move sequences, to check the rules core against
// published shogi move counts.
#pragma once

#include <cstdint>

#include "rules/kyokumen.h"

namespace mirado {

// Moves of the side to move: every board move and drop idou_kanou accepts, a forced
// promotion once and an optional one twice, minus those leaving the mover's king attacked.
std::uint64_t perft(Kyokumen& p, bool teban_sita, int depth);

}  // namespace mirado
