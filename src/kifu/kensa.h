// Whether a record entry can be played on a position. Entries read from files may
// hold anything; stepping plays only those that fit the board and hands as they are.
#pragma once

#include <string>

#include "kifu/kifu.h"
#include "rules/kotowari.h"
#include "rules/kyokumen.h"
#include "rules/ugoki.h"

namespace mirado {

// Why the entry cannot be stepped forward on `p` (nashi: it can).
Kotowari te_kensa(const Kyokumen& p, const KifuEntry& e);

// The whole message for entry n when it cannot be stepped forward on `p` (its file line
// and the reason), empty when it can.
std::string sasenai_riyuu(const Kyokumen& p, const KifuEntry& e, int n);
// The whole message for entry n refused for `naze` in phase `d`: its file line, then the
// reason (the words the player is told for that refusal in that phase).
std::string sasenai_moji(const KifuEntry& e, int n, Kotowari naze, Dankai d = Dankai::ichi);
// The file line of entry n: its own, or where a move played here would stand once saved.
int kifu_gyou(const KifuEntry& e, int n);

// The move of a record entry as it is played; a drop names the hand slot of the piece it drops.
Te kifu_te(const KifuEntry& e);
// What taking back a record entry needs: what it moved and took are in it, and a king
// that moved goes back to its source.
TeModoshi kifu_modoshi(const KifuEntry& e);

}  // namespace mirado
