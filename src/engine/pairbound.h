#pragma once

#include "data/color.h"
#include "engine/mixsolver.h"

#include <span>
#include <vector>

// Lower bounds on how close any mix of two paints can come to the target,
// from the shape of the models:
// - spatial: every mix lies on the segment from B to A;
// - subtractive: before rounding, the mix at share s is B + s·(A - B - D) up
//   to s = 1/2 and A + (1 - s)·(B - A - D) from there, D being the darkening
//   (|a - b|²/255 per channel): a polyline from B through the darkest point
//   (A + B)/2 - D/2 to A. Rounding moves each channel by at most 1/2, so no
//   mix comes closer than the polyline's distance less √3/2; and every mixed
//   channel stays between the two paints' channels, so none comes closer than
//   the box the two paints span, exactly.
// The bounds run in single precision on colours relative to the target, all
// of whose values are small integers or near them; the margins in
// boundLimits cover the rounding.
namespace pigmora {

struct ColorOffset {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};

ColorOffset offsetFrom(const RgbColor &color, const RgbColor &target);

// A box's colours minus the target, one array per channel, padded so that
// 8-wide loads past the last colour stay inside.
class RelativeColors
{
public:
    RelativeColors(std::span<const RgbColor> colors, const RgbColor &target);

    int size() const { return m_size; }
    ColorOffset at(int k) const;
    const float *channel(int c) const { return m_channels[c].data(); }

private:
    std::vector<float> m_channels[3];
    int m_size = 0;
};

// Squared limits for the kernels: a pair passes when its box bound is below
// boxSq and its curve bound below curveSq.
struct BoundLimits {
    float boxSq = 0.0f;
    float curveSq = 0.0f;
};

// Limits that let through every pair whose computed fit distance may be below
// limit (an infinite limit lets everything through).
BoundLimits boundLimits(MixModel model, double limit);
// A pair whose two colours both lie at least this far below the target in
// one channel, or both this far above, has no fit closer than limit.
double boxReach(MixModel model, double limit);

// Writes to out, in ascending order, the k in [begin, end) whose pair (a,
// colour k) passes the limits; returns how many. out needs room for
// end - begin indices. Spatial and subtractive only.
using PairCandidatesFn = int (*)(MixModel model, const RelativeColors &colors, ColorOffset a, int begin, int end,
                                 BoundLimits limits, int *out);
int pairCandidatesScalar(MixModel model, const RelativeColors &colors, ColorOffset a, int begin, int end,
                         BoundLimits limits, int *out);
#if defined(__x86_64__)
// Needs AVX (see bestPairCandidates); the same operations as the scalar one,
// so the same answers.
int pairCandidatesAvx(MixModel model, const RelativeColors &colors, ColorOffset a, int begin, int end,
                      BoundLimits limits, int *out);
#endif
PairCandidatesFn bestPairCandidates();

// Whether some mix of a and b may come closer to the target than limit:
// false only when the bounds prove that none can.
bool pairMayComeCloser(MixModel model, const RgbColor &target, const RgbColor &a, const RgbColor &b, double limit);

} // namespace pigmora
