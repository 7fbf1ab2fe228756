#pragma once

#include "data/color.h"
#include "engine/colordifference.h"
#include "engine/pigmentbound.h"
#include "engine/pigmentmix.h"
#include "engine/pigmentsearch.h"
#include "engine/solvecontrol.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

// The pigment search without scoring every mix: a branch and bound over
// (group of paints, group of paints, range of shares). The paints are
// grouped in a tree by colour; a task stands for every mix of a paint of
// one group with a paint of the other at the shares of its range, and is
// dropped once its box (pigmentbound.h) proves every such mix worse than the
// best so far. Tasks are taken lowest bound first and split until they hold
// one pair and a few shares, which are scored exactly as the plain search
// scores them (without a bound of their own: for a few shares of one pair
// scoring costs about what bounding does and rules out more).
//
// Ties: the plain search keeps the first mix, in its order, that reaches the
// smallest ΔE00. Here each scored mix is compared by (ΔE00, place in that
// order), and a task is dropped only when its bound exceeds the best ΔE00,
// so a mix that ties the best is always scored. The answer is the plain one.
namespace pigmora {

struct PigmentPaint {
    RgbColor color;
    KsCurve curve;
    double strength = 1.0;
};

// A scored mix: its ΔE00, where it came from and its XYZ.
struct PigmentCandidate {
    double difference = std::numeric_limits<double>::infinity();
    int first = -1;
    int second = -1;
    int third = -1;
    int share = 0; // the first paint's share of the pair, in thousandths
    int thirdShare = 0; // the third paint's share, in thousandths
    Xyz xyz;
};

// The paints grouped by colour: each node holds a run of paints and the K/S
// bounds over them; a node of one paint uses that paint's curve.
class PaintTree
{
public:
    struct Node {
        int begin = 0; // the run of paints, positions in order()
        int end = 0;
        int left = -1; // children; -1 for one paint
        int right = -1;
        double strengthLow = 1.0;
        double strengthHigh = 1.0;
        double size = 0.0; // extent of its colours in CIELAB
        Lab centre;
    };

    explicit PaintTree(const std::vector<PigmentPaint> &paints);

    static constexpr int kRoot = 0;
    const Node &node(int id) const { return m_nodes[static_cast<std::size_t>(id)]; }
    bool single(int id) const { return node(id).left < 0; }
    // The paint of a one-paint node, as a box index.
    int paint(int id) const { return m_order[static_cast<std::size_t>(node(id).begin)]; }
    KsBounds ks(int id) const;

private:
    int build(int begin, int end);

    const std::vector<PigmentPaint> &m_paints;
    std::vector<Lab> m_labs;
    std::vector<double> m_splitReflectances; // per paint, at the wavelengths the tree splits at
    std::vector<int> m_order;
    std::vector<Node> m_nodes;
    std::vector<std::size_t> m_boundsAt; // per node, into m_bounds; unused for one paint
    std::vector<double> m_bounds;
};

class PrunedPigmentSearch
{
public:
    PrunedPigmentSearch(const std::vector<PigmentPaint> &paints, const Lab &target, SolveControl *control);

    // The best pair and share, as the plain search finds it. false when cancelled.
    bool pairs(PigmentCandidate &best);
    // The best third paint for the pair in best (taken only when it lowers
    // ΔE00), skipping every paint for which excluded is true. false when cancelled.
    bool thirds(PigmentCandidate &best, const std::function<bool(int)> &excluded);

private:
    struct Task {
        double bound;
        int a; // a tree node, or -1: the best pair's mix (third paints)
        int b;
        std::int16_t s0; // the range of a's shares, indices into the share list
        std::int16_t s1;
    };
    // The tasks by bound, in buckets of a fixed width: the lowest bucket
    // first and, within one, the latest task first, which goes depth first
    // among near-equal bounds and reaches scored mixes soonest. Any order
    // finds the same answer; this one keeps pushes and pops constant time.
    class TaskQueue
    {
    public:
        TaskQueue();
        void clear();
        bool empty() const { return m_size == 0; }
        std::size_t size() const { return m_size; }
        void push(const Task &task);
        Task pop();
        // No task queued has a bound below this.
        double floor() const;

    private:
        static std::size_t bucketOf(double bound);
        std::size_t lowestBucket() const;

        std::vector<std::vector<Task>> m_buckets;
        std::size_t m_lowest = 0; // no bucket below it holds a task
        std::size_t m_size = 0;
    };

    bool run(PigmentCandidate &best, Task root, double total);
    void process(const Task &task, PigmentCandidate &best);
    void score(const Task &task, PigmentCandidate &best);
    void expand(const Task &task, PigmentCandidate &best);
    void offer(int a, int b, int s0, int s1, PigmentCandidate &best);
    bool bounded(int a, int b, int s0, int s1, double &bound) const;
    bool leaf(const Task &task) const;
    double volume(int a, int b, int s0, int s1) const;
    template<typename Offer>
    void forEachHeldLane(int count, Offer offer) const;
    void scorePairs(const Task &task, PigmentCandidate &best);
    void scoreThirds(const Task &task, PigmentCandidate &best);
    void tighten(double difference);
    bool checkControl();

    const std::vector<PigmentPaint> &m_paints;
    Lab m_target;
    SolveControl *m_control;
    PaintTree m_tree;
    BoundTarget m_boundTarget;
    XyzBox m_targetBox;
    TaskQueue m_queue;
    std::size_t m_queueLimit;
    bool m_cancelled = false;
    bool m_thirdStage = false;
    // The third paint stage: the best pair's mix and strengths.
    KsCurve m_pairMix;
    Lab m_pairMixLab;
    int m_pairShare = 0;
    double m_pairWeight = 0.0; // S_a·k + S_b·(1000 - k)
    const std::function<bool(int)> *m_excluded = nullptr;
    // Concentrations of the pair shares with equal strengths.
    PigmentLanes m_equalLanes;
    PigmentLanes m_lanes;
    LaneXyz m_xyz;
    // Progress: the share of all mixes already scored or ruled out.
    double m_total = 1.0;
    double m_done = 0.0;
    int m_progressBase = 0;
    int m_progressSpan = 0;
    std::int64_t m_steps = 0;
};

} // namespace pigmora
