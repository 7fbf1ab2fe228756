#pragma once

#include <cstddef>
#include <cstdint>

// Value views of 32-bit pixels (blue, green, red, fourth byte): each colour
// shown as the gray of the same CIE lightness L* (what a painter calls its
// value), continuously or posterised into a number of value steps.
namespace pigmora::value {

// The step counts a value-step view offers.
inline constexpr int kStepChoices[] = {3, 5, 9};

// The gray level (0..255) of a colour's value: the sRGB gray with the same
// L* (D65), so that a gray stays itself. With steps >= 2 the L* is first
// rounded to the nearest of steps levels from 0 to 100 (3 steps: black, the
// gray of L* 50, white). Luminance is summed in fixed point (1/2^24) from
// per-channel tables, so every kernel gives exactly this.
std::uint8_t valueGray(std::uint8_t blue, std::uint8_t green, std::uint8_t red, int steps = 0);

// Converts count pixels from src into dst (which may be src): blue, green
// and red become valueGray, the fourth byte is kept.
void valuePixels(const std::uint8_t *src, std::uint8_t *dst, std::size_t count, int steps = 0);

} // namespace pigmora::value
