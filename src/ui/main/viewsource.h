#pragma once

#include "data/color.h"
#include "image/picturebitmap.h"

#include <QImage>
#include <QRect>
#include <QSize>

#include <optional>

class QPainter;

namespace pigmora::ui {

// Where the picture view and the magnifier get their pixels: a picture of a
// known size that can draw any part of itself and tell one pixel's colour.
// Today a fully built picture stands behind it; larger photos may compute
// the parts on demand.
class ViewSource
{
public:
    virtual ~ViewSource() = default;

    virtual QSize size() const = 0;
    // None outside the picture.
    virtual std::optional<RgbColor> colorAt(QPoint pixel) const = 0;
    // Draws the source part of the picture with its top-left corner at target,
    // one picture pixel on one painter unit. Parts outside the picture are
    // left as they are.
    virtual void draw(QPainter &painter, QPoint target, const QRect &source) const = 0;
};

// A PictureBitmap as a QImage of Format_RGB32 sharing its pixels (no copy);
// the image keeps the pixels alive. Null for a bitmap that is not 32-bit.
QImage wrapPictureBitmap(const PictureBitmap &bitmap);

// A whole picture built by the image engine.
class BitmapViewSource final : public ViewSource
{
public:
    explicit BitmapViewSource(PictureBitmap bitmap);

    QSize size() const override { return {m_bitmap.width(), m_bitmap.height()}; }
    std::optional<RgbColor> colorAt(QPoint pixel) const override { return m_bitmap.colorAt(pixel.x(), pixel.y()); }
    void draw(QPainter &painter, QPoint target, const QRect &source) const override;

    const QImage &image() const { return m_image; }

private:
    PictureBitmap m_bitmap;
    QImage m_image;
};

} // namespace pigmora::ui
