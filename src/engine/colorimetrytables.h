#pragma once

#include <array>

// Published spectral tables, 380..780 nm at 5 nm (data/colorimetry/ names the
// sources): the CIE 1931 2-degree observer with illuminant D65, and the three
// sRGB basis reflectances of Mallett and Yuksel (2019).
namespace pigmora::spectral {

inline constexpr int kWavelengthCount = 81;
inline constexpr int kFirstWavelength = 380;
inline constexpr int kWavelengthStep = 5;

struct ObserverRow {
    double xbar;
    double ybar;
    double zbar;
    double d65;
};

struct BasisRow {
    double red;
    double green;
    double blue;
};

extern const std::array<ObserverRow, kWavelengthCount> kObserverD65;
extern const std::array<BasisRow, kWavelengthCount> kSrgbBasis;

} // namespace pigmora::spectral
