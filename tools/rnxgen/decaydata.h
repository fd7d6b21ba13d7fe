#pragma once

#include <QByteArray>
#include <QString>

namespace kav {

// The binary files the program carries, made from a decay-data folder.
struct DecayDataFiles {
    QByteArray index; // "Index.rnx"
    QByteArray spectra; // "Spectra.rnx"
    QByteArray beta; // "Beta.rnx"
    long nuclides = 0;
    long spectrumRecords = 0;
    long betaRecords = 0;
    // Empty on success; otherwise the file and what is wrong in it.
    QString error;
};

// The record totals of the Auger/Coster-Kronig and neutron files, which the folder does not
// hold but whose last blocks the index needs; negative when not known.
struct AbsentSpectraTotals {
    long augerRecords = -1;
    long neutronRecords = -1;
};

// Reads "nuclides.ndx", "radiations.tsv.gz" and "beta.txt.gz" of a folder, places each
// nuclide's spectra where its index record says and checks that the blocks agree.
DecayDataFiles convertDecayData(const QString& folder, const AbsentSpectraTotals& absent);

} // namespace kav
