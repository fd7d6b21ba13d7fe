#pragma once

#include "nuclides/nuclide.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace kav {

// One nuclide's run of records in a spectra text: its name, first record and record count.
struct SpectrumBlock {
    QString nuclide;
    long first = 0;
    long count = 0;
};

// The records of a spectra text as the binary file holds them, or why the text was rejected.
struct SpectraText {
    QByteArray records;
    long recordCount = 0;
    std::vector<SpectrumBlock> blocks;
    // Empty on success; otherwise "line L: what is wrong".
    QString error;
};

// The discrete radiations, tab-separated after a header line: nuclide, radiation code, mnemonic,
// yield per decay, energy in MeV; each nuclide's rows together. Records of nine bytes: the type
// (the mnemonics PG, DG and DB give the prompt gammas, delayed gammas and delayed betas their
// own types 12, 13 and 14), the energy, and the energy carried per decay (yield times energy).
SpectraText readRadiationsText(const QByteArray& text);

// The beta spectra: per nuclide a line with its name and number of points, then that many lines
// of energy (columns 1 to 8) and spectrum density. One float record per point: the density (the
// energies are the decay data's common grid).
SpectraText readBetaText(const QByteArray& text);

// Whether every block of a spectra text is where the index places it and each node with records
// in the file has its block; blockOf gives a node's place. Empty when all agree, otherwise the
// first difference.
QString checkSpectrumBlocks(const std::vector<Nuclide>& nodes, const SpectraText& spectra, const QString& fileName,
                            const std::function<SpectrumBlock(const Nuclide&)>& blockOf);

} // namespace kav
