#include "image/picturesampler.h"

#include "engine/colordifference.h"
#include "image/imagedibobject.h"
#include "image/picturesource.h"
#include "image/pixelreference.h"
#include "image/viewbuilder.h"
#include "image/virtualpicture.h"
#include "support/photoscene.h"

#include <gtest/gtest.h>

namespace pigmora {
namespace {

std::shared_ptr<const PictureSource> sourceOf(int width, int height, const test::Pixels &rows)
{
    CImageDibObject picture;
    test::makePicture(picture, width, height, rows);
    return PictureSource::make(picture, false);
}

TEST(PictureSampler, AreaMeansAreTakenInLinearLightAndClippedAtTheEdges)
{
    std::mt19937 random(3);
    const test::Pixels rows = test::randomPixels(random, 7, 5);
    const auto source = sourceOf(7, 5, rows);
    struct Case {
        int x, y, size, left, top, right, bottom; // the clipped square, inclusive
    };
    const Case cases[] = {
        {3, 2, 1, 3, 2, 3, 2}, {3, 2, 3, 2, 1, 4, 3}, {0, 0, 3, 0, 0, 1, 1},   {6, 4, 3, 5, 3, 6, 4},
        {0, 2, 5, 0, 0, 2, 4}, {6, 0, 5, 4, 0, 6, 2}, {3, 2, 51, 0, 0, 6, 4},
    };
    for (const Case &c : cases) {
        const auto sample = sampleArea(*source, c.x, c.y, c.size);
        ASSERT_TRUE(sample) << c.x << "," << c.y << " N " << c.size;
        Linear3 sum{};
        for (int y = c.top; y <= c.bottom; ++y)
            for (int x = c.left; x <= c.right; ++x)
                for (int k = 0; k < 3; ++k)
                    sum[static_cast<std::size_t>(k)] += srgbToLinear(rows[static_cast<std::size_t>((y * 7 + x) * 4 + 2 - k)]);
        const int pixels = (c.right - c.left + 1) * (c.bottom - c.top + 1);
        EXPECT_EQ(sample->pixels, pixels);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(sample->linear[static_cast<std::size_t>(k)], sum[static_cast<std::size_t>(k)] / pixels, 1e-12);
        EXPECT_EQ(sample->color, (RgbColor{linearToSrgb8(sum[0] / pixels), linearToSrgb8(sum[1] / pixels),
                                           linearToSrgb8(sum[2] / pixels)}));
    }
    // One pixel comes back as it is.
    const auto one = sampleArea(*source, 4, 1, 1);
    EXPECT_EQ(one->color, (RgbColor{rows[(1 * 7 + 4) * 4 + 2], rows[(1 * 7 + 4) * 4 + 1], rows[(1 * 7 + 4) * 4]}));
    // Outside the picture or an even size: nothing.
    for (const auto &[x, y, size] : {std::tuple{-1, 0, 1}, {7, 0, 1}, {0, 5, 1}, {0, 0, 2}, {0, 0, 0}})
        EXPECT_FALSE(sampleArea(*source, x, y, size)) << x << "," << y << " N " << size;
}

TEST(PictureSampler, ANineByNineSampleOfANoisyPatchFindsItsColour)
{
    // Grain of 8 codes: one pixel is off by several ΔE00, the mean of 81 by
    // about a ninth of that.
    const Linear3 colors[] = {test::linearOf(200, 60, 50), test::linearOf(90, 110, 50), test::linearOf(60, 90, 140),
                              test::linearOf(170, 120, 150)};
    test::PhotoScene scene{.width = 60, .height = 60};
    const test::Camera camera{.noise = 8.0};
    for (const Linear3 &color : colors) {
        scene.background = color;
        const auto source = sourceOf(60, 60, test::takePhoto(scene, camera, 11));
        double worstPixel = 0.0;
        for (int i = 0; i < 8; ++i) {
            const int x = 5 + 7 * i;
            const auto sample = sampleArea(*source, x, 30, 9);
            EXPECT_LT(deltaE00(test::labOfLinear(sample->linear), test::labOfLinear(color)), 1.0) << i;
            worstPixel = std::max(worstPixel, deltaE00(labOf(sampleArea(*source, x, 30, 1)->color),
                                                       test::labOfLinear(color)));
        }
        EXPECT_GT(worstPixel, 2.0); // one pixel alone is far off
    }
}

TEST(PictureSampler, LargerSamplesCentreOnTheOriginalPixelUnderTheClickAtEveryZoom)
{
    std::mt19937 random(5);
    const int width = 37;
    const int height = 23;
    const auto source = sourceOf(width, height, test::randomPixels(random, width, height));
    const int px = 20;
    const int py = 11;
    const auto atPixel = sampleArea(*source, px, py, 5);
    for (const std::string_view zoom : kZoomSteps) {
        const auto view = VirtualPicture::create(source, VirtualPicture::Kind::View, zoom);
        ASSERT_TRUE(view);
        // The view pixel that shows the centre of original pixel (px, py).
        const int x = static_cast<int>((px + 0.5) * view->width() / width);
        const int y = static_cast<int>((py + 0.5) * view->height() / height);
        const auto sample = samplePick(*view, x, y, 5);
        ASSERT_TRUE(sample) << zoom;
        if (view->width() >= width) {
            EXPECT_EQ(sample->color, atPixel->color) << zoom;
        } else {
            // Below 100 % a view pixel covers several: within its span.
            const int ox = originalPixelOf(x, width, view->width());
            EXPECT_LE(std::abs(ox - px), width / view->width()) << zoom;
        EXPECT_LE(originalPixelOf(0, width, view->width()), width / view->width() / 2);
            EXPECT_EQ(sample->color, sampleArea(*source, ox, originalPixelOf(y, height, view->height()), 5)->color);
        }
        // Size 1 is the view pixel as shown; the corners map inside.
        EXPECT_EQ(samplePick(*view, x, y, 1)->color, view->pixel(x, y));
        const int last = originalPixelOf(view->width() - 1, width, view->width());
        EXPECT_TRUE(last <= width - 1 && last >= width - 1 - width / view->width()) << zoom;
        EXPECT_FALSE(samplePick(*view, view->width(), 0, 3));
        EXPECT_FALSE(samplePick(*view, 0, 0, 53));
    }
}

} // namespace
} // namespace pigmora
