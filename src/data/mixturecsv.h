#pragma once

#include "data/mixturefile.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace kav {

// The most rows a mixture's CSV file may hold.
constexpr int MaxMixtureCsvRows = MaxMixtureFileRows;

// A mixture as a script writes it: one line "nuclide,route,material,size,intake" each, the route
// ingestion, inhalation or injection (any case), the material its number in the route's list from
// 1, the size the particle size in µm or "-", the intake in Bq. '#' starts a comment; blank lines
// and a first line of column names are passed over.
struct MixtureCsv {
    std::vector<KeptMixtureRow> rows; // the material counted from 0, as the page keeps it
    std::vector<int> lineNumbers; // the line of each row, from 1
    int errorLine = 0; // the line of the first fault, 0 for the whole file
    QString error; // empty when the file was read
    bool ok() const { return error.isEmpty(); }
};

MixtureCsv readMixtureCsv(const QByteArray& bytes);

} // namespace kav
