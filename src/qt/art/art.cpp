#include "art.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QPainter>
#include <QtMath>

#include <map>
#include <tuple>

#include "art_internal.h"

namespace mirado::art {
namespace {

QMutex &lock() {
  static QMutex m;
  return m;
}

QString &family() {
  static QString f = QStringLiteral("IPAPMincho");
  return f;
}

// Pictures are asked for on every square paint; draw each (kind, id, dpr) once.
using Key = std::tuple<int, int, qint64>;
std::map<Key, QImage> &cache() {
  static std::map<Key, QImage> c;
  return c;
}

bool validDpr(qreal dpr) { return dpr > 0 && dpr <= 64; }

QImage drawPicture(int id, qreal dpr) {
  using namespace detail;
  if (id == kEmptySquare) return woodSquare(dpr);
  if (id == kLogo || id == kLogoIdle) return logo(id == kLogoIdle, dpr);
  if (id >= kTileMidori && id <= kTileRenga) return tile(id, dpr);
  return pieceSquare(id, dpr);
}

template <class Draw>
QImage cached(int kind, int id, qreal dpr, Draw draw) {
  if (!validDpr(dpr)) return {};
  const Key key{kind, id, qRound64(dpr * 1000)};
  QMutexLocker guard(&lock());
  auto &c = cache();
  if (auto it = c.find(key); it != c.end()) return it->second;
  QImage img;
  if (dpr >= 1) {
    img = draw(id, dpr);
  } else {
    // QPainter never scales below one device pixel per logical pixel, so a small
    // picture is drawn at full size and scaled down, never cropped.
    const QImage full = draw(id, 1.0);
    if (!full.isNull()) {
      img = full.scaled(qMax(1, qCeil(full.width() * dpr - 1e-9)), qMax(1, qCeil(full.height() * dpr - 1e-9)),
                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      img.setDevicePixelRatio(dpr);
    }
  }
  // Resizing the window walks through many ratios; keep memory bounded.
  if (c.size() >= 256) c.clear();
  c.emplace(key, img);
  return img;
}

}  // namespace

QImage picture(int id, qreal dpr) { return cached(0, id, dpr, drawPicture); }

QImage icon(int which, qreal dpr) { return cached(1, which, dpr, detail::playerIcon); }

void setFontFamily(const QString &f) {
  QMutexLocker guard(&lock());
  family() = f;
  cache().clear();
}

QString fontFamily() {
  QMutexLocker guard(&lock());
  return family();
}

namespace detail {
namespace {

// The caller holds lock() (all drawing happens inside cached()).
QFont outlineFont() {
  QFont f = QFontDatabase::hasFamily(family()) ? QFont(family()) : QGuiApplication::font();
  f.setPixelSize(100);
  f.setHintingPreference(QFont::PreferNoHinting);
  f.setStyleStrategy(QFont::PreferOutline);
  return f;
}

// Fonts need a QGuiApplication; without one Qt would abort.
bool fontsAvailable() { return qobject_cast<QGuiApplication *>(QCoreApplication::instance()); }

QPainterPath centred(QPainterPath p, qreal scale) {
  const QPointF c = p.boundingRect().center();
  QTransform t;
  t.scale(scale, scale);
  t.translate(-c.x(), -c.y());
  return t.map(p);
}

}  // namespace

QPainterPath glyph(QChar ch, qreal size) {
  if (!fontsAvailable()) return {};
  QPainterPath p;
  p.addText(0, 0, outlineFont(), QString(ch));
  // Scale by the em size, not the ink box, so strokes keep one weight
  // whatever the character's shape.
  return centred(p, size / 100.0);
}

QPainterPath textLine(const QString &text) {
  if (!fontsAvailable()) return {};
  QPainterPath p;
  p.addText(0, 0, outlineFont(), text);
  return centred(p, 1.0);
}

}  // namespace detail
}  // namespace mirado::art
