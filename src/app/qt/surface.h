// The window's drawing surface: a retained image that every drawing primitive of the
// game paints into, in twips (15 to a pixel at scale 1). The image follows the
// widget's size and the screen's pixel ratio; the paint event only copies it.
#pragma once

#include <QImage>
#include <QWidget>
#include <map>
#include <vector>

#include "app/ports.h"

namespace mirado::qt {

class Surface : public QWidget, public Canvas {
  Q_OBJECT

 public:
  // Logical size in pixels at scale 1: the window's width and its client height.
  static constexpr int kBaseW = 600;
  static constexpr int kBaseH = 485;

  explicit Surface(QWidget* parent = nullptr);

  void picture(int id, int x, int y) override;
  void rect(int colour, int x1, int y1, int x2, int y2) override;
  void text(int x, int y, std::string_view utf8, int colour, int size_pt, bool bold) override;
  void repaint() override;
  void refresh() override;

  double scale() const;                  // logical pixels per pixel of the layout at scale 1
  QPoint to_twips(QPointF logical) const;
  QPoint to_logical(int x_twips, int y_twips) const;
  QSize sizeHint() const override { return {kBaseW, kBaseH}; }
  // The surface as it stands, rendered for the given scale and pixel ratio.
  QImage render(double scale, double dpr) const;

 signals:
  void pressed(int button, int x_twips, int y_twips);
  void first_painted();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;

 private:
  struct Op {
    enum Kind { kPicture, kRect, kText } kind;
    int a;  // picture id or colour
    int x, y, x2, y2;
    QString text;
    int size;
    bool bold;
  };

  void add(Op op);
  void draw(QPainter& p, const Op& op, double device_scale) const;
  void ensure_image();
  void compact();
  QRect twips_bounds(const Op& op) const;
  const QImage& picture_image(int id, double device_scale) const;

  std::vector<Op> ops_;
  QImage image_;
  double image_scale_ = 0;
  bool painted_ = false;
  mutable std::map<std::pair<int, int>, QImage> pictures_;  // (id, scale in 1/1000)
};

QColor palette_colour(int index);
QSize picture_size(int id);  // logical pixels; empty for ids that paint nothing

}  // namespace mirado::qt
