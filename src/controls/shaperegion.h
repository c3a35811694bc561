#pragma once

#include <QColor>
#include <QImage>
#include <QRegion>

#include <optional>

// Window regions of shaped buttons, built from the button's face picture.
//
// A pixel is transparent when the Euclidean distance between its (R, G, B) and the transparent
// colour's (R, G, B) is at most the tolerance. Every horizontal run of opaque pixels of a row becomes
// one rectangle one pixel high; rows are walked from the top down and the rectangles are united in
// batches of at most kRegionBatchSize.

inline constexpr int kRegionBatchSize = 1000;

// True when (r, g, b) lies within tolerance of the transparent colour. A negative tolerance makes
// no pixel transparent.
bool IsTransparentPixel(QRgb pixel, QRgb transColor, int tolerance);

// Number of horizontal runs of opaque pixels over all rows of the face.
qsizetype CountOpaqueRuns(const QImage& face, QRgb transColor, int tolerance);

// The region of all opaque pixels of the face. Returns nothing when the face cannot be read as a
// 24-bit picture (a null face or one that cannot be converted). batchSize below 1 counts as 1.
std::optional<QRegion> RegionFromFace(
    const QImage& face, QRgb transColor, int tolerance, int batchSize = kRegionBatchSize);

// The three faults of shaping a button, with the texts the button reports for them.
enum class TShapeError {
    None,
    DibSection, // "Failed to create DIB section."
    Region, // "Failed to create region."
    WindowRegion, // "Failed to set window region."
};
QString ShapeErrorText(TShapeError error);
