#include "qt/kaiseki_graph.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "engine/kaiseki.h"

namespace mirado::qt {

namespace {

QColor rui_iro(int rui) {
  const unsigned c = TE_RUI_IRO[std::clamp(rui, 0, TE_RUI_SU - 1)];
  return QColor(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
}

}  // namespace

KaisekiGraph::KaisekiGraph(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("KaisekiGraph"));
  setCursor(Qt::PointingHandCursor);
}

void KaisekiGraph::set_zu(const KaisekiZu& zu) {
  zu_ = zu;
  update();
}

QFont KaisekiGraph::moji_font() const {
  QFont f = font();
  f.setPixelSize(std::max(7, static_cast<int>(std::lround(height() * 0.11))));
  return f;
}

QRectF KaisekiGraph::plot_rect() const {
  const double h = height(), w = width();
  // Room for the summary above, the percentages on the left and the turn numbers below.
  const double left = QFontMetricsF(moji_font()).horizontalAdvance(QStringLiteral("100%")) + h * 0.10;
  return QRectF(left, h * 0.22, std::max(1.0, w - left - h * 0.08), std::max(1.0, h * 0.62));
}

QPointF KaisekiGraph::ten(int k) const {
  const QRectF r = plot_rect();
  const int n = std::max(1, static_cast<int>(zu_.kachi.size()) - 1);
  const double pct = k >= 0 && k < static_cast<int>(zu_.kachi.size()) ? zu_.kachi[static_cast<std::size_t>(k)] : 50;
  return {r.left() + r.width() * k / n, r.top() + r.height() * (100 - pct) / 100};
}

int KaisekiGraph::turn_at(double x) const {
  const int n = static_cast<int>(zu_.kachi.size()) - 1;
  if (n < 1) return 0;
  const QRectF r = plot_rect();
  const int k = static_cast<int>(std::lround((x - r.left()) / r.width() * n));
  return std::clamp(k, 1, n);
}

void KaisekiGraph::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  if (const int k = turn_at(e->position().x()); k > 0) emit turn_clicked(k);
}

void KaisekiGraph::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), QColor(0xFA, 0xF6, 0xEA));
  const int n = static_cast<int>(zu_.kachi.size()) - 1;
  if (n < 1) return;
  const double h = height();
  const QRectF r = plot_rect();
  p.setFont(moji_font());
  p.setPen(Qt::black);
  p.drawText(QRectF(r.left(), 0, width() - r.left(), r.top()), Qt::AlignLeft | Qt::AlignVCenter,
             QString::fromUtf8(zu_.matome.c_str()));
  // The percentages, with the 50 % axis darker than the rest.
  for (int pct : {0, 25, 50, 75, 100}) {
    const double y = r.top() + r.height() * (100 - pct) / 100;
    p.setPen(QPen(pct == 50 ? QColor(0x40, 0x40, 0x40) : QColor(0xD0, 0xD0, 0xD0), pct == 50 ? h * 0.012 : h * 0.006));
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawText(QRectF(0, y - h * 0.08, r.left() - h * 0.04, h * 0.16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(pct) + QLatin1Char('%'));
  }
  const int step = n <= 20 ? 1 : n <= 60 ? 5 : 10;
  for (int k = step; k <= n; k += step)
    p.drawText(QRectF(ten(k).x() - h * 0.2, r.bottom(), h * 0.4, height() - r.bottom()), Qt::AlignCenter,
               QString::number(k));
  // The position shown.
  const double ima_x = r.left() + r.width() * std::clamp(zu_.ima, 0.0, static_cast<double>(n)) / n;
  p.setPen(QPen(QColor(0x20, 0x90, 0x40), h * 0.014));
  p.drawLine(QPointF(ima_x, r.top()), QPointF(ima_x, r.bottom()));
  QPainterPath line(ten(0));
  for (int k = 1; k <= n; ++k) line.lineTo(ten(k));
  p.setPen(QPen(QColor(0x20, 0x60, 0xC0), h * 0.014, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(line);
  p.setPen(Qt::NoPen);
  for (int k = 1; k <= n && k - 1 < static_cast<int>(zu_.rui.size()); ++k) {
    const int rui = zu_.rui[static_cast<std::size_t>(k - 1)];
    if (rui == 0) continue;
    p.setBrush(rui_iro(rui));
    p.drawEllipse(ten(k), h * 0.032, h * 0.032);
  }
}

}  // namespace mirado::qt
