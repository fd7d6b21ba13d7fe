#pragma once

#include "base/enumset.h"

#include <QString>

#include <cstdint>

namespace kav {

// Routes of intake, sexes, kinds of inhaled material, target organs and bioassay compartments.
// Their orders are those of the data files.

enum IntakeRoute : std::uint8_t { ipIngestion, ipInhalation, ipInjection };
enum Sex : std::uint8_t { sMale, sFemale };
enum MaterialForm : std::uint8_t { imAerosol, imGas };

enum TargetOrgan : std::uint8_t {
    toR_marrow,
    toColon,
    toLungs,
    toSt_wall,
    toBreast,
    toOvaries,
    toTestes,
    toUB_wall,
    toOesophagus,
    toLiver,
    toThyroid,
    toEndost_BS,
    toBrain,
    toS_glands,
    toSkin,
    toAdrenals,
    toET,
    toGB_wall,
    toHt_wall,
    toKidneys,
    toLN_Total,
    toMuscle,
    toO_mucosa,
    toPancreas,
    toProstate,
    toSI_wall,
    toSpleen,
    toThymus,
    toUterus,
    toRemainder
};
constexpr int TargetOrganCount = 30;
// The organs that have a column of their own in the tables: all but the remainder.
constexpr int ShownTargetOrganCount = 29;

enum Compartment : std::uint8_t { soSkeleton, soThyroid, soLiver, soLung, soGI, soW_Body, soDailyUrine, soDailyFaeces };
constexpr int CompartmentCount = 8;
using CompartmentSet = EnumSet<Compartment, 8>;

QString IntakePathName(IntakeRoute path);
QString SexName(Sex sex);
QString TargetOrganName(TargetOrgan organ);
QString SourceOrganName(Compartment organ);
// Empty for whole body, urine and faeces.
QString SourceOrganDescription(Compartment organ);
// The column (from 1, after the time column) of a compartment in the bioassay table and chart.
int SourceOrganColumn(Compartment organ);
// The compartments in column order: whole body, urine, faeces, alimentary tract, lungs,
// thyroid, skeleton, liver.
const Compartment* SourceOrgansInColumnOrder();

// "Ingestion", "Inhalation", "Injection".
QStringList IntakePathNames();
// The route of exactly that display text; ipIngestion for any other text.
IntakeRoute IntakePathFromText(const QString& text);
// "Dose Coefficient e(50)" followed by the thirty organs.
QStringList OrganListWithEffectiveDose();

} // namespace kav
