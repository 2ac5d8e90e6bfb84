// The analysis graph beside the board: the lower side's win chance turn by turn over a
// 50 % axis, the classed turns as dots in their colours, the position shown as a
// vertical line, and the summary of each side's classes above it. It draws only what
// the game sends (KaisekiZu); a click asks for the nearest turn.
#pragma once

#include <QWidget>

#include "app/ports.h"

namespace mirado::qt {

class KaisekiGraph : public QWidget {
  Q_OBJECT

 public:
  explicit KaisekiGraph(QWidget* parent);
  void set_zu(const KaisekiZu& zu);
  const KaisekiZu& zu() const { return zu_; }
  // The plotting area, in the widget's logical pixels.
  QRectF plot_rect() const;
  // The turn (1..n) nearest to x, 0 without a graph.
  int turn_at(double x) const;
  // Where turn k's point is drawn.
  QPointF ten(int k) const;

 signals:
  void turn_clicked(int turn);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  QFont moji_font() const;  // the labels' font, in proportion to the panel's height
  KaisekiZu zu_;
};

}  // namespace mirado::qt
