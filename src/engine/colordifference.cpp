#include "engine/colordifference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace pigmora {

namespace {

// The sRGB matrix (linear RGB to XYZ) as published, four decimals.
constexpr double kToXyz[3][3] = {
    {0.4124, 0.3576, 0.1805},
    {0.2126, 0.7152, 0.0722},
    {0.0193, 0.1192, 0.9505},
};

struct Matrix3 {
    double m[3][3];
};

// The exact inverse (to double precision) rather than the rounded published
// one, so that XYZ of an sRGB colour maps back onto the same colour.
constexpr Matrix3 inverseOf(const double (&m)[3][3])
{
    const double c00 = m[1][1] * m[2][2] - m[1][2] * m[2][1];
    const double c01 = m[1][2] * m[2][0] - m[1][0] * m[2][2];
    const double c02 = m[1][0] * m[2][1] - m[1][1] * m[2][0];
    const double det = m[0][0] * c00 + m[0][1] * c01 + m[0][2] * c02;
    Matrix3 r{};
    r.m[0][0] = c00 / det;
    r.m[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    r.m[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    r.m[1][0] = c01 / det;
    r.m[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    r.m[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    r.m[2][0] = c02 / det;
    r.m[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    r.m[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    return r;
}

constexpr Matrix3 kToRgb = inverseOf(kToXyz);

const std::array<double, 256> &linearTable()
{
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[static_cast<std::size_t>(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

constexpr double kDegree = std::numbers::pi / 180.0;

} // namespace

double hueDegrees(double b, double a)
{
    if (a == 0.0 && b == 0.0)
        return 0.0;
    const double h = std::atan2(b, a) / kDegree;
    return h < 0.0 ? h + 360.0 : h;
}

double cielabF(double t)
{
    constexpr double delta = 6.0 / 29.0;
    return t > delta * delta * delta ? std::cbrt(t) : t / (3.0 * delta * delta) + 4.0 / 29.0;
}

double srgbToLinear(int channel)
{
    return linearTable()[static_cast<std::size_t>(std::clamp(channel, 0, 255))];
}

int linearToSrgb8(double linear)
{
    if (!(linear > 0.0))
        return 0;
    const double v = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
    return static_cast<int>(std::clamp(std::round(v * 255.0), 0.0, 255.0));
}

Xyz xyzOfLinearRgb(double red, double green, double blue)
{
    return {kToXyz[0][0] * red + kToXyz[0][1] * green + kToXyz[0][2] * blue,
            kToXyz[1][0] * red + kToXyz[1][1] * green + kToXyz[1][2] * blue,
            kToXyz[2][0] * red + kToXyz[2][1] * green + kToXyz[2][2] * blue};
}

void linearRgbOfXyz(const Xyz &xyz, double &red, double &green, double &blue)
{
    red = kToRgb.m[0][0] * xyz.x + kToRgb.m[0][1] * xyz.y + kToRgb.m[0][2] * xyz.z;
    green = kToRgb.m[1][0] * xyz.x + kToRgb.m[1][1] * xyz.y + kToRgb.m[1][2] * xyz.z;
    blue = kToRgb.m[2][0] * xyz.x + kToRgb.m[2][1] * xyz.y + kToRgb.m[2][2] * xyz.z;
}

Lab labOfXyz(const Xyz &xyz, const Xyz &white)
{
    const double fx = cielabF(xyz.x / white.x);
    const double fy = cielabF(xyz.y / white.y);
    const double fz = cielabF(xyz.z / white.z);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

const Xyz &srgbWhite()
{
    static const Xyz white = xyzOfLinearRgb(1.0, 1.0, 1.0);
    return white;
}

Lab labOf(const RgbColor &color)
{
    return labOfXyz(xyzOfLinearRgb(srgbToLinear(color.red), srgbToLinear(color.green), srgbToLinear(color.blue)),
                    srgbWhite());
}

double seventhRatio(double c)
{
    const double c2 = c * c;
    const double c7 = c2 * c2 * c2 * c;
    return std::sqrt(c7 / (c7 + 6103515625.0));
}

double deltaE00(const Lab &first, const Lab &second)
{
    const double c1 = std::sqrt(first.a * first.a + first.b * first.b);
    const double c2 = std::sqrt(second.a * second.a + second.b * second.b);
    const double g = 0.5 * (1.0 - seventhRatio((c1 + c2) * 0.5));
    const double a1 = (1.0 + g) * first.a;
    const double a2 = (1.0 + g) * second.a;
    const double cp1 = std::sqrt(a1 * a1 + first.b * first.b);
    const double cp2 = std::sqrt(a2 * a2 + second.b * second.b);
    const double h1 = hueDegrees(first.b, a1);
    const double h2 = hueDegrees(second.b, a2);

    double dh = 0.0;
    double hMean = h1 + h2;
    if (cp1 * cp2 != 0.0) {
        // Hues exactly opposite (a zero cross product) are 180 degrees apart by
        // definition; the angles from atan2 may miss that by a rounding error
        // and tip the mean hue into the wrong half-turn.
        const bool opposite = a1 * second.b - a2 * first.b == 0.0 && a1 * a2 + first.b * second.b < 0.0;
        dh = h2 - h1;
        if (opposite) {
            dh = dh > 0.0 ? 180.0 : -180.0;
            hMean = (h1 + h2) * 0.5;
        } else {
            if (std::fabs(dh) <= 180.0)
                hMean = (h1 + h2) * 0.5;
            else if (h1 + h2 < 360.0)
                hMean = (h1 + h2 + 360.0) * 0.5;
            else
                hMean = (h1 + h2 - 360.0) * 0.5;
            if (dh > 180.0)
                dh -= 360.0;
            else if (dh < -180.0)
                dh += 360.0;
        }
    }
    const double dL = second.lightness - first.lightness;
    const double dC = cp2 - cp1;
    const double dH = 2.0 * std::sqrt(cp1 * cp2) * std::sin(dh * 0.5 * kDegree);

    const double lMean = (first.lightness + second.lightness) * 0.5;
    const double cMean = (cp1 + cp2) * 0.5;
    const double t = 1.0 - 0.17 * std::cos((hMean - 30.0) * kDegree) + 0.24 * std::cos(2.0 * hMean * kDegree)
        + 0.32 * std::cos((3.0 * hMean + 6.0) * kDegree) - 0.20 * std::cos((4.0 * hMean - 63.0) * kDegree);
    const double hOff = (hMean - 275.0) / 25.0;
    const double dTheta = 30.0 * std::exp(-hOff * hOff);
    const double rc = 2.0 * seventhRatio(cMean);
    const double lOff = (lMean - 50.0) * (lMean - 50.0);
    const double sl = 1.0 + 0.015 * lOff / std::sqrt(20.0 + lOff);
    const double sc = 1.0 + 0.045 * cMean;
    const double sh = 1.0 + 0.015 * cMean * t;
    const double rt = -std::sin(2.0 * dTheta * kDegree) * rc;

    const double l = dL / sl;
    const double c = dC / sc;
    const double h = dH / sh;
    const double sum = l * l + c * c + h * h + rt * c * h;
    return sum > 0.0 ? std::sqrt(sum) : 0.0;
}

double deltaE00(const RgbColor &first, const RgbColor &second)
{
    return deltaE00(labOf(first), labOf(second));
}

} // namespace pigmora
