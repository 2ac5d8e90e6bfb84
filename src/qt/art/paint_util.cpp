#include <QtMath>

#include <cstdint>

#include "art_internal.h"

namespace mirado::art::detail {

QImage blank(QSizeF logical, qreal dpr) {
  QImage img(qCeil(logical.width() * dpr - 1e-9), qCeil(logical.height() * dpr - 1e-9),
             QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(dpr);
  img.fill(Qt::transparent);
  return img;
}

double hash01(int a, int b) {
  // A small integer hash (xorshift-multiply); only needs to look random.
  std::uint32_t h = static_cast<std::uint32_t>(a) * 0x9E3779B1u ^ static_cast<std::uint32_t>(b) * 0x85EBCA77u;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0x1000000);
}

double noise1(double t, int period, int seed) {
  const double f = std::floor(t);
  const int i = static_cast<int>(f);
  const auto at = [&](int k) { return hash01(((k % period) + period) % period, seed); };
  const double u = t - f;
  const double s = u * u * (3 - 2 * u);
  return at(i) * (1 - s) + at(i + 1) * s;
}

QRgb mix(QColor a, QColor b, double t) {
  t = clamp01(t);
  const auto m = [t](int x, int y) { return qBound(0, qRound(x + (y - x) * t), 255); };
  return qRgb(m(a.red(), b.red()), m(a.green(), b.green()), m(a.blue(), b.blue()));
}

}  // namespace mirado::art::detail
