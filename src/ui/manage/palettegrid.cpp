#include "manage/palettegrid.h"

#include "manage/palettecells.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

namespace pigmora::ui {

namespace {

const QColor kEmptyOutline(Qt::white);
const QColor kFilledOutline(192, 192, 192);
const QColor kSelectionFrame(128, 128, 128);

QColor qcolor(const RgbColor &color)
{
    return QColor(color.red, color.green, color.blue);
}

// Accepts palette drags only: nothing else can be dropped into a cell.
template<typename Event>
void acceptPaletteDrag(Event *event)
{
    if (decodePaletteDrag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

} // namespace

PaletteGridPaintBox::PaletteGridPaintBox(QWidget *parent, const PaletteCells *cells)
    : QWidget(parent)
    , m_cells(cells)
{
    setObjectName(QStringLiteral("PaintBox_palette"));
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaletteGridPaintBox::setSelectedCell(int cell)
{
    m_selectedCell = PaletteCells::isValidIndex(cell) ? cell : -1;
    update();
}

QPoint PaletteGridPaintBox::cellCentre(int cell) const
{
    const PaletteGridGeometry grid = geometry();
    return paletteCellCorner(grid, cell) + QPoint(grid.cellWidth / 2, grid.cellHeight / 2);
}

void PaletteGridPaintBox::renderCells()
{
    if (m_buffer.size() != size())
        m_buffer = QImage(size(), QImage::Format_RGB32);
    m_buffer.fill(kPaletteButtonFace);
    const PaletteGridGeometry grid = geometry();
    QPainter painter(&m_buffer);
    for (int cell = 0; cell < PaletteCells::kCount; ++cell) {
        const bool filled = m_cells->isFilled(cell);
        painter.setPen(filled ? kFilledOutline : kEmptyOutline);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(paletteCellOutline(grid, cell).adjusted(0, 0, -1, -1));
        if (filled)
            painter.fillRect(paletteCellPatch(grid, cell), qcolor(m_cells->colorAt(cell)));
    }
}

void PaletteGridPaintBox::paintEvent(QPaintEvent *)
{
    renderCells();
    QPainter painter(this);
    painter.drawImage(0, 0, m_buffer);
    if (m_selectedCell >= 0) {
        painter.setPen(kSelectionFrame);
        painter.drawRect(paletteCellOutline(geometry(), m_selectedCell).adjusted(0, 0, -1, -1));
    }
}

void PaletteGridPaintBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int cell = paletteCellAt(geometry(), event->position().toPoint());
    m_pressPosition = event->position().toPoint();
    Q_EMIT cellPressed(cell);
    m_dragCell = m_cells->isFilled(cell) ? cell : -1;
}

void PaletteGridPaintBox::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragCell < 0 || !(event->buttons() & Qt::LeftButton))
        return;
    if ((event->position().toPoint() - m_pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    const int cell = std::exchange(m_dragCell, -1);
    if (!m_cells->isFilled(cell))
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(encodePaletteDrag({m_cells->colorAt(cell), cell}));
    QPixmap image(16, 16);
    image.fill(qcolor(m_cells->colorAt(cell)));
    drag->setPixmap(image);
    Q_EMIT dragStarting(cell);
    drag->exec(Qt::MoveAction);
}

void PaletteGridPaintBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragCell = -1;
    QWidget::mouseReleaseEvent(event);
}

void PaletteGridPaintBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        Q_EMIT selectionMoveRequested(-1, 0);
        return;
    case Qt::Key_Right:
        Q_EMIT selectionMoveRequested(1, 0);
        return;
    case Qt::Key_Up:
        Q_EMIT selectionMoveRequested(0, -1);
        return;
    case Qt::Key_Down:
        Q_EMIT selectionMoveRequested(0, 1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PaletteGridPaintBox::dragEnterEvent(QDragEnterEvent *event)
{
    acceptPaletteDrag(event);
}

void PaletteGridPaintBox::dragMoveEvent(QDragMoveEvent *event)
{
    acceptPaletteDrag(event);
}

void PaletteGridPaintBox::dropEvent(QDropEvent *event)
{
    const auto drag = decodePaletteDrag(event->mimeData());
    if (!drag) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT colorDropped(paletteCellAt(geometry(), event->position().toPoint()), *drag);
}

PaletteSwatchPaintBox::PaletteSwatchPaintBox(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox_selectColor"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PaletteSwatchPaintBox::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void PaletteSwatchPaintBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kPaletteButtonFace);
    painter.setPen(kSelectionFrame);
    painter.drawRect(selectionSwatchFrame(size()).adjusted(0, 0, -1, -1));
    painter.fillRect(selectionSwatchPatch(size()), m_color);
}

PaletteRemoveButton::PaletteRemoveButton(QWidget *parent)
    : QToolButton(parent)
{
    setObjectName(QStringLiteral("ToolButton_remove"));
    setAcceptDrops(true);
}

void PaletteRemoveButton::dragEnterEvent(QDragEnterEvent *event)
{
    acceptPaletteDrag(event);
}

void PaletteRemoveButton::dragMoveEvent(QDragMoveEvent *event)
{
    acceptPaletteDrag(event);
}

void PaletteRemoveButton::dropEvent(QDropEvent *event)
{
    const auto drag = decodePaletteDrag(event->mimeData());
    if (!drag) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    Q_EMIT colorDropped(*drag);
}

} // namespace pigmora::ui
