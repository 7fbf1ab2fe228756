#pragma once

#include "data/status.h"

#include <array>

// Where the patches of a photographed 24-patch colour chart lie: the
// perspective mapping of the chart's 6 x 4 grid of patch centres onto the
// quadrilateral of the four corner patches' centres the painter clicked.
namespace pigmora::chart {

inline constexpr int kColumns = 6;
inline constexpr int kRows = 4;
inline constexpr int kPatches = kColumns * kRows;
// Neighbouring patch centres closer than this (in picture pixels) leave no
// room for a sample inside each patch.
inline constexpr double kMinSpacing = 4.0;

struct Point {
    double x = 0.0;
    double y = 0.0;
};

// A homography: (u, v) maps to ((a u + b v + c) / w, (d u + e v + f) / w)
// with w = g u + h v + 1.
struct Perspective {
    double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0, g = 0, h = 0;
    Point map(double u, double v) const;
};

struct Layout {
    // Patch centres 1 .. 24, row by row from the top left, in picture
    // coordinates (pixel p spans p .. p + 1).
    std::array<Point, kPatches> centres{};
    // The odd side of each patch's sample square: a third of the distance
    // to its nearest neighbour, at least 1.
    std::array<int, kPatches> sampleSides{};
    // The smallest distance between neighbouring centres.
    double spacing = 0.0;
    Perspective perspective;
};

// The layout for the centres of patches 1 (top left), 6 (top right), 24
// (bottom right) and 19 (bottom left), in that order. Refused when the four
// points do not make a convex quadrilateral in that order (three in a line,
// crossed sides) or when the patches would overlap (spacing below
// kMinSpacing).
Result<Layout> layoutOf(const std::array<Point, 4> &corners);

} // namespace pigmora::chart
