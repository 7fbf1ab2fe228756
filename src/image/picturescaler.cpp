#include "image/picturescaler.h"

#include "image/scalerkernel.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace pigmora::scaler {

namespace {

using namespace kernel;

// Adds one source row into the accumulators of the current destination row
// and, for a row split with weights fy0 and fy1, of the next one. Each
// accumulator gets its pixels in source order, as the plain walk adds them;
// the sum is only kept in a register meanwhile. An unsplit row adds whole
// pixels unweighted and split ones with their column share.
template<bool RowSplit>
void accumulateRow(const std::uint8_t *s, const std::vector<ColumnRun> &runs, float fy0, float fy1, Channels *current,
                   Channels *next)
{
    const std::size_t columns = runs.size() - 1;
    for (std::size_t t = 0; t < columns; ++t) {
        const ColumnRun &run = runs[t];
        Channels sum = current[t];
        Channels below{};
        if constexpr (RowSplit)
            below = next[t];
        // A pixel split between this column and a neighbour adds its share.
        const auto addShare = [&](int column, float share) {
            const Channels c = channelsOf(s + 4 * static_cast<std::size_t>(column));
            if constexpr (RowSplit) {
                sum += c * (share * fy0);
                below += c * (share * fy1);
            } else {
                sum += c * share;
            }
        };
        if (run.lead >= 0)
            addShare(run.lead, run.leadWeight);
        const std::uint8_t *p = s + 4 * static_cast<std::size_t>(run.first);
        for (int k = 0; k < run.count; ++k, p += 4) {
            const Channels c = channelsOf(p);
            if constexpr (RowSplit) {
                sum += c * fy0;
                below += c * fy1;
            } else {
                sum += c;
            }
        }
        if (run.tail >= 0)
            addShare(run.tail, run.tailWeight);
        current[t] = sum;
        if constexpr (RowSplit)
            next[t] = below;
    }
}

} // namespace

bool enlarge(const std::uint8_t *src, int srcWidth, int srcHeight, std::uint8_t *dst, int dstWidth, int dstHeight)
{
    std::vector<EnlargeTap> columns;
    std::vector<EnlargeTap> rows;
    if (!buildEnlargeTaps(srcWidth, dstWidth, columns) || !buildEnlargeTaps(srcHeight, dstHeight, rows))
        return false;
    const std::size_t srcStride = rowBytes(srcWidth);
    const std::size_t dstStride = rowBytes(dstWidth);
    for (std::size_t j = 0; j < rows.size(); ++j) {
        std::uint8_t *out = dst + j * dstStride;
        const EnlargeTap &row = rows[j];
        if (j > 0 && row == rows[j - 1]) {
            // Same source rows and weights: the same pixels again.
            std::memcpy(out, out - dstStride, dstStride);
            continue;
        }
        const std::uint8_t *top = src + static_cast<std::size_t>(row.source) * srcStride;
        enlargeRow(top, row.w1 != 0.0f ? top + srcStride : nullptr, row, columns.data(), columns.size(), out);
    }
    return true;
}

bool reduce(const std::uint8_t *src, int srcWidth, int srcHeight, std::uint8_t *dst, int dstWidth, int dstHeight)
{
    const std::size_t srcStride = rowBytes(srcWidth);
    const std::size_t dstStride = rowBytes(dstWidth);
    if (srcWidth == dstWidth && srcHeight == dstHeight) {
        // Every pixel is its own target with weight 1 and the scale is 1:
        // the sum s plus 0.5, truncated, is s again.
        for (std::size_t i = 0; i < srcStride * static_cast<std::size_t>(srcHeight); i += 4) {
            const PixelBytes bytes = colourBytes(src + i);
            std::memcpy(dst + i, &bytes, 4);
        }
        return true;
    }

    // One run per destination column (and a spare one that would take the
    // split of the last source column, which the walk never makes: it ends
    // exactly on the source width); two rows of accumulators.
    std::vector<ColumnRun> runs;
    std::vector<Channels> current;
    std::vector<Channels> next;
    const auto columns = static_cast<std::size_t>(dstWidth);
    if (!buildColumnRuns(srcWidth, dstWidth, runs) || !resizeTable(current, columns) || !resizeTable(next, columns))
        return false;

    const float scale = reduceScale(srcWidth, srcHeight, dstWidth, dstHeight);

    std::int64_t ry = 0;
    int targetRow = 0;
    const std::uint8_t *s = src;
    for (int y = 0; y < srcHeight; ++y, s += srcStride) {
        const bool rowSplit = ry + dstHeight > srcHeight;
        const float fy1 = rowSplit ? quotient(ry + dstHeight - srcHeight, dstHeight) : 0.0f;
        const float fy0 = rowSplit ? 1.0f - fy1 : 1.0f;
        if (rowSplit)
            accumulateRow<true>(s, runs, fy0, fy1, current.data(), next.data());
        else
            accumulateRow<false>(s, runs, fy0, fy1, current.data(), next.data());

        ry += dstHeight;
        if (ry >= srcHeight)
            ry -= srcHeight;
        if (!rowSplit && ry != 0)
            continue; // the next source row adds into the same target row
        if (targetRow < dstHeight) {
            std::uint8_t *out = dst + static_cast<std::size_t>(targetRow) * dstStride;
            for (int x = 0; x < dstWidth; ++x, out += 4)
                storeTruncated(out, current[static_cast<std::size_t>(x)] * scale + 0.5f);
        }
        ++targetRow;
        current.swap(next);
        std::fill(next.begin(), next.end(), Channels{});
    }
    return true;
}

} // namespace pigmora::scaler
