#include "controls/chartaxis.h"

#include <algorithm>
#include <cmath>

namespace kav {

namespace {

// Values this close to a tick, relative to the step, count as on it.
constexpr double kTickTolerance = 1e-9;

} // namespace

void ChartAxis::setMinMax(double minimum, double maximum)
{
    m_automatic = false;
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
}

void ChartAxis::setAutoRange(double minimum, double maximum)
{
    m_minimum = std::min(minimum, maximum);
    m_maximum = std::max(minimum, maximum);
}

double ChartAxis::drawnMinimum() const
{
    if (!m_logarithmic)
        return m_maximum > m_minimum ? m_minimum : m_minimum - 1;
    if (m_minimum > 0)
        return m_maximum > m_minimum ? m_minimum : m_minimum / 10;
    // No range of positive values: three decades below the maximum, or around 1.
    return m_maximum > 0 ? m_maximum / 1000 : 0.1;
}

double ChartAxis::drawnMaximum() const
{
    if (!m_logarithmic)
        return m_maximum > m_minimum ? m_maximum : m_maximum + 1;
    if (m_maximum > 0 && m_maximum > m_minimum)
        return m_maximum;
    return m_maximum > 0 ? m_maximum * 10 : 10;
}

double ChartAxis::toFraction(double value) const
{
    const double lo = drawnMinimum();
    const double hi = drawnMaximum();
    if (m_logarithmic) {
        if (!(value > 0))
            return -1e9; // below every position
        return (std::log10(value) - std::log10(lo)) / (std::log10(hi) - std::log10(lo));
    }
    return (value - lo) / (hi - lo);
}

double ChartAxis::fromFraction(double fraction) const
{
    const double lo = drawnMinimum();
    const double hi = drawnMaximum();
    if (m_logarithmic)
        return std::pow(10.0, std::log10(lo) + fraction * (std::log10(hi) - std::log10(lo)));
    return lo + fraction * (hi - lo);
}

int ChartAxis::decadeStep(int wanted) const
{
    const double decades = std::log10(drawnMaximum()) - std::log10(drawnMinimum());
    return std::max(1, static_cast<int>(std::ceil(decades / std::max(wanted, 1))));
}

double ChartAxis::linearStep(int wanted) const
{
    const double raw = (drawnMaximum() - drawnMinimum()) / std::max(wanted, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (factor * power >= raw * (1 - kTickTolerance))
            return factor * power;
    return 10 * power;
}

std::vector<double> ChartAxis::majorTicks(int wanted) const
{
    std::vector<double> ticks;
    const double lo = drawnMinimum();
    const double hi = drawnMaximum();
    if (m_logarithmic) {
        const int step = decadeStep(wanted);
        const int first = static_cast<int>(std::ceil(std::log10(lo) - kTickTolerance));
        const int last = static_cast<int>(std::floor(std::log10(hi) + kTickTolerance));
        // Decades that are multiples of the step, so that 1 stays a tick while zooming.
        for (int k = first; k <= last; ++k)
            if (k % step == 0)
                ticks.push_back(std::pow(10.0, k));
        return ticks;
    }
    const double step = linearStep(wanted);
    for (double k = std::ceil(lo / step - kTickTolerance); k * step <= hi + step * kTickTolerance; ++k)
        ticks.push_back(std::abs(k) < 0.5 ? 0.0 : k * step);
    return ticks;
}

std::vector<double> ChartAxis::minorTicks(int wanted) const
{
    std::vector<double> ticks;
    const double lo = drawnMinimum();
    const double hi = drawnMaximum();
    auto keep = [&](double v) {
        if (v >= lo && v <= hi)
            ticks.push_back(v);
    };
    if (m_logarithmic) {
        // Every decade the majors pass over, and 2 to 9 times each decade while a decade has
        // room for them (about 20 pixels, half the room of a major).
        const int step = decadeStep(wanted);
        const int first = static_cast<int>(std::floor(std::log10(lo)));
        const int last = static_cast<int>(std::ceil(std::log10(hi)));
        const bool multiples = last - first <= 2 * std::max(wanted, 1);
        for (int k = first; k <= last; ++k) {
            if (k % step != 0)
                keep(std::pow(10.0, k));
            if (multiples)
                for (int m = 2; m <= 1 + minorTickCount && m <= 9; ++m)
                    keep(m * std::pow(10.0, k));
        }
        std::sort(ticks.begin(), ticks.end());
        return ticks;
    }
    const double step = linearStep(wanted);
    const double minor = step / (minorTickCount + 1);
    for (double k = std::floor(lo / step); k * step <= hi; ++k)
        for (int m = 1; m <= minorTickCount; ++m)
            keep(k * step + m * minor);
    return ticks;
}

} // namespace kav
