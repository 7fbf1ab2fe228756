#pragma once

// Builders of small picture files for the decoder tests: bitmaps byte by byte,
// JPEG and PNG through the encoding side of libjpeg and libpng.

#include "image/picturedecoder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pigmora::test {

using Bytes = std::vector<std::uint8_t>;
using Bgrx = std::array<std::uint8_t, 4>; // blue, green, red, fourth byte

// A picture of the given size with every pixel {255, 255, 255, 0} or black.
DecodedPicture blankPicture(int width, int height, Bgrx fill = {0, 0, 0, 0});
Bgrx pixelAt(const DecodedPicture &picture, int x, int y);
void setPixel(DecodedPicture &picture, int x, int y, Bgrx value);

// Runs the decoder of the given kind ("bmp", "jpeg", "png"). When the
// environment variable PIGMORA_FUZZ_CORPUS names a folder, the input is also
// written there as <kind>/<name>.<kind>: the tests' inputs seed the fuzzers.
Result<DecodedPicture> decodeAs(std::string_view kind, std::string_view name, std::span<const std::uint8_t> bytes);

Bytes cut(Bytes file, std::size_t size);

// Decodes every prefix of a file (every step-th): each gives a picture or a
// refusal with a reason, never a crash.
void expectEveryPrefixHandled(std::string_view kind, const Bytes &file, std::size_t step = 1);

// ---- Tables of files shared by the decoder tests ----

// A file and exactly the picture it must give.
struct ExactFile {
    std::string name;
    Bytes bytes;
    DecodedPicture expected;
    std::string kind = {};
};

// A file that must be refused, and a part of the message that says why.
struct DamagedFile {
    std::string name;
    Bytes bytes;
    std::string message;
    std::string kind = {};
};

template<typename File>
std::vector<File> ofKind(std::string_view kind, std::vector<File> files)
{
    for (File &f : files)
        f.kind = kind;
    return files;
}

void PrintTo(const ExactFile &file, std::ostream *os);
void PrintTo(const DamagedFile &file, std::ostream *os);

inline constexpr auto kFileName = [](const auto &param) { return param.param.name; };

class ExactPictureFiles : public testing::TestWithParam<ExactFile>
{ };

class DamagedPictureFiles : public testing::TestWithParam<DamagedFile>
{ };

// ---- Bitmaps ----

struct BmpLayout {
    std::uint32_t headerSize = 40; // 12 writes an OS/2 core header
    std::int32_t width = 0;
    std::int32_t height = 0; // negative: top row first
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::vector<Bgrx> palette; // 3 bytes an entry with a core header, else 4
    std::array<std::uint32_t, 3> masks{}; // red, green, blue; written for bit fields
    Bytes pixelData;
    std::optional<std::uint32_t> pixelOffset; // default: right after the palette
};

Bytes buildBmp(const BmpLayout &layout);

// Rows of palette indexes (top row first in `indexes`) packed at `bits` per
// pixel and padded to 32 bits, stored bottom row first unless topDown.
Bytes packIndexRows(const std::vector<int> &indexes, int width, int height, int bits, bool topDown = false);

// Rows of 16, 24 or 32-bit little-endian pixel values, padded like above.
Bytes packValueRows(const std::vector<std::uint32_t> &values, int width, int height, int bits, bool topDown = false);

// ---- JPEG ----

enum class JpegSpace { Rgb, Gray, Cmyk, Ycck };

struct JpegLayout {
    int width = 0;
    int height = 0;
    JpegSpace space = JpegSpace::Rgb;
    std::vector<std::uint8_t> samples; // interleaved, top row first: 3 (RGB), 1 (gray) or 4 (CMYK) per pixel
    bool progressive = false;
    bool adobeMarker = true; // CMYK and YCCK only
    std::optional<Bytes> app1; // an APP1 block written as it is
};

Bytes encodeJpeg(const JpegLayout &layout);

// The APP1 payload of an EXIF block holding only the orientation tag.
Bytes exifOrientationBlock(int orientation, bool bigEndian);

// ---- PNG ----

struct PngLayout {
    int width = 0;
    int height = 0;
    int colorType = 0; // PNG_COLOR_TYPE_...
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<Bytes> rows; // packed as stored, 16-bit samples big-endian
    std::vector<std::array<std::uint8_t, 3>> palette; // red, green, blue
    Bytes paletteAlpha; // tRNS of a palette picture
    std::optional<std::array<std::uint16_t, 3>> transparentColor; // tRNS of gray (first value) or RGB
};

Bytes encodePng(const PngLayout &layout);

// Rewrites the CRC of the chunk starting at `offset` (its length field).
void fixPngChunkCrc(Bytes &png, std::size_t offset);

} // namespace pigmora::test
