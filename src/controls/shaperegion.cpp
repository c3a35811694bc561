#include "controls/shaperegion.h"

#include <QList>
#include <QRect>

#include <cmath>

bool IsTransparentPixel(QRgb pixel, QRgb transColor, int tolerance)
{
    if (tolerance < 0) {
        return false;
    }
    const int dr = qRed(pixel) - qRed(transColor);
    const int dg = qGreen(pixel) - qGreen(transColor);
    const int db = qBlue(pixel) - qBlue(transColor);
    // Compare squares: exact, and the same as comparing the square root with the tolerance.
    const qint64 d2 = qint64(dr) * dr + qint64(dg) * dg + qint64(db) * db;
    return d2 <= qint64(tolerance) * tolerance;
}

namespace {

// The face as 24-bit colour, the way the shaping reads it.
QImage As24Bit(const QImage& face)
{
    if (face.isNull()) {
        return {};
    }
    return face.convertToFormat(QImage::Format_RGB888);
}

template <typename Fn> void ForEachRun(const QImage& img, QRgb transColor, int tolerance, Fn&& fn)
{
    const int w = img.width();
    for (int y = 0; y < img.height(); ++y) {
        const uchar* line = img.constScanLine(y);
        int x = 0;
        while (x < w) {
            while (x < w
                && IsTransparentPixel(
                    qRgb(line[3 * x], line[3 * x + 1], line[3 * x + 2]), transColor, tolerance)) {
                ++x;
            }
            if (x >= w) {
                break;
            }
            const int start = x;
            while (x < w
                && !IsTransparentPixel(
                    qRgb(line[3 * x], line[3 * x + 1], line[3 * x + 2]), transColor, tolerance)) {
                ++x;
            }
            fn(QRect(start, y, x - start, 1));
        }
    }
}

} // namespace

qsizetype CountOpaqueRuns(const QImage& face, QRgb transColor, int tolerance)
{
    const QImage img = As24Bit(face);
    qsizetype n = 0;
    ForEachRun(img, transColor, tolerance, [&n](const QRect&) { ++n; });
    return n;
}

std::optional<QRegion> RegionFromFace(const QImage& face, QRgb transColor, int tolerance, int batchSize)
{
    const QImage img = As24Bit(face);
    if (img.isNull()) {
        return std::nullopt;
    }
    if (batchSize < 1) {
        batchSize = 1;
    }
    // First pass: how many rectangles there will be.
    const qsizetype runs = CountOpaqueRuns(img, transColor, tolerance);
    QList<QRect> rects;
    rects.reserve(runs);
    // Second pass, top row first: one rectangle per run.
    ForEachRun(img, transColor, tolerance, [&rects](const QRect& r) { rects.append(r); });

    QRegion result;
    for (qsizetype i = 0; i < rects.size(); i += batchSize) {
        const qsizetype n = std::min<qsizetype>(batchSize, rects.size() - i);
        QRegion batch;
        batch.setRects(rects.constData() + i, int(n));
        result = result.united(batch);
    }
    return result;
}

QString ShapeErrorText(TShapeError error)
{
    switch (error) {
    case TShapeError::None:
        return {};
    case TShapeError::DibSection:
        return QStringLiteral("Failed to create DIB section.");
    case TShapeError::Region:
        return QStringLiteral("Failed to create region.");
    case TShapeError::WindowRegion:
        return QStringLiteral("Failed to set window region.");
    }
    return {};
}
