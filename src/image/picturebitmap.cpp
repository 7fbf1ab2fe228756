#include "image/picturebitmap.h"

#include <cstddef>
#include <utility>

namespace pigmora {

PictureBitmap::PictureBitmap(std::shared_ptr<const PictureBlock> block, int width, int height, int bitsPerPixel,
                             int bytesPerLine)
    : m_block(std::move(block))
    , m_width(width)
    , m_height(height)
    , m_bitsPerPixel(bitsPerPixel)
    , m_bytesPerLine(bytesPerLine)
{ }

const std::uint8_t *PictureBitmap::scanLine(int y) const
{
    if (!m_block || y < 0 || y >= m_height)
        return nullptr;
    return m_block->pixels() + static_cast<std::size_t>(y) * static_cast<std::size_t>(m_bytesPerLine);
}

std::span<const std::uint8_t> PictureBitmap::colorTable() const
{
    if (!m_block || !m_block->colorTable())
        return {};
    return {m_block->colorTable(), m_block->colorTableBytes()};
}

std::optional<RgbColor> PictureBitmap::colorAt(int x, int y) const
{
    if (m_bitsPerPixel != 32 || x < 0 || x >= m_width)
        return std::nullopt;
    const std::uint8_t *row = scanLine(y);
    if (!row)
        return std::nullopt;
    const std::uint8_t *p = row + static_cast<std::size_t>(x) * 4;
    return RgbColor{p[2], p[1], p[0]};
}

} // namespace pigmora
