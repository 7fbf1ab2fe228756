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

std::shared_ptr<const PictureSource> PictureSource::make(const CImageDibObject &base, PictureTone tone,
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
    source->m_tone = tone;
    source->m_transform = std::move(transform);
    if (tone != PictureTone::Colour || source->m_transform) {
        source->m_converted = PictureBlock::allocate(source->m_base->pixelBytes(), 0);
        const int bands = (source->m_height + kBlockRows - 1) / kBlockRows;
        source->m_blockColumns = (source->m_width + kBlockColumns - 1) / kBlockColumns;
        source->m_blocksDone.reset(new (std::nothrow)
                                       std::once_flag[static_cast<std::size_t>(bands) * source->m_blockColumns]);
        if (!source->m_converted || !source->m_blocksDone)
            return nullptr;
    }
    return source;
}

const std::uint8_t *PictureSource::rows(int first, int last, int left, int right) const
{
    if (!m_converted)
        return m_base->pixels();
    const std::size_t stride = static_cast<std::size_t>(m_width) * 4;
    const int lastBand = std::min(last, m_height - 1) / kBlockRows;
    const int lastColumn = std::min(right, m_width - 1) / kBlockColumns;
    for (int band = std::max(first, 0) / kBlockRows; band <= lastBand; ++band) {
        for (int column = std::max(left, 0) / kBlockColumns; column <= lastColumn; ++column) {
            std::call_once(m_blocksDone[static_cast<std::size_t>(band) * m_blockColumns + column], [&] {
                const int top = band * kBlockRows;
                const int bottom = std::min(top + kBlockRows, m_height);
                const auto x = static_cast<std::size_t>(column) * kBlockColumns;
                const auto count = std::min<std::size_t>(kBlockColumns, static_cast<std::size_t>(m_width) - x);
                for (int y = top; y < bottom; ++y) {
                    const std::size_t offset = static_cast<std::size_t>(y) * stride + 4 * x;
                    const std::uint8_t *from = m_base->pixels() + offset;
                    std::uint8_t *to = m_converted->pixels() + offset;
                    if (m_transform) {
                        m_transform->applyPixels(from, to, count);
                        from = to;
                    }
                    if (m_tone == PictureTone::Gray)
                        gray::grayPixels(from, to, count);
                    else if (m_tone != PictureTone::Colour)
                        value::valuePixels(from, to, count, valueStepsOf(m_tone));
                }
            });
        }
    }
    return m_converted->pixels();
}

} // namespace pigmora
