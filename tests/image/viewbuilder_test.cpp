#include "image/imageengine.h"
#include "image/pixelreference.h"
#include "image/viewbuilder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace pigmora {
namespace {

using test::Pixels;
using test::pixelsOf;

struct ZoomCase {
    const char *text;
    float factor;
};

class ZoomFactor : public testing::TestWithParam<ZoomCase>
{ };

TEST_P(ZoomFactor, OfTheText)
{
    EXPECT_EQ(zoomFactor(GetParam().text), GetParam().factor) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomFactor,
                         testing::Values(ZoomCase{"10%", 0.2f}, ZoomCase{"25%", 0.25f}, ZoomCase{"50%", 0.5f},
                                         ZoomCase{"75%", 0.75f}, ZoomCase{"100%", 1.0f}, ZoomCase{"125%", 1.25f},
                                         ZoomCase{"150%", 1.5f}, ZoomCase{"175%", 1.75f}, ZoomCase{"200%", 2.0f},
                                         ZoomCase{"300%", 3.0f}, ZoomCase{"400%", 4.0f}, ZoomCase{"600%", 6.0f},
                                         ZoomCase{"800%", 8.0f}));

INSTANTIATE_TEST_SUITE_P(OtherTexts, ZoomFactor,
                         testing::Values(ZoomCase{"", 1.0f}, ZoomCase{"abc%", 1.0f}, ZoomCase{"150", 1.5f},
                                         ZoomCase{"1%", 0.2f}, ZoomCase{"-50%", 0.2f}, ZoomCase{"900%", 8.0f},
                                         ZoomCase{"99999999999%", 1.0f}, ZoomCase{"12x%", 1.0f}));

struct FitCase {
    int width, height, roomWidth, roomHeight;
    int fit, open; // zoom indexes
};

TEST(ZoomSteps, FitToTheRoomAndOpenFittedOnlyWhenLarge)
{
    const FitCase cases[] = {
        {500, 667, 1581, 900, 5, 4}, // fits at 125 %: opens at 100 %
        {6000, 4000, 1581, 900, 0, 0}, // 10 %: 1200 x 800
        {6000, 4000, 1581, 1000, 1, 1}, // 25 %: 1500 x 1000, exactly
        {40, 10, 100, 100, 8, 4}, // 200 %: 80 x 20
        {40, 10, 400, 100, 12, 4}, // 800 %: 320 x 80
        {3, 3, 1, 1, 2, 2}, // 50 %: 1 x 1 (and 10 % too: a side of 0 is 1)
        {30000, 30, 100, 100, 0, 0}, // not even the smallest fits
        {6000, 4000, 0, 0, 0, 4}, // room not known: 100 %
    };
    for (const FitCase &c : cases) {
        EXPECT_EQ(fitZoomIndex(c.width, c.height, c.roomWidth, c.roomHeight), c.fit) << c.width << "x" << c.height;
        EXPECT_EQ(openZoomIndex(c.width, c.height, c.roomWidth, c.roomHeight), c.open) << c.width << "x" << c.height;
    }
    EXPECT_EQ(viewSide(4, 0), 1);
    EXPECT_EQ(viewSide(667, 1), 166);
    EXPECT_EQ(viewSide(667, kRealSizeZoomIndex), 667);
}

TEST(ZoomSteps, AreThirteenWithRealSizeAtFour)
{
    EXPECT_EQ(kZoomSteps.size(), 13u);
    EXPECT_EQ(kZoomSteps[kRealSizeZoomIndex], "100%");
    EXPECT_EQ(kZoomSteps[kHighestZoomIndex], "800%");
}

struct MagnificationCase {
    float zoom;
    float scale;
    float factor;
};

class MagnificationOfZoom : public testing::TestWithParam<MagnificationCase>
{ };

TEST_P(MagnificationOfZoom, IsFourTimesTheViewUpTo200Percent)
{
    const Magnification m = magnificationFor(GetParam().zoom);
    EXPECT_EQ(m.scale, GetParam().scale);
    EXPECT_EQ(m.factor, GetParam().factor);
}

INSTANTIATE_TEST_SUITE_P(Steps, MagnificationOfZoom,
                         testing::Values(MagnificationCase{0.2f, 4 * 0.2f, 4}, MagnificationCase{1, 4, 4},
                                         MagnificationCase{2, 8, 4}, MagnificationCase{3, 8, 8 / 3.0f},
                                         MagnificationCase{4, 8, 2}, MagnificationCase{8, 8, 1}));

class ViewBuilderTest : public testing::Test
{
protected:
    ViewBuilderTest() { engine.initialise(); }

    std::string addBase(int width, int height)
    {
        std::mt19937 random(static_cast<unsigned>(width * 1000 + height));
        std::string id;
        CImageDibObject *picture = engine.createPicture(id);
        test::makePicture(*picture, width, height, test::randomPixels(random, width, height));
        return id;
    }

    const CImageDibObject &picture(const std::string &id)
    {
        const CImageDibObject *p = engine.findPicture(id);
        EXPECT_NE(p, nullptr) << id;
        static const CImageDibObject none;
        return p ? *p : none;
    }

    CImageEngine engine;
};

TEST_F(ViewBuilderTest, At100PercentTheViewIsAnUnscaledCopy)
{
    const std::string base = addBase(9, 5);
    const ViewPicture view = buildViewPicture(engine, base, "100%", false);
    ASSERT_FALSE(view.pictureId.empty());
    EXPECT_NE(view.pictureId, base);
    EXPECT_FALSE(view.zoomed);
    EXPECT_EQ(pixelsOf(picture(view.pictureId)), pixelsOf(picture(base)));
    EXPECT_EQ(engine.pictureCount(), 2);
}

TEST_F(ViewBuilderTest, ZoomStepsScaleTheBaseSize)
{
    const std::string base = addBase(500, 667);
    const ViewPicture quarter = buildViewPicture(engine, base, "25%", false);
    EXPECT_TRUE(quarter.zoomed);
    EXPECT_EQ(picture(quarter.pictureId).width(), 125);
    EXPECT_EQ(picture(quarter.pictureId).height(), 166);

    const ViewPicture smallest = buildViewPicture(engine, base, "10%", false); // raised to 0.2
    EXPECT_EQ(picture(smallest.pictureId).width(), 100);
    EXPECT_EQ(picture(smallest.pictureId).height(), 133);
    EXPECT_EQ(engine.pictureCount(), 3); // no copies left behind
}

TEST_F(ViewBuilderTest, ATinyPictureAtTheSmallestStepKeepsOnePixel)
{
    const std::string base = addBase(3, 4);
    const ViewPicture view = buildViewPicture(engine, base, "10%", false);
    EXPECT_EQ(picture(view.pictureId).width(), 1);
    EXPECT_EQ(picture(view.pictureId).height(), 1);
}

TEST_F(ViewBuilderTest, GrayViewHasTheZoomedSizeAndTurningItOffGivesTheColours)
{
    const std::string base = addBase(20, 10);
    const ViewPicture colour = buildViewPicture(engine, base, "150%", false);
    const ViewPicture gray = buildViewPicture(engine, base, "150%", true);
    const CImageDibObject &g = picture(gray.pictureId);
    EXPECT_EQ(g.width(), 30);
    EXPECT_EQ(g.height(), 15);
    const Pixels grayPixels = pixelsOf(g);
    for (std::size_t i = 0; i < grayPixels.size(); i += 4) {
        EXPECT_EQ(grayPixels[i], grayPixels[i + 1]);
        EXPECT_EQ(grayPixels[i], grayPixels[i + 2]);
    }
    const ViewPicture back = buildViewPicture(engine, base, "150%", false);
    EXPECT_EQ(pixelsOf(picture(back.pictureId)), pixelsOf(picture(colour.pictureId)));
    EXPECT_NE(pixelsOf(picture(back.pictureId)), grayPixels);
}

TEST_F(ViewBuilderTest, AFailedScaleLeavesTheUnscaledCopy)
{
    // A base in state 2 copies fine but the converter refuses to scale it.
    std::string base;
    engine.createPicture(base)->createBlank(6, 4, 32, true);
    const ViewPicture view = buildViewPicture(engine, base, "200%", false);
    ASSERT_FALSE(view.pictureId.empty());
    EXPECT_TRUE(view.zoomed);
    EXPECT_EQ(picture(view.pictureId).width(), 6);
    EXPECT_EQ(engine.pictureCount(), 2); // the refused scale's empty picture is gone

    // A failed gray conversion builds nothing and leaves nothing.
    const ViewPicture none = buildViewPicture(engine, base, "200%", true);
    EXPECT_TRUE(none.pictureId.empty());
    EXPECT_EQ(engine.pictureCount(), 2);
}

TEST_F(ViewBuilderTest, AnUnknownBaseBuildsNothing)
{
    EXPECT_TRUE(buildViewPicture(engine, "", "100%", false).pictureId.empty());
    EXPECT_TRUE(buildMagnifiedPicture(engine, "5", "100%", false).pictureId.empty());
    EXPECT_EQ(engine.pictureCount(), 0);
}

struct MagnifiedCase {
    const char *zoom;
    int width;
    int height;
    float factor;
};

class MagnifiedPictureSize : public ViewBuilderTest, public testing::WithParamInterface<MagnifiedCase>
{ };

TEST_P(MagnifiedPictureSize, FollowsTheZoom)
{
    const std::string base = addBase(20, 10);
    const MagnifiedPicture m = buildMagnifiedPicture(engine, base, GetParam().zoom, false);
    ASSERT_FALSE(m.pictureId.empty());
    EXPECT_EQ(picture(m.pictureId).width(), GetParam().width);
    EXPECT_EQ(picture(m.pictureId).height(), GetParam().height);
    EXPECT_EQ(m.factor, GetParam().factor);
    EXPECT_EQ(engine.pictureCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Zooms, MagnifiedPictureSize,
                         testing::Values(MagnifiedCase{"10%", 16, 8, 4}, MagnifiedCase{"25%", 20, 10, 4},
                                         MagnifiedCase{"100%", 80, 40, 4}, MagnifiedCase{"200%", 160, 80, 4},
                                         MagnifiedCase{"400%", 160, 80, 2}, MagnifiedCase{"800%", 160, 80, 1}));

TEST_F(ViewBuilderTest, TheMagnifiedPictureIsGrayWithTheGrayView)
{
    const std::string base = addBase(5, 3);
    const MagnifiedPicture m = buildMagnifiedPicture(engine, base, "100%", true);
    const Pixels p = pixelsOf(picture(m.pictureId));
    ASSERT_EQ(p.size(), 20u * 12u * 4u);
    for (std::size_t i = 0; i < p.size(); i += 4)
        EXPECT_TRUE(p[i] == p[i + 1] && p[i] == p[i + 2]);
}

} // namespace
} // namespace pigmora
