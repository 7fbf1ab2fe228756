#include "image/picturedecoder.h"

#include "image/decoderfixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <png.h>

namespace pigmora {
namespace {

using test::Bgrx;
using test::Bytes;
using test::cut;
using test::DamagedPictureFiles;
using test::ExactPictureFiles;
using test::PngLayout;

struct PngCase {
    std::string name;
    PngLayout layout;
    DecodedPicture expected;
};

enum class Transparency { None, Table, Colour };

int channelsOf(int colorType)
{
    switch (colorType) {
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return 2;
    case PNG_COLOR_TYPE_RGB:
        return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        return 4;
    default:
        return 1;
    }
}

// Stored samples to 8 bits: low depths widen exactly, 16 bits round.
int to8(unsigned v, int depth)
{
    return depth == 16 ? static_cast<int>(std::lround(v / 257.0)) : static_cast<int>(v * 255 / ((1u << depth) - 1));
}

std::uint8_t overWhite(int colour, int alpha)
{
    return static_cast<std::uint8_t>(std::lround((colour * alpha + 255.0 * (255 - alpha)) / 255.0));
}

// A picture of varied samples in the given format and what it must decode to:
// 8-bit blue, green, red composited over white, fourth byte 0.
PngCase pngCase(std::string name, int colorType, int depth, Transparency transparency = Transparency::None,
                bool interlaced = false)
{
    PngCase c{std::move(name), {}, {}};
    PngLayout &layout = c.layout;
    layout.width = interlaced ? 9 : 5;
    layout.height = interlaced ? 9 : 3;
    layout.colorType = colorType;
    layout.bitDepth = depth;
    layout.interlaced = interlaced;
    const unsigned max = (1u << depth) - 1;
    const int channels = channelsOf(colorType);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        for (unsigned i = 0; i <= max; ++i) {
            layout.palette.push_back({static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i * 11),
                                      static_cast<std::uint8_t>(i * 5)});
            if (transparency == Transparency::Table)
                layout.paletteAlpha.push_back(static_cast<std::uint8_t>(i * 29 + 1));
        }
    }
    const auto sample = [&](int x, int y, int ch) {
        return depth == 16 ? static_cast<unsigned>(x * 7919 + y * 10427 + ch * 4243 + x * y * 331) % 65536
                           : static_cast<unsigned>(x * 7 + y * 13 + ch * 5 + x * y) % (max + 1);
    };
    if (transparency == Transparency::Colour)
        layout.transparentColor
            = {static_cast<std::uint16_t>(sample(0, 0, 0)), static_cast<std::uint16_t>(sample(0, 0, 1)),
               static_cast<std::uint16_t>(sample(0, 0, 2))};

    c.expected = test::blankPicture(layout.width, layout.height);
    for (int y = 0; y < layout.height; ++y) {
        Bytes row(static_cast<std::size_t>((layout.width * channels * depth + 7) / 8));
        for (int x = 0; x < layout.width; ++x) {
            unsigned v[4] = {};
            for (int ch = 0; ch < channels; ++ch) {
                v[ch] = sample(x, y, ch);
                const int bit = (x * channels + ch) * depth;
                if (depth == 16) {
                    row[static_cast<std::size_t>(bit / 8)] = static_cast<std::uint8_t>(v[ch] >> 8);
                    row[static_cast<std::size_t>(bit / 8 + 1)] = static_cast<std::uint8_t>(v[ch]);
                } else {
                    row[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(v[ch] << (8 - depth - bit % 8));
                }
            }
            int rgb[3];
            int alpha = 255;
            if (colorType == PNG_COLOR_TYPE_PALETTE) {
                for (int i = 0; i < 3; ++i)
                    rgb[i] = layout.palette[v[0]][static_cast<std::size_t>(i)];
                if (transparency == Transparency::Table)
                    alpha = layout.paletteAlpha[v[0]];
            } else {
                const bool gray = channels <= 2;
                for (int i = 0; i < 3; ++i)
                    rgb[i] = to8(v[gray ? 0 : i], depth);
                if (channels == 2 || channels == 4)
                    alpha = to8(v[channels - 1], depth);
                if (transparency == Transparency::Colour) {
                    const auto &t = *layout.transparentColor;
                    if (v[0] == t[0] && (gray || (v[1] == t[1] && v[2] == t[2])))
                        alpha = 0;
                }
            }
            test::setPixel(c.expected, x, y,
                           {overWhite(rgb[2], alpha), overWhite(rgb[1], alpha), overWhite(rgb[0], alpha), 0});
        }
        layout.rows.push_back(std::move(row));
    }
    return c;
}

std::vector<PngCase> pngCases()
{
    const auto t = Transparency::Table;
    const auto k = Transparency::Colour;
    return {
        pngCase("Gray1", PNG_COLOR_TYPE_GRAY, 1),
        pngCase("Gray2", PNG_COLOR_TYPE_GRAY, 2),
        pngCase("Gray4", PNG_COLOR_TYPE_GRAY, 4),
        pngCase("Gray8", PNG_COLOR_TYPE_GRAY, 8),
        pngCase("Gray16", PNG_COLOR_TYPE_GRAY, 16),
        pngCase("Gray8TransparentColour", PNG_COLOR_TYPE_GRAY, 8, k),
        pngCase("GrayAlpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8),
        pngCase("GrayAlpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16),
        pngCase("Palette1", PNG_COLOR_TYPE_PALETTE, 1),
        pngCase("Palette2", PNG_COLOR_TYPE_PALETTE, 2),
        pngCase("Palette4", PNG_COLOR_TYPE_PALETTE, 4),
        pngCase("Palette8", PNG_COLOR_TYPE_PALETTE, 8),
        pngCase("Palette8WithAlphaTable", PNG_COLOR_TYPE_PALETTE, 8, t),
        pngCase("Rgb8", PNG_COLOR_TYPE_RGB, 8),
        pngCase("Rgb16", PNG_COLOR_TYPE_RGB, 16),
        pngCase("Rgb8TransparentColour", PNG_COLOR_TYPE_RGB, 8, k),
        pngCase("Rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8),
        pngCase("Rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16),
        pngCase("InterlacedRgb8", PNG_COLOR_TYPE_RGB, 8, Transparency::None, true),
        pngCase("InterlacedPalette4", PNG_COLOR_TYPE_PALETTE, 4, t, true),
        pngCase("InterlacedRgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16, Transparency::None, true),
    };
}

std::vector<test::ExactFile> exactFiles()
{
    std::vector<test::ExactFile> files;
    for (PngCase &c : pngCases())
        files.push_back({c.name, test::encodePng(c.layout), std::move(c.expected)});
    return files;
}

INSTANTIATE_TEST_SUITE_P(Png, ExactPictureFiles, testing::ValuesIn(test::ofKind("png", exactFiles())), test::kFileName);

// ---- Damaged files ----

constexpr std::size_t kHeaderChunk = 8; // IHDR right after the signature

// IHDR's width and height replaced, its CRC made right again.
Bytes withSides(Bytes file, std::uint32_t width, std::uint32_t height)
{
    for (int i = 0; i < 4; ++i) {
        file[kHeaderChunk + 8 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        file[kHeaderChunk + 12 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    test::fixPngChunkCrc(file, kHeaderChunk);
    return file;
}

std::size_t chunkOffset(const Bytes &file, std::string_view type)
{
    for (std::size_t at = 8; at + 8 <= file.size();) {
        if (std::string_view(reinterpret_cast<const char *>(&file[at + 4]), 4) == type)
            return at;
        const std::size_t length
            = static_cast<std::size_t>(file[at]) << 24 | file[at + 1] << 16 | file[at + 2] << 8 | file[at + 3];
        at += 12 + length;
    }
    throw std::runtime_error("no such chunk");
}

std::vector<test::DamagedFile> damagedCases()
{
    const Bytes good = test::encodePng(pngCase("", PNG_COLOR_TYPE_RGB, 8).layout);
    const std::size_t data = chunkOffset(good, "IDAT");
    Bytes badCrc = good;
    badCrc[kHeaderChunk + 9] ^= 1;
    Bytes badDeflate = good;
    for (std::size_t i = data + 10; i < data + 16; ++i)
        badDeflate[i] = 0xFF;
    test::fixPngChunkCrc(badDeflate, data);
    Bytes noPalette = test::encodePng(pngCase("", PNG_COLOR_TYPE_PALETTE, 8).layout);
    const std::size_t palette = chunkOffset(noPalette, "PLTE");
    noPalette.erase(noPalette.begin() + static_cast<std::ptrdiff_t>(palette),
                    noPalette.begin() + static_cast<std::ptrdiff_t>(chunkOffset(noPalette, "IDAT")));
    const std::string undecodable = "图像文件已损坏：PNG 数据无法解码（";
    return {
        {"Empty", {}, "文件头不完整"},
        {"NotAPng", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, undecodable},
        {"TruncatedHeader", cut(good, 20), "文件头不完整"},
        {"TruncatedPixelData", cut(good, data + 12), "像素数据不完整"},
        {"HeaderCrcWrong", badCrc, undecodable},
        {"CorruptDeflateData", badDeflate, undecodable},
        {"HugeDimensions", withSides(good, 30000, 3), "图像尺寸过大：30000 x 3"},
        // More samples than deflate can unpack from the whole file: refused
        // before 1.6 GB of rows are allocated.
        {"DimensionsPastItsData", withSides(good, 20000, 20000), "像素数据不完整"},
        {"ZeroWidth", withSides(good, 0, 3), undecodable},
        {"WidthPastFormatLimit", withSides(good, 0x80000000u, 3), undecodable},
        {"PaletteMissing", noPalette, undecodable},
    };
}

INSTANTIATE_TEST_SUITE_P(Png, DamagedPictureFiles, testing::ValuesIn(test::ofKind("png", damagedCases())),
                         test::kFileName);

} // namespace
} // namespace pigmora
