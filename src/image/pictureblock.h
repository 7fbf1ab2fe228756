#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace pigmora {

// The memory of one picture: the 40-byte device-independent bitmap header, the
// colour table (4 bytes an entry: blue, green, red, 0) and the pixel rows, top
// row first. A block is shared by every picture and bitmap holding the same
// pixels (a duplicate, a bitmap handed to the desktop program); nobody changes
// the pixels of a shared block: a picture about to change its pixels takes a
// block of its own first.
class PictureBlock
{
public:
    static constexpr std::size_t kHeaderSize = 40;

    // A block with room for pixelBytes of rows, left uninitialised, and a
    // zeroed table of colorTableLength entries; none when the size is over
    // maxPictureBytes() or the memory is refused.
    static std::shared_ptr<PictureBlock> allocate(std::size_t pixelBytes, int colorTableLength);

    // A block that takes over a buffer of rows without copying it.
    static std::shared_ptr<PictureBlock> adopt(std::vector<std::uint8_t> &&pixels);

    PictureBlock(const PictureBlock &) = delete;
    PictureBlock &operator=(const PictureBlock &) = delete;
    ~PictureBlock();

    std::uint8_t *header() { return m_header.data(); }
    const std::uint8_t *header() const { return m_header.data(); }
    std::uint8_t *colorTable() { return m_colorTable.empty() ? nullptr : m_colorTable.data(); }
    const std::uint8_t *colorTable() const { return m_colorTable.empty() ? nullptr : m_colorTable.data(); }
    std::size_t colorTableBytes() const { return m_colorTable.size(); }
    std::uint8_t *pixels() { return m_pixels; }
    const std::uint8_t *pixels() const { return m_pixels; }
    std::size_t pixelBytes() const { return m_pixelBytes; }

private:
    PictureBlock() = default;

    std::array<std::uint8_t, kHeaderSize> m_header{};
    std::vector<std::uint8_t> m_colorTable;
    std::uint8_t *m_pixels = nullptr;
    std::size_t m_pixelBytes = 0;
    bool m_ownsPixels = false; // m_pixels came from allocate()
    std::vector<std::uint8_t> m_adoptedPixels; // or from a decoder's buffer
};

// The largest pixel block a picture may have: half the machine's memory. A
// larger request (a huge zoom or magnification) is refused like memory the
// system would not give, instead of being granted and then exhausting it.
std::size_t maxPictureBytes();

} // namespace pigmora
