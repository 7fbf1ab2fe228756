#include "image/imageengine.h"
#include "image/viewbuilder.h"
#include "main/magnifierwindow.h"
#include "main/pictureview.h"
#include "main/viewgeometry.h"
#include "main/viewstate.h"

#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

// Several tiles wide at every step, with detail the scaler has to weigh.
QImage photo()
{
    QImage image(301, 263, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x * y) % 256));
    return image;
}

// The image engine's whole picture, as the reference.
struct WholePictures {
    CImageEngine engine;
    std::string baseId;

    WholePictures()
    {
        engine.initialise();
        const QImage rgb = photo();
        const SourceBitmap source{rgb.width(), rgb.height(), 32, rgb.bytesPerLine(), rgb.constBits()};
        engine.loadPictureFromImage(source, baseId);
    }
    BitmapViewSource view(std::string_view step, bool gray)
    {
        return BitmapViewSource(
            engine.findPicture(buildViewPicture(engine, baseId, step, gray).pictureId)->pictureToBitmap());
    }
    BitmapViewSource magnified(std::string_view step, bool gray)
    {
        return BitmapViewSource(
            engine.findPicture(buildMagnifiedPicture(engine, baseId, step, gray).pictureId)->pictureToBitmap());
    }
};

QImage paintBox(const ViewSource &source, const ViewOverlay &overlay, bool readyOnly)
{
    QImage box(geometry::paintBoxSize(source.size()), QImage::Format_RGB32);
    box.fill(Qt::white);
    QPainter painter(&box);
    paintPictureView(painter, &source, overlay, box.rect(), readyOnly);
    return box;
}

void zoomTo(ViewState &state, int index)
{
    while (state.zoomIndex() < index)
        ASSERT_TRUE(state.zoomIn());
    while (state.zoomIndex() > index)
        ASSERT_TRUE(state.zoomOut());
}

TEST(TiledView, ViewPickAndMagnifierEqualTheWholePictures)
{
    WholePictures whole;
    ViewState state;
    ASSERT_TRUE(state.openImage(photo()));
    ViewOverlay overlay;
    overlay.grid = true;
    overlay.lens = QPoint(300, 40);
    // Reducing, unscaled, enlarging, and the step where the magnified
    // picture is the view picture; colour and gray.
    for (int index : {2, 4, 7, 12}) {
        for (bool gray : {false, true}) {
            zoomTo(state, index);
            if (state.gray() != gray) {
                ASSERT_TRUE(state.toggleGray());
            }
            const std::string_view step = kZoomSteps[static_cast<std::size_t>(index)];
            SCOPED_TRACE(testing::Message() << step << (gray ? " gray" : " colour"));
            const BitmapViewSource view = whole.view(step, gray);
            const auto tiled = state.view();
            ASSERT_EQ(tiled->size(), view.size());

            const QSize s = view.size();
            const QRect all(QPoint(0, 0), s);
            const auto picksEqual = [&] {
                for (QPoint p : {QPoint(0, 0), QPoint(s.width() - 1, 0), QPoint(0, s.height() - 1),
                                 QPoint(s.width() - 1, s.height() - 1), QPoint(s.width() / 2, s.height() / 2)})
                    EXPECT_EQ(tiled->colorAt(p), view.colorAt(p)) << p.x() << "," << p.y();
                EXPECT_FALSE(tiled->colorAt(QPoint(s.width(), 0)));
            };
            // Nothing is computed before it is asked for: the ready-only
            // paint leaves the picture out; a pick computes its pixel alone.
            const QImage reference = paintBox(view, overlay, false);
            EXPECT_FALSE(tiled->isReady(all));
            QImage partial = reference;
            QPainter painter(&partial);
            EXPECT_FALSE(paintPictureView(painter, tiled.get(), overlay, partial.rect(), true));
            painter.end();
            picksEqual();

            // Drawn at once, and from tiles once the screen is prepared.
            EXPECT_EQ(paintBox(*tiled, overlay, false), reference);
            tiled->prepare(all);
            EXPECT_TRUE(tiled->isReady(all));
            EXPECT_EQ(paintBox(*tiled, overlay, true), reference);
            picksEqual();

            // The magnifier's content: the middle, and a rectangle reaching
            // past the bottom-right corner (white there).
            ASSERT_TRUE(state.buildMagnified());
            const BitmapViewSource magnified = whole.magnified(step, gray);
            ASSERT_EQ(state.magnified()->size(), magnified.size());
            for (QPoint lens : {QPoint(s.width() / 2, s.height() / 2), QPoint(s.width() + 10, s.height() + 10)}) {
                const QRect area = geometry::magnifierSource(lens, state.magnifierFactor());
                MagnifierBox tiledBox;
                MagnifierBox wholeBox;
                tiledBox.showArea(*state.magnified(), area);
                wholeBox.showArea(magnified, area);
                ASSERT_EQ(tiledBox.content().size(), geometry::kMagnifierSize);
                EXPECT_EQ(tiledBox.content(), wholeBox.content()) << lens.x() << "," << lens.y();
            }
        }
    }
}

TEST(TiledView, PaintBoxPaintsWhatIsReadyAndTheRestAsWorkersReportIt)
{
    WholePictures whole;
    ViewState state;
    ASSERT_TRUE(state.openImage(photo()));
    zoomTo(state, 9); // "300%": 903 x 789, several tiles each way
    QScrollArea scroll;
    scroll.resize(500, 400);
    auto *view = new PictureView;
    scroll.setWidget(view);
    scroll.show();
    scroll.horizontalScrollBar()->setValue(300);
    view->setSource(state.view());
    const QRect visible = view->visiblePicture();
    ASSERT_FALSE(visible.isEmpty());
    ASSERT_TRUE(QRect(QPoint(0, 0), state.view()->size()).contains(visible));

    // Only what is painted is asked for: the first paint leaves the picture
    // out and queues the screen; the workers' reports repaint it.
    QSignalSpy reports(state.view()->readiness(), &TileReadiness::areaReady);
    view->repaint();
    for (int i = 0; i < 500 && !state.view()->isReady(visible); ++i)
        reports.wait(20);
    ASSERT_TRUE(state.view()->isReady(visible));
    EXPECT_GT(reports.count(), 0);
    EXPECT_FALSE(state.view()->isReady(QRect(QPoint(0, 0), state.view()->size()))); // nothing off screen

    const QRect onScreen = visible.translated(geometry::kViewMargin, geometry::kViewMargin);
    const QImage shown = view->grab(onScreen).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage expected = paintBox(whole.view("300%", false), {}, false).copy(onScreen);
    EXPECT_EQ(shown, expected);

    // A new source is prepared at once for the screen.
    ASSERT_TRUE(state.toggleGray());
    view->setSource(state.view());
    view->prepareVisible();
    EXPECT_TRUE(state.view()->isReady(view->visiblePicture()));
}

} // namespace
} // namespace pigmora::ui
