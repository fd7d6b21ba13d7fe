#pragma once

#include "data/bioassaydata.h"
#include "units/units.h"

#include <QPointF>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace kav {

// What the bioassay view shows over time after one intake: the dose per measured content
// z(t), the content that goes with a chosen dose, or the content per intake m(t).
enum class BioassayQuantity : std::uint8_t { DosePerContent, ContentForDose, ContentPerIntake };
constexpr int BioassayQuantityCount = 3;

// The units the bioassay view shows its numbers in.
struct BioassayUnits {
    DoseUnit dose = DoseUnit::Sv;
    ActivityUnit content = ActivityUnit::Bq;
    ActivityUnit intake = ActivityUnit::Bq;
    TimeUnit time = TimeUnit::Day; // years, days or hours
    bool operator==(const BioassayUnits&) const = default;
};

// One table of the bioassay view: the intake's route, material and particle size (an index of
// AMADValues, used for inhaled aerosols only), what is shown, and how.
struct BioassayRequest {
    IntakeRoute path = IntakeRoute::Inhalation;
    int material = 0;
    int amadIndex = DefaultAMADIndex;
    BioassayQuantity view = BioassayQuantity::DosePerContent;
    double doseMSv = 1; // the dose the content is wanted for
    bool wholeDays = false; // only the whole days of the first ten
    BioassayUnits units;
};

// One compartment of the table: its title, its cells from the first time row on ("-" where there
// is no value), and the points of its chart series (time in the time unit, value).
struct BioassayColumn {
    Compartment organ = Compartment::WholeBody;
    bool present = false;
    QString title;
    QStringList cells;
    std::vector<QPointF> points;
};

// The numbers of the bioassay view, computed once for both the table and the chart.
struct BioassayTable {
    // False when the material has no bioassay functions or (z(t), content for a dose) no e(50):
    // the view then shows no compartment and an empty chart.
    bool hasData = false;
    QString timeTitle; // "Time, days"
    QStringList times; // the time of each row
    std::array<BioassayColumn, CompartmentCount> columns; // in the table's column order
};

// The caption above the table and the title of the chart's vertical axis.
QString bioassayCaption(BioassayQuantity view, double doseMSv, const BioassayUnits& units);
QString bioassayAxisTitle(BioassayQuantity view, double doseMSv, const BioassayUnits& units);
// "1", "0.5": the dose as the captions write it.
QString bioassayDoseText(double doseMSv);
// A time after intake, in days, written in a time unit as the table's time column writes it.
QString bioassayTimeText(double days, TimeUnit unit);

BioassayTable computeBioassayTable(const BioassayData& data, const BioassayRequest& request);

// What the bioassay view says in place of its caption for an intake without functions.
QString bioassayNoDataText(const QString& nuclide);

// The table as tab-separated lines, as the clipboard gets it: the head (when not empty) and a
// line end, the header row, one row per time; every line ended by "\r\n".
QString bioassayTableText(const BioassayTable& table, const QString& head);
// The head of the clipboard copy: nuclide, route, material and particle size, an empty line and
// the caption.
QString bioassayClipboardHead(const QString& nuclide, const QString& route, const QString& material,
                              const QString& size, const QString& caption);

} // namespace kav
