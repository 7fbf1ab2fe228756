#pragma once

#include "data/status.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace pigmora {

// A picture as a decoder delivers it: 32 bits per pixel, rows top row first,
// each row exactly width x 4 bytes: blue, green, red and a fourth byte that
// nothing interprets (0 for sources of 24 bits or fewer; a 32-bit source's
// own fourth byte otherwise).
struct DecodedPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// File kinds recognised by extension, in any letter case.
enum class PictureFormat {
    Jpeg,       // .jpg, .jpeg
    Bitmap,     // .bmp, .dib
    Png,        // .png
    Unsupported // anything else: refused without reading the file
};

PictureFormat pictureFormatOf(const std::filesystem::path &path);

// Largest picture side accepted from any file; larger pictures are refused
// with a message saying so rather than exhausting memory.
inline constexpr int kMaxPictureSide = 20000;

// Decoders of untrusted bytes. A damaged, truncated or hostile input gives an
// error result with a clear text; they never crash, hang or allocate without
// bound, and release everything they allocated on every path.
Result<DecodedPicture> decodeJpeg(std::span<const std::uint8_t> bytes);
Result<DecodedPicture> decodeBitmap(std::span<const std::uint8_t> bytes);
Result<DecodedPicture> decodePng(std::span<const std::uint8_t> bytes);

// Reads the file and dispatches on its extension.
Result<DecodedPicture> decodePictureFile(const std::filesystem::path &path);

} // namespace pigmora
