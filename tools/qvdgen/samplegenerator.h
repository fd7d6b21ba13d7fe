#pragma once

#include "data/dosedata.h"
#include "nuclides/nuclideindex.h"

#include <QByteArray>
#include <QStringList>

#include <vector>

namespace kav {

// Makes synthetic dose data that look like the real thing (magnitudes, shapes, decay with
// time) for trying the viewer and measuring it. Nothing here is reference data: every file
// carries SyntheticSampleMarker where readers skip bytes, and the viewer says so.

// The nuclides of the sample folder, chosen to show every structure the file format allows.
QStringList sampleNuclides();

enum class SampleSize {
    Sample, // a few materials, bioassay for the nuclide and the progeny that is measured
    FullSize, // three aerosol groups, bioassay for the nuclide and its progeny: about 1 MB
};

// The data of one nuclide of an index. Deterministic: the same nuclide gives the same values on
// every run and machine.
void generateSampleData(const NuclideIndex& index, const Nuclide& nuclide, SampleSize size, DoseData& data);

// The six radon and thoron tables in the text layout the viewer reads.
QByteArray generateRadonData();

// Whether a file was written by this generator (its mark is there): only such files are ever
// replaced.
bool isSyntheticSampleFile(const QString& path);

// What writing a sample folder came to.
struct SampleFolderResult {
    int written = 0;
    QStringList kept; // files in the way that are not samples, left as they were
    QString error; // empty on success
};

// Writes the data files of the given nuclides and RadonData.txt into a folder, making it when
// missing, but only once it is known that there is something to write and the place is not a
// file. A file that is not one of the generator's own samples is never replaced.
SampleFolderResult writeSampleFolder(const QString& folder, const NuclideIndex& index,
                                     const std::vector<const Nuclide*>& nuclides, SampleSize size);

} // namespace kav
