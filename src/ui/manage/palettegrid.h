#pragma once

#include "manage/palettegeometry.h"
#include "manage/palettemime.h"

#include <QImage>
#include <QToolButton>
#include <QWidget>

namespace pigmora::ui {

class PaletteCells;

// The button face the grid and the swatch are drawn on.
inline const QColor kPaletteButtonFace(240, 240, 240);

// PaintBox_palette: draws the cells off-screen and then the selection frame
// on top, turns presses into cell indices, starts a drag of a filled cell
// once the mouse has moved by the drag distance, and reports drops. What a
// press or a drop does is the window's business.
class PaletteGridPaintBox : public QWidget
{
    Q_OBJECT

public:
    PaletteGridPaintBox(QWidget *parent, const PaletteCells *cells);

    void setSelectedCell(int cell);
    PaletteGridGeometry geometry() const { return paletteGridGeometry(size()); }
    // The point at the middle of a cell, for keyboard users and tests.
    QPoint cellCentre(int cell) const;

Q_SIGNALS:
    // A left-button press; -1 when it hit no cell.
    void cellPressed(int cell);
    void colorDropped(int cell, const pigmora::ui::PaletteDrag &drag);
    void selectionMoveRequested(int dx, int dy);
    // A drag of the cell's colour is about to start.
    void dragStarting(int cell);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void renderCells();

    const PaletteCells *m_cells;
    QImage m_buffer;
    int m_selectedCell = -1;
    // The filled cell under the last left press, until the drag starts.
    int m_dragCell = -1;
    QPoint m_pressPosition;
};

// PaintBox_selectColor: the colour of the selected cell inside a grey frame.
class PaletteSwatchPaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit PaletteSwatchPaintBox(QWidget *parent);
    void setColor(const QColor &color);
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color = kPaletteButtonFace;
};

// ToolButton_remove: also takes a cell dragged out of the grid.
class PaletteRemoveButton : public QToolButton
{
    Q_OBJECT

public:
    explicit PaletteRemoveButton(QWidget *parent);

Q_SIGNALS:
    void colorDropped(const pigmora::ui::PaletteDrag &drag);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};

} // namespace pigmora::ui
