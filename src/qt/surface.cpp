#include "qt/surface.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <cmath>

#include "app/game.h"
#include "qt/art/art.h"

namespace mirado::qt {

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr std::size_t kCompactAt = 6000;

int dev(double twips, double s) { return static_cast<int>(std::lround(twips / kTwipsPerPixel * s)); }

QFont game_font(int size_pt, bool bold, double device_scale) {
  QFont f(QStringLiteral("ＭＳ Ｐ明朝"));
  // Points at 96 dpi, so the layout does not depend on the desktop's font settings.
  f.setPixelSize(std::max(1, static_cast<int>(std::lround(size_pt * 4.0 / 3.0 * device_scale))));
  f.setBold(bold);
  // The same glyph shapes at every size and on every screen: hinting would depend on
  // the screen's pixel ratio.
  f.setHintingPreference(QFont::PreferNoHinting);
  return f;
}

bool is_tile(int id) { return id >= art::kTileMidori && id <= art::kTileRenga; }

QRect picture_rect(const Placement& at) { return {at.left, at.top, at.width, at.height}; }

// The picture at `device_scale` device pixels per design pixel, at the image's corner.
Placement picture_at(double device_scale) {
  Placement at;
  at.scale = device_scale;
  at.width = std::max(1, static_cast<int>(std::lround(Surface::kBaseW * device_scale)));
  at.height = std::max(1, static_cast<int>(std::lround(Surface::kBaseH * device_scale)));
  return at;
}

QSize device_pixels(QSize logical, double dpr) {
  return {std::max(1, static_cast<int>(std::ceil(logical.width() * dpr))),
          std::max(1, static_cast<int>(std::ceil(logical.height() * dpr)))};
}

}  // namespace

QColor palette_colour(int index) {
  static const QRgb kPalette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                    0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                    0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  return QColor(kPalette[index & 15]);
}

QSize picture_size(int id) {
  if (id == 1 || id == 2) return {127, 54};
  if (id >= 3 && id <= 7) return {34, 41};
  return {33, 41};
}

Surface::Surface(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Half the design size: below that the pieces can no longer be told apart.
  setMinimumSize(kBaseW / 2, (kBaseH + 1) / 2);
}

Placement Surface::placement(QSize logical, double dpr) const {
  const double s = std::min(logical.width() / double(kBaseW), logical.height() / double(kBaseH));
  Placement at = picture_at(std::max(s, 0.01) * dpr);
  const QSize device = device_pixels(logical, dpr);
  at.left = std::max(0, (device.width() - at.width) / 2);
  at.top = std::max(0, (device.height() - at.height) / 2);
  return at;
}

QSize Surface::device_size() const { return device_pixels(size(), devicePixelRatioF()); }

double Surface::scale() const { return placement(size(), 1.0).scale; }

QPoint Surface::to_twips(QPointF logical) const {
  const double dpr = devicePixelRatioF();
  const Placement at = placement(size(), dpr);
  return {static_cast<int>(std::floor((logical.x() * dpr - at.left) / at.scale * kTwipsPerPixel)),
          static_cast<int>(std::floor((logical.y() * dpr - at.top) / at.scale * kTwipsPerPixel))};
}

QPoint Surface::to_logical(int x_twips, int y_twips) const {
  const double dpr = devicePixelRatioF();
  const Placement at = placement(size(), dpr);
  return {static_cast<int>(std::lround((at.left + dev(x_twips, at.scale)) / dpr)),
          static_cast<int>(std::lround((at.top + dev(y_twips, at.scale)) / dpr))};
}

const QImage& Surface::picture_image(int id, double device_scale) const {
  const int milli = static_cast<int>(std::lround(device_scale * 1000));
  // Only the pictures of the current size are kept: resizing must not pile up images.
  if (!pictures_.empty() && pictures_.begin()->first.second != milli) pictures_.clear();
  const auto key = std::make_pair(id, milli);
  auto it = pictures_.find(key);
  if (it == pictures_.end()) it = pictures_.emplace(key, art::picture(id, device_scale)).first;
  return it->second;
}

QRect Surface::device_bounds(const Op& op, const Placement& at) const {
  const QSize size = picture_size(op.a);
  const int x0 = at.left + dev(op.x, at.scale), y0 = at.top + dev(op.y, at.scale);
  return {x0, y0, at.left + dev(op.x + size.width() * kTwipsPerPixel, at.scale) - x0,
          at.top + dev(op.y + size.height() * kTwipsPerPixel, at.scale) - y0};
}

void Surface::draw(QPainter& p, const Op& op, const Placement& at) const {
  const double s = at.scale;
  switch (op.kind) {
    case Op::kPicture: {
      const QImage& img = picture_image(op.a, s);
      if (img.isNull()) return;
      p.drawImage(device_bounds(op, at), img);
      break;
    }
    case Op::kRect: {
      QPen pen(palette_colour(op.a));
      pen.setWidth(std::max(1, static_cast<int>(std::lround(s))));
      pen.setJoinStyle(Qt::MiterJoin);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      const int x1 = at.left + dev(op.x, s), y1 = at.top + dev(op.y, s);
      p.drawRect(QRect(x1, y1, at.left + dev(op.x2, s) - x1, at.top + dev(op.y2, s) - y1));
      break;
    }
    case Op::kText: {
      const QFont f = game_font(op.size, op.bold, s);
      p.setRenderHint(QPainter::TextAntialiasing, true);
      p.setFont(f);
      p.setPen(palette_colour(op.a));
      // The print position is the top of the line; Qt draws at the baseline.
      p.drawText(QPointF(at.left + dev(op.x, s), at.top + dev(op.y, s) + QFontMetricsF(f).ascent()), op.text);
      break;
    }
  }
}

// Outside the picture the background tiles go on in the picture's own grid, so a
// window of another shape looks like a wider table, not a framed one.
void Surface::paint_margins(QPainter& p, const Placement& at, QSize device) const {
  const QRegion outside = QRegion(0, 0, device.width(), device.height()) - QRegion(picture_rect(at));
  if (outside.isEmpty()) return;
  p.save();
  p.setClipRegion(outside);
  p.fillRect(QRect(QPoint(0, 0), device), palette_colour(2));
  if (margin_tile_ >= 0) {
    const double cell_w = MASU_W / double(kTwipsPerPixel) * at.scale;
    const double cell_h = MASU_H / double(kTwipsPerPixel) * at.scale;
    const double x0 = at.left + dev(BAN_LEFT, at.scale), y0 = at.top + dev(BAN_TOP, at.scale);
    const int c_min = static_cast<int>(std::floor(-x0 / cell_w)) - 1;
    const int c_max = static_cast<int>(std::ceil((device.width() - x0) / cell_w));
    const int r_min = static_cast<int>(std::floor(-y0 / cell_h)) - 1;
    const int r_max = static_cast<int>(std::ceil((device.height() - y0) / cell_h));
    for (int c = c_min; c <= c_max; ++c)
      for (int r = r_min; r <= r_max; ++r)
        draw(p, {Op::kPicture, margin_tile_, cell_x(c), cell_y(r), 0, 0, {}, 0, false}, at);
  }
  p.restore();
}

void Surface::paint_all(QImage& img, const Placement& at) const {
  QPainter p(&img);
  paint_margins(p, at, img.size());
  p.setClipRect(picture_rect(at));
  p.fillRect(picture_rect(at), palette_colour(2));
  for (const Op& op : ops_) draw(p, op, at);
}

void Surface::rebuild() {
  const double dpr = devicePixelRatioF();
  image_ = QImage(device_size(), QImage::Format_ARGB32_Premultiplied);
  image_dpr_ = dpr;
  at_ = placement(size(), dpr);
  paint_all(image_, at_);
  dirty_ = true;
}

QImage Surface::render(double scale, double dpr) const {
  const Placement at = picture_at(scale * dpr);
  QImage img(at.width, at.height, QImage::Format_ARGB32_Premultiplied);
  paint_all(img, at);
  img.setDevicePixelRatio(dpr);
  return img;
}

QImage Surface::full_repaint() const {
  QImage img(device_size(), QImage::Format_ARGB32_Premultiplied);
  paint_all(img, placement(size(), devicePixelRatioF()));
  return img;
}

QRect Surface::twips_bounds(const Op& op) const {
  switch (op.kind) {
    case Op::kPicture: {
      const QSize size = picture_size(op.a);
      return {op.x, op.y, size.width() * kTwipsPerPixel, size.height() * kTwipsPerPixel};
    }
    case Op::kRect:
      return QRect(QPoint(op.x, op.y), QPoint(op.x2 + kTwipsPerPixel, op.y2 + kTwipsPerPixel));
    case Op::kText: {
      const QFontMetrics fm(game_font(op.size, op.bold, 1.0));
      const QRect r = fm.boundingRect(op.text);
      return {op.x, op.y, (r.width() + 4) * kTwipsPerPixel, (fm.height() + 2) * kTwipsPerPixel};
    }
  }
  return {};
}

// Drops operations that later opaque pictures have painted over completely, so the
// list stays about as long as what is visible.
void Surface::compact() {
  constexpr int kW = kBaseW + 200, kH = kBaseH + 200, kOff = 100;  // pixels, with a margin
  std::vector<char> covered(static_cast<std::size_t>(kW) * kH, 0);
  auto clip = [&](const QRect& twips) {
    QRect px(QPoint(static_cast<int>(std::floor(twips.left() / 15.0)) + kOff,
                    static_cast<int>(std::floor(twips.top() / 15.0)) + kOff),
             QPoint(static_cast<int>(std::ceil((twips.right() + 1) / 15.0)) + kOff - 1,
                    static_cast<int>(std::ceil((twips.bottom() + 1) / 15.0)) + kOff - 1));
    return px.intersected(QRect(0, 0, kW, kH));
  };
  std::vector<Op> kept;
  for (auto it = ops_.rbegin(); it != ops_.rend(); ++it) {
    const QRect px = clip(twips_bounds(*it));
    bool visible = false;
    for (int y = px.top(); y <= px.bottom() && !visible; ++y)
      for (int x = px.left(); x <= px.right(); ++x)
        if (!covered[static_cast<std::size_t>(y) * kW + x]) {
          visible = true;
          break;
        }
    if (!visible && !px.isEmpty()) continue;
    kept.push_back(*it);
    const bool opaque = it->kind == Op::kPicture && it->a != 1 && it->a != 2;
    if (opaque)
      for (int y = px.top(); y <= px.bottom(); ++y)
        for (int x = px.left(); x <= px.right(); ++x) covered[static_cast<std::size_t>(y) * kW + x] = 1;
  }
  ops_.assign(kept.rbegin(), kept.rend());
}

void Surface::add(Op op) {
  ops_.push_back(std::move(op));
  const Op& added = ops_.back();
  if (!image_.isNull()) {
    QPainter p(&image_);
    if (added.kind == Op::kPicture && is_tile(added.a) && added.a != margin_tile_) {
      margin_tile_ = added.a;
      paint_margins(p, at_, image_.size());
    }
    p.setClipRect(picture_rect(at_));
    draw(p, added, at_);
  } else if (added.kind == Op::kPicture && is_tile(added.a)) {
    margin_tile_ = added.a;
  }
  dirty_ = true;
  update();
  if (ops_.size() >= kCompactAt) compact();
}

void Surface::picture(int id, int x, int y) {
  add({Op::kPicture, id, x, y, 0, 0, {}, 0, false});
}

void Surface::rect(int colour, int x1, int y1, int x2, int y2) {
  add({Op::kRect, colour, x1, y1, x2, y2, {}, 0, false});
}

void Surface::text(int x, int y, std::string_view utf8, int colour, int size_pt, bool bold) {
  QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  // No text is cut by the picture's edge: a long one is set smaller until it fits (or, at
  // the smallest size, ends in "…"), and one that would start or end outside is moved in.
  // Two pixels are kept clear at each edge for the glyphs' overhang.
  constexpr int kHeri = 2 * kTwipsPerPixel;
  constexpr int kRoom = kBaseW * kTwipsPerPixel - 2 * kHeri;
  int w = 0;
  for (;; --size_pt) {
    w = QFontMetrics(game_font(size_pt, bold, 1.0)).horizontalAdvance(s) * kTwipsPerPixel;
    if (w <= kRoom || size_pt <= 6) break;
  }
  if (w > kRoom) {
    const QFontMetrics fm(game_font(size_pt, bold, 1.0));
    s = fm.elidedText(s, Qt::ElideRight, kRoom / kTwipsPerPixel);
    w = fm.horizontalAdvance(s) * kTwipsPerPixel;
  }
  x = std::max(kHeri, std::min(x, kHeri + kRoom - w));
  add({Op::kText, colour, x, y, 0, 0, s, size_pt, bold});
}

void Surface::flush() {
  if (dirty_ && isVisible()) QWidget::repaint();
}

void Surface::repaint() { flush(); }
void Surface::refresh() { update(); }

void Surface::paintEvent(QPaintEvent*) {
  if (image_.isNull() || image_.size() != device_size() || image_dpr_ != devicePixelRatioF()) rebuild();
  QPainter p(this);
  // The image is in device pixels already: drawn into the logical rectangle it maps
  // one to one, whatever the ratio.
  p.drawImage(QRectF(0, 0, image_.width() / image_dpr_, image_.height() / image_dpr_), image_);
  dirty_ = false;
  if (!painted_) {
    painted_ = true;
    emit first_painted();
  }
}

void Surface::resizeEvent(QResizeEvent*) { rebuild(); }

void Surface::mousePressEvent(QMouseEvent* e) {
  int button = 0;
  switch (e->button()) {
    case Qt::LeftButton: button = 1; break;
    case Qt::RightButton: button = 2; break;
    case Qt::MiddleButton: button = 4; break;
    default: return;
  }
  const QPoint t = to_twips(e->position());
  emit pressed(button, t.x(), t.y());
}

}  // namespace mirado::qt
