#include "image/imagecovert.h"

#include "image/graykernel.h"
#include "image/imagedibobject.h"
#include "image/picturescaler.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace pigmora {

namespace {

bool isConvertible(const CImageDibObject &picture)
{
    return picture.hasBlock() && picture.state() == CImageDibObject::kStateHoldsPicture && picture.bitsPerPixel() == 32;
}

} // namespace

bool CImageCovert::fillPicture(CImageDibObject &picture, int width, int height, std::uint8_t b0, std::uint8_t b1,
                               std::uint8_t b2, std::uint8_t b3)
{
    // One pass writing the pattern instead of white first and the pattern after.
    if (!picture.createUninitialised(width, height, 32))
        return false;
    std::uint8_t *p = picture.pixelsForOverwrite();
    const std::uint8_t pattern[4] = {b0, b1, b2, b3};
    const std::size_t bytes = picture.pixelBytes();
    if (bytes >= 4) {
        std::memcpy(p, pattern, 4);
        // Doubling copies: the pattern fills the block in log(n) memcpy calls.
        for (std::size_t done = 4; done < bytes; done *= 2)
            std::memcpy(p + done, p, std::min(done, bytes - done));
    }
    picture.setState(CImageDibObject::kStateHoldsPicture);
    return true;
}

bool CImageCovert::gray(CImageDibObject &picture)
{
    if (!isConvertible(picture))
        return false;
    const std::size_t count = picture.pixelBytes() / 4;
    if (!picture.sharesBlock()) {
        std::uint8_t *p = picture.mutablePixels();
        gray::grayPixels(p, p, count);
        return true;
    }
    // Shared rows (a fresh duplicate): the gray pixels go straight into a
    // block of this picture's own instead of copying first and converting
    // after. The shared block is kept alive until they are written.
    const std::shared_ptr<const PictureBlock> source = picture.block();
    std::uint8_t *dst = picture.pixelsForOverwrite();
    if (!dst)
        return false;
    gray::grayPixels(source->pixels(), dst, count);
    return true;
}

bool CImageCovert::scale(CImageDibObject &target, const CImageDibObject &source, int width, int height)
{
    if (!source.hasBlock() || width < 0 || height < 0)
        return false;
    // A side of 0 (a tiny picture at the smallest zoom) becomes 1 pixel.
    width = width == 0 ? 1 : width;
    height = height == 0 ? 1 : height;
    const int w = source.width();
    const int h = source.height();
    if ((width < w && height > h) || (width > w && height < h))
        return false;
    if (width > w || height > h)
        return enlarge(target, source, width, height);
    return reduce(target, source, width, height);
}

bool CImageCovert::enlarge(CImageDibObject &target, const CImageDibObject &source, int width, int height)
{
    return resample(target, source, width, height, Direction::Enlarge);
}

bool CImageCovert::reduce(CImageDibObject &target, const CImageDibObject &source, int width, int height)
{
    return resample(target, source, width, height, Direction::Reduce);
}

bool CImageCovert::resample(CImageDibObject &target, const CImageDibObject &source, int width, int height,
                            Direction direction)
{
    if (!isConvertible(source) || width <= 0 || height <= 0)
        return false;
    const int w = source.width();
    const int h = source.height();
    if (direction == Direction::Enlarge ? (width < w || height < h) : (width > w || height > h))
        return false;

    // The target is built aside and only then takes the place of the old
    // one, so that a refusal leaves it as it was and a picture scaled into
    // itself still reads its own rows.
    CImageDibObject scaled;
    if (!scaled.createUninitialised(width, height, 32))
        return false;
    const std::shared_ptr<const PictureBlock> rows = source.block();
    std::uint8_t *dst = scaled.pixelsForOverwrite();
    const bool done = direction == Direction::Enlarge ? scaler::enlarge(rows->pixels(), w, h, dst, width, height)
                                                      : scaler::reduce(rows->pixels(), w, h, dst, width, height);
    if (!done)
        return false;
    scaled.setState(CImageDibObject::kStateHoldsPicture);
    target.copyFrom(scaled);
    return true;
}

} // namespace pigmora
