#include "engine/pigmentsolver.h"
#include "engine/colordifference.h"
#include "engine/mixrecords.h"
#include "engine/mixsolver.h"
#include "engine/pigmentmix.h"
#include "engine/pigmentsearch.h"

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
        m_reflectances.clear();
        m_reflectances.reserve(m_paints.size());
        for (const PigmentPaint &paint : m_paints)
            m_reflectances.push_back(reflectanceOf(paint.curve));
        std::vector<double> bounds;
        bounds.reserve(static_cast<std::size_t>(n * (n - 1) / 2));
        int lowestI = 0;
        int lowestJ = 1;
        double lowest = std::numeric_limits<double>::infinity();
        for (int i = 0; i + 1 < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                const double bound = pairLowerBound(m_target, m_reflectances[static_cast<std::size_t>(i)],
                                                    m_reflectances[static_cast<std::size_t>(j)]);
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

    // The hundredths first, in lanes 0 .. 100; each run of fine shares
    // (0.001 .. 0.009, 0.991 .. 0.999) only when the reflectances of the mixes
    // at its two ends, which bound every mix between them, could still win.
    // The shares are scored in ascending order all the same.
    void pair(int i, int j, Best &best)
    {
        const PigmentPaint &a = paint(i);
        const PigmentPaint &b = paint(j);
        const PigmentLanes *lanes = &m_pairLanes;
        if (a.strength != b.strength) {
            fillPairLanes(a.strength, b.strength, m_lanes);
            lanes = &m_lanes;
        }
        pigmentLanesXyz(a.curve, b.curve, nullptr, *lanes, m_xyz, 0, kCoarseLaneEnd);
        auto scan = [&](std::size_t begin, std::size_t end, int firstShare, int step) {
            for (std::size_t l = begin; l < end; ++l) {
                if (improves(l, best))
                    best = {m_difference, i, j, -1, firstShare + step * static_cast<int>(l - begin), 0, m_mix};
            }
        };
        auto fine = [&](std::size_t lane, std::size_t from, std::size_t to, int firstShare) {
            const ReflectanceCurve end = reflectanceOf(a.curve, lanes->c1[lane], b.curve, lanes->c2[lane]);
            const ReflectanceCurve &alone = lane == 1 ? reflectance(j) : reflectance(i);
            if (pairLowerBound(m_target, end, alone) > std::min(m_ceiling, best.difference))
                return;
            pigmentLanesXyz(a.curve, b.curve, nullptr, *lanes, m_xyz, static_cast<int>(from),
                            static_cast<int>(from) + kFineLaneBlock);
            scan(from, to, firstShare, 1);
        };
        scan(0, 1, 0, 10);
        fine(1, kLowFineLane, kLowFineLane + 9, 1);
        scan(1, 100, 10, 10);
        fine(99, kHighFineLane, kHighFineLane + 9, 991);
        scan(100, 101, 1000, 10);
    }

    // A third paint in the same lane layout (m = 10 .. 1000 in lanes 0 .. 99,
    // the fine shares after them), skipped whole or by its runs of fine shares
    // where the reflectances at the ends of the range bound every mix in it.
    void third(int t, Best &best)
    {
        const Best pairBest = best;
        const PigmentPaint &a = paint(pairBest.first);
        const PigmentPaint &b = paint(pairBest.second);
        const PigmentPaint &c = paint(t);
        if (m_pairMixFor != pairBest.share) {
            const auto pair = concentrations(pairParts(pairBest.share), std::array<double, 2>{a.strength, b.strength});
            m_pairMix = reflectanceOf(a.curve, pair[0], b.curve, pair[1]);
            m_pairMixFor = pairBest.share;
        }
        if (pairLowerBound(m_target, m_pairMix, reflectance(t)) > std::min(m_ceiling, best.difference))
            return;
        const std::array<double, 3> strengths{a.strength, b.strength, c.strength};
        m_lanes = PigmentLanes();
        auto put = [&](std::size_t lane, int m) {
            const auto cs = concentrations(threeParts(pairBest.share, m), strengths);
            m_lanes.c1[lane] = cs[0];
            m_lanes.c2[lane] = cs[1];
            m_lanes.c3[lane] = cs[2];
        };
        for (int m = 1; m <= 100; ++m)
            put(static_cast<std::size_t>(m - 1), 10 * m);
        for (int m = 1; m <= 9; ++m) {
            put(kLowFineLane + static_cast<std::size_t>(m - 1), m);
            put(kHighFineLane + static_cast<std::size_t>(m - 1), 990 + m);
        }
        pigmentLanesXyz(a.curve, b.curve, &c.curve, m_lanes, m_xyz, 0, kCoarseLaneEnd);
        auto scan = [&](std::size_t begin, std::size_t end, int firstShare, int step) {
            for (std::size_t l = begin; l < end; ++l) {
                if (improves(l, best)) {
                    best = {m_difference,
                            pairBest.first,
                            pairBest.second,
                            t,
                            pairBest.share,
                            firstShare + step * static_cast<int>(l - begin),
                            m_mix};
                }
            }
        };
        auto fine = [&](std::size_t lane, const ReflectanceCurve &alone, std::size_t from, int firstShare) {
            if (pairLowerBound(m_target, laneReflectance(m_lanes, lane, a, b, c), alone)
                > std::min(m_ceiling, best.difference))
                return;
            pigmentLanesXyz(a.curve, b.curve, &c.curve, m_lanes, m_xyz, static_cast<int>(from),
                            static_cast<int>(from) + kFineLaneBlock);
            scan(from, from + 9, firstShare, 1);
        };
        fine(0, m_pairMix, kLowFineLane, 1);
        scan(0, 99, 10, 10);
        fine(98, reflectance(t), kHighFineLane, 991);
        scan(99, 100, 1000, 10);
    }

private:
    const PigmentPaint &paint(int i) const { return m_paints[static_cast<std::size_t>(i)]; }

    // Pair lanes: the hundredths k = 0, 10 .. 1000 in lanes 0 .. 100, the
    // fine shares 1 .. 9 from kLowFineLane and 991 .. 999 from kHighFineLane.
    static constexpr int kCoarseLaneEnd = 104;
    static constexpr int kFineLaneBlock = 12;
    static constexpr std::size_t kLowFineLane = 104;
    static constexpr std::size_t kHighFineLane = 116;

    static void fillPairLanes(double first, double second, PigmentLanes &lanes)
    {
        const std::array<double, 2> strengths{first, second};
        lanes = PigmentLanes();
        auto put = [&](std::size_t lane, int k) {
            const auto c = concentrations(pairParts(k), strengths);
            lanes.c1[lane] = c[0];
            lanes.c2[lane] = c[1];
        };
        for (int k = 0; k <= 100; ++k)
            put(static_cast<std::size_t>(k), 10 * k);
        for (int k = 1; k <= 9; ++k) {
            put(kLowFineLane + static_cast<std::size_t>(k - 1), k);
            put(kHighFineLane + static_cast<std::size_t>(k - 1), 990 + k);
        }
    }

    const ReflectanceCurve &reflectance(int i) const { return m_reflectances[static_cast<std::size_t>(i)]; }

    // The reflectance of a three-paint lane's mix.
    static ReflectanceCurve laneReflectance(const PigmentLanes &lanes, std::size_t lane, const PigmentPaint &a,
                                            const PigmentPaint &b, const PigmentPaint &c)
    {
        ReflectanceCurve out;
        for (std::size_t k = 0; k < kPaddedWavelengthCount; ++k) {
            out.r[k] = reflectanceOfKs(lanes.c1[lane] * a.curve.ks[k] + lanes.c2[lane] * b.curve.ks[k]
                                       + lanes.c3[lane] * c.curve.ks[k]);
        }
        return out;
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
    std::vector<ReflectanceCurve> m_reflectances;
    ReflectanceCurve m_pairMix; // the best pair's mix, the third paint's start
    int m_pairMixFor = -1;
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
