// The title plaques and the player icons.
#include <QPainter>

#include "art.h"
#include "art_internal.h"

namespace mirado::art::detail {
namespace {

constexpr double kLW = kLogoWidth;
constexpr double kLH = kLogoHeight;

struct PlaqueStyle {
  QColor frameLight, frameDark, panelTop, panelBottom, ink, inkEdge, trim;
};

// A bevelled frame round a panel: light along the top and left edges, dark
// along the bottom and right, as if lit from the upper left.
void paintFrame(QPainter &p, const PlaqueStyle &s) {
  p.fillRect(QRectF(0, 0, kLW, kLH), s.frameDark);
  QPainterPath lit;
  lit.moveTo(0, 0);
  lit.lineTo(kLW, 0);
  lit.lineTo(kLW - 4, 4);
  lit.lineTo(4, kLH - 4);
  lit.lineTo(0, kLH);
  lit.closeSubpath();
  p.fillPath(lit, s.frameLight);
  QLinearGradient panel(0, 4, 0, kLH - 4);
  panel.setColorAt(0, s.panelTop);
  panel.setColorAt(1, s.panelBottom);
  p.fillRect(QRectF(4, 4, kLW - 8, kLH - 8), panel);
  p.setPen(QPen(s.trim, 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(6.5, 6.5, kLW - 13, kLH - 13));
}

void paintTitle(QPainter &p, const PlaqueStyle &s, double shadowAlpha) {
  QPainterPath title = textLine(QStringLiteral("ミラド将棋"));
  if (title.isEmpty()) return;
  const QRectF box = title.boundingRect();
  const double scale = std::min(104.0 / box.width(), 30.0 / box.height());
  QTransform t;
  t.translate(kLW / 2, kLH / 2);
  t.scale(scale, scale);
  title = t.map(title);
  p.fillPath(title.translated(0.9, 1.1), QColor(0, 0, 0, int(shadowAlpha)));
  p.strokePath(title, QPen(s.inkEdge, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.fillPath(title, s.ink);
  p.strokePath(title, QPen(s.ink, 0.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Rays from the centre and a few glints, for the celebratory plaque.
void paintRays(QPainter &p) {
  p.save();
  p.setClipRect(QRectF(4, 4, kLW - 8, kLH - 8));
  const QPointF c(kLW / 2, kLH / 2);
  for (int k = 0; k < 24; k += 2) {
    QPainterPath ray;
    const double a0 = kTau * k / 24, a1 = kTau * (k + 1) / 24;
    ray.moveTo(c);
    ray.lineTo(c + 90 * QPointF(std::cos(a0), std::sin(a0)));
    ray.lineTo(c + 90 * QPointF(std::cos(a1), std::sin(a1)));
    ray.closeSubpath();
    p.fillPath(ray, QColor(255, 250, 210, 70));
  }
  p.restore();
}

void paintGlint(QPainter &p, QPointF at, double r) {
  QPainterPath star;
  for (int k = 0; k < 8; ++k) {
    const double a = kTau * k / 8 - kTau / 4, len = (k % 2) ? r * 0.28 : r;
    const QPointF v = at + len * QPointF(std::cos(a), std::sin(a));
    k ? star.lineTo(v) : star.moveTo(v);
  }
  star.closeSubpath();
  p.fillPath(star, QColor(255, 255, 240));
}

}  // namespace

QImage logo(bool celebratory, qreal dpr) {
  QImage img = blank({kLW, kLH}, dpr);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  if (!celebratory) {
    // A signboard of dark wood with the title in black lacquer and gold.
    const PlaqueStyle wood{QColor(120, 72, 36), QColor(54, 28, 12),  QColor(236, 204, 146),
                           QColor(206, 160, 96), QColor(24, 16, 10), QColor(250, 236, 200),
                           QColor(150, 96, 40)};
    paintFrame(p, wood);
    paintTitle(p, wood, 0);
    return img;
  }
  // Gold leaf framed in red lacquer, with rays and glints.
  const PlaqueStyle gold{QColor(200, 40, 32), QColor(104, 12, 10), QColor(255, 226, 120),
                         QColor(210, 150, 30), QColor(150, 14, 14), QColor(255, 248, 214),
                         QColor(150, 90, 10)};
  paintFrame(p, gold);
  paintRays(p);
  paintTitle(p, gold, 70);
  paintGlint(p, {11, 11}, 4.2);
  paintGlint(p, {kLW - 11, kLH - 11}, 4.2);
  paintGlint(p, {kLW - 13, 12}, 2.8);
  paintGlint(p, {13, kLH - 12}, 2.8);
  return img;
}

namespace {

struct Person {
  QColor shirt, shirtDark, hair;
  bool longHair;
};

void paintPerson(QPainter &p, const Person &who) {
  const QColor outline(20, 20, 30), skin(246, 206, 164);
  const QPen edge(outline, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  // Hair behind the head for the long style.
  if (who.longHair) {
    QPainterPath back;
    back.addRoundedRect(QRectF(8.2, 5.0, 15.6, 17.0), 6.5, 6.5);
    p.setPen(edge);
    p.setBrush(who.hair);
    p.drawPath(back);
  }
  QPainterPath body;
  body.moveTo(3.5, 31.5);
  body.cubicTo(3.5, 22.0, 9.0, 19.5, 16.0, 19.5);
  body.cubicTo(23.0, 19.5, 28.5, 22.0, 28.5, 31.5);
  body.closeSubpath();
  QLinearGradient cloth(0, 19.5, 0, 31.5);
  cloth.setColorAt(0, who.shirt);
  cloth.setColorAt(1, who.shirtDark);
  p.setPen(edge);
  p.setBrush(cloth);
  p.drawPath(body);
  p.setBrush(skin);
  p.drawEllipse(QPointF(16, 12.0), 6.3, 7.0);
  // Hair on top of the head.
  QPainterPath cap;
  cap.moveTo(9.7, 12.5);
  cap.cubicTo(9.0, 4.0, 23.0, 4.0, 22.3, 12.5);
  cap.cubicTo(19.0, 8.5, 13.5, 9.0, 9.7, 12.5);
  p.setBrush(who.hair);
  p.drawPath(cap);
}

void paintComputer(QPainter &p) {
  const QPen edge(QColor(20, 20, 30), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(edge);
  // Stand and foot.
  p.setBrush(QColor(150, 150, 162));
  QPainterPath stand;
  stand.moveTo(13.5, 21.5);
  stand.lineTo(18.5, 21.5);
  stand.lineTo(19.5, 25.5);
  stand.lineTo(12.5, 25.5);
  stand.closeSubpath();
  p.drawPath(stand);
  p.drawRoundedRect(QRectF(8.5, 25.0, 15.0, 2.5), 1.0, 1.0);
  // Monitor with a little green board on its screen.
  QLinearGradient bezel(0, 3, 0, 22);
  bezel.setColorAt(0, QColor(226, 228, 236));
  bezel.setColorAt(1, QColor(160, 162, 176));
  p.setBrush(bezel);
  p.drawRoundedRect(QRectF(2.5, 3.5, 27.0, 18.5), 2.2, 2.2);
  p.setBrush(QColor(14, 40, 60));
  p.drawRect(QRectF(5.0, 6.0, 22.0, 13.0));
  p.setPen(QPen(QColor(90, 220, 120), 0.6));
  for (int k = 1; k < 4; ++k) {
    p.drawLine(QPointF(5.0 + 5.5 * k, 7.0), QPointF(5.0 + 5.5 * k, 18.0));
    p.drawLine(QPointF(6.0, 6.0 + 3.25 * k), QPointF(26.0, 6.0 + 3.25 * k));
  }
  // Keyboard.
  p.setPen(edge);
  p.setBrush(QColor(210, 212, 220));
  p.drawRoundedRect(QRectF(4.5, 28.0, 23.0, 3.3), 1.0, 1.0);
}

}  // namespace

QImage playerIcon(int which, qreal dpr) {
  if (which < kIconMan1 || which > kIconCom) return {};
  QImage img = blank({double(kIconSize), double(kIconSize)}, dpr);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  if (which == kIconMan1)
    paintPerson(p, {QColor(70, 130, 230), QColor(26, 64, 150), QColor(40, 30, 24), false});
  else if (which == kIconMan2)
    paintPerson(p, {QColor(240, 110, 60), QColor(170, 40, 24), QColor(110, 60, 26), true});
  else
    paintComputer(p);
  return img;
}

}  // namespace mirado::art::detail
