#include "image/picturedecoder.h"

#include "image/decoderfixtures.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

namespace pigmora {
namespace {

using test::Bgrx;
using test::Bytes;
using test::cut;
using test::DamagedPictureFiles;
using test::ExactPictureFiles;
using test::JpegLayout;
using test::JpegSpace;

// 24 x 16 pixels in 3 x 2 flat blocks of 8 x 8: block edges fall on the
// codec's own block edges, so every block decodes nearly flat.
constexpr int kWidth = 24;
constexpr int kHeight = 16;

using Sample = std::vector<std::uint8_t>; // the components of one block colour

JpegLayout blockPicture(JpegSpace space, const std::array<Sample, 6> &blocks)
{
    JpegLayout layout;
    layout.width = kWidth;
    layout.height = kHeight;
    layout.space = space;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Sample &s = blocks[static_cast<std::size_t>(y / 8 * 3 + x / 8)];
            layout.samples.insert(layout.samples.end(), s.begin(), s.end());
        }
    return layout;
}

const std::array<Sample, 6> kRgbBlocks = {Sample{255, 0, 0},   Sample{0, 255, 0},    Sample{0, 0, 255},
                                          Sample{255, 255, 0}, Sample{30, 140, 200}, Sample{255, 255, 255}};

// Largest difference of any pixel from the colour of its block (red, green,
// blue); the fourth byte must be 0 everywhere.
int worstBlockDifference(const DecodedPicture &picture, const std::array<Sample, 6> &expectedRgb)
{
    int worst = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const Bgrx p = test::pixelAt(picture, x, y);
            const Sample &e = expectedRgb[static_cast<std::size_t>(y / 8 * 3 + x / 8)];
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(p[static_cast<std::size_t>(2 - c)] - e[static_cast<std::size_t>(c)]));
            if (p[3] != 0)
                return 1000;
        }
    return worst;
}

// ---- Colour spaces and modes ----

struct SpaceCase {
    std::string name;
    JpegLayout layout;
    std::array<Sample, 6> expectedRgb;
};

void PrintTo(const SpaceCase &c, std::ostream *os)
{
    *os << c.name;
}

// CMYK inks (0 = no ink) and the light they leave.
const std::array<Sample, 6> kInks = {Sample{0, 255, 255, 0}, Sample{255, 0, 255, 0},  Sample{0, 0, 0, 128},
                                     Sample{255, 255, 0, 0}, Sample{0, 128, 255, 64}, Sample{0, 0, 0, 0}};
const std::array<Sample, 6> kInkLight = {Sample{255, 0, 0}, Sample{0, 255, 0},  Sample{127, 127, 127},
                                         Sample{0, 0, 255}, Sample{191, 95, 0}, Sample{255, 255, 255}};

std::array<Sample, 6> inverted(std::array<Sample, 6> blocks)
{
    for (Sample &s : blocks)
        for (std::uint8_t &v : s)
            v = static_cast<std::uint8_t>(255 - v);
    return blocks;
}

std::vector<SpaceCase> spaceCases()
{
    JpegLayout progressive = blockPicture(JpegSpace::Rgb, kRgbBlocks);
    progressive.progressive = true;
    JpegLayout plainCmyk = blockPicture(JpegSpace::Cmyk, kInks);
    plainCmyk.adobeMarker = false;
    JpegLayout progressiveYcck = blockPicture(JpegSpace::Ycck, inverted(kInks));
    progressiveYcck.progressive = true;
    const std::array<Sample, 6> grays = {Sample{0}, Sample{60}, Sample{120}, Sample{180}, Sample{240}, Sample{255}};
    std::array<Sample, 6> grayRgb;
    std::transform(grays.begin(), grays.end(), grayRgb.begin(), [](const Sample &g) {
        return Sample{g[0], g[0], g[0]};
    });
    return {
        {"Baseline", blockPicture(JpegSpace::Rgb, kRgbBlocks), kRgbBlocks},
        {"Progressive", progressive, kRgbBlocks},
        {"Grayscale", blockPicture(JpegSpace::Gray, grays), grayRgb},
        {"CmykWithoutAdobeMarker", plainCmyk, kInkLight},
        {"AdobeInvertedCmyk", blockPicture(JpegSpace::Cmyk, inverted(kInks)), kInkLight},
        {"AdobeYcck", blockPicture(JpegSpace::Ycck, inverted(kInks)), kInkLight},
        {"ProgressiveAdobeYcck", progressiveYcck, kInkLight},
    };
}

class JpegColourSpaces : public testing::TestWithParam<SpaceCase>
{ };

TEST_P(JpegColourSpaces, DecodeToTheBlockColours)
{
    const SpaceCase &c = GetParam();
    const Bytes file = test::encodeJpeg(c.layout);
    const Result<DecodedPicture> picture = test::decodeAs("jpeg", c.name, file);
    ASSERT_TRUE(picture.isOk()) << picture.message();
    EXPECT_EQ(picture->width, kWidth);
    EXPECT_EQ(picture->height, kHeight);
    EXPECT_LE(worstBlockDifference(*picture, c.expectedRgb), 3);
}

// Cutting a good file anywhere gives a result or a refusal, never a crash.
TEST_P(JpegColourSpaces, EveryPrefixIsHandled)
{
    test::expectEveryPrefixHandled("jpeg", test::encodeJpeg(GetParam().layout), 7);
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegColourSpaces, testing::ValuesIn(spaceCases()),
                         [](const auto &param) { return param.param.name; });

// ---- EXIF orientation ----

struct OrientationCase {
    int orientation;
    bool bigEndian;
    const char *topLeftFrom; // which corner of the stored picture ends up top left
};

void PrintTo(const OrientationCase &c, std::ostream *os)
{
    *os << c.orientation << (c.bigEndian ? " MM" : " II");
}

// Where pixel (x, y) of the upright picture is in the stored one, for the
// stored picture's width w and height h.
std::pair<int, int> storedPosition(int orientation, int x, int y, int w, int h)
{
    switch (orientation) {
    case 2:
        return {w - 1 - x, y};
    case 3:
        return {w - 1 - x, h - 1 - y};
    case 4:
        return {x, h - 1 - y};
    case 5:
        return {y, x};
    case 6:
        return {y, h - 1 - x};
    case 7:
        return {w - 1 - y, h - 1 - x};
    case 8:
        return {w - 1 - y, x};
    default:
        return {x, y};
    }
}

class JpegOrientation : public testing::TestWithParam<OrientationCase>
{ };

TEST_P(JpegOrientation, PictureStandsAsTaken)
{
    const OrientationCase &c = GetParam();
    JpegLayout layout = blockPicture(JpegSpace::Rgb, kRgbBlocks);
    const Result<DecodedPicture> stored = decodeJpeg(test::encodeJpeg(layout));
    layout.app1 = test::exifOrientationBlock(c.orientation, c.bigEndian);
    const std::string name = "Orientation" + std::to_string(c.orientation) + (c.bigEndian ? "BigEndian" : "");
    const Result<DecodedPicture> upright = test::decodeAs("jpeg", name, test::encodeJpeg(layout));
    ASSERT_TRUE(stored.isOk() && upright.isOk()) << upright.message();

    const bool turned = c.orientation >= 5;
    ASSERT_EQ(upright->width, turned ? kHeight : kWidth);
    ASSERT_EQ(upright->height, turned ? kWidth : kHeight);
    for (int y = 0; y < upright->height; ++y)
        for (int x = 0; x < upright->width; ++x) {
            const auto [sx, sy] = storedPosition(c.orientation, x, y, kWidth, kHeight);
            ASSERT_EQ(test::pixelAt(*upright, x, y), test::pixelAt(*stored, sx, sy)) << x << "," << y;
        }

    // The same, said in corners: top left is red, top right blue, bottom
    // left yellow, bottom right white in the stored picture.
    const std::map<std::string, Bgrx> corners
        = {{"TL", {0, 0, 255, 0}}, {"TR", {255, 0, 0, 0}}, {"BL", {0, 255, 255, 0}}, {"BR", {255, 255, 255, 0}}};
    const Bgrx topLeft = test::pixelAt(*upright, 0, 0);
    const Bgrx want = corners.at(c.topLeftFrom);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(topLeft[static_cast<std::size_t>(i)], want[static_cast<std::size_t>(i)], 3) << c.topLeftFrom;
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegOrientation,
                         testing::Values(OrientationCase{1, false, "TL"}, OrientationCase{2, false, "TR"},
                                         OrientationCase{3, false, "BR"}, OrientationCase{4, false, "BL"},
                                         OrientationCase{5, false, "TL"}, OrientationCase{6, false, "BL"},
                                         OrientationCase{7, false, "BR"}, OrientationCase{8, false, "TR"},
                                         OrientationCase{3, true, "BR"}, OrientationCase{6, true, "BL"},
                                         OrientationCase{8, true, "TR"}));

// Damaged or odd EXIF blocks leave the picture as stored.
struct ExifCase {
    std::string name;
    std::size_t offset; // patched bytes within the block (orientation 6, little-endian)
    Bytes bytes;
};

void PrintTo(const ExifCase &c, std::ostream *os)
{
    *os << c.name;
}

class JpegIgnoredExif : public testing::TestWithParam<ExifCase>
{ };

TEST_P(JpegIgnoredExif, LeavesThePictureAsStored)
{
    const ExifCase &c = GetParam();
    JpegLayout layout = blockPicture(JpegSpace::Rgb, kRgbBlocks);
    Bytes block = test::exifOrientationBlock(6, false);
    block.resize(std::max(block.size(), c.offset + c.bytes.size()));
    std::copy(c.bytes.begin(), c.bytes.end(), block.begin() + static_cast<std::ptrdiff_t>(c.offset));
    if (c.name == "CutAfterTiffHeader")
        block.resize(14);
    layout.app1 = block;
    const Result<DecodedPicture> picture = test::decodeAs("jpeg", "Exif" + c.name, test::encodeJpeg(layout));
    ASSERT_TRUE(picture.isOk()) << picture.message();
    EXPECT_EQ(picture->width, kWidth);
    EXPECT_EQ(picture->height, kHeight);
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegIgnoredExif,
                         testing::Values(ExifCase{"NotExif", 3, {'g'}}, ExifCase{"BadByteOrder", 6, {'I', 'M'}},
                                         ExifCase{"Not42", 8, {43}},
                                         ExifCase{"IfdOffsetPastBlock", 10, {0xF0, 0xFF, 0xFF, 0xFF}},
                                         ExifCase{"EntryCountPastBlock", 14, {0xFF, 0xFF, 0x13, 0x01}},
                                         ExifCase{"TypeLong", 18, {4}}, ExifCase{"ValueNine", 24, {9}},
                                         ExifCase{"ValueZero", 24, {0}}, ExifCase{"CutAfterTiffHeader", 0, {}}),
                         [](const auto &param) { return param.param.name; });

// ---- Damaged files ----

// Offset of the first frame header (baseline or progressive).
std::size_t frameHeader(const Bytes &file)
{
    for (std::size_t i = 2; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2))
            return i;
    throw std::runtime_error("no frame header");
}

Bytes withSides(Bytes file, unsigned width, unsigned height)
{
    const std::size_t sof = frameHeader(file);
    file[sof + 5] = static_cast<std::uint8_t>(height >> 8);
    file[sof + 6] = static_cast<std::uint8_t>(height);
    file[sof + 7] = static_cast<std::uint8_t>(width >> 8);
    file[sof + 8] = static_cast<std::uint8_t>(width);
    return file;
}

// The file cut halfway through the data of its first scan.
Bytes cutInFirstScan(Bytes file)
{
    std::size_t scan = 0;
    while (!(file[scan] == 0xFF && file[scan + 1] == 0xDA))
        ++scan;
    std::size_t next = scan + 2;
    while (!(file[next] == 0xFF && file[next + 1] != 0 && file[next + 1] != 0xFF))
        ++next;
    return cut(std::move(file), (scan + next) / 2 + 8);
}

// A progressive file whose last scan is repeated far more often than any
// real file has scans.
Bytes withRepeatedLastScan(Bytes file, int copies)
{
    std::size_t lastScan = 0;
    for (std::size_t i = 2; i + 1 < file.size(); ++i)
        if (file[i] == 0xFF && file[i + 1] == 0xDA)
            lastScan = i;
    const Bytes scan(file.begin() + static_cast<std::ptrdiff_t>(lastScan), file.end() - 2);
    Bytes out(file.begin(), file.end() - 2);
    for (int i = 0; i < copies; ++i)
        out.insert(out.end(), scan.begin(), scan.end());
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

std::vector<test::DamagedFile> damagedCases()
{
    const Bytes baseline = test::encodeJpeg(blockPicture(JpegSpace::Rgb, kRgbBlocks));
    JpegLayout layout = blockPicture(JpegSpace::Rgb, kRgbBlocks);
    layout.progressive = true;
    const Bytes progressive = test::encodeJpeg(layout);
    Bytes badMarkerLength = baseline;
    badMarkerLength[frameHeader(baseline) + 3] = 1;
    const std::string header = "文件头不完整";
    const std::string pixels = "像素数据不完整";
    const std::string undecodable = "图像文件已损坏：JPEG 数据无法解码（";
    return {
        {"Empty", {}, header},
        {"OnlyStartOfImage", {0xFF, 0xD8}, header},
        {"NotAJpeg", {'h', 'e', 'l', 'l', 'o', 0, 0, 0}, undecodable + "Not a JPEG file"},
        {"TruncatedHeader", cut(baseline, 100), header},
        {"TruncatedScan", cutInFirstScan(baseline), pixels},
        {"TruncatedProgressiveScan", cutInFirstScan(progressive), pixels},
        {"ProgressiveCutInLastScan", cut(progressive, progressive.size() - 10), pixels},
        {"HugeDimensions", withSides(baseline, 30000, 16), "图像尺寸过大：30000 x 16（最大 20000 x 20000）"},
        // Fewer than 2 bits a block: refused before the rows are allocated.
        {"DimensionsPastItsData", withSides(baseline, 20000, 20000), pixels},
        {"ZeroHeight", withSides(baseline, 24, 0), "图像尺寸无效"},
        {"ZeroWidth", withSides(baseline, 0, 16), "图像尺寸无效"},
        {"BadFrameHeaderLength", badMarkerLength, undecodable},
        {"TooManyScans", withRepeatedLastScan(progressive, 600), "JPEG 扫描段过多"},
    };
}

INSTANTIATE_TEST_SUITE_P(Jpeg, DamagedPictureFiles, testing::ValuesIn(test::ofKind("jpeg", damagedCases())),
                         test::kFileName);

// The end marker carries no pixels: a file that lacks only it is complete.
TEST(JpegDecoder, MissingEndMarkerAfterCompleteDataIsAccepted)
{
    const Bytes file = test::encodeJpeg(blockPicture(JpegSpace::Rgb, kRgbBlocks));
    const Result<DecodedPicture> whole = decodeJpeg(file);
    const Result<DecodedPicture> withoutEnd = decodeJpeg(cut(file, file.size() - 2));
    ASSERT_TRUE(whole.isOk() && withoutEnd.isOk()) << withoutEnd.message();
    EXPECT_EQ(withoutEnd->pixels, whole->pixels);
}

// libjpeg's defaults give exactly the pixels of the reference bitmap.
TEST(JpegDecoder, SamplePhotoMatchesItsReferenceBitmap)
{
    const std::filesystem::path data = PIGMORA_TEST_DATA_DIR;
    const Result<DecodedPicture> photo = decodePictureFile(data / "sample-photo.jpg");
    const Result<DecodedPicture> reference = decodePictureFile(data / "sample-photo.bmp");
    ASSERT_TRUE(photo.isOk()) << photo.message();
    ASSERT_TRUE(reference.isOk()) << reference.message();
    EXPECT_EQ(photo->width, 500);
    EXPECT_EQ(photo->height, 667);
    EXPECT_EQ(photo->width, reference->width);
    EXPECT_EQ(photo->height, reference->height);
    EXPECT_TRUE(photo->pixels == reference->pixels);
}

} // namespace
} // namespace pigmora
