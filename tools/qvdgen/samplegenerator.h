#pragma once

#include "dosedata.h"

#include <QByteArray>
#include <QStringList>

namespace kav {

// Makes synthetic dose data that look like the real thing (magnitudes, shapes, decay with
// time) for trying the viewer and measuring it. Nothing here is reference data: every file
// carries SyntheticSampleMarker where readers skip bytes, and the viewer says so.

// The nuclides of the sample folder, chosen to show every structure the file format allows.
QStringList SampleNuclides();

enum class SampleSize {
    Sample,   // a few materials, bioassay for the nuclide and the progeny that is measured
    FullSize, // three aerosol groups, bioassay for the nuclide and its progeny: about 1 MB
};

// The data of one nuclide of the loaded index (RNXIndex). Deterministic: the same nuclide
// gives the same values on every run and machine.
void GenerateSampleData(const TRNXnode& nuclide, SampleSize size, TVESKRNDosesData& data);

// The six radon and thoron tables in the text layout the viewer reads.
QByteArray GenerateRadonData();

} // namespace kav
