#include "image/bmpwriter.h"

#include "data/bytes.h"
#include "image/picturebitmap.h"

#include <cstdio>
#include <memory>

namespace pigmora {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

} // namespace

std::vector<std::uint8_t> encodeBitmap24(const PictureBitmap &bitmap)
{
    if (bitmap.isNull() || bitmap.bitsPerPixel() != 32)
        return {};
    const int width = bitmap.width();
    const int height = bitmap.height();
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t imageBytes = rowBytes * static_cast<std::size_t>(height);
    const std::size_t fileBytes = kFileHeaderSize + kInfoHeaderSize + imageBytes;
    if (fileBytes > 0x7FFFFFFF)
        return {};
    std::vector<std::uint8_t> out(fileBytes, 0);
    std::uint8_t *p = out.data();
    p[0] = 'B';
    p[1] = 'M';
    le::writeI32(p + 2, static_cast<std::int32_t>(fileBytes));
    le::writeI32(p + 10, static_cast<std::int32_t>(kFileHeaderSize + kInfoHeaderSize));
    std::uint8_t *info = p + kFileHeaderSize;
    le::writeI32(info, static_cast<std::int32_t>(kInfoHeaderSize));
    le::writeI32(info + 4, width);
    le::writeI32(info + 8, height); // positive: bottom-up rows
    le::writeU16(info + 12, 1); // planes
    le::writeU16(info + 14, 24); // bits per pixel
    le::writeI32(info + 20, static_cast<std::int32_t>(imageBytes));
    std::uint8_t *rows = info + kInfoHeaderSize;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *source = bitmap.scanLine(y);
        std::uint8_t *target = rows + rowBytes * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            target[3 * x] = source[4 * x];
            target[3 * x + 1] = source[4 * x + 1];
            target[3 * x + 2] = source[4 * x + 2];
        }
    }
    return out;
}

Status writeBitmap24(const PictureBitmap &bitmap, const std::filesystem::path &path)
{
    const std::vector<std::uint8_t> bytes = encodeBitmap24(bitmap);
    if (bytes.empty())
        return Status::error("the picture cannot be written as a 24-bit bitmap");
    struct FileCloser {
        void operator()(std::FILE *f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return Status::error("cannot create " + path.string());
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        std::error_code ec;
        std::filesystem::remove(path, ec);
        return Status::error("cannot write " + path.string());
    }
    return Status::ok();
}

} // namespace pigmora
