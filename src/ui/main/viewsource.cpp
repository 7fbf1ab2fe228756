#include "main/viewsource.h"

#include "image/virtualpicture.h"

#include <QPainter>

namespace pigmora::ui {

namespace {

// Draws size pixels of 32-bit rows at target. The pictures' fourth byte is
// 0 where Format_RGB32 means 0xff: reading pixels and drawing onto RGB32
// ignore it, but drawing onto a target with alpha copies it (the picture
// would come out transparent), so Qt gets an opaque copy of only the part
// drawn (a whole picture is never duplicated).
void drawOpaque(QPainter &painter, QPoint target, const std::uint8_t *rows, qsizetype stride, QSize size)
{
    QImage opaque(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const auto *from = reinterpret_cast<const quint32 *>(rows + y * stride);
        auto *to = reinterpret_cast<quint32 *>(opaque.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            to[x] = from[x] | 0xff000000u;
    }
    painter.drawImage(target, opaque);
}

} // namespace

QImage wrapPictureBitmap(const PictureBitmap &bitmap)
{
    if (bitmap.isNull() || bitmap.bitsPerPixel() != 32 || bitmap.width() <= 0 || bitmap.height() <= 0)
        return {};
    auto *owner = new PictureBitmap(bitmap);
    return QImage(
        owner->bits(), owner->width(), owner->height(), owner->bytesPerLine(), QImage::Format_RGB32,
        [](void *info) { delete static_cast<PictureBitmap *>(info); }, owner);
}

BitmapViewSource::BitmapViewSource(PictureBitmap bitmap)
    : m_bitmap(std::move(bitmap))
    , m_image(wrapPictureBitmap(m_bitmap))
{ }

void BitmapViewSource::draw(QPainter &painter, QPoint target, const QRect &source) const
{
    if (m_image.isNull())
        return;
    const QRect part = source.intersected(m_image.rect());
    if (part.isEmpty())
        return;
    drawOpaque(painter, target + (part.topLeft() - source.topLeft()),
               m_image.constScanLine(part.top()) + qsizetype{part.left()} * 4, m_image.bytesPerLine(), part.size());
}

TiledViewSource::TiledViewSource(std::unique_ptr<VirtualPicture> picture)
    : m_readiness(std::make_unique<TileReadiness>())
    , m_picture(std::move(picture))
{
    // Called on a worker thread: only a queued report crosses over; the
    // readiness object lives until the workers are joined.
    TileReadiness *readiness = m_readiness.get();
    const int side = m_picture->tileSide();
    m_picture->setTileReady([readiness, side](int column, int row) {
        const QRect area(column * side, row * side, side, side);
        QMetaObject::invokeMethod(
            readiness, [readiness, area] { Q_EMIT readiness->areaReady(area); }, Qt::QueuedConnection);
    });
}

TiledViewSource::~TiledViewSource()
{
    m_picture.reset(); // joins the workers before their reports' receiver goes
}

QSize TiledViewSource::size() const
{
    return {m_picture->width(), m_picture->height()};
}

std::optional<RgbColor> TiledViewSource::colorAt(QPoint pixel) const
{
    return m_picture->pixel(pixel.x(), pixel.y());
}

void TiledViewSource::draw(QPainter &painter, QPoint target, const QRect &source) const
{
    const QRect part = source.intersected(QRect(QPoint(0, 0), size()));
    if (part.isEmpty())
        return;
    QImage pixels(part.size(), QImage::Format_RGB32);
    if (pixels.isNull()
        || !m_picture->copyRect(part.x(), part.y(), part.width(), part.height(), pixels.bits(), pixels.bytesPerLine()))
        return;
    drawOpaque(painter, target + (part.topLeft() - source.topLeft()), pixels.constBits(), pixels.bytesPerLine(),
               part.size());
}

bool TiledViewSource::drawReady(QPainter &painter, QPoint target, const QRect &source) const
{
    const QRect part = source.intersected(QRect(QPoint(0, 0), size()));
    if (part.isEmpty())
        return true;
    const int side = m_picture->tileSide();
    bool complete = true;
    for (int row = part.top() / side; row <= part.bottom() / side; ++row) {
        for (int column = part.left() / side; column <= part.right() / side; ++column) {
            const PictureBitmap tile = m_picture->cachedTile(column, row);
            if (tile.isNull()) {
                complete = false;
                continue;
            }
            const QRect tileRect(column * side, row * side, tile.width(), tile.height());
            const QRect drawn = tileRect.intersected(part);
            const std::uint8_t *rows = tile.bits() + qsizetype{drawn.top() - tileRect.top()} * tile.bytesPerLine()
                + qsizetype{drawn.left() - tileRect.left()} * 4;
            drawOpaque(painter, target + (drawn.topLeft() - source.topLeft()), rows, tile.bytesPerLine(), drawn.size());
        }
    }
    return complete;
}

bool TiledViewSource::isReady(const QRect &area) const
{
    const QRect part = area.intersected(QRect(QPoint(0, 0), size()));
    const int side = m_picture->tileSide();
    for (int row = part.top() / side; !part.isEmpty() && row <= part.bottom() / side; ++row)
        for (int column = part.left() / side; column <= part.right() / side; ++column)
            if (m_picture->cachedTile(column, row).isNull())
                return false;
    return true;
}

void TiledViewSource::prepare(const QRect &area) const
{
    m_picture->prepare(area.x(), area.y(), area.width(), area.height());
}

void TiledViewSource::prefetch(const QRect &area) const
{
    m_picture->prefetch(area.x(), area.y(), area.width(), area.height());
}

} // namespace pigmora::ui
