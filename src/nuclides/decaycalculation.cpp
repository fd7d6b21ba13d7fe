#include "nuclides/decaycalculation.h"

#include "nuclides/nuclide.h"
#include "units/units.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kav {

namespace {

// No real chain is longer; a damaged index that links in a circle stops here.
constexpr int kLongestPath = 64;
// Ends of a range closer than this (in λt) take the Taylor series.
constexpr double kCloseEnds = 1.0;
constexpr int kTaylorTerms = 40;

// The divided difference of exp(-x) over points lying within kCloseEnds of each other, with the
// sign that makes it positive: exp(-c) Σ_k (-1)^k H_k(y) / (m + k)!, y the points less their
// middle c, H_k the complete homogeneous symmetric polynomials, m + 1 the number of points.
double closeDifference(const double* points, int count)
{
    const double middle = (points[0] + points[count - 1]) / 2;
    double homogeneous[kTaylorTerms + 1] = {1};
    for (int i = 0; i < count; ++i) {
        const double y = points[i] - middle;
        for (int k = 1; k <= kTaylorTerms; ++k)
            homogeneous[k] += y * homogeneous[k - 1];
    }
    const int m = count - 1;
    double factorial = 1; // (m + k)!
    for (int i = 2; i <= m; ++i)
        factorial *= i;
    double sum = 0;
    double sign = 1;
    double previous = 1;
    for (int k = 0; k <= kTaylorTerms; ++k) {
        if (k > 0)
            factorial *= m + k;
        const double term = sign * homogeneous[k] / factorial;
        sum += term;
        // Points placed evenly about the middle make every odd term 0: two small terms in a
        // row end the series.
        if (k > 0 && std::fabs(term) <= 1e-18 * std::fabs(sum) && std::fabs(previous) <= 1e-17 * std::fabs(sum))
            break;
        previous = term;
        sign = -sign;
    }
    return std::exp(-middle) * sum;
}

// The divided difference of exp(-x) over ascending points, made positive ((-1)^m times the
// difference of m + 1 points): the table of every range, built from the single points up.
double expDifference(const std::vector<double>& points, std::vector<double>& table)
{
    const std::size_t n = points.size();
    table.assign(n * n, 0);
    auto at = [&table, n](std::size_t a, std::size_t b) -> double& { return table[a * n + b]; };
    for (std::size_t a = 0; a < n; ++a)
        at(a, a) = std::exp(-points[a]);
    for (std::size_t length = 1; length < n; ++length)
        for (std::size_t a = 0; a + length < n; ++a) {
            const std::size_t b = a + length;
            const double spread = points[b] - points[a];
            at(a, b) = spread < kCloseEnds ? closeDifference(&points[a], static_cast<int>(length + 1))
                                           : std::max(0.0, (at(a, b - 1) - at(a + 1, b)) / spread);
        }
    return at(0, n - 1);
}

} // namespace

double decayConstantPerDay(const Nuclide& nuclide)
{
    const double halfLifeDays = static_cast<double>(nuclide.halfLife) / timeUnitsPerDayA(nuclide.halfLifeUnit);
    return halfLifeDays > 0 ? std::numbers::ln2 / halfLifeDays : 0;
}

bool readDuration(QStringView text, double& days, QString& reason)
{
    struct Unit {
        const char16_t* suffix;
        double days;
    };
    static const Unit units[] = {{u"y", 365.25}, {u"d", 1}, {u"h", 1.0 / 24}, {u"m", 1.0 / 1440}, {u"s", 1.0 / 86400}};
    const QStringView trimmed = text.trimmed();
    for (const Unit& unit : units) {
        if (!trimmed.endsWith(QStringView(unit.suffix)))
            continue;
        bool ok = false;
        const double number = QLocale::c().toDouble(trimmed.chopped(1), &ok);
        if (!ok || !std::isfinite(number)) {
            reason = QStringLiteral("\"%1\" is not a number of years (y), days (d), hours (h), minutes (m) or "
                                    "seconds (s)")
                         .arg(trimmed.toString());
            return false;
        }
        days = number * unit.days;
        if (days < 0) {
            reason = QStringLiteral("the time \"%1\" is before the reference").arg(trimmed.toString());
            return false;
        }
        if (days > LongestDecayDays) {
            reason = QStringLiteral("the time \"%1\" is beyond 1E12 years").arg(trimmed.toString());
            return false;
        }
        return true;
    }
    reason = QStringLiteral("\"%1\" lacks its unit: y, d, h, m (minutes) or s").arg(trimmed.toString());
    return false;
}

DecayCalculation::DecayCalculation(const std::vector<DecaySource>& sources)
{
    for (const DecaySource& source : sources)
        if (source.nuclide)
            memberIndex(source.nuclide);
    for (const DecaySource& source : sources)
        if (source.nuclide)
            addPaths(source);
}

std::size_t DecayCalculation::memberIndex(const Nuclide* nuclide)
{
    const auto found = std::find(m_members.begin(), m_members.end(), nuclide);
    if (found != m_members.end())
        return static_cast<std::size_t>(found - m_members.begin());
    m_members.push_back(nuclide);
    return m_members.size() - 1;
}

void DecayCalculation::addPaths(const DecaySource& source)
{
    // Depth first, on an explicit stack: each step with the slot of its next daughter to visit.
    struct Visit {
        int step;
        int nextSlot;
    };
    PathStep first;
    first.member = memberIndex(source.nuclide);
    first.decayConstant = decayConstantPerDay(*source.nuclide);
    first.weight = source.activity;
    first.sortedConstants = {first.decayConstant};
    m_steps.push_back(first);
    std::vector<Visit> stack{{static_cast<int>(m_steps.size()) - 1, 0}};
    while (!stack.empty()) {
        Visit& visit = stack.back();
        const PathStep& step = m_steps[static_cast<std::size_t>(visit.step)];
        const Nuclide* node = m_members[step.member];
        if (visit.nextSlot >= node->daughterCount || static_cast<int>(stack.size()) >= kLongestPath) {
            stack.pop_back();
            continue;
        }
        const int slot = visit.nextSlot++;
        const Nuclide* daughter = node->daughterNode(slot);
        const double fraction = node->daughters[static_cast<std::size_t>(slot)].yield;
        if (!daughter || !(fraction > 0) || decayConstantPerDay(*daughter) <= 0)
            continue;
        PathStep next;
        next.member = memberIndex(daughter);
        next.decayConstant = decayConstantPerDay(*daughter);
        next.previous = visit.step;
        next.weight = step.weight * fraction;
        next.sortedConstants = step.sortedConstants;
        next.sortedConstants.insert(
            std::upper_bound(next.sortedConstants.begin(), next.sortedConstants.end(), next.decayConstant),
            next.decayConstant);
        m_steps.push_back(std::move(next));
        stack.push_back({static_cast<int>(m_steps.size()) - 1, 0});
    }
}

std::vector<double> DecayCalculation::activitiesAt(double days) const
{
    std::vector<double> activities(m_members.size(), 0);
    // The product of λt over each path's members after its source, step by step.
    std::vector<double> products(m_steps.size(), 1);
    std::vector<double> points;
    std::vector<double> table;
    for (std::size_t s = 0; s < m_steps.size(); ++s) {
        const PathStep& step = m_steps[s];
        if (step.previous >= 0)
            products[s] = products[static_cast<std::size_t>(step.previous)] * step.decayConstant * days;
        if (products[s] == 0 && step.previous >= 0)
            continue;
        points.resize(step.sortedConstants.size());
        for (std::size_t i = 0; i < points.size(); ++i)
            points[i] = step.sortedConstants[i] * days;
        const double activity = step.weight * products[s] * expDifference(points, table);
        if (std::isfinite(activity) && activity > 0)
            activities[step.member] += activity;
    }
    return activities;
}

} // namespace kav
