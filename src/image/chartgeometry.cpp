#include "image/chartgeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pigmora::chart {

namespace {

double cross(const Point &o, const Point &p, const Point &q)
{
    return (p.x - o.x) * (q.y - o.y) - (p.y - o.y) * (q.x - o.x);
}

double distance(const Point &p, const Point &q)
{
    return std::hypot(p.x - q.x, p.y - q.y);
}

// The mapping of the unit square (0, 0), (1, 0), (1, 1), (0, 1) onto
// p0 .. p3, the classic closed form for a square to a quadrilateral.
Perspective squareTo(const std::array<Point, 4> &p)
{
    const double dx1 = p[1].x - p[2].x;
    const double dx2 = p[3].x - p[2].x;
    const double dx3 = p[0].x - p[1].x + p[2].x - p[3].x;
    const double dy1 = p[1].y - p[2].y;
    const double dy2 = p[3].y - p[2].y;
    const double dy3 = p[0].y - p[1].y + p[2].y - p[3].y;
    const double det = dx1 * dy2 - dx2 * dy1; // not 0 for a convex quadrilateral
    Perspective m;
    m.g = (dx3 * dy2 - dx2 * dy3) / det;
    m.h = (dx1 * dy3 - dx3 * dy1) / det;
    m.a = p[1].x - p[0].x + m.g * p[1].x;
    m.b = p[3].x - p[0].x + m.h * p[3].x;
    m.c = p[0].x;
    m.d = p[1].y - p[0].y + m.g * p[1].y;
    m.e = p[3].y - p[0].y + m.h * p[3].y;
    m.f = p[0].y;
    return m;
}

std::string pixelsText(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

} // namespace

Point Perspective::map(double u, double v) const
{
    const double w = g * u + h * v + 1.0;
    return {(a * u + b * v + c) / w, (d * u + e * v + f) / w};
}

Result<Layout> layoutOf(const std::array<Point, 4> &corners)
{
    // Points of a picture: beyond this the arithmetic below overflows.
    constexpr double kFarthest = 1e9;
    const auto inPictureRange
        = [](const Point &p) { return std::abs(p.x) <= kFarthest && std::abs(p.y) <= kFarthest; }; // false for NaN
    if (!std::all_of(corners.begin(), corners.end(), inPictureRange))
        return Status::error("the chart corners are not points of a picture");
    // Every turn the same way round, none straight: a convex quadrilateral
    // in the order given (mirrored is fine, crossed is not).
    double turns[4];
    for (int i = 0; i < 4; ++i)
        turns[i] = cross(corners[static_cast<std::size_t>(i)], corners[static_cast<std::size_t>((i + 1) % 4)],
                         corners[static_cast<std::size_t>((i + 2) % 4)]);
    const bool clockwise = std::all_of(std::begin(turns), std::end(turns), [](double t) { return t > 0.0; });
    const bool counter = std::all_of(std::begin(turns), std::end(turns), [](double t) { return t < 0.0; });
    if (!clockwise && !counter)
        return Status::error("the four chart corners do not make a quadrilateral in the order patch 1, 6, 24, 19 "
                             "(top left, top right, bottom right, bottom left)");

    Layout layout;
    const Perspective unit = squareTo(corners);
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            layout.centres[static_cast<std::size_t>(row * kColumns + column)]
                = unit.map(static_cast<double>(column) / (kColumns - 1), static_cast<double>(row) / (kRows - 1));
    layout.perspective = unit;
    // A perspective that sends a patch to infinity (the corners nearly in a
    // line at far-apart points) leaves no chart to sample.
    if (!std::all_of(layout.centres.begin(), layout.centres.end(), inPictureRange))
        return Status::error("the four chart corners do not make a quadrilateral in the order patch 1, 6, 24, 19 "
                             "(top left, top right, bottom right, bottom left)");

    layout.spacing = std::numeric_limits<double>::infinity();
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            const Point &p = layout.centres[static_cast<std::size_t>(row * kColumns + column)];
            double nearest = std::numeric_limits<double>::infinity();
            const int neighbours[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto &n : neighbours) {
                const int c = column + n[0];
                const int r = row + n[1];
                if (c >= 0 && c < kColumns && r >= 0 && r < kRows)
                    nearest
                        = std::min(nearest, distance(p, layout.centres[static_cast<std::size_t>(r * kColumns + c)]));
            }
            layout.spacing = std::min(layout.spacing, nearest);
            const int third = static_cast<int>(std::min(nearest / 3.0, 1e6));
            layout.sampleSides[static_cast<std::size_t>(row * kColumns + column)]
                = std::max(1, third % 2 ? third : third - 1);
        }
    }
    if (!(layout.spacing >= kMinSpacing))
        return Status::error("the chart is too small: its patches are " + pixelsText(layout.spacing)
                             + " pixels apart, at least 4 are needed so that they do not overlap");
    return layout;
}

} // namespace pigmora::chart
