#include "image/picturesource.h"

#include "image/graykernel.h"
#include "image/imagedibobject.h"

#include <algorithm>
#include <cstddef>
#include <new>

namespace pigmora {

std::shared_ptr<const PictureSource> PictureSource::make(const CImageDibObject &base, bool gray,
                                                         std::shared_ptr<const ColorTransform> transform)
{
    if (!base.hasBlock() || base.bitsPerPixel() != 32 || base.width() <= 0 || base.height() <= 0)
        return nullptr;
    std::shared_ptr<PictureSource> source(new (std::nothrow) PictureSource);
    if (!source)
        return nullptr;
    source->m_width = base.width();
    source->m_height = base.height();
    source->m_base = base.block();
    source->m_gray = gray;
    source->m_transform = std::move(transform);
    if (gray || source->m_transform) {
        source->m_converted = PictureBlock::allocate(source->m_base->pixelBytes(), 0);
        const int bands = (source->m_height + kBandRows - 1) / kBandRows;
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
    for (int band = std::max(first, 0) / kBandRows; band <= std::min(last, m_height - 1) / kBandRows; ++band) {
        std::call_once(m_bandsDone[static_cast<std::size_t>(band)], [&] {
            const int top = band * kBandRows;
            const std::size_t count
                = static_cast<std::size_t>(std::min(kBandRows, m_height - top)) * static_cast<std::size_t>(m_width);
            const std::size_t offset = static_cast<std::size_t>(top) * stride;
            const std::uint8_t *from = m_base->pixels() + offset;
            std::uint8_t *to = m_converted->pixels() + offset;
            if (m_transform) {
                m_transform->applyPixels(from, to, count);
                from = to;
            }
            if (m_gray)
                gray::grayPixels(from, to, count);
        });
    }
    return m_converted->pixels();
}

} // namespace pigmora
