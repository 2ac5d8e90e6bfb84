// art-sheet: writes a contact sheet of every picture, for looking at them.
// Each picture appears drawn at 4x, at 1x enlarged 4x pixel for pixel (to
// judge the real pixels), and at 1x; then a board laid out as the game lays
// it, at 1x and 2x, and the tiles laid edge to edge to show their seams.
//
//   art-sheet [OUT.png]     (default art-sheet.png)
#include <QGuiApplication>
#include <QPainter>

#include <cstdio>
#include <vector>

#include "art.h"

namespace {

using mirado::art::icon;
using mirado::art::picture;

constexpr int kGap = 14;
constexpr int kLabel = 16;
const QColor kPaper(236, 236, 232);

// One picture in three renderings, stacked; returns the column width used.
int drawEntry(QPainter &p, QPoint at, const QImage &x4, const QImage &x1, const QString &label) {
  const QSize big = x1.size() * 4;
  p.setPen(Qt::black);
  p.drawText(QRect(at.x(), at.y(), qMax(big.width(), 60), kLabel), Qt::AlignLeft | Qt::AlignVCenter, label);
  int y = at.y() + kLabel;
  p.drawImage(QRect(QPoint(at.x(), y), big), x4);
  y += big.height() + 4;
  p.drawImage(QRect(QPoint(at.x(), y), big), x1.scaled(big, Qt::IgnoreAspectRatio, Qt::FastTransformation));
  y += big.height() + 4;
  p.drawImage(QPoint(at.x(), y), x1);
  return qMax(big.width(), 60);
}

int entryHeight(QSize logical) { return kLabel + logical.height() * 8 + 8 + logical.height(); }

// A row of pictures by id; returns the row's height.
int drawPictureRow(QPainter &p, int top, const std::vector<int> &ids) {
  int x = kGap, h = 0;
  for (int id : ids) {
    const QImage x1 = picture(id);
    x += drawEntry(p, {x, top}, picture(id, 4), x1, QString::number(id)) + kGap;
    h = qMax(h, entryHeight(x1.size()));
  }
  return h;
}

int drawIconRow(QPainter &p, int top) {
  static const char *names[] = {"MAN1", "MAN2", "COM"};
  int x = kGap;
  for (int k = 0; k < 3; ++k) {
    // Over a board square, as the icons sit over the board in the game.
    QImage x4 = picture(0, 4).scaled(icon(k, 4).size());
    QImage x1 = picture(0).scaled(icon(k).size());
    x4.setDevicePixelRatio(4);
    QPainter(&x4).drawImage(0, 0, icon(k, 4));
    QPainter(&x1).drawImage(0, 0, icon(k));
    x += drawEntry(p, {x, top}, x4, x1, names[k]) + kGap;
    x += drawEntry(p, {x, top}, icon(k, 4), icon(k), QStringLiteral("bare")) + kGap;
  }
  return entryHeight(icon(0).size());
}

// The standard opening position, codes by [row][column], row 1 at the top.
int startCode(int c, int r) {
  static const int back[9] = {20, 30, 100, 110, 950, 110, 100, 30, 20};
  if (r == 1) return back[c - 1];
  if (r == 9) return -back[c - 1];
  if (r == 3) return 10;
  if (r == 7) return -10;
  if (r == 2) return c == 2 ? 900 : (c == 8 ? 800 : 0);
  if (r == 8) return c == 2 ? -800 : (c == 8 ? -900 : 0);
  return 0;
}

// The board with a border of tiles and the green grid on top, at scale s.
QImage boardView(int tileId, int s) {
  const int w = 33 * 13 + 1, h = 41 * 11 + 1;
  QImage img(w * s, h * s, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(s);
  QPainter p(&img);
  for (int c = -2; c <= 10; ++c)
    for (int r = 0; r <= 10; ++r) p.drawImage(QPoint(33 * (c + 2), 41 * r), picture(tileId, s));
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) p.drawImage(QPoint(33 * (c + 2), 41 * r), picture(startCode(c, r), s));
  p.drawImage(QPoint(0, 41), picture(-900, s));    // a lower piece in hand
  p.drawImage(QPoint(0, 41 * 3), picture(11, s));  // and promoted pieces
  p.drawImage(QPoint(0, 41 * 5), picture(-801, s));
  p.drawImage(QPoint(0, 41 * 7), picture(0, s));
  p.setPen(QPen(QColor(0, 128, 0), 1));
  for (int c = 1; c <= 9; ++c)
    for (int r = 1; r <= 9; ++r) p.drawRect(QRect(33 * (c + 2), 41 * r, 33, 41));
  p.drawImage(QPoint(33 * 2 + 33 * 9 / 2 - 16, 41 * 10 + 4), icon(0, s));
  return img;
}

// Tiles laid every 33 x 41, overlapping by a column, as the game lays them.
QImage tileField(int id) {
  QImage img(33 * 3 + 1, 41 * 3, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(1);
  QPainter p(&img);
  for (int c = 0; c < 3; ++c)
    for (int r = 0; r < 3; ++r) p.drawImage(QPoint(33 * c, 41 * r), picture(id));
  return img;
}

}  // namespace

int main(int argc, char **argv) {
  QGuiApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("art-sheet.png");
  QImage sheet(2300, 3000, QImage::Format_ARGB32_Premultiplied);
  sheet.fill(kPaper);
  QPainter p(&sheet);
  int y = kGap;
  y += drawPictureRow(p, y, {0, -10, -11, -20, -21, -30, -31, -100, -101, -110, -800, -801, -900, -901, -950}) + kGap;
  y += drawPictureRow(p, y, {10, 11, 20, 21, 30, 31, 100, 101, 110, 800, 801, 900, 901, 950}) + kGap;
  y += drawPictureRow(p, y, {3, 4, 5, 6, 7}) + kGap;
  const int rowTop = y;
  int x = kGap;
  for (int id = 3; id <= 7; ++id) {
    const QImage f = tileField(id);
    p.drawImage(QRect(x, y, f.width() * 2, f.height() * 2), f);
    x += f.width() * 2 + kGap;
  }
  y += tileField(3).height() * 2 + kGap;
  x = kGap;
  x += drawEntry(p, {x, y}, picture(1, 4), picture(1), QStringLiteral("1 ZUVANSHOGI")) + kGap;
  x += drawEntry(p, {x, y}, picture(2, 4), picture(2), QStringLiteral("2 ZUVANSHOGI2")) + kGap;
  drawIconRow(p, y + entryHeight(picture(1).size()) + kGap);
  QImage b1 = boardView(3, 1), b2 = boardView(4, 2);
  b2.setDevicePixelRatio(1);  // show the 2x board pixel for pixel
  const int bx = 1150;
  p.drawImage(QPoint(bx, rowTop), b1);
  p.drawImage(QPoint(bx, rowTop + b1.height() + kGap), b2);
  y = qMax(rowTop + b1.height() + b2.height() + 2 * kGap,
           y + entryHeight(picture(1).size()) + entryHeight(icon(0).size()) + 2 * kGap);
  p.end();
  if (!sheet.copy(0, 0, sheet.width(), y).save(out)) {
    std::fprintf(stderr, "art-sheet: cannot write %s\n", qPrintable(out));
    return 1;
  }
  std::printf("%s\n", qPrintable(out));
  return 0;
}
