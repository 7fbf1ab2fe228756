#include "engine/mixcorrection.h"

#include "engine/colordifference.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pigmora {

namespace {

// Most addition vectors tried one part apart; above it the search first
// steps several parts at a time, then refines around the best.
constexpr long long kAdditionBudget = 20000;

class Estimator
{
public:
    Estimator(const RecipeMixer &mixer, std::span<const double> parts, const Lab &got)
        : m_mixer(mixer)
        , m_parts(parts.begin(), parts.end())
        , m_got(got)
    {
        for (const double p : m_parts)
            m_total += p;
    }

    // Scores shares r (non-negative, adding up to 1) at the scale nearest the
    // recipe; q receives the parts.
    double score(const std::vector<double> &r, std::vector<double> &q) const
    {
        double pr = 0.0;
        double rr = 0.0;
        for (std::size_t k = 0; k < r.size(); ++k) {
            pr += m_parts[k] * r[k];
            rr += r[k] * r[k];
        }
        const double scale = rr > 0.0 ? std::max(0.0, pr / rr) : 0.0;
        double distance = 0.0;
        q.resize(r.size());
        for (std::size_t k = 0; k < r.size(); ++k) {
            q[k] = scale * r[k];
            distance += (q[k] - m_parts[k]) * (q[k] - m_parts[k]);
        }
        if (!(scale > 0.0))
            return std::numeric_limits<double>::infinity();
        return deltaE00(m_got, m_mixer.mix(q).lab) + kEstimatePull * distance / (m_total * m_total);
    }

    std::vector<double> estimate() const
    {
        const std::size_t n = m_parts.size();
        std::vector<double> best(n, 0.0);
        std::vector<double> q;
        double bestScore = std::numeric_limits<double>::infinity();
        auto consider = [&](const std::vector<double> &r) {
            const double s = score(r, q);
            if (s < bestScore) {
                bestScore = s;
                best = r;
            }
        };
        const int steps = n == 2 ? 200 : 40;
        std::vector<double> r(n, 0.0);
        for (int i = 0; i <= steps; ++i) {
            if (n == 2) {
                r = {i / static_cast<double>(steps), (steps - i) / static_cast<double>(steps)};
                consider(r);
                continue;
            }
            for (int j = 0; i + j <= steps; ++j) {
                r = {i / static_cast<double>(steps), j / static_cast<double>(steps),
                     (steps - i - j) / static_cast<double>(steps)};
                consider(r);
            }
        }
        // Pattern search on the shares: move share from one paint to another,
        // halving the step until it is below 1e-6.
        for (double step = 1.0 / steps; step > 1e-6; step *= 0.5) {
            bool moved = true;
            while (moved) {
                moved = false;
                for (std::size_t from = 0; from < n; ++from) {
                    for (std::size_t to = 0; to < n; ++to) {
                        if (from == to || best[from] < step)
                            continue;
                        std::vector<double> trial = best;
                        trial[from] -= step;
                        trial[to] += step;
                        if (score(trial, q) < bestScore) {
                            bestScore = score(trial, q);
                            best = trial;
                            moved = true;
                        }
                    }
                }
            }
        }
        score(best, q);
        // Written down with four decimals, mixed again exactly.
        for (double &part : q)
            part = std::round(part * 10000.0) / 10000.0;
        return q;
    }

private:
    const RecipeMixer &m_mixer;
    std::vector<double> m_parts;
    Lab m_got;
    double m_total = 0.0;
};

struct Addition {
    std::vector<int> add;
    double difference = 0.0; // to the target
    double cost = std::numeric_limits<double>::infinity();
};

class AdditionSearch
{
public:
    AdditionSearch(const RecipeMixer &mixer, const std::vector<double> &estimate, const Lab &target, int most)
        : m_mixer(mixer)
        , m_estimate(estimate)
        , m_target(target)
        , m_most(most)
    { }

    Addition run()
    {
        const std::size_t n = m_estimate.size();
        Addition best;
        std::vector<int> zero(n, 0);
        consider(zero, best);
        // The number of vectors of n non-negative parts adding up to at most m.
        auto count = [&](int step) {
            const long long m = m_most / step;
            long long c = 1;
            for (std::size_t k = 1; k <= n; ++k)
                c = c * (m + static_cast<long long>(k)) / static_cast<long long>(k);
            return c;
        };
        int step = 1;
        while (count(step) > kAdditionBudget)
            ++step;
        std::vector<int> add(n, 0);
        walk(add, 0, 0, step, std::vector<int>(n, 0), std::vector<int>(n, m_most), best);
        // Coarse to fine: each round searches around the best at a quarter
        // of the step, (2·4 + 1)^n vectors, down to whole parts.
        while (step > 1) {
            const int finer = std::max(1, step / 4);
            std::vector<int> low(n);
            std::vector<int> high(n);
            for (std::size_t k = 0; k < n; ++k) {
                low[k] = std::max(0, best.add[k] - step);
                high[k] = best.add[k] + step;
            }
            walk(add, 0, 0, finer, low, high, best);
            step = finer;
        }
        return best;
    }

private:
    void consider(const std::vector<int> &add, Addition &best) const
    {
        std::vector<double> parts(add.size());
        int total = 0;
        for (std::size_t k = 0; k < add.size(); ++k) {
            // The estimate's four decimals plus whole parts, exactly as written.
            parts[k] = (std::round(m_estimate[k] * 10000.0) + 10000.0 * add[k]) / 10000.0;
            total += add[k];
        }
        const double difference = deltaE00(m_target, m_mixer.mix(parts).lab);
        const double cost = difference + kPartCost * total;
        if (cost < best.cost)
            best = {add, difference, cost};
    }

    void walk(std::vector<int> &add, std::size_t k, int used, int step, const std::vector<int> &low,
              const std::vector<int> &high, Addition &best) const
    {
        if (k == add.size()) {
            if (used > 0)
                consider(add, best);
            return;
        }
        const int first = (low[k] + step - 1) / step * step;
        for (int a = first; a <= high[k] && used + a <= m_most; a += step) {
            add[k] = a;
            walk(add, k + 1, used + a, step, low, high, best);
        }
        add[k] = 0;
    }

    const RecipeMixer &m_mixer;
    std::vector<double> m_estimate;
    Lab m_target;
    int m_most;
};

} // namespace

MixCorrection correctMix(MixModel model, std::span<const RecipePaint> paints, std::span<const double> parts,
                         const RgbColor &target, const RgbColor &got)
{
    const RecipeMixer mixer(model, paints);
    const Lab targetLab = labOf(clampedColor(target));
    const Lab gotLab = labOf(clampedColor(got));
    MixCorrection correction;
    correction.deltaE00Before = deltaE00(gotLab, targetLab);
    correction.estimatedParts = Estimator(mixer, parts, gotLab).estimate();
    double total = 0.0;
    for (const double p : parts)
        total += p;
    const int most = static_cast<int>(std::clamp(std::floor(total + 1e-9), 1.0, 1e6));
    const Addition best = AdditionSearch(mixer, correction.estimatedParts, targetLab, most).run();
    const bool any = std::any_of(best.add.begin(), best.add.end(), [](int a) { return a > 0; });
    correction.helps = any && best.difference < correction.deltaE00Before;
    correction.add = correction.helps ? best.add : std::vector<int>(parts.size(), 0);
    correction.deltaE00After
        = correction.helps ? best.difference : deltaE00(targetLab, mixer.mix(correction.estimatedParts).lab);
    return correction;
}

} // namespace pigmora
