#pragma once

#include "base/enumset.h"

#include <QString>

#include <cstdint>

namespace kav {

// Routes of intake, sexes, kinds of inhaled material, target organs and bioassay compartments.
// Their orders are those of the data files.

enum TVESKIntakePath : std::uint8_t { ipIngestion, ipInhalation, ipInjection };
enum TVESKSex : std::uint8_t { sMale, sFemale };
enum TVESKMaterial : std::uint8_t { imAerosol, imGas };

enum TVESKTargetOrgan : std::uint8_t {
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

enum TVESKSourceOrgan : std::uint8_t {
    soSkeleton,
    soThyroid,
    soLiver,
    soLung,
    soGI,
    soW_Body,
    soDailyUrine,
    soDailyFaeces
};
constexpr int SourceOrganCount = 8;
using TVESKSourceOrganSet = EnumSet<TVESKSourceOrgan, 8>;

QString IntakePathName(TVESKIntakePath path);
QString SexName(TVESKSex sex);
QString TargetOrganName(TVESKTargetOrgan organ);
QString SourceOrganName(TVESKSourceOrgan organ);
// Empty for whole body, urine and faeces.
QString SourceOrganDescription(TVESKSourceOrgan organ);
// The column (from 1, after the time column) of a compartment in the bioassay table and chart.
int SourceOrganColumn(TVESKSourceOrgan organ);
// The compartments in column order: whole body, urine, faeces, alimentary tract, lungs,
// thyroid, skeleton, liver.
const TVESKSourceOrgan* SourceOrgansInColumnOrder();

// "Ingestion", "Inhalation", "Injection".
QStringList IntakePathNames();
// The route of exactly that display text; ipIngestion for any other text.
TVESKIntakePath IntakePathFromText(const QString& text);
// "Dose Coefficient e(50)" followed by the thirty organs.
QStringList OrganListWithEffectiveDose();

} // namespace kav
