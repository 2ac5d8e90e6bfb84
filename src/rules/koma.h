// Piece codes, sides and the small constants every subsystem shares.
//
// A square, a hand slot's kind and a moving piece are all one signed integer:
// the upper side (UE, drawn at the top) is positive, the lower side (SITA) is
// negative, 0 is an empty square. A promoted piece is one more in magnitude.
#pragma once

namespace mirado {

constexpr int kara = 0;   // empty square

constexpr int BAN_SIZE = 9;

// Unsigned magnitudes; UE uses them as they are, SITA negated.
constexpr int HU = 10, TO = 11;
constexpr int KYOU = 20, NARIKYOU = 21;
constexpr int KEI = 30, NARIKEI = 31;
constexpr int GIN = 100, NARIGIN = 101;
constexpr int KIN = 110, NARIKIN = 111;  // 111 never arises from a move
constexpr int KAKU = 800, UMA = 801;
constexpr int HISHA = 900, RYUU = 901;
constexpr int OU = 950;

// Hand columns on the window grid: a drop is a move whose source column is one of these.
constexpr int TE_SITA = 11;  // lower hand, right of the board; slot k on row k + 2
constexpr int TE_UE = -1;    // upper hand, left of the board; slot k on row 8 - k

// Kind of game (taikyoku_shu): two people at one mouse, or a person against the computer.
enum class TaikyokuShu { ningen = 0, com = 1 };

// Unpromoted magnitude of each hand slot 1..7 (slot 0 unused).
constexpr int MOCHIGOMA_KOMA[8] = {0, HU, KYOU, KEI, GIN, KIN, KAKU, HISHA};

constexpr bool is_ue(int code) { return code >= 10; }
constexpr bool is_sita(int code) { return code <= -10; }
constexpr bool is_koma(int code) { return code >= 10 || code <= -10; }
constexpr int koma_abs(int code) { return code < 0 ? -code : code; }

// Hand slot (1..7) of a piece's base kind, promoted or not; 0 for a king, empty or unknown code.
constexpr int mochigoma_slot(int code) {
  switch (koma_abs(code)) {
    case HU: case TO: return 1;
    case KYOU: case NARIKYOU: return 2;
    case KEI: case NARIKEI: return 3;
    case GIN: case NARIGIN: return 4;
    case KIN: case NARIKIN: return 5;
    case KAKU: case UMA: return 6;
    case HISHA: case RYUU: return 7;
    default: return 0;
  }
}

// Every code that can stand on a square (0 included).
constexpr bool is_valid_code(int code) {
  switch (koma_abs(code)) {
    case 0: case HU: case TO: case KYOU: case NARIKYOU: case KEI: case NARIKEI:
    case GIN: case NARIGIN: case KIN: case KAKU: case UMA: case HISHA: case RYUU: case OU:
      return true;
    default: return false;
  }
}

constexpr bool on_ban(int c, int r) { return c >= 1 && c <= 9 && r >= 1 && r <= 9; }

}  // namespace mirado
