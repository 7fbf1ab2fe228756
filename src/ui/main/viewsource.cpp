#include "main/viewsource.h"

#include <QPainter>

namespace pigmora::ui {

QImage wrapPictureBitmap(const PictureBitmap &bitmap)
{
    if (bitmap.isNull() || bitmap.bitsPerPixel() != 32 || bitmap.width() <= 0 || bitmap.height() <= 0)
        return {};
    // The pixels' fourth byte is 0 where Format_RGB32 means 0xff; Qt ignores
    // that byte for RGB32 when drawing and converting (the tests hold it to
    // that), so the rows are taken as they are.
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
    painter.drawImage(target + (part.topLeft() - source.topLeft()), m_image, part);
}

} // namespace pigmora::ui
