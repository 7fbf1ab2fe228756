#include "image/picturedecoder.h"

#include "data/bytes.h"
#include "image/decoderfixtures.h"

#include <gtest/gtest.h>

#include <bit>
#include <climits>
#include <cmath>

namespace pigmora {
namespace {

using test::Bgrx;
using test::BmpLayout;
using test::Bytes;
using test::cut;
using test::DamagedPictureFiles;
using test::ExactPictureFiles;

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

using GoodCase = test::ExactFile;

// Palette entries carry a nonzero reserved byte, which must not show.
std::vector<Bgrx> palette(int entries)
{
    std::vector<Bgrx> p;
    for (int i = 0; i < entries; ++i)
        p.push_back({static_cast<std::uint8_t>(i * 16 + 1), static_cast<std::uint8_t>(255 - i * 13),
                     static_cast<std::uint8_t>(i * 7 + 3), 0x5A});
    return p;
}

// The layout given the picture's size and depth; a negative height in the
// given layout asks for rows stored top row first.
BmpLayout sized(BmpLayout layout, int width, int height, int bits)
{
    layout.width = width;
    layout.height = layout.height < 0 ? -height : height;
    layout.bitCount = static_cast<std::uint16_t>(bits);
    return layout;
}

GoodCase indexedCase(std::string name, int bits, int width, int height, int entries, BmpLayout layout = {})
{
    std::vector<int> indexes;
    DecodedPicture expected = test::blankPicture(width, height);
    const std::vector<Bgrx> colours = palette(entries);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int index = (x * 3 + y * 5) % entries;
            indexes.push_back(index);
            Bgrx c = colours[static_cast<std::size_t>(index)];
            c[3] = 0;
            test::setPixel(expected, x, y, c);
        }
    layout = sized(layout, width, height, bits);
    layout.palette = colours;
    layout.pixelData = test::packIndexRows(indexes, width, height, bits, layout.height < 0);
    return {std::move(name), test::buildBmp(layout), std::move(expected)};
}

// Every channel gets its own values; expected colours are scaled to 8 bits by
// rounding, the fourth byte of a 32-bit pixel is its top byte.
GoodCase directCase(std::string name, int bits, std::array<std::uint32_t, 3> masks, int width = 3, int height = 2,
                    BmpLayout layout = {})
{
    std::vector<std::uint32_t> values;
    DecodedPicture expected = test::blankPicture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t raw = bits == 32 ? static_cast<std::uint32_t>(0x40 + x + 9 * y) << 24 : 0;
            Bgrx colour{0, 0, 0, 0};
            for (int c = 0; c < 3; ++c) {
                const int shift = std::countr_zero(masks[static_cast<std::size_t>(c)]);
                const std::uint32_t max = masks[static_cast<std::size_t>(c)] >> shift;
                const std::uint32_t v = static_cast<std::uint32_t>(x * 37 + y * 91 + c * 53) % (max + 1);
                raw = (raw & ~masks[static_cast<std::size_t>(c)]) | v << shift;
                colour[static_cast<std::size_t>(2 - c)] = static_cast<std::uint8_t>(std::lround(v * 255.0 / max));
            }
            colour[3] = static_cast<std::uint8_t>(bits == 32 ? raw >> 24 : 0);
            values.push_back(raw);
            test::setPixel(expected, x, y, colour);
        }
    layout = sized(layout, width, height, bits);
    layout.masks = masks;
    layout.pixelData = test::packValueRows(values, width, height, bits, layout.height < 0);
    return {std::move(name), test::buildBmp(layout), std::move(expected)};
}

constexpr std::array<std::uint32_t, 3> k888 = {0xFF0000, 0x00FF00, 0x0000FF};
constexpr std::array<std::uint32_t, 3> k555 = {0x7C00, 0x03E0, 0x001F};
constexpr std::array<std::uint32_t, 3> k565 = {0xF800, 0x07E0, 0x001F};
constexpr std::array<std::uint32_t, 3> k101010 = {0x3FF00000, 0x000FFC00, 0x000003FF};

BmpLayout header(std::uint32_t size, std::uint32_t compression = kRgb, bool topDown = false)
{
    BmpLayout layout;
    layout.headerSize = size;
    layout.compression = compression;
    layout.height = topDown ? -1 : 1;
    return layout;
}

// An RLE file of a 4 x 2 picture unless sized otherwise.
Bytes rleFile(int bits, Bytes data, int width = 4, int height = 2, int entries = 4)
{
    BmpLayout layout = sized(header(40, bits == 8 ? kRle8 : kRle4), width, height, bits);
    layout.palette = palette(entries);
    layout.pixelData = std::move(data);
    return test::buildBmp(layout);
}

// An RLE file and the picture it gives: `rows` holds palette indexes top row
// first, -1 for pixels that no run reaches and so stay white.
GoodCase rleCase(std::string name, int bits, int entries, Bytes data, const std::vector<std::vector<int>> &rows)
{
    const int width = static_cast<int>(rows[0].size());
    const int height = static_cast<int>(rows.size());
    const std::vector<Bgrx> colours = palette(entries);
    DecodedPicture expected = test::blankPicture(width, height, {255, 255, 255, 0});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (const int i = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]; i >= 0)
                test::setPixel(expected, x, y, {colours[i][0], colours[i][1], colours[i][2], 0});
    return {std::move(name), rleFile(bits, std::move(data), width, height, entries), std::move(expected)};
}

// RLE8, 5 x 3: runs, an odd literal run (padded), end of line, a jump, end of
// bitmap.
GoodCase rle8Case()
{
    return rleCase("Rle8WithLiteralJumpAndSkippedPixels", 8, 4,
                   {2, 1, 0, 3, 2, 3, 1, 0, // bottom row: 1 1 | literal 2 3 1 + pad
                    0, 0, // end of line
                    1, 2, // middle row: 2
                    0, 2, 2, 1, // jump 2 right, 1 up
                    2, 3, // top row from x = 3: 3 3
                    0, 1}, // end of bitmap
                   {{-1, -1, -1, 3, 3}, {2, -1, -1, -1, -1}, {1, 1, 2, 3, 1}});
}

// RLE4, 8 x 2: an odd run of alternating nibbles, a literal of 5 nibbles
// (3 bytes plus padding), end of line, a jump, end of bitmap.
GoodCase rle4Case()
{
    return rleCase("Rle4WithLiteralJumpAndSkippedPixels", 4, 6,
                   {3, 0x12, 0, 5, 0x34, 0x50, 0x20, 0, // bottom row: 1 2 1 | literal 3 4 5 0 2 + pad
                    0, 0, // end of line
                    0, 2, 1, 0, // jump 1 right
                    4, 0x55, // top row from x = 1: 5 5 5 5
                    0, 1}, // end of bitmap
                   {{-1, 5, 5, 5, 5, -1, -1, -1}, {1, 2, 1, 3, 4, 5, 0, 2}});
}

std::vector<GoodCase> goodCases()
{
    std::vector<GoodCase> cases = {
        directCase("Info24BottomUpOddWidth", 24, k888),
        directCase("Info24TopDown", 24, k888, 3, 2, header(40, kRgb, true)),
        directCase("Info24OneByFive", 24, k888, 1, 5),
        directCase("Info24FiveByOne", 24, k888, 5, 1),
        directCase("Info32KeepsFourthByte", 32, k888),
        directCase("Info16DefaultIs555", 16, k555),
        directCase("Info16BitFields565", 16, k565, 3, 2, header(40, kBitFields)),
        directCase("Info16BitFields555", 16, k555, 3, 2, header(40, kBitFields)),
        directCase("Info32BitFields888", 32, k888, 3, 2, header(40, kBitFields)),
        directCase("Info32BitFields101010", 32, k101010, 3, 2, header(40, kBitFields)),
        directCase("V2BitFields565", 16, k565, 3, 2, header(52, kBitFields)),
        directCase("V3BitFields565TopDown", 16, k565, 3, 2, header(56, kBitFields, true)),
        directCase("V4Info24", 24, k888, 3, 2, header(108)),
        directCase("V5BitFields888TopDown", 32, k888, 3, 2, header(124, kBitFields, true)),
        directCase("Core24", 24, k888, 3, 2, header(12)),
        indexedCase("Info1Bit9x2", 1, 9, 2, 2),
        indexedCase("Info1BitTopDown", 1, 3, 2, 2, header(40, kRgb, true)),
        indexedCase("Info4Bit3x2", 4, 3, 2, 16),
        indexedCase("Info8Bit3x2", 8, 3, 2, 256),
        indexedCase("Core8Bit3ByteEntries", 8, 3, 2, 7, header(12)),
        indexedCase("V5Indexed8", 8, 3, 2, 11, header(124)),
        rle8Case(),
        rle4Case(),
    };
    // Short palettes: declared by biClrUsed, or cut short by the pixel offset.
    BmpLayout used = header(40);
    used.colorsUsed = 5;
    cases.push_back(indexedCase("Info8BitColorsUsed5", 8, 3, 2, 5, used));
    cases.push_back(indexedCase("Info4BitPaletteEndsAtPixelOffset", 4, 5, 3, 6));
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Bitmap, ExactPictureFiles, testing::ValuesIn(test::ofKind("bmp", goodCases())),
                         test::kFileName);

// ---- Damaged files ----

Bytes base24()
{
    return directCase("", 24, k888).bytes;
}

Bytes patched32(Bytes file, std::size_t at, std::uint32_t value)
{
    le::writeI32(&file[at], static_cast<std::int32_t>(value));
    return file;
}

Bytes patched16(Bytes file, std::size_t at, std::uint16_t value)
{
    file[at] = static_cast<std::uint8_t>(value);
    file[at + 1] = static_cast<std::uint8_t>(value >> 8);
    return file;
}

Bytes rle8(Bytes data, int width = 4, int height = 2)
{
    return rleFile(8, std::move(data), width, height);
}

Bytes rle4(Bytes data)
{
    return rleFile(4, std::move(data));
}

Bytes bitFields16(std::array<std::uint32_t, 3> masks)
{
    return directCase("", 16, masks, 3, 2, header(40, kBitFields)).bytes;
}

// The three masks after a 40-byte info header, all zero.
Bytes withoutMasks(const Bytes &bitFields)
{
    return patched32(patched32(patched32(bitFields, 54, 0), 58, 0), 62, 0);
}

std::vector<test::DamagedFile> damagedCases()
{
    const Bytes good = base24();
    BmpLayout shortPalette = header(40);
    shortPalette.colorsUsed = 2;
    const Bytes indexPastPalette = indexedCase("", 8, 3, 2, 3, shortPalette).bytes;
    const std::string incomplete = "文件头不完整";
    const std::string size = "图像尺寸无效";
    const std::string offset = "像素数据位置无效";
    const std::string truncated = "像素数据不完整";
    const std::string overrun = "RLE 数据超出图像范围";
    const std::string mask = "颜色掩码无效";
    return {
        {"EmptyFile", {}, incomplete},
        {"TruncatedFileHeader", cut(good, 10), incomplete},
        {"TruncatedInfoHeader", cut(good, 30), incomplete},
        {"NotABitmap", patched16(good, 0, 0x4D58), "不是位图文件"},
        {"HeaderSizeLiesLonger", cut(patched32(good, 14, 124), 100), incomplete},
        {"HeaderSizeUnknown64", patched32(good, 14, 64), "不支持的图像格式：位图信息头长度 64"},
        {"HeaderSizeHuge", patched32(good, 14, 0xFFFFFFFF), "位图信息头长度 4294967295"},
        {"ZeroWidth", patched32(good, 18, 0), size},
        {"ZeroHeight", patched32(good, 22, 0), size},
        {"NegativeWidth", patched32(good, 18, static_cast<std::uint32_t>(-3)), size},
        {"IntMinHeight", patched32(good, 22, static_cast<std::uint32_t>(INT_MIN)), size},
        {"HugeWidth", patched32(good, 18, 20001), "图像尺寸过大：20001 x 2（最大 20000 x 20000）"},
        {"HugeTopDownHeight", patched32(good, 22, static_cast<std::uint32_t>(-30000)), "图像尺寸过大"},
        {"HugeButLegalSidesWithoutData", patched32(patched32(good, 18, 20000), 22, 20000), truncated},
        {"BitCount0", patched16(good, 28, 0), "不支持的图像格式：每像素 0 位"},
        {"BitCount7", patched16(good, 28, 7), "每像素 7 位"},
        {"BitCount64", patched16(good, 28, 64), "每像素 64 位"},
        {"CompressionJpeg", patched32(good, 30, 4), "位图压缩方式 4"},
        {"CompressionUnknown", patched32(good, 30, 0x7FFFFFFF), "位图压缩方式"},
        {"Rle8With24Bits", patched32(good, 30, kRle8), "压缩方式与每像素 24 位不符"},
        {"BitFieldsWith24Bits", patched32(good, 30, kBitFields), "不符"},
        {"BitFieldsMasksMissing", cut(bitFields16(k565), 60), incomplete},
        {"MaskNotContiguous", bitFields16({0xF00F, 0x07E0, 0x001F}), mask},
        {"Mask16WiderThanPixel", bitFields16({0x1F800, 0x07E0, 0x001F}), mask},
        {"MasksAllZero16", withoutMasks(bitFields16(k565)), mask},
        {"MasksAllZero32", withoutMasks(directCase("", 32, k888, 3, 2, header(40, kBitFields)).bytes), mask},
        {"OffsetPastEnd", patched32(good, 10, 5000), offset},
        {"OffsetInsideHeader", patched32(good, 10, 20), offset},
        {"TruncatedPixelData", cut(good, good.size() - 5), truncated},
        {"PaletteIndexPastPalette", indexPastPalette, "调色板索引超出调色板"},
        {"Rle8RunPastRowEnd", rle8({5, 1, 0, 1}), overrun},
        {"Rle8LiteralPastRowEnd", rle8({0, 5, 1, 1, 1, 1, 1, 0, 0, 1}), overrun},
        {"Rle8JumpPastImage", rle8({0, 2, 1, 3, 0, 1}), overrun},
        {"Rle8EndOfLinePastImage", rle8({0, 0, 0, 0, 0, 0, 0, 1}), overrun},
        {"Rle8RunAfterLastRow", rle8({0, 0, 0, 0, 1, 1, 0, 1}), overrun},
        {"Rle8PaletteIndexPastPalette", rle8({2, 9, 0, 1}), "调色板索引超出调色板"},
        {"Rle8NoEndOfBitmap", rle8({4, 1, 0, 0, 4, 2}), truncated},
        {"Rle8LiteralTruncated", rle8({0, 4, 1, 1}), truncated},
        {"Rle8JumpTruncated", rle8({0, 2, 1}), truncated},
        {"Rle8EmptyData", rle8({}), truncated},
        {"Rle4RunPastRowEnd", rle4({5, 0x11, 0, 1}), overrun},
        {"Rle4LiteralPaletteIndexPastPalette", rle4({0, 3, 0x1F, 0x10, 0, 1}), "调色板索引超出调色板"},
        {"Rle4With8Bits", patched32(rle8({0, 1}), 30, kRle4), "不符"},
    };
}

INSTANTIATE_TEST_SUITE_P(Bitmap, DamagedPictureFiles, testing::ValuesIn(test::ofKind("bmp", damagedCases())),
                         test::kFileName);

// The padding of the last row may be missing: some writers leave it off.
TEST(BitmapReader, AcceptsLastRowWithoutPadding)
{
    GoodCase c = directCase("", 24, k888, 3, 2);
    c.bytes.resize(c.bytes.size() - 3);
    const Result<DecodedPicture> picture = decodeBitmap(c.bytes);
    ASSERT_TRUE(picture.isOk()) << picture.message();
    EXPECT_EQ(picture->pixels, c.expected.pixels);
}

// A 2-byte RLE file may legitimately describe a large picture: every pixel
// keeps the preset white.
TEST(BitmapReader, RleEndOfBitmapAloneGivesAWhitePicture)
{
    const Result<DecodedPicture> picture = decodeBitmap(rle8({0, 1}, 300, 200));
    ASSERT_TRUE(picture.isOk()) << picture.message();
    EXPECT_EQ(picture->width, 300);
    EXPECT_EQ(picture->height, 200);
    EXPECT_EQ(test::pixelAt(*picture, 299, 199), (Bgrx{255, 255, 255, 0}));
}

} // namespace
} // namespace pigmora
