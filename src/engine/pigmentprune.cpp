#include "engine/pigmentprune.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <tuple>

namespace pigmora {

namespace {

// A task of one pair (or one third paint) and at most this many shares is scored.
constexpr int kLeafShares = 8;
// A run of shares counts as wide as its share span times the distance of its
// groups' colours times this, against the groups' own extents: splitting the
// shares early pays, as each half meets far fewer paints (tuned on boxes of
// 3,000 and 30,000 paints).
constexpr double kShareSplitWeight = 8.0;
// The tree splits a group at the wavelength (of these) where its paints'
// reflectances spread most: the bounds follow the reflectances, which groups
// close in CIELAB but apart in spectrum would loosen.
constexpr std::size_t kSplitWavelengthFirst = 2;
constexpr std::size_t kSplitWavelengthStep = 10;
constexpr std::size_t kSplitWavelengths
    = (spectral::kWavelengthCount - kSplitWavelengthFirst + kSplitWavelengthStep - 1) / kSplitWavelengthStep;
// The task queue's buckets: bounds to kBucketWidth·kBucketCount, the rest in the last.
constexpr double kBucketWidth = 1.0 / 128.0;
constexpr std::size_t kBucketCount = 128 * 128;
// Steps (splits or scored leaves, each well under 10 µs) between two looks at the cancel flag.
constexpr std::int64_t kStepsPerLook = 256;
// The queue of tasks holds at most this many per paint, plus a floor, so the
// memory stays linear in the box; beyond it tasks are searched depth first.
constexpr std::size_t kQueuedPerPaint = 8;
constexpr std::size_t kQueuedAtLeast = 65536;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

double labDistance(const Lab &p, const Lab &q)
{
    const double dl = p.lightness - q.lightness;
    const double da = p.a - q.a;
    const double db = p.b - q.b;
    return std::sqrt(dl * dl + da * da + db * db);
}

double component(const Lab &lab, int axis)
{
    return axis == 0 ? lab.lightness : (axis == 1 ? lab.a : lab.b);
}

// The concentration of the paint with strength s at k thousandths, mixed
// with paints of weight rest (the other parts times their strengths).
double concentrationOf(double s, double k, double rest)
{
    return s * k / (s * k + rest);
}

std::array<double, 2> pairConcentrations(int k, double first, double second)
{
    const std::array<double, 2> parts{static_cast<double>(k), static_cast<double>(1000 - k)};
    const std::array<double, 2> strengths{first, second};
    std::array<double, 2> c{};
    pigmentConcentrations(parts, strengths, c);
    return c;
}

} // namespace

PaintTree::PaintTree(const std::vector<PigmentPaint> &paints)
    : m_paints(paints)
    , m_order(paints.size())
{
    m_labs.reserve(paints.size());
    m_splitReflectances.reserve(paints.size() * kSplitWavelengths);
    for (const PigmentPaint &paint : paints) {
        m_labs.push_back(pigmentLab(pigmentXyz(paint.curve, 1.0, paint.curve, 0.0)));
        for (std::size_t k = 0; k < kSplitWavelengths; ++k)
            m_splitReflectances.push_back(
                reflectanceOfKs(paint.curve.ks[kSplitWavelengthFirst + k * kSplitWavelengthStep]));
    }
    std::iota(m_order.begin(), m_order.end(), 0);
    if (paints.empty())
        return;
    m_nodes.reserve(2 * paints.size());
    m_boundsAt.reserve(2 * paints.size());
    m_bounds.reserve(2 * kPaddedWavelengthCount * paints.size());
    build(0, static_cast<int>(paints.size()));
}

KsBounds PaintTree::ks(int id) const
{
    if (single(id)) {
        const double *curve = m_paints[static_cast<std::size_t>(paint(id))].curve.ks.data();
        return {curve, curve};
    }
    const double *at = m_bounds.data() + m_boundsAt[static_cast<std::size_t>(id)];
    return {at, at + kPaddedWavelengthCount};
}

int PaintTree::build(int begin, int end)
{
    const int id = static_cast<int>(m_nodes.size());
    Node added;
    added.begin = begin;
    added.end = end;
    m_nodes.push_back(added);
    m_boundsAt.push_back(0);
    const auto first = m_order.begin() + begin;
    const auto last = m_order.begin() + end;
    std::array<double, 3> low{kInfinity, kInfinity, kInfinity};
    std::array<double, 3> high{-kInfinity, -kInfinity, -kInfinity};
    double strengthLow = kInfinity;
    double strengthHigh = 0.0;
    for (auto it = first; it != last; ++it) {
        const Lab &lab = m_labs[static_cast<std::size_t>(*it)];
        for (int axis = 0; axis < 3; ++axis) {
            low[static_cast<std::size_t>(axis)] = std::min(low[static_cast<std::size_t>(axis)], component(lab, axis));
            high[static_cast<std::size_t>(axis)]
                = std::max(high[static_cast<std::size_t>(axis)], component(lab, axis));
        }
        strengthLow = std::min(strengthLow, m_paints[static_cast<std::size_t>(*it)].strength);
        strengthHigh = std::max(strengthHigh, m_paints[static_cast<std::size_t>(*it)].strength);
    }
    const Lab lowLab{low[0], low[1], low[2]};
    const Lab highLab{high[0], high[1], high[2]};
    Node &node = m_nodes.back();
    node.strengthLow = strengthLow;
    node.strengthHigh = strengthHigh;
    node.size = labDistance(lowLab, highLab);
    node.centre = {(low[0] + high[0]) * 0.5, (low[1] + high[1]) * 0.5, (low[2] + high[2]) * 0.5};
    if (end - begin == 1)
        return id;

    const auto reflectance = [&](int paint, std::size_t k) {
        return m_splitReflectances[static_cast<std::size_t>(paint) * kSplitWavelengths + k];
    };
    std::size_t wavelength = 0;
    double widest = -1.0;
    for (std::size_t k = 0; k < kSplitWavelengths; ++k) {
        double lowest = kInfinity;
        double highest = -kInfinity;
        for (auto it = first; it != last; ++it) {
            lowest = std::min(lowest, reflectance(*it, k));
            highest = std::max(highest, reflectance(*it, k));
        }
        if (highest - lowest > widest) {
            widest = highest - lowest;
            wavelength = k;
        }
    }
    const int mid = begin + (end - begin) / 2;
    std::nth_element(first, m_order.begin() + mid, last,
                     [&](int x, int y) { return reflectance(x, wavelength) < reflectance(y, wavelength); });
    const int left = build(begin, mid);
    const int right = build(mid, end);
    m_nodes[static_cast<std::size_t>(id)].left = left;
    m_nodes[static_cast<std::size_t>(id)].right = right;

    const std::size_t at = m_bounds.size();
    m_boundsAt[static_cast<std::size_t>(id)] = at;
    m_bounds.resize(at + 2 * kPaddedWavelengthCount);
    const KsBounds l = ks(left);
    const KsBounds r = ks(right);
    for (std::size_t k = 0; k < kPaddedWavelengthCount; ++k) {
        m_bounds[at + k] = std::min(l.low[k], r.low[k]);
        m_bounds[at + kPaddedWavelengthCount + k] = std::max(l.high[k], r.high[k]);
    }
    return id;
}

PrunedPigmentSearch::TaskQueue::TaskQueue()
    : m_buckets(kBucketCount)
{ }

void PrunedPigmentSearch::TaskQueue::clear()
{
    for (std::size_t k = m_lowest; m_size > 0 && k < m_buckets.size(); ++k) {
        m_size -= m_buckets[k].size();
        m_buckets[k].clear();
    }
    m_lowest = 0;
    m_size = 0;
}

std::size_t PrunedPigmentSearch::TaskQueue::bucketOf(double bound)
{
    if (!(bound > 0.0))
        return 0;
    const double at = bound / kBucketWidth;
    return at < static_cast<double>(kBucketCount - 1) ? static_cast<std::size_t>(at) : kBucketCount - 1;
}

std::size_t PrunedPigmentSearch::TaskQueue::lowestBucket() const
{
    std::size_t k = m_lowest;
    while (m_buckets[k].empty())
        ++k;
    return k;
}

void PrunedPigmentSearch::TaskQueue::push(const Task &task)
{
    const std::size_t k = bucketOf(task.bound);
    m_buckets[k].push_back(task);
    m_lowest = std::min(m_lowest, k);
    ++m_size;
}

PrunedPigmentSearch::Task PrunedPigmentSearch::TaskQueue::pop()
{
    m_lowest = lowestBucket();
    std::vector<Task> &bucket = m_buckets[m_lowest];
    const Task task = bucket.back();
    bucket.pop_back();
    --m_size;
    return task;
}

double PrunedPigmentSearch::TaskQueue::floor() const
{
    const std::size_t k = lowestBucket();
    return k == 0 ? -kInfinity : static_cast<double>(k) * kBucketWidth;
}

PrunedPigmentSearch::PrunedPigmentSearch(const std::vector<PigmentPaint> &paints, const Lab &target,
                                         SolveControl *control)
    : m_paints(paints)
    , m_target(target)
    , m_control(control)
    , m_tree(paints)
    , m_boundTarget(boundTarget(target))
    , m_targetBox(targetXyzBox(target, kInfinity))
    , m_queueLimit(kQueuedPerPaint * paints.size() + kQueuedAtLeast)
{
    const auto &shares = pigmentPairShares();
    for (std::size_t s = 0; s < shares.size(); ++s) {
        const auto c = pairConcentrations(shares[s], 1.0, 1.0);
        m_equalLanes.c1[s] = c[0];
        m_equalLanes.c2[s] = c[1];
    }
}

bool PrunedPigmentSearch::pairs(PigmentCandidate &best)
{
    const double n = static_cast<double>(m_paints.size());
    m_thirdStage = false;
    m_progressBase = 0;
    m_progressSpan = SolveControl::kProgressDone * 9 / 10;
    if (m_paints.size() < 2)
        return true;
    return run(best, {-kInfinity, PaintTree::kRoot, PaintTree::kRoot, 0, kPigmentShareCount - 1},
               n * (n - 1) / 2 * kPigmentShareCount);
}

bool PrunedPigmentSearch::thirds(PigmentCandidate &best, const std::function<bool(int)> &excluded)
{
    const PigmentPaint &a = m_paints[static_cast<std::size_t>(best.first)];
    const PigmentPaint &b = m_paints[static_cast<std::size_t>(best.second)];
    const auto c = pairConcentrations(best.share, a.strength, b.strength);
    for (std::size_t k = 0; k < kPaddedWavelengthCount; ++k)
        m_pairMix.ks[k] = c[0] * a.curve.ks[k] + c[1] * b.curve.ks[k];
    m_pairMixLab = pigmentLab(best.xyz);
    m_pairShare = best.share;
    m_pairWeight = a.strength * best.share + b.strength * (1000 - best.share);
    m_excluded = &excluded;
    m_thirdStage = true;
    m_progressBase = SolveControl::kProgressDone * 9 / 10;
    m_progressSpan = SolveControl::kProgressDone - m_progressBase;
    return run(best, {-kInfinity, -1, PaintTree::kRoot, 0, kPigmentThirdShareCount - 1},
               static_cast<double>(m_paints.size()) * kPigmentThirdShareCount);
}

bool PrunedPigmentSearch::run(PigmentCandidate &best, Task root, double total)
{
    m_total = total;
    m_done = 0.0;
    m_cancelled = false;
    m_queue.clear();
    tighten(best.difference);
    m_queue.push(root);
    while (!m_queue.empty() && !m_cancelled) {
        // Every task left is bounded at least as high: none can win or tie.
        if (m_queue.floor() > best.difference)
            break;
        const Task task = m_queue.pop();
        if (task.bound <= best.difference)
            process(task, best);
    }
    m_queue.clear();
    return !m_cancelled;
}

void PrunedPigmentSearch::process(const Task &task, PigmentCandidate &best)
{
    if (!checkControl())
        return;
    if (leaf(task))
        score(task, best);
    else
        expand(task, best);
}

void PrunedPigmentSearch::score(const Task &task, PigmentCandidate &best)
{
    if (m_thirdStage)
        scoreThirds(task, best);
    else
        scorePairs(task, best);
    m_done += volume(task.a, task.b, task.s0, task.s1);
}

bool PrunedPigmentSearch::checkControl()
{
    if (m_cancelled)
        return false;
    if (!m_control || ++m_steps % kStepsPerLook != 0)
        return true;
    if (m_control->isCancelled()) {
        m_cancelled = true;
        return false;
    }
    m_control->advance(m_progressBase + static_cast<int>(m_progressSpan * std::min(m_done / m_total, 1.0)));
    return true;
}

void PrunedPigmentSearch::tighten(double difference)
{
    m_targetBox = targetXyzBox(m_target, difference);
}

bool PrunedPigmentSearch::leaf(const Task &task) const
{
    return (task.a < 0 || m_tree.single(task.a)) && m_tree.single(task.b) && task.s1 - task.s0 < kLeafShares;
}

double PrunedPigmentSearch::volume(int a, int b, int s0, int s1) const
{
    const double nb = m_tree.node(b).end - m_tree.node(b).begin;
    if (a < 0)
        return nb * (s1 - s0 + 1);
    if (a == b)
        return nb * (nb - 1) / 2 * kPigmentShareCount;
    return (m_tree.node(a).end - m_tree.node(a).begin) * nb * (s1 - s0 + 1);
}

// Splits the task along its widest side: a group of paints, or the shares.
void PrunedPigmentSearch::expand(const Task &task, PigmentCandidate &best)
{
    const int a = task.a;
    const int b = task.b;
    if (a == b) {
        const int l = m_tree.node(a).left;
        const int r = m_tree.node(a).right;
        offer(l, l, task.s0, task.s1, best);
        offer(l, r, task.s0, task.s1, best);
        offer(r, r, task.s0, task.s1, best);
        return;
    }
    const auto &shares = m_thirdStage ? std::span<const int>(pigmentThirdShares()) : std::span<const int>(pigmentPairShares());
    const double sizeA = a < 0 ? 0.0 : m_tree.node(a).size;
    const double sizeB = m_tree.node(b).size;
    const Lab &centreA = a < 0 ? m_pairMixLab : m_tree.node(a).centre;
    const double sizeShares
        = (shares[static_cast<std::size_t>(task.s1)] - shares[static_cast<std::size_t>(task.s0)]) / 1000.0
        * labDistance(centreA, m_tree.node(b).centre) * kShareSplitWeight;
    const bool splitA = a >= 0 && !m_tree.single(a) && sizeA >= sizeB && sizeA >= sizeShares;
    const bool splitB = !splitA && !m_tree.single(b) && (sizeB >= sizeShares || task.s0 == task.s1);
    if (splitA) {
        offer(m_tree.node(a).left, b, task.s0, task.s1, best);
        offer(m_tree.node(a).right, b, task.s0, task.s1, best);
    } else if (splitB) {
        offer(a, m_tree.node(b).left, task.s0, task.s1, best);
        offer(a, m_tree.node(b).right, task.s0, task.s1, best);
    } else {
        const int middle = (shares[static_cast<std::size_t>(task.s0)] + shares[static_cast<std::size_t>(task.s1)]) / 2;
        int s = task.s0;
        while (s + 1 < task.s1 && shares[static_cast<std::size_t>(s) + 1] <= middle)
            ++s;
        offer(a, b, task.s0, s, best);
        offer(a, b, s + 1, task.s1, best);
    }
}

void PrunedPigmentSearch::offer(int a, int b, int s0, int s1, PigmentCandidate &best)
{
    if (a == b && m_tree.single(a))
        return; // a paint is not paired with itself
    Task task{0.0, a, b, static_cast<std::int16_t>(s0), static_cast<std::int16_t>(s1)};
    if (!m_thirdStage && leaf(task)) {
        if (checkControl())
            score(task, best);
        return;
    }
    double bound = 0.0;
    if (!bounded(a, b, s0, s1, bound) || bound > best.difference) {
        m_done += volume(a, b, s0, s1);
        return;
    }
    task.bound = bound;
    if (m_queue.size() >= m_queueLimit) {
        // The queue is full: this task's share is searched depth first now.
        // Any order finds the same answer (ties go by the plain order).
        if (!m_cancelled)
            process(task, best);
        return;
    }
    m_queue.push(task);
}

bool PrunedPigmentSearch::bounded(int a, int b, int s0, int s1, double &bound) const
{
    const PaintTree::Node &nb = m_tree.node(b);
    double cLow = 0.0;
    double cHigh = 1.0;
    KsBounds first;
    if (m_thirdStage) {
        // The third paint's concentration γ rises with its share and strength;
        // the pair's mix has the rest.
        const auto &shares = pigmentThirdShares();
        const double m0 = shares[static_cast<std::size_t>(s0)];
        const double m1 = shares[static_cast<std::size_t>(s1)];
        const double gammaLow
            = concentrationBelow(concentrationOf(nb.strengthLow, 1000.0 * m0, (1000.0 - m0) * m_pairWeight));
        const double gammaHigh
            = concentrationAbove(concentrationOf(nb.strengthHigh, 1000.0 * m1, (1000.0 - m1) * m_pairWeight));
        cLow = concentrationBelow(1.0 - gammaHigh);
        cHigh = concentrationAbove(1.0 - gammaLow);
        first = {m_pairMix.ks.data(), m_pairMix.ks.data()};
    } else {
        first = m_tree.ks(a);
        if (a != b) {
            // a's concentration rises with its share and with its strength
            // against b's.
            const auto &shares = pigmentPairShares();
            const PaintTree::Node &na = m_tree.node(a);
            const double k0 = shares[static_cast<std::size_t>(s0)];
            const double k1 = shares[static_cast<std::size_t>(s1)];
            cLow = concentrationBelow(concentrationOf(na.strengthLow, k0, nb.strengthHigh * (1000.0 - k0)));
            cHigh = concentrationAbove(concentrationOf(na.strengthHigh, k1, nb.strengthLow * (1000.0 - k1)));
        }
    }
    const XyzBox box = pigmentMixBox(first, m_tree.ks(b), cLow, cHigh);
    if (!boxesMeet(box, m_targetBox)) {
        return false;
    }
    bound = xyzBoxLowerBound(m_boundTarget, box);
    return true;
}

// Calls offer(lane, XYZ, ΔE00) for each of the first count lanes of m_xyz
// that the target's box holds: the others cannot win or tie.
template<typename Offer>
void PrunedPigmentSearch::forEachHeldLane(int count, Offer offer) const
{
    for (int l = 0; l < count; ++l) {
        const auto lane = static_cast<std::size_t>(l);
        if (!boxHolds(m_targetBox, m_xyz.x[lane], m_xyz.y[lane], m_xyz.z[lane]))
            continue;
        const Xyz xyz{m_xyz.x[lane], m_xyz.y[lane], m_xyz.z[lane]};
        offer(l, xyz, deltaE00(m_target, pigmentLab(xyz)));
    }
}

void PrunedPigmentSearch::scorePairs(const Task &task, PigmentCandidate &best)
{
    const int i = m_tree.paint(task.a);
    const int j = m_tree.paint(task.b);
    // As the plain search orders the pair: the earlier paint first, its shares ascending.
    const int first = std::min(i, j);
    const int second = std::max(i, j);
    const int s0 = i < j ? task.s0 : kPigmentShareCount - 1 - task.s1;
    const int count = task.s1 - task.s0 + 1;
    const PigmentPaint &a = m_paints[static_cast<std::size_t>(first)];
    const PigmentPaint &b = m_paints[static_cast<std::size_t>(second)];
    const auto &shares = pigmentPairShares();
    for (int l = 0; l < count; ++l) {
        const auto s = static_cast<std::size_t>(s0 + l);
        const auto lane = static_cast<std::size_t>(l);
        if (a.strength == b.strength) {
            m_lanes.c1[lane] = m_equalLanes.c1[s];
            m_lanes.c2[lane] = m_equalLanes.c2[s];
        } else {
            const auto c = pairConcentrations(shares[s], a.strength, b.strength);
            m_lanes.c1[lane] = c[0];
            m_lanes.c2[lane] = c[1];
        }
    }
    pigmentLanesXyz(a.curve, b.curve, nullptr, m_lanes, m_xyz, 0, (count + 3) / 4 * 4);
    forEachHeldLane(count, [&](int l, const Xyz &xyz, double difference) {
        const int share = shares[static_cast<std::size_t>(s0 + l)];
        if (difference < best.difference
            || (difference == best.difference
                && std::tie(first, second, share) < std::tie(best.first, best.second, best.share))) {
            best = {difference, first, second, -1, share, 0, xyz};
            tighten(difference);
        }
    });
}

void PrunedPigmentSearch::scoreThirds(const Task &task, PigmentCandidate &best)
{
    const int t = m_tree.paint(task.b);
    if ((*m_excluded)(t))
        return;
    const PigmentPaint &a = m_paints[static_cast<std::size_t>(best.first)];
    const PigmentPaint &b = m_paints[static_cast<std::size_t>(best.second)];
    const PigmentPaint &c = m_paints[static_cast<std::size_t>(t)];
    const std::array<double, 3> strengths{a.strength, b.strength, c.strength};
    const auto &shares = pigmentThirdShares();
    const int count = task.s1 - task.s0 + 1;
    for (int l = 0; l < count; ++l) {
        const int m = shares[static_cast<std::size_t>(task.s0 + l)];
        const std::array<double, 3> parts{static_cast<double>(m_pairShare * (1000 - m)),
                                          static_cast<double>((1000 - m_pairShare) * (1000 - m)),
                                          static_cast<double>(1000 * m)};
        std::array<double, 3> cs{};
        pigmentConcentrations(parts, strengths, cs);
        const auto lane = static_cast<std::size_t>(l);
        m_lanes.c1[lane] = cs[0];
        m_lanes.c2[lane] = cs[1];
        m_lanes.c3[lane] = cs[2];
    }
    pigmentLanesXyz(a.curve, b.curve, &c.curve, m_lanes, m_xyz, 0, (count + 3) / 4 * 4);
    forEachHeldLane(count, [&](int l, const Xyz &xyz, double difference) {
        const int m = shares[static_cast<std::size_t>(task.s0 + l)];
        // Only a strictly lower ΔE00 displaces the pair; among third paints
        // the earlier one wins a tie.
        if (difference < best.difference
            || (difference == best.difference && best.third >= 0
                && std::tie(t, m) < std::tie(best.third, best.thirdShare))) {
            best = {difference, best.first, best.second, t, m_pairShare, m, xyz};
            tighten(difference);
        }
    });
}

} // namespace pigmora
