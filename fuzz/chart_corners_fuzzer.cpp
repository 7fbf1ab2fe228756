// Arbitrary corner clicks on a small picture of arbitrary pixels: the chart
// layout and the chart fit refuse or answer, never crash, and an answer keeps
// its promises (patches apart, odd sample squares, a fit within its limits).
#include "engine/chartfit.h"
#include "image/chartgeometry.h"
#include "image/imagedibobject.h"
#include "image/picturesource.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace pigmora;

namespace {

constexpr int kWidth = 96;
constexpr int kHeight = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::array<chart::Point, 4> corners{};
    double values[8] = {};
    std::memcpy(values, data, std::min(size, sizeof values));
    for (std::size_t k = 0; k < 4; ++k)
        corners[k] = {values[2 * k], values[2 * k + 1]};
    const std::size_t used = std::min(size, sizeof values);

    const Result<chart::Layout> layout = chart::layoutOf(corners);
    if (layout) {
        if (!(layout->spacing >= chart::kMinSpacing))
            __builtin_trap();
        for (const int side : layout->sampleSides)
            if (side < 1 || side % 2 == 0)
                __builtin_trap();
        for (const chart::Point &centre : layout->centres)
            if (!std::isfinite(centre.x) || !std::isfinite(centre.y))
                __builtin_trap();
    }

    // The rest of the input paints the picture, repeated to fill it.
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(kWidth) * kHeight * 4, 0x80);
    if (size > used) {
        for (std::size_t at = 0; at < rows.size(); ++at)
            rows[at] = data[used + at % (size - used)];
    }
    CImageDibObject picture;
    if (!picture.createFromRows(kWidth, kHeight, 32, {}, rows))
        __builtin_trap();
    const auto source = PictureSource::make(picture, false);
    if (!source)
        return 0;
    const Result<chart::Fit> fit = chart::fitChart(*source, corners);
    if (fit && (fit->usedPatches < chart::kMinUsedPatches || !(fit->meanDeltaE00 <= chart::kMaxMeanDeltaE00)))
        __builtin_trap();
    return 0;
}
