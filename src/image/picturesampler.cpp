#include "image/picturesampler.h"

#include "engine/colordifference.h"
#include "image/picturesource.h"
#include "image/virtualpicture.h"

#include <algorithm>
#include <cstdint>

namespace pigmora {

bool isSampleSize(int size)
{
    return size >= 1 && size <= kMaxSampleSize && size % 2 == 1;
}

std::optional<AreaSample> sampleArea(const PictureSource &source, int x, int y, int size)
{
    if (size < 1 || size % 2 == 0 || x < 0 || y < 0 || x >= source.width() || y >= source.height())
        return std::nullopt;
    const int half = size / 2;
    const int left = std::max(x - half, 0);
    const int right = std::min(x + half, source.width() - 1);
    const int top = std::max(y - half, 0);
    const int bottom = std::min(y + half, source.height() - 1);
    const std::uint8_t *rows = source.rows(top, bottom, left, right);
    const std::size_t stride = static_cast<std::size_t>(source.width()) * 4;

    AreaSample sample;
    sample.size = size;
    sample.pixels = (right - left + 1) * (bottom - top + 1);
    double sums[3] = {0.0, 0.0, 0.0}; // blue, green, red
    for (int j = top; j <= bottom; ++j) {
        const std::uint8_t *p = rows + static_cast<std::size_t>(j) * stride + static_cast<std::size_t>(left) * 4;
        for (int i = left; i <= right; ++i, p += 4) {
            sums[0] += srgbToLinear(p[0]);
            sums[1] += srgbToLinear(p[1]);
            sums[2] += srgbToLinear(p[2]);
            sample.clippedPixels += (p[0] == 255 || p[1] == 255 || p[2] == 255) ? 1 : 0;
        }
    }
    sample.linear = {sums[2] / sample.pixels, sums[1] / sample.pixels, sums[0] / sample.pixels};
    sample.color = {linearToSrgb8(sample.linear[0]), linearToSrgb8(sample.linear[1]), linearToSrgb8(sample.linear[2])};
    return sample;
}

int originalPixelOf(int viewCoordinate, int originalSide, int viewSide)
{
    if (viewSide <= 0 || originalSide <= 0)
        return 0;
    // floor((v + 0.5) x W / a) in integers.
    const std::int64_t p = (2 * std::int64_t{viewCoordinate} + 1) * originalSide / (2 * std::int64_t{viewSide});
    return static_cast<int>(std::clamp<std::int64_t>(p, 0, originalSide - 1));
}

double originalPositionOf(int viewCoordinate, int originalSide, int viewSide)
{
    if (viewSide <= 0)
        return 0.0;
    return (viewCoordinate + 0.5) * originalSide / viewSide;
}

std::optional<AreaSample> samplePick(const VirtualPicture &view, int x, int y, int size)
{
    if (!isSampleSize(size) || x < 0 || y < 0 || x >= view.width() || y >= view.height())
        return std::nullopt;
    if (size == 1) {
        const auto color = view.pixel(x, y);
        if (!color)
            return std::nullopt;
        AreaSample sample;
        sample.color = *color;
        sample.linear = {srgbToLinear(color->red), srgbToLinear(color->green), srgbToLinear(color->blue)};
        sample.clippedPixels = (color->red == 255 || color->green == 255 || color->blue == 255) ? 1 : 0;
        return sample;
    }
    const PictureSource &source = *view.source();
    return sampleArea(source, originalPixelOf(x, source.width(), view.width()),
                      originalPixelOf(y, source.height(), view.height()), size);
}

} // namespace pigmora
