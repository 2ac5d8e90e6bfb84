#include "qt/board_diagram.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "qt/art/art.h"
#include "rules/koma.h"

namespace mirado::qt {

namespace {

constexpr int kSqW = art::kSquareWidth;
constexpr int kSqH = art::kSquareHeight;
constexpr int kLeft = 6;    // space left of the board
constexpr int kTop = 20;    // the file numbers
constexpr int kRight = 22;  // the rank numerals
constexpr int kBottom = 6;
constexpr int kHandGap = 16;    // between the rank numerals and the hand square
constexpr int kHandLabel = 18;  // the caption under the hand square

const QColor kInk(52, 36, 22);
const QColor kGrid(0, 128, 0);  // the game's own grid green
const QColor kFrame(70, 48, 26);
const QColor kRefused(200, 20, 20);
const QColor kAllowed(0, 150, 70);
const QColor kZone(205, 40, 40);
constexpr int kZoneLabel = 18;  // the bracket and name of the promotion rows

QString rank_numeral(int row) {
  static const QString kNumerals = QStringLiteral("一二三四五六七八九");
  return row >= 1 && row <= 9 ? QString(kNumerals[row - 1]) : QString();
}

QFont label_font(const QFont& base, int pixels, bool bold) {
  QFont f = base;
  f.setPixelSize(pixels);
  f.setBold(bold);
  return f;
}

QPointF unit(QPointF v) {
  const double len = std::hypot(v.x(), v.y());
  return len > 0 ? v / len : QPointF();
}

// How far from a square's centre a line in direction d leaves the square.
double exit_distance(QPointF d) {
  const double tx = d.x() != 0 ? (kSqW / 2.0) / std::fabs(d.x()) : 1e9;
  const double ty = d.y() != 0 ? (kSqH / 2.0) / std::fabs(d.y()) : 1e9;
  return std::min(tx, ty);
}

void paint_head(QPainter& p, QPointF tip, QPointF d, QColor c) {
  const QPointF n(-d.y(), d.x());
  QPainterPath head;
  head.moveTo(tip);
  head.lineTo(tip - d * 11 + n * 6);
  head.lineTo(tip - d * 8);
  head.lineTo(tip - d * 11 - n * 6);
  head.closeSubpath();
  p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(head);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPath(head);
}

// A filled disc with the move number, as the board marks the moves of a turn.
void paint_badge(QPainter& p, QPointF at, int number, const QFont& base) {
  if (number < 1) return;
  p.setPen(QPen(Qt::white, 1.6));
  p.setBrush(move_colour(number));
  p.drawEllipse(at, 8.5, 8.5);
  p.setPen(Qt::white);
  p.setFont(label_font(base, 12, true));
  p.drawText(QRectF(at.x() - 9, at.y() - 9, 18, 18), Qt::AlignCenter, QString::number(number));
}

}  // namespace

QColor move_colour(int number) {
  switch (number) {
    case 1:
      return {214, 44, 32};
    case 2:
      return {28, 92, 214};
    case 3:
      return {18, 138, 64};
    default:
      return {90, 70, 50};
  }
}

qreal painter_ratio(const QPainter& p) {
  const qreal r = std::hypot(p.deviceTransform().m11(), p.deviceTransform().m12());
  return r > 0.01 ? r : 1.0;
}

BoardDiagram::BoardDiagram(int first_col, int first_row, int cols, int rows, QWidget* parent)
    : QWidget(parent), first_col_(first_col), first_row_(first_row), cols_(cols), rows_(rows) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

BoardDiagram& BoardDiagram::piece(int col, int row, int code) {
  pieces_.push_back({col, row, code});
  return *this;
}

BoardDiagram& BoardDiagram::move(const DiagramMove& m) {
  moves_.push_back(m);
  return *this;
}

BoardDiagram& BoardDiagram::mark(int col, int row, bool allowed) {
  marks_.push_back({col, row, allowed});
  return *this;
}

BoardDiagram& BoardDiagram::zone(int first_row, int last_row) {
  zone_first_ = first_row;
  zone_last_ = last_row;
  return *this;
}

BoardDiagram& BoardDiagram::hand(int code) {
  hand_code_ = code;
  return *this;
}

bool BoardDiagram::has_zone() const {
  return zone_first_ <= zone_last_ && zone_first_ < first_row_ + rows_ && zone_last_ >= first_row_;
}

QRect BoardDiagram::board_rect() const {
  const int left = kLeft + (has_zone() ? kZoneLabel : 0);
  return {left, kTop, cols_ * kSqW, rows_ * kSqH};
}

QRect BoardDiagram::square_rect(int col, int row) const {
  const QRect b = board_rect();
  if (col == TE_SITA) {
    // Centred on the line between the first two rows: an arrow from it to the second
    // row passes between their numerals.
    return {b.right() + 1 + kRight + kHandGap, b.top() + kSqH / 2, kSqW, kSqH};
  }
  return {b.left() + (col - first_col_) * kSqW, b.top() + (row - first_row_) * kSqH, kSqW, kSqH};
}

QPointF BoardDiagram::centre(int col, int row) const { return QRectF(square_rect(col, row)).center(); }

QSize BoardDiagram::sizeHint() const {
  const int hand = hand_code_ ? kHandGap + kSqW + 4 : 0;
  return {board_rect().right() + 1 + kRight + hand, kTop + rows_ * kSqH + kBottom};
}

bool BoardDiagram::marked(int col, int row) const {
  return std::any_of(marks_.begin(), marks_.end(),
                     [&](const Mark& m) { return m.col == col && m.row == row; });
}

int BoardDiagram::code_at(int col, int row) const {
  for (const Piece& pc : pieces_)
    if (pc.col == col && pc.row == row) return pc.code;
  return kara;
}

void BoardDiagram::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const qreal dpr = painter_ratio(p);
  paint_squares(p, dpr);
  paint_grid(p);
  paint_labels(p);
  if (has_zone()) paint_zone(p);
  if (hand_code_) paint_hand(p, dpr);
  p.setRenderHint(QPainter::Antialiasing);
  for (const DiagramMove& m : moves_)
    if (m.kind == DiagramMove::Kind::Played) paint_played(p, m);
  for (const Mark& mk : marks_) paint_mark(p, centre(mk.col, mk.row), mk.allowed, 11);
  for (const DiagramMove& m : moves_)
    if (m.kind != DiagramMove::Kind::Played) paint_arrow(p, m);
}

void BoardDiagram::paint_squares(QPainter& p, qreal dpr) const {
  for (int c = first_col_; c < first_col_ + cols_; ++c)
    for (int r = first_row_; r < first_row_ + rows_; ++r)
      p.drawImage(square_rect(c, r).topLeft(), art::picture(code_at(c, r), dpr));
}

void BoardDiagram::paint_grid(QPainter& p) const {
  const QRect b = board_rect();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(kGrid, 1));
  for (int i = 1; i < cols_; ++i) p.drawLine(b.left() + i * kSqW, b.top(), b.left() + i * kSqW, b.bottom());
  for (int i = 1; i < rows_; ++i) p.drawLine(b.left(), b.top() + i * kSqH, b.right(), b.top() + i * kSqH);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kFrame, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(b).adjusted(-0.5, -0.5, 0.5, 0.5));
}

// The rows where the lower side promotes: a red line where they end and their name beside them.
void BoardDiagram::paint_zone(QPainter& p) const {
  const QRect b = board_rect();
  const int top = std::max(zone_first_, first_row_), bottom = std::min(zone_last_, first_row_ + rows_ - 1);
  const QRect first = square_rect(first_col_, top), last = square_rect(first_col_, bottom);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kZone, 2.5));
  if (bottom < first_row_ + rows_ - 1)
    p.drawLine(QPointF(b.left(), last.bottom() + 1), QPointF(b.right() + 1, last.bottom() + 1));
  if (top > first_row_) p.drawLine(QPointF(b.left(), first.top()), QPointF(b.right() + 1, first.top()));
  const double x = kLeft + 4;
  // A bracket over the rows, broken in the middle for their name.
  const double mid = (first.top() + last.bottom()) / 2.0, y0 = first.top() + 2, y1 = last.bottom() - 1;
  p.setPen(QPen(kZone, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  p.drawPolyline(QPolygonF({QPointF(x + 5, y0), QPointF(x, y0), QPointF(x, mid - 19)}));
  p.drawPolyline(QPolygonF({QPointF(x, mid + 19), QPointF(x, y1), QPointF(x + 5, y1)}));
  p.setFont(label_font(font(), 13, true));
  const QString name = QStringLiteral("敵陣");
  for (int i = 0; i < name.size(); ++i)
    p.drawText(QRectF(x - 6, mid - 16 + 16 * i, 24, 16), Qt::AlignCenter, name.mid(i, 1));
}

void BoardDiagram::paint_labels(QPainter& p) const {
  p.setPen(kInk);
  p.setFont(label_font(font(), 13, true));
  const QRect b = board_rect();
  // The file number printed above a column counts from the right, as on the game's board.
  for (int c = first_col_; c < first_col_ + cols_; ++c) {
    const QRect sq = square_rect(c, first_row_);
    p.drawText(QRect(sq.left(), 0, kSqW, kTop - 2), Qt::AlignCenter, QString::number(10 - c));
  }
  for (int r = first_row_; r < first_row_ + rows_; ++r) {
    const QRect sq = square_rect(first_col_, r);
    p.drawText(QRect(b.right() + 3, sq.top(), kRight - 2, kSqH), Qt::AlignCenter, rank_numeral(r));
  }
}

void BoardDiagram::paint_hand(QPainter& p, qreal dpr) const {
  const QRect sq = square_rect(TE_SITA, 0);
  p.drawImage(sq.topLeft(), art::picture(hand_code_, dpr));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(kGrid, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(sq.adjusted(0, 0, -1, -1));
  p.setPen(kInk);
  p.setFont(label_font(font(), 11, false));
  p.drawText(QRect(sq.left() - 8, sq.bottom() + 2, kSqW + 16, kHandLabel), Qt::AlignHCenter | Qt::AlignTop,
             QStringLiteral("持ち駒"));
}

void BoardDiagram::paint_played(QPainter& p, const DiagramMove& m) const {
  const QColor c = move_colour(m.number);
  const QRectF to = QRectF(square_rect(m.to_col, m.to_row)).adjusted(1.5, 1.5, -1.5, -1.5);
  if (m.from_col != TE_SITA) {
    QColor faint = c;
    faint.setAlpha(170);
    p.setPen(QPen(faint, 2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(square_rect(m.from_col, m.from_row)).adjusted(2, 2, -2, -2));
  }
  p.setPen(QPen(c, 3));
  p.setBrush(Qt::NoBrush);
  p.drawRect(to);
  paint_badge(p, to.topLeft() + QPointF(7, 7), m.number, font());
}

void BoardDiagram::paint_arrow(QPainter& p, const DiagramMove& m) const {
  const QPointF from = centre(m.from_col, m.from_row), to = centre(m.to_col, m.to_row);
  const QPointF d = unit(to - from);
  const bool occupied = code_at(m.to_col, m.to_row) != kara;
  // A refused or excused move is an alternative, not a move of the turn: no number.
  const bool numbered = m.number > 0 && m.kind == DiagramMove::Kind::Planned;
  const bool badge_on_target = numbered && !occupied;
  // Leave the moving piece and any piece on the target readable: the arrow runs from
  // the edge of the one to the edge of the other, or to the move's number on an empty square.
  const QPointF start = from + d * (exit_distance(d) * 0.8);
  const double short_of_centre = badge_on_target ? 11.0 : (marked(m.to_col, m.to_row) ? 15.0 : 2.0);
  const QPointF tip = occupied ? to - d * (exit_distance(d) * 0.8) : to - d * short_of_centre;
  const QColor c = move_colour(m.number);
  const bool refused = m.kind == DiagramMove::Kind::Refused;
  const QPointF shaft_end = tip - d * 8;
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 255, 255, 230), 6.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(start, shaft_end);
  p.setPen(QPen(c, 3.4, refused ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap));
  p.drawLine(start, shaft_end);
  paint_head(p, tip, d, c);
  if (badge_on_target)
    paint_badge(p, to, m.number, font());
  else if (numbered)
    paint_badge(p, QPointF(square_rect(m.to_col, m.to_row).topLeft()) + QPointF(8, 8), m.number, font());
  if (m.kind != DiagramMove::Kind::Planned) paint_mark(p, (start + tip) / 2, !refused, 9);
}

void BoardDiagram::paint_mark(QPainter& p, QPointF at, bool allowed, qreal radius) const {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 235));
  p.drawEllipse(at, radius + 2.5, radius + 2.5);
  if (allowed) {
    p.setPen(QPen(kAllowed, 3.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(at, radius - 1.5, radius - 1.5);
    return;
  }
  const double k = radius * 0.62;
  p.setPen(QPen(kRefused, 3.6, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(at + QPointF(-k, -k), at + QPointF(k, k));
  p.drawLine(at + QPointF(-k, k), at + QPointF(k, -k));
}

// ---------------------------------------------------------------------------

namespace {

constexpr int kMouseW = 22, kMouseH = 32;
constexpr int kRowH = kSqH + 8;
constexpr int kTextW = 74;

void paint_mouse(QPainter& p, QRectF r, bool right_pressed) {
  const QColor body(250, 248, 242), line(70, 60, 50), pressed(230, 96, 20);
  QPainterPath shell;
  shell.addRoundedRect(r, r.width() / 2, r.width() / 2);
  p.setPen(QPen(line, 1.4));
  p.setBrush(body);
  p.drawPath(shell);
  const double split = r.top() + r.height() * 0.42;
  QPainterPath button;
  const QRectF half = right_pressed ? QRectF(r.center().x(), r.top(), r.width() / 2, split - r.top())
                                    : QRectF(r.left(), r.top(), r.width() / 2, split - r.top());
  button.addRect(half);
  p.setPen(Qt::NoPen);
  p.setBrush(pressed);
  p.drawPath(button.intersected(shell));
  p.setPen(QPen(line, 1.2));
  p.drawLine(QPointF(r.left(), split), QPointF(r.right(), split));
  p.drawLine(QPointF(r.center().x(), r.top()), QPointF(r.center().x(), split));
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(line, 1.4));
  p.drawPath(shell);
}

}  // namespace

ClickChoice::ClickChoice(int code, int promoted_code, QWidget* parent)
    : QWidget(parent), code_(code), promoted_code_(promoted_code) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize ClickChoice::sizeHint() const { return {kMouseW + 8 + kTextW + 30 + kSqW + 8 + 60, 2 * kRowH + 4}; }

QRect ClickChoice::piece_rect(int row) const {
  return {kMouseW + 8 + kTextW + 30, 2 + row * kRowH + (kRowH - kSqH) / 2, kSqW, kSqH};
}

void ClickChoice::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal dpr = painter_ratio(p);
  const QFont f = label_font(font(), 14, false);
  for (int row = 0; row < 2; ++row) {
    const QRect pic = piece_rect(row);
    const double mid = pic.center().y() + 0.5;
    paint_mouse(p, QRectF(1, mid - kMouseH / 2.0, kMouseW, kMouseH), row == 1);
    p.setPen(kInk);
    p.setFont(f);
    p.drawText(QRectF(kMouseW + 8, mid - 12, kTextW, 24), Qt::AlignVCenter | Qt::AlignLeft,
               row == 0 ? QStringLiteral("左クリック") : QStringLiteral("右クリック"));
    const double ax = kMouseW + 8 + kTextW;
    p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(ax + 2, mid), QPointF(ax + 20, mid));
    paint_head(p, QPointF(ax + 24, mid), QPointF(1, 0), kInk);
    p.drawImage(pic.topLeft(), art::picture(code(row), dpr));
    p.setPen(kInk);
    p.setFont(f);
    p.drawText(QRectF(pic.right() + 9, mid - 12, 60, 24), Qt::AlignVCenter | Qt::AlignLeft,
               row == 0 ? QStringLiteral("成らない") : QStringLiteral("成る"));
  }
}

}  // namespace mirado::qt
