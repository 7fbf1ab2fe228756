#include "engine/colordifference.h"
#include "engine/mixrecords.h"
#include "engine/mixsolver.h"
#include "engine/pigmentmix.h"
#include "engine/pigmentsearch.h"
#include "engine/pigmentsolver.h"

#include <algorithm>
#include <limits>
#include <vector>

// The pigment model's solve. The plain search scores every share with
// pigmentXyz; the fast one computes a pair's 119 shares side by side and skips
// the full colour difference wherever its lower bound already loses. Both keep
// the first candidate reaching the smallest ΔE00, so their answers are identical.
namespace pigmora {

namespace {

// Only a difference below this is good enough for one paint or for a pair
// without a third paint.
constexpr double kPigmentEnoughDifference = 1.0;

struct PigmentPaint {
    RgbColor color;
    KsCurve curve;
    double strength = 1.0;
};

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

// The best mix so far: its ΔE00, where it came from and its XYZ.
struct Best {
    double difference = std::numeric_limits<double>::infinity();
    int first = -1;
    int second = -1;
    int third = -1;
    int share = 0; // the first paint's share of the pair, in thousandths
    int thirdShare = 0; // the third paint's share, in thousandths
    Xyz xyz;
};

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

// The same candidates, a pair's shares computed in vector lanes and scored
// only where the lower bound could still win.
class FastSearch
{
public:
    FastSearch(const std::vector<PigmentPaint> &paints, const Lab &target)
        : m_paints(paints)
        , m_target(target)
    {
        fillPairLanes(1.0, 1.0, m_pairLanes);
    }

    // Pairs in box order, skipping every pair whose bound exceeds a ceiling
    // of the final answer: the best so far, or an early look at the pair with
    // the lowest bound (a real candidate, so the smallest difference can be no
    // larger). A skipped pair's mixes are all worse than the answer and could
    // neither win nor tie. The bound holds for any concentrations, so
    // strengths change nothing about it.
    void pairs(Best &best)
    {
        const int n = static_cast<int>(m_paints.size());
        std::vector<ReflectanceCurve> reflectances;
        reflectances.reserve(m_paints.size());
        for (const PigmentPaint &paint : m_paints)
            reflectances.push_back(reflectanceOf(paint.curve));
        std::vector<double> bounds;
        bounds.reserve(static_cast<std::size_t>(n * (n - 1) / 2));
        int lowestI = 0;
        int lowestJ = 1;
        double lowest = std::numeric_limits<double>::infinity();
        for (int i = 0; i + 1 < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                const double bound = pairLowerBound(m_target, reflectances[static_cast<std::size_t>(i)],
                                                    reflectances[static_cast<std::size_t>(j)]);
                bounds.push_back(bound);
                if (bound < lowest) {
                    lowest = bound;
                    lowestI = i;
                    lowestJ = j;
                }
            }
        }
        Best look;
        pair(lowestI, lowestJ, look);
        m_ceiling = look.difference;

        std::size_t p = 0;
        for (int i = 0; i + 1 < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                if (!(bounds[p++] > std::min(m_ceiling, best.difference)))
                    pair(i, j, best);
            }
        }
    }

    void pair(int i, int j, Best &best)
    {
        const PigmentPaint &a = paint(i);
        const PigmentPaint &b = paint(j);
        const PigmentLanes *lanes = &m_pairLanes;
        if (a.strength != b.strength) {
            fillPairLanes(a.strength, b.strength, m_lanes);
            lanes = &m_lanes;
        }
        pigmentLanesXyz(a.curve, b.curve, nullptr, *lanes, m_xyz);
        const auto &shares = pigmentPairShares();
        for (std::size_t l = 0; l < shares.size(); ++l) {
            if (improves(l, best))
                best = {m_difference, i, j, -1, shares[l], 0, m_mix};
        }
    }

    void third(int t, Best &best)
    {
        const Best pairBest = best;
        const PigmentPaint &a = paint(pairBest.first);
        const PigmentPaint &b = paint(pairBest.second);
        const std::array<double, 3> strengths{a.strength, b.strength, paint(t).strength};
        const auto &shares = pigmentThirdShares();
        for (std::size_t l = 0; l < shares.size(); ++l) {
            const auto c = concentrations(threeParts(pairBest.share, shares[l]), strengths);
            m_lanes.c1[l] = c[0];
            m_lanes.c2[l] = c[1];
            m_lanes.c3[l] = c[2];
        }
        for (std::size_t l = shares.size(); l < kPaddedPigmentShares; ++l)
            m_lanes.c1[l] = m_lanes.c2[l] = m_lanes.c3[l] = 0.0;
        pigmentLanesXyz(a.curve, b.curve, &paint(t).curve, m_lanes, m_xyz);
        for (std::size_t l = 0; l < shares.size(); ++l) {
            if (improves(l, best))
                best = {m_difference, pairBest.first, pairBest.second, t, pairBest.share, shares[l], m_mix};
        }
    }

private:
    const PigmentPaint &paint(int i) const { return m_paints[static_cast<std::size_t>(i)]; }

    static void fillPairLanes(double first, double second, PigmentLanes &lanes)
    {
        const std::array<double, 2> strengths{first, second};
        const auto &shares = pigmentPairShares();
        lanes = PigmentLanes();
        for (std::size_t l = 0; l < shares.size(); ++l) {
            const auto c = concentrations(pairParts(shares[l]), strengths);
            lanes.c1[l] = c[0];
            lanes.c2[l] = c[1];
        }
    }

    bool improves(std::size_t l, const Best &best)
    {
        const double ceiling = std::min(m_ceiling, best.difference);
        // L* first: it needs one cube root where the full CIELAB needs three.
        const double lightness = 116.0 * cielabF(m_xyz.y[l] / observerWeights().white.y) - 16.0;
        if (lightnessLowerBound(m_target, lightness) > ceiling)
            return false;
        m_mix = {m_xyz.x[l], m_xyz.y[l], m_xyz.z[l]};
        const Lab lab = pigmentLab(m_mix);
        if (deltaE00LowerBound(m_target, lab) > ceiling)
            return false;
        m_difference = deltaE00(m_target, lab);
        return m_difference < best.difference;
    }

    const std::vector<PigmentPaint> &m_paints;
    Lab m_target;
    PigmentLanes m_pairLanes; // every pair whose strengths are equal
    PigmentLanes m_lanes;
    LaneXyz m_xyz;
    Xyz m_mix;
    double m_difference = 0.0;
    double m_ceiling = std::numeric_limits<double>::infinity();
};

template<class Search>
bool solvePigment(std::span<const PaintColorRecord> box, std::span<const double> strengths, MixResult &result,
                  double *difference)
{
    if (box.empty())
        return false;
    result.paints[2] = PaintColorRecord();
    const RgbColor target = clampedColor(result.target.color());
    const Lab targetLab = labOf(target);
    const std::vector<PigmentPaint> paints = pigmentPaints(box, strengths);

    for (std::size_t k = 0; k < paints.size(); ++k) {
        const double single = deltaE00(targetLab, labOf(paints[k].color));
        if (single < kPigmentEnoughDifference) {
            result.paints[0] = withUsedFlag(box[k], true);
            result.paints[1] = withUsedFlag(box[k], false);
            result.mixed = box[k];
            result.proportions = {1.0f, 0.0f, 0.0f};
            result.deviation = colorDistance(target, paints[k].color);
            if (difference)
                *difference = single;
            return true;
        }
    }
    if (paints.size() < 2)
        return false;

    Search search(paints, targetLab);
    Best best;
    search.pairs(best);
    const int n = static_cast<int>(paints.size());
    if (!(best.difference < kPigmentEnoughDifference)) {
        const PaintColorRecord &first = box[static_cast<std::size_t>(best.first)];
        const PaintColorRecord &second = box[static_cast<std::size_t>(best.second)];
        for (int t = 0; t < n; ++t) {
            const PaintColorRecord &candidate = box[static_cast<std::size_t>(t)];
            if (!candidate.samePaint(first) && !candidate.samePaint(second))
                search.third(t, best);
        }
    }

    // The proportions are the shares (parts adding up to 1), whatever the strengths.
    const auto shares = concentrations(best.third >= 0 ? threeParts(best.share, best.thirdShare) : pairParts(best.share),
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
    return solvePigment<FastSearch>(box, {}, result, nullptr);
}

bool findPigmentMix(std::span<const PaintColorRecord> box, std::span<const double> strengths, MixResult &result,
                    double *difference)
{
    return solvePigment<FastSearch>(box, strengths, result, difference);
}

bool reference::findPigmentMix(std::span<const PaintColorRecord> box, MixResult &result)
{
    return solvePigment<PlainSearch>(box, {}, result, nullptr);
}

bool reference::findPigmentMix(std::span<const PaintColorRecord> box, std::span<const double> strengths,
                               MixResult &result, double *difference)
{
    return solvePigment<PlainSearch>(box, strengths, result, difference);
}

} // namespace pigmora
