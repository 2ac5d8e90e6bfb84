// Checks of the drawn pictures: sizes, the piece and board conventions the
// window relies on, and that the drawings carry what they are meant to show.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include <cmath>
#include <vector>

#include "qt/art/art.h"

namespace {

using mirado::art::icon;
using mirado::art::picture;

const std::vector<int> kPieces{10, 11, 20, 21, 30, 31, 100, 101, 110, 800, 801, 900, 901, 950};
const std::vector<std::pair<int, int>> kPromotions{{10, 11}, {20, 21}, {30, 31}, {100, 101}, {800, 801}, {900, 901}};
const std::vector<int> kTiles{3, 4, 5, 6, 7};

std::vector<int> squareIds() {
  std::vector<int> ids{0};
  for (int code : kPieces) {
    ids.push_back(code);
    ids.push_back(-code);
  }
  return ids;
}

bool samePixels(const QImage &a, const QImage &b) {
  return a.size() == b.size() &&
         a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

int countPixels(const QImage &img, auto pred) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += pred(QColor::fromRgba(img.pixel(x, y))) ? 1 : 0;
  return n;
}

bool isWhite(QColor c) { return c.red() > 200 && c.green() > 200 && c.blue() > 190; }
bool isRed(QColor c) { return c.red() > 170 && c.green() < 110 && c.blue() < 110; }

TEST(PictureSizes, EveryIdAtOneAndTwo) {
  struct Expect {
    std::vector<int> ids;
    QSize size;
  };
  const std::vector<Expect> expects{{squareIds(), {33, 41}}, {kTiles, {34, 41}}, {{1, 2}, {127, 54}}};
  for (qreal dpr : {1.0, 2.0})
    for (const Expect &e : expects)
      for (int id : e.ids) {
        const QImage img = picture(id, dpr);
        ASSERT_FALSE(img.isNull()) << "id " << id << " dpr " << dpr;
        EXPECT_EQ(img.size(), e.size * dpr) << "id " << id;
        EXPECT_DOUBLE_EQ(img.devicePixelRatio(), dpr) << "id " << id;
      }
}

// A window smaller than the design asks for pictures below one device pixel per
// pixel: they must be the whole picture made smaller, never a cut-out of it.
TEST(PictureSizes, BelowOneThePictureIsScaledNotCropped) {
  for (int id : {-950, 10, 1, 3})
    for (qreal dpr : {0.5, 0.75}) {
      const QImage full = picture(id, 1.0);
      const QImage small = picture(id, dpr);
      ASSERT_EQ(small.size(), QSize(std::ceil(full.width() * dpr - 1e-9), std::ceil(full.height() * dpr - 1e-9)));
      const QImage expected = full.scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                  .convertToFormat(QImage::Format_ARGB32);
      const QImage got = small.convertToFormat(QImage::Format_ARGB32);
      double error = 0;
      for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x) {
          const QColor a = QColor::fromRgba(got.pixel(x, y)), b = QColor::fromRgba(expected.pixel(x, y));
          error += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
        }
      EXPECT_LT(error / (3.0 * got.width() * got.height()), 8.0) << "id " << id << " dpr " << dpr;
    }
}

TEST(PictureSizes, UnknownIdsAndBadRatiosGiveNullImages) {
  for (int id : {-1, -2, -3, 8, 9, 12, 111, -111, 102, -951, 951, 1000, -110000})
    EXPECT_TRUE(picture(id).isNull()) << "id " << id;
  EXPECT_TRUE(picture(0, 0.0).isNull());
  EXPECT_TRUE(picture(0, -1.0).isNull());
  EXPECT_TRUE(icon(3).isNull());
  EXPECT_TRUE(icon(-1).isNull());
}

TEST(PictureSizes, IconsFitInThirtyTwoSquare) {
  for (qreal dpr : {1.0, 2.0})
    for (int k = 0; k < 3; ++k) {
      const QImage img = icon(k, dpr);
      ASSERT_FALSE(img.isNull());
      EXPECT_LE(img.width(), 32 * dpr);
      EXPECT_LE(img.height(), 32 * dpr);
      EXPECT_DOUBLE_EQ(img.devicePixelRatio(), dpr);
    }
}

TEST(Pieces, UpperSideIsLowerSideHalfTurned) {
  for (qreal dpr : {1.0, 2.0})
    for (int code : kPieces) {
      const QImage lower = picture(-code, dpr);
      EXPECT_TRUE(samePixels(picture(code, dpr), lower.mirrored(true, true))) << code << " dpr " << dpr;
      EXPECT_FALSE(samePixels(picture(code, dpr), lower)) << code;
    }
}

TEST(Pieces, AllDifferAndPromotedSideIsDistinct) {
  for (size_t a = 0; a < kPieces.size(); ++a)
    for (size_t b = a + 1; b < kPieces.size(); ++b)
      EXPECT_FALSE(samePixels(picture(-kPieces[a]), picture(-kPieces[b]))) << kPieces[a] << " " << kPieces[b];
  for (auto [plain, promoted] : kPromotions) {
    const QImage a = picture(-plain, 2), b = picture(-promoted, 2);
    EXPECT_FALSE(samePixels(a, b)) << plain;
    // The promoted side is written in red, the plain side in white.
    EXPECT_GT(countPixels(a, isWhite), 40) << plain;
    EXPECT_EQ(countPixels(a, isRed), 0) << plain;
    EXPECT_GT(countPixels(b, isRed), 40) << promoted;
    EXPECT_EQ(countPixels(b, isWhite), 0) << promoted;
  }
}

TEST(Pieces, BlackTokenOnWood) {
  for (int code : kPieces) {
    const QImage img = picture(-code, 2);
    // Just below the point of the token, above the writing: lacquer black.
    const QColor body(img.pixel(img.width() / 2, img.height() / 2 - 26));
    EXPECT_LT(body.lightness(), 80) << code;
    const int dark = countPixels(img, [](QColor c) { return c.lightness() < 70; });
    EXPECT_GT(dark, img.width() * img.height() / 4) << code;
  }
  // Higher ranks are larger tokens, so the king covers the most.
  const auto covered = [](int code) { return countPixels(picture(code, 2), [](QColor c) { return c.lightness() < 90; }); };
  EXPECT_GT(covered(-950), covered(-900));
  EXPECT_GT(covered(-900), covered(-10));
}

TEST(Board, EverySquareSharesTheWoodAtItsCorners) {
  for (qreal dpr : {1.0, 2.0}) {
    const QImage empty = picture(0, dpr);
    const int w = empty.width(), h = empty.height();
    const std::vector<QRect> corners{{0, 0, 2, 2}, {w - 2, 0, 2, 2}, {0, h - 2, 2, 2}, {w - 2, h - 2, 2, 2}};
    for (int id : squareIds())
      for (const QRect &r : corners)
        EXPECT_TRUE(samePixels(picture(id, dpr).copy(r), empty.copy(r))) << "id " << id << " dpr " << dpr;
  }
}

TEST(Board, WoodIsWarmOpaqueAndGrained) {
  const QImage wood = picture(0, 2);
  double sum = 0, sumSq = 0;
  int n = 0;
  for (int y = 0; y < wood.height(); ++y)
    for (int x = 0; x < wood.width(); ++x) {
      const QColor c(wood.pixel(x, y));
      ASSERT_EQ(qAlpha(wood.pixel(x, y)), 255);
      ASSERT_GT(c.red(), c.green());
      ASSERT_GT(c.green(), c.blue());
      sum += c.lightness();
      sumSq += c.lightness() * c.lightness();
      ++n;
    }
  const double mean = sum / n, sd = std::sqrt(sumSq / n - mean * mean);
  EXPECT_GT(mean, 120);
  EXPECT_GT(sd, 3.0);   // grain is there
  EXPECT_LT(sd, 30.0);  // but subtle
}

TEST(Tiles, OpaqueDistinctAndSeamless) {
  for (qreal dpr : {1.0, 2.0})
    for (int id : kTiles) {
      const QImage t = picture(id, dpr);
      EXPECT_EQ(countPixels(t, [](QColor c) { return c.alpha() != 255; }), 0) << id;
      // Laid every 33 pixels across and 41 down: the extra column repeats
      // the first, and the bottom row continues into the top row.
      const int period = 33 * dpr;
      for (int x = 0; x + period < t.width(); ++x)
        EXPECT_TRUE(samePixels(t.copy(x, 0, 1, t.height()), t.copy(x + period, 0, 1, t.height()))) << id;
    }
  for (size_t a = 0; a < kTiles.size(); ++a)
    for (size_t b = a + 1; b < kTiles.size(); ++b)
      EXPECT_FALSE(samePixels(picture(kTiles[a]), picture(kTiles[b])));
}

// The pattern must run on across the horizontal join: neighbouring rows at
// the join differ no more than neighbouring rows inside the tile.
TEST(Tiles, VerticalJoinIsNoSharperThanTheInside) {
  const auto rowDiff = [](const QImage &t, int y0, int y1) {
    double d = 0;
    for (int x = 0; x < t.width(); ++x) {
      const QColor a(t.pixel(x, y0)), b(t.pixel(x, y1));
      d += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
    }
    return d;
  };
  for (int id : kTiles) {
    const QImage t = picture(id, 2);
    double worstInside = 0;
    for (int y = 0; y + 1 < t.height(); ++y) worstInside = std::max(worstInside, rowDiff(t, y, y + 1));
    EXPECT_LE(rowDiff(t, t.height() - 1, 0), worstInside) << id;
  }
}

TEST(Logos, OpaqueAndDistinct) {
  for (int id : {1, 2}) {
    const QImage l = picture(id, 2);
    EXPECT_EQ(countPixels(l, [](QColor c) { return c.alpha() != 255; }), 0) << id;
  }
  EXPECT_FALSE(samePixels(picture(1), picture(2)));
}

TEST(Icons, FiguresOnATransparentGround) {
  for (int k = 0; k < 3; ++k) {
    const QImage img = icon(k, 2);
    const int clear = countPixels(img, [](QColor c) { return c.alpha() == 0; });
    EXPECT_GT(clear, 0) << k;                                   // presses see the board round it
    EXPECT_GT(img.width() * img.height() - clear, img.width() * img.height() / 4) << k;
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0) << k;
  }
  EXPECT_FALSE(samePixels(icon(0), icon(1)));
  EXPECT_FALSE(samePixels(icon(0), icon(2)));
  EXPECT_FALSE(samePixels(icon(1), icon(2)));
}

// Drawn at the higher resolution, not enlarged: the 2x picture averaged down
// is close to the 1x picture, and it has detail the 1x picture cannot hold.
TEST(Resolution, TwoTimesIsTheSamePictureInFinerDetail) {
  for (int id : {0, -950, 11, 3, 6, 7, 1, 2}) {
    const QImage one = picture(id, 1).convertToFormat(QImage::Format_ARGB32);
    const QImage two = picture(id, 2).convertToFormat(QImage::Format_ARGB32);
    double diff = 0;
    int blocksWithDetail = 0;
    for (int y = 0; y < one.height(); ++y)
      for (int x = 0; x < one.width(); ++x) {
        int sum = 0, lo = 255, hi = 0;
        for (int k = 0; k < 4; ++k) {
          const int g = qGray(two.pixel(2 * x + k % 2, 2 * y + k / 2));
          sum += g;
          lo = std::min(lo, g);
          hi = std::max(hi, g);
        }
        diff += std::abs(sum / 4.0 - qGray(one.pixel(x, y)));
        blocksWithDetail += hi - lo > 24 ? 1 : 0;
      }
    EXPECT_LT(diff / (one.width() * one.height()), 12.0) << id;
    if (id != 0) {  // wood has no sharp edges
      EXPECT_GT(blocksWithDetail, 0) << id;
    }
  }
}

TEST(Fonts, MissingFamilyFallsBackAndStillWrites) {
  const QImage before = picture(-950, 2);
  mirado::art::setFontFamily(QStringLiteral("No Such Family 7f3a"));
  const QImage fallback = picture(-950, 2);
  const QImage promoted = picture(-11, 2);
  mirado::art::setFontFamily(QStringLiteral("IPAPMincho"));
  ASSERT_FALSE(fallback.isNull());
  EXPECT_GT(countPixels(fallback, isWhite), 40);
  EXPECT_GT(countPixels(promoted, isRed), 40);
  EXPECT_TRUE(samePixels(picture(-950, 2), before));  // back to the chosen family
}

TEST(Resolution, FractionalRatioRoundsUp) {
  // 33 x 41 at 1.5 is 49.5 x 61.5 pixels: whole pixels, none of the picture cut off.
  EXPECT_EQ(picture(0, 1.5).size(), QSize(50, 62));
  EXPECT_EQ(picture(-950, 1.5).size(), QSize(50, 62));
  EXPECT_EQ(picture(3, 1.5).size(), QSize(51, 62));
  EXPECT_EQ(icon(0, 1.25).size(), QSize(40, 40));
}

}  // namespace

int main(int argc, char **argv) {
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
