#pragma once

#include "base/enumset.h"

#include <QString>

#include <cstdint>

namespace kav {

// Routes of intake, sexes, kinds of inhaled material, target organs and bioassay compartments.
// Their orders are those of the data files.

enum class IntakeRoute : std::uint8_t { Ingestion, Inhalation, Injection };
enum class Sex : std::uint8_t { Male, Female };
enum class MaterialForm : std::uint8_t { Aerosol, Gas };

enum class TargetOrgan : std::uint8_t {
    RedMarrow,
    Colon,
    Lungs,
    StomachWall,
    Breast,
    Ovaries,
    Testes,
    BladderWall,
    Oesophagus,
    Liver,
    Thyroid,
    BoneSurface,
    Brain,
    SalivaryGlands,
    Skin,
    Adrenals,
    ExtrathoracicAirways,
    GallBladderWall,
    HeartWall,
    Kidneys,
    LymphaticNodes,
    Muscle,
    OralMucosa,
    Pancreas,
    Prostate,
    SmallIntestineWall,
    Spleen,
    Thymus,
    Uterus,
    Remainder
};
constexpr int TargetOrganCount = 30;
// The organs that have a column of their own in the tables: all but the remainder.
constexpr int ShownTargetOrganCount = 29;

enum class Compartment : std::uint8_t {
    Skeleton,
    Thyroid,
    Liver,
    Lungs,
    AlimentaryTract,
    WholeBody,
    DailyUrine,
    DailyFaeces
};
constexpr int CompartmentCount = 8;
using CompartmentSet = EnumSet<Compartment, 8>;

QString intakePathName(IntakeRoute path);
QString sexName(Sex sex);
QString targetOrganName(TargetOrgan organ);
QString sourceOrganName(Compartment organ);
// Empty for whole body, urine and faeces.
QString sourceOrganDescription(Compartment organ);
// The column (from 1, after the time column) of a compartment in the bioassay table and chart.
int sourceOrganColumn(Compartment organ);
// The compartments in column order: whole body, urine, faeces, alimentary tract, lungs,
// thyroid, skeleton, liver.
const Compartment* sourceOrgansInColumnOrder();

// "Ingestion", "Inhalation", "Injection".
QStringList intakePathNames();
// The route of exactly that display text; IntakeRoute::Ingestion for any other text.
IntakeRoute intakePathFromText(const QString& text);
// "Dose Coefficient e(50)" followed by the thirty organs.
QStringList organListWithEffectiveDose();

} // namespace kav
