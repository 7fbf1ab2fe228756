#include "engine/pairsearch.h"

#include "engine/pairbound.h"
#include "engine/sharesearch.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>
#include <vector>

namespace pigmora {

namespace {

// Pairs bounded at once in the forward walk, which tightens its limit after each run.
constexpr int kChunk = 1024;
// Fits between two looks at the cancel flag (a subtractive fit takes about 0.1 µs).
constexpr std::int64_t kFitsPerLook = 256;
constexpr int kHalfway = SolveControl::kProgressDone / 2;
constexpr double kNoLimit = std::numeric_limits<double>::infinity();

enum class Outcome { Found, NotFound, Cancelled };

// A fitted pair. As the best of the forward walk, ties go to the earlier pair.
struct FittedPair {
    double distance = kNoLimit;
    int first = -1;
    int second = -1;
    PairFit fit;

    bool beatenBy(double d, int i, int j) const
    {
        if (d != distance)
            return d < distance;
        return i < first || (i == first && j < second);
    }
};

// For each colour the nearest paints before and after it in box order with
// the very same colour (-1 and n where there is none). Pairs that differ only
// by such a repeat have the same fit, so each walk fits only one of them.
struct EqualColorLinks {
    std::vector<int> previous;
    std::vector<int> next;

    explicit EqualColorLinks(std::span<const RgbColor> colors)
        : previous(colors.size(), -1)
        , next(colors.size(), static_cast<int>(colors.size()))
    {
        auto key = [&](int k) {
            const RgbColor &c = colors[static_cast<std::size_t>(k)];
            return (c.red << 16) | (c.green << 8) | c.blue;
        };
        std::vector<int> order(colors.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return key(x) < key(y); });
        for (std::size_t k = 1; k < order.size(); ++k) {
            if (key(order[k - 1]) == key(order[k])) {
                next[static_cast<std::size_t>(order[k - 1])] = order[k];
                previous[static_cast<std::size_t>(order[k])] = order[k - 1];
            }
        }
    }
};

constexpr int kSideClassCount = 27;

// Whether colours of two side classes (below SideClasses) may pair: not when
// they lie on the same far side of one channel.
constexpr bool mayPair(int a, int b)
{
    for (int c = 0; c < 3; ++c, a /= 3, b /= 3) {
        if (a % 3 == b % 3 && a % 3 != 1)
            return false;
    }
    return true;
}

// For each side class, the classes it may pair with, one bit each.
constexpr std::array<std::uint32_t, kSideClassCount> partnerMasks()
{
    std::array<std::uint32_t, kSideClassCount> masks{};
    for (int a = 0; a < kSideClassCount; ++a) {
        for (int b = 0; b < kSideClassCount; ++b)
            masks[static_cast<std::size_t>(a)] |= mayPair(a, b) ? 1u << b : 0u;
    }
    return masks;
}

constexpr std::array<std::uint32_t, kSideClassCount> kPartners = partnerMasks();

// The box's colours in 27 classes by where each channel lies from the target:
// at least the box reach below it, at least that far above it, or between.
// Two colours on the same far side of one channel span a box that far from
// the target, so only classes that differ there are ever paired. The colours
// are held class by class, each class in box order.
class SideClasses
{
public:
    static constexpr int kClassCount = kSideClassCount;

    SideClasses(MixModel model, std::span<const RgbColor> colors, const RgbColor &target, double limit)
        : m_limit(limit)
        , m_classOf(colors.size())
        , m_order(colors.size())
    {
        const double reach = boxReach(model, limit);
        std::array<int, kClassCount + 1> count{};
        for (std::size_t k = 0; k < colors.size(); ++k) {
            const RgbColor &c = colors[k];
            const int code = 9 * side(c.red - target.red, reach) + 3 * side(c.green - target.green, reach)
                + side(c.blue - target.blue, reach);
            m_classOf[k] = code;
            ++count[static_cast<std::size_t>(code) + 1];
        }
        for (int code = 0; code < kClassCount; ++code)
            m_start[code + 1] = m_start[code] + count[static_cast<std::size_t>(code) + 1];
        std::array<int, kClassCount> fill = {};
        std::vector<RgbColor> grouped(colors.size());
        for (std::size_t k = 0; k < colors.size(); ++k) {
            const auto code = static_cast<std::size_t>(m_classOf[k]);
            const auto at = static_cast<std::size_t>(m_start[code] + fill[code]++);
            m_order[at] = static_cast<int>(k);
            grouped[at] = colors[k];
        }
        m_colors.emplace(grouped, target);
        for (int code = 0; code < kClassCount; ++code) {
            if (m_start[code + 1] > m_start[code])
                m_occupied |= 1u << code;
        }
    }

    // The limit the classes were made for; they serve every smaller one.
    double limit() const { return m_limit; }
    // The classes colour k may pair with, one bit each.
    std::uint32_t partnersOf(int k) const
    {
        return kPartners[static_cast<std::size_t>(m_classOf[static_cast<std::size_t>(k)])] & m_occupied;
    }
    // The colours class by class, and the box index of each.
    const RelativeColors &colors() const { return *m_colors; }
    int boxIndex(int position) const { return m_order[static_cast<std::size_t>(position)]; }
    int classEnd(int code) const { return m_start[code + 1]; }
    // The position of the class's first colour that comes after colour k in box order.
    int firstAfter(int code, int k) const
    {
        const auto begin = m_order.begin() + m_start[code];
        return m_start[code]
            + static_cast<int>(std::upper_bound(begin, m_order.begin() + m_start[code + 1], k) - begin);
    }

private:
    // 0: at least reach below the target, 2: at least reach above, 1: between.
    static int side(int offset, double reach)
    {
        if (offset <= -reach)
            return 0;
        return offset >= reach ? 2 : 1;
    }

    double m_limit;
    std::vector<int> m_classOf;
    std::vector<int> m_order;
    int m_start[kClassCount + 1] = {};
    std::optional<RelativeColors> m_colors;
    std::uint32_t m_occupied = 0;
};

class PrunedPairSearch
{
public:
    PrunedPairSearch(MixModel model, std::span<const RgbColor> colors, const RgbColor &target, SolveControl *control)
        : m_model(model)
        , m_colors(colors)
        , m_target(target)
        , m_control(control)
        , m_n(static_cast<int>(colors.size()))
        , m_pairCount(static_cast<std::int64_t>(m_n) * (m_n - 1) / 2)
        , m_links(colors)
        , m_candidates(colors.size() + kChunk)
    { }

    Outcome run(BestPair &best)
    {
        if (m_n < 2)
            return Outcome::NotFound;
        FittedPair answer;
        Outcome outcome = lastNearMatch(answer);
        if (outcome == Outcome::NotFound)
            outcome = closestPair(answer);
        if (outcome != Outcome::Found)
            return outcome;
        const RgbColor &a = m_colors[static_cast<std::size_t>(answer.first)];
        const RgbColor &b = m_colors[static_cast<std::size_t>(answer.second)];
        const float share = answer.fit.share;
        best = {answer.first, answer.second, answer.fit,
                m_model == MixModel::Spatial ? mixSpatial(a, b, share) : mixSubtractive(a, b, share), false};
        return Outcome::Found;
    }

private:
    // Walks the pairs from the last backwards; the first pair closer than the
    // near-match distance is the answer. Keeps the closest pair it fitted as
    // the forward walk's first limit.
    Outcome lastNearMatch(FittedPair &answer)
    {
        const SideClasses classes(m_model, m_colors, m_target, kNearMatchDistance);
        const BoundLimits limits = boundLimits(m_model, kNearMatchDistance);
        std::int64_t examined = 0;
        for (int i = m_n - 2; i >= 0; --i) {
            if (cancelled())
                return Outcome::Cancelled;
            // Past the next paint of the same colour, the row repeats that
            // paint's row, already walked without a near match.
            const int last = std::min(m_links.next[static_cast<std::size_t>(i)], m_n - 1);
            // The row's candidates from every class, then fitted from the last.
            const ColorOffset a = offsetFrom(m_colors[static_cast<std::size_t>(i)], m_target);
            int count = 0;
            for (std::uint32_t partners = classes.partnersOf(i); partners != 0; partners &= partners - 1) {
                const int code = std::countr_zero(partners);
                int *out = m_candidates.data() + count;
                const int found = m_candidatesFn(m_model, classes.colors(), a, classes.firstAfter(code, i),
                                                 classes.firstAfter(code, last), limits, out);
                for (int k = 0; k < found; ++k)
                    out[k] = classes.boxIndex(out[k]);
                count += found;
            }
            std::sort(m_candidates.begin(), m_candidates.begin() + count, std::greater<>());
            for (int k = 0; k < count; ++k) {
                const int j = m_candidates[static_cast<std::size_t>(k)];
                // A later paint of j's colour in the row was fitted already.
                if (m_links.next[static_cast<std::size_t>(j)] <= last)
                    continue;
                const PairFit f = fit(i, j);
                if (f.distance < kNearMatchDistance) {
                    answer = {f.distance, i, j, f};
                    return Outcome::Found;
                }
                if (m_closest.beatenBy(f.distance, i, j))
                    m_closest = {f.distance, i, j, f};
                if (m_fits % kFitsPerLook == 0 && cancelled())
                    return Outcome::Cancelled;
            }
            examined += m_n - 1 - i;
            report(0, examined);
        }
        return Outcome::NotFound;
    }

    // No pair is a near match: walks the pairs forwards for the first one
    // reaching the smallest distance. A pair is skipped only when its bound
    // proves it farther than the closest so far, so ties are still fitted.
    Outcome closestPair(FittedPair &answer)
    {
        if (m_closest.first < 0)
            seedClosest();
        std::optional<SideClasses> classes;
        std::int64_t examined = 0;
        for (int i = 0; i + 1 < m_n; ++i) {
            examined += m_n - 1 - i;
            // An earlier paint of the same colour had the same row, earlier.
            if (m_links.previous[static_cast<std::size_t>(i)] >= 0)
                continue;
            // Classes for a limit twice the present one prune too little.
            if (!classes || m_closest.distance < classes->limit() / 2)
                classes.emplace(m_model, m_colors, m_target, tieLimit());
            const ColorOffset a = offsetFrom(m_colors[static_cast<std::size_t>(i)], m_target);
            for (std::uint32_t partners = classes->partnersOf(i); partners != 0; partners &= partners - 1) {
                const int code = std::countr_zero(partners);
                const int classEnd = classes->classEnd(code);
                for (int begin = classes->firstAfter(code, i), end = 0; begin < classEnd; begin = end) {
                    end = std::min(classEnd, begin + kChunk);
                    if (cancelled())
                        return Outcome::Cancelled;
                    const int count = m_candidatesFn(m_model, classes->colors(), a, begin, end,
                                                     boundLimits(m_model, tieLimit()), m_candidates.data());
                    for (int k = 0; k < count; ++k) {
                        const int j = classes->boxIndex(m_candidates[static_cast<std::size_t>(k)]);
                        if (m_links.previous[static_cast<std::size_t>(j)] > i)
                            continue;
                        const PairFit f = fit(i, j);
                        if (m_closest.beatenBy(f.distance, i, j))
                            m_closest = {f.distance, i, j, f};
                        if (m_fits % kFitsPerLook == 0 && cancelled())
                            return Outcome::Cancelled;
                    }
                }
            }
            report(kHalfway, examined);
        }
        answer = m_closest;
        return Outcome::Found;
    }

    // A first limit when the backward walk fitted nothing: a pair with the
    // paint nearest the target, whose fit is seldom farther than that paint.
    void seedClosest()
    {
        int nearest = 0;
        for (int k = 1; k < m_n; ++k) {
            if (squaredDistance(m_colors[static_cast<std::size_t>(k)], m_target)
                < squaredDistance(m_colors[static_cast<std::size_t>(nearest)], m_target))
                nearest = k;
        }
        const int i = nearest + 1 < m_n ? nearest : nearest - 1;
        const PairFit f = fit(i, i + 1);
        m_closest = {f.distance, i, i + 1, f};
    }

    // Pairs as close as the closest so far must still be fitted: one may be earlier.
    double tieLimit() const { return std::nextafter(m_closest.distance, kNoLimit); }

    PairFit fit(int i, int j)
    {
        ++m_fits;
        const RgbColor &a = m_colors[static_cast<std::size_t>(i)];
        const RgbColor &b = m_colors[static_cast<std::size_t>(j)];
        return m_model == MixModel::Spatial ? fitSpatialPair(m_target, a, b)
                                            : fitSubtractivePairWith(m_distances, m_target, a, b);
    }

    bool cancelled() const { return m_control && m_control->isCancelled(); }

    // Each walk is half of the progress.
    void report(int start, std::int64_t examined)
    {
        if (m_control)
            m_control->advance(start + static_cast<int>(examined * kHalfway / m_pairCount));
    }

    MixModel m_model;
    std::span<const RgbColor> m_colors;
    RgbColor m_target;
    SolveControl *m_control;
    int m_n;
    std::int64_t m_pairCount;
    EqualColorLinks m_links;
    std::vector<int> m_candidates;
    PairCandidatesFn m_candidatesFn = bestPairCandidates();
    ShareDistancesFn m_distances = bestShareDistances();
    FittedPair m_closest;
    std::int64_t m_fits = 0;
};

} // namespace

bool findBestPairPruned(MixModel model, std::span<const RgbColor> colors, const RgbColor &target, BestPair &best,
                        SolveControl *control)
{
    PrunedPairSearch search(model, colors, target, control);
    return search.run(best) == Outcome::Found;
}

} // namespace pigmora
