// Watching a decode from another thread, the JPEG preview, and opening a
// picture for the view off the window thread.
#include "image/decoderfixtures.h"
#include "image/pictureload.h"
#include "image/viewbuilder.h"
#include "support/testsupport.h"

#include <png.h>

#include <gtest/gtest.h>

#include <stop_token>

namespace pigmora {
namespace {

using test::Bytes;

constexpr int kWidth = 64;
constexpr int kHeight = 48;

Bytes rgbSamples(int width, int height)
{
    Bytes samples;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            samples.insert(samples.end(), {static_cast<std::uint8_t>(x * 4), static_cast<std::uint8_t>(y * 5), 90});
    return samples;
}

Bytes jpegFile(int width = kWidth, int height = kHeight, std::optional<Bytes> app1 = std::nullopt)
{
    test::JpegLayout layout;
    layout.width = width;
    layout.height = height;
    layout.samples = rgbSamples(width, height);
    layout.app1 = std::move(app1);
    return test::encodeJpeg(layout);
}

Bytes pngFile(bool interlaced)
{
    test::PngLayout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.colorType = PNG_COLOR_TYPE_RGB;
    layout.interlaced = interlaced;
    const Bytes samples = rgbSamples(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        layout.rows.emplace_back(samples.begin() + y * kWidth * 3, samples.begin() + (y + 1) * kWidth * 3);
    return test::encodePng(layout);
}

Bytes bmpFile()
{
    std::vector<std::uint32_t> values(static_cast<std::size_t>(kWidth) * kHeight, 0x405060);
    test::BmpLayout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.pixelData = test::packValueRows(values, kWidth, kHeight, 24);
    return test::buildBmp(layout);
}

struct Watched {
    const char *name;
    PictureFormat format;
    Bytes bytes;
    int passes; // rows reported: passes x height
};

class DecodeControlOf : public testing::TestWithParam<Watched>
{ };

TEST_P(DecodeControlOf, ReportsEveryRowAndStopsWhenAsked)
{
    const Watched &w = GetParam();
    DecodeControl control;
    int reported = 0;
    bool inOrder = true;
    control.rows = [&](int done, int total) {
        inOrder = inOrder && done == reported + 1 && total == w.passes * kHeight;
        reported = done;
    };
    ASSERT_TRUE(decodePicture(w.format, w.bytes, &control));
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(reported, w.passes * kHeight);

    // Asked to stop after ten rows: it gives up with the cancel message.
    std::stop_source stop;
    control.stop = stop.get_token();
    control.rows = [&](int done, int) {
        reported = done;
        if (done == 10)
            stop.request_stop();
    };
    const Result<DecodedPicture> stopped = decodePicture(w.format, w.bytes, &control);
    ASSERT_FALSE(stopped);
    EXPECT_EQ(stopped.message(), decodeCancelled().message());
    EXPECT_EQ(reported, 10);
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeControlOf,
                         testing::Values(Watched{"Jpeg", PictureFormat::Jpeg, jpegFile(), 1},
                                         Watched{"Png", PictureFormat::Png, pngFile(false), 1},
                                         Watched{"InterlacedPng", PictureFormat::Png, pngFile(true), 7},
                                         Watched{"Bitmap", PictureFormat::Bitmap, bmpFile(), 1}),
                         [](const auto &param) { return std::string(param.param.name); });

TEST(JpegPreview, IsAnEighthUprightAndNamesTheWholeSize)
{
    // Orientation 6: the stored 100 x 60 picture stands 60 x 100.
    const Result<PicturePreview> preview = decodeJpegPreview(jpegFile(100, 60, test::exifOrientationBlock(6, false)));
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->fullWidth, 60);
    EXPECT_EQ(preview->fullHeight, 100);
    EXPECT_EQ(preview->picture.width, 8);
    EXPECT_EQ(preview->picture.height, 13);
    const Result<DecodedPicture> whole = decodeJpeg(jpegFile(100, 60, test::exifOrientationBlock(6, false)));
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->width, preview->fullWidth);
    EXPECT_EQ(whole->height, preview->fullHeight);
    EXPECT_FALSE(decodeJpegPreview(Bytes{0xFF, 0xD8, 0xFF}));
}

struct LoadCase {
    const char *name;
    const char *file;
    Bytes bytes;
    PictureLoad::Outcome outcome;
    int maxSide = 0;
};

class LoadForView : public testing::TestWithParam<LoadCase>
{ };

TEST_P(LoadForView, AnswersTheOutcome)
{
    const LoadCase &c = GetParam();
    test::TempDir dir;
    PictureLoadRequest request;
    request.path = dir / c.file;
    if (!c.bytes.empty())
        test::writeFileBytes(request.path, c.bytes);
    request.maxSide = c.maxSide;
    const PictureLoad load = loadPictureForView(request, {});
    EXPECT_EQ(load.outcome, c.outcome);
    EXPECT_EQ(load.message.empty(), c.outcome != PictureLoad::Outcome::Refused);
    EXPECT_EQ(load.view != nullptr, c.outcome == PictureLoad::Outcome::Opened);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadForView,
    testing::Values(LoadCase{"Missing", "none.jpg", {}, PictureLoad::Outcome::Missing},
                    LoadCase{"NotAPictureKind", "notes.txt", {'x'}, PictureLoad::Outcome::Unreadable},
                    LoadCase{"Damaged", "broken.jpg", {0xFF, 0xD8, 0xFF, 0xE0}, PictureLoad::Outcome::Refused},
                    LoadCase{"LongerThanAllowed", "wide.jpg", jpegFile(), PictureLoad::Outcome::TooLarge, 50},
                    LoadCase{"Good", "good.png", pngFile(false), PictureLoad::Outcome::Opened}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(LoadForView, PreviewFirstThenTheFittedViewWithItsFirstScreen)
{
    test::TempDir dir;
    PictureLoadRequest request;
    request.path = dir / "photo.jpg";
    test::writeFileBytes(request.path, jpegFile(800, 600));
    request.roomWidth = 300;
    request.roomHeight = 300;
    std::vector<std::string> events;
    int lastPercent = -1;
    PictureLoadEvents watch;
    watch.preview = [&](PicturePreview &&preview) {
        events.push_back("preview " + std::to_string(preview.fullWidth) + "x" + std::to_string(preview.fullHeight));
    };
    watch.progress = [&](int percent) {
        if (lastPercent < 0)
            events.push_back("progress");
        lastPercent = percent;
    };
    const PictureLoad load = loadPictureForView(request, watch);
    ASSERT_EQ(load.outcome, PictureLoad::Outcome::Opened);
    EXPECT_EQ(events, (std::vector<std::string>{"preview 800x600", "progress"}));
    EXPECT_EQ(lastPercent, 100);
    EXPECT_EQ(load.zoomIndex, 1); // 25 %: 200 x 150
    EXPECT_EQ(load.view->width(), 200);
    EXPECT_EQ(load.view->height(), 150);
    EXPECT_FALSE(load.view->cachedTile(0, 0).isNull());
    EXPECT_EQ(load.base->width(), 800);

    std::stop_source stop;
    stop.request_stop();
    EXPECT_EQ(loadPictureForView(request, watch, stop.get_token()).outcome, PictureLoad::Outcome::Cancelled);
}

} // namespace
} // namespace pigmora
