#pragma once

#include "data/color.h"
#include "image/colortransform.h"

#include <optional>

namespace pigmora {

class PictureSource;
class VirtualPicture;

// A picked colour taken over an area: the N x N pixels of the picture around
// one pixel, averaged in linear light so that grain and compression blocks
// cancel out the way light mixes.
inline constexpr int kMaxSampleSize = 51;
// An odd size from 1 to kMaxSampleSize.
bool isSampleSize(int size);

struct AreaSample {
    RgbColor color; // the mean encoded back and rounded; one pixel: that pixel
    Linear3 linear{}; // the mean in linear light
    int size = 1; // N
    int pixels = 1; // how many pixels the square held after clipping
    int clippedPixels = 0; // of those, how many had a channel at 255
};

// The mean of the size x size pixels of the picture centred on pixel (x, y),
// clipped at the picture's edges. Any odd size from 1 (a pick takes those
// isSampleSize allows); none for a pixel outside the picture or another size.
std::optional<AreaSample> sampleArea(const PictureSource &source, int x, int y, int size);

// The view's mapping from a view pixel to the original picture: the original
// pixel under the view pixel's centre, for a side of originalSide pixels
// shown as viewSide. At 100 % the identity; at other zoom steps the pixel a
// click there lands on, so that a sample does not depend on the zoom.
int originalPixelOf(int viewCoordinate, int originalSide, int viewSide);
// The view pixel's centre in the original picture's coordinates (pixel p
// spans p .. p + 1).
double originalPositionOf(int viewCoordinate, int originalSide, int viewSide);

// The colour pick at view pixel (x, y) of a view picture: size 1 reads the
// view pixel itself, as shown (zoom and gray included); a larger size takes
// the mean around the original pixel under it (sampleArea of the view's
// source). None outside the view or for a refused size or memory.
std::optional<AreaSample> samplePick(const VirtualPicture &view, int x, int y, int size);

} // namespace pigmora
