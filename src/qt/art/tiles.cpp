// The five background tiles. Each is a pattern repeating every square
// (33 x 41); the tile is one column wider and that column repeats the first,
// so tiles laid every 33 pixels, overlapping by one column, join seamlessly.
#include <QPainter>
#include <QtMath>

#include <array>
#include <functional>

#include "art.h"
#include "art_internal.h"

namespace mirado::art::detail {
namespace {

constexpr double kPW = kSquareWidth;  // the repeat
constexpr double kPH = kTileHeight;

// Widens one repeat of the pattern to the tile by copying its first columns.
QImage widen(const QImage &period, qreal dpr) {
  QImage img = blank({double(kTileWidth), kPH}, dpr);
  for (int j = 0; j < img.height(); ++j) {
    const auto *src = reinterpret_cast<const QRgb *>(period.constScanLine(j));
    auto *dst = reinterpret_cast<QRgb *>(img.scanLine(j));
    for (int i = 0; i < img.width(); ++i) dst[i] = src[i % period.width()];
  }
  return img;
}

// Paints a motif so that whatever crosses an edge of the repeat comes back
// in on the opposite side.
void wrapped(QPainter &p, const std::function<void(QPainter &)> &motif) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      p.save();
      p.translate(dx * kPW, dy * kPH);
      motif(p);
      p.restore();
    }
}

// --- 英国: a green tartan. Warp and weft carry the same sett; the twill
// shows as fine diagonals where the two colours cross.
QColor settX(double x) {
  const QColor green(30, 96, 56), navy(20, 34, 72), black(14, 20, 18), gold(214, 178, 64);
  if (x < 6 || x >= 25) return navy;
  if (x < 7 || (x >= 24 && x < 25)) return black;
  if (x >= 15 && x < 16) return gold;
  return green;
}

QColor settY(double y) {
  const QColor green(30, 96, 56), navy(20, 34, 72), black(14, 20, 18), red(168, 36, 36);
  if (y < 7 || y >= 33) return navy;
  if (y < 8 || (y >= 32 && y < 33)) return black;
  if (y >= 20 && y < 21) return red;
  return green;
}

QImage tartan(qreal dpr) {
  QImage img = blank({kPW, kPH}, dpr);
  shade(img, [](double x, double y) {
    const double twill = 0.5 + 0.38 * std::sin(kTau * (x + y) / 4.0);
    const QRgb c = mix(settX(x), settY(y), twill);
    const double fibre = 0.9 + 0.2 * noise1(x * 3 + y * 7, 71, 31);
    return qRgb(qMin(255, int(qRed(c) * fibre)), qMin(255, int(qGreen(c) * fibre)),
                qMin(255, int(qBlue(c) * fibre)));
  });
  return img;
}

// --- 美女１: tatami. Rows of rush run across, bound by warp threads every
// few pixels; the rush bulges between the threads, offset row to row.
QImage tatami(qreal dpr) {
  QImage img = blank({kPW, kPH}, dpr);
  constexpr double rowH = kPH / 20, warp = kPW / 6;
  shade(img, [](double x, double y) {
    const int row = int(std::floor(y / rowH));
    const double v = y / rowH - row;
    const double u = std::fmod(x / warp + (row % 2) * 0.5, 1.0);
    const double bulge = std::sin(std::numbers::pi * v) * (0.75 + 0.25 * std::sin(std::numbers::pi * u));
    const double thread = std::exp(-std::pow(wrappedDistance(x, 0.5 * warp, warp) / 0.35, 2));
    // Each strand of rush has its own shade, and varies a little along its length.
    const double rush = 0.22 * hash01(row, 41) + 0.10 * noise1(x * 0.9, 30, 42 + row);
    const QColor straw(224, 208, 128), shadow(146, 138, 66), cord(98, 90, 54);
    const QRgb base = mix(shadow, straw, 0.30 + 0.75 * bulge - rush);
    return mix(QColor(base), cord, 0.55 * thread);
  });
  return img;
}

// --- 美女２: bamboo stalks with their nodes, and a few leaves.
struct Stalk {
  double x, width, node;
};
constexpr std::array<Stalk, 3> kStalks{{{6.0, 6.5, 12.0}, {18.5, 8.0, 31.0}, {28.5, 4.5, 22.0}}};

void paintStalk(QPainter &p, const Stalk &s) {
  QLinearGradient g(s.x - s.width / 2, 0, s.x + s.width / 2, 0);
  g.setColorAt(0, QColor(58, 104, 34));
  g.setColorAt(0.3, QColor(150, 196, 92));
  g.setColorAt(0.55, QColor(112, 164, 64));
  g.setColorAt(1, QColor(44, 84, 26));
  p.fillRect(QRectF(s.x - s.width / 2, -1, s.width, kPH + 2), g);
  // The node: a dark ring with a pale ridge just under it.
  p.fillRect(QRectF(s.x - s.width / 2 - 0.4, s.node - 0.6, s.width + 0.8, 1.0), QColor(40, 72, 22));
  p.fillRect(QRectF(s.x - s.width / 2, s.node + 0.4, s.width, 0.8), QColor(196, 222, 140, 180));
}

void paintLeaf(QPainter &p, QPointF base, double angle, double length) {
  p.save();
  p.translate(base);
  p.rotate(angle);
  QPainterPath leaf;
  leaf.moveTo(0, 0);
  leaf.quadTo(length * 0.45, -length * 0.16, length, 0);
  leaf.quadTo(length * 0.45, length * 0.12, 0, 0);
  p.fillPath(leaf, QColor(46, 112, 40));
  p.strokePath(leaf, QPen(QColor(30, 72, 24), 0.4));
  p.restore();
}

QImage bamboo(qreal dpr) {
  QImage img = blank({kPW, kPH}, dpr);
  shade(img, [](double x, double y) {
    const double mist = 0.5 + 0.5 * std::sin(kTau * y / kPH) * std::cos(kTau * x / kPW);
    return mix(QColor(214, 228, 190), QColor(236, 240, 214), mist);
  });
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  wrapped(p, [](QPainter &q) {
    for (const Stalk &s : kStalks) paintStalk(q, s);
    paintLeaf(q, {9.0, 12.0}, 28, 10);
    paintLeaf(q, {9.0, 12.5}, 62, 8);
    paintLeaf(q, {22.0, 31.0}, 152, 10);
    paintLeaf(q, {22.0, 31.5}, 118, 8);
    paintLeaf(q, {30.5, 22.0}, 36, 8);
  });
  return img;
}

// --- ヌバラ: a starry night sky with faint nebulae.
struct Star {
  double x, y, radius;
  QColor colour;
  bool sparkle;
};

void paintStar(QPainter &p, const Star &s) {
  QRadialGradient glow(s.x, s.y, s.radius * 2.6);
  QColor halo = s.colour;
  halo.setAlpha(90);
  glow.setColorAt(0, s.colour);
  glow.setColorAt(0.35, halo);
  glow.setColorAt(1, QColor(0, 0, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(glow);
  p.drawEllipse(QPointF(s.x, s.y), s.radius * 2.6, s.radius * 2.6);
  if (!s.sparkle) return;
  QColor ray = s.colour;
  ray.setAlpha(150);
  p.setPen(QPen(ray, 0.45, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(s.x - 4.5, s.y), QPointF(s.x + 4.5, s.y));
  p.drawLine(QPointF(s.x, s.y - 4.5), QPointF(s.x, s.y + 4.5));
}

QImage space(qreal dpr) {
  QImage img = blank({kPW, kPH}, dpr);
  shade(img, [](double x, double y) {
    const double a = kTau * x / kPW, b = kTau * y / kPH;
    const double violet = clamp01(0.5 * std::sin(a + 2 * b + 0.7) + 0.3 * std::cos(2 * a - b));
    const double blue = clamp01(0.5 * std::cos(a - b + 2.0) + 0.2 * std::sin(3 * b));
    const QRgb sky = mix(QColor(6, 8, 26), QColor(52, 24, 84), 0.55 * violet);
    return mix(QColor(sky), QColor(20, 48, 110), 0.35 * blue);
  });
  static const std::array<Star, 12> stars{{
      {7.5, 9.5, 0.9, QColor(255, 250, 230), true},  {24.5, 29.5, 0.75, QColor(200, 220, 255), true},
      {18.0, 4.0, 0.45, QColor(255, 255, 255), false}, {29.0, 14.0, 0.4, QColor(255, 220, 190), false},
      {3.0, 24.0, 0.45, QColor(210, 230, 255), false}, {12.0, 35.0, 0.4, QColor(255, 255, 255), false},
      {15.0, 19.0, 0.3, QColor(255, 255, 255), false}, {31.5, 37.5, 0.3, QColor(255, 240, 220), false},
      {22.0, 12.5, 0.3, QColor(220, 230, 255), false}, {9.0, 29.0, 0.3, QColor(255, 255, 255), false},
      {27.0, 5.5, 0.3, QColor(255, 255, 255), false},  {4.0, 38.5, 0.3, QColor(230, 230, 255), false},
  }};
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  wrapped(p, [](QPainter &q) {
    for (const Star &s : stars) paintStar(q, s);
  });
  return img;
}

// --- 美女３: brick in running bond, four courses to a tile.
struct Brick {
  int id;
  double dx, dy;  // position inside the brick
  double w, h;
  bool mortar;
};

Brick brickAt(double x, double y) {
  static constexpr std::array<double, 5> course{0, 10, 20, 30, 41};
  int row = 0;
  while (row < 3 && y >= course[row + 1]) ++row;
  const double top = course[row] + 1, h = course[row + 1] - top;
  const double shift = (row % 2) ? 8.0 : 0.0;
  const double u = std::fmod(x - shift + kPW, kPW);
  const double left = u < 16 ? 0.0 : 16.0, w = (u < 16 ? 16.0 : 17.0) - 1;
  const double dx = u - left - 1, dy = y - top;
  return {row * 2 + (u < 16 ? 0 : 1), dx, dy, w, h, dx < 0 || dy < 0};
}

QImage brick(qreal dpr) {
  QImage img = blank({kPW, kPH}, dpr);
  shade(img, [](double x, double y) {
    const Brick b = brickAt(x, y);
    if (b.mortar) return mix(QColor(196, 186, 166), QColor(160, 150, 132), noise1(x * 2 + y * 5, 97, 51));
    const QColor fired = QColor::fromHsvF(0.025 + 0.02 * hash01(b.id, 52), 0.68, 0.50 + 0.16 * hash01(b.id, 53));
    const double edge = b.dy < 0.8 ? 0.25 : (b.dy > b.h - 0.9 || b.dx > b.w - 0.9 ? -0.22 : 0.0);
    const double grit = 0.12 * (hash01(int(x * 3), int(y * 3) + 977) - 0.5);
    const double t = edge + grit;
    return t >= 0 ? mix(fired, QColor(236, 170, 130), t) : mix(fired, QColor(52, 18, 10), -t);
  });
  return img;
}

}  // namespace

QImage tile(int id, qreal dpr) {
  QImage period;
  switch (id) {
    case kTileMidori: period = tartan(dpr); break;
    case kTileTatami: period = tatami(dpr); break;
    case kTileTake: period = bamboo(dpr); break;
    case kTileUchu: period = space(dpr); break;
    case kTileRenga: period = brick(dpr); break;
    default: return {};
  }
  return widen(period, dpr);
}

}  // namespace mirado::art::detail
