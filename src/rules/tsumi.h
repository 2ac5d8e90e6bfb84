// Check and mate detection.
#pragma once

#include "rules/kiki.h"
#include "rules/kyokumen.h"

namespace mirado {

// Is the lower king (at p.ou_sita_x/y) reachable by any upper piece? Direct scan.
bool sita_outechu(const Kyokumen& p);

// Is the lower / upper side mated in the position now on the board? The board, hands and
// flags are always restored. Stalemate is not detected.
bool tsumi_sita(Kyokumen& p);
bool tsumi_ue(Kyokumen& p);

}  // namespace mirado
