// The pictures the window paints, drawn in code: board squares with and
// without pieces, the background tiles, the two logos and the player icons.
#pragma once

#include <QImage>
#include <QString>

namespace mirado::art {

// Ids of the non-piece pictures, as the game paints them.
inline constexpr int kEmptySquare = 0;  // KARA_MASU
inline constexpr int kLogo = 1;         // ZUVANSHOGI: while a game runs
inline constexpr int kLogoIdle = 2;     // ZUVANSHOGI2: before a game, and when it is won
inline constexpr int kTileMidori = 3;
inline constexpr int kTileTatami = 4;
inline constexpr int kTileTake = 5;
inline constexpr int kTileUchu = 6;
inline constexpr int kTileRenga = 7;

// Which player icon.
inline constexpr int kIconMan1 = 0;  // AICON_MAN1, the first player
inline constexpr int kIconMan2 = 1;  // AICON_MAN2, the second player
inline constexpr int kIconCom = 2;   // AICON_COM, the computer

// Logical sizes in pixels.
inline constexpr int kSquareWidth = 33;
inline constexpr int kSquareHeight = 41;
inline constexpr int kTileWidth = 34;  // one column wider than a square: tiles overlap by one
inline constexpr int kTileHeight = 41;
inline constexpr int kLogoWidth = 127;
inline constexpr int kLogoHeight = 54;
inline constexpr int kIconSize = 32;

// The picture for id: 0 the empty square; a piece code (negative the lower
// side, upright; positive the upper side, upside down); 1, 2 the logos;
// 3..7 the background tiles. Any other id gives a null image.
// With dpr > 1 the image has dpr times as many pixels, is drawn at that
// resolution and carries the ratio (QImage::devicePixelRatio).
// Thread-safe; results are cached, so repeated calls are cheap.
QImage picture(int id, qreal dpr = 1.0);

// A player icon (kIconMan1, kIconMan2, kIconCom) on a transparent ground,
// kIconSize square; any other value gives a null image.
QImage icon(int which, qreal dpr = 1.0);

// The family for piece names and logos, "IPAPMincho" unless changed. A family
// that is not installed falls back to the application's default font, and
// without a QGuiApplication no text is drawn at all (there are no fonts).
void setFontFamily(const QString &family);
QString fontFamily();

}  // namespace mirado::art
