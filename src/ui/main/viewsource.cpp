#include "main/viewsource.h"

#include <QPainter>

namespace pigmora::ui {

QImage wrapPictureBitmap(const PictureBitmap &bitmap)
{
    if (bitmap.isNull() || bitmap.bitsPerPixel() != 32 || bitmap.width() <= 0 || bitmap.height() <= 0)
        return {};
    // The pixels' fourth byte is 0 where Format_RGB32 means 0xff. Reading
    // pixels and drawing onto RGB32 ignore it, but drawing onto a target with
    // alpha copies it (the picture would come out transparent): draw() hands
    // Qt only parts whose fourth byte is set.
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
    // Only the part drawn is copied, so a whole picture is never duplicated.
    QImage opaque(part.size(), QImage::Format_RGB32);
    for (int y = 0; y < part.height(); ++y) {
        const auto *from = reinterpret_cast<const quint32 *>(m_image.constScanLine(part.top() + y)) + part.left();
        auto *to = reinterpret_cast<quint32 *>(opaque.scanLine(y));
        for (int x = 0; x < part.width(); ++x)
            to[x] = from[x] | 0xff000000u;
    }
    painter.drawImage(target + (part.topLeft() - source.topLeft()), opaque);
}

} // namespace pigmora::ui
