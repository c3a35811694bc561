// Window regions built from button faces.
#include "controls/shaperegion.h"

#include <gtest/gtest.h>

#include <QImage>

namespace {

const QRgb kFuchsia = qRgb(255, 0, 255);

QImage Solid(int w, int h, QRgb c)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// The region the rule describes, pixel by pixel.
QRegion PixelRegion(const QImage& img, QRgb trans, int tol)
{
    QRegion r;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            if (!IsTransparentPixel(img.pixel(x, y), trans, tol)) {
                r += QRect(x, y, 1, 1);
            }
        }
    }
    return r;
}

struct ToleranceCase
{
    QRgb pixel;
    int tolerance;
    bool transparent;
};

class ToleranceTest : public ::testing::TestWithParam<ToleranceCase>
{
};

TEST_P(ToleranceTest, DistanceAgainstTolerance)
{
    const ToleranceCase c = GetParam();
    EXPECT_EQ(IsTransparentPixel(c.pixel, kFuchsia, c.tolerance), c.transparent);
    // The region agrees: a transparent pixel is left out.
    // Green is the colour furthest from fuchsia, so its neighbours stay opaque in every case.
    QImage img = Solid(3, 1, qRgb(0, 255, 0));
    img.setPixel(1, 0, c.pixel);
    const auto rgn = RegionFromFace(img, kFuchsia, c.tolerance);
    ASSERT_TRUE(rgn);
    EXPECT_EQ(rgn->contains(QPoint(1, 0)), !c.transparent);
    EXPECT_TRUE(rgn->contains(QPoint(0, 0)));
    EXPECT_TRUE(rgn->contains(QPoint(2, 0)));
}

INSTANTIATE_TEST_SUITE_P(Boundary, ToleranceTest,
    ::testing::Values(
        // Tolerance 0: only the exact colour.
        ToleranceCase { qRgb(255, 0, 255), 0, true }, ToleranceCase { qRgb(254, 0, 255), 0, false },
        ToleranceCase { qRgb(255, 1, 255), 0, false },
        // Distance exactly 5 (3-4-5): transparent at 5, opaque at 4.
        ToleranceCase { qRgb(255, 3, 251), 5, true }, ToleranceCase { qRgb(255, 3, 251), 4, false },
        // Distance sqrt(27) = 5.196...: opaque at 5, transparent at 6.
        ToleranceCase { qRgb(252, 3, 252), 5, false }, ToleranceCase { qRgb(252, 3, 252), 6, true },
        // Distance in every channel, maximum: black against fuchsia is sqrt(2 * 255^2) = 360.6.
        ToleranceCase { qRgb(0, 0, 0), 360, false }, ToleranceCase { qRgb(0, 0, 0), 361, true },
        // A negative tolerance makes nothing transparent.
        ToleranceCase { qRgb(255, 0, 255), -1, false }));

TEST(ShapeRegion, RowsRunTopDownAndRunsEndOnePastTheirLastPixel)
{
    // Top row: opaque from x 2 to 5; bottom row: all transparent.
    QImage img = Solid(8, 3, kFuchsia);
    for (int x = 2; x <= 5; ++x) {
        img.setPixel(x, 0, qRgb(10, 20, 30));
    }
    img.setPixel(7, 1, qRgb(10, 20, 30));
    const auto rgn = RegionFromFace(img, kFuchsia, 0);
    ASSERT_TRUE(rgn);
    EXPECT_EQ(*rgn, QRegion(2, 0, 4, 1) + QRegion(7, 1, 1, 1));
    EXPECT_EQ(CountOpaqueRuns(img, kFuchsia, 0), 2);
}

TEST(ShapeRegion, MoreThanOneBatchOfRunsGivesTheSameRegionAsOneBatch)
{
    // Every other pixel opaque: 60 runs per row, 40 rows = 2400 runs, three batches of at most 1000.
    QImage img = Solid(120, 40, kFuchsia);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = (y % 2); x < img.width(); x += 2) {
            img.setPixel(x, y, qRgb(200, 200, 200));
        }
    }
    ASSERT_EQ(CountOpaqueRuns(img, kFuchsia, 0), 2400);
    const auto batched = RegionFromFace(img, kFuchsia, 0, kRegionBatchSize);
    const auto single = RegionFromFace(img, kFuchsia, 0, 1 << 30);
    ASSERT_TRUE(batched);
    ASSERT_TRUE(single);
    EXPECT_EQ(*batched, *single);
    EXPECT_EQ(*batched, PixelRegion(img, kFuchsia, 0));
    // Batches cut in the middle of a row as well.
    const auto odd = RegionFromFace(img, kFuchsia, 0, 7);
    ASSERT_TRUE(odd);
    EXPECT_EQ(*odd, *single);
}

TEST(ShapeRegion, NullFaceIsAFaultAndAllTransparentIsEmpty)
{
    EXPECT_FALSE(RegionFromFace(QImage(), kFuchsia, 0));
    const auto empty = RegionFromFace(Solid(5, 5, kFuchsia), kFuchsia, 0);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->isEmpty());
}

TEST(ShapeRegion, ErrorTexts)
{
    EXPECT_EQ(ShapeErrorText(TShapeError::DibSection), QStringLiteral("Failed to create DIB section."));
    EXPECT_EQ(ShapeErrorText(TShapeError::Region), QStringLiteral("Failed to create region."));
    EXPECT_EQ(ShapeErrorText(TShapeError::WindowRegion), QStringLiteral("Failed to set window region."));
    EXPECT_TRUE(ShapeErrorText(TShapeError::None).isEmpty());
}

} // namespace
