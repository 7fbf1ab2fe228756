#include "image/bmpwriter.h"

#include "data/bytes.h"
#include "image/picturebitmap.h"

#include <algorithm>

namespace pigmora {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

std::size_t rowBytesOf(int width)
{
    return (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
}

} // namespace

std::optional<std::uint64_t> bitmap24FileSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const std::uint64_t size = kFileHeaderSize + kInfoHeaderSize
        + static_cast<std::uint64_t>(rowBytesOf(width)) * static_cast<std::uint64_t>(height);
    if (size > 0xFFFFFFFFu)
        return std::nullopt;
    return size;
}

Status writeBitmap24Bands(int width, int height, int bandRows, const BitmapBand &band, const ByteSink &write)
{
    const auto fileBytes = bitmap24FileSize(width, height);
    if (!fileBytes)
        return Status::error("a " + std::to_string(width) + " x " + std::to_string(height)
                             + " picture does not fit a bitmap file");
    const std::size_t rowBytes = rowBytesOf(width);
    std::uint8_t header[kFileHeaderSize + kInfoHeaderSize] = {};
    header[0] = 'B';
    header[1] = 'M';
    le::writeI32(header + 2, static_cast<std::int32_t>(static_cast<std::uint32_t>(*fileBytes)));
    le::writeI32(header + 10, static_cast<std::int32_t>(kFileHeaderSize + kInfoHeaderSize));
    std::uint8_t *info = header + kFileHeaderSize;
    le::writeI32(info, static_cast<std::int32_t>(kInfoHeaderSize));
    le::writeI32(info + 4, width);
    le::writeI32(info + 8, height); // positive: bottom-up rows
    le::writeU16(info + 12, 1); // planes
    le::writeU16(info + 14, 24); // bits per pixel
    le::writeI32(info + 20, static_cast<std::int32_t>(static_cast<std::uint32_t>(*fileBytes - sizeof header)));
    if (!write(header, sizeof header))
        return Status::error("the bitmap could not be written");

    bandRows = std::max(bandRows, 1);
    std::vector<std::uint8_t> rows;
    for (int top = (height - 1) / bandRows * bandRows; top >= 0; top -= bandRows) {
        const int count = std::min(bandRows, height - top);
        const PictureBitmap pixels = band(top, count);
        if (pixels.isNull() || pixels.bitsPerPixel() != 32 || pixels.width() != width || pixels.height() != count)
            return Status::error("not enough memory for rows " + std::to_string(top) + " to "
                                 + std::to_string(top + count - 1) + " of the picture");
        rows.assign(rowBytes * static_cast<std::size_t>(count), 0);
        for (int y = 0; y < count; ++y) {
            const std::uint8_t *source = pixels.scanLine(y);
            std::uint8_t *target = rows.data() + rowBytes * static_cast<std::size_t>(count - 1 - y);
            for (int x = 0; x < width; ++x) {
                target[3 * x] = source[4 * x];
                target[3 * x + 1] = source[4 * x + 1];
                target[3 * x + 2] = source[4 * x + 2];
            }
        }
        if (!write(rows.data(), rows.size()))
            return Status::error("the bitmap could not be written");
    }
    return Status::ok();
}

} // namespace pigmora
