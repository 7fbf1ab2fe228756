#include "data/bytes.h"
#include "image/imagedibobject.h"
#include "image/pixelreference.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace pigmora {
namespace {

using test::makePicture;
using test::Pixels;
using test::pixelsOf;

int readU16(const std::uint8_t *p)
{
    return p[0] | p[1] << 8;
}

struct DepthCase {
    int bitsPerPixel;
    int width;
    int tableLength;
    std::uint32_t stride;
    int bytesPerPixel;
};

class PictureDepth : public testing::TestWithParam<DepthCase>
{ };

TEST_P(PictureDepth, LaysOutHeaderTableAndRows)
{
    const DepthCase c = GetParam();
    CImageDibObject picture;
    ASSERT_TRUE(picture.createBlank(c.width, 3, c.bitsPerPixel, false));
    EXPECT_EQ(picture.state(), CImageDibObject::kStateAllocated);
    EXPECT_EQ(picture.bitsPerPixel(), static_cast<std::uint32_t>(c.bitsPerPixel));
    EXPECT_EQ(picture.colorTableLength(), c.tableLength);
    EXPECT_EQ(picture.rowStride(), c.stride);
    EXPECT_EQ(picture.bytesPerPixel(), c.bytesPerPixel);
    EXPECT_EQ(picture.pixelBytes(), c.stride * 3);
    EXPECT_EQ(picture.colorTable() != nullptr, c.tableLength > 0);

    const std::uint8_t *h = picture.header();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(le::readI32(h), 40);
    EXPECT_EQ(le::readI32(h + 4), c.width);
    EXPECT_EQ(le::readI32(h + 8), 3); // positive although rows are top first
    EXPECT_EQ(readU16(h + 12), 1);
    EXPECT_EQ(readU16(h + 14), c.bitsPerPixel);
    for (int offset : {16, 20, 24, 28})
        EXPECT_EQ(le::readI32(h + offset), 0) << "offset " << offset;
    EXPECT_EQ(le::readI32(h + 32), c.tableLength);
    EXPECT_EQ(le::readI32(h + 36), c.tableLength);
}

INSTANTIATE_TEST_SUITE_P(Depths, PictureDepth,
                         testing::Values(DepthCase{1, 3, 2, 4, 0}, DepthCase{1, 33, 2, 8, 0}, DepthCase{4, 9, 16, 8, 0},
                                         DepthCase{8, 5, 256, 8, 1}, DepthCase{16, 3, 0, 8, 2},
                                         DepthCase{24, 3, 0, 12, 3}, DepthCase{32, 3, 0, 12, 4}));

TEST(ImageDibObject, OtherDepthsAreAProgrammingError)
{
    CImageDibObject picture;
#ifdef NDEBUG
    EXPECT_FALSE(picture.createBlank(2, 2, 15, false));
    EXPECT_EQ(CImageDibObject::colorTableLengthFor(7), -1);
    EXPECT_FALSE(picture.hasBlock());
#else
    EXPECT_DEATH(picture.createBlank(2, 2, 15, false), "bits per pixel");
#endif
}

TEST(ImageDibObject, UnusableSizesAreRefusedAndLeaveThePictureAsItWas)
{
    CImageDibObject picture;
    makePicture(picture, 1, 1, {1, 2, 3, 4});
    EXPECT_FALSE(picture.createBlank(0, 5, 32, true));
    EXPECT_FALSE(picture.createBlank(5, -1, 32, true));
    EXPECT_FALSE(picture.createBlank(INT_MAX, 1, 32, true)); // row longer than an int counts
    EXPECT_FALSE(picture.createBlank(1 << 20, INT_MAX, 32, true)); // over the memory limit
    EXPECT_FALSE(picture.createFromRows(2, 2, 32, {}, Pixels(15))); // rows too short
    EXPECT_FALSE(picture.createFromRows(2, 2, 8, Pixels(100), Pixels(16))); // table too short
    EXPECT_EQ(picture.width(), 1);
    EXPECT_EQ(picture.state(), CImageDibObject::kStateHoldsPicture);
    EXPECT_EQ(pixelsOf(picture), (Pixels{1, 2, 3, 4}));
}

TEST(ImageDibObject, CreateFromRowsCopiesRowsAndTable)
{
    Pixels rows = {1, 2, 0, 0, 3, 4, 0, 0}; // 8-bit, 2 x 2, stride 4
    Pixels table(1024);
    table[4] = 0xAB;
    CImageDibObject picture;
    ASSERT_TRUE(picture.createFromRows(2, 2, 8, table, rows));
    rows[0] = 99;
    EXPECT_EQ(pixelsOf(picture), (Pixels{1, 2, 0, 0, 3, 4, 0, 0}));
    const std::uint8_t *colorTable = picture.colorTable();
    const std::uint8_t *row = picture.scanLine(1);
    ASSERT_TRUE(colorTable && row);
    EXPECT_EQ(int{colorTable[4]}, 0xAB);
    EXPECT_EQ(int{row[1]}, 4);
    EXPECT_EQ(picture.scanLine(2), nullptr);
}

TEST(ImageDibObject, CreateBlankIsWhiteOrBlack)
{
    CImageDibObject picture;
    ASSERT_TRUE(picture.createBlank(2, 1, 32, true));
    EXPECT_EQ(pixelsOf(picture), Pixels(8, 255));
    ASSERT_TRUE(picture.createBlank(2, 1, 32, false));
    EXPECT_EQ(pixelsOf(picture), Pixels(8, 0));
}

TEST(ImageDibObject, CopyIsExactAndIndependent)
{
    CImageDibObject original;
    makePicture(original, 2, 1, {1, 2, 3, 4, 5, 6, 7, 8});
    original.setPictureId("1");
    CImageDibObject copy;
    copy.setPictureId("2");
    copy.copyFrom(original);
    EXPECT_EQ(copy.pictureId(), "2");
    EXPECT_EQ(copy.width(), 2);
    EXPECT_EQ(copy.height(), 1);
    EXPECT_EQ(copy.state(), CImageDibObject::kStateHoldsPicture);
    EXPECT_EQ(pixelsOf(copy), pixelsOf(original));

    copy.mutablePixels()[0] = 42;
    EXPECT_EQ(pixelsOf(copy)[0], 42);
    EXPECT_EQ(pixelsOf(original)[0], 1);

    copy.copyFrom(copy); // onto itself: nothing happens
    EXPECT_EQ(pixelsOf(copy)[0], 42);

    CImageDibObject empty;
    copy.copyFrom(empty);
    EXPECT_FALSE(copy.hasBlock());
    EXPECT_EQ(copy.state(), CImageDibObject::kStateEmpty);
}

TEST(ImageDibObject, ReleaseBlockDropsThePixels)
{
    CImageDibObject picture;
    makePicture(picture, 2, 2, Pixels(16, 7));
    picture.releaseBlock();
    EXPECT_FALSE(picture.hasBlock());
    EXPECT_EQ(picture.pixels(), nullptr);
    EXPECT_EQ(picture.header(), nullptr);
    EXPECT_EQ(picture.bytesPerPixel(), 0);
    EXPECT_EQ(picture.rowStride(), 0u);
    EXPECT_TRUE(picture.pictureToBitmap().isNull());
}

TEST(ImageDibObject, AdoptedRowsAreTakenOverWithoutACopy)
{
    Pixels rows(2 * 3 * 4, 9);
    const std::uint8_t *buffer = rows.data();
    CImageDibObject picture;
    Pixels wrongSize(20, 1);
    EXPECT_FALSE(picture.adoptRows(2, 3, std::move(wrongSize)));
    EXPECT_EQ(wrongSize.size(), 20u); // a refused buffer stays with the caller
    ASSERT_TRUE(picture.adoptRows(2, 3, std::move(rows)));
    EXPECT_EQ(picture.pixels(), buffer);
    EXPECT_EQ(picture.state(), CImageDibObject::kStateAllocated);
    EXPECT_EQ(le::readI32(picture.header() + 4), 2);
}

TEST(PictureBitmap, SharesThePixelsAndOutlivesThePicture)
{
    auto picture = std::make_unique<CImageDibObject>();
    makePicture(*picture, 3, 2, Pixels{10, 20, 30, 0, 1, 1, 1, 0, 2, 2, 2, 0, 3, 3, 3, 0, 4, 4, 4, 0, 5, 6, 7, 0});
    const PictureBitmap bitmap = picture->pictureToBitmap();
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_EQ(bitmap.bits(), picture->pixels()); // no copy
    EXPECT_EQ(bitmap.width(), 3);
    EXPECT_EQ(bitmap.height(), 2);
    EXPECT_EQ(bitmap.bitsPerPixel(), 32);
    EXPECT_EQ(bitmap.bytesPerLine(), 12);

    picture->mutablePixels()[0] = 99; // the picture changes: the bitmap does not
    picture.reset();
    EXPECT_EQ(bitmap.colorAt(0, 0), (RgbColor{30, 20, 10}));
    EXPECT_EQ(bitmap.colorAt(2, 1), (RgbColor{7, 6, 5}));
    EXPECT_EQ(bitmap.colorAt(3, 0), std::nullopt);
    EXPECT_EQ(bitmap.colorAt(0, -1), std::nullopt);
    EXPECT_EQ(bitmap.scanLine(1)[0], 3);
}

TEST(PictureBitmap, KeepsTheDepthAndTableOfOtherPictures)
{
    CImageDibObject picture;
    ASSERT_TRUE(picture.createBlank(5, 2, 8, true));
    const PictureBitmap bitmap = picture.pictureToBitmap();
    EXPECT_EQ(bitmap.bitsPerPixel(), 8);
    EXPECT_EQ(bitmap.bytesPerLine(), 8);
    EXPECT_EQ(bitmap.colorTable().size(), 1024u);
    EXPECT_EQ(bitmap.colorAt(0, 0), std::nullopt); // colours are read from 32-bit bitmaps only
    EXPECT_TRUE(PictureBitmap().isNull());
    EXPECT_EQ(PictureBitmap().bits(), nullptr);
}

} // namespace
} // namespace pigmora
