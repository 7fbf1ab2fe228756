#pragma once

#include <cstddef>
#include <cstdint>

// Gray conversion of 32-bit pixels (blue, green, red, fourth byte).
namespace pigmora::gray {

// The gray level of one colour as the conversion defines it:
// trunc(blue x 0.114 + green x 0.587 + red x 0.299 + 0.5), limited to 255,
// with the double constants and every step in extended precision. The
// optimised kernels must give exactly this for every colour.
std::uint8_t grayLevel(std::uint8_t blue, std::uint8_t green, std::uint8_t red);

// Converts count pixels from src into dst, which may be src itself: blue,
// green and red become the gray level, the fourth byte is kept. Picks the
// fastest kernel the processor has.
void grayPixels(const std::uint8_t *src, std::uint8_t *dst, std::size_t count);

// The kernels behind grayPixels, for tests that compare them. The portable
// one runs everywhere; the AVX2 one only where avx2Available() is true.
void grayPixelsPortable(const std::uint8_t *src, std::uint8_t *dst, std::size_t count);
bool avx2Available();
void grayPixelsAvx2(const std::uint8_t *src, std::uint8_t *dst, std::size_t count);

} // namespace pigmora::gray
