#include "nuclides/decaycalculation.h"

#include "nuclides/nuclide.h"
#include "nuclides/nuclidenames.h"
#include "units/units.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kav {

namespace {

// No real chain is longer; a damaged index that links in a circle stops here.
constexpr int kLongestPath = 64;
// Ends of a range closer than this (in λt) take the Taylor series.
constexpr double kCloseEnds = 1.0;
// Enough terms of the series for ranges up to kCloseEnds wide: 1/19! is below 1E-17.
constexpr int kMostTaylorTerms = 20;
// The longest path and the most terms: the factorials the series needs.
constexpr int kMostFactorials = kLongestPath + kMostTaylorTerms + 2;

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
