#pragma once

#include "data/dosedata.h"

#include <QStringList>

namespace kav {

// The time after intake, in days, of each point of the bioassay functions.
const std::array<float, BioassayTimeCount>& bioassayTimes();

// Per compartment, the nuclide whose content a function gives.
using MeasuredNuclides = std::array<StoredNuclideId, CompartmentCount>;

// The bioassay functions of one material: which compartments have one, the values per
// compartment, and the nuclide each one measures.
struct MaterialBioassay {
    CompartmentSet m_organPresentSet;
    std::array<CompartmentContent, CompartmentCount> m_activityData;
    MeasuredNuclides m_measuredNuclides;
};

// The nuclide measured in a compartment after an intake of a nuclide: a short-lived progeny for
// a few nuclides, the intake nuclide itself otherwise.
StoredNuclideId measuredNuclide(const StoredNuclideId& intake, Compartment organ);

// Dose data with the bioassay functions of every material.
class BioassayData : public DoseData {
public:
    using DoseData::DoseData;
    // The nuclides the bioassay records of the first material name, the intake nuclide's
    // progeny among them.
    void measuredNuclideFiles(QStringList& list) const;
    // The bioassay functions of a material (the particle size counts for inhalation only); false
    // when the data have none for it.
    bool bioassayFunctionsOf(IntakeRoute path, int compoundIndex, int amadIndex, MaterialBioassay& activity) const;
    static int maxActivityCount(const MaterialBioassay& activity);
};

} // namespace kav
