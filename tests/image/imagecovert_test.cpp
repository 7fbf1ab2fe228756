#include "image/graykernel.h"
#include "image/imagecovert.h"
#include "image/imagedibobject.h"
#include "image/picturescaler.h"
#include "image/pixelreference.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

namespace pigmora {
namespace {

using test::blueRow;
using test::bluesOf;
using test::makePicture;
using test::Pixels;
using test::pixelsOf;

// ---- Gray ----

struct GrayCase {
    int blue, green, red, expected;
};

void PrintTo(const GrayCase &c, std::ostream *os)
{
    *os << "blue " << c.blue << " green " << c.green << " red " << c.red;
}

class GrayLevel : public testing::TestWithParam<GrayCase>
{ };

TEST_P(GrayLevel, SetsBlueGreenRedAndKeepsTheFourthByte)
{
    const GrayCase c = GetParam();
    CImageDibObject picture;
    makePicture(picture, 1, 1,
                {static_cast<std::uint8_t>(c.blue), static_cast<std::uint8_t>(c.green),
                 static_cast<std::uint8_t>(c.red), 0x7F});
    CImageCovert covert;
    ASSERT_TRUE(covert.gray(picture));
    const auto v = static_cast<std::uint8_t>(c.expected);
    EXPECT_EQ(pixelsOf(picture), (Pixels{v, v, v, 0x7F}));
}

INSTANTIATE_TEST_SUITE_P(Examples, GrayLevel,
                         testing::Values(GrayCase{255, 255, 255, 255}, // white stays white
                                         GrayCase{0, 0, 255, 76}, // pure red
                                         GrayCase{255, 0, 0, 29}, // pure blue
                                         GrayCase{0, 1, 187, 56}, // a .5 tie: 57 in double
                                         GrayCase{0, 0, 0, 0}, GrayCase{10, 20, 30, 22}));

// Every colour once, in a 4096 x 4096 block.
Pixels allColours()
{
    Pixels p(std::size_t{1} << 26);
    for (std::uint32_t c = 0; c < (1u << 24); ++c) {
        p[4 * c] = static_cast<std::uint8_t>(c);
        p[4 * c + 1] = static_cast<std::uint8_t>(c >> 8);
        p[4 * c + 2] = static_cast<std::uint8_t>(c >> 16);
        p[4 * c + 3] = static_cast<std::uint8_t>(c >> 5);
    }
    return p;
}

void expectPlainGrayOnEveryColour(void (*kernel)(const std::uint8_t *, std::uint8_t *, std::size_t))
{
    const Pixels src = allColours();
    Pixels dst(src.size());
    kernel(src.data(), dst.data(), src.size() / 4);
    int mismatches = 0;
    for (std::size_t i = 0; i < src.size(); i += 4) {
        const std::uint8_t v = test::referenceGray(src[i], src[i + 1], src[i + 2]);
        if (dst[i] != v || dst[i + 1] != v || dst[i + 2] != v || dst[i + 3] != src[i + 3]) {
            if (++mismatches <= 5)
                ADD_FAILURE() << "blue " << int(src[i]) << " green " << int(src[i + 1]) << " red " << int(src[i + 2])
                              << ": " << int(dst[i]) << " instead of " << int(v);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(GrayKernel, PortableKernelMatchesThePlainFormulaOnAllColours)
{
    expectPlainGrayOnEveryColour(gray::grayPixelsPortable);
}

TEST(GrayKernel, Avx2KernelMatchesThePlainFormulaOnAllColours)
{
    if (!gray::avx2Available())
        GTEST_SKIP() << "no AVX2 on this processor";
    expectPlainGrayOnEveryColour(gray::grayPixelsAvx2);
}

TEST(GrayKernel, OddCountsAndUnalignedBuffersAreConvertedToTheLastPixel)
{
    std::mt19937 random(7);
    for (std::size_t count : {1u, 7u, 8u, 9u, 23u}) {
        Pixels src = test::randomPixels(random, static_cast<int>(count) + 1, 1);
        Pixels expected(src.begin() + 4, src.end());
        gray::grayPixelsPortable(expected.data(), expected.data(), count);
        Pixels actual(src.begin() + 4, src.end());
        gray::grayPixels(src.data() + 4, actual.data(), count); // read from an offset buffer
        EXPECT_EQ(actual, expected) << count << " pixels";
    }
}

TEST(Gray, RefusesPicturesThatHoldNoPicture)
{
    CImageCovert covert;
    CImageDibObject empty;
    EXPECT_FALSE(covert.gray(empty));

    CImageDibObject allocated; // state 2: blank, not loaded
    ASSERT_TRUE(allocated.createBlank(2, 2, 32, true));
    EXPECT_FALSE(covert.gray(allocated));

    CImageDibObject eightBit;
    ASSERT_TRUE(eightBit.createBlank(2, 2, 8, false));
    eightBit.setState(CImageDibObject::kStateHoldsPicture);
    EXPECT_FALSE(covert.gray(eightBit));
}

TEST(Gray, ConvertsItsOwnRowsInPlace)
{
    CImageDibObject picture;
    makePicture(picture, 2, 1, {0, 0, 255, 0, 255, 0, 0, 0});
    const std::uint8_t *rows = picture.pixels();
    CImageCovert covert;
    ASSERT_TRUE(covert.gray(picture));
    EXPECT_EQ(picture.pixels(), rows);
    EXPECT_EQ(pixelsOf(picture), (Pixels{76, 76, 76, 0, 29, 29, 29, 0}));
}

TEST(Gray, ConvertingACopyLeavesTheOriginalAndItsBitmapAlone)
{
    CImageDibObject original;
    makePicture(original, 2, 1, {0, 0, 255, 0, 255, 0, 0, 0});
    const PictureBitmap bitmap = original.pictureToBitmap();
    CImageDibObject copy;
    copy.copyFrom(original);

    CImageCovert covert;
    ASSERT_TRUE(covert.gray(copy));
    EXPECT_EQ(pixelsOf(copy), (Pixels{76, 76, 76, 0, 29, 29, 29, 0}));
    EXPECT_EQ(pixelsOf(original), (Pixels{0, 0, 255, 0, 255, 0, 0, 0}));
    EXPECT_EQ(bitmap.colorAt(0, 0), (RgbColor{255, 0, 0}));
}

// ---- Fill ----

TEST(FillPicture, RepeatsTheFourBytesOverANewPictureInState3)
{
    CImageDibObject picture;
    makePicture(picture, 1, 1, {1, 2, 3, 4});
    CImageCovert covert;
    ASSERT_TRUE(covert.fillPicture(picture, 3, 5, 9, 8, 7, 6));
    EXPECT_EQ(picture.width(), 3);
    EXPECT_EQ(picture.height(), 5);
    EXPECT_EQ(picture.state(), CImageDibObject::kStateHoldsPicture);
    Pixels expected;
    for (int i = 0; i < 15; ++i)
        expected.insert(expected.end(), {9, 8, 7, 6});
    EXPECT_EQ(pixelsOf(picture), expected);
}

TEST(FillPicture, AnUnholdableSizeLeavesThePictureAsItWas)
{
    CImageDibObject picture;
    makePicture(picture, 1, 1, {1, 2, 3, 4});
    CImageCovert covert;
    EXPECT_FALSE(covert.fillPicture(picture, INT_MAX, INT_MAX, 0, 0, 0, 0));
    EXPECT_FALSE(covert.fillPicture(picture, 0, 3, 0, 0, 0, 0));
    EXPECT_EQ(pixelsOf(picture), (Pixels{1, 2, 3, 4}));
}

// ---- Scale: the worked examples ----

struct ScaleExample {
    const char *name;
    std::vector<int> blues;
    int width;
    std::vector<int> expected;
};

class ScaleRow : public testing::TestWithParam<ScaleExample>
{ };

TEST_P(ScaleRow, GivesTheWorkedValues)
{
    const ScaleExample &c = GetParam();
    Pixels row;
    for (int b : c.blues)
        row.insert(row.end(), {static_cast<std::uint8_t>(b), 0, 0, 0});
    CImageDibObject source;
    makePicture(source, static_cast<int>(c.blues.size()), 1, row);
    CImageDibObject target;
    CImageCovert covert;
    ASSERT_TRUE(covert.scale(target, source, c.width, 1));
    EXPECT_EQ(target.width(), c.width);
    EXPECT_EQ(target.state(), CImageDibObject::kStateHoldsPicture);
    EXPECT_EQ(bluesOf(target), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, ScaleRow,
                         testing::Values(ScaleExample{"EnlargeTruncatesTheHalf", {10, 11}, 3, {10, 10, 11}},
                                         ScaleExample{"ReduceRoundsTheHalfUp", {10, 11}, 1, {11}},
                                         ScaleExample{"ReduceSplitsTheMiddlePixel", {30, 60, 90}, 2, {40, 80}}),
                         [](const testing::TestParamInfo<ScaleExample> &p) { return std::string(p.param.name); });

TEST(Scale, ToTheSameSizeCopiesBlueGreenRedAndClearsTheFourthByte)
{
    std::mt19937 random(1);
    const Pixels rows = test::randomPixels(random, 7, 5);
    CImageDibObject source;
    makePicture(source, 7, 5, rows);
    CImageDibObject target;
    CImageCovert covert;
    ASSERT_TRUE(covert.scale(target, source, 7, 5));
    Pixels expected = rows;
    for (std::size_t i = 3; i < expected.size(); i += 4)
        expected[i] = 0;
    EXPECT_EQ(pixelsOf(target), expected);
}

TEST(Scale, OneAxisGrowingWhileTheOtherShrinksIsRefusedAndTheTargetKept)
{
    CImageDibObject source;
    makePicture(source, 4, 4, Pixels(64, 100));
    CImageDibObject target;
    makePicture(target, 1, 1, {1, 2, 3, 4});
    CImageCovert covert;
    EXPECT_FALSE(covert.scale(target, source, 5, 3));
    EXPECT_FALSE(covert.scale(target, source, 3, 5));
    EXPECT_FALSE(covert.enlarge(target, source, 3, 4)); // the paths refuse the wrong direction
    EXPECT_FALSE(covert.reduce(target, source, 4, 5));
    EXPECT_EQ(pixelsOf(target), (Pixels{1, 2, 3, 4}));
}

TEST(Scale, RefusesSourcesThatHoldNoPictureAndUnusableSizes)
{
    CImageCovert covert;
    CImageDibObject target;
    CImageDibObject empty;
    EXPECT_FALSE(covert.scale(target, empty, 2, 2));
    CImageDibObject allocated;
    ASSERT_TRUE(allocated.createBlank(2, 2, 32, true));
    EXPECT_FALSE(covert.scale(target, allocated, 4, 4));
    EXPECT_FALSE(covert.scale(target, allocated, 1, 1));

    CImageDibObject source;
    makePicture(source, 2, 2, Pixels(16, 9));
    EXPECT_FALSE(covert.scale(target, source, -1, 2));
    // Absurd sizes are refused before any work: a row longer than an int
    // can count, a block larger than the memory limit.
    EXPECT_FALSE(covert.scale(target, source, INT_MAX, INT_MAX));
    EXPECT_FALSE(covert.scale(target, source, INT_MAX / 4 + 1, 2));
    const auto overLimit = static_cast<int>(maxPictureBytes() / (std::size_t{4} << 20)) + 1;
    EXPECT_FALSE(covert.scale(target, source, 1 << 20, overLimit));
    EXPECT_FALSE(target.hasBlock());
}

TEST(Scale, ASideOfZeroBecomesOnePixel)
{
    CImageDibObject source;
    makePicture(source, 4, 2, blueRow({10, 20, 30, 40, 50, 60, 70, 80}));
    CImageDibObject target;
    CImageCovert covert;
    ASSERT_TRUE(covert.scale(target, source, 0, 0));
    EXPECT_EQ(target.width(), 1);
    EXPECT_EQ(target.height(), 1);
    EXPECT_EQ(bluesOf(target), std::vector<int>{45});
    ASSERT_TRUE(covert.scale(target, source, 2, 0));
    EXPECT_EQ(bluesOf(target), (std::vector<int>{35, 55}));
}

TEST(Scale, APictureCanBeScaledIntoItself)
{
    CImageDibObject picture;
    makePicture(picture, 2, 1, blueRow({10, 11}));
    CImageCovert covert;
    ASSERT_TRUE(covert.scale(picture, picture, 3, 1));
    EXPECT_EQ(bluesOf(picture), (std::vector<int>{10, 10, 11}));
}

// ---- Scale: optimised loops against the plain algorithms ----

struct SizeCase {
    int srcWidth, srcHeight, dstWidth, dstHeight;
};

void PrintTo(const SizeCase &c, std::ostream *os)
{
    *os << c.srcWidth << " x " << c.srcHeight << " to " << c.dstWidth << " x " << c.dstHeight;
}

class ScaleMatchesPlainAlgorithm : public testing::TestWithParam<SizeCase>
{ };

TEST_P(ScaleMatchesPlainAlgorithm, OnRandomPixels)
{
    const SizeCase c = GetParam();
    std::mt19937 random(static_cast<unsigned>(c.srcWidth * 7919 + c.srcHeight * 31 + c.dstWidth * 17 + c.dstHeight));
    const Pixels rows = test::randomPixels(random, c.srcWidth, c.srcHeight);
    const bool grows = c.dstWidth > c.srcWidth || c.dstHeight > c.srcHeight;
    const Pixels expected = grows ? test::referenceEnlarge(rows, c.srcWidth, c.srcHeight, c.dstWidth, c.dstHeight)
                                  : test::referenceReduce(rows, c.srcWidth, c.srcHeight, c.dstWidth, c.dstHeight);
    CImageDibObject source;
    makePicture(source, c.srcWidth, c.srcHeight, rows);
    CImageDibObject target;
    CImageCovert covert;
    ASSERT_TRUE(covert.scale(target, source, c.dstWidth, c.dstHeight));
    ASSERT_EQ(target.width(), c.dstWidth);
    ASSERT_EQ(target.height(), c.dstHeight);
    EXPECT_TRUE(pixelsOf(target) == expected);
}

TEST(ScaleSweep, ManyRandomSizesMatchThePlainAlgorithms)
{
    // Ordering faults change a float in its last bit, which shows only where
    // it straddles a whole number: many sizes give them many chances.
    std::mt19937 random(99);
    std::uniform_int_distribution<int> side(1, 90);
    CImageCovert covert;
    int mismatches = 0;
    for (int i = 0; i < 300; ++i) {
        const int w = side(random);
        const int h = side(random);
        const bool grow = i % 2 == 1;
        const int a = grow ? std::uniform_int_distribution<int>(w, 3 * w)(random)
                           : std::uniform_int_distribution<int>(1, w)(random);
        const int b = grow ? std::uniform_int_distribution<int>(h, 3 * h)(random)
                           : std::uniform_int_distribution<int>(1, h)(random);
        const Pixels rows = test::randomPixels(random, w, h);
        CImageDibObject source;
        makePicture(source, w, h, rows);
        CImageDibObject target;
        ASSERT_TRUE(covert.scale(target, source, a, b));
        const Pixels expected
            = grow ? test::referenceEnlarge(rows, w, h, a, b) : test::referenceReduce(rows, w, h, a, b);
        if (pixelsOf(target) != expected && ++mismatches <= 5)
            ADD_FAILURE() << w << " x " << h << " to " << a << " x " << b;
    }
    EXPECT_EQ(mismatches, 0);
}

std::vector<SizeCase> sizeCases()
{
    std::vector<SizeCase> cases = {// 1 x N and N x 1
                                   {1, 1, 1, 1},
                                   {1, 9, 1, 4},
                                   {1, 9, 1, 23},
                                   {9, 1, 4, 1},
                                   {9, 1, 23, 1},
                                   {1, 1, 8, 8},
                                   {1, 13, 5, 13},
                                   // primes
                                   {7, 13, 3, 5},
                                   {13, 7, 29, 11},
                                   {31, 17, 31, 17},
                                   {17, 31, 37, 41},
                                   {97, 89, 41, 43},
                                   // the zoom factors 0.2 ... 8 on an odd-sized picture (trunc of 53 x 37 x z)
                                   {53, 37, 10, 7},
                                   {53, 37, 13, 9},
                                   {53, 37, 26, 18},
                                   {53, 37, 39, 27},
                                   {53, 37, 66, 46},
                                   {53, 37, 79, 55},
                                   {53, 37, 92, 64},
                                   {53, 37, 106, 74},
                                   {53, 37, 159, 111},
                                   {53, 37, 212, 148},
                                   {53, 37, 318, 222},
                                   {53, 37, 424, 296},
                                   // one axis kept
                                   {40, 30, 40, 7},
                                   {40, 30, 99, 30},
                                   // larger pictures, where rounding differences have more chances to show
                                   {160, 120, 32, 24},
                                   {160, 120, 120, 90},
                                   {161, 121, 80, 60},
                                   {160, 120, 200, 150},
                                   {159, 119, 278, 208},
                                   {301, 203, 60, 40},
                                   {301, 203, 225, 152},
                                   {301, 203, 97, 61},
                                   {301, 203, 376, 253},
                                   {301, 203, 526, 355},
                                   {301, 203, 602, 406},
                                   {299, 199, 897, 597}};
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Sizes, ScaleMatchesPlainAlgorithm, testing::ValuesIn(sizeCases()),
                         [](const testing::TestParamInfo<SizeCase> &p) {
                             const SizeCase &c = p.param;
                             return std::to_string(c.srcWidth) + "x" + std::to_string(c.srcHeight) + "_to_"
                                 + std::to_string(c.dstWidth) + "x" + std::to_string(c.dstHeight);
                         });

} // namespace
} // namespace pigmora
