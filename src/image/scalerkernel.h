#pragma once

// Pieces of the area-averaging scaler shared by the whole-picture scaling and
// the tile-wise scaling of virtual pictures: the per-axis weight tables and
// the per-pixel arithmetic. Both paths use these very functions, so that a
// tile holds the bytes the whole picture has at its place.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pigmora::scaler::kernel {

// Blue, green, red and a zero fourth lane as four floats. Lane-wise vector
// arithmetic rounds each lane exactly as the scalar float operation would.
using Channels = float __attribute__((vector_size(16)));
using Lanes = std::int32_t __attribute__((vector_size(16)));
using PixelBytes = std::uint8_t __attribute__((vector_size(4)));

// Blue, green and red of the pixel at p; the fourth byte (never averaged) 0.
inline PixelBytes colourBytes(const std::uint8_t *p)
{
    PixelBytes bytes;
    std::memcpy(&bytes, p, 4);
    return bytes & PixelBytes{0xFF, 0xFF, 0xFF, 0};
}

inline Channels channelsOf(const std::uint8_t *p)
{
#if defined(__SSE2__)
    // The generic widening below compiles to byte-by-byte moves on plain
    // x86-64; two unpacks with zero do it in place.
    const __m128i zero = _mm_setzero_si128();
    const __m128i bytes = _mm_cvtsi32_si128(std::bit_cast<std::int32_t>(colourBytes(p)));
    const __m128i lanes = _mm_unpacklo_epi16(_mm_unpacklo_epi8(bytes, zero), zero);
    return std::bit_cast<Channels>(_mm_cvtepi32_ps(lanes));
#else
    return __builtin_convertvector(__builtin_convertvector(colourBytes(p), Lanes), Channels);
#endif
}

inline std::uint8_t clampByte(std::int32_t v)
{
    return static_cast<std::uint8_t>(v > 255 ? 255 : v);
}

// Stores trunc(v) of blue, green and red, and a zero fourth byte. The values
// are never negative, so truncation toward zero is the conversion's own.
inline void storeTruncated(std::uint8_t *p, Channels v)
{
    const Lanes lanes = __builtin_convertvector(v, Lanes);
    p[0] = clampByte(lanes[0]);
    p[1] = clampByte(lanes[1]);
    p[2] = clampByte(lanes[2]);
    p[3] = 0;
}

// p / q rounded once to single precision (exact in double for these sizes).
inline float quotient(std::int64_t p, std::int64_t q)
{
    return static_cast<float>(static_cast<double>(p) / static_cast<double>(q));
}

inline std::size_t rowBytes(int width)
{
    return static_cast<std::size_t>(width) * 4;
}

template<typename T>
inline bool resizeTable(std::vector<T> &table, std::size_t n)
{
    try {
        table.resize(n);
    } catch (const std::bad_alloc &) {
        return false;
    }
    return true;
}

// --- Enlarge ---

// Where a destination pixel takes its value along one axis: weight w0 from
// source pixel `source` and w1 from the next one (w1 = 0: not split, w0 = 1).
struct EnlargeTap {
    int source;
    float w0;
    float w1;

    friend bool operator==(const EnlargeTap &, const EnlargeTap &) = default;
};

// The weight table of one axis, source length m into destination length n.
inline bool buildEnlargeTaps(int m, int n, std::vector<EnlargeTap> &taps)
{
    if (!resizeTable(taps, static_cast<std::size_t>(n)))
        return false;
    std::int64_t o = 0;
    int current = 0;
    for (int i = 0; i < n; ++i) {
        if (o + m > n) {
            taps[static_cast<std::size_t>(i)] = {current, quotient(n - o, m), quotient(o + m - n, m)};
            ++current;
            o = o + m - n;
        } else if (o + m == n) {
            taps[static_cast<std::size_t>(i)] = {current, 1.0f, 0.0f};
            ++current;
            o = 0;
        } else {
            taps[static_cast<std::size_t>(i)] = {current, 1.0f, 0.0f};
            o += m;
        }
    }
    return true;
}

// Destination pixels from source row `top` (and `bottom`, the next source
// row, when the row is split), one per column tap of [first, first + count).
inline void enlargeRow(const std::uint8_t *top, const std::uint8_t *bottom, const EnlargeTap &row,
                       const EnlargeTap *first, std::size_t count, std::uint8_t *out)
{
    for (const EnlargeTap *column = first; column != first + count; ++column) {
        const std::uint8_t *s = top + static_cast<std::size_t>(column->source) * 4;
        const bool columnSplit = column->w1 != 0.0f;
        if (!bottom && !columnSplit) {
            // S x (1 x 1) is S itself.
            const PixelBytes bytes = colourBytes(s);
            std::memcpy(out, &bytes, 4);
        } else {
            Channels v = channelsOf(s) * (column->w0 * row.w0);
            if (columnSplit)
                v = v + channelsOf(s + 4) * (column->w1 * row.w0);
            if (bottom) {
                const std::uint8_t *t = bottom + static_cast<std::size_t>(column->source) * 4;
                v = v + channelsOf(t) * (column->w0 * row.w1);
                if (columnSplit)
                    v = v + channelsOf(t + 4) * (column->w1 * row.w1);
            }
            storeTruncated(out, v);
        }
        out += 4;
    }
}

// --- Reduce ---

// The source pixels that add into one destination column, in source order:
// the `lead` pixel split with the column before (its share leadWeight), the
// `count` pixels from `first` on that lie wholly inside, and the `tail`
// pixel split with the column after (its share tailWeight). -1: none. The
// column walk is the same for every source row, so it is made once.
struct ColumnRun {
    int lead = -1;
    float leadWeight = 0.0f;
    int first = 0;
    int count = 0;
    int tail = -1;
    float tailWeight = 0.0f;
};

inline bool buildColumnRuns(int w, int a, std::vector<ColumnRun> &runs)
{
    if (!resizeTable(runs, static_cast<std::size_t>(a) + 1))
        return false;
    std::int64_t cx = 0;
    std::size_t target = 0;
    for (int x = 0; x < w; ++x) {
        ColumnRun &run = runs[target];
        const bool split = cx + a > w;
        if (split) {
            const float f1 = quotient(cx + a - w, a);
            run.tail = x;
            run.tailWeight = 1.0f - f1;
            runs[target + 1].lead = x;
            runs[target + 1].leadWeight = f1;
        } else {
            if (run.count == 0)
                run.first = x;
            ++run.count;
        }
        cx += a;
        if (cx >= w)
            cx -= w;
        if (split || cx == 0)
            ++target;
    }
    return true;
}

// The factor that turns a reduced pixel's sum into its average:
// single(a x b / (W x H)).
inline float reduceScale(int srcWidth, int srcHeight, int dstWidth, int dstHeight)
{
    const std::int64_t products = std::int64_t{dstWidth} * dstHeight;
    const std::int64_t sourceProducts = std::int64_t{srcWidth} * srcHeight;
    return static_cast<float>(static_cast<long double>(products) / static_cast<long double>(sourceProducts));
}

} // namespace pigmora::scaler::kernel
