// Check and mate detection.
#pragma once

#include "engine/kiki.h"
#include "model/kyokumen.h"

namespace mirado {

// Is the lower king (at p.ou_sita_x/y) reachable by any upper piece? Direct scan.
int sita_outechu(const Kyokumen& p);

// Is the lower / upper side mated in the position now on the board? The maps must
// describe that position. Both judge pawn drops by the position they test and give the
// pawn-file flags back as they found them; the board is always restored, and the maps
// describe the restored board when they return. Stalemate is not detected.
int tsumi_sita(Kyokumen& p, Kiki& k);
int tsumi_ue(Kyokumen& p, Kiki& k);

}  // namespace mirado
