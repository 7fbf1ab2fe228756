#include "engine/strengthfit.h"

#include "engine/colordifference.h"
#include "engine/mixsolver.h"
#include "engine/pigmentmix.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace pigmora {

namespace {

constexpr int kMaxSweeps = 60;
constexpr double kGain = 1e-7;

struct Usable {
    Lab measured;
    std::array<int, 3> paints{};
    std::array<double, 3> parts{};
    std::size_t count = 0;
};

class Fitter
{
public:
    Fitter(std::span<const RgbColor> paints, std::span<const MixObservation> observations)
        : m_lower(std::log(kMinStrength))
        , m_upper(std::log(kMaxStrength))
        , m_x(paints.size(), 0.0)
        , m_of(paints.size())
    {
        for (const RgbColor &color : paints)
            m_curves.push_back(ksCurveOf(clampedColor(color)));
        const int n = static_cast<int>(paints.size());
        for (const MixObservation &observation : observations) {
            Usable usable;
            usable.measured = labOf(clampedColor(observation.measured));
            bool valid = true;
            for (std::size_t k = 0; k < 3; ++k) {
                if (observation.paints[k] < 0 && !(observation.parts[k] > 0.0))
                    continue;
                if (observation.paints[k] < 0 || observation.paints[k] >= n || !(observation.parts[k] > 0.0)
                    || !std::isfinite(observation.parts[k])) {
                    valid = false;
                    break;
                }
                usable.paints[usable.count] = observation.paints[k];
                usable.parts[usable.count++] = observation.parts[k];
            }
            if (!valid || usable.count < 2)
                continue;
            for (std::size_t k = 0; k < usable.count; ++k) {
                auto &list = m_of[static_cast<std::size_t>(usable.paints[k])];
                if (list.empty() || list.back() != m_usable.size())
                    list.push_back(m_usable.size());
            }
            m_usable.push_back(usable);
        }
    }

    StrengthFit run()
    {
        StrengthFit fit;
        fit.strengths.assign(m_x.size(), 1.0);
        fit.observationCounts.assign(m_x.size(), 0);
        for (std::size_t i = 0; i < m_of.size(); ++i)
            fit.observationCounts[i] = static_cast<int>(m_of[i].size());
        if (m_usable.empty())
            return fit;
        fit.meanBefore = meanDifference();
        double previous = objective();
        for (int sweep = 0; sweep < kMaxSweeps; ++sweep) {
            const double window = sweep < 2 ? m_upper - m_lower : 0.5;
            for (std::size_t i = 0; i < m_x.size(); ++i) {
                if (!m_of[i].empty())
                    minimiseCoordinate(i, window);
            }
            recentre();
            const double now = objective();
            if (previous - now < kGain && sweep >= 2)
                break;
            previous = now;
        }
        for (std::size_t i = 0; i < m_x.size(); ++i)
            fit.strengths[i] = std::exp(m_x[i]);
        fit.meanAfter = meanDifference();
        return fit;
    }

private:
    double difference(const Usable &u) const
    {
        std::array<double, 3> strengths{};
        std::array<double, 3> c{};
        for (std::size_t k = 0; k < u.count; ++k)
            strengths[k] = std::exp(m_x[static_cast<std::size_t>(u.paints[k])]);
        pigmentConcentrations(std::span(u.parts.data(), u.count), std::span(strengths.data(), u.count),
                              std::span(c.data(), u.count));
        const auto &curve
            = [&](std::size_t k) -> const KsCurve & { return m_curves[static_cast<std::size_t>(u.paints[k])]; };
        const Xyz xyz = u.count == 3 ? pigmentXyz(curve(0), c[0], curve(1), c[1], curve(2), c[2])
                                     : pigmentXyz(curve(0), c[0], curve(1), c[1]);
        return deltaE00(u.measured, pigmentLab(xyz));
    }

    double meanDifference() const
    {
        double sum = 0.0;
        for (const Usable &u : m_usable)
            sum += difference(u);
        return sum / static_cast<double>(m_usable.size());
    }

    double objective() const
    {
        double pull = 0.0;
        for (const double x : m_x)
            pull += x * x;
        return meanDifference() + kStrengthPrior * pull / static_cast<double>(m_usable.size());
    }

    // The part of the objective that coordinate i moves.
    double local(std::size_t i, double value)
    {
        m_x[i] = value;
        double sum = 0.0;
        for (const std::size_t n : m_of[i])
            sum += difference(m_usable[n]);
        return (sum + kStrengthPrior * value * value) / static_cast<double>(m_usable.size());
    }

    void minimiseCoordinate(std::size_t i, double window)
    {
        const double start = m_x[i];
        const double low = std::max(m_lower, start - window);
        const double high = std::min(m_upper, start + window);
        constexpr int kSteps = 24;
        const double step = (high - low) / kSteps;
        double best = start;
        double bestValue = local(i, start);
        for (int s = 0; s <= kSteps; ++s) {
            const double x = low + step * s;
            const double value = local(i, x);
            if (value < bestValue) {
                best = x;
                bestValue = value;
            }
        }
        // Golden-section search in the grid cells around the best point.
        double a = std::max(low, best - step);
        double b = std::min(high, best + step);
        const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
        double c = b - ratio * (b - a);
        double d = a + ratio * (b - a);
        double fc = local(i, c);
        double fd = local(i, d);
        while (b - a > 1e-5) {
            if (fc < fd) {
                b = d;
                d = c;
                fd = fc;
                c = b - ratio * (b - a);
                fc = local(i, c);
            } else {
                a = c;
                c = d;
                fc = fd;
                d = a + ratio * (b - a);
                fd = local(i, d);
            }
        }
        const double refined = fc < fd ? c : d;
        if (std::min(fc, fd) < bestValue) {
            best = refined;
            bestValue = std::min(fc, fd);
        }
        m_x[i] = best;
    }

    // Shifts each connected group of paints to where Σ x² is least within
    // the bounds; predictions depend only on ratios within a group.
    void recentre()
    {
        std::vector<int> group(m_x.size(), -1);
        int groups = 0;
        for (std::size_t start = 0; start < m_x.size(); ++start) {
            if (group[start] >= 0 || m_of[start].empty())
                continue;
            std::vector<std::size_t> members{start};
            group[start] = groups;
            for (std::size_t next = 0; next < members.size(); ++next) {
                for (const std::size_t n : m_of[members[next]]) {
                    const Usable &u = m_usable[n];
                    for (std::size_t k = 0; k < u.count; ++k) {
                        const auto p = static_cast<std::size_t>(u.paints[k]);
                        if (group[p] < 0) {
                            group[p] = groups;
                            members.push_back(p);
                        }
                    }
                }
            }
            double mean = 0.0;
            double least = -1e300;
            double most = 1e300;
            for (const std::size_t p : members) {
                mean += m_x[p];
                least = std::max(least, m_lower - m_x[p]);
                most = std::min(most, m_upper - m_x[p]);
            }
            const double shift = std::clamp(-mean / static_cast<double>(members.size()), least, most);
            for (const std::size_t p : members)
                m_x[p] += shift;
            ++groups;
        }
    }

    double m_lower;
    double m_upper;
    std::vector<double> m_x; // ln S per paint
    std::vector<KsCurve> m_curves;
    std::vector<Usable> m_usable;
    std::vector<std::vector<std::size_t>> m_of; // observations per paint
};

} // namespace

StrengthFit fitStrengths(std::span<const RgbColor> paints, std::span<const MixObservation> observations)
{
    return Fitter(paints, observations).run();
}

} // namespace pigmora
