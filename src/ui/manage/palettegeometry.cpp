#include "manage/palettegeometry.h"

#include <algorithm>

namespace pigmora::ui {

PaletteGridGeometry paletteGridGeometry(QSize paintBoxSize)
{
    return {std::max(0, (paintBoxSize.width() - kPaletteMargin) / kPaletteColumns),
            std::max(0, (paintBoxSize.height() - kPaletteMargin) / kPaletteRows)};
}

QPoint paletteCellCorner(const PaletteGridGeometry &geometry, int cell)
{
    return {kPaletteMargin + (cell % kPaletteColumns) * geometry.cellWidth,
            kPaletteMargin + (cell / kPaletteColumns) * geometry.cellHeight};
}

QRect paletteCellOutline(const PaletteGridGeometry &geometry, int cell)
{
    const QPoint corner = paletteCellCorner(geometry, cell);
    return QRect(corner + QPoint(1, 1), corner + QPoint(geometry.cellWidth - 1, geometry.cellHeight - 1));
}

QRect paletteCellPatch(const PaletteGridGeometry &geometry, int cell)
{
    const QPoint corner = paletteCellCorner(geometry, cell);
    return QRect(corner + QPoint(3, 3), corner + QPoint(geometry.cellWidth - 3, geometry.cellHeight - 3));
}

int paletteCellAt(const PaletteGridGeometry &geometry, QPoint point)
{
    if (geometry.cellWidth <= 0 || geometry.cellHeight <= 0)
        return -1;
    const int dx = point.x() - kPaletteMargin;
    const int dy = point.y() - kPaletteMargin;
    // Points in the margin truncate towards column or row 0 and would land in
    // the first cells; they are outside every cell.
    if (dx < 0 || dy < 0)
        return -1;
    const int column = dx / geometry.cellWidth;
    const int row = dy / geometry.cellHeight;
    if (column >= kPaletteColumns || row >= kPaletteRows)
        return -1;
    const int x0 = kPaletteMargin + column * geometry.cellWidth;
    const int y0 = kPaletteMargin + row * geometry.cellHeight;
    const bool inside = x0 + 1 < point.x() && point.x() < x0 + geometry.cellWidth - 1 && y0 + 1 < point.y()
        && point.y() < y0 + geometry.cellHeight - 1;
    return inside ? row * kPaletteColumns + column : -1;
}

QRect selectionSwatchFrame(QSize paintBoxSize)
{
    return QRect(QPoint(3, 7), QPoint(paintBoxSize.width() - 2, paintBoxSize.height() - 2));
}

QRect selectionSwatchPatch(QSize paintBoxSize)
{
    return QRect(QPoint(8, 12), QPoint(paintBoxSize.width() - 7, paintBoxSize.height() - 7));
}

int paletteCellMovedBy(int cell, int dx, int dy)
{
    if (cell < 0 || cell >= kPaletteCellCount)
        return 0;
    const int column = std::clamp(cell % kPaletteColumns + dx, 0, kPaletteColumns - 1);
    const int row = std::clamp(cell / kPaletteColumns + dy, 0, kPaletteRows - 1);
    return row * kPaletteColumns + column;
}

QPoint paletteWindowPlace(const QRect &mainFrame, QSize window, const QRect &available, int keepClearBelow)
{
    const QPoint candidates[] = {
        {mainFrame.right() + 1, mainFrame.top()},
        {mainFrame.left() - window.width(), mainFrame.top()},
        {mainFrame.left(), mainFrame.bottom() + 1},
        {mainFrame.left(), mainFrame.top() - window.height()},
    };
    for (const QPoint &corner : candidates) {
        if (available.contains(QRect(corner, window)))
            return corner;
    }
    const QRect inside = mainFrame.intersected(available);
    return {std::max(inside.left(), inside.right() + 1 - window.width()),
            std::max(inside.top(), inside.bottom() + 1 - keepClearBelow - window.height())};
}

} // namespace pigmora::ui
