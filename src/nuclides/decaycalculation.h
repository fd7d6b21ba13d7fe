#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace kav {

class Nuclide;

// The decay constant of a nuclide per day, from its half-life in double precision (a year of
// 365.25 days); 0 for a nuclide without a half-life.
double decayConstantPerDay(const Nuclide& nuclide);

// The longest time a calculation takes: 1E12 years, in days.
constexpr double LongestDecayDays = 1e12 * 365.25;
// The most nuclides a source may hold.
constexpr int MaxDecaySources = 1000;

// A duration written as a number and its unit, "30y", "12h", "3.5d", "90m" (minutes), "20s", in
// days (a year of 365.25 days); false, with the reason, for one that is not a number, lacks its
// unit, is below 0 or beyond LongestDecayDays.
bool readDuration(QStringView text, double& days, QString& reason);

// Along one path of decays, every step taken in full: the activity of its last member at a time
// after the reference, per unit activity of its first member at the reference, from the path's
// decay constants per day (any order of the constants but the first).
double pathActivityRatio(const std::vector<double>& decayConstants, double days);

// One nuclide of a source with its activity at the reference time, in any unit.
struct DecaySource {
    const Nuclide* nuclide = nullptr;
    double activity = 0;
};

// What a source becomes: the activity of every radioactive member of its chains at any time
// after the reference, in the sources' unit. The amounts follow the chains' decay exactly: each
// member's activity is the sum, over every path from a source nuclide to it, of the Bateman
// solution along the path, written as a divided difference of exp(-λt) over the path's decay
// constants.
//
// The sums are taken group by group. For the times t of an octave [T, 2T), neighbouring decay
// constants whose gap is below 3 / T form a group (a group wider than 8 / 2T is parted at its
// largest gaps). Taken apart at the
// groups (partial fractions), a path's divided difference is the sum over the groups it meets of
// the divided difference, over its constants in the group, of exp(-λt) / Π(λ - μ) over its
// constants μ outside the group. For a group of one constant that is the textbook Bateman term;
// for a group of centre c and half-width σ it is exp(-ct) times a power series in σt, whose
// coefficients the Leibniz rule gives exactly from the Taylor series of exp(-σtv) and the
// differences of the rational part, pole by pole. Within a group the points lie close and the
// series has no cancellation beyond e^(σt); between groups the terms lie apart, so equal or
// nearly equal constants and members many decades below their source keep their accuracy. The
// coefficients depend on the grouping alone: the times that share a grouping share them, and each
// costs an exponential a group and a short polynomial a member and group. A spontaneous-fission
// branch and stable daughters end a chain.
class DecayCalculation {
public:
    // The sources must be radioactive nuclides of one index, which outlives the calculation.
    explicit DecayCalculation(const std::vector<DecaySource>& sources);

    // The members in chain order: each source, then its descendants as they are first reached,
    // each once.
    const std::vector<const Nuclide*>& members() const { return m_members; }
    // The members' activities at a time after the reference, in days (0 and above).
    std::vector<double> activitiesAt(double days) const;
    // The same at many times, one list a time; many times in one call share the work of their
    // groupings.
    std::vector<std::vector<double>> activitiesAt(const std::vector<double>& times) const;

private:
    // A group of neighbouring levels (defined beside the calculation).
    struct ConstantGroup;
    // Every member's activity as Σ over groups of exp(-ct) times a polynomial in σt.
    struct GroupedSeries;
    // A member's term at a level of one member, a group of its own at any time it stands apart:
    // the sum over the member's paths of the Bateman coefficient of exp(-λt) at the level.
    struct SeparateTerm {
        std::size_t member = 0;
        std::size_t level = 0;
        double coefficient = 0;
    };
    std::vector<SeparateTerm> separateTerms() const;
    // The groups at a time, in ascending order.
    void groupsAt(double days, std::vector<ConstantGroup>& groups) const;
    // The levels first to last as one group or, too wide, as the groups of its parts.
    void addGroups(std::size_t first, std::size_t last, double days, std::vector<ConstantGroup>& groups) const;
    // The series of a grouping, with enough terms for times up to latestDays.
    GroupedSeries groupedSeries(std::vector<ConstantGroup> groups, double latestDays,
                                const std::vector<SeparateTerm>& separate) const;

    // One step of a path from a source: the member it reaches, its decay constant, the step
    // before it (-1 at a source), the source's activity times the branching fractions so far,
    // the path's members in ascending order of their constants, where the step's member stands
    // among them, and how many steps the path has so far.
    struct PathStep {
        std::size_t member = 0;
        double decayConstant = 0;
        int previous = -1;
        double weight = 0;
        std::vector<std::size_t> sortedMembers;
        std::size_t insertedAt = 0;
        std::size_t depth = 1;
    };
    std::size_t memberIndex(const Nuclide* nuclide);
    void addPaths(const DecaySource& source);
    // The activities at a time summed path by path, each path's divided difference from its
    // table (see extendTable): for a time whose series overflow, as a long chain of constants a
    // few parts in 1E8 apart can make them.
    std::vector<double> pathSumsAt(double days) const;

    std::vector<const Nuclide*> m_members;
    std::unordered_map<const Nuclide*, std::size_t> m_memberPlaces;
    // In an order where every step comes after the one before it.
    std::vector<PathStep> m_steps;
    // The members' decay constants in ascending order, each value once, each member's place
    // among them and how many members each has.
    std::vector<double> m_levels;
    std::vector<std::size_t> m_memberLevel;
    std::vector<std::size_t> m_levelMembers;
};

// The members' activities at one time as a table shows them: in chain order, each with its share
// of the total, its number of atoms and mass; a member below 1E-30 of the total is left out and
// counted.
struct DecayTableRow {
    const Nuclide* nuclide = nullptr;
    double activity = 0; // in the sources' unit
    double sharePercent = 0;
    double atoms = 0;
    double grams = 0;
};
struct DecayTable {
    std::vector<DecayTableRow> rows;
    double total = 0;
    int leftOut = 0;
};

// The table at a time after the reference, in days; bqPerUnit turns the sources' unit into Bq for
// the atoms and the mass.
DecayTable decayTableAt(const DecayCalculation& decay, double days, double bqPerUnit);

// The table as the clipboard gets it: a head line, the column names, a line a member (nuclide,
// half-life, activity, share and, when asked, atoms and mass in g), the total and how many members
// were left out; tab-separated, "\r\n" after every line.
QString decayTableText(const DecayTable& table, const QString& head, const QString& unitLabel, bool atomsAndMass);

} // namespace kav
