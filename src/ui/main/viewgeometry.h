#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// The picture view's geometry, in view pixels (one view-picture pixel is one
// unit; on a high-DPI screen one device pixel): the margin around the
// picture, the click mapping, the grid lines and the magnifier's rectangle
// and source area. Pure functions, so the numbers are tested without windows.
namespace pigmora::ui::geometry {

// The picture is drawn with its top-left corner at (18, 18) of the paint box.
inline constexpr int kViewMargin = 18;

// The paint box: the picture, the margin and one more column and row.
QSize paintBoxSize(QSize view);

// The view pixel a click at paint-box point p picks; none in the margin and
// in the extra column and row beyond the picture.
std::optional<QPoint> viewPixelOfClick(QPoint p, QSize view);

// Status panel 0: "X : 5     Y : 123   " (each number padded to 6
// characters, nothing added from 6 characters on).
QString mousePositionText(QPoint p);

// Paint-box positions of the count + 1 grid lines across a side of the view
// picture (the first on its first pixel, the last on its last); none for a
// count of 0 or less. A count above what the grid dialog takes (a damaged
// settings file) is drawn as that largest count.
inline constexpr int kMaxGridCount = 999;
std::vector<int> gridLinePositions(int side, int count);

// Square cells instead: of the side of the smaller of the two divisions
// (side / count in single precision; a count of 0 or less divides nothing),
// 0 when neither divides. Lines on every cell border from the picture's
// top-left corner, and one on its last column or row.
float squareCellSide(QSize view, int columns, int rows);
std::vector<int> squareGridLinePositions(int side, float cell);

// The room the scroll box's viewport (view pixels) gives the view picture:
// the paint box is the picture and 19 more each way.
QSize pictureRoom(QSize viewport);

// The pixel of the base picture (of size base) shown at a view pixel of a
// view picture of size view: the one under the view pixel's centre.
QPoint basePixelOf(QPoint viewPixel, QSize view, QSize base);
// Status panel 5: "原图 X : 1234  Y : 567".
QString basePixelText(QPoint pixel);

// The magnifier's rectangle: 70 x 50 view pixels around a paint-box point.
inline constexpr int kLensHalfWidth = 35;
inline constexpr int kLensHalfHeight = 25;
// The magnifier window's client area.
inline constexpr QSize kMagnifierSize{280, 200};

// Whether the rectangle around p lies inside the picture's area of a paint
// box of the given size.
bool lensInBounds(QPoint p, QSize paintBox);

// The pixels the rectangle's outline around p covers, as four one-pixel-wide
// strips that together cover each outline pixel exactly once (so inverting
// them twice restores the picture).
std::array<QRect, 4> lensOutline(QPoint p);

// The area of the magnified picture shown for the rectangle around p, at
// factor f (magnified picture size over view picture size).
QRect magnifierSource(QPoint p, float factor);

// The view pixels an area sample of size x size original pixels around the
// original pixel under viewPixel covers (clipped at the picture's edges), for
// a view of size view of a base picture of size base: every view pixel that
// shows part of a sampled pixel, at least the view pixel itself.
QRect sampledArea(QPoint viewPixel, int size, QSize view, QSize base);
// The four one-pixel strips framing an area just outside it (a rectangle's
// outline drawn around what it marks, each pixel once).
std::array<QRect, 4> frameAround(const QRect &area);
// A small cross on a point: three strips, each pixel once.
inline constexpr int kMarkArm = 6;
std::array<QRect, 3> markStrips(QPoint p);

// The view pixel showing a point of the base picture (pixel p spans p .. p + 1).
QPoint viewPixelOfBasePoint(QPointF point, QSize view, QSize base);

} // namespace pigmora::ui::geometry
