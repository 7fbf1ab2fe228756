#include "main/viewstate.h"

#include "support/testsupport.h"

#include <QImage>

#include <gtest/gtest.h>

namespace pigmora::ui {
namespace {

QImage sample()
{
    QImage image(500, 667, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    return image;
}

TEST(ViewState, ZoomStepsStopAtTheEndsAndScaleTheView)
{
    ViewState state;
    ASSERT_TRUE(state.openImage(sample()));
    EXPECT_EQ(state.view()->size(), QSize(500, 667));
    EXPECT_FALSE(state.zoomed());

    const struct {
        int index;
        QSize size;
    } steps[] = {{3, {375, 500}}, {2, {250, 333}}, {1, {125, 166}}, {0, {100, 133}}};
    for (const auto &step : steps) {
        EXPECT_TRUE(state.zoomOut());
        EXPECT_EQ(state.zoomIndex(), step.index);
        EXPECT_EQ(state.view()->size(), step.size) << step.index;
        EXPECT_TRUE(state.zoomed());
    }
    EXPECT_FALSE(state.zoomOut()); // at "10%" nothing happens
    EXPECT_EQ(state.zoomIndex(), 0);

    EXPECT_TRUE(state.zoomReal());
    EXPECT_EQ(state.view()->size(), QSize(500, 667));
    EXPECT_FALSE(state.zoomed());
    EXPECT_TRUE(state.zoomReal()); // rebuilt unchanged at 100 %
    EXPECT_EQ(state.view()->colorAt({3, 4}), (RgbColor{3, 4, 7}));

    for (int i = 5; i <= 12; ++i)
        ASSERT_TRUE(state.zoomIn()) << i;
    EXPECT_EQ(state.view()->size(), QSize(4000, 5336));
    EXPECT_FALSE(state.zoomIn());
    EXPECT_EQ(state.zoomIndex(), 12);
}

TEST(ViewState, GrayTwiceGivesBackTheColourViewAtTheZoomedSize)
{
    ViewState state;
    ASSERT_TRUE(state.openImage(sample()));
    state.zoomOut();
    const auto colour = state.view();
    ASSERT_TRUE(state.toggleGray());
    EXPECT_TRUE(state.gray());
    EXPECT_EQ(state.view()->size(), QSize(375, 500));
    const RgbColor gray = *state.view()->colorAt({100, 100});
    EXPECT_EQ(gray.red, gray.green);
    EXPECT_EQ(gray.green, gray.blue);
    ASSERT_TRUE(state.toggleGray());
    EXPECT_EQ(state.view()->size(), QSize(375, 500));
    for (QPoint p : {QPoint(0, 0), QPoint(100, 100), QPoint(374, 499)})
        EXPECT_EQ(state.view()->colorAt(p), colour->colorAt(p));
}

// The value views show grays of the colours' lightness; a pick reads the
// colours at the same zoom. The gray view is picked as shown.
TEST(ViewState, ValueViewsArePickedInThePicturesColours)
{
    ViewState state;
    ASSERT_TRUE(state.openImage(sample()));
    state.zoomOut();
    const auto colour = state.view();
    const QPoint at(120, 200);
    for (PictureTone tone : {PictureTone::Value, PictureTone::ValueSteps3, PictureTone::ValueSteps5,
                             PictureTone::ValueSteps9, PictureTone::Gray}) {
        ASSERT_TRUE(state.setTone(tone));
        const RgbColor shown = *state.view()->colorAt(at);
        EXPECT_TRUE(shown.red == shown.green && shown.green == shown.blue) << static_cast<int>(tone);
        EXPECT_EQ(state.view()->size(), colour->size());
        const bool original = tone != PictureTone::Gray;
        EXPECT_EQ(state.picksOriginalColours(), original);
        EXPECT_EQ(state.pickSource()->colorAt(at), original ? colour->colorAt(at) : std::optional(shown));
    }
    ASSERT_TRUE(state.setTone(PictureTone::Colour));
    EXPECT_EQ(state.view()->colorAt(at), colour->colorAt(at));
    EXPECT_EQ(state.pickSource(), state.view());
}

TEST(ViewState, FailedOpensKeepThePreviousViewOnShow)
{
    test::TempDir dir;
    ViewState state;
    ASSERT_TRUE(state.openImage(sample()));
    const auto before = state.view();

    EXPECT_EQ(state.open(dir.path() / "missing.jpg"), ViewState::OpenOutcome::Missing);
    EXPECT_TRUE(state.hasBase()); // nothing changed

    test::writeFileBytes(dir.path() / "notes.txt", {'h', 'i'});
    EXPECT_EQ(state.open(dir.path() / "notes.txt"), ViewState::OpenOutcome::Unreadable);
    EXPECT_FALSE(state.hasBase());
    EXPECT_EQ(state.view(), before);

    test::writeFileBytes(dir.path() / "damaged.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F'});
    EXPECT_EQ(state.open(dir.path() / "damaged.jpg"), ViewState::OpenOutcome::Refused);
    EXPECT_FALSE(state.message().isEmpty());
    EXPECT_EQ(state.view(), before);

    // Zoom moves the index, the view stays.
    EXPECT_FALSE(state.zoomIn());
    EXPECT_EQ(state.zoomIndex(), 5);
    EXPECT_EQ(state.view(), before);
    EXPECT_FALSE(state.toggleGray());
    EXPECT_FALSE(state.buildMagnified());
    EXPECT_TRUE(state.pictureLoaded()); // never cleared once set
}

TEST(ViewState, MagnifiedPictureFollowsTheZoom)
{
    ViewState state;
    ASSERT_TRUE(state.openImage(sample()));
    ASSERT_TRUE(state.buildMagnified());
    EXPECT_EQ(state.magnifierFactor(), 4.0f);
    EXPECT_EQ(state.magnified()->size(), QSize(2000, 2668));
    for (int i = 0; i < 6; ++i)
        state.zoomIn(); // "400%"
    ASSERT_TRUE(state.buildMagnified());
    EXPECT_EQ(state.magnifierFactor(), 2.0f);
    EXPECT_EQ(state.magnified()->size(), QSize(4000, 5336));
    state.zoomIn();
    state.zoomIn(); // "800%"
    ASSERT_TRUE(state.buildMagnified());
    EXPECT_EQ(state.magnifierFactor(), 1.0f);
    EXPECT_EQ(state.magnified()->size(), state.view()->size());
    state.discardMagnified();
    EXPECT_FALSE(state.hasMagnified());
}

TEST(ViewState, OnlySidesBeyondTheWidgetRangeAreRefused)
{
    // Virtual pictures take no memory for their size: a 12 MP photo at
    // 800 % is shown; only a paint box no widget can have is refused.
    EXPECT_TRUE(ViewState::sizeAllowed(16385, 16384));
    EXPECT_TRUE(ViewState::sizeAllowed(32000, 24000));
    EXPECT_TRUE(ViewState::sizeAllowed(160000, 120000)); // the largest photo at 800 %
    EXPECT_TRUE(ViewState::sizeAllowed(ViewState::kMaxPictureSide, 1));
    EXPECT_FALSE(ViewState::sizeAllowed(ViewState::kMaxPictureSide + 1, 1));
    EXPECT_FALSE(ViewState::sizeAllowed(1, qint64{1} << 40));

    // A long strip under a lower bound: 100 % is shown; its magnifier and
    // the next zoom step would pass the side bound and are refused with the
    // message.
    ViewState state(32767);
    QImage strip(30000, 2, QImage::Format_RGB32);
    strip.fill(Qt::red);
    ASSERT_TRUE(state.openImage(strip));
    EXPECT_FALSE(state.buildMagnified());
    EXPECT_EQ(state.message(), tooLargeMessage());
    EXPECT_FALSE(state.zoomIn());
    EXPECT_EQ(state.message(), tooLargeMessage());
    EXPECT_EQ(state.zoomIndex(), 4); // the refused step changed nothing
    EXPECT_EQ(state.view()->size(), QSize(30000, 2));
    EXPECT_TRUE(state.zoomOut());
    EXPECT_TRUE(state.message().isEmpty());
}

} // namespace
} // namespace pigmora::ui
