// The consistency checker of a position: every test and the debug builds' do_move and
// undo_move ask it, so a fault in the derived state shows where it is made.
#include <cstring>

#include "rules/kyokumen.h"

namespace mirado {

namespace {

std::string masu(int c, int r) { return std::to_string(c) + "," + std::to_string(r); }

// Valid codes on every square and at most one king a side; counts the kings found.
std::string ban_fusei(const Kyokumen& p, int& ou_sita, int& ou_ue) {
  ou_sita = ou_ue = 0;
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) {
      const int code = p.ban[c][r];
      if (!is_valid_code(code) || (code != kara && !is_koma(code)))
        return "invalid code " + std::to_string(code) + " at " + masu(c, r);
      ou_sita += code == -OU;
      ou_ue += code == OU;
    }
  if (ou_sita > 1 || ou_ue > 1) return "a side has two kings";
  return {};
}

// The slots add up to the total, with one more for a king taken (there is none to take
// while the other king stands).
std::string te_fusei(const char* gawa, const int (&te)[8], int su, bool teki_ou_ari) {
  int n = 0;
  for (int k = 1; k <= 7; ++k) {
    if (te[k] < 0) return "negative hand count in slot " + std::to_string(k);
    n += te[k];
  }
  if (su != n && (teki_ou_ari || su != n + 1))
    return std::string(gawa) + " hand total " + std::to_string(su) + " for " + std::to_string(n) + " pieces";
  return {};
}

std::string fu_suji_fusei(const Kyokumen& p) {
  for (int c = 1; c <= 9; ++c) {
    const auto f = p.fu_suji_kazoe(c);
    if (p.fu_suji_sita[c] != f.sita || p.fu_suji_ue[c] != f.ue)
      return "the pawn-file flags of column " + std::to_string(c) + " do not fit the board";
  }
  return {};
}

std::string ou_fusei(const Kyokumen& p, int ou_sita, int ou_ue) {
  auto tatsu = [&p](int x, int y, int code) { return on_ban(x, y) && p.ban[x][y] == code; };
  if (ou_sita == 1 && !tatsu(p.ou_sita_x, p.ou_sita_y, -OU)) return "the lower king is not on its square";
  if (ou_ue == 1 && !tatsu(p.ou_ue_x, p.ou_ue_y, OU)) return "the upper king is not on its square";
  return {};
}

}  // namespace

std::string kyokumen_fusei(const Kyokumen& p) {
  int ou_sita = 0, ou_ue = 0;
  if (std::string f = ban_fusei(p, ou_sita, ou_ue); !f.empty()) return f;
  if (std::string f = te_fusei("lower", p.mochigoma_sita, p.mochigoma_su_sita, ou_ue == 1); !f.empty()) return f;
  if (std::string f = te_fusei("upper", p.mochigoma_ue, p.mochigoma_su_ue, ou_sita == 1); !f.empty()) return f;
  if (std::string f = fu_suji_fusei(p); !f.empty()) return f;
  if (std::string f = ou_fusei(p, ou_sita, ou_ue); !f.empty()) return f;
  if (p.kiki_no_ == p.ban_no_) {
    Kiki fresh;
    kiki_keisan(p.ban, fresh);
    if (std::memcmp(&fresh, &p.kiki_, sizeof fresh) != 0) return "the influence maps do not fit the board";
  }
  return {};
}

}  // namespace mirado
