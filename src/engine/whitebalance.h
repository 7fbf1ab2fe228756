#pragma once

#include "data/status.h"
#include "engine/colordifference.h"
#include "image/colortransform.h"

// White balance from a neutral reference: a linear-sRGB matrix that makes the
// reference neutral with its own luminance, by Bradford chromatic adaptation
// from the reference's white to the sRGB white (D65).
namespace pigmora {

struct AreaSample;

// The luminance (Y) of a linear sRGB colour.
double luminanceOf(const Linear3 &linear);

// Bradford adaptation in XYZ from one white to another.
Matrix3 bradfordAdaptation(const Xyz &from, const Xyz &to);

// A reference darker than this (luminance) is too noisy to balance on.
inline constexpr double kMinReferenceLuminance = 0.02;

// The matrix in linear sRGB (sRGB to XYZ, Bradford from the reference to D65
// at the reference's luminance, back to sRGB). Refused for a reference with
// a luminance below kMinReferenceLuminance, one with a channel at 255 (or
// more than a tenth of its pixels clipped), or one too strongly coloured to
// be taken for a neutral (a linear channel over 16 times another).
Result<Matrix3> whiteBalanceMatrix(const AreaSample &reference);

} // namespace pigmora
