#pragma once

// Plain per-pixel versions of the picture conversions, written straight from
// their definitions (one float accumulator per target byte, the fill first,
// every branch as described), and small picture helpers. The optimised
// conversions must match them byte for byte.

#include "image/imagedibobject.h"

#include <cstdint>
#include <random>
#include <vector>

namespace pigmora::test {

using Pixels = std::vector<std::uint8_t>; // 32-bit rows, stride width x 4

std::uint8_t referenceGray(int blue, int green, int red);
Pixels referenceEnlarge(const Pixels &src, int srcWidth, int srcHeight, int dstWidth, int dstHeight);
Pixels referenceReduce(const Pixels &src, int srcWidth, int srcHeight, int dstWidth, int dstHeight);

// Random 32-bit pixels, fourth byte included.
Pixels randomPixels(std::mt19937 &random, int width, int height);

// A picture in state 3 holding the given rows.
void makePicture(CImageDibObject &picture, int width, int height, const Pixels &rows);
// A row of pixels whose blue bytes are the given values (green, red, fourth 0).
Pixels blueRow(std::initializer_list<int> blues);
// The picture's rows as a vector.
Pixels pixelsOf(const CImageDibObject &picture);
// Blue bytes of a picture's pixels, in row order.
std::vector<int> bluesOf(const CImageDibObject &picture);

} // namespace pigmora::test
