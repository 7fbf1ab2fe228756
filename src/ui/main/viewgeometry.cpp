#include "main/viewgeometry.h"

#include "image/picturesampler.h"

#include <QObject>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace pigmora::ui::geometry {

QSize paintBoxSize(QSize view)
{
    return {view.width() + kViewMargin + 1, view.height() + kViewMargin + 1};
}

std::optional<QPoint> viewPixelOfClick(QPoint p, QSize view)
{
    // The margin's last column and row (18) pick nothing either.
    if (p.x() <= kViewMargin || p.y() <= kViewMargin)
        return std::nullopt;
    const QPoint pixel(p.x() - kViewMargin, p.y() - kViewMargin);
    if (pixel.x() >= view.width() || pixel.y() >= view.height())
        return std::nullopt;
    return pixel;
}

QString mousePositionText(QPoint p)
{
    const auto part = [](const QString &label, int value) {
        const QString number = QString::number(value);
        return label + number + QString(std::max<qsizetype>(0, 6 - number.size()), QLatin1Char(' '));
    };
    return part(QStringLiteral("X : "), p.x()) + part(QStringLiteral("Y : "), p.y());
}

std::vector<int> gridLinePositions(int side, int count)
{
    std::vector<int> lines;
    if (count <= 0 || side <= 0)
        return lines;
    count = std::min(count, kMaxGridCount);
    // Single-precision steps, as the lines have always been placed.
    const float step = static_cast<float>(side) / static_cast<float>(count);
    const float end = static_cast<float>(kViewMargin + side);
    float position = static_cast<float>(kViewMargin);
    lines.reserve(static_cast<std::size_t>(count) + 1);
    const int last = kViewMargin + side - 1;
    for (int i = 0; i <= count; ++i) {
        // Rounding a step just short of the end would reach the column after
        // the picture; the line stays on the picture's last column instead.
        lines.push_back(std::min(static_cast<int>(static_cast<double>(position) + 0.5), last));
        position += step;
        if (position >= end)
            position = end - 1.0f;
    }
    return lines;
}

float squareCellSide(QSize view, int columns, int rows)
{
    float cell = 0.0f;
    for (const auto &[side, count] : {std::pair(view.width(), columns), std::pair(view.height(), rows)}) {
        if (count <= 0 || side <= 0)
            continue;
        const float step = static_cast<float>(side) / static_cast<float>(std::min(count, kMaxGridCount));
        cell = cell > 0.0f ? std::min(cell, step) : step;
    }
    return cell;
}

std::vector<int> squareGridLinePositions(int side, float cell)
{
    std::vector<int> lines;
    if (side <= 0 || !(cell > 0.0f))
        return lines;
    const int last = kViewMargin + side - 1;
    for (int k = 0;; ++k) {
        const int line = static_cast<int>(static_cast<double>(kViewMargin) + static_cast<double>(cell) * k + 0.5);
        if (line >= last)
            break;
        lines.push_back(line);
    }
    lines.push_back(last); // the picture's edge closes the last, partial cells
    return lines;
}

QSize pictureRoom(QSize viewport)
{
    return {std::max(0, viewport.width() - kViewMargin - 1), std::max(0, viewport.height() - kViewMargin - 1)};
}

QPoint basePixelOf(QPoint viewPixel, QSize view, QSize base)
{
    if (view.isEmpty() || base.isEmpty())
        return {};
    const auto map = [](int at, int viewSide, int baseSide) {
        const auto pixel = static_cast<int>((static_cast<double>(at) + 0.5) * baseSide / viewSide);
        return std::clamp(pixel, 0, baseSide - 1);
    };
    return {map(viewPixel.x(), view.width(), base.width()), map(viewPixel.y(), view.height(), base.height())};
}

QString basePixelText(QPoint pixel)
{
    return QObject::tr("原图 X : %1  Y : %2").arg(pixel.x()).arg(pixel.y());
}

bool lensInBounds(QPoint p, QSize paintBox)
{
    return p.x() - kViewMargin - kLensHalfWidth >= 0 && p.y() - kViewMargin - kLensHalfHeight >= 0
        && p.x() + kLensHalfWidth < paintBox.width() && p.y() + kLensHalfHeight < paintBox.height();
}

std::array<QRect, 4> lensOutline(QPoint p)
{
    const int left = p.x() - kLensHalfWidth;
    const int right = p.x() + kLensHalfWidth;
    const int top = p.y() - kLensHalfHeight;
    const int bottom = p.y() + kLensHalfHeight;
    // Each side runs from its corner up to, not including, the next corner.
    return {QRect(QPoint(left, top), QPoint(right - 1, top)), QRect(QPoint(right, top), QPoint(right, bottom - 1)),
            QRect(QPoint(left + 1, bottom), QPoint(right, bottom)), QRect(QPoint(left, top + 1), QPoint(left, bottom))};
}

QRect magnifierSource(QPoint p, float factor)
{
    const double a = p.x() - kViewMargin - kLensHalfWidth;
    const double b = p.y() - kViewMargin - kLensHalfHeight;
    const double f = factor;
    const int left = static_cast<int>(a * f);
    const int top = static_cast<int>(b * f);
    const int right = static_cast<int>(a * f + kMagnifierSize.width());
    const int bottom = static_cast<int>(b * f + kMagnifierSize.height());
    return {left, top, right - left, bottom - top};
}

QRect sampledArea(QPoint viewPixel, int size, QSize view, QSize base)
{
    if (view.isEmpty() || base.isEmpty())
        return {};
    // One side: the sampled original pixels [first, last], then the view
    // pixels whose span meets theirs.
    const auto side = [size](int at, int viewSide, int baseSide) {
        const int centre = originalPixelOf(at, baseSide, viewSide);
        const int half = std::max(size, 1) / 2;
        const std::int64_t first = std::max(centre - half, 0);
        const std::int64_t last = std::min(centre + half, baseSide - 1);
        std::int64_t from = first * viewSide / baseSide;
        std::int64_t to = ((last + 1) * viewSide + baseSide - 1) / baseSide - 1;
        from = std::clamp<std::int64_t>(std::min<std::int64_t>(from, at), 0, viewSide - 1);
        to = std::clamp<std::int64_t>(std::max<std::int64_t>(to, at), 0, viewSide - 1);
        return std::pair{static_cast<int>(from), static_cast<int>(to)};
    };
    const auto [left, right] = side(viewPixel.x(), view.width(), base.width());
    const auto [top, bottom] = side(viewPixel.y(), view.height(), base.height());
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

std::array<QRect, 4> frameAround(const QRect &area)
{
    const QRect outer = area.adjusted(-1, -1, 1, 1);
    return {QRect(outer.left(), outer.top(), outer.width(), 1), QRect(outer.left(), outer.bottom(), outer.width(), 1),
            QRect(outer.left(), outer.top() + 1, 1, outer.height() - 2),
            QRect(outer.right(), outer.top() + 1, 1, outer.height() - 2)};
}

std::array<QRect, 3> markStrips(QPoint p)
{
    return {QRect(p.x() - kMarkArm, p.y(), 2 * kMarkArm + 1, 1), QRect(p.x(), p.y() - kMarkArm, 1, kMarkArm),
            QRect(p.x(), p.y() + 1, 1, kMarkArm)};
}

QPoint viewPixelOfBasePoint(QPointF point, QSize view, QSize base)
{
    if (view.isEmpty() || base.isEmpty())
        return {};
    const auto map = [](double at, int viewSide, int baseSide) {
        return std::clamp(static_cast<int>(std::floor(at * viewSide / baseSide)), 0, viewSide - 1);
    };
    return {map(point.x(), view.width(), base.width()), map(point.y(), view.height(), base.height())};
}

} // namespace pigmora::ui::geometry
