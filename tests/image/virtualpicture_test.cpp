#include "image/imageengine.h"
#include "image/pixelreference.h"
#include "image/viewbuilder.h"
#include "image/virtualpicture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace pigmora {
namespace {

using Kind = VirtualPicture::Kind;

// One row of the sweep: a base size, a zoom step, gray or colour, view or
// magnified picture.
struct TileCase {
    int width;
    int height;
    std::string_view zoom;
    bool gray;
    Kind kind;
};

std::vector<TileCase> sweep()
{
    std::vector<TileCase> cases;
    // Awkward small sizes: every step, gray and colour, both pictures.
    for (const auto &[w, h] : {std::pair{1, 37}, {41, 1}, {5, 7}, {63, 45}})
        for (const std::string_view zoom : kZoomSteps)
            for (const bool gray : {false, true})
                for (const Kind kind : {Kind::View, Kind::Magnified})
                    cases.push_back({w, h, zoom, gray, kind});
    // A medium size at every step, gray on every other one.
    for (std::size_t i = 0; i < kZoomSteps.size(); ++i)
        for (const Kind kind : {Kind::View, Kind::Magnified})
            cases.push_back({499, 333, kZoomSteps[i], i % 2 == 1, kind});
    // A photo-sized crop only where the whole reference stays cheap.
    for (const std::string_view zoom : {"10%", "25%", "75%", "100%", "125%"})
        cases.push_back({1000, 667, zoom, zoom == "75%", Kind::View});
    cases.push_back({1000, 667, "10%", true, Kind::Magnified});
    cases.push_back({1000, 667, "25%", false, Kind::Magnified});
    return cases;
}

class VirtualPictureSweep : public testing::TestWithParam<TileCase>
{
protected:
    VirtualPictureSweep()
    {
        engine.initialise();
        const TileCase &c = GetParam();
        std::mt19937 random(static_cast<unsigned>(c.width * 7919 + c.height));
        // Random bytes, the fourth included: the unscaled view keeps it.
        CImageDibObject *base = engine.createPicture(baseId);
        test::makePicture(*base, c.width, c.height, test::randomPixels(random, c.width, c.height));
    }

    CImageEngine engine;
    std::string baseId;
};

TEST_P(VirtualPictureSweep, HoldsTheWholePicturesBytes)
{
    const TileCase &c = GetParam();
    std::string fullId;
    float factor = 0;
    if (c.kind == Kind::View) {
        fullId = buildViewPicture(engine, baseId, c.zoom, c.gray).pictureId;
        factor = zoomFactor(c.zoom);
    } else {
        const MagnifiedPicture m = buildMagnifiedPicture(engine, baseId, c.zoom, c.gray);
        fullId = m.pictureId;
        factor = m.factor;
    }
    const CImageDibObject *full = engine.findPicture(fullId);
    ASSERT_NE(full, nullptr);
    const int w = full->width();
    const int h = full->height();
    const auto fullPixel = [&](int x, int y) {
        const std::uint8_t *p = full->pixels() + (static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + x) * 4;
        return RgbColor{p[2], p[1], p[0]};
    };

    const auto source = PictureSource::make(*engine.findPicture(baseId), c.gray);
    ASSERT_NE(source, nullptr);

    // Single pixels first, before any tile exists: every corner and a few more.
    const auto fresh = VirtualPicture::create(source, c.kind, c.zoom);
    ASSERT_NE(fresh, nullptr);
    ASSERT_EQ(fresh->width(), w);
    ASSERT_EQ(fresh->height(), h);
    EXPECT_EQ(fresh->factor(), factor);
    EXPECT_EQ(fresh->gray(), c.gray);
    std::mt19937 random(static_cast<unsigned>(w + 31 * h));
    std::vector<std::pair<int, int>> points = {{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
    for (int i = 0; i < 8; ++i)
        points.emplace_back(static_cast<int>(random() % static_cast<unsigned>(w)),
                            static_cast<int>(random() % static_cast<unsigned>(h)));
    for (const auto &[x, y] : points)
        EXPECT_EQ(fresh->pixel(x, y), fullPixel(x, y)) << x << "," << y;
    EXPECT_EQ(fresh->cachedTiles(), 0u);
    EXPECT_FALSE(fresh->pixel(w, 0));
    EXPECT_FALSE(fresh->pixel(0, -1));

    // The whole picture, tile by tile.
    const PictureBitmap whole = fresh->region(0, 0, w, h);
    ASSERT_FALSE(whole.isNull());
    ASSERT_EQ(std::memcmp(whole.bits(), full->pixels(), full->pixelBytes()), 0);
    for (const auto &[x, y] : points) // now read from the cached tiles
        EXPECT_EQ(fresh->pixel(x, y), fullPixel(x, y)) << x << "," << y;

    // Odd-sized tiles under a budget of one tile: random rectangles, some
    // reaching past the right and bottom edges, which must stay untouched.
    const auto small = VirtualPicture::create(source, c.kind, c.zoom, {.cacheBudget = 1, .tileSide = 37});
    ASSERT_NE(small, nullptr);
    for (int i = 0; i < 6; ++i) {
        const int x = static_cast<int>(random() % static_cast<unsigned>(w));
        const int y = static_cast<int>(random() % static_cast<unsigned>(h));
        const int rw = 1 + static_cast<int>(random() % 90u);
        const int rh = 1 + static_cast<int>(random() % 90u);
        std::vector<std::uint8_t> out(static_cast<std::size_t>(rw) * static_cast<std::size_t>(rh) * 4, 0xA5);
        ASSERT_TRUE(small->copyRect(x, y, rw, rh, out.data(), rw * 4));
        for (int j = 0; j < rh; ++j) {
            for (int k = 0; k < rw; ++k) {
                const std::uint8_t *got = out.data() + (static_cast<std::size_t>(j) * rw + k) * 4;
                if (x + k < w && y + j < h) {
                    const std::uint8_t *want = full->pixels() + (static_cast<std::size_t>(y + j) * w + x + k) * 4;
                    ASSERT_EQ(std::memcmp(got, want, 4), 0) << "pixel " << x + k << "," << y + j;
                } else {
                    ASSERT_EQ(got[0], 0xA5) << "written outside the picture";
                }
            }
        }
    }
    EXPECT_LE(small->cachedTiles(), 1u); // the budget holds one tile
    // The last tile of the grid, cut by both edges.
    const PictureBitmap corner = small->tile(small->tileColumns() - 1, small->tileRows() - 1);
    ASSERT_FALSE(corner.isNull());
    EXPECT_EQ(corner.width(), w - (small->tileColumns() - 1) * 37);
    EXPECT_EQ(corner.height(), h - (small->tileRows() - 1) * 37);
    EXPECT_EQ(corner.colorAt(corner.width() - 1, corner.height() - 1), fullPixel(w - 1, h - 1));
    EXPECT_TRUE(small->tile(small->tileColumns(), 0).isNull());
}

std::string caseName(const testing::TestParamInfo<TileCase> &info)
{
    const TileCase &c = info.param;
    return std::to_string(c.width) + "x" + std::to_string(c.height) + "_"
        + std::string(c.zoom.substr(0, c.zoom.size() - 1)) + (c.gray ? "_gray" : "_colour")
        + (c.kind == Kind::View ? "_view" : "_magnified");
}

INSTANTIATE_TEST_SUITE_P(Steps, VirtualPictureSweep, testing::ValuesIn(sweep()), caseName);

TEST(VirtualPicture, WorkersAndConcurrentReadersGiveTheSingleThreadedTiles)
{
    CImageEngine engine;
    engine.initialise();
    std::mt19937 random(5);
    std::string baseId;
    test::makePicture(*engine.createPicture(baseId), 700, 500, test::randomPixels(random, 700, 500));
    const auto source = PictureSource::make(*engine.findPicture(baseId), true);
    for (const std::string_view zoom : {"25%", "300%"}) {
        const auto alone = VirtualPicture::create(source, Kind::View, zoom, {.tileSide = 64});
        const auto shared = VirtualPicture::create(source, Kind::View, zoom, {.workers = 2, .tileSide = 64});
        ASSERT_TRUE(alone && shared);
        std::atomic<int> ready = 0;
        shared->setTileReady([&](int, int) { ++ready; });
        shared->prefetch(0, 0, shared->width(), shared->height());
        // Two more threads read whole rows of tiles while the workers run.
        std::vector<std::jthread> readers;
        for (int t = 0; t < 2; ++t)
            readers.emplace_back([&, t] {
                for (int row = t; row < shared->tileRows(); row += 2)
                    for (int column = 0; column < shared->tileColumns(); ++column)
                        shared->tile(column, row);
            });
        // And one copies small rectangles across tile corners, which are
        // computed on their own while their tiles are queued for the workers.
        std::atomic<int> copiesDiffering = 0;
        readers.emplace_back([&] {
            std::vector<std::uint8_t> a(20 * 20 * 4);
            std::vector<std::uint8_t> b(20 * 20 * 4);
            for (int k = 1; k < 6; ++k) {
                alone->copyRect(k * 64 - 10, k * 64 - 10, 20, 20, a.data(), 80);
                shared->copyRect(k * 64 - 10, k * 64 - 10, 20, 20, b.data(), 80);
                copiesDiffering += a != b;
            }
        });
        readers.clear();
        EXPECT_EQ(copiesDiffering.load(), 0);
        ASSERT_TRUE(shared->prepare(0, 0, shared->width(), shared->height()));
        for (int row = 0; row < alone->tileRows(); ++row) {
            for (int column = 0; column < alone->tileColumns(); ++column) {
                const PictureBitmap a = alone->tile(column, row);
                const PictureBitmap b = shared->cachedTile(column, row);
                ASSERT_FALSE(b.isNull());
                ASSERT_EQ(a.width() * a.height(), b.width() * b.height());
                ASSERT_EQ(std::memcmp(a.bits(), b.bits(), static_cast<std::size_t>(a.width()) * a.height() * 4), 0)
                    << zoom << " tile " << column << "," << row;
            }
        }
        EXPECT_LE(ready.load(), shared->tileColumns() * shared->tileRows());
    }
}

TEST(TileCache, DropsTheLeastRecentlyUsedOverTheBudget)
{
    TileCache cache(3 * 16);
    for (std::uint64_t key = 0; key < 3; ++key)
        cache.store(key, PictureBlock::allocate(16, 0));
    ASSERT_NE(cache.find(0), nullptr); // 0 is now the most recent
    cache.store(3, PictureBlock::allocate(16, 0));
    EXPECT_EQ(cache.find(1), nullptr);
    EXPECT_TRUE(cache.contains(0) && cache.contains(2) && cache.contains(3));
    EXPECT_EQ(cache.bytes(), 48u);
    cache.store(4, PictureBlock::allocate(64, 0)); // over the budget alone: kept alone
    EXPECT_EQ(cache.count(), 1u);
    EXPECT_EQ(cache.bytes(), 64u);
}

TEST(VirtualPicture, ACorrectedSourceShowsTheCorrectedPicture)
{
    // The view of a corrected source holds the whole view of the corrected
    // picture byte for byte, gray or not; at 100 % each pixel is the
    // correction of the plain one.
    CImageEngine engine;
    engine.initialise();
    std::string baseId;
    std::mt19937 random(17);
    test::makePicture(*engine.createPicture(baseId), 150, 90, test::randomPixels(random, 150, 90));
    const auto transform = ColorTransform::make(Matrix3{{1.4, -0.3, 0.05, -0.1, 1.2, 0.0, 0.0, -0.2, 1.7}});
    std::string correctedId;
    ASSERT_TRUE(engine.duplicatePicture(baseId, correctedId));
    CImageDibObject *corrected = engine.findPicture(correctedId);
    transform->applyPixels(corrected->mutablePixels(), 150 * 90);
    const CImageDibObject &base = *engine.findPicture(baseId);
    for (const bool gray : {false, true}) {
        const auto source = PictureSource::make(base, gray, transform);
        EXPECT_EQ(source->transform(), transform);
        for (const std::string_view zoom : {"25%", "100%", "300%"}) {
            for (const Kind kind : {Kind::View, Kind::Magnified}) {
                const auto view = VirtualPicture::create(source, kind, zoom, {.tileSide = 37});
                const std::string wholeId = kind == Kind::View
                    ? buildViewPicture(engine, correctedId, zoom, gray).pictureId
                    : buildMagnifiedPicture(engine, correctedId, zoom, gray).pictureId;
                const CImageDibObject *whole = engine.findPicture(wholeId);
                ASSERT_TRUE(view && whole);
                const PictureBitmap got = view->region(0, 0, view->width(), view->height());
                ASSERT_EQ(std::memcmp(got.bits(), whole->pixels(), whole->pixelBytes()), 0) << zoom << gray;
                engine.deletePicture(wholeId);
            }
        }
    }
    const auto plain = VirtualPicture::create(PictureSource::make(base, false), Kind::View, "100%");
    const auto shown = VirtualPicture::create(PictureSource::make(base, false, transform), Kind::View, "100%");
    for (int y = 0; y < 90; y += 7)
        for (int x = 0; x < 150; x += 5)
            ASSERT_EQ(shown->pixel(x, y), transform->apply(*plain->pixel(x, y)));
}

TEST(VirtualPicture, RefusesWhatItCannotRepresent)
{
    CImageDibObject empty;
    EXPECT_EQ(PictureSource::make(empty, false), nullptr);
    EXPECT_EQ(VirtualPicture::create(nullptr, Kind::View, "100%"), nullptr);
    CImageDibObject base;
    test::makePicture(base, 4, 4, test::Pixels(64, 9));
    const auto source = PictureSource::make(base, false);
    EXPECT_EQ(VirtualPicture::create(source, Kind::View, "100%", {.tileSide = 0}), nullptr);
    const auto view = VirtualPicture::create(source, Kind::View, "100%");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->region(2, 2, 3, 1).isNull()); // reaches past the right edge
    EXPECT_TRUE(view->region(0, 0, 0, 1).isNull());
    EXPECT_TRUE(view->copyRect(10, 10, 5, 5, nullptr, 0)); // nothing inside: nothing written
}

} // namespace
} // namespace pigmora
