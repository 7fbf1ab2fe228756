#pragma once

// Photographs made to order for the correction tests and benchmarks: a
// background, a 24-patch chart seen in perspective and plain test patches,
// each in true linear colour, taken by a camera with a colour cast and an
// exposure error (a matrix in linear light), then encoded to 8 bits with
// Gaussian noise. Header only, so the benchmarks can use it without the
// test libraries.

#include "engine/colorchecker.h"
#include "engine/colordifference.h"
#include "image/chartgeometry.h"
#include "image/colortransform.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

namespace pigmora::test {

struct ScenePatch {
    int x, y, width, height;
    Linear3 color;
};

struct PhotoScene {
    int width = 0;
    int height = 0;
    Linear3 background{0.18, 0.18, 0.18};
    // Centres of chart patches 1, 6, 24, 19.
    std::optional<std::array<chart::Point, 4>> chart = std::nullopt;
    double patchShare = 0.8; // a patch's side over the spacing; the rest is the black frame
    std::vector<ScenePatch> patches = {};
};

struct Camera {
    Matrix3 response = {}; // true linear colour to the camera's linear colour
    double noise = 0.0; // standard deviation in 8-bit codes
};

// 32-bit rows (blue, green, red, 0), top row first.
inline std::vector<std::uint8_t> takePhoto(const PhotoScene &scene, const Camera &camera, unsigned seed = 1)
{
    std::vector<Linear3> truth(static_cast<std::size_t>(scene.width) * scene.height, scene.background);
    if (scene.chart) {
        const chart::Perspective p = chart::layoutOf(*scene.chart)->perspective;
        const Matrix3 toPicture{{p.a, p.b, p.c, p.d, p.e, p.f, p.g, p.h, 1.0}};
        const Matrix3 toChart = *toPicture.inverse();
        const auto &references = chart::referenceLinear();
        for (int y = 0; y < scene.height; ++y) {
            for (int x = 0; x < scene.width; ++x) {
                const Linear3 q = toChart * Linear3{x + 0.5, y + 0.5, 1.0};
                const double u = q[0] / q[2] * (chart::kColumns - 1);
                const double v = q[1] / q[2] * (chart::kRows - 1);
                if (u < -0.6 || v < -0.6 || u > chart::kColumns - 0.4 || v > chart::kRows - 0.4)
                    continue;
                Linear3 &t = truth[static_cast<std::size_t>(y) * scene.width + x];
                t = {0.03, 0.03, 0.03};
                const double column = std::round(u);
                const double row = std::round(v);
                if (std::fabs(u - column) < scene.patchShare / 2 && std::fabs(v - row) < scene.patchShare / 2
                    && column >= 0 && row >= 0 && column < chart::kColumns && row < chart::kRows)
                    t = references[static_cast<std::size_t>(row * chart::kColumns + column)];
            }
        }
    }
    for (const ScenePatch &patch : scene.patches)
        for (int y = patch.y; y < patch.y + patch.height; ++y)
            for (int x = patch.x; x < patch.x + patch.width; ++x)
                truth[static_cast<std::size_t>(y) * scene.width + x] = patch.color;

    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, camera.noise > 0.0 ? camera.noise : 1.0);
    std::vector<std::uint8_t> rows(truth.size() * 4, 0);
    for (std::size_t i = 0; i < truth.size(); ++i) {
        const Linear3 seen = camera.response * truth[i];
        for (int c = 0; c < 3; ++c) {
            const double linear = std::clamp(seen[static_cast<std::size_t>(c)], 0.0, 1.0);
            const double v = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
            const double code = v * 255.0 + (camera.noise > 0.0 ? noise(random) : 0.0);
            rows[4 * i + 2 - static_cast<std::size_t>(c)]
                = static_cast<std::uint8_t>(std::clamp(std::round(code), 0.0, 255.0));
        }
    }
    return rows;
}

// The linear colour of an 8-bit sRGB colour.
inline Linear3 linearOf(int red, int green, int blue)
{
    return {srgbToLinear(red), srgbToLinear(green), srgbToLinear(blue)};
}

inline Lab labOfLinear(const Linear3 &c)
{
    return labOfXyz(xyzOfLinearRgb(c[0], c[1], c[2]), srgbWhite());
}

} // namespace pigmora::test
