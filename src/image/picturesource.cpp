#include "image/picturesource.h"

#include "image/graykernel.h"
#include "image/imagedibobject.h"
#include "image/valuekernel.h"

#include <algorithm>
#include <cstddef>
#include <new>

namespace pigmora {

int valueStepsOf(PictureTone tone)
{
    switch (tone) {
    case PictureTone::ValueSteps3:
        return 3;
    case PictureTone::ValueSteps5:
        return 5;
    case PictureTone::ValueSteps9:
        return 9;
    default:
        return 0;
    }
}

std::shared_ptr<const PictureSource> PictureSource::make(const CImageDibObject &base, PictureTone tone)
{
    if (!base.hasBlock() || base.bitsPerPixel() != 32 || base.width() <= 0 || base.height() <= 0)
        return nullptr;
    std::shared_ptr<PictureSource> source(new (std::nothrow) PictureSource);
    if (!source)
        return nullptr;
    source->m_width = base.width();
    source->m_height = base.height();
    source->m_base = base.block();
    source->m_tone = tone;
    if (tone != PictureTone::Colour) {
        source->m_converted = PictureBlock::allocate(source->m_base->pixelBytes(), 0);
        const int bands = (source->m_height + kGrayBandRows - 1) / kGrayBandRows;
        source->m_bandsDone.reset(new (std::nothrow) std::once_flag[static_cast<std::size_t>(bands)]);
        if (!source->m_converted || !source->m_bandsDone)
            return nullptr;
    }
    return source;
}

const std::uint8_t *PictureSource::rows(int first, int last) const
{
    if (!m_converted)
        return m_base->pixels();
    const std::size_t stride = static_cast<std::size_t>(m_width) * 4;
    for (int band = std::max(first, 0) / kGrayBandRows; band <= std::min(last, m_height - 1) / kGrayBandRows; ++band) {
        std::call_once(m_bandsDone[static_cast<std::size_t>(band)], [&] {
            const int top = band * kGrayBandRows;
            const int count = std::min(kGrayBandRows, m_height - top);
            const std::size_t offset = static_cast<std::size_t>(top) * stride;
            const std::size_t pixels = static_cast<std::size_t>(count) * static_cast<std::size_t>(m_width);
            if (m_tone == PictureTone::Gray)
                gray::grayPixels(m_base->pixels() + offset, m_converted->pixels() + offset, pixels);
            else
                value::valuePixels(m_base->pixels() + offset, m_converted->pixels() + offset, pixels,
                                   valueStepsOf(m_tone));
        });
    }
    return m_converted->pixels();
}

} // namespace pigmora
