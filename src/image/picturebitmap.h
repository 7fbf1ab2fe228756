#pragma once

#include "data/color.h"
#include "image/pictureblock.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace pigmora {

// A picture as handed to the desktop program for drawing: an immutable view
// of a picture's pixel rows that keeps them alive. It shares the picture's
// block instead of copying it; deleting or changing the picture later leaves
// the bitmap as it was.
//
// A 32-bit bitmap's rows are blue, green, red and an unused byte per pixel,
// top row first, exactly QImage::Format_RGB32 on a little-endian machine, so
// the desktop program wraps it without a copy:
//   QImage(bitmap.bits(), bitmap.width(), bitmap.height(), bitmap.bytesPerLine(),
//          QImage::Format_RGB32, release, new PictureBitmap(bitmap));
class PictureBitmap
{
public:
    PictureBitmap() = default; // the null bitmap
    PictureBitmap(std::shared_ptr<const PictureBlock> block, int width, int height, int bitsPerPixel, int bytesPerLine);

    bool isNull() const { return !m_block; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    int bitsPerPixel() const { return m_bitsPerPixel; }
    int bytesPerLine() const { return m_bytesPerLine; }

    // First byte of the top row; null for the null bitmap.
    const std::uint8_t *bits() const { return m_block ? m_block->pixels() : nullptr; }
    const std::uint8_t *scanLine(int y) const;
    // 4 bytes an entry (blue, green, red, 0); empty above 8 bits per pixel.
    std::span<const std::uint8_t> colorTable() const;

    // The colour of pixel (x, y) of a 32-bit bitmap; none outside the bitmap
    // or at other depths.
    std::optional<RgbColor> colorAt(int x, int y) const;

private:
    std::shared_ptr<const PictureBlock> m_block;
    int m_width = 0;
    int m_height = 0;
    int m_bitsPerPixel = 0;
    int m_bytesPerLine = 0;
};

} // namespace pigmora
