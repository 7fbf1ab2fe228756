#pragma once

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
// they are, or their gray or value conversion. Converted rows are made on
// first use, a band of rows at a time, and kept, so that the view and the
// magnified picture of one tone share them and a screen at a high zoom
// converts only the few rows it reads. Thread-safe: any thread may ask for
// rows.
class PictureSource
{
public:
    // The source for a base picture holding 32-bit pixels; none for a
    // picture without pixels or when the converted rows' memory is refused.
    static std::shared_ptr<const PictureSource> make(const CImageDibObject &base, PictureTone tone);
    static std::shared_ptr<const PictureSource> make(const CImageDibObject &base, bool gray)
    {
        return make(base, gray ? PictureTone::Gray : PictureTone::Colour);
    }

    PictureSource(const PictureSource &) = delete;
    PictureSource &operator=(const PictureSource &) = delete;

    int width() const { return m_width; }
    int height() const { return m_height; }
    PictureTone tone() const { return m_tone; }
    bool gray() const { return m_tone == PictureTone::Gray; }

    // The first byte of row 0 (stride width x 4) once rows first .. last
    // (inclusive, within the picture) are ready to be read.
    const std::uint8_t *rows(int first, int last) const;

private:
    static constexpr int kGrayBandRows = 32;

    PictureSource() = default;

    int m_width = 0;
    int m_height = 0;
    PictureTone m_tone = PictureTone::Colour;
    std::shared_ptr<const PictureBlock> m_base;
    std::shared_ptr<PictureBlock> m_converted; // null for the colour source
    std::unique_ptr<std::once_flag[]> m_bandsDone;
};

} // namespace pigmora
