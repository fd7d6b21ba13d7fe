#pragma once

#include "units/units.h"

#include <QString>

#include <optional>
#include <vector>

namespace kav {

class Mixture;

// The committed effective doses of a mixture's intakes: each row's intake times its e(50), its
// share of the total, and the totals. A row counts when it has an intake and a dose coefficient;
// the others are left out of both totals.
struct MixtureDoses {
    std::vector<std::optional<double>> doseSv; // by row
    std::vector<std::optional<double>> sharePercent; // by row, when the total is above 0
    double totalIntakeBq = 0;
    double totalDoseSv = 0;
    int countedRows = 0;
};

MixtureDoses computeMixtureDoses(const Mixture& mixture);

// The units the page shows a mixture in.
struct MixtureUnits {
    ActivityUnit activity = ActivityUnit::Bq;
    DoseUnit dose = DoseUnit::Sv;
};

// An intake typed in a unit, in Bq: none for an empty text, and for one that is not a positive
// number (with a point, or the user's decimal separator).
std::optional<double> intakeFromText(const QString& text, ActivityUnit unit);

// An intake in a unit, as the page shows it: six significant digits, an exponent only for the
// smallest and largest.
QString mixtureIntakeText(double intakeBq, ActivityUnit unit);

// A row's material as the page shows it: the text of the route's material, or, for a row without
// data, "Not available: " and the reason.
QString mixtureMaterialText(const Mixture& mixture, int i);
// The line under the table: "Total: intake 1500 Bq, committed effective dose 2.3E-5 Sv (2 of 3
// rows counted)", or how to fill it while no row counts.
QString mixtureTotalText(const MixtureDoses& doses, int rowCount, const MixtureUnits& units);
// The table as the clipboard gets it and `kav dose` prints it: a heading line, a line per row
// (element, nuclide, route, material, size, intake, e(50), dose, share), the number of rows
// counted, and last "Total<TAB>intake<TAB>dose" with six significant digits; "\r\n" after every
// line.
QString mixtureDoseText(const Mixture& mixture, const MixtureDoses& doses, const MixtureUnits& units);

} // namespace kav
