#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
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
// constants. The divided differences are taken over the constants in ascending order, by their
// recurrence where the ends of a range lie apart and by a Taylor series where they lie close, so
// that equal or nearly equal constants cost no accuracy. A spontaneous-fission branch and stable
// daughters end a chain.
class DecayCalculation {
public:
    // The sources must be radioactive nuclides of one index, which outlives the calculation.
    explicit DecayCalculation(const std::vector<DecaySource>& sources);

    // The members in chain order: each source, then its descendants as they are first reached,
    // each once.
    const std::vector<const Nuclide*>& members() const { return m_members; }
    // The members' activities at a time after the reference, in days (0 and above).
    std::vector<double> activitiesAt(double days) const;

private:
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

    std::vector<const Nuclide*> m_members;
    // In an order where every step comes after the one before it.
    std::vector<PathStep> m_steps;
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
