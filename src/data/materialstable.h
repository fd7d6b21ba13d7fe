#pragma once

#include "data/dosedata.h"

#include <QString>

#include <vector>

namespace kav {

// The materials of a nuclide's dose data that are wanted: injection, the ingested and the
// inhaled materials by their index, and the particle sizes of the aerosols (indexes of
// AMADValues), each list in rising order.
struct MaterialChoice {
    bool injection = false;
    std::vector<int> ingested;
    std::vector<int> inhaled;
    std::vector<int> sizes;
    // Every material of the data, each aerosol in every size.
    static MaterialChoice everything(const DoseData& data);
};

// One route, material and particle size: a row of the materials table and of the export.
struct MaterialRow {
    IntakeRoute route = IntakeRoute::Injection;
    int material = 0;
    int size = 0; // an index of AMADValues for an aerosol; 0 otherwise
    bool sized = false; // an inhaled aerosol, whose size counts
};

// The rows of the chosen materials in the order every table shows them: injection, the ingested
// materials, each inhaled aerosol in each chosen size, then the inhaled gases and vapours.
std::vector<MaterialRow> materialRows(const DoseData& data, const MaterialChoice& choice);

// One row of the Materials view's table: what it names and its dose coefficients in Sv per Bq,
// when the data have them.
struct MaterialsTableRow {
    MaterialRow row;
    QString label; // "Injection", "Ingestion, <material>", "Inhalation, <material>, 5 µm"
    bool hasDoses = false;
    float effective = 0; // e(50)
    OrganDoses organs{}; // hT(50), men then women
};

// The Materials view's table of the chosen materials; none when no nuclide is loaded.
std::vector<MaterialsTableRow> computeMaterialsTable(const DoseData& data, const MaterialChoice& choice);

} // namespace kav
