#pragma once

#include "main/viewsource.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace pigmora::ui {

// What the picture view draws over the picture, each part inverting the
// pixels it covers (not-xor with black), so that overlapping lines show the
// picture again where they cross.
struct ViewOverlay {
    bool grid = false;
    int gridColumns = 8;
    int gridRows = 6;
    bool squareCells = false; // cells of the smaller division's side
    // Grid lines drawn in this colour instead of inverting: on a value
    // view's flat mid-grays an inverted line would hardly show.
    std::optional<QColor> gridColour;
    std::optional<QPoint> lens; // the magnifier's rectangle around this point
    // The area a pick's sample covers, framed (paint-box points).
    std::optional<QRect> sample;
    // Crosses on points clicked for a correction (paint-box points).
    std::vector<QPoint> marks;
};

// Paints the view in view pixels: the picture at (18, 18) and the overlay.
// The painter's device must support raster operations (a QImage, a widget's
// raster backing store). With readyOnly the parts of the picture that are
// not ready are left out (the overlay is drawn all the same); returns
// whether the whole exposed picture was drawn.
bool paintPictureView(QPainter &painter, const ViewSource *source, const ViewOverlay &overlay, const QRect &exposed,
                      bool readyOnly = false);

// The paint box PaintBox_show: shows a view source with its margin and
// overlay and reports mouse moves and presses in view pixels. A source
// computed on demand is painted from what is ready, the rest asked for in
// the background and painted as it comes; the window thread never waits
// for it except in prepareVisible(). On a high-DPI
// screen one view pixel is one device pixel, so the picture is never
// resampled and the overlay lines stay one pixel wide.
class PictureView : public QWidget
{
    Q_OBJECT

public:
    explicit PictureView(QWidget *parent = nullptr);

    void setSource(std::shared_ptr<const ViewSource> source);
    const ViewSource *source() const { return m_source.get(); }
    // A quick look while a picture is read: the preview drawn at viewSize
    // (view pixels) in place of the source, until the next setSource.
    void showPreview(const QImage &preview, QSize viewSize);
    bool showsPreview() const { return !m_preview.isNull(); }
    void setOverlay(const ViewOverlay &overlay);
    const ViewOverlay &overlay() const { return m_overlay; }

    // The paint box size in view pixels: picture + 19 each way.
    QSize boxSize() const { return m_boxSize; }
    // A widget point in view pixels.
    QPoint toViewPixels(QPointF widgetPoint) const;
    // The part of the picture on screen, in picture pixels.
    QRect visiblePicture() const;
    // Makes the part on screen ready now, with the wait cursor while it is
    // computed (after a new source: the first screen shows at once).
    void prepareVisible();

Q_SIGNALS:
    void mouseMovedTo(QPoint boxPoint);
    void pressedAt(QPoint boxPoint, Qt::MouseButton button);
    // After every repaint (the status bar's mixing mode follows it).
    void repainted();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateSize();
    // Repaints an area of the picture that became ready.
    void pictureAreaReady(QRect area);

    std::shared_ptr<const ViewSource> m_source;
    QImage m_preview;
    QSize m_previewSize;
    QMetaObject::Connection m_readiness;
    ViewOverlay m_overlay;
    QSize m_boxSize;
};

} // namespace pigmora::ui
