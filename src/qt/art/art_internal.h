// Drawing helpers shared by the picture makers; not part of the public API.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QSizeF>
#include <QString>

#include <cmath>
#include <numbers>

namespace mirado::art::detail {

inline constexpr double kTau = 2.0 * std::numbers::pi;

// A transparent image of logical size times dpr pixels, carrying dpr, so a
// QPainter on it works in logical coordinates.
QImage blank(QSizeF logical, qreal dpr);

// Sets every pixel to colourAt(x, y), x and y the logical coordinates of the
// pixel's centre: procedural textures evaluated at the output resolution.
template <class ColourAt>
void shade(QImage &img, ColourAt colourAt) {
  const qreal dpr = img.devicePixelRatio();
  for (int j = 0; j < img.height(); ++j) {
    auto *line = reinterpret_cast<QRgb *>(img.scanLine(j));
    const double y = (j + 0.5) / dpr;
    for (int i = 0; i < img.width(); ++i) line[i] = colourAt((i + 0.5) / dpr, y);
  }
}

// Deterministic pseudo-random value in [0, 1) for an integer lattice point.
double hash01(int a, int b = 0);
// Smooth value noise of t, repeating every `period` units.
double noise1(double t, int period, int seed);
// Linear mix of two colours, t in [0, 1], opaque result.
QRgb mix(QColor a, QColor b, double t);
inline double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
// Distance from t to c on a circle of circumference period.
inline double wrappedDistance(double t, double c, double period) {
  const double d = std::fabs(std::fmod(t - c, period));
  return std::fmin(d, period - d);
}

// Outline of one character, its ink box centred on the origin, about
// `size` logical pixels high for a full-height kanji. Empty when no text can
// be drawn (no QGuiApplication).
QPainterPath glyph(QChar ch, qreal size);
// Outline of a line of text laid out at 100 px, ink box centred on the origin.
QPainterPath textLine(const QString &text);

// The picture makers. Each returns a complete image for valid input.
QImage woodSquare(qreal dpr);
QImage pieceSquare(int code, qreal dpr);  // null for a code that is not a piece
QImage tile(int id, qreal dpr);           // null for an id that is not a tile
QImage logo(bool celebratory, qreal dpr);
QImage playerIcon(int which, qreal dpr);  // null for an unknown icon

}  // namespace mirado::art::detail
