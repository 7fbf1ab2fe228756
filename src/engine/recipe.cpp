#include "engine/recipe.h"

#include "engine/pigmentmix.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace pigmora {

RecipeMixer::RecipeMixer(MixModel model, std::span<const RecipePaint> paints)
    : m_model(model)
    , m_paints(paints.begin(), paints.end())
{
    for (RecipePaint &paint : m_paints)
        paint.color = clampedColor(paint.color);
    if (model == MixModel::Pigment) {
        for (const RecipePaint &paint : m_paints)
            m_curves.push_back(ksCurveOf(paint.color));
    }
}

RecipeColor RecipeMixer::mix(std::span<const double> parts) const
{
    std::array<std::size_t, 3> taking{};
    std::array<double, 3> amounts{};
    std::size_t n = 0;
    for (std::size_t k = 0; k < parts.size() && k < m_paints.size() && n < 3; ++k) {
        if (parts[k] > 0.0) {
            taking[n] = k;
            amounts[n++] = parts[k];
        }
    }
    if (n == 0)
        return {};
    if (n == 1) {
        const RgbColor &color = m_paints[taking[0]].color;
        return {labOf(color), color};
    }
    if (m_model == MixModel::Pigment) {
        std::array<double, 3> strengths{};
        for (std::size_t k = 0; k < n; ++k)
            strengths[k] = m_paints[taking[k]].strength;
        std::array<double, 3> c{};
        pigmentConcentrations(std::span(amounts.data(), n), std::span(strengths.data(), n), std::span(c.data(), n));
        const Xyz xyz = n == 3
            ? pigmentXyz(m_curves[taking[0]], c[0], m_curves[taking[1]], c[1], m_curves[taking[2]], c[2])
            : pigmentXyz(m_curves[taking[0]], c[0], m_curves[taking[1]], c[1]);
        return {pigmentLab(xyz), pigmentRgb(xyz)};
    }
    const auto mixTwo = m_model == MixModel::Spatial ? mixSpatial : mixSubtractive;
    const RgbColor &a = m_paints[taking[0]].color;
    const RgbColor &b = m_paints[taking[1]].color;
    const double pair = amounts[0] + amounts[1];
    RgbColor rgb = mixTwo(a, b, static_cast<float>(amounts[0] / pair));
    if (n == 3)
        rgb = mixTwo(rgb, m_paints[taking[2]].color, static_cast<float>(pair / (pair + amounts[2])));
    return {labOf(rgb), rgb};
}

namespace {

std::array<double, 3> asParts(const std::array<int, 3> &parts)
{
    return {static_cast<double>(parts[0]), static_cast<double>(parts[1]), static_cast<double>(parts[2])};
}

double onePartOffWith(const RecipeMixer &mixer, const std::array<int, 3> &parts)
{
    const Lab base = mixer.mix(asParts(parts)).lab;
    double largest = 0.0;
    for (std::size_t k = 0; k < 3; ++k) {
        if (parts[k] <= 0)
            continue;
        for (const int step : {1, -1}) {
            std::array<int, 3> changed = parts;
            changed[k] += step;
            if (changed[k] < 1)
                continue;
            largest = std::max(largest, deltaE00(base, mixer.mix(asParts(changed)).lab));
        }
    }
    return largest;
}

} // namespace

RecipeColor mixRecipe(MixModel model, std::span<const RecipePaint> paints, std::span<const double> parts)
{
    return RecipeMixer(model, paints).mix(parts);
}

double onePartOff(MixModel model, const std::array<RecipePaint, 3> &paints, const std::array<int, 3> &parts)
{
    return onePartOffWith(RecipeMixer(model, paints), parts);
}

PartsRecipe findPartsRecipe(MixModel model, const std::array<RecipePaint, 3> &paints, const std::array<bool, 3> &used,
                            const Lab &target, double unroundedDeltaE00, int maxParts)
{
    const RecipeMixer mixer(model, paints);
    std::array<std::size_t, 3> slots{};
    std::size_t n = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        if (used[k])
            slots[n++] = k;
    }
    PartsRecipe best;
    if (n == 0)
        return best;
    auto score = [&](const std::array<int, 3> &parts) { return deltaE00(target, mixer.mix(asParts(parts)).lab); };
    if (n == 1) {
        best.parts[slots[0]] = 1;
        best.deltaE00 = score(best.parts);
        best.onePartOff = onePartOffWith(mixer, best.parts);
        return best;
    }

    best.deltaE00 = std::numeric_limits<double>::infinity();
    const int most = std::clamp(maxParts, kMinMaxParts, kMaxMaxParts);
    for (int total = static_cast<int>(n); total <= most; ++total) {
        // Parts vectors of this total in lexicographic order; strict
        // comparisons keep the first on exact ties.
        PartsRecipe atTotal;
        atTotal.deltaE00 = std::numeric_limits<double>::infinity();
        auto consider = [&](const std::array<int, 3> &parts) {
            const double difference = score(parts);
            if (difference < atTotal.deltaE00)
                atTotal = {parts, difference, 0.0};
        };
        for (int first = 1; first <= total - static_cast<int>(n) + 1; ++first) {
            std::array<int, 3> parts{};
            parts[slots[0]] = first;
            if (n == 2) {
                parts[slots[1]] = total - first;
                consider(parts);
                continue;
            }
            for (int second = 1; first + second < total; ++second) {
                parts[slots[1]] = second;
                parts[slots[2]] = total - first - second;
                consider(parts);
            }
        }
        if (atTotal.deltaE00 < best.deltaE00)
            best = atTotal;
        if (atTotal.deltaE00 <= unroundedDeltaE00 + kPartsTolerance) {
            best = atTotal;
            break;
        }
    }
    best.onePartOff = onePartOffWith(mixer, best.parts);
    return best;
}

} // namespace pigmora
