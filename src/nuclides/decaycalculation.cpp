#include "nuclides/decaycalculation.h"

#include "nuclides/nuclide.h"
#include "nuclides/nuclidenames.h"
#include "units/units.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <unordered_map>

namespace kav {

namespace {

// No real chain is longer; a damaged index that links in a circle stops here.
constexpr int kLongestPath = 64;
// Ends of a range closer than this (in λt) take the Taylor series.
constexpr double kCloseEnds = 1.0;
// Neighbouring decay constants closer than this over the time (in λt) form a group.
constexpr double kJoinedGap = 3.0;
// A group spread wider than this (in λt) is parted: its series would lose more than e^4 to
// cancellation.
constexpr double kWidestGroup = 8.0;
// Enough terms of the series for ranges up to kCloseEnds wide: 1/19! is below 1E-17.
constexpr int kMostTaylorTerms = 20;
// The longest path and the most terms: the factorials the series need (a grouped series takes
// up to 36 terms beyond a path's points in its group: 4^36 / 36! is below 1E-17 e^-4).
constexpr int kMostFactorials = kLongestPath + 42;

const std::array<double, kMostFactorials>& inverseFactorials()
{
    static const std::array<double, kMostFactorials> table = [] {
        std::array<double, kMostFactorials> t{};
        t[0] = 1;
        for (int i = 1; i < kMostFactorials; ++i)
            t[static_cast<std::size_t>(i)] = t[static_cast<std::size_t>(i) - 1] / i;
        return t;
    }();
    return table;
}

// The terms a series needs for points spread over a width: the first k with width^k / k! below
// 1E-17.
int taylorTerms(double width)
{
    double term = 1;
    for (int k = 1; k < kMostTaylorTerms; ++k) {
        term *= width / k;
        if (term < 1e-17)
            return k;
    }
    return kMostTaylorTerms;
}

// The table of the divided differences of exp(-x) over ascending points, every range's made
// positive ((-1)^m times the difference of m + 1 points), built from the table of the same points
// without the one at k (of n - 1 points): the ranges without it are the smaller table's, those
// with it are worked out. A range whose ends lie within kCloseEnds takes the Taylor series about
// its first point a: exp(-a) Σ_j (-1)^j H_j(y) / (m + j)!, y the points less a, H_j the complete
// homogeneous symmetric polynomials, which grow by one point at a time along the ranges starting
// at a. A wider range takes the recurrence, whose ends then lie apart.
void extendTable(const std::vector<double>& points, const std::vector<double>& exponentials, std::size_t k,
                 const std::vector<double>& smaller, std::vector<double>& table)
{
    const std::size_t n = points.size();
    const std::size_t m = n - 1;
    table.resize(n * n);
    auto at = [&table, n](std::size_t a, std::size_t b) -> double& { return table[a * n + b]; };
    for (std::size_t a = 0; a < k; ++a)
        std::copy(smaller.begin() + static_cast<std::ptrdiff_t>(a * m + a),
                  smaller.begin() + static_cast<std::ptrdiff_t>(a * m + k), &at(a, a));
    for (std::size_t a = k + 1; a < n; ++a)
        std::copy(smaller.begin() + static_cast<std::ptrdiff_t>((a - 1) * m + (a - 1)),
                  smaller.begin() + static_cast<std::ptrdiff_t>((a - 1) * m + m), &at(a, a));
    at(k, k) = exponentials[k];
    const auto& inverse = inverseFactorials();
    for (std::size_t a = 0; a <= k; ++a) {
        if (points[k] - points[a] >= kCloseEnds)
            continue;
        std::size_t last = k;
        while (last + 1 < n && points[last + 1] - points[a] < kCloseEnds)
            ++last;
        const int terms = taylorTerms(points[last] - points[a]);
        double homogeneous[kMostTaylorTerms + 1] = {1};
        for (std::size_t b = a; b <= last; ++b) {
            const double y = points[b] - points[a];
            for (int j = 1; j <= terms; ++j)
                homogeneous[j] += y * homogeneous[j - 1];
            if (b < k || b == a)
                continue;
            double sum = 0;
            for (int j = terms; j >= 0; --j)
                sum += ((j & 1) ? -homogeneous[j] : homogeneous[j]) * inverse[b - a + static_cast<std::size_t>(j)];
            at(a, b) = exponentials[a] * std::max(0.0, sum);
        }
    }
    // Shorter ranges first: a range's two parts are in the table before it.
    for (std::size_t length = 1; length < n; ++length)
        for (std::size_t a = (k >= length ? k - length : 0); a <= k && a + length < n; ++a) {
            const std::size_t b = a + length;
            if (points[b] - points[a] >= kCloseEnds)
                at(a, b) = std::max(0.0, (at(a, b - 1) - at(a + 1, b)) / (points[b] - points[a]));
        }
}

// How many terms of Σ_i s^i / i! a group's series takes at the scaled time s = σt: those up to
// where s^i / i! falls below 1E-17 e^-s (a difference of exp(-sv) over points within ±1 is at
// least e^-s times its first term).
std::size_t seriesTerms(double scaled)
{
    const double smallest = 1e-17 * std::exp(-scaled);
    std::size_t count = 1;
    for (double term = scaled; term >= smallest; term *= scaled / static_cast<double>(count))
        ++count;
    return count;
}

// Where each member's term for a level or group stands in a list of terms.
class TermPlaces {
public:
    // The place of the member's term for the level or group; the next place, noted, for a new one.
    std::size_t placeOf(std::size_t member, std::size_t levelOrGroup, std::size_t next)
    {
        return m_places.try_emplace(member << 32 | levelOrGroup, next).first->second;
    }

private:
    std::unordered_map<std::size_t, std::size_t> m_places;
};

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

double pathActivityRatio(const std::vector<double>& decayConstants, double days)
{
    if (decayConstants.empty())
        return 0;
    std::vector<double> points;
    double product = 1;
    for (std::size_t i = 0; i < decayConstants.size(); ++i) {
        points.push_back(decayConstants[i] * days);
        if (i > 0)
            product *= points.back();
    }
    if (decayConstants.size() > 1 && product == 0)
        return 0;
    std::sort(points.begin(), points.end());
    // The table grown by one point at a time, each the largest so far.
    std::vector<double> prefix;
    std::vector<double> exponentials;
    std::vector<double> smaller;
    std::vector<double> table;
    for (const double point : points) {
        prefix.push_back(point);
        exponentials.push_back(std::exp(-point));
        std::swap(smaller, table);
        extendTable(prefix, exponentials, prefix.size() - 1, smaller, table);
    }
    return product * table[points.size() - 1];
}

DecayCalculation::DecayCalculation(const std::vector<DecaySource>& sources)
{
    for (const DecaySource& source : sources)
        if (source.nuclide)
            memberIndex(source.nuclide);
    for (const DecaySource& source : sources)
        if (source.nuclide)
            addPaths(source);
    for (const Nuclide* member : m_members)
        m_levels.push_back(decayConstantPerDay(*member));
    std::sort(m_levels.begin(), m_levels.end());
    m_levels.erase(std::unique(m_levels.begin(), m_levels.end()), m_levels.end());
    m_levelMembers.assign(m_levels.size(), 0);
    for (const Nuclide* member : m_members)
        m_memberLevel.push_back(static_cast<std::size_t>(
            std::lower_bound(m_levels.begin(), m_levels.end(), decayConstantPerDay(*member)) - m_levels.begin()));
    for (const std::size_t level : m_memberLevel)
        ++m_levelMembers[level];
}

std::vector<DecayCalculation::SeparateTerm> DecayCalculation::separateTerms() const
{
    std::vector<SeparateTerm> separate;
    // Along the current path (the steps come depth first), each member's constant, the product of
    // the constants after the source, and each member's Π 1/(λ_p - λ_q) over the others, one
    // path length after another.
    std::vector<double> constants;
    std::vector<std::size_t> levels;
    std::vector<double> products;
    std::vector<std::vector<double>> factors;
    TermPlaces places;
    for (const PathStep& step : m_steps) {
        const std::size_t d = step.depth - 1;
        const double constant = step.decayConstant;
        constants.resize(d + 1);
        levels.resize(d + 1);
        products.resize(d + 1);
        factors.resize(std::max(factors.size(), d + 1));
        constants[d] = constant;
        levels[d] = m_memberLevel[step.member];
        products[d] = d > 0 ? products[d - 1] * constant : 1;
        std::vector<double>& here = factors[d];
        here.assign(d + 1, 1);
        for (std::size_t p = 0; p < d; ++p) {
            here[p] = factors[d - 1][p] / (constants[p] - constant);
            here[d] /= constant - constants[p];
        }
        const double weight = step.weight * (d % 2 ? -1 : 1) * products[d];
        for (std::size_t p = 0; p <= d; ++p) {
            const std::size_t level = levels[p];
            if (m_levelMembers[level] != 1)
                continue;
            const std::size_t term = places.placeOf(step.member, level, separate.size());
            if (term == separate.size())
                separate.push_back({step.member, level, 0});
            separate[term].coefficient += weight * here[p];
        }
    }
    return separate;
}

std::size_t DecayCalculation::memberIndex(const Nuclide* nuclide)
{
    const auto [found, added] = m_memberPlaces.try_emplace(nuclide, m_members.size());
    if (added)
        m_members.push_back(nuclide);
    return found->second;
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
    first.sortedMembers = {first.member};
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
        next.sortedMembers = step.sortedMembers;
        const auto at = std::upper_bound(
            next.sortedMembers.begin(), next.sortedMembers.end(), next.decayConstant,
            [this](double constant, std::size_t member) { return constant < decayConstantPerDay(*m_members[member]); });
        next.insertedAt = static_cast<std::size_t>(at - next.sortedMembers.begin());
        next.sortedMembers.insert(at, next.member);
        next.depth = step.depth + 1;
        m_steps.push_back(std::move(next));
        stack.push_back({static_cast<int>(m_steps.size()) - 1, 0});
    }
}

std::vector<double> DecayCalculation::activitiesAt(double days) const
{
    return activitiesAt(std::vector<double>{days}).front();
}

std::vector<double> DecayCalculation::pathSumsAt(double days) const
{
    std::vector<double> activities(m_members.size(), 0);
    // λt and exp(-λt) of each member, once for every path through it.
    std::vector<double> memberTimes(m_members.size());
    std::vector<double> memberExponentials(m_members.size());
    for (std::size_t m = 0; m < m_members.size(); ++m) {
        memberTimes[m] = decayConstantPerDay(*m_members[m]) * days;
        memberExponentials[m] = std::exp(-memberTimes[m]);
    }
    // The product of λt over each path's members after its source, step by step.
    std::vector<double> products(m_steps.size(), 1);
    // The table of divided differences of the path up to each depth: a step's table is its
    // parent's (the steps come in depth-first order) grown by its new constant.
    std::vector<std::vector<double>> tables(1);
    std::vector<double> points;
    std::vector<double> exponentials;
    for (std::size_t s = 0; s < m_steps.size(); ++s) {
        const PathStep& step = m_steps[s];
        if (step.previous >= 0) {
            products[s] = products[static_cast<std::size_t>(step.previous)] * memberTimes[step.member];
            if (products[s] == 0)
                continue;
        }
        if (tables.size() <= step.depth)
            tables.resize(step.depth + 1);
        points.clear();
        exponentials.clear();
        for (const std::size_t member : step.sortedMembers) {
            points.push_back(memberTimes[member]);
            exponentials.push_back(memberExponentials[member]);
        }
        std::vector<double>& table = tables[step.depth];
        extendTable(points, exponentials, step.insertedAt, tables[step.depth - 1], table);
        // The whole path's range, from its first point to its last.
        const double activity = step.weight * products[s] * table[points.size() - 1];
        if (std::isfinite(activity) && activity > 0)
            activities[step.member] += activity;
    }
    return activities;
}

// A group of neighbouring levels: the first and the last, the centre and half-width of their
// constants, the scale its series runs in (the half-width, or 1 for a single level) and the
// coefficients each of its terms has.
struct DecayCalculation::ConstantGroup {
    std::size_t firstLevel = 0;
    std::size_t lastLevel = 0;
    double centre = 0;
    double halfWidth = 0;
    double scale = 1;
    std::size_t coefficientCount = 1;
    // How many terms a difference over a path's points in the group takes beyond its first.
    std::size_t beyondTerms = 1;
    // A single level of a single member: its terms are the separate ones.
    bool oneMember = false;
};

// Every member's activity as Σ over groups g of exp(-c_g t) Σ_n a_n (σ_g t)^n, one term (its
// coefficients a_n) for each member and group its paths meet.
struct DecayCalculation::GroupedSeries {
    struct Term {
        std::size_t member = 0;
        std::size_t group = 0;
        std::size_t firstCoefficient = 0;
    };
    std::vector<ConstantGroup> groups;
    std::vector<Term> terms;
    std::vector<double> coefficients;
};

void DecayCalculation::groupsAt(double days, std::vector<ConstantGroup>& groups) const
{
    // One grouping serves the octave of times [T, 2T) the time lies in, so that neighbouring
    // times share their series: runs of levels whose gaps, times T, are below kJoinedGap (gaps
    // between groups then stay at least that over the octave), a run wider than kWidestGroup at
    // 2T parted at its largest gap until no part is.
    int exponent = 0;
    std::frexp(days, &exponent);
    const double octave = days > 0 ? std::ldexp(1.0, exponent - 1) : 0;
    groups.clear();
    std::size_t first = 0;
    for (std::size_t l = 1; l <= m_levels.size(); ++l)
        if (l == m_levels.size() || (m_levels[l] - m_levels[l - 1]) * octave >= kJoinedGap) {
            addGroups(first, l - 1, 2 * octave, groups);
            first = l;
        }
}

void DecayCalculation::addGroups(std::size_t first, std::size_t last, double days,
                                 std::vector<ConstantGroup>& groups) const
{
    if ((m_levels[last] - m_levels[first]) * days > kWidestGroup) {
        std::size_t widest = first;
        for (std::size_t l = first + 1; l < last; ++l)
            if (m_levels[l + 1] - m_levels[l] > m_levels[widest + 1] - m_levels[widest])
                widest = l;
        addGroups(first, widest, days, groups);
        addGroups(widest + 1, last, days, groups);
        return;
    }
    ConstantGroup group;
    group.firstLevel = first;
    group.lastLevel = last;
    group.centre = (m_levels[first] + m_levels[last]) / 2;
    group.halfWidth = (m_levels[last] - m_levels[first]) / 2;
    group.scale = group.halfWidth > 0 ? group.halfWidth : 1;
    groups.push_back(group);
}

DecayCalculation::GroupedSeries DecayCalculation::groupedSeries(std::vector<ConstantGroup> groups, double latestDays,
                                                                const std::vector<SeparateTerm>& separate) const
{
    GroupedSeries series;
    series.groups = std::move(groups);
    std::vector<std::size_t> levelGroup(m_levels.size());
    for (std::size_t g = 0; g < series.groups.size(); ++g) {
        ConstantGroup& group = series.groups[g];
        for (std::size_t l = group.firstLevel; l <= group.lastLevel; ++l)
            levelGroup[l] = g;
        // A path's divided difference over j + 1 points of exp(-sv), s = σt and the points within
        // ±1, is Σ_i (-s)^(j+i) / (j+i)! h_i: its terms fall as s^i / i! from the first's
        // s^j / j!, and it is at least e^-s times that. So the group needs the coefficients of the
        // powers up to j, j + 1 at most the members a path can pass there, and beyond them those
        // up to where s^i / i! at the latest time falls below 1E-17 e^-s (none for a single level,
        // whose points all lie at 0).
        std::size_t members = 0;
        for (std::size_t l = group.firstLevel; l <= group.lastLevel; ++l)
            members += m_levelMembers[l];
        group.beyondTerms = group.halfWidth > 0 ? seriesTerms(group.halfWidth * latestDays) : 1;
        group.coefficientCount = std::min(members, static_cast<std::size_t>(kLongestPath)) - 1 + group.beyondTerms;
        group.oneMember = members == 1;
    }
    for (const SeparateTerm& term : separate) {
        const std::size_t g = levelGroup[term.level];
        if (series.groups[g].oneMember) {
            series.terms.push_back({term.member, g, series.coefficients.size()});
            series.coefficients.push_back(term.coefficient);
        }
    }

    // The groups of more than one member, each with the path's members in it so far (the steps
    // come depth first, so the ones no longer on a step's path are the last ones): the depth and
    // step, the scaled point v = (λ - c) / σ and h_i of the points up to it, i < beyondTerms.
    struct SharedGroup {
        std::vector<std::size_t> depths;
        std::vector<const PathStep*> steps;
        std::vector<double> points;
        std::vector<double> homogeneous;
        // The last step that met the group.
        const PathStep* lastMet = nullptr;
        // By depth less 1, for the step of the current path there, the column of the rational
        // part's differences and Π (λ / σ) over its path: a step whose member is a pole of the
        // group takes its parent's (the parent met the group too, and the steps below it come
        // before any other of its depth), times its own factor.
        std::vector<std::vector<double>> columns;
        std::vector<double> scaledProducts;
    };
    std::vector<SharedGroup> shared(series.groups.size());
    const auto& inverse = inverseFactorials();
    TermPlaces places;
    std::vector<const PathStep*> pathSteps;
    std::vector<std::size_t> pathGroups;
    std::vector<double> reciprocals;
    std::vector<double> sums;
    for (const PathStep& step : m_steps) {
        const std::size_t d = step.depth - 1;
        pathSteps.resize(d + 1);
        pathGroups.resize(d + 1);
        pathSteps[d] = &step;
        pathGroups[d] = levelGroup[m_memberLevel[step.member]];
        // The source's constant takes no part in the product of the others.
        const double sign = d % 2 ? -1 : 1;
        for (std::size_t at = 0; at <= d; ++at) {
            const ConstantGroup& group = series.groups[pathGroups[at]];
            SharedGroup& on = shared[pathGroups[at]];
            if (group.oneMember || on.lastMet == &step)
                continue; // among the separate terms, or done
            on.lastMet = &step;
            const std::size_t beyond = group.beyondTerms;
            while (!on.depths.empty()
                   && (on.depths.back() > step.depth || pathSteps[on.depths.back() - 1] != on.steps.back())) {
                on.depths.pop_back();
                on.steps.pop_back();
                on.points.pop_back();
                on.homogeneous.resize(on.homogeneous.size() - beyond);
            }
            if (pathGroups[d] == pathGroups[at]) {
                const double v = (step.decayConstant - group.centre) / group.scale;
                on.depths.push_back(step.depth);
                on.steps.push_back(&step);
                on.points.push_back(v);
                on.homogeneous.resize(on.homogeneous.size() + beyond, 0);
                double* row = &on.homogeneous[on.homogeneous.size() - beyond];
                row[0] = 1;
                for (std::size_t i = 1; i < beyond; ++i)
                    row[i] = (on.points.size() > 1 ? row[i - beyond] : 0) + v * row[i - 1];
            }
            const std::size_t n = on.points.size();
            // The Leibniz rule for the differences of exp(-sv) q(v), q = Π 1/(v + D) over the
            // poles D (the path's other constants, scaled the same way), over the inside points 0
            // to r: Σ_j exp(-sv)[0..j] q[j..r]. The tables of differences multiply as upper
            // triangular matrices under that rule (and commute, as the functions do), and the
            // factor 1/(v + D) has the differences (-1)^(b-a) / Π_(i=a..b) (v_i + D), so each pole
            // turns the column q[j..r] of the product so far by one division a point.
            const auto turnByPole = [&on, &group, &reciprocals, n](std::vector<double>& column, double constant) {
                const double pole = (group.centre - constant) / group.scale;
                for (std::size_t a = 0; a < n; ++a)
                    reciprocals[a] = 1 / (on.points[a] + pole);
                column[n - 1] *= reciprocals[n - 1];
                for (std::size_t a = n - 1; a-- > 0;)
                    column[a] = (column[a] - column[a + 1]) * reciprocals[a];
            };
            reciprocals.resize(n);
            on.columns.resize(std::max(on.columns.size(), d + 1));
            on.scaledProducts.resize(std::max(on.scaledProducts.size(), d + 1));
            std::vector<double>& column = on.columns[d];
            if (pathGroups[d] != pathGroups[at]) {
                column = on.columns[d - 1];
                turnByPole(column, step.decayConstant);
                on.scaledProducts[d] = on.scaledProducts[d - 1] * (step.decayConstant / group.scale);
            } else {
                column.assign(n, 0);
                column[n - 1] = 1;
                on.scaledProducts[d] = 1;
                for (std::size_t q = 0; q <= d; ++q) {
                    if (q > 0)
                        on.scaledProducts[d] *= pathSteps[q]->decayConstant / group.scale;
                    if (pathGroups[q] != pathGroups[at])
                        turnByPole(column, pathSteps[q]->decayConstant);
                }
            }
            const double weight = step.weight * sign * on.scaledProducts[d];
            // exp(-sv)[0..j] = Σ_i (-s)^(j+i) / (j+i)! h_i(v_0..v_j); so the coefficient of
            // (-s)^m / m! gathers h_(m-j)(v_0..v_j) q[j..r] over j.
            sums.assign(n - 1 + beyond, 0);
            for (std::size_t j = 0; j < n; ++j) {
                const double* row = &on.homogeneous[j * beyond];
                for (std::size_t i = 0; i < beyond; ++i)
                    sums[j + i] += row[i] * column[j];
            }
            const std::size_t term = places.placeOf(step.member, pathGroups[at], series.terms.size());
            if (term == series.terms.size()) {
                series.terms.push_back({step.member, pathGroups[at], series.coefficients.size()});
                series.coefficients.resize(series.coefficients.size() + group.coefficientCount, 0);
            }
            double* coefficients = &series.coefficients[series.terms[term].firstCoefficient];
            for (std::size_t m = 0; m < sums.size(); ++m)
                coefficients[m] += weight * ((m & 1) ? -inverse[m] : inverse[m]) * sums[m];
        }
    }
    return series;
}

std::vector<std::vector<double>> DecayCalculation::activitiesAt(const std::vector<double>& times) const
{
    std::vector<std::vector<double>> activities(times.size());
    // The distinct groupings of the times, each with the latest time that has it, and each time's.
    std::vector<std::vector<ConstantGroup>> groupings;
    std::vector<double> latest;
    std::vector<std::size_t> timeGrouping;
    const auto sameGroups = [](const ConstantGroup& a, const ConstantGroup& b) { return a.firstLevel == b.firstLevel; };
    std::vector<ConstantGroup> groups;
    for (const double days : times) {
        groupsAt(days, groups);
        // Neighbouring times mostly share theirs: the last one met is looked at first.
        std::size_t g = timeGrouping.empty() ? 0 : timeGrouping.back();
        const auto matches = [&](std::size_t k) {
            return std::equal(groups.begin(), groups.end(), groupings[k].begin(), groupings[k].end(), sameGroups);
        };
        if (g >= groupings.size() || !matches(g)) {
            g = 0;
            while (g < groupings.size() && !matches(g))
                ++g;
        }
        if (g == groupings.size()) {
            groupings.push_back(groups);
            latest.push_back(days);
        }
        latest[g] = std::max(latest[g], days);
        timeGrouping.push_back(g);
    }
    const std::vector<SeparateTerm> separate = separateTerms();
    std::vector<double> exponentials;
    std::vector<std::size_t> counts;
    for (std::size_t g = 0; g < groupings.size(); ++g) {
        const GroupedSeries series = groupedSeries(groupings[g], latest[g], separate);
        for (std::size_t t = 0; t < times.size(); ++t) {
            if (timeGrouping[t] != g)
                continue;
            const double days = times[t];
            std::vector<double>& result = activities[t];
            // Each group's exponential, and the terms its series takes at this time: those of the
            // latest time less the ones of its tail that have fallen below 1E-17 e^-s by now.
            exponentials.clear();
            counts.clear();
            for (const ConstantGroup& group : series.groups) {
                // Below exp(-745) the exponential is 0; the library's way there is slow.
                exponentials.push_back(group.centre * days < 745 ? std::exp(-group.centre * days) : 0);
                const std::size_t beyond = std::min(group.beyondTerms, seriesTerms(group.halfWidth * days));
                counts.push_back(group.coefficientCount - (group.beyondTerms - beyond));
            }
            result.assign(m_members.size(), 0);
            for (const GroupedSeries::Term& term : series.terms) {
                if (exponentials[term.group] == 0)
                    continue;
                const double* coefficients = &series.coefficients[term.firstCoefficient];
                const double scaled = series.groups[term.group].scale * days;
                double sum = 0;
                for (std::size_t m = counts[term.group]; m-- > 0;)
                    sum = sum * scaled + coefficients[m];
                result[term.member] += exponentials[term.group] * sum;
            }
            bool sound = true;
            for (double& activity : result) {
                sound = sound && std::isfinite(activity);
                activity = std::max(0.0, activity);
            }
            if (!sound)
                result = pathSumsAt(days);
        }
    }
    return activities;
}

DecayTable decayTableAt(const DecayCalculation& decay, double days, double bqPerUnit)
{
    constexpr double kGramsPerDalton = 1.66053906660e-24;
    constexpr double kSmallestShare = 1e-30;
    const std::vector<double> activities = decay.activitiesAt(days);
    DecayTable table;
    for (const double activity : activities)
        table.total += activity;
    for (std::size_t m = 0; m < activities.size(); ++m) {
        const double activity = activities[m];
        if (!(activity > kSmallestShare * table.total)) {
            ++table.leftOut;
            continue;
        }
        const Nuclide& nuclide = *decay.members()[m];
        DecayTableRow row{&nuclide, activity, 100 * activity / table.total};
        // Bq over the constant per second.
        row.atoms = activity * bqPerUnit / (decayConstantPerDay(nuclide) / 86400);
        row.grams = row.atoms * nuclide.atomicMass * kGramsPerDalton;
        table.rows.push_back(row);
    }
    return table;
}

QString decayTableText(const DecayTable& table, const QString& head, const QString& unitLabel, bool atomsAndMass)
{
    const QString end = QStringLiteral("\r\n");
    const QString tab(u'\t');
    const auto number = [](double x) { return QString::number(x, 'g', 6); };
    QStringList columns{QStringLiteral("Nuclide"), QStringLiteral("Half-life"),
                        QStringLiteral("Activity, ") + unitLabel, QStringLiteral("%")};
    if (atomsAndMass)
        columns << QStringLiteral("Atoms") << QStringLiteral("Mass, g");
    QString text = head + end + columns.join(tab) + end;
    for (const DecayTableRow& row : table.rows) {
        QStringList cells{row.nuclide->nameText(), halfLifeText(*row.nuclide, UiLanguage::English),
                          number(row.activity), QString::number(row.sharePercent, 'f', 2)};
        if (atomsAndMass)
            cells << number(row.atoms) << number(row.grams);
        text += cells.join(tab) + end;
    }
    text += QStringLiteral("Total") + tab + tab + number(table.total) + tab + QStringLiteral("100.00") + end;
    if (table.leftOut > 0)
        text += QStringLiteral("Members below 1E-30 of the total, left out") + tab + QString::number(table.leftOut)
            + end;
    return text;
}

} // namespace kav
