#pragma once

#include "data/dosedata.h"

#include <QStringList>

namespace kav {

// The time after intake, in days, of each point of the bioassay functions.
const std::array<float, BioassayTimeCount>& BioassayTimes();

// Per compartment, the nuclide whose content a function gives.
using TRNSrcDescription = std::array<StoredNuclideId, SourceOrganCount>;

// The bioassay functions of one material: which compartments have one, the values per
// compartment, and the nuclide each one measures.
struct TVESKActivityResultData {
    TVESKSourceOrganSet FOrganPresentSet;
    std::array<TVESKOrganData, SourceOrganCount> FActivityData;
    TRNSrcDescription FRNuclideSrc;
};

// The nuclide measured in a compartment after an intake of a nuclide: a short-lived progeny for
// a few nuclides, the intake nuclide itself otherwise.
StoredNuclideId MeasuredNuclide(const StoredNuclideId& intake, TVESKSourceOrgan organ);

// Dose data with the bioassay functions of every material.
class TVESKRNData : public TVESKRNDosesData {
public:
    using TVESKRNDosesData::TVESKRNDosesData;
    // The nuclides the bioassay records of the first material name, the intake nuclide's
    // progeny among them.
    void GetDRNList(QStringList& list) const;
    bool GetActivitiesNew(TVESKIntakePath path, int compoundIndex, int amadIndex,
                          TVESKActivityResultData& activity) const;
    static int MaxActivityCount(const TVESKActivityResultData& activity);
};

} // namespace kav
