#pragma once

#include "data/color.h"
#include "engine/mixsolver.h"
#include "engine/solvecontrol.h"

#include <span>

// The pair stage of the spatial and subtractive solves without fitting every
// pair, with the plain search's answer.
//
// In the plain search every pair closer than the near-match distance (10) is
// admitted, and once one has been admitted the admission limit stays below
// 10 (an admitted pair sets it to its own distance, or lowers it), so from
// then on only such pairs are admitted. Every admitted pair replaces the
// answer. Hence:
// - when some pair comes closer than 10, the answer is the last such pair in
//   pair order (i, then j);
// - otherwise every admission lowers the limit strictly, and the answer is
//   the first pair in pair order reaching the smallest distance.
// The pruned search finds exactly these: first walking the pairs backwards
// for a near match, then forwards for the closest pair, in both walks fitting
// only the pairs whose lower bound (pairbound.h) leaves them a chance.
namespace pigmora {

// Pairs of colours (box colours, clamped, in box order) after stage 1 found
// no single paint. false when nothing is found (fewer than two colours) or
// when control cancels the search.
bool findBestPairPruned(MixModel model, std::span<const RgbColor> colors, const RgbColor &target, BestPair &best,
                        SolveControl *control);

} // namespace pigmora
