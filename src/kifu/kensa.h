// Whether a record entry can be played on a position. Entries read from files may
// hold anything; stepping plays only those that fit the board and hands as they are.
#pragma once

#include <string>

#include "kifu/kifu.h"
#include "rules/kyokumen.h"

namespace mirado {

// Empty when the entry can be stepped forward on `p`; otherwise the reason, for the user.
std::string te_kensa(const Kyokumen& p, const KifuEntry& e);

}  // namespace mirado
