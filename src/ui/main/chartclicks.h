#pragma once

#include "image/chartgeometry.h"

#include <QString>

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace pigmora::ui {

// The four clicks on a photographed chart's corner patches, in the order the
// calibration takes them: 1 dark skin (top left), 6 bluish green (top right),
// 24 black (bottom right), 19 white (bottom left). Points are in the base
// picture's coordinates, so a zoom between clicks does not move them. No
// widgets: the picture controller feeds it and shows what it says.
class ChartClicks
{
public:
    static constexpr std::size_t kCorners = 4;

    // Takes the next corner; the four once the last one came, none before.
    std::optional<std::array<chart::Point, kCorners>> add(chart::Point point);
    std::size_t count() const { return m_points.size(); }
    const std::vector<chart::Point> &points() const { return m_points; }
    void clear() { m_points.clear(); }

    // The status bar's guide before the click that takes corner `clicked`
    // (0 .. 3): which patch to click, the count so far and how to cancel.
    static QString hint(std::size_t clicked);

private:
    std::vector<chart::Point> m_points;
};

} // namespace pigmora::ui
