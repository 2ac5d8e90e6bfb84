// The window's drawing surface: a retained list of the game's drawing operations, in
// twips (15 to a pixel at scale 1), and an image of them at the widget's size and the
// screen's pixel ratio. The design's 600 × 485 picture is scaled to fit the widget,
// keeping its aspect ratio, and centred; the margins show the background tiles.
// Every operation reaches the screen before the event that drew it has been handled.
#pragma once

#include <QImage>
#include <QWidget>
#include <map>
#include <vector>

#include "app/ports.h"

namespace mirado::qt {

// Where the picture lands in an image: device pixels per logical pixel of the design,
// and the device position of the picture's top-left corner.
struct Placement {
  double scale = 1;
  int left = 0, top = 0;
  int width = 0, height = 0;  // of the picture, device pixels
};

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
  // Puts everything drawn so far on the screen now (a box may be about to open, or the
  // game is about to wait).
  void repaint() override;
  void refresh() override;
  void flush();

  double scale() const;  // logical pixels per pixel of the design
  QPoint to_twips(QPointF logical) const;
  QPoint to_logical(int x_twips, int y_twips) const;
  QSize sizeHint() const override { return {kBaseW, kBaseH}; }
  // The picture alone, rendered afresh for the given scale and pixel ratio.
  QImage render(double scale, double dpr) const;
  // The whole widget rendered afresh from the retained operations, in device pixels:
  // what the screen must show once events have settled.
  QImage full_repaint() const;
  // The image the screen is painted from.
  const QImage& image() const { return image_; }
  bool painted() const { return painted_; }
  // Something has been drawn that the screen does not show yet.
  bool dirty() const { return dirty_; }

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

  Placement placement(QSize logical, double dpr) const;
  QSize device_size() const;
  void add(Op op);
  void draw(QPainter& p, const Op& op, const Placement& at) const;
  void paint_all(QImage& img, const Placement& at) const;
  void paint_margins(QPainter& p, const Placement& at, QSize device) const;
  void rebuild();
  void compact();
  QRect twips_bounds(const Op& op) const;
  QRect device_bounds(const Op& op, const Placement& at) const;
  const QImage& picture_image(int id, double device_scale) const;

  std::vector<Op> ops_;
  QImage image_;  // device pixels, no pixel ratio of its own
  Placement at_;
  double image_dpr_ = 0;
  int margin_tile_ = -1;  // the background the margins show; -1 before any is painted
  bool dirty_ = false;
  bool painted_ = false;
  mutable std::map<std::pair<int, int>, QImage> pictures_;  // (id, scale in 1/1000)
};

QColor palette_colour(int index);
QSize picture_size(int id);  // logical pixels; empty for ids that paint nothing

}  // namespace mirado::qt
