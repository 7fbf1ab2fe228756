#include "image/graykernel.h"

#include <array>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define PIGMORA_GRAY_AVX2 1
#endif

namespace pigmora::gray {

std::uint8_t grayLevel(std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    // The constants are doubles; the products and sums are extended. At the
    // exact .5 ties this decides the result (0, 1, 187 gives 56, not 57).
    const long double v = blue * static_cast<long double>(0.114) + green * static_cast<long double>(0.587)
        + red * static_cast<long double>(0.299) + 0.5L;
    const auto level = static_cast<long long>(v);
    return static_cast<std::uint8_t>(level > 255 ? 255 : level);
}

// The exact value is (114 b + 587 g + 299 r + 500) / 1000, a multiple of
// 0.001, and the extended-precision formula is off from it by far less than
// that. So its truncation equals the integer quotient except where the exact
// value is a whole number, where the formula's rounding may land just below.
// For given blue and green, exactly one red (mod 1000) makes such a tie, so a
// table of 65536 entries holds the formula's answer for every tie colour.
namespace {

struct TieTable {
    std::array<std::uint8_t, 65536> level{};

    TieTable()
    {
        constexpr int kInverse299 = 699; // 299 x 699 = 209001 = 1 (mod 1000)
        for (int b = 0; b < 256; ++b) {
            for (int g = 0; g < 256; ++g) {
                const int rest = (114 * b + 587 * g + 500) % 1000;
                const int r = (1000 - rest) % 1000 * kInverse299 % 1000;
                if (r < 256)
                    level[static_cast<std::size_t>(b << 8 | g)] = grayLevel(
                        static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(r));
            }
        }
    }
};

const TieTable &tieTable()
{
    static const TieTable table;
    return table;
}

inline std::uint32_t grayPixel(std::uint32_t p, const TieTable &ties)
{
    const std::uint32_t b = p & 0xFF;
    const std::uint32_t g = p >> 8 & 0xFF;
    const std::uint32_t r = p >> 16 & 0xFF;
    const std::uint32_t x = 114 * b + 587 * g + 299 * r + 500;
    std::uint32_t v = x / 1000;
    if (v * 1000 == x)
        v = ties.level[b << 8 | g];
    return (p & 0xFF000000u) | v * 0x010101u;
}

inline std::uint32_t loadPixel(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8
        | static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

inline void storePixel(std::uint8_t *p, std::uint32_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

} // namespace

void grayPixelsPortable(const std::uint8_t *src, std::uint8_t *dst, std::size_t count)
{
    const TieTable &ties = tieTable();
    for (std::size_t i = 0; i < count; ++i)
        storePixel(dst + 4 * i, grayPixel(loadPixel(src + 4 * i), ties));
}

#ifdef PIGMORA_GRAY_AVX2

bool avx2Available()
{
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

__attribute__((target("avx2"))) void grayPixelsAvx2(const std::uint8_t *src, std::uint8_t *dst, std::size_t count)
{
    const TieTable &ties = tieTable();
    const __m256i lowBytes = _mm256_set1_epi32(0x00FF00FF); // blue and red as two 16-bit halves
    const __m256i byteMask = _mm256_set1_epi32(0xFF);
    const __m256i blueRedWeights = _mm256_set1_epi32(299 << 16 | 114);
    const __m256i greenWeight = _mm256_set1_epi32(587);
    const __m256i half = _mm256_set1_epi32(500);
    const __m256i by125 = _mm256_set1_epi32(33555); // (y x 33555) >> 22 = y / 125 for y < 32768
    const __m256i thousand = _mm256_set1_epi32(1000);
    const __m256i fourthByte = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    const __m256i spread = _mm256_set1_epi32(0x010101);

    std::size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(src + 4 * i));
        const __m256i blueRed = _mm256_madd_epi16(_mm256_and_si256(p, lowBytes), blueRedWeights);
        const __m256i green = _mm256_madd_epi16(_mm256_and_si256(_mm256_srli_epi32(p, 8), byteMask), greenWeight);
        const __m256i x = _mm256_add_epi32(_mm256_add_epi32(blueRed, green), half);
        // x / 1000 as (x / 8) / 125.
        __m256i v = _mm256_srli_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(x, 3), by125), 22);
        const __m256i tie = _mm256_cmpeq_epi32(_mm256_mullo_epi32(v, thousand), x);
        if (const int tieLanes = _mm256_movemask_ps(_mm256_castsi256_ps(tie)); tieLanes != 0) {
            alignas(32) std::uint32_t levels[8];
            alignas(32) std::uint32_t pixels[8];
            _mm256_store_si256(reinterpret_cast<__m256i *>(levels), v);
            _mm256_store_si256(reinterpret_cast<__m256i *>(pixels), p);
            for (int k = 0; k < 8; ++k) {
                if (tieLanes >> k & 1)
                    levels[k] = ties.level[(pixels[k] & 0xFF) << 8 | (pixels[k] >> 8 & 0xFF)];
            }
            v = _mm256_load_si256(reinterpret_cast<const __m256i *>(levels));
        }
        const __m256i out = _mm256_or_si256(_mm256_mullo_epi32(v, spread), _mm256_and_si256(p, fourthByte));
        _mm256_storeu_si256(reinterpret_cast<__m256i *>(dst + 4 * i), out);
    }
    for (; i < count; ++i)
        storePixel(dst + 4 * i, grayPixel(loadPixel(src + 4 * i), ties));
}

#else

bool avx2Available()
{
    return false;
}

void grayPixelsAvx2(const std::uint8_t *src, std::uint8_t *dst, std::size_t count)
{
    grayPixelsPortable(src, dst, count);
}

#endif

void grayPixels(const std::uint8_t *src, std::uint8_t *dst, std::size_t count)
{
    if (avx2Available())
        grayPixelsAvx2(src, dst, count);
    else
        grayPixelsPortable(src, dst, count);
}

} // namespace pigmora::gray
