#pragma once

// The EXIF orientation tag of a camera photograph, and where it puts each
// pixel. Decoders apply it so that the picture stands as the camera took it:
// a deliberate step beyond plain decoding, as a painter works from the
// upright photograph.

#include <cstdint>
#include <span>

namespace pigmora::exif {

// The orientation (1 to 8) in IFD0 of an APP1 payload that starts "Exif\0\0";
// 1 when the block holds none or it cannot be read, 0 when the payload is not
// EXIF at all. Every offset is checked against the payload.
int orientationOf(std::span<const std::uint8_t> payload);

// Where the pixels of one stored row land in the oriented picture: stored
// pixel x of row y goes to pixel index first(y) + x * step().
class Placement
{
public:
    Placement(int orientation, std::int64_t width, std::int64_t height)
        : m_orientation(orientation)
        , m_width(width)
        , m_height(height)
    { }

    bool isUpright() const { return m_orientation == 1; }
    bool swapsSides() const { return m_orientation >= 5; }
    std::int64_t outWidth() const { return swapsSides() ? m_height : m_width; }
    std::int64_t outHeight() const { return swapsSides() ? m_width : m_height; }

    std::int64_t first(std::int64_t y) const;
    std::int64_t step() const;

private:
    int m_orientation;
    std::int64_t m_width;
    std::int64_t m_height;
};

} // namespace pigmora::exif
