#include "main/pictureview.h"

#include "main/viewgeometry.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <span>
#include <vector>

namespace pigmora::ui {

using geometry::kViewMargin;

namespace {

// Inverts the strips: a pixel becomes NOT(black XOR pixel).
void invertStrips(QPainter &painter, std::span<const QRect> strips)
{
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    for (const QRect &strip : strips)
        painter.fillRect(strip, Qt::black);
    painter.restore();
}

} // namespace

void paintPictureView(QPainter &painter, const ViewSource *source, const ViewOverlay &overlay, const QRect &exposed)
{
    if (!source)
        return;
    const QSize view = source->size();
    const QRect picture(QPoint(kViewMargin, kViewMargin), view);
    const QRect part = exposed.intersected(picture);
    if (!part.isEmpty())
        source->draw(painter, part.topLeft(), part.translated(-kViewMargin, -kViewMargin));
    if (overlay.grid) {
        std::vector<QRect> lines;
        for (int x : geometry::gridLinePositions(view.width(), overlay.gridColumns))
            lines.emplace_back(x, kViewMargin, 1, view.height());
        for (int y : geometry::gridLinePositions(view.height(), overlay.gridRows))
            lines.emplace_back(kViewMargin, y, view.width(), 1);
        invertStrips(painter, lines);
    }
    if (overlay.lens) {
        const auto outline = geometry::lensOutline(*overlay.lens);
        invertStrips(painter, outline);
    }
}

PictureView::PictureView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("PaintBox_show"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setCursor(Qt::CrossCursor);
    updateSize();
}

void PictureView::setSource(std::shared_ptr<const ViewSource> source)
{
    m_source = std::move(source);
    updateSize();
    update();
}

void PictureView::setOverlay(const ViewOverlay &overlay)
{
    const bool onlyLens = overlay.grid == m_overlay.grid && overlay.gridColumns == m_overlay.gridColumns
        && overlay.gridRows == m_overlay.gridRows;
    const std::optional<QPoint> oldLens = m_overlay.lens;
    m_overlay = overlay;
    if (!onlyLens) {
        update();
        return;
    }
    // A moving rectangle repaints only where it was and where it is.
    const qreal ratio = devicePixelRatioF();
    for (const std::optional<QPoint> &lens : {oldLens, overlay.lens}) {
        if (!lens)
            continue;
        const QRect view(QPoint(lens->x() - geometry::kLensHalfWidth, lens->y() - geometry::kLensHalfHeight),
                         QPoint(lens->x() + geometry::kLensHalfWidth, lens->y() + geometry::kLensHalfHeight));
        update(QRectF(view.left() / ratio, view.top() / ratio, view.width() / ratio, view.height() / ratio)
                   .toAlignedRect()
                   .adjusted(-1, -1, 1, 1));
    }
}

void PictureView::updateSize()
{
    m_boxSize = geometry::paintBoxSize(m_source ? m_source->size() : QSize(0, 0));
    const qreal ratio = devicePixelRatioF();
    setFixedSize(static_cast<int>(std::ceil(m_boxSize.width() / ratio)),
                 static_cast<int>(std::ceil(m_boxSize.height() / ratio)));
}

QPoint PictureView::toViewPixels(QPointF widgetPoint) const
{
    const qreal ratio = devicePixelRatioF();
    return {static_cast<int>(std::floor(widgetPoint.x() * ratio)),
            static_cast<int>(std::floor(widgetPoint.y() * ratio))};
}

void PictureView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    painter.scale(1.0 / ratio, 1.0 / ratio);
    const QRectF exposed = QRectF(event->rect()).adjusted(-1, -1, 1, 1);
    const QRect viewExposed(QPoint(static_cast<int>(std::floor(exposed.left() * ratio)),
                                   static_cast<int>(std::floor(exposed.top() * ratio))),
                            QPoint(static_cast<int>(std::ceil(exposed.right() * ratio)),
                                   static_cast<int>(std::ceil(exposed.bottom() * ratio))));
    paintPictureView(painter, m_source.get(), m_overlay, viewExposed);
    Q_EMIT repainted();
}

void PictureView::mouseMoveEvent(QMouseEvent *event)
{
    Q_EMIT mouseMovedTo(toViewPixels(event->position()));
}

void PictureView::mousePressEvent(QMouseEvent *event)
{
    Q_EMIT pressedAt(toViewPixels(event->position()), event->button());
}

void PictureView::changeEvent(QEvent *event)
{
    // Moving to a screen of another pixel ratio changes the widget size.
    if (event->type() == QEvent::ScreenChangeInternal)
        updateSize();
    QWidget::changeEvent(event);
}

} // namespace pigmora::ui
