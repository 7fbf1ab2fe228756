#include "engine/colorchecker.h"

#include "engine/colordifference.h"
#include "engine/whitebalance.h"

namespace pigmora::chart {

const std::array<Linear3, kPatches> &referenceLinear()
{
    static const std::array<Linear3, kPatches> patches = [] {
        const Xyz d50{0.9642, 1.0, 0.8249};
        const Matrix3 adapt = bradfordAdaptation(d50, srgbWhite());
        std::array<Linear3, kPatches> result{};
        for (std::size_t i = 0; i < result.size(); ++i) {
            const PatchReference &p = kReferenceD50[i];
            // CIELAB to XYZ: the inverse of cielabF.
            const double fy = (p.lightness + 16.0) / 116.0;
            const double f[3] = {fy + p.a / 500.0, fy, fy - p.b / 200.0};
            double t[3];
            for (int k = 0; k < 3; ++k) {
                constexpr double delta = 6.0 / 29.0;
                t[k] = f[k] > delta ? f[k] * f[k] * f[k] : 3.0 * delta * delta * (f[k] - 4.0 / 29.0);
            }
            const Linear3 xyz = adapt * Linear3{t[0] * d50.x, t[1] * d50.y, t[2] * d50.z};
            linearRgbOfXyz({xyz[0], xyz[1], xyz[2]}, result[i][0], result[i][1], result[i][2]);
        }
        return result;
    }();
    return patches;
}

} // namespace pigmora::chart
