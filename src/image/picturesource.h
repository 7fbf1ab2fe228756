#pragma once

#include "image/colortransform.h"
#include "image/pictureblock.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace pigmora {

class CImageDibObject;

// The pixels a virtual picture is computed from: the base picture's rows as
// they are, or converted: colour-corrected, gray, or both (corrected first).
// Converted rows are made on first use, a band of rows at a time, and kept,
// so that the view and the magnified picture of one state (and every zoom
// step) share them and a screen at a high zoom converts only the few rows it
// reads. Thread-safe: any thread may ask for rows.
class PictureSource
{
public:
    // The source for a base picture holding 32-bit pixels, corrected by the
    // transform when there is one; none for a picture without pixels or when
    // the converted rows' memory is refused.
    static std::shared_ptr<const PictureSource> make(const CImageDibObject &base, bool gray,
                                                     std::shared_ptr<const ColorTransform> transform = nullptr);

    PictureSource(const PictureSource &) = delete;
    PictureSource &operator=(const PictureSource &) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool gray() const { return m_gray; }
    // The colour correction of the rows; null when none.
    const std::shared_ptr<const ColorTransform> &transform() const { return m_transform; }

    // The first byte of row 0 (stride width x 4) once rows first .. last
    // (inclusive, within the picture) are ready to be read.
    const std::uint8_t *rows(int first, int last) const;

private:
    static constexpr int kBandRows = 32;

    PictureSource() = default;

    int m_width = 0;
    int m_height = 0;
    std::shared_ptr<const PictureBlock> m_base;
    bool m_gray = false;
    std::shared_ptr<const ColorTransform> m_transform;
    std::shared_ptr<PictureBlock> m_converted; // null for the base rows as they are
    std::unique_ptr<std::once_flag[]> m_bandsDone;
};

} // namespace pigmora
