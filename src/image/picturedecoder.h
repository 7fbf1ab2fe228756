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
    Jpeg, // .jpg, .jpeg
    Bitmap, // .bmp, .dib
    Png, // .png
    Unsupported // anything else: refused without reading the file
};

PictureFormat pictureFormatOf(const std::filesystem::path &path);

// Largest picture side accepted from any file; larger pictures are refused
// with a message saying so rather than exhausting memory.
inline constexpr int kMaxPictureSide = 20000;

// Decoders of untrusted bytes. A damaged, truncated or hostile input gives an
// error result with a clear text; they never crash, hang or allocate without
// bound, and release everything they allocated on every path.
//
// decodeJpeg turns the picture upright by its EXIF orientation tag. Palette
// bitmaps expand to 24-bit colour; pixels an RLE bitmap skips are white
// (255, 255, 255, 0); a palette index past the palette refuses the file.
// decodePng composites transparency over white and sets every fourth byte 0.
Result<DecodedPicture> decodeJpeg(std::span<const std::uint8_t> bytes);
Result<DecodedPicture> decodeBitmap(std::span<const std::uint8_t> bytes);
Result<DecodedPicture> decodePng(std::span<const std::uint8_t> bytes);

// Checks that the file exists ("图像文件不存在：<path>"), then its extension
// ("不支持的图像文件类型：<path>", without reading it), reads it in one piece
// ("无法读取图像文件：<path>"; over 1 GiB "图像文件过大（最大 1 GB）：<path>")
// and decodes it by its extension.
Result<DecodedPicture> decodePictureFile(const std::filesystem::path &path);

} // namespace pigmora
