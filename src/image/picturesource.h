#pragma once

#include "image/colortransform.h"
#include "image/pictureblock.h"

#include <cstdint>
#include <memory>
#include <mutex>

namespace pigmora {

class CImageDibObject;

// How the pixels are shown: as they are, the gray conversion of the
// "黑白" view, or a value view (valuekernel.h): the gray of each colour's
// lightness L*, continuous or in 3, 5 or 9 steps.
enum class PictureTone { Colour, Gray, Value, ValueSteps3, ValueSteps5, ValueSteps9 };

// The step count of a value tone (0 for Value and for the others).
int valueStepsOf(PictureTone tone);

// The pixels a virtual picture is computed from: the base picture's rows as
// they are, or converted: colour-corrected, shown in a tone (gray, value),
// or both (corrected first). Converted pixels are made on first use, a
// block of 32 rows by 256 columns at a time, and kept, so that the view and
// the magnified picture of one state (and every zoom step) share them and a
// screen or a sample converts only what it reads. Thread-safe: any thread
// may ask for rows.
class PictureSource
{
public:
    // The source for a base picture holding 32-bit pixels, corrected by the
    // transform when there is one; none for a picture without pixels or when
    // the converted rows' memory is refused.
    static std::shared_ptr<const PictureSource> make(const CImageDibObject &base, PictureTone tone,
                                                     std::shared_ptr<const ColorTransform> transform = nullptr);
    static std::shared_ptr<const PictureSource> make(const CImageDibObject &base, bool gray,
                                                     std::shared_ptr<const ColorTransform> transform = nullptr)
    {
        return make(base, gray ? PictureTone::Gray : PictureTone::Colour, std::move(transform));
    }

    PictureSource(const PictureSource &) = delete;
    PictureSource &operator=(const PictureSource &) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    PictureTone tone() const { return m_tone; }
    bool gray() const { return m_tone == PictureTone::Gray; }
    // The colour correction of the rows; null when none.
    const std::shared_ptr<const ColorTransform> &transform() const { return m_transform; }

    // The first byte of row 0 (stride width x 4) once rows first .. last
    // (inclusive, within the picture) are ready to be read, whole or from
    // column left to right (inclusive).
    const std::uint8_t *rows(int first, int last) const { return rows(first, last, 0, m_width - 1); }
    const std::uint8_t *rows(int first, int last, int left, int right) const;

private:
    static constexpr int kBlockRows = 32;
    static constexpr int kBlockColumns = 256;

    PictureSource() = default;

    int m_width = 0;
    int m_height = 0;
    PictureTone m_tone = PictureTone::Colour;
    std::shared_ptr<const PictureBlock> m_base;
    std::shared_ptr<const ColorTransform> m_transform;
    std::shared_ptr<PictureBlock> m_converted; // null for the base rows as they are
    int m_blockColumns = 0; // blocks across a band
    std::unique_ptr<std::once_flag[]> m_blocksDone;
};

} // namespace pigmora
