#include "image/exiforientation.h"

#include <cstring>

namespace pigmora::exif {

namespace {

// TIFF structure access in the block's own byte order.
class TiffReader
{
public:
    TiffReader(const std::uint8_t *data, std::size_t size, bool bigEndian)
        : m_data(data)
        , m_size(size)
        , m_bigEndian(bigEndian)
    { }

    bool has(std::uint64_t offset, std::uint64_t length) const { return offset + length <= m_size; }

    unsigned u16(std::size_t offset) const
    {
        const std::uint8_t *p = m_data + offset;
        return m_bigEndian ? (p[0] << 8 | p[1]) : (p[1] << 8 | p[0]);
    }

    std::uint32_t u32(std::size_t offset) const
    {
        const std::uint32_t high = u16(offset + (m_bigEndian ? 0 : 2));
        const std::uint32_t low = u16(offset + (m_bigEndian ? 2 : 0));
        return high << 16 | low;
    }

private:
    const std::uint8_t *m_data;
    std::size_t m_size;
    bool m_bigEndian;
};

constexpr unsigned kOrientationTag = 0x0112;
constexpr unsigned kShortType = 3;

} // namespace

int orientationOf(std::span<const std::uint8_t> payload)
{
    static constexpr char kExif[] = "Exif\0";
    if (payload.size() < 6 || std::memcmp(payload.data(), kExif, 6) != 0)
        return 0;
    const std::uint8_t *tiff = payload.data() + 6;
    const std::size_t size = payload.size() - 6;
    if (size < 8 || tiff[0] != tiff[1] || (tiff[0] != 'I' && tiff[0] != 'M'))
        return 1;
    const TiffReader reader(tiff, size, tiff[0] == 'M');
    const std::uint64_t ifd = reader.u32(4);
    if (reader.u16(2) != 42 || !reader.has(ifd, 2))
        return 1;
    const unsigned entries = reader.u16(static_cast<std::size_t>(ifd));
    for (unsigned i = 0; i < entries && reader.has(ifd + 2 + 12 * i, 12); ++i) {
        const auto entry = static_cast<std::size_t>(ifd + 2 + 12 * i);
        if (reader.u16(entry) != kOrientationTag)
            continue;
        const bool isShort = reader.u16(entry + 2) == kShortType && reader.u32(entry + 4) >= 1;
        const unsigned value = reader.u16(entry + 8);
        return isShort && value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

std::int64_t Placement::first(std::int64_t y) const
{
    const std::int64_t w = m_width;
    const std::int64_t h = m_height;
    const std::int64_t stride = outWidth();
    switch (m_orientation) {
    case 2:
        return y * stride + w - 1; // mirrored left to right
    case 3:
        return (h - 1 - y) * stride + w - 1; // turned 180 degrees
    case 4:
        return (h - 1 - y) * stride; // mirrored top to bottom
    case 5:
        return y; // mirrored along the main diagonal
    case 6:
        return h - 1 - y; // turned 90 degrees clockwise
    case 7:
        return (w - 1) * stride + h - 1 - y; // mirrored along the other diagonal
    case 8:
        return (w - 1) * stride + y; // turned 90 degrees anticlockwise
    default:
        return y * stride;
    }
}

std::int64_t Placement::step() const
{
    switch (m_orientation) {
    case 2:
    case 3:
        return -1;
    case 5:
    case 6:
        return outWidth();
    case 7:
    case 8:
        return -outWidth();
    default:
        return 1;
    }
}

} // namespace pigmora::exif
