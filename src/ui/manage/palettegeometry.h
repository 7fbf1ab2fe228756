#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace pigmora::ui {

// The palette grid: 25 columns by 4 rows of cells behind a 5-pixel margin at
// the left and the top. Cell sizes follow the paint box size (20 x 21 for the
// window's 512 x 91 grid).
inline constexpr int kPaletteColumns = 25;
inline constexpr int kPaletteRows = 4;
inline constexpr int kPaletteCellCount = kPaletteColumns * kPaletteRows;
inline constexpr int kPaletteMargin = 5;

struct PaletteGridGeometry {
    int cellWidth = 0;
    int cellHeight = 0;
};

// Cell width (W - 5) / 25 and height (H - 5) / 4, truncated.
PaletteGridGeometry paletteGridGeometry(QSize paintBoxSize);

// The corner of cell index (column index % 25, row index / 25).
QPoint paletteCellCorner(const PaletteGridGeometry &geometry, int cell);

// The cell's one-pixel outline (and the selection frame): both corners
// included, (x0 + 1, y0 + 1) to (x0 + cw - 1, y0 + ch - 1).
QRect paletteCellOutline(const PaletteGridGeometry &geometry, int cell);

// The colour patch of a filled cell, (x0 + 3, y0 + 3) up to but excluding
// (x0 + cw - 2, y0 + ch - 2).
QRect paletteCellPatch(const PaletteGridGeometry &geometry, int cell);

// The cell whose inner area strictly contains the point, or -1: outlines,
// margins and the strip right of the 25th column hit nothing.
int paletteCellAt(const PaletteGridGeometry &geometry, QPoint point);

// The selection swatch: its grey frame (3, 7) to (W - 2, H - 2), corners
// included, and the colour inside it, (8, 12) up to (W - 6, H - 6).
QRect selectionSwatchFrame(QSize paintBoxSize);
QRect selectionSwatchPatch(QSize paintBoxSize);

// The cell an arrow key moves the selection to (dx, dy of -1, 0 or 1),
// staying inside the grid; from no selection it is the first cell.
int paletteCellMovedBy(int cell, int dx, int dy);

// Where the palette window (its frame of size window) goes the first time:
// beside the main window's frame, to its right, else its left, below or
// above, wherever it lies wholly on the available screen area; with no room
// beside (a maximised main window), in its bottom-right corner above the
// bottom strip it keeps clear (the status bar), over the end of the result
// panel rather than the picture's top-left.
QPoint paletteWindowPlace(const QRect &mainFrame, QSize window, const QRect &available, int keepClearBelow = 0);

} // namespace pigmora::ui
