#pragma once

// Pieces the three picture decoders share: the texts of their messages and the
// one place where a picture's pixel buffer is checked and allocated.

#include "image/picturedecoder.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pigmora::decoder {

// "图像文件已损坏：<what>": the file is not what it claims to be.
Status damaged(std::string_view what);

// "不支持的图像格式：<what>": a valid file of a kind this program does not read.
Status unsupported(std::string_view what);

// The pixel data ended before the picture did.
Status truncated();

// Refuses sides that are not positive and sides above kMaxPictureSide, each
// with its own message.
Status checkPictureSize(std::int64_t width, std::int64_t height);

// A picture of width x height at 32 bits per pixel, every byte 0, after
// checkPictureSize; a buffer that cannot be allocated is refused as well.
Result<DecodedPicture> allocatePicture(std::int64_t width, std::int64_t height);

// Start of row y of a decoded picture.
inline std::uint8_t *rowOf(DecodedPicture &picture, int y)
{
    return picture.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) * 4;
}

} // namespace pigmora::decoder
