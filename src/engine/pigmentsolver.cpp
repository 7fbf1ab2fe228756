#include "engine/colordifference.h"
#include "engine/mixrecords.h"
#include "engine/mixsolver.h"
#include "engine/pigmentmix.h"
#include "engine/pigmentsearch.h"

#include <algorithm>
#include <limits>
#include <vector>

// The pigment model's solve. The plain search scores every share with
// pigmentXyz; the fast one computes a pair's 101 shares side by side and skips
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
};

std::vector<PigmentPaint> pigmentPaints(std::span<const PaintColorRecord> box)
{
    std::vector<PigmentPaint> paints;
    paints.reserve(box.size());
    for (const PaintColorRecord &record : box) {
        const RgbColor color = clampedColor(record.color());
        paints.push_back({color, ksCurveOf(color)});
    }
    return paints;
}

// The best mix so far: its ΔE00, where it came from and its XYZ.
struct Best {
    double difference = std::numeric_limits<double>::infinity();
    int first = -1;
    int second = -1;
    int third = -1;
    int share = 0; // the first paint's share of the pair, in hundredths
    int thirdShare = 0; // the third paint's share, in hundredths
    Xyz xyz;
};

double pairShare(int k)
{
    return k / 100.0;
}

double otherShare(int k)
{
    return (100 - k) / 100.0;
}

// The pair's paints keep their ratio k : 100 - k while the third takes m hundredths.
void threeShares(int k, int m, double &c1, double &c2, double &c3)
{
    c1 = k * (100 - m) / 10000.0;
    c2 = (100 - k) * (100 - m) / 10000.0;
    c3 = m / 100.0;
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
    void pair(int i, int j, Best &best) const
    {
        const KsCurve &a = m_paints[static_cast<std::size_t>(i)].curve;
        const KsCurve &b = m_paints[static_cast<std::size_t>(j)].curve;
        for (int k = 0; k <= 100; ++k) {
            const Xyz xyz = pigmentXyz(a, pairShare(k), b, otherShare(k));
            const double difference = deltaE00(m_target, pigmentLab(xyz));
            if (difference < best.difference)
                best = {difference, i, j, -1, k, 0, xyz};
        }
    }

public:
    void third(int t, Best &best) const
    {
        const Best pairBest = best;
        const KsCurve &a = m_paints[static_cast<std::size_t>(pairBest.first)].curve;
        const KsCurve &b = m_paints[static_cast<std::size_t>(pairBest.second)].curve;
        const KsCurve &c = m_paints[static_cast<std::size_t>(t)].curve;
        for (int m = 1; m <= 100; ++m) {
            double c1 = 0.0;
            double c2 = 0.0;
            double c3 = 0.0;
            threeShares(pairBest.share, m, c1, c2, c3);
            const Xyz xyz = pigmentXyz(a, c1, b, c2, c, c3);
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
        for (int k = 0; k <= 100; ++k) {
            m_pairLanes.c1[static_cast<std::size_t>(k)] = pairShare(k);
            m_pairLanes.c2[static_cast<std::size_t>(k)] = otherShare(k);
        }
    }

    // Pairs in box order, skipping every pair whose bound exceeds a ceiling
    // of the final answer: the best so far, or an early look at the pair with
    // the lowest bound (a real candidate, so the smallest difference can be no
    // larger). A skipped pair's mixes are all worse than the answer and could
    // neither win nor tie.
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
        pigmentLanesXyz(m_paints[static_cast<std::size_t>(i)].curve, m_paints[static_cast<std::size_t>(j)].curve,
                        nullptr, m_pairLanes, m_xyz);
        for (int k = 0; k <= 100; ++k) {
            if (improves(k, best))
                best = {m_difference, i, j, -1, k, 0, m_mix};
        }
    }

    void third(int t, Best &best)
    {
        const Best pairBest = best;
        PigmentLanes lanes;
        for (int m = 1; m <= 100; ++m) {
            const auto lane = static_cast<std::size_t>(m - 1);
            threeShares(pairBest.share, m, lanes.c1[lane], lanes.c2[lane], lanes.c3[lane]);
        }
        pigmentLanesXyz(m_paints[static_cast<std::size_t>(pairBest.first)].curve,
                        m_paints[static_cast<std::size_t>(pairBest.second)].curve,
                        &m_paints[static_cast<std::size_t>(t)].curve, lanes, m_xyz);
        for (int m = 1; m <= 100; ++m) {
            if (improves(m - 1, best))
                best = {m_difference, pairBest.first, pairBest.second, t, pairBest.share, m, m_mix};
        }
    }

private:
    bool improves(int lane, const Best &best)
    {
        const auto l = static_cast<std::size_t>(lane);
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
    PigmentLanes m_pairLanes;
    LaneXyz m_xyz;
    Xyz m_mix;
    double m_difference = 0.0;
    double m_ceiling = std::numeric_limits<double>::infinity();
};

template<class Search>
bool solvePigment(std::span<const PaintColorRecord> box, MixResult &result)
{
    if (box.empty())
        return false;
    result.paints[2] = PaintColorRecord();
    const RgbColor target = clampedColor(result.target.color());
    const Lab targetLab = labOf(target);
    const std::vector<PigmentPaint> paints = pigmentPaints(box);

    for (std::size_t k = 0; k < paints.size(); ++k) {
        if (deltaE00(targetLab, labOf(paints[k].color)) < kPigmentEnoughDifference) {
            result.paints[0] = withUsedFlag(box[k], true);
            result.paints[1] = withUsedFlag(box[k], false);
            result.mixed = box[k];
            result.proportions = {1.0f, 0.0f, 0.0f};
            result.deviation = colorDistance(target, paints[k].color);
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

    double c1 = pairShare(best.share);
    double c2 = otherShare(best.share);
    double c3 = 0.0;
    if (best.third >= 0)
        threeShares(best.share, best.thirdShare, c1, c2, c3);
    result.paints[0] = withUsedFlag(box[static_cast<std::size_t>(best.first)], c1 > 0.0);
    result.paints[1] = withUsedFlag(box[static_cast<std::size_t>(best.second)], c2 > 0.0);
    if (best.third >= 0)
        result.paints[2] = withUsedFlag(box[static_cast<std::size_t>(best.third)], true);
    result.proportions = {static_cast<float>(c1), static_cast<float>(c2), static_cast<float>(c3)};
    const RgbColor mixed = pigmentRgb(best.xyz);
    result.mixed = recordOfColor(mixed);
    result.deviation = colorDistance(target, mixed);
    return true;
}

} // namespace

bool findPigmentMix(std::span<const PaintColorRecord> box, MixResult &result)
{
    return solvePigment<FastSearch>(box, result);
}

bool reference::findPigmentMix(std::span<const PaintColorRecord> box, MixResult &result)
{
    return solvePigment<PlainSearch>(box, result);
}

} // namespace pigmora
