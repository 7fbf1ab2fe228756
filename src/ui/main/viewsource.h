#pragma once

#include "data/color.h"
#include "image/picturebitmap.h"

#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>

#include <memory>
#include <optional>

class QPainter;

namespace pigmora {
class VirtualPicture;
}

namespace pigmora::ui {

// Carries tile-ready reports from worker threads to the window thread.
class TileReadiness : public QObject
{
    Q_OBJECT

Q_SIGNALS:
    void areaReady(QRect area);
};

// Where the picture view and the magnifier get their pixels: a picture of a
// known size that can draw any part of itself and tell one pixel's colour.
// A source may compute its parts on demand: then drawReady() draws only what
// is ready, and readiness() reports, on the window thread, the areas that
// became ready in the background.
class ViewSource
{
public:
    virtual ~ViewSource() = default;

    virtual QSize size() const = 0;
    // None outside the picture.
    virtual std::optional<RgbColor> colorAt(QPoint pixel) const = 0;
    // Draws the source part of the picture with its top-left corner at target,
    // one picture pixel on one painter unit, computing what it needs. Parts
    // outside the picture are left as they are.
    virtual void draw(QPainter &painter, QPoint target, const QRect &source) const = 0;

    // As draw(), but leaves out what is not ready yet instead of computing
    // it; false when something was left out.
    virtual bool drawReady(QPainter &painter, QPoint target, const QRect &source) const
    {
        draw(painter, target, source);
        return true;
    }
    // Whether drawReady() would draw the whole area.
    virtual bool isReady(const QRect &) const { return true; }
    // Computes the area now (background threads helping).
    virtual void prepare(const QRect &) const { }
    // Asks for the area in the background, replacing the previous request.
    virtual void prefetch(const QRect &) const { }
    // Reports areas (in picture pixels) that became ready; null when
    // everything always is.
    virtual TileReadiness *readiness() const { return nullptr; }
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

// A virtual picture: tiles computed on demand, in the background after a
// scroll, at once for a pick, a magnifier copy or a prepared screen. Made
// and destroyed on the window thread.
class TiledViewSource final : public ViewSource
{
public:
    explicit TiledViewSource(std::unique_ptr<VirtualPicture> picture);
    ~TiledViewSource() override;
    TiledViewSource(const TiledViewSource &) = delete;
    TiledViewSource &operator=(const TiledViewSource &) = delete;

    QSize size() const override;
    std::optional<RgbColor> colorAt(QPoint pixel) const override;
    void draw(QPainter &painter, QPoint target, const QRect &source) const override;
    bool drawReady(QPainter &painter, QPoint target, const QRect &source) const override;
    bool isReady(const QRect &area) const override;
    void prepare(const QRect &area) const override;
    void prefetch(const QRect &area) const override;
    TileReadiness *readiness() const override { return m_readiness.get(); }

    const VirtualPicture &picture() const { return *m_picture; }

private:
    std::unique_ptr<TileReadiness> m_readiness; // outlives the picture's workers
    std::unique_ptr<VirtualPicture> m_picture;
};

} // namespace pigmora::ui
