#include "engine/mixsolver.h"

#include "engine/mixrecords.h"
#include "engine/pairbound.h"
#include "engine/pairsearch.h"
#include "engine/pigmentsolver.h"
#include "engine/sharesearch.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace pigmora {

namespace {

using PairFitFn = PairFit (*)(const RgbColor &target, const RgbColor &a, const RgbColor &b);
using MixFn = RgbColor (*)(const RgbColor &a, const RgbColor &b, float share);

int spatialChannel(int a, int b, double s)
{
    return static_cast<int>(a * s + b - b * s);
}

int subtractiveChannel(int a, int b, double s)
{
    if (a == b)
        return static_cast<int>(a * s + (1.0 - s) * b + 0.5);
    const int diff = std::abs(a - b);
    const double darkening = diff * (diff / 255.0);
    const double weight = s < 0.5 ? s : 1.0 - s;
    const int v = static_cast<int>(a * s + (1.0 - s) * b - weight * darkening + 0.5);
    return v < 0 ? 0 : v;
}

// A box paint as the search sees it: clamped colour and distance from the target.
struct BoxPaint {
    RgbColor color;
    double targetDistance = 0.0;
};

std::vector<BoxPaint> boxPaints(std::span<const PaintColorRecord> box, const RgbColor &target)
{
    std::vector<BoxPaint> paints;
    paints.reserve(box.size());
    for (const PaintColorRecord &record : box) {
        const RgbColor color = clampedColor(record.color());
        paints.push_back({color, colorDistance(color, target)});
    }
    return paints;
}

double singlePaintThreshold(MixModel model)
{
    return model == MixModel::Spatial ? kSpatialSingleThreshold : kSubtractiveSingleThreshold;
}

MixFn mixOf(MixModel model)
{
    return model == MixModel::Spatial ? mixSpatial : mixSubtractive;
}

// Stage 2 bookkeeping: which pairs are admitted and how far the admission
// limit may rise. Every admitted pair replaces the previous answer.
class PairAcceptance
{
public:
    bool admits(double distance) const { return distance < m_best || distance < kNearMatchDistance; }

    void accept(int i, int j, const PairFit &fit, const BoxPaint &first, const BoxPaint &second)
    {
        // A pair that leans on a paint already near the target may not raise
        // the limit; any other admitted pair sets it to its own distance.
        bool dominant = false;
        if (fit.share > m_dominantShare) {
            dominant = takeDominant(first.targetDistance, fit.share);
        } else if (1.0f - fit.share > m_dominantShare) {
            dominant = takeDominant(second.targetDistance, 1.0f - fit.share);
        }
        m_best = dominant ? std::min(m_best, fit.distance) : fit.distance;
        m_first = i;
        m_second = j;
        m_fit = fit;
        m_found = true;
    }

    bool finish(MixModel model, const std::vector<BoxPaint> &paints, BestPair &best) const
    {
        if (!m_found)
            return false;
        const RgbColor &a = paints[static_cast<std::size_t>(m_first)].color;
        const RgbColor &b = paints[static_cast<std::size_t>(m_second)].color;
        best = {m_first, m_second, m_fit, mixOf(model)(a, b, m_fit.share), false};
        return true;
    }

private:
    bool takeDominant(double distance, float share)
    {
        if (!(distance < m_dominantDistance && distance < kNearMatchDistance))
            return false;
        m_dominantDistance = distance;
        m_dominantShare = share;
        return true;
    }

    double m_best = kStartDistance;
    double m_dominantDistance = kStartDistance;
    float m_dominantShare = 0.0f;
    int m_first = -1;
    int m_second = -1;
    PairFit m_fit;
    bool m_found = false;
};

// Stage 1: the first paint in box order under the model's threshold.
bool findSinglePaint(MixModel model, const std::vector<BoxPaint> &paints, BestPair &best)
{
    const double threshold = singlePaintThreshold(model);
    const int n = static_cast<int>(paints.size());
    for (int k = 0; k < n; ++k) {
        const BoxPaint &paint = paints[static_cast<std::size_t>(k)];
        if (paint.targetDistance < threshold) {
            best = {k, k, {1.0f, paint.targetDistance, true, false}, paint.color, true};
            return true;
        }
    }
    return false;
}

// Stage 1 then stage 2, every pair fitted.
bool searchBestPair(MixModel model, const std::vector<BoxPaint> &paints, PairFitFn fitPair, const RgbColor &target,
                    BestPair &best)
{
    if (findSinglePaint(model, paints, best))
        return true;
    const int n = static_cast<int>(paints.size());
    PairAcceptance acceptance;
    for (int i = 0; i + 1 < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const BoxPaint &a = paints[static_cast<std::size_t>(i)];
            const BoxPaint &b = paints[static_cast<std::size_t>(j)];
            const PairFit fit = fitPair(target, a.color, b.color);
            if (acceptance.admits(fit.distance))
                acceptance.accept(i, j, fit, a, b);
        }
    }
    return acceptance.finish(model, paints, best);
}

// Stage 1, then the pruned pair stage (pairsearch.h).
bool findBestPairFast(MixModel model, std::span<const PaintColorRecord> box, const RgbColor &target, BestPair &best,
                      SolveControl *control)
{
    const std::vector<BoxPaint> paints = boxPaints(box, target);
    if (findSinglePaint(model, paints, best))
        return true;
    std::vector<RgbColor> colors;
    colors.reserve(paints.size());
    for (const BoxPaint &paint : paints)
        colors.push_back(paint.color);
    return findBestPairPruned(model, colors, target, best, control);
}

// The fast path (fast) prunes pairs and third paints by proven bounds; the
// plain one fits them all. control, when given, may cancel the fast path.
bool solve(MixModel model, std::span<const PaintColorRecord> box, MixResult &result, bool fast,
           SolveControl *control = nullptr)
{
    if (box.empty())
        return false;
    result.paints[2] = PaintColorRecord();
    const RgbColor target = clampedColor(result.target.color());
    BestPair pair;
    const bool found
        = fast ? findBestPairFast(model, box, target, pair, control) : findBestPair(model, box, target, pair);
    if (!found)
        return false;

    const PaintColorRecord &first = box[static_cast<std::size_t>(pair.first)];
    const PaintColorRecord &second = box[static_cast<std::size_t>(pair.second)];
    result.paints[0] = withUsedFlag(first, pair.fit.firstUsed);
    result.paints[1] = withUsedFlag(second, pair.fit.secondUsed);
    result.mixed = pair.single ? first : recordOfColor(pair.mixed);
    const float t = pair.fit.share;
    result.proportions = {t, 1.0f - t, 0.0f};
    result.deviation = pair.fit.distance;
    if (result.deviation < kPairIsEnoughDistance)
        return true;

    // Third paint, mixed into the pair's colour.
    PairFitFn fitThird = fitSpatialPair;
    if (model == MixModel::Subtractive)
        fitThird = fast ? fitSubtractivePairFast : fitSubtractivePair;
    const RgbColor &base = pair.mixed;
    double best = result.deviation;
    for (const PaintColorRecord &candidate : box) {
        if (candidate.samePaint(first) || candidate.samePaint(second))
            continue;
        const RgbColor color = clampedColor(candidate.color());
        if (fast && !pairMayComeCloser(model, target, base, color, best))
            continue;
        const PairFit fit = fitThird(target, base, color);
        // Only a paint that takes part with a share above 0 is offered: a fit
        // that falls back to the base alone describes the pair, not a mix of three.
        if (!(fit.distance < best) || !fit.secondUsed || !(1.0f - fit.share > 0.0f))
            continue;
        best = fit.distance;
        result.deviation = fit.distance;
        result.paints[2] = withUsedFlag(candidate, true);
        result.mixed = recordOfColor(mixOf(model)(base, color, fit.share));
        result.proportions = {t * fit.share, (1.0f - t) * fit.share, 1.0f - fit.share};
    }
    return true;
}

} // namespace

double colorDistance(const RgbColor &a, const RgbColor &b)
{
    return std::sqrt(static_cast<double>(squaredDistance(a, b)));
}

RgbColor clampedColor(const RgbColor &color)
{
    return {std::clamp(color.red, 0, 255), std::clamp(color.green, 0, 255), std::clamp(color.blue, 0, 255)};
}

PairFit fitSpatialPair(const RgbColor &target, const RgbColor &a, const RgbColor &b)
{
    if (a == b)
        return {1.0f, colorDistance(target, a), true, false};
    const std::int32_t e = squaredDistance(b, a);
    const std::int32_t g = (b.red - a.red) * (target.red - b.red) + (b.green - a.green) * (target.green - b.green)
        + (b.blue - a.blue) * (target.blue - b.blue);
    const std::int32_t f = squaredDistance(target, b);
    // Position of the target's projection on the segment: 0 at B, 1 at A.
    const double h = static_cast<double>(-g) / e;
    PairFit fit;
    if (h >= -1e-8 && h <= 1.00000001) {
        fit.share = static_cast<float>(h);
        fit.secondUsed = true;
    }
    const double s = fit.share;
    // For a target on the segment rounding may leave the radicand just below 0.
    const double radicand = e * s * s + 2.0 * g * s + f;
    fit.distance = radicand > 0.0 ? std::sqrt(radicand) : 0.0;
    return fit;
}

RgbColor mixSpatial(const RgbColor &a, const RgbColor &b, float share)
{
    const double s = share;
    return {spatialChannel(a.red, b.red, s), spatialChannel(a.green, b.green, s), spatialChannel(a.blue, b.blue, s)};
}

RgbColor mixSubtractive(const RgbColor &a, const RgbColor &b, float share)
{
    const double s = share > 0.999999999 ? 1.0 : share;
    return {subtractiveChannel(a.red, b.red, s), subtractiveChannel(a.green, b.green, s),
            subtractiveChannel(a.blue, b.blue, s)};
}

PairFit fitSubtractivePair(const RgbColor &target, const RgbColor &a, const RgbColor &b)
{
    if (a == b)
        return {1.0f, colorDistance(target, a), true, false};
    float p = 0.0f;
    float bestShare = 1.0f;
    double bestDistance = kStartDistance;
    for (int evaluations = 1; evaluations <= kSubtractiveShareCount; ++evaluations) {
        const double e = colorDistance(target, mixSubtractive(a, b, p));
        if (e < bestDistance) {
            bestShare = p;
            bestDistance = e;
        }
        p = static_cast<float>(static_cast<double>(p) + 0.01);
        if (p >= 1.0f)
            break;
    }
    if (bestShare > 0.99999999)
        bestShare = 1.0f;
    return {bestShare, bestDistance, true, true};
}

bool findBestPair(MixModel model, std::span<const PaintColorRecord> box, const RgbColor &target, BestPair &best)
{
    const std::vector<BoxPaint> paints = boxPaints(box, target);
    return searchBestPair(model, paints, model == MixModel::Spatial ? fitSpatialPair : fitSubtractivePair, target,
                          best);
}

MixModel mixModelOfSetting(int storedMode)
{
    switch (storedMode) {
    case 1:
        return MixModel::Spatial;
    case 2:
        return MixModel::Pigment;
    default:
        return MixModel::Subtractive;
    }
}

bool findMix(MixModel model, std::span<const PaintColorRecord> box, MixResult &result)
{
    if (model == MixModel::Pigment)
        return findPigmentMix(box, result);
    return solve(model, box, result, true);
}

bool findMix(MixModel model, std::span<const PaintColorRecord> box, MixResult &result, SolveControl &control)
{
    if (control.isCancelled())
        return false;
    const bool found = model == MixModel::Pigment ? findPigmentMix(box, {}, result, nullptr, &control)
                                                  : solve(model, box, result, true, &control);
    if (control.isCancelled())
        return false;
    control.advance(SolveControl::kProgressDone);
    return found;
}

bool findSpatialMix(std::span<const PaintColorRecord> box, MixResult &result)
{
    return solve(MixModel::Spatial, box, result, true);
}

bool findSubtractiveMix(std::span<const PaintColorRecord> box, MixResult &result)
{
    return solve(MixModel::Subtractive, box, result, true);
}

bool reference::findMix(MixModel model, std::span<const PaintColorRecord> box, MixResult &result)
{
    if (model == MixModel::Pigment)
        return reference::findPigmentMix(box, result);
    return solve(model, box, result, false);
}

} // namespace pigmora
