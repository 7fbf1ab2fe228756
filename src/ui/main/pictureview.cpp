#include "main/pictureview.h"

#include "main/viewgeometry.h"

#include <QApplication>
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

bool paintPictureView(QPainter &painter, const ViewSource *source, const ViewOverlay &overlay, const QRect &exposed,
                      bool readyOnly)
{
    if (!source)
        return true;
    const QSize view = source->size();
    const QRect picture(QPoint(kViewMargin, kViewMargin), view);
    const QRect part = exposed.intersected(picture);
    bool complete = true;
    if (!part.isEmpty()) {
        const QRect from = part.translated(-kViewMargin, -kViewMargin);
        if (readyOnly)
            complete = source->drawReady(painter, part.topLeft(), from);
        else
            source->draw(painter, part.topLeft(), from);
    }
    // Strips are cut to the exposed area: a large picture's lines reach far
    // beyond the coordinates a painter fills exactly.
    std::vector<QRect> strips;
    if (overlay.grid) {
        const float cell = geometry::squareCellSide(view, overlay.gridColumns, overlay.gridRows);
        const auto lines = [&](int side, int count) {
            return overlay.squareCells ? geometry::squareGridLinePositions(side, cell)
                                       : geometry::gridLinePositions(side, count);
        };
        std::vector<QRect> gridStrips;
        for (int x : lines(view.width(), overlay.gridColumns))
            gridStrips.push_back(QRect(x, kViewMargin, 1, view.height()).intersected(exposed));
        for (int y : lines(view.height(), overlay.gridRows))
            gridStrips.push_back(QRect(kViewMargin, y, view.width(), 1).intersected(exposed));
        if (overlay.gridColour) {
            for (const QRect &strip : gridStrips)
                painter.fillRect(strip, *overlay.gridColour);
        } else {
            strips.insert(strips.end(), gridStrips.begin(), gridStrips.end());
        }
    }
    if (overlay.lens) {
        for (const QRect &strip : geometry::lensOutline(*overlay.lens))
            strips.push_back(strip.intersected(exposed));
    }
    if (overlay.sample) {
        for (const QRect &strip : geometry::frameAround(*overlay.sample))
            strips.push_back(strip.intersected(exposed));
    }
    for (const QPoint &mark : overlay.marks) {
        for (const QRect &strip : geometry::markStrips(mark))
            strips.push_back(strip.intersected(exposed));
    }
    std::erase_if(strips, [](const QRect &strip) { return strip.isEmpty(); });
    invertStrips(painter, strips);
    return complete;
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
    // Reports of the previous source's tiles no longer concern the view.
    disconnect(m_readiness);
    m_preview = QImage();
    m_source = std::move(source);
    if (m_source && m_source->readiness())
        m_readiness = connect(m_source->readiness(), &TileReadiness::areaReady, this, &PictureView::pictureAreaReady);
    updateSize();
    update();
}

void PictureView::showPreview(const QImage &preview, QSize viewSize)
{
    m_preview = preview;
    m_previewSize = viewSize;
    updateSize();
    update();
}

void PictureView::pictureAreaReady(QRect area)
{
    const qreal ratio = devicePixelRatioF();
    const QRect view = area.translated(kViewMargin, kViewMargin);
    update(QRectF(view.left() / ratio, view.top() / ratio, view.width() / ratio, view.height() / ratio)
               .toAlignedRect()
               .adjusted(-1, -1, 1, 1));
}

QRect PictureView::visiblePicture() const
{
    if (!m_source)
        return {};
    const QRect visible = visibleRegion().boundingRect();
    if (visible.isEmpty())
        return {};
    const qreal ratio = devicePixelRatioF();
    const QRect view(QPoint(static_cast<int>(std::floor(visible.left() * ratio)),
                            static_cast<int>(std::floor(visible.top() * ratio))),
                     QPoint(static_cast<int>(std::ceil((visible.right() + 1) * ratio)),
                            static_cast<int>(std::ceil((visible.bottom() + 1) * ratio))));
    return view.translated(-kViewMargin, -kViewMargin).intersected(QRect(QPoint(0, 0), m_source->size()));
}

void PictureView::prepareVisible()
{
    const QRect visible = visiblePicture();
    if (!m_source || visible.isEmpty() || m_source->isReady(visible))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_source->prepare(visible);
    QApplication::restoreOverrideCursor();
}

void PictureView::setOverlay(const ViewOverlay &overlay)
{
    const bool onlyLens = overlay.grid == m_overlay.grid && overlay.gridColumns == m_overlay.gridColumns
        && overlay.gridRows == m_overlay.gridRows && overlay.squareCells == m_overlay.squareCells
        && overlay.gridColour == m_overlay.gridColour && overlay.marks == m_overlay.marks;
    const std::optional<QPoint> oldLens = m_overlay.lens;
    const std::optional<QRect> oldSample = m_overlay.sample;
    m_overlay = overlay;
    if (!onlyLens) {
        update();
        return;
    }
    // A moving rectangle repaints only where it was and where it is.
    const qreal ratio = devicePixelRatioF();
    if (oldSample != overlay.sample) {
        for (const std::optional<QRect> &sample : {oldSample, overlay.sample}) {
            if (!sample)
                continue;
            const QRect view = sample->adjusted(-1, -1, 1, 1);
            update(QRectF(view.left() / ratio, view.top() / ratio, view.width() / ratio, view.height() / ratio)
                       .toAlignedRect()
                       .adjusted(-1, -1, 1, 1));
        }
    }
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
    const QSize shown = showsPreview() ? m_previewSize : m_source ? m_source->size() : QSize(0, 0);
    m_boxSize = geometry::paintBoxSize(shown);
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
    if (showsPreview()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(kViewMargin, kViewMargin), m_previewSize), m_preview);
    } else if (!paintPictureView(painter, m_source.get(), m_overlay, viewExposed, true)) {
        m_source->prefetch(visiblePicture()); // the whole screen: never drops a part still wanted
    }
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
