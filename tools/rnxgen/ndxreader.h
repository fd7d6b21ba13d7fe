#pragma once

#include "nuclides/nuclide.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

namespace kav {

// Records in each of the four spectrum files, in the order discrete radiations, beta spectra,
// Auger/Coster-Kronig electrons, spontaneous-fission neutrons. The last block of a file runs to
// its end, so its length follows from the total; a negative total is one not known.
using SpectrumTotals = std::array<long, 4>;

// The nodes read from the text index, or why it was rejected.
struct NdxResult {
    std::vector<Nuclide> nodes;
    // Empty on success; otherwise "line L, column C: what is wrong".
    QString error;
};

// Reads the fixed-width text index of the decay data (a header line, then one 226-character
// record per nuclide) into index nodes, with each nuclide's first record and record count in
// the four spectrum files derived from the block positions.
NdxResult readNdx(const QByteArray& text, const SpectrumTotals& totals);

} // namespace kav
