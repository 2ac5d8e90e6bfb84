// The board squares: the wooden surface, and the pieces standing on it.
#include <QPainter>
#include <QPainterPathStroker>

#include <array>
#include <vector>

#include "art.h"
#include "art_internal.h"

namespace mirado::art::detail {
namespace {

constexpr double kW = kSquareWidth;
constexpr double kH = kSquareHeight;

// Straight-grained wood: darker late-wood lines running down the board, a
// little wavy, plus fine fibres. Repeats every square height so the grain
// runs on unbroken from one row of squares to the next.
double grain(double x, double y) {
  struct Line {
    double at, width, depth;
  };
  static constexpr std::array<Line, 9> lines{{{2.6, 0.45, 0.55},
                                              {6.9, 1.3, 0.30},
                                              {10.4, 0.5, 0.60},
                                              {14.8, 0.9, 0.28},
                                              {18.7, 0.45, 0.50},
                                              {22.5, 1.6, 0.22},
                                              {26.2, 0.5, 0.58},
                                              {29.4, 0.8, 0.30},
                                              {31.9, 0.4, 0.35}}};
  const double u = x + 0.55 * std::sin(kTau * y / kH + 0.6) + 0.3 * std::sin(kTau * 2 * y / kH + 2.0);
  double tone = 0;
  for (const Line &l : lines) {
    const double d = wrappedDistance(u, l.at, kW) / l.width;
    tone += l.depth * std::exp(-d * d);
  }
  tone += 0.22 * noise1(u * 2.2, 73, 11) + 0.10 * noise1(u * 5.1, 169, 12);
  tone += 0.06 * std::sin(kTau * y / kH + 1.3);
  return tone;
}

// Tone per pixel, made symmetric under a half turn: an upper-side piece is
// its lower-side picture turned round, and the wood under it must still match
// every other square.
std::vector<double> grainField(int w, int h, qreal dpr) {
  std::vector<double> v(static_cast<size_t>(w) * h);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) v[j * w + i] = grain((i + 0.5) / dpr, (j + 0.5) / dpr);
  std::vector<double> sym(v.size());
  for (size_t k = 0; k < v.size(); ++k) sym[k] = 0.5 * (v[k] + v[v.size() - 1 - k]);
  return sym;
}

}  // namespace

QImage woodSquare(qreal dpr) {
  QImage img = blank({kW, kH}, dpr);
  const std::vector<double> tone = grainField(img.width(), img.height(), dpr);
  const QColor light(238, 200, 134), dark(188, 132, 66);
  for (int j = 0; j < img.height(); ++j) {
    auto *line = reinterpret_cast<QRgb *>(img.scanLine(j));
    for (int i = 0; i < img.width(); ++i) line[i] = mix(light, dark, 0.12 + 0.55 * tone[j * img.width() + i]);
  }
  return img;
}

namespace {

struct PieceLook {
  int code;        // the lower side's code, negated
  QString name;    // written top to bottom
  bool promoted;
  double scale;    // pieces of higher rank are made larger, as in a real set
};

const PieceLook *lookFor(int code) {
  static const std::array<PieceLook, 14> looks{{
      {10, QStringLiteral("歩兵"), false, 0.86},  {11, QStringLiteral("と"), true, 0.86},
      {20, QStringLiteral("香車"), false, 0.89},  {21, QStringLiteral("成香"), true, 0.89},
      {30, QStringLiteral("桂馬"), false, 0.91},  {31, QStringLiteral("成桂"), true, 0.91},
      {100, QStringLiteral("銀将"), false, 0.94}, {101, QStringLiteral("成銀"), true, 0.94},
      {110, QStringLiteral("金将"), false, 0.94}, {800, QStringLiteral("角行"), false, 0.97},
      {801, QStringLiteral("龍馬"), true, 0.97},  {900, QStringLiteral("飛車"), false, 0.97},
      {901, QStringLiteral("龍王"), true, 0.97},  {950, QStringLiteral("王将"), false, 1.0},
  }};
  for (const PieceLook &l : looks)
    if (l.code == code) return &l;
  return nullptr;
}

// The five-sided outline, upright, centred in the square.
struct Token {
  QPainterPath outline;
  double top, height;
};

Token token(double scale) {
  const double w = 27.0 * scale, h = 36.0 * scale;
  const double cx = kW / 2, top = kH / 2 - h / 2, bottom = top + h;
  const double shoulder = top + 0.22 * h;
  QPainterPath p;
  p.moveTo(cx, top);
  p.lineTo(cx + 0.40 * w, shoulder);
  p.lineTo(cx + 0.5 * w, bottom);
  p.lineTo(cx - 0.5 * w, bottom);
  p.lineTo(cx - 0.40 * w, shoulder);
  p.closeSubpath();
  return {p, top, h};
}

void paintBody(QPainter &p, const Token &t) {
  p.setRenderHint(QPainter::Antialiasing);
  // Soft contact shadow all round (all round, so the half-turned upper
  // pieces look the same).
  p.strokePath(t.outline, QPen(QColor(40, 20, 0, 70), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QLinearGradient lacquer(0, t.top, 0, t.top + t.height);
  lacquer.setColorAt(0, QColor(62, 60, 58));
  lacquer.setColorAt(0.35, QColor(30, 29, 28));
  lacquer.setColorAt(1, QColor(12, 12, 12));
  p.fillPath(t.outline, lacquer);
  p.strokePath(t.outline, QPen(QColor(6, 6, 6), 0.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  // A thin sheen just inside the edge gives the lacquer some depth.
  QTransform in;
  const QPointF c = t.outline.boundingRect().center();
  in.translate(c.x(), c.y());
  in.scale(0.88, 0.91);
  in.translate(-c.x(), -c.y());
  p.strokePath(in.map(t.outline), QPen(QColor(255, 255, 255, 34), 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void paintGlyph(QPainter &p, QChar ch, QPointF centre, double size, QColor ink) {
  const QPainterPath g = glyph(ch, size).translated(centre);
  p.fillPath(g, ink);
  // Mincho hairlines vanish at this size; a thin stroke keeps them visible,
  // a little heavier in device pixels when the pixels are coarse.
  const double dpr = p.device()->devicePixelRatio();
  p.strokePath(g, QPen(ink, 0.04 * size + 0.5 / dpr, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

void paintName(QPainter &p, const Token &t, const PieceLook &look) {
  const QColor ink = look.promoted ? QColor(236, 52, 40) : QColor(248, 244, 232);
  const double cx = kW / 2;
  if (look.name.size() == 1) {
    paintGlyph(p, look.name[0], {cx, t.top + 0.60 * t.height}, 0.50 * t.height, ink);
    return;
  }
  const double size = 0.345 * t.height;
  paintGlyph(p, look.name[0], {cx, t.top + 0.44 * t.height}, size, ink);
  paintGlyph(p, look.name[1], {cx, t.top + 0.775 * t.height}, size, ink);
}

}  // namespace

QImage pieceSquare(int code, qreal dpr) {
  const PieceLook *look = lookFor(code < 0 ? -code : code);
  if (!look) return {};
  QImage img = woodSquare(dpr);
  {
    QPainter p(&img);
    const Token t = token(look->scale);
    paintBody(p, t);
    paintName(p, t, *look);
  }
  // The upper side's pieces face the other way: the same picture half-turned.
  if (code > 0) img = img.mirrored(true, true);
  return img;
}

}  // namespace mirado::art::detail
