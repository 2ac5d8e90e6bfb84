#include "app/qt/surface.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/qt/art/art.h"

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
  return f;
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
  setMinimumSize(kBaseW / 2, kBaseH / 2);
}

double Surface::scale() const {
  return std::min(width() / double(kBaseW), height() / double(kBaseH));
}

QPoint Surface::to_twips(QPointF logical) const {
  const double s = scale();
  return {static_cast<int>(std::floor(logical.x() / s * kTwipsPerPixel)),
          static_cast<int>(std::floor(logical.y() / s * kTwipsPerPixel))};
}

QPoint Surface::to_logical(int x_twips, int y_twips) const {
  const double s = scale();
  return {dev(x_twips, s), dev(y_twips, s)};
}

const QImage& Surface::picture_image(int id, double device_scale) const {
  const auto key = std::make_pair(id, static_cast<int>(std::lround(device_scale * 1000)));
  auto it = pictures_.find(key);
  if (it == pictures_.end()) it = pictures_.emplace(key, art::picture(id, device_scale)).first;
  return it->second;
}

void Surface::draw(QPainter& p, const Op& op, double s) const {
  switch (op.kind) {
    case Op::kPicture: {
      const QImage& img = picture_image(op.a, s);
      if (img.isNull()) return;
      const QSize size = picture_size(op.a);
      const int x0 = dev(op.x, s), y0 = dev(op.y, s);
      const QRect target(x0, y0, dev(op.x + size.width() * kTwipsPerPixel, s) - x0,
                         dev(op.y + size.height() * kTwipsPerPixel, s) - y0);
      p.drawImage(target, img);
      break;
    }
    case Op::kRect: {
      QPen pen(palette_colour(op.a));
      pen.setWidth(std::max(1, static_cast<int>(std::lround(s))));
      pen.setJoinStyle(Qt::MiterJoin);
      p.setRenderHint(QPainter::Antialiasing, false);
      p.setPen(pen);
      p.setBrush(Qt::NoBrush);
      const int x1 = dev(op.x, s), y1 = dev(op.y, s);
      p.drawRect(QRect(x1, y1, dev(op.x2, s) - x1, dev(op.y2, s) - y1));
      break;
    }
    case Op::kText: {
      const QFont f = game_font(op.size, op.bold, s);
      p.setRenderHint(QPainter::TextAntialiasing, true);
      p.setFont(f);
      p.setPen(palette_colour(op.a));
      // The print position is the top of the line; Qt draws at the baseline.
      p.drawText(QPointF(dev(op.x, s), dev(op.y, s) + QFontMetricsF(f).ascent()), op.text);
      break;
    }
  }
}

void Surface::ensure_image() {
  const double dpr = devicePixelRatioF();
  const double s = scale() * dpr;
  const QSize want(std::max(1, static_cast<int>(std::ceil(width() * dpr))),
                   std::max(1, static_cast<int>(std::ceil(height() * dpr))));
  if (!image_.isNull() && image_.size() == want && image_scale_ == s) return;
  image_ = QImage(want, QImage::Format_ARGB32_Premultiplied);
  image_.fill(palette_colour(2));
  image_scale_ = s;
  QPainter p(&image_);
  for (const Op& op : ops_) draw(p, op, s);
  image_.setDevicePixelRatio(dpr);
}

QImage Surface::render(double scale, double dpr) const {
  QImage img(static_cast<int>(std::ceil(kBaseW * scale * dpr)), static_cast<int>(std::ceil(kBaseH * scale * dpr)),
             QImage::Format_ARGB32_Premultiplied);
  img.fill(palette_colour(2));
  QPainter p(&img);
  for (const Op& op : ops_) draw(p, op, scale * dpr);
  p.end();
  img.setDevicePixelRatio(dpr);
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
  if (!image_.isNull()) {
    QPainter p(&image_);
    draw(p, ops_.back(), image_scale_);
  }
  if (ops_.size() >= kCompactAt) compact();
}

void Surface::picture(int id, int x, int y) {
  add({Op::kPicture, id, x, y, 0, 0, {}, 0, false});
}

void Surface::rect(int colour, int x1, int y1, int x2, int y2) {
  add({Op::kRect, colour, x1, y1, x2, y2, {}, 0, false});
}

void Surface::text(int x, int y, std::string_view utf8, int colour, int size_pt, bool bold) {
  add({Op::kText, colour, x, y, 0, 0, QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())),
       size_pt, bold});
}

void Surface::repaint() { QWidget::repaint(); }
void Surface::refresh() { update(); }

void Surface::paintEvent(QPaintEvent*) {
  ensure_image();
  QPainter p(this);
  p.drawImage(QPoint(0, 0), image_);
  if (!painted_) {
    painted_ = true;
    emit first_painted();
  }
}

void Surface::resizeEvent(QResizeEvent*) { ensure_image(); }

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
