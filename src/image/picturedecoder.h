#pragma once

#include "data/status.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <stop_token>
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

// How a long read or decode is watched from another thread: asked to stop,
// it gives up at its next row (or block of the file) with decodeCancelled();
// rows, when set, hears how many of the picture's rows are done.
struct DecodeControl {
    std::stop_token stop;
    std::function<void(int done, int total)> rows;

    bool stopRequested() const { return stop.stop_requested(); }
    void rowsDone(int done, int total) const
    {
        if (rows)
            rows(done, total);
    }
};

// "已取消": what a read or decode that was asked to stop answers.
Status decodeCancelled();

// Decoders of untrusted bytes. A damaged, truncated or hostile input gives an
// error result with a clear text; they never crash, hang or allocate without
// bound, and release everything they allocated on every path.
//
// decodeJpeg turns the picture upright by its EXIF orientation tag. Palette
// bitmaps expand to 24-bit colour; pixels an RLE bitmap skips are white
// (255, 255, 255, 0); a palette index past the palette refuses the file.
// decodePng composites transparency over white and sets every fourth byte 0.
Result<DecodedPicture> decodeJpeg(std::span<const std::uint8_t> bytes, const DecodeControl *control = nullptr);
Result<DecodedPicture> decodeBitmap(std::span<const std::uint8_t> bytes, const DecodeControl *control = nullptr);
Result<DecodedPicture> decodePng(std::span<const std::uint8_t> bytes, const DecodeControl *control = nullptr);

// A quick look at a JPEG before it is decoded whole: decoded with libjpeg's
// own DCT scaling at 1/8 of each side (rounded up) and turned upright as
// decodeJpeg does; fullWidth x fullHeight is the size decodeJpeg will give.
struct PicturePreview {
    DecodedPicture picture;
    int fullWidth = 0;
    int fullHeight = 0;
};
Result<PicturePreview> decodeJpegPreview(std::span<const std::uint8_t> bytes, const DecodeControl *control = nullptr);

// Checks that the file exists ("图像文件不存在：<path>"), then its extension
// ("不支持的图像文件类型：<path>", without reading it), reads it in one piece
// ("无法读取图像文件：<path>"; over 1 GiB "图像文件过大（最大 1 GB）：<path>")
// and decodes it by its extension.
Result<DecodedPicture> decodePictureFile(const std::filesystem::path &path, const DecodeControl *control = nullptr);

// The two halves of decodePictureFile: the file's bytes after the checks of
// existence, extension and size, and the decoder the format names.
Result<std::vector<std::uint8_t>> readPictureFile(const std::filesystem::path &path,
                                                  const DecodeControl *control = nullptr);
Result<DecodedPicture> decodePicture(PictureFormat format, std::span<const std::uint8_t> bytes,
                                     const DecodeControl *control = nullptr);

} // namespace pigmora
