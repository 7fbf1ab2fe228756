#pragma once

#include "image/picturebitmap.h"
#include "image/pictureblock.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace pigmora {

// One picture of the image engine. Every picture the engine creates has 32
// bits per pixel: blue, green, red and a fourth byte that nothing interprets,
// rows top row first, stride width x 4. Other depths (1, 4, 8, 16, 24) can be
// built but are neither converted nor scaled.
//
// Pixel blocks are shared on copy: copyFrom and pictureToBitmap hand out the
// same block, and a picture that changes its pixels first takes a block of
// its own, so copies stay independent without being made eagerly.
class CImageDibObject
{
public:
    static constexpr int kStateEmpty = 0;
    static constexpr int kStateAllocated = 2;
    static constexpr int kStateHoldsPicture = 3;

    CImageDibObject() = default;
    ~CImageDibObject() = default;
    CImageDibObject(const CImageDibObject &) = delete;
    CImageDibObject &operator=(const CImageDibObject &) = delete;

    // Re-creates the picture from rows laid out as this picture stores them
    // (rowStrideFor(width, bitsPerPixel) bytes a row, top row first) and an
    // optional colour table of 4 bytes an entry; state 2. False, leaving the
    // picture as it was, for a size or depth it cannot hold, rows or a table
    // shorter than needed, or memory refused.
    bool createFromRows(int width, int height, int bitsPerPixel, std::span<const std::uint8_t> colorTable,
                        std::span<const std::uint8_t> rows);
    // As createFromRows, every pixel byte 255 (white) or 0; state 2.
    bool createBlank(int width, int height, int bitsPerPixel, bool white);
    // Re-creates the picture as 32 bits per pixel around a buffer of exactly
    // width x height x 4 bytes, taken over without copying; state 2. False,
    // leaving the picture and the buffer as they were, for any other size.
    bool adoptRows(int width, int height, std::vector<std::uint8_t> &&rows);
    // Copies size, depth, table, pixels and state (sharing the block until
    // either side changes it). Copying a picture onto itself does nothing.
    void copyFrom(const CImageDibObject &other);
    // Frees the block; size and state are kept, stride and bytes per pixel 0.
    void releaseBlock();
    // The picture for drawing, sharing its rows; the null bitmap when the
    // picture has no block.
    PictureBitmap pictureToBitmap() const;

    const std::string &pictureId() const { return m_pictureId; }
    void setPictureId(std::string id) { m_pictureId = std::move(id); }

    int width() const { return m_width; }
    int height() const { return m_height; }
    std::uint32_t bitsPerPixel() const { return m_bitsPerPixel; }
    int bytesPerPixel() const { return m_bytesPerPixel; }
    std::uint32_t rowStride() const { return m_rowStride; }
    int colorTableLength() const { return m_colorTableLength; }
    int state() const { return m_state; }
    void setState(int state) { m_state = state; }

    bool hasBlock() const { return m_block != nullptr; }
    // The 40-byte header as little-endian bytes; null without a block.
    const std::uint8_t *header() const { return m_block ? m_block->header() : nullptr; }
    const std::uint8_t *colorTable() const { return m_block ? m_block->colorTable() : nullptr; }
    const std::uint8_t *pixels() const { return m_block ? m_block->pixels() : nullptr; }
    const std::uint8_t *scanLine(int y) const;
    std::size_t pixelBytes() const { return m_block ? m_block->pixelBytes() : 0; }
    std::shared_ptr<const PictureBlock> block() const { return m_block; }
    // Whether another picture or a bitmap holds the same block.
    bool sharesBlock() const { return m_block.use_count() > 1; }

    // Pixels to change in place; a shared block is copied first. Null without
    // a block or when the memory for the copy is refused.
    std::uint8_t *mutablePixels() { return ownPixels(true); }

    // Table entries for a depth: 2, 16 and 256 for 1, 4 and 8 bits, 0 for 16,
    // 24 and 32. Other depths are a programming error (asserted; -1).
    static int colorTableLengthFor(std::uint32_t bitsPerPixel);
    // Bytes of one row, rounded up to a multiple of 4; 0 when the width or
    // depth is not usable or the row would not fit an int.
    static std::uint32_t rowStrideFor(int width, int bitsPerPixel);

private:
    friend class CImageCovert;

    // Re-creates the picture with a fresh block whose pixel bytes are left
    // uninitialised: the caller writes every one of them. State 2.
    bool createUninitialised(int width, int height, int bitsPerPixel);
    // Pixels for a caller that is about to overwrite every byte: a shared
    // block is replaced by a fresh one of the same layout without copying.
    std::uint8_t *pixelsForOverwrite() { return ownPixels(false); }
    std::uint8_t *ownPixels(bool keepPixels);

    // A block for the layout, header filled, table zeroed, rows uninitialised.
    static std::shared_ptr<PictureBlock> makeBlock(int width, int height, int bitsPerPixel);
    void attach(std::shared_ptr<PictureBlock> block, int width, int height, int bitsPerPixel);

    std::shared_ptr<PictureBlock> m_block;
    std::uint32_t m_bitsPerPixel = 0;
    int m_colorTableLength = 0;
    std::string m_pictureId;
    int m_width = 0;
    int m_height = 0;
    int m_state = kStateEmpty;
    int m_bytesPerPixel = 0;
    std::uint32_t m_rowStride = 0;
};

} // namespace pigmora
