#include "engine/pigmentsolver.h"
#include "engine/colordifference.h"
#include "engine/mixrecords.h"
#include "engine/mixsolver.h"
#include "engine/pigmentmix.h"
#include "engine/pigmentprune.h"
#include "engine/pigmentsearch.h"

#include <algorithm>
#include <limits>
#include <vector>

// The pigment model's solve. The plain search scores every share with
// pigmentXyz; the fast one (pigmentprune.h) scores only the mixes its proven
// bounds cannot rule out. Both keep the first candidate reaching the smallest
// ΔE00, so their answers are identical.
namespace pigmora {

namespace {

// Only a difference below this is good enough for one paint or for a pair
// without a third paint.
constexpr double kPigmentEnoughDifference = 1.0;

std::vector<PigmentPaint> pigmentPaints(std::span<const PaintColorRecord> box, std::span<const double> strengths)
{
    std::vector<PigmentPaint> paints;
    paints.reserve(box.size());
    for (std::size_t k = 0; k < box.size(); ++k) {
        const RgbColor color = clampedColor(box[k].color());
        paints.push_back({color, ksCurveOf(color), strengths.empty() ? 1.0 : strengths[k]});
    }
    return paints;
}

using Best = PigmentCandidate;

// A pair at share k (thousandths) as parts, and with a third paint at m
// thousandths, the pair keeping its ratio k : 1000 - k. The parts are whole
// numbers, exact in double, adding up to 1000 and 1000000.
std::array<double, 3> pairParts(int k)
{
    return {static_cast<double>(k), static_cast<double>(1000 - k), 0.0};
}

std::array<double, 3> threeParts(int k, int m)
{
    return {static_cast<double>(k * (1000 - m)), static_cast<double>((1000 - k) * (1000 - m)),
            static_cast<double>(1000 * m)};
}

// Concentrations of the mix: the shares weighted by the paints' strengths.
std::array<double, 3> concentrations(const std::array<double, 3> &parts, std::span<const double> strengths)
{
    std::array<double, 3> c{};
    const std::size_t n = strengths.size();
    pigmentConcentrations(std::span(parts.data(), n), strengths, std::span(c.data(), n));
    return c;
}

// Every mix scored: the plain search.
class PlainSearch
{
public:
    PlainSearch(const std::vector<PigmentPaint> &paints, const Lab &target)
        : m_paints(paints)
        , m_target(target)
    { }

    void pairs(Best &best) const
    {
        const int n = static_cast<int>(m_paints.size());
        for (int i = 0; i + 1 < n; ++i) {
            for (int j = i + 1; j < n; ++j)
                pair(i, j, best);
        }
    }

private:
    const PigmentPaint &paint(int i) const { return m_paints[static_cast<std::size_t>(i)]; }

    void pair(int i, int j, Best &best) const
    {
        const std::array<double, 2> strengths{paint(i).strength, paint(j).strength};
        for (const int k : pigmentPairShares()) {
            const auto c = concentrations(pairParts(k), strengths);
            const Xyz xyz = pigmentXyz(paint(i).curve, c[0], paint(j).curve, c[1]);
            const double difference = deltaE00(m_target, pigmentLab(xyz));
            if (difference < best.difference)
                best = {difference, i, j, -1, k, 0, xyz};
        }
    }

public:
    void third(int t, Best &best) const
    {
        const Best pairBest = best;
        const PigmentPaint &a = paint(pairBest.first);
        const PigmentPaint &b = paint(pairBest.second);
        const std::array<double, 3> strengths{a.strength, b.strength, paint(t).strength};
        for (const int m : pigmentThirdShares()) {
            const auto c = concentrations(threeParts(pairBest.share, m), strengths);
            const Xyz xyz = pigmentXyz(a.curve, c[0], b.curve, c[1], paint(t).curve, c[2]);
            const double difference = deltaE00(m_target, pigmentLab(xyz));
            if (difference < best.difference)
                best = {difference, pairBest.first, pairBest.second, t, pairBest.share, m, xyz};
        }
    }

private:
    const std::vector<PigmentPaint> &m_paints;
    Lab m_target;
};

// The first paint within kPigmentEnoughDifference, or -1; its ΔE00 in difference.
// -2 when control cancels the look. fast: most paints are far off, and the
// lower bound spares them the full difference.
int enoughSinglePaint(const std::vector<PigmentPaint> &paints, const Lab &target, double &difference, bool fast,
                      const SolveControl *control)
{
    for (std::size_t k = 0; k < paints.size(); ++k) {
        if (control && k % 256 == 0 && control->isCancelled())
            return -2;
        const Lab lab = labOf(paints[k].color);
        if (fast && deltaE00LowerBound(target, lab) >= kPigmentEnoughDifference)
            continue;
        difference = deltaE00(target, lab);
        if (difference < kPigmentEnoughDifference)
            return static_cast<int>(k);
    }
    return -1;
}

// fast: the pruned search (which control may cancel), else the plain one.
bool solvePigment(std::span<const PaintColorRecord> box, std::span<const double> strengths, MixResult &result,
                  double *difference, bool fast, SolveControl *control)
{
    if (box.empty())
        return false;
    result.paints[2] = PaintColorRecord();
    const RgbColor target = clampedColor(result.target.color());
    const Lab targetLab = labOf(target);
    const std::vector<PigmentPaint> paints = pigmentPaints(box, strengths);

    double single = 0.0;
    const int enough = enoughSinglePaint(paints, targetLab, single, fast, fast ? control : nullptr);
    if (enough == -2)
        return false;
    if (enough >= 0) {
        const auto k = static_cast<std::size_t>(enough);
        result.paints[0] = withUsedFlag(box[k], true);
        result.paints[1] = withUsedFlag(box[k], false);
        result.mixed = box[k];
        result.proportions = {1.0f, 0.0f, 0.0f};
        result.deviation = colorDistance(target, paints[k].color);
        if (difference)
            *difference = single;
        return true;
    }
    if (paints.size() < 2)
        return false;

    Best best;
    auto excluded = [&](int t) {
        const PaintColorRecord &candidate = box[static_cast<std::size_t>(t)];
        return candidate.samePaint(box[static_cast<std::size_t>(best.first)])
            || candidate.samePaint(box[static_cast<std::size_t>(best.second)]);
    };
    if (fast) {
        PrunedPigmentSearch search(paints, targetLab, control);
        if (!search.pairs(best))
            return false;
        if (!(best.difference < kPigmentEnoughDifference) && !search.thirds(best, excluded))
            return false;
    } else {
        const PlainSearch search(paints, targetLab);
        search.pairs(best);
        if (!(best.difference < kPigmentEnoughDifference)) {
            for (int t = 0; t < static_cast<int>(paints.size()); ++t) {
                if (!excluded(t))
                    search.third(t, best);
            }
        }
    }

    // The proportions are the shares (parts adding up to 1), whatever the strengths.
    const auto shares
        = concentrations(best.third >= 0 ? threeParts(best.share, best.thirdShare) : pairParts(best.share),
                         std::array<double, 3>{1.0, 1.0, 1.0});
    result.paints[0] = withUsedFlag(box[static_cast<std::size_t>(best.first)], shares[0] > 0.0);
    result.paints[1] = withUsedFlag(box[static_cast<std::size_t>(best.second)], shares[1] > 0.0);
    if (best.third >= 0)
        result.paints[2] = withUsedFlag(box[static_cast<std::size_t>(best.third)], true);
    result.proportions = {static_cast<float>(shares[0]), static_cast<float>(shares[1]), static_cast<float>(shares[2])};
    const RgbColor mixed = pigmentRgb(best.xyz);
    result.mixed = recordOfColor(mixed);
    result.deviation = colorDistance(target, mixed);
    if (difference)
        *difference = best.difference;
    return true;
}

} // namespace

bool findPigmentMix(std::span<const PaintColorRecord> box, MixResult &result)
{
    return solvePigment(box, {}, result, nullptr, true, nullptr);
}

bool findPigmentMix(std::span<const PaintColorRecord> box, std::span<const double> strengths, MixResult &result,
                    double *difference, SolveControl *control)
{
    return solvePigment(box, strengths, result, difference, true, control);
}

bool reference::findPigmentMix(std::span<const PaintColorRecord> box, MixResult &result)
{
    return solvePigment(box, {}, result, nullptr, false, nullptr);
}

bool reference::findPigmentMix(std::span<const PaintColorRecord> box, std::span<const double> strengths,
                               MixResult &result, double *difference)
{
    return solvePigment(box, strengths, result, difference, false, nullptr);
}

} // namespace pigmora
