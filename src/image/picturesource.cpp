#include "image/picturesource.h"

#include "image/graykernel.h"
#include "image/imagedibobject.h"

#include <algorithm>
#include <cstddef>
#include <new>

namespace pigmora {

std::shared_ptr<const PictureSource> PictureSource::make(const CImageDibObject &base, bool gray)
{
    if (!base.hasBlock() || base.bitsPerPixel() != 32 || base.width() <= 0 || base.height() <= 0)
        return nullptr;
    std::shared_ptr<PictureSource> source(new (std::nothrow) PictureSource);
    if (!source)
        return nullptr;
    source->m_width = base.width();
    source->m_height = base.height();
    source->m_base = base.block();
    if (gray) {
        source->m_gray = PictureBlock::allocate(source->m_base->pixelBytes(), 0);
        const int bands = (source->m_height + kGrayBandRows - 1) / kGrayBandRows;
        source->m_bandsDone.reset(new (std::nothrow) std::once_flag[static_cast<std::size_t>(bands)]);
        if (!source->m_gray || !source->m_bandsDone)
            return nullptr;
    }
    return source;
}

const std::uint8_t *PictureSource::rows(int first, int last) const
{
    if (!m_gray)
        return m_base->pixels();
    const std::size_t stride = static_cast<std::size_t>(m_width) * 4;
    for (int band = std::max(first, 0) / kGrayBandRows; band <= std::min(last, m_height - 1) / kGrayBandRows; ++band) {
        std::call_once(m_bandsDone[static_cast<std::size_t>(band)], [&] {
            const int top = band * kGrayBandRows;
            const int count = std::min(kGrayBandRows, m_height - top);
            const std::size_t offset = static_cast<std::size_t>(top) * stride;
            gray::grayPixels(m_base->pixels() + offset, m_gray->pixels() + offset,
                             static_cast<std::size_t>(count) * static_cast<std::size_t>(m_width));
        });
    }
    return m_gray->pixels();
}

} // namespace pigmora
