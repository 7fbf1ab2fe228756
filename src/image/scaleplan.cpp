#include "image/scaleplan.h"

#include "image/picturesource.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace pigmora {

namespace {

using namespace scaler::kernel;

// Adds one source row into the sums of `count` target columns. A row that
// lies wholly inside the target row (Weighted false) adds whole pixels as
// they are and split ones with their column share; the share of a row split
// between two target rows (Weighted) adds c x rowWeight and c x (share x
// rowWeight). These are the products and the order of the whole picture's
// walk, which adds each target pixel's source pixels row by row, left to right.
template<bool Weighted>
void addRow(const std::uint8_t *s, const ColumnRun *runs, std::size_t count, float rowWeight, Channels *sums)
{
    for (std::size_t t = 0; t < count; ++t) {
        const ColumnRun &run = runs[t];
        Channels sum = sums[t];
        const auto addShare = [&](int column, float share) {
            const Channels c = channelsOf(s + 4 * static_cast<std::size_t>(column));
            if constexpr (Weighted)
                sum += c * (share * rowWeight);
            else
                sum += c * share;
        };
        if (run.lead >= 0)
            addShare(run.lead, run.leadWeight);
        const std::uint8_t *p = s + 4 * static_cast<std::size_t>(run.first);
        for (int k = 0; k < run.count; ++k, p += 4) {
            if constexpr (Weighted)
                sum += channelsOf(p) * rowWeight;
            else
                sum += channelsOf(p);
        }
        if (run.tail >= 0)
            addShare(run.tail, run.tailWeight);
        sums[t] = sum;
    }
}

} // namespace

std::unique_ptr<const ScalePlan> ScalePlan::make(Mode mode, int sourceWidth, int sourceHeight, int targetWidth,
                                                 int targetHeight)
{
    if (sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0)
        return nullptr;
    const bool fits = mode == Mode::Copy ? targetWidth == sourceWidth && targetHeight == sourceHeight
        : mode == Mode::Enlarge          ? targetWidth >= sourceWidth && targetHeight >= sourceHeight
                                         : targetWidth <= sourceWidth && targetHeight <= sourceHeight;
    if (!fits)
        return nullptr;
    std::unique_ptr<ScalePlan> plan(new (std::nothrow) ScalePlan);
    if (!plan)
        return nullptr;
    plan->m_mode = mode;
    plan->m_sourceWidth = sourceWidth;
    plan->m_sourceHeight = sourceHeight;
    plan->m_targetWidth = targetWidth;
    plan->m_targetHeight = targetHeight;
    if (mode == Mode::Enlarge) {
        if (!buildEnlargeTaps(sourceWidth, targetWidth, plan->m_columnTaps)
            || !buildEnlargeTaps(sourceHeight, targetHeight, plan->m_rowTaps))
            return nullptr;
    } else if (mode == Mode::Reduce) {
        // The walk along the rows splits them exactly as the walk along a
        // row splits its pixels: one run table per axis.
        if (!buildColumnRuns(sourceWidth, targetWidth, plan->m_columnRuns)
            || !buildColumnRuns(sourceHeight, targetHeight, plan->m_rowRuns))
            return nullptr;
        plan->m_reduceScale = reduceScale(sourceWidth, sourceHeight, targetWidth, targetHeight);
    }
    return plan;
}

void ScalePlan::sourceSpan(bool rows, int y, int h, int &first, int &last) const
{
    const int bottom = y + h - 1;
    switch (m_mode) {
    case Mode::Copy:
        first = y;
        last = bottom;
        break;
    case Mode::Enlarge: {
        const std::vector<EnlargeTap> &taps = rows ? m_rowTaps : m_columnTaps;
        first = taps[static_cast<std::size_t>(y)].source;
        const EnlargeTap &tap = taps[static_cast<std::size_t>(bottom)];
        last = tap.source + (tap.w1 != 0.0f ? 1 : 0);
        break;
    }
    case Mode::Reduce: {
        const std::vector<ColumnRun> &runs = rows ? m_rowRuns : m_columnRuns;
        const ColumnRun &top = runs[static_cast<std::size_t>(y)];
        first = top.lead >= 0 ? top.lead : top.first;
        const ColumnRun &end = runs[static_cast<std::size_t>(bottom)];
        last = std::max({end.tail, end.first + end.count - 1, end.lead});
        break;
    }
    }
}

bool ScalePlan::render(const PictureSource &source, int x, int y, int w, int h, std::uint8_t *out,
                       std::ptrdiff_t outStride) const
{
    if (w <= 0 || h <= 0 || x < 0 || y < 0 || x > m_targetWidth - w || y > m_targetHeight - h
        || source.width() != m_sourceWidth || source.height() != m_sourceHeight)
        return false;
    int first = 0;
    int last = 0;
    int left = 0;
    int right = 0;
    sourceSpan(true, y, h, first, last);
    sourceSpan(false, x, w, left, right);
    const std::uint8_t *src = source.rows(first, last, left, right);
    switch (m_mode) {
    case Mode::Copy: {
        const std::size_t stride = static_cast<std::size_t>(m_sourceWidth) * 4;
        for (int j = 0; j < h; ++j)
            std::memcpy(out + j * outStride, src + static_cast<std::size_t>(y + j) * stride + std::size_t{4} * x,
                        std::size_t{4} * static_cast<std::size_t>(w));
        return true;
    }
    case Mode::Enlarge:
        renderEnlarged(src, x, y, w, h, out, outStride);
        return true;
    case Mode::Reduce:
        return renderReduced(src, x, y, w, h, out, outStride);
    }
    return false;
}

void ScalePlan::renderEnlarged(const std::uint8_t *src, int x, int y, int w, int h, std::uint8_t *out,
                               std::ptrdiff_t outStride) const
{
    const std::size_t srcStride = static_cast<std::size_t>(m_sourceWidth) * 4;
    const EnlargeTap *columns = m_columnTaps.data() + x;
    for (int j = 0; j < h; ++j, out += outStride) {
        const std::size_t index = static_cast<std::size_t>(y + j);
        const EnlargeTap &row = m_rowTaps[index];
        if (j > 0 && row == m_rowTaps[index - 1]) {
            // Same source rows and weights: the same pixels again.
            std::memcpy(out, out - outStride, std::size_t{4} * static_cast<std::size_t>(w));
            continue;
        }
        const std::uint8_t *top = src + static_cast<std::size_t>(row.source) * srcStride;
        enlargeRow(top, row.w1 != 0.0f ? top + srcStride : nullptr, row, columns, static_cast<std::size_t>(w), out);
    }
}

bool ScalePlan::renderReduced(const std::uint8_t *src, int x, int y, int w, int h, std::uint8_t *out,
                              std::ptrdiff_t outStride) const
{
    std::vector<Channels> sums;
    if (!resizeTable(sums, static_cast<std::size_t>(w)))
        return false;
    const std::size_t srcStride = static_cast<std::size_t>(m_sourceWidth) * 4;
    const ColumnRun *columns = m_columnRuns.data() + x;
    const auto count = static_cast<std::size_t>(w);
    const auto row = [&](int r) { return src + static_cast<std::size_t>(r) * srcStride; };
    for (int j = 0; j < h; ++j, out += outStride) {
        std::fill(sums.begin(), sums.end(), Channels{});
        const ColumnRun &rows = m_rowRuns[static_cast<std::size_t>(y + j)];
        if (rows.lead >= 0)
            addRow<true>(row(rows.lead), columns, count, rows.leadWeight, sums.data());
        for (int k = 0; k < rows.count; ++k)
            addRow<false>(row(rows.first + k), columns, count, 1.0f, sums.data());
        if (rows.tail >= 0)
            addRow<true>(row(rows.tail), columns, count, rows.tailWeight, sums.data());
        for (std::size_t t = 0; t < count; ++t)
            storeTruncated(out + 4 * t, sums[t] * m_reduceScale + 0.5f);
    }
    return true;
}

} // namespace pigmora
