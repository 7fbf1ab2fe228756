#pragma once

#include "data/color.h"

// Colour differences as the eye judges them: 8-bit sRGB to CIE XYZ (D65) to
// CIELAB, and the CIEDE2000 difference of two CIELAB colours.
namespace pigmora {

struct Xyz {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

struct Lab {
    double lightness = 0.0;
    double a = 0.0;
    double b = 0.0;
};

// An 8-bit sRGB channel decoded to linear light (the sRGB transfer curve).
double srgbToLinear(int channel);
// A linear value encoded with the sRGB transfer curve, rounded and clipped to 0..255.
int linearToSrgb8(double linear);

// Linear sRGB to XYZ with the sRGB matrix (D65); white (1, 1, 1) has Y = 1.
Xyz xyzOfLinearRgb(double red, double green, double blue);
// XYZ to linear sRGB with the matrix's inverse.
void linearRgbOfXyz(const Xyz &xyz, double &red, double &green, double &blue);
// The CIELAB companding function: cube root above (6/29)³, linear below.
double cielabF(double t);
// XYZ to CIELAB against the given white (L* 100 for the white itself).
Lab labOfXyz(const Xyz &xyz, const Xyz &white);
// The white of the sRGB matrix: XYZ of linear (1, 1, 1).
const Xyz &srgbWhite();
// An 8-bit sRGB colour as CIELAB; sRGB white is L* 100. Channels are clamped to 0..255.
Lab labOf(const RgbColor &color);

// The hue angle of (a, b) in degrees, 0 up to 360; 0 for the neutral axis.
double hueDegrees(double b, double a);

// sqrt(c⁷ / (c⁷ + 25⁷)), which rises with c: CIEDE2000's chroma weighting.
double seventhRatio(double c);

// CIEDE2000 with kL = kC = kH = 1. Symmetric in its arguments.
double deltaE00(const Lab &first, const Lab &second);
double deltaE00(const RgbColor &first, const RgbColor &second);

} // namespace pigmora
