#include "rules/sfen.h"

#include <cassert>
#include <cctype>
#include <sstream>
#include <vector>

namespace mirado {

namespace {

int letter_code(char ch) {
  switch (std::toupper(static_cast<unsigned char>(ch))) {
    case 'P': return HU;
    case 'L': return KYOU;
    case 'N': return KEI;
    case 'S': return GIN;
    case 'G': return KIN;
    case 'B': return KAKU;
    case 'R': return HISHA;
    case 'K': return OU;
    default: return 0;
  }
}

char code_letter(int code) {
  char ch = '?';
  switch (koma_abs(code)) {
    case HU: case TO: ch = 'p'; break;
    case KYOU: case NARIKYOU: ch = 'l'; break;
    case KEI: case NARIKEI: ch = 'n'; break;
    case GIN: case NARIGIN: ch = 's'; break;
    case KIN: ch = 'g'; break;
    case KAKU: case UMA: ch = 'b'; break;
    case HISHA: case RYUU: ch = 'r'; break;
    case OU: ch = 'k'; break;
    default: break;
  }
  return code < 0 ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch))) : ch;
}

bool is_promoted(int code) {
  switch (koma_abs(code)) {
    case TO: case NARIKYOU: case NARIKEI: case NARIGIN: case UMA: case RYUU: return true;
    default: return false;
  }
}

bool parse_board(std::string_view field, Kyokumen& p, std::string& error) {
  int row = 1, col = 1;
  bool promote = false;
  for (char ch : field) {
    if (promote && !std::isalpha(static_cast<unsigned char>(ch))) {
      error = "'+' must be followed by a piece letter";
      return false;
    }
    if (ch == '/') {
      if (col != 10) {
        error = "rank " + std::to_string(row) + " has " + std::to_string(col - 1) + " squares, not 9";
        return false;
      }
      if (++row > 9) {
        error = "more than 9 ranks";
        return false;
      }
      col = 1;
    } else if (ch >= '1' && ch <= '9') {
      col += ch - '0';
      if (col > 10) {
        error = "rank " + std::to_string(row) + " is longer than 9 squares";
        return false;
      }
    } else if (ch == '+') {
      promote = true;
    } else {
      const int base = letter_code(ch);
      if (base == 0) {
        error = std::string("unknown letter '") + ch + "' in the board field";
        return false;
      }
      if (col > 9) {
        error = "rank " + std::to_string(row) + " is longer than 9 squares";
        return false;
      }
      int code = base;
      if (promote) {
        if (base == KIN || base == OU) {
          error = std::string("'+") + ch + "' cannot promote";
          return false;
        }
        code = base + 1;
        promote = false;
      }
      p.ban[col][row] = std::isupper(static_cast<unsigned char>(ch)) ? -code : code;
      ++col;
    }
  }
  if (promote) {
    error = "'+' at the end of the board field";
    return false;
  }
  if (row != 9 || col != 10) {
    error = row != 9 ? "the board field has " + std::to_string(row) + " ranks, not 9"
                     : "rank 9 has " + std::to_string(col - 1) + " squares, not 9";
    return false;
  }
  return true;
}

bool parse_hands(std::string_view field, Kyokumen& p, std::string& error) {
  if (field == "-") return true;
  int count = 0;
  bool have_count = false;
  for (char ch : field) {
    if (std::isdigit(static_cast<unsigned char>(ch))) {
      count = count * 10 + (ch - '0');
      have_count = true;
      if (count > 18) {
        error = "a hand count above 18";
        return false;
      }
      continue;
    }
    const int base = letter_code(ch);
    const int slot = mochigoma_slot(base);
    if (slot == 0) {
      error = std::string("unknown letter '") + ch + "' in the hands field";
      return false;
    }
    const int n = have_count ? count : 1;
    int& held = std::isupper(static_cast<unsigned char>(ch)) ? p.mochigoma_sita[slot] : p.mochigoma_ue[slot];
    held += n;
    if (held > 18) {  // a letter repeated adds up too: "18P2P" is 20 pawns
      error = "a hand count above 18";
      return false;
    }
    count = 0;
    have_count = false;
  }
  if (have_count) {
    error = "a count at the end of the hands field";
    return false;
  }
  return true;
}

}  // namespace

bool parse_sfen(std::string_view sfen, SfenPosition& out, std::string& error) {
  std::istringstream in{std::string(sfen)};
  std::vector<std::string> fields;
  for (std::string f; in >> f;) fields.push_back(f);
  if (fields.size() < 3 || fields.size() > 4) {
    error = "SFEN needs 3 or 4 fields (board, side, hands[, move number]), got " +
            std::to_string(fields.size());
    return false;
  }
  SfenPosition r;
  r.pos.kara_ni();
  if (!parse_board(fields[0], r.pos, error)) return false;
  if (fields[1] == "b") r.teban_sita = 1;
  else if (fields[1] == "w") r.teban_sita = 0;
  else {
    error = "side to move must be 'b' or 'w', got '" + fields[1] + "'";
    return false;
  }
  if (!parse_hands(fields[2], r.pos, error)) return false;
  if (fields.size() == 4) {
    const std::string& n = fields[3];
    if (n.empty() || n.size() > 6 || n.find_first_not_of("0123456789") != std::string::npos) {
      error = "move number must be a number, got '" + n + "'";
      return false;
    }
    r.move_number = std::stoi(n);
  }
  int kings_sita = 0, kings_ue = 0;
  for (int c = 1; c <= 9; ++c)
    for (int row = 1; row <= 9; ++row) {
      if (r.pos.ban[c][row] == -OU) ++kings_sita;
      if (r.pos.ban[c][row] == OU) ++kings_ue;
    }
  if (kings_sita != 1 || kings_ue != 1) {
    error = (kings_sita == 0 || kings_ue == 0) ? std::string("missing king (")
                                                     + (kings_sita == 0 ? "K" : "k") + ")"
                                               : std::string("more than one king of a side");
    return false;
  }
  r.pos.shiage();
  assert(kyokumen_fusei(r.pos).empty());
  out = r;
  return true;
}

std::string sfen_board(const Kyokumen& p) {
  std::string s;
  for (int row = 1; row <= 9; ++row) {
    int empty = 0;
    for (int c = 1; c <= 9; ++c) {
      const int code = p.ban[c][row];
      if (code == kara || !is_valid_code(code)) {
        ++empty;
        continue;
      }
      if (empty) s += static_cast<char>('0' + empty), empty = 0;
      if (is_promoted(code)) s += '+';
      s += code_letter(code);
    }
    if (empty) s += static_cast<char>('0' + empty);
    if (row < 9) s += '/';
  }
  return s;
}

std::string sfen_hands(const Kyokumen& p) {
  static constexpr int kOrder[7] = {7, 6, 5, 4, 3, 2, 1};  // R B G S N L P
  std::string s;
  for (int side = 0; side < 2; ++side) {
    const int* hand = side == 0 ? p.mochigoma_sita : p.mochigoma_ue;
    for (int slot : kOrder) {
      const int n = hand[slot];
      if (n <= 0) continue;
      if (n > 1) s += std::to_string(n);
      s += code_letter(side == 0 ? -MOCHIGOMA_KOMA[slot] : MOCHIGOMA_KOMA[slot]);
    }
  }
  return s.empty() ? "-" : s;
}

std::string to_sfen(const Kyokumen& p, bool teban_sita, int move_number) {
  return sfen_board(p) + (teban_sita ? " b " : " w ") + sfen_hands(p) + " " +
         std::to_string(move_number);
}

}  // namespace mirado
