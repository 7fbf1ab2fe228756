#pragma once

#include "image/scalerkernel.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace pigmora {

class PictureSource;

// What every rectangle of one scaled picture shares: the per-axis weight
// tables of the area-averaging scaler for one source size and one target
// size (or the plain copy of an unscaled view). With it, any rectangle of the
// target is computed from the source rows it covers alone, and holds the
// very bytes the whole scaled picture has there: the same tables, the same
// per-pixel arithmetic and the same order of sums.
class ScalePlan
{
public:
    enum class Mode { Copy, Enlarge, Reduce };

    // The plan for source width x height scaled to targetWidth x
    // targetHeight (Copy: the same size, every byte as it is, the fourth
    // included). None for sizes the scaler refuses (a side not positive, one
    // axis growing while the other shrinks) or tables whose memory is refused.
    static std::unique_ptr<const ScalePlan> make(Mode mode, int sourceWidth, int sourceHeight, int targetWidth,
                                                 int targetHeight);

    Mode mode() const { return m_mode; }
    int targetWidth() const { return m_targetWidth; }
    int targetHeight() const { return m_targetHeight; }

    // Writes the target rectangle (x, y, w, h), which must lie inside the
    // target, to out (rows of w pixels, outStride bytes apart). False when
    // the working memory is refused.
    bool render(const PictureSource &source, int x, int y, int w, int h, std::uint8_t *out,
                std::ptrdiff_t outStride) const;

private:
    ScalePlan() = default;

    void renderEnlarged(const std::uint8_t *src, int x, int y, int w, int h, std::uint8_t *out,
                        std::ptrdiff_t outStride) const;
    bool renderReduced(const std::uint8_t *src, int x, int y, int w, int h, std::uint8_t *out,
                       std::ptrdiff_t outStride) const;
    // The first and last source rows that target rows y .. y + h - 1 read
    // (rows), or columns that target columns y .. y + h - 1 read.
    void sourceSpan(bool rows, int y, int h, int &first, int &last) const;

    Mode m_mode = Mode::Copy;
    int m_sourceWidth = 0;
    int m_sourceHeight = 0;
    int m_targetWidth = 0;
    int m_targetHeight = 0;
    std::vector<scaler::kernel::EnlargeTap> m_columnTaps; // Enlarge
    std::vector<scaler::kernel::EnlargeTap> m_rowTaps;
    std::vector<scaler::kernel::ColumnRun> m_columnRuns; // Reduce: one run per target column (+ a spare)
    std::vector<scaler::kernel::ColumnRun> m_rowRuns; // and per target row: the same walk down the rows
    float m_reduceScale = 1.0f;
};

} // namespace pigmora
