// Windows bitmap (.bmp, .dib) reader: file header plus an OS/2 core, 40-byte
// info, V2, V3, V4 or V5 header; 1, 4, 8, 16, 24 and 32 bits per pixel;
// uncompressed, RLE8, RLE4 and bit fields; bottom-up or top-down rows.

#include "data/bytes.h"
#include "image/decodersupport.h"
#include "image/picturedecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cstring>
#include <string>

namespace pigmora {

namespace {

using decoder::damaged;
using decoder::unsupported;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

using Pixel = std::array<std::uint8_t, 4>; // blue, green, red, fourth byte

// Skipped RLE pixels keep the value every loaded picture starts from.
constexpr Pixel kPresetPixel = {255, 255, 255, 0};

using le::readU16;
using le::readU32;

// One colour channel of a bit-field pixel: a contiguous mask, its value scaled
// to 0..255 with rounding. An empty mask reads as 0.
class MaskChannel
{
public:
    MaskChannel() = default;
    explicit MaskChannel(std::uint32_t mask)
        : m_mask(mask)
        , m_shift(mask ? std::countr_zero(mask) : 0)
        , m_max(mask >> m_shift)
    { }

    bool isContiguous() const { return (m_max & (m_max + 1)) == 0; }

    std::uint8_t operator()(std::uint32_t pixel) const
    {
        if (m_max == 0)
            return 0;
        const std::uint64_t value = (pixel & m_mask) >> m_shift;
        return static_cast<std::uint8_t>((value * 255 + m_max / 2) / m_max);
    }

private:
    std::uint32_t m_mask = 0;
    int m_shift = 0;
    std::uint32_t m_max = 0;
};

// What the headers say, checked against the file's size.
struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kRgb;
    std::array<MaskChannel, 3> masks; // red, green, blue
    std::size_t paletteOffset = 0;
    std::size_t paletteEntrySize = 4;
    std::size_t paletteCount = 0;
    std::size_t pixelOffset = 0;
};

Status checkCompression(const Layout &layout, bool coreHeader)
{
    const int bits = layout.bitCount;
    const auto depthText = [bits] { return "每像素 " + std::to_string(bits) + " 位"; };
    switch (layout.compression) {
    case kRgb:
        if (bits == 1 || bits == 4 || bits == 8 || bits == 24 || (!coreHeader && (bits == 16 || bits == 32)))
            return Status::ok();
        return unsupported(depthText());
    case kRle8:
    case kRle4:
        if (bits == (layout.compression == kRle8 ? 8 : 4))
            return Status::ok();
        return damaged("压缩方式与" + depthText() + "不符");
    case kBitFields:
    case kAlphaBitFields:
        if (bits == 16 || bits == 32)
            return Status::ok();
        return damaged("压缩方式与" + depthText() + "不符");
    default:
        return unsupported("位图压缩方式 " + std::to_string(layout.compression));
    }
}

// Reads the bit-field masks (in the header from V2 on, after a 40-byte header
// otherwise) and returns where the palette starts.
Result<std::size_t> readMasks(std::span<const std::uint8_t> bytes, std::size_t headerSize, Layout &layout)
{
    std::size_t masksOffset = kFileHeaderSize + kInfoHeaderSize;
    std::size_t end = kFileHeaderSize + headerSize;
    if (layout.compression != kBitFields && layout.compression != kAlphaBitFields) {
        const std::uint32_t defaults16[] = {0x7C00, 0x03E0, 0x001F};
        for (std::size_t i = 0; i < 3; ++i)
            layout.masks[i] = MaskChannel(layout.bitCount == 16 ? defaults16[i] : 0xFFu << (16 - 8 * i));
        return end;
    }
    if (headerSize == kInfoHeaderSize)
        end += layout.compression == kAlphaBitFields ? 16 : 12;
    if (bytes.size() < end)
        return damaged("文件头不完整");
    std::uint32_t anyMask = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::uint32_t mask = readU32(&bytes[masksOffset + 4 * i]);
        layout.masks[i] = MaskChannel(mask);
        if (!layout.masks[i].isContiguous() || (layout.bitCount == 16 && mask > 0xFFFF))
            return damaged("颜色掩码无效");
        anyMask |= mask;
    }
    // Without a single colour bit every pixel would read black.
    if (anyMask == 0)
        return damaged("颜色掩码无效");
    return end;
}

Result<Layout> readLayout(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kFileHeaderSize + 4)
        return damaged("文件头不完整");
    if (bytes[0] != 'B' || bytes[1] != 'M')
        return damaged("不是位图文件");
    Layout layout;
    const std::uint32_t pixelOffset = readU32(&bytes[10]);
    const std::uint32_t headerSize = readU32(&bytes[kFileHeaderSize]);
    const bool core = headerSize == kCoreHeaderSize;
    if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 && headerSize != 124)
        return unsupported("位图信息头长度 " + std::to_string(headerSize));
    if (bytes.size() < kFileHeaderSize + headerSize)
        return damaged("文件头不完整");

    const std::uint8_t *h = &bytes[kFileHeaderSize];
    std::uint32_t colorsUsed = 0;
    if (core) {
        layout.width = readU16(h + 4);
        layout.height = readU16(h + 6);
        layout.bitCount = readU16(h + 10);
        layout.paletteEntrySize = 3;
    } else {
        layout.width = le::readI32(h + 4);
        layout.height = le::readI32(h + 8);
        layout.bitCount = readU16(h + 14);
        layout.compression = readU32(h + 16);
        colorsUsed = readU32(h + 32);
    }
    // A negative height marks rows stored top row first.
    if (layout.height < 0 && layout.height != INT_MIN) {
        layout.height = -layout.height;
        layout.topDown = true;
    }
    if (Status size = decoder::checkPictureSize(layout.width, layout.height); !size)
        return size;
    if (Status compression = checkCompression(layout, core); !compression)
        return compression;

    Result<std::size_t> paletteOffset = readMasks(bytes, headerSize, layout);
    if (!paletteOffset)
        return paletteOffset.status();
    layout.paletteOffset = paletteOffset.value();
    if (pixelOffset < layout.paletteOffset || pixelOffset > bytes.size())
        return damaged("像素数据位置无效");
    layout.pixelOffset = pixelOffset;

    if (layout.bitCount <= 8) {
        // The palette holds biClrUsed entries (all 2^bits when 0 or more than
        // that), fewer when the pixel data starts before their end.
        const std::size_t full = std::size_t{1} << layout.bitCount;
        const std::size_t declared = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
        const std::size_t room = (layout.pixelOffset - layout.paletteOffset) / layout.paletteEntrySize;
        layout.paletteCount = std::min(declared, room);
    }
    return layout;
}

// Fills a picture from the headers' description of the pixel data.
class BitmapReader
{
public:
    BitmapReader(std::span<const std::uint8_t> bytes, const Layout &layout, DecodedPicture &picture)
        : m_layout(layout)
        , m_data(bytes.subspan(layout.pixelOffset))
        , m_picture(picture)
    {
        for (std::size_t i = 0; i < layout.paletteCount; ++i) {
            const std::uint8_t *entry = &bytes[layout.paletteOffset + i * layout.paletteEntrySize];
            m_palette[i] = {entry[0], entry[1], entry[2], 0};
        }
    }

    Status readRows(const DecodeControl *control);
    Status readRle();

private:
    std::uint8_t *pixelAt(std::int64_t x, std::int64_t y)
    {
        const auto row = static_cast<int>(m_layout.topDown ? y : m_layout.height - 1 - y);
        return decoder::rowOf(m_picture, row) + x * 4;
    }

    bool putIndex(std::uint8_t *target, unsigned index) const
    {
        if (index >= m_layout.paletteCount)
            return false;
        std::memcpy(target, m_palette[index].data(), 4);
        return true;
    }

    bool readIndexedRow(const std::uint8_t *source, std::uint8_t *target) const;
    void readDirectRow(const std::uint8_t *source, std::uint8_t *target) const;

    const Layout &m_layout;
    std::span<const std::uint8_t> m_data;
    DecodedPicture &m_picture;
    std::array<Pixel, 256> m_palette{};
};

Status paletteIndexError()
{
    return damaged("调色板索引超出调色板");
}

bool BitmapReader::readIndexedRow(const std::uint8_t *source, std::uint8_t *target) const
{
    const int bits = m_layout.bitCount;
    const unsigned mask = (1u << bits) - 1;
    for (std::int64_t x = 0; x < m_layout.width; ++x) {
        // Pixels are packed from the most significant bits of each byte.
        const std::int64_t bit = x * bits;
        const unsigned index = (source[bit / 8] >> (8 - bits - bit % 8)) & mask;
        if (!putIndex(target + x * 4, index))
            return false;
    }
    return true;
}

void BitmapReader::readDirectRow(const std::uint8_t *source, std::uint8_t *target) const
{
    const auto &[red, green, blue] = m_layout.masks;
    const std::int64_t width = m_layout.width;
    if (m_layout.bitCount == 24) {
        for (std::int64_t x = 0; x < width; ++x, source += 3, target += 4) {
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
        }
    } else if (m_layout.bitCount == 16) {
        for (std::int64_t x = 0; x < width; ++x, source += 2, target += 4) {
            const std::uint32_t v = readU16(source);
            target[0] = blue(v);
            target[1] = green(v);
            target[2] = red(v);
        }
    } else if (m_layout.compression == kRgb) {
        std::memcpy(target, source, static_cast<std::size_t>(width) * 4);
    } else {
        for (std::int64_t x = 0; x < width; ++x, source += 4, target += 4) {
            const std::uint32_t v = readU32(source);
            target[0] = blue(v);
            target[1] = green(v);
            target[2] = red(v);
            target[3] = source[3];
        }
    }
}

Status BitmapReader::readRows(const DecodeControl *control)
{
    const std::int64_t bits = m_layout.bitCount;
    const auto rowBytes = static_cast<std::size_t>((m_layout.width * bits + 31) / 32 * 4);
    for (std::int64_t y = 0; y < m_layout.height; ++y) {
        const std::uint8_t *source = m_data.data() + static_cast<std::size_t>(y) * rowBytes;
        std::uint8_t *target = pixelAt(0, y);
        if (bits > 8)
            readDirectRow(source, target);
        else if (!readIndexedRow(source, target))
            return paletteIndexError();
        if (control) {
            if (control->stopRequested())
                return decodeCancelled();
            control->rowsDone(static_cast<int>(y) + 1, static_cast<int>(m_layout.height));
        }
    }
    return Status::ok();
}

// RLE8 and RLE4: runs of one index (two alternating for RLE4), literal runs
// padded to 16 bits, and escapes for end of line, end of bitmap and a jump
// right and up. Pixels no run reaches keep the preset value.
Status BitmapReader::readRle()
{
    for (std::size_t i = 0; i < m_picture.pixels.size(); i += 4)
        std::memcpy(&m_picture.pixels[i], kPresetPixel.data(), 4);

    const bool rle4 = m_layout.compression == kRle4;
    const Status overrun = damaged("RLE 数据超出图像范围");
    const std::size_t size = m_data.size();
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::size_t pos = 0;
    while (pos + 2 <= size) {
        const unsigned count = m_data[pos];
        const unsigned value = m_data[pos + 1];
        pos += 2;
        if (count > 0) {
            if (y >= m_layout.height || x + count > m_layout.width)
                return overrun;
            std::uint8_t *target = pixelAt(x, y);
            for (unsigned i = 0; i < count; ++i) {
                const unsigned index = !rle4 ? value : (i % 2 ? value & 0x0F : value >> 4);
                if (!putIndex(target + i * 4, index))
                    return paletteIndexError();
            }
            x += count;
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            if (++y > m_layout.height)
                return overrun;
        } else if (value == 1) { // end of bitmap
            return Status::ok();
        } else if (value == 2) { // jump right and up
            if (pos + 2 > size)
                break;
            x += m_data[pos];
            y += m_data[pos + 1];
            pos += 2;
            if (x > m_layout.width || y > m_layout.height)
                return overrun;
        } else { // a literal run of value indexes
            const std::size_t bytes = rle4 ? (value + 1) / 2 : value;
            if (pos + bytes > size)
                break;
            if (y >= m_layout.height || x + value > m_layout.width)
                return overrun;
            std::uint8_t *target = pixelAt(x, y);
            for (unsigned i = 0; i < value; ++i) {
                const std::uint8_t byte = m_data[pos + (rle4 ? i / 2 : i)];
                const unsigned index = !rle4 ? byte : (i % 2 ? byte & 0x0F : byte >> 4);
                if (!putIndex(target + i * 4, index))
                    return paletteIndexError();
            }
            x += value;
            pos += (bytes + 1) & ~std::size_t{1};
        }
    }
    // The data ended before its end-of-bitmap escape.
    return decoder::truncated();
}

} // namespace

Result<DecodedPicture> decodeBitmap(std::span<const std::uint8_t> bytes, const DecodeControl *control)
{
    Result<Layout> layout = readLayout(bytes);
    if (!layout)
        return layout.status();
    const Layout &l = layout.value();
    const bool rle = l.compression == kRle8 || l.compression == kRle4;
    if (!rle) {
        // Every row but the last with its padding to 32 bits; the last one
        // without, as some writers leave it off.
        const std::int64_t bits = l.width * l.bitCount;
        const std::int64_t needed = (bits + 31) / 32 * 4 * (l.height - 1) + (bits + 7) / 8;
        if (static_cast<std::int64_t>(bytes.size() - l.pixelOffset) < needed)
            return decoder::truncated();
    }
    Result<DecodedPicture> picture = decoder::allocatePicture(l.width, l.height);
    if (!picture)
        return picture;
    BitmapReader reader(bytes, l, picture.value());
    if (Status read = rle ? reader.readRle() : reader.readRows(control); !read)
        return read;
    return picture;
}

} // namespace pigmora
