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

// The scene's true colour at each pixel's centre, a row at a time.
class SceneColours
{
public:
    explicit SceneColours(const PhotoScene &scene)
        : m_scene(scene)
    {
        if (scene.chart) {
            const chart::Perspective p = chart::layoutOf(*scene.chart)->perspective;
            m_toChart = *Matrix3{{p.a, p.b, p.c, p.d, p.e, p.f, p.g, p.h, 1.0}}.inverse();
        }
    }

    Linear3 at(int x, int y) const
    {
        for (auto patch = m_scene.patches.rbegin(); patch != m_scene.patches.rend(); ++patch)
            if (x >= patch->x && y >= patch->y && x < patch->x + patch->width && y < patch->y + patch->height)
                return patch->color;
        if (!m_scene.chart)
            return m_scene.background;
        const Linear3 q = m_toChart * Linear3{x + 0.5, y + 0.5, 1.0};
        const double u = q[0] / q[2] * (chart::kColumns - 1);
        const double v = q[1] / q[2] * (chart::kRows - 1);
        if (u < -0.6 || v < -0.6 || u > chart::kColumns - 0.4 || v > chart::kRows - 0.4)
            return m_scene.background;
        const double column = std::round(u);
        const double row = std::round(v);
        const double half = m_scene.patchShare / 2;
        if (std::fabs(u - column) < half && std::fabs(v - row) < half && column >= 0 && row >= 0
            && column < chart::kColumns && row < chart::kRows)
            return chart::referenceLinear()[static_cast<std::size_t>(row * chart::kColumns + column)];
        return {0.03, 0.03, 0.03}; // the chart's black frame
    }

private:
    const PhotoScene &m_scene;
    Matrix3 m_toChart;
};

// 32-bit rows (blue, green, red, 0), top row first.
inline std::vector<std::uint8_t> takePhoto(const PhotoScene &scene, const Camera &camera, unsigned seed = 1)
{
    const SceneColours colours(scene);
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, camera.noise > 0.0 ? camera.noise : 1.0);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(scene.width) * scene.height * 4, 0);
    std::uint8_t *p = rows.data();
    for (int y = 0; y < scene.height; ++y) {
        for (int x = 0; x < scene.width; ++x, p += 4) {
            const Linear3 seen = camera.response * colours.at(x, y);
            for (int c = 0; c < 3; ++c) {
                const double linear = std::clamp(seen[static_cast<std::size_t>(c)], 0.0, 1.0);
                const double v = linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
                const double code = v * 255.0 + (camera.noise > 0.0 ? noise(random) : 0.0);
                p[2 - c] = static_cast<std::uint8_t>(std::clamp(std::round(code), 0.0, 255.0));
            }
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
