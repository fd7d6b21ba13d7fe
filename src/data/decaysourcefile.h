#pragma once

#include "units/units.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace kav {

// One nuclide of the Decay page's source with its activity, in the source's unit.
struct DecaySourceRow {
    QString nuclide;
    double activity = 0;
    bool operator==(const DecaySourceRow&) const = default;
};

// The Decay page's source as it is kept between runs: a line "unit<TAB>kBq", then a line
// "Cs-137<TAB>1000" a nuclide. Lines that are not one of these (a comment, a name that is not a
// nuclide's, an activity that is not a positive number, an unknown unit) are passed over; at most
// MaxDecaySourceRows rows are read.
struct DecaySourceFile {
    ActivityUnit unit = ActivityUnit::Bq;
    std::vector<DecaySourceRow> rows;
};
constexpr int MaxDecaySourceRows = 1000;

DecaySourceFile parseDecaySourceFile(const QByteArray& bytes);
QByteArray decaySourceFileBytes(const DecaySourceFile& source);

} // namespace kav
