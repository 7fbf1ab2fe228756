#include "image/imagedibobject.h"

#include "data/bytes.h"

#include <cassert>
#include <climits>
#include <cstring>
#include <utility>

namespace pigmora {

// A row stride below 2^31 times a height below 2^31 fits.
static_assert(sizeof(std::size_t) >= 8, "pictures need a 64-bit address space");

namespace {

void writeU16(std::uint8_t *p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

// The published 40-byte device-independent bitmap header. The height is
// positive although the rows are kept top row first: nothing draws from it.
void fillHeader(std::uint8_t *h, int width, int height, int bitsPerPixel, int colorTableLength)
{
    le::writeI32(h + 0, static_cast<std::int32_t>(PictureBlock::kHeaderSize));
    le::writeI32(h + 4, width);
    le::writeI32(h + 8, height);
    writeU16(h + 12, 1); // planes
    writeU16(h + 14, static_cast<std::uint16_t>(bitsPerPixel));
    le::writeI32(h + 16, 0); // no compression
    le::writeI32(h + 20, 0); // image size
    le::writeI32(h + 24, 0); // horizontal resolution
    le::writeI32(h + 28, 0); // vertical resolution
    le::writeI32(h + 32, colorTableLength); // colours used
    le::writeI32(h + 36, colorTableLength); // colours important
}

} // namespace

int CImageDibObject::colorTableLengthFor(std::uint32_t bitsPerPixel)
{
    int colorTableLength = -1;
    switch (bitsPerPixel) {
    case 1:
        colorTableLength = 2;
        break;
    case 4:
        colorTableLength = 16;
        break;
    case 8:
        colorTableLength = 256;
        break;
    case 16:
    case 24:
    case 32:
        colorTableLength = 0;
        break;
    default:
        assert(!"bits per pixel is one of 1, 4, 8, 16, 24, 32");
        return -1;
    }
    assert((colorTableLength >= 0) && (colorTableLength <= 256));
    return colorTableLength;
}

std::uint32_t CImageDibObject::rowStrideFor(int width, int bitsPerPixel)
{
    if (width <= 0 || bitsPerPixel <= 0 || bitsPerPixel > 32)
        return 0;
    // Rounded up from the bits, so that 1- and 4-bit rows get their bytes too.
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitsPerPixel);
    const std::uint64_t stride = (bits + 31) / 32 * 4;
    return stride > static_cast<std::uint64_t>(INT_MAX) ? 0 : static_cast<std::uint32_t>(stride);
}

std::shared_ptr<PictureBlock> CImageDibObject::makeBlock(int width, int height, int bitsPerPixel)
{
    if (height <= 0 || bitsPerPixel <= 0)
        return nullptr;
    const int tableLength = colorTableLengthFor(static_cast<std::uint32_t>(bitsPerPixel));
    const std::uint32_t stride = rowStrideFor(width, bitsPerPixel);
    if (tableLength < 0 || stride == 0)
        return nullptr;
    const std::size_t bytes = std::size_t{stride} * static_cast<std::size_t>(height);
    std::shared_ptr<PictureBlock> block = PictureBlock::allocate(bytes, tableLength);
    if (block)
        fillHeader(block->header(), width, height, bitsPerPixel, tableLength);
    return block;
}

void CImageDibObject::attach(std::shared_ptr<PictureBlock> block, int width, int height, int bitsPerPixel)
{
    m_block = std::move(block);
    m_width = width;
    m_height = height;
    m_bitsPerPixel = static_cast<std::uint32_t>(bitsPerPixel);
    m_colorTableLength = colorTableLengthFor(m_bitsPerPixel);
    m_bytesPerPixel = bitsPerPixel / 8;
    m_rowStride = rowStrideFor(width, bitsPerPixel);
    m_state = kStateAllocated;
}

bool CImageDibObject::createUninitialised(int width, int height, int bitsPerPixel)
{
    std::shared_ptr<PictureBlock> block = makeBlock(width, height, bitsPerPixel);
    if (!block)
        return false;
    attach(std::move(block), width, height, bitsPerPixel);
    return true;
}

bool CImageDibObject::createFromRows(int width, int height, int bitsPerPixel, std::span<const std::uint8_t> colorTable,
                                     std::span<const std::uint8_t> rows)
{
    std::shared_ptr<PictureBlock> block = makeBlock(width, height, bitsPerPixel);
    if (!block || rows.size() < block->pixelBytes()
        || (!colorTable.empty() && colorTable.size() < block->colorTableBytes()))
        return false;
    if (!colorTable.empty() && block->colorTableBytes() > 0)
        std::memcpy(block->colorTable(), colorTable.data(), block->colorTableBytes());
    std::memcpy(block->pixels(), rows.data(), block->pixelBytes());
    attach(std::move(block), width, height, bitsPerPixel);
    return true;
}

bool CImageDibObject::createBlank(int width, int height, int bitsPerPixel, bool white)
{
    std::shared_ptr<PictureBlock> block = makeBlock(width, height, bitsPerPixel);
    if (!block)
        return false;
    std::memset(block->pixels(), white ? 0xFF : 0x00, block->pixelBytes());
    attach(std::move(block), width, height, bitsPerPixel);
    return true;
}

bool CImageDibObject::adoptRows(int width, int height, std::vector<std::uint8_t> &&rows)
{
    const std::uint32_t stride = rowStrideFor(width, 32);
    if (stride == 0 || height <= 0 || rows.size() != std::uint64_t{stride} * static_cast<std::uint64_t>(height))
        return false;
    std::shared_ptr<PictureBlock> block = PictureBlock::adopt(std::move(rows));
    if (!block)
        return false;
    fillHeader(block->header(), width, height, 32, 0);
    attach(std::move(block), width, height, 32);
    return true;
}

void CImageDibObject::copyFrom(const CImageDibObject &other)
{
    if (&other == this)
        return;
    m_block = other.m_block;
    m_bitsPerPixel = other.m_bitsPerPixel;
    m_colorTableLength = other.m_colorTableLength;
    m_width = other.m_width;
    m_height = other.m_height;
    m_state = other.m_state;
    m_bytesPerPixel = other.m_bytesPerPixel;
    m_rowStride = other.m_rowStride;
}

void CImageDibObject::releaseBlock()
{
    m_block.reset();
    m_bytesPerPixel = 0;
    m_rowStride = 0;
}

PictureBitmap CImageDibObject::pictureToBitmap() const
{
    if (!m_block)
        return {};
    switch (m_bitsPerPixel) {
    case 1:
    case 4:
    case 8:
    case 15:
    case 16:
    case 24:
    case 32:
        return PictureBitmap(m_block, m_width, m_height, static_cast<int>(m_bitsPerPixel),
                             static_cast<int>(m_rowStride));
    default:
        return {};
    }
}

const std::uint8_t *CImageDibObject::scanLine(int y) const
{
    if (!m_block || y < 0 || y >= m_height)
        return nullptr;
    return m_block->pixels() + static_cast<std::size_t>(y) * m_rowStride;
}

std::uint8_t *CImageDibObject::ownPixels(bool keepPixels)
{
    if (!m_block)
        return nullptr;
    if (m_block.use_count() > 1) {
        std::shared_ptr<PictureBlock> own = PictureBlock::allocate(m_block->pixelBytes(), m_colorTableLength);
        if (!own)
            return nullptr;
        std::memcpy(own->header(), m_block->header(), PictureBlock::kHeaderSize);
        if (own->colorTableBytes() > 0)
            std::memcpy(own->colorTable(), m_block->colorTable(), own->colorTableBytes());
        if (keepPixels)
            std::memcpy(own->pixels(), m_block->pixels(), m_block->pixelBytes());
        m_block = std::move(own);
    }
    return m_block->pixels();
}

} // namespace pigmora
