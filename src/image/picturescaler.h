#pragma once

#include <cstdint>

// Area-averaging scaling of 32-bit pixel rows (blue, green, red, fourth byte;
// rows top first, stride width x 4). The arithmetic is single precision and
// each weight, product and sum is rounded as the plain per-pixel algorithms
// round it, so the results are those algorithms' to the bit; the loops only
// skip work whose result is known (a weight of exactly 1, a row equal to the
// one before). Every destination byte is written; the fourth byte becomes 0.
namespace pigmora::scaler {

// srcWidth x srcHeight into dstWidth x dstHeight with dstWidth >= srcWidth
// and dstHeight >= srcHeight (all sides positive). Each destination pixel
// takes its weights from at most two source pixels per axis and is truncated.
// False when the working memory is refused (the destination is then partly
// written).
bool enlarge(const std::uint8_t *src, int srcWidth, int srcHeight, std::uint8_t *dst, int dstWidth, int dstHeight);

// srcWidth x srcHeight into dstWidth x dstHeight with dstWidth <= srcWidth
// and dstHeight <= srcHeight. Walks the source once, adding each pixel's
// weighted bytes into accumulators of at most two destination rows, and
// rounds a finished row's averages (plus 0.5, truncated). Same size gives an
// exact copy. False when the working memory is refused.
bool reduce(const std::uint8_t *src, int srcWidth, int srcHeight, std::uint8_t *dst, int dstWidth, int dstHeight);

} // namespace pigmora::scaler
