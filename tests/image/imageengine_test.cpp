#include "image/decoderfixtures.h"
#include "image/imageengine.h"
#include "image/pixelreference.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pigmora {
namespace {

using test::Pixels;
using test::pixelsOf;

class ImageEngineTest : public testing::Test
{
protected:
    ImageEngineTest() { engine.initialise(); }

    // A loaded-looking picture (state 3) of the given rows under a new ID.
    std::string addPicture(int width, int height, const Pixels &rows)
    {
        std::string id;
        CImageDibObject *picture = engine.createPicture(id);
        EXPECT_NE(picture, nullptr);
        if (picture)
            test::makePicture(*picture, width, height, rows);
        return id;
    }

    // The ID the next created picture gets (creating and deleting it).
    std::string peekNextId()
    {
        std::string id;
        engine.createPicture(id);
        engine.deletePicture(id);
        return id;
    }

    CImageEngine engine;
};

TEST_F(ImageEngineTest, IdsCountUpAndAreFoundInTextOrder)
{
    for (int i = 1; i <= 25; ++i) {
        std::string id;
        ASSERT_NE(engine.createPicture(id), nullptr);
        EXPECT_EQ(id, std::to_string(i));
    }
    // "10" sorts between "1" and "2"; every ID is still found.
    for (int i = 1; i <= 25; ++i) {
        const CImageDibObject *picture = engine.findPicture(std::to_string(i));
        ASSERT_NE(picture, nullptr) << i;
        EXPECT_EQ(picture->pictureId(), std::to_string(i));
        EXPECT_EQ(picture->state(), CImageDibObject::kStateEmpty);
    }
    EXPECT_EQ(engine.findPicture("26"), nullptr);
    EXPECT_EQ(engine.findPicture(""), nullptr);
}

TEST_F(ImageEngineTest, IdsAreNeverHandedOutAgainAfterClearPictures)
{
    std::string id;
    engine.createPicture(id);
    engine.createPicture(id);
    engine.clearPictures();
    EXPECT_EQ(engine.pictureCount(), 0);
    EXPECT_EQ(engine.findPicture("1"), nullptr);
    engine.createPicture(id);
    EXPECT_EQ(id, "3");
}

TEST_F(ImageEngineTest, DeletingAnUnknownIdChangesNothing)
{
    const std::string id = addPicture(1, 1, {1, 2, 3, 0});
    EXPECT_FALSE(engine.deletePicture("99"));
    EXPECT_EQ(engine.pictureCount(), 1);
    EXPECT_TRUE(engine.deletePicture(id));
    EXPECT_EQ(engine.pictureCount(), 0);
    EXPECT_FALSE(engine.deletePicture(id));
}

TEST_F(ImageEngineTest, DuplicateIsAnExactCopyUnderTheNextId)
{
    const std::string source = addPicture(2, 1, {1, 2, 3, 4, 5, 6, 7, 8});
    std::string copyId;
    ASSERT_TRUE(engine.duplicatePicture(source, copyId));
    EXPECT_EQ(copyId, "2");
    const CImageDibObject *copy = engine.findPicture(copyId);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->pictureId(), "2");
    EXPECT_EQ(copy->width(), 2);
    EXPECT_EQ(copy->bitsPerPixel(), 32u);
    EXPECT_EQ(copy->state(), CImageDibObject::kStateHoldsPicture);
    EXPECT_EQ(pixelsOf(*copy), (Pixels{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(ImageEngineTest, DuplicatingAnUnknownIdHandsOutNoId)
{
    std::string copyId = "stale";
    EXPECT_FALSE(engine.duplicatePicture("7", copyId));
    EXPECT_TRUE(copyId.empty());
    EXPECT_EQ(engine.pictureCount(), 0);
    EXPECT_EQ(peekNextId(), "1");
}

TEST_F(ImageEngineTest, GrayAndScaleRefuseUntilInitialised)
{
    const std::string id = addPicture(2, 2, Pixels(16, 50));
    engine.release();
    std::string scaledId;
    EXPECT_FALSE(engine.grayPicture(id));
    EXPECT_FALSE(engine.scalePicture(id, scaledId, 4, 4));
    EXPECT_TRUE(scaledId.empty());
    EXPECT_EQ(engine.pictureCount(), 1);

    engine.initialise();
    EXPECT_TRUE(engine.grayPicture(id));
    EXPECT_FALSE(engine.grayPicture("42"));
    EXPECT_TRUE(engine.scalePicture(id, scaledId, 4, 4));
    EXPECT_EQ(engine.findPicture(scaledId)->width(), 4);
}

TEST_F(ImageEngineTest, ARefusedScaleLeavesTheEmptyNewPicture)
{
    const std::string id = addPicture(4, 4, Pixels(64, 50));
    std::string scaledId;
    EXPECT_FALSE(engine.scalePicture(id, scaledId, 8, 2)); // wider and lower
    ASSERT_FALSE(scaledId.empty());
    const CImageDibObject *left = engine.findPicture(scaledId);
    ASSERT_NE(left, nullptr);
    EXPECT_FALSE(left->hasBlock());
    EXPECT_EQ(left->state(), CImageDibObject::kStateEmpty);
    EXPECT_EQ(engine.pictureCount(), 2);

    EXPECT_FALSE(engine.scalePicture("nope", scaledId, 2, 2)); // unknown source: nothing created
    EXPECT_EQ(engine.pictureCount(), 2);
}

TEST_F(ImageEngineTest, ABitmapKeepsShowingADeletedPicture)
{
    const std::string id = addPicture(1, 1, {10, 20, 30, 0});
    const PictureBitmap bitmap = engine.findPicture(id)->pictureToBitmap();
    engine.clearPictures();
    EXPECT_EQ(bitmap.colorAt(0, 0), (RgbColor{30, 20, 10}));
}

// ---- Loading files ----

// A 2 x 1 24-bit bitmap: blue 10, green 20, red 30, then white.
test::Bytes twoPixelBmp()
{
    test::BmpLayout layout;
    layout.width = 2;
    layout.height = 1;
    layout.bitCount = 24;
    layout.pixelData = test::packValueRows({30u << 16 | 20u << 8 | 10u, 0xFFFFFFu}, 2, 1, 24);
    return test::buildBmp(layout);
}

class LoadPictureFile : public ImageEngineTest
{
protected:
    std::filesystem::path write(const std::string &name, const test::Bytes &bytes)
    {
        const std::filesystem::path path = dir / name;
        test::writeFileBytes(path, bytes);
        return path;
    }

    test::TempDir dir;
};

class LoadByExtension : public LoadPictureFile, public testing::WithParamInterface<const char *>
{ };

TEST_P(LoadByExtension, StoresA24BitPixelAsBlueGreenRedZero)
{
    std::string id;
    Result<CImageDibObject *> loaded = engine.loadPictureFile(write(GetParam(), twoPixelBmp()), id);
    ASSERT_TRUE(loaded) << loaded.message();
    EXPECT_EQ(id, "1");
    EXPECT_EQ(engine.findPicture(id), loaded.value());
    EXPECT_EQ(loaded.value()->state(), CImageDibObject::kStateHoldsPicture);
    EXPECT_EQ(loaded.value()->bitsPerPixel(), 32u);
    EXPECT_EQ(pixelsOf(*loaded.value()), (Pixels{10, 20, 30, 0, 255, 255, 255, 0}));
}

INSTANTIATE_TEST_SUITE_P(AnyLetterCase, LoadByExtension, testing::Values("p.bmp", "p.BMP", "p.Bmp", "p.dib", "p.DIB"));

TEST_F(LoadPictureFile, MissingFilesAndOtherExtensionsGiveNoPictureAndNoText)
{
    std::string id;
    Result<CImageDibObject *> missing = engine.loadPictureFile(dir / "absent.bmp", id);
    EXPECT_FALSE(missing);
    EXPECT_TRUE(missing.message().empty());

    // A good bitmap under another extension is not even read.
    for (const char *name : {"p.txt", "p.gif", "p", "p.bmp.bak"}) {
        Result<CImageDibObject *> other = engine.loadPictureFile(write(name, twoPixelBmp()), id);
        EXPECT_FALSE(other) << name;
        EXPECT_TRUE(other.message().empty()) << name;
        EXPECT_TRUE(id.empty());
    }
    EXPECT_EQ(engine.pictureCount(), 0);
    EXPECT_EQ(peekNextId(), "1");
}

TEST_F(LoadPictureFile, ARejectedFileCarriesTheDecodersTextAndChangesNothing)
{
    test::Bytes damaged = twoPixelBmp();
    damaged.resize(20);
    std::string id;
    for (const char *name : {"bad.bmp", "bad.jpg", "bad.JPEG", "bad.png"}) {
        Result<CImageDibObject *> loaded = engine.loadPictureFile(write(name, damaged), id);
        EXPECT_FALSE(loaded) << name;
        EXPECT_FALSE(loaded.message().empty()) << name;
    }
    EXPECT_EQ(engine.pictureCount(), 0);
    EXPECT_EQ(peekNextId(), "1");
}

TEST_F(LoadPictureFile, PngFilesAreDecodedToo)
{
    test::PngLayout layout;
    layout.width = 1;
    layout.height = 1;
    layout.colorType = 2; // RGB
    layout.rows = {{30, 20, 10}};
    std::string id;
    Result<CImageDibObject *> loaded = engine.loadPictureFile(write("p.PNG", test::encodePng(layout)), id);
    ASSERT_TRUE(loaded) << loaded.message();
    EXPECT_EQ(pixelsOf(*loaded.value()), (Pixels{10, 20, 30, 0}));
}

// ---- Loading from a held bitmap ----

TEST_F(ImageEngineTest, A24BitHeldBitmapBecomesBlueGreenRedZero)
{
    // 2 x 2, rows padded to 8 bytes.
    const Pixels rows = {10, 20, 30, 1, 2, 3, 0xEE, 0xEE, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE};
    std::string id;
    const CImageDibObject *picture = engine.loadPictureFromImage({2, 2, 24, 8, rows.data()}, id);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(id, "1");
    EXPECT_EQ(picture->state(), CImageDibObject::kStateHoldsPicture);
    EXPECT_EQ(pixelsOf(*picture), (Pixels{10, 20, 30, 0, 1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0}));
}

TEST_F(ImageEngineTest, A32BitHeldBitmapKeepsItsFourthByte)
{
    const Pixels rows = {10, 20, 30, 40, 50, 60, 70, 80};
    std::string id;
    const CImageDibObject *picture = engine.loadPictureFromImage({1, 2, 32, 4, rows.data()}, id);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(pixelsOf(*picture), rows);
}

TEST_F(ImageEngineTest, UnusableHeldBitmapsGiveNoPicture)
{
    const Pixels rows(64, 1);
    std::string id;
    const SourceBitmap bad[] = {
        {2, 2, 24, 8, nullptr},     {2, 2, 16, 8, rows.data()},  {2, 2, 24, 5, rows.data()},
        {0, 2, 24, 8, rows.data()}, {2, -1, 24, 8, rows.data()},
    };
    for (const SourceBitmap &source : bad)
        EXPECT_EQ(engine.loadPictureFromImage(source, id), nullptr);
    EXPECT_TRUE(id.empty());
    EXPECT_EQ(engine.pictureCount(), 0);
}

} // namespace
} // namespace pigmora
