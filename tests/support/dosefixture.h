#pragma once

#include "data/dosedata.h"
#include "data/dosedatafile.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace kav {

// A material with recognisable values: organ k of sex s holds base × (1 + k + 100 s), the
// effective dose base.
inline std::unique_ptr<MaterialData> makeMaterial(const DoseData* owner, IntakeRoute path, MaterialForm kind,
                                                  const char* name, float fA, float base)
{
    auto m = std::make_unique<MaterialData>(owner, path, kind);
    m->m_name = name;
    m->m_modelName = "model";
    m->m_fA = fA;
    for (int i = 0; i < 2 * TargetOrganCount; ++i)
        m->m_dose[static_cast<std::size_t>(i)]
            = base * static_cast<float>(1 + i % TargetOrganCount + 100 * (i / TargetOrganCount));
    m->m_effDose = base;
    return m;
}

// A bioassay record with the given compartments, each series of the given length.
inline BioassayFunctions makeBioassay(const StoredNuclideId& nuclide, CompartmentSet organs, int points, float first)
{
    BioassayFunctions a;
    a.m_nuclideId = nuclide;
    a.m_organPresentSet = organs;
    for (int o = 0; o < CompartmentCount; ++o)
        if (organs.contains(static_cast<Compartment>(o)))
            for (int i = 0; i < points; ++i)
                a.m_activityData[static_cast<std::size_t>(o)].push_back(first / static_cast<float>(1 + i + o));
    return a;
}

// One injection, one ingestion material, one aerosol group and one gas, for a nuclide.
inline void fillTypicalData(DoseData& d, const StoredNuclideId& nuclide)
{
    d.m_nuclideId = nuclide;
    d.m_injectData.push_back(makeMaterial(&d, IntakeRoute::Injection, MaterialForm::Aerosol, "", 0, 5e-9f));
    d.m_ingestData.push_back(
        makeMaterial(&d, IntakeRoute::Ingestion, MaterialForm::Aerosol, "All compounds", 0.05f, 1e-9f));
    auto group = std::make_unique<AerosolGroup>(&d);
    group->m_aerosolName = "Cobalt nitrate (M)";
    group->m_fA = 0.01f;
    for (int s = 0; s < AMADCount; ++s)
        group->m_aerosolDataArr[static_cast<std::size_t>(s)] = makeMaterial(
            &d, IntakeRoute::Inhalation, MaterialForm::Aerosol, "", 0.01f, 1e-10f * static_cast<float>(s + 1));
    d.m_aerosolData.push_back(std::move(group));
    d.m_gasData.push_back(makeMaterial(&d, IntakeRoute::Inhalation, MaterialForm::Gas, "Elemental vapour", 0, 3e-11f));
}

inline void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

// Writes the typical data of a nuclide ("Co-60") into a folder.
inline void writeTypicalFile(const QString& folder, ChemicalElement element, const char* mass,
                             const QByteArray& reserved = {})
{
    DoseData d;
    fillTypicalData(d, StoredNuclideId{element, mass});
    writeBytes(QDir(folder).filePath(d.nuclideNameText() + QStringLiteral(".qvd")), doseDataFileBytes(d, reserved));
}

// The typical data of a nuclide with bioassay functions for the whole body, the urine and the
// lungs at all 275 times, on every material but injection: m(t_i) = first / (1 + i + o), o the
// compartment's ordinal, first 1 for the first material and halved for each further one.
inline void writeBioassayFile(const QString& folder, ChemicalElement element, const char* mass)
{
    DoseData d;
    fillTypicalData(d, StoredNuclideId{element, mass});
    float first = 1;
    auto withBioassay = [&](MaterialData& m) {
        m.m_activity
            = {makeBioassay(d.m_nuclideId, {Compartment::WholeBody, Compartment::DailyUrine, Compartment::Lungs},
                            BioassayTimeCount, first)};
        first /= 2;
    };
    withBioassay(*d.m_ingestData.front());
    for (auto& m : d.m_aerosolData.front()->m_aerosolDataArr)
        withBioassay(*m);
    withBioassay(*d.m_gasData.front());
    writeBytes(QDir(folder).filePath(d.nuclideNameText() + QStringLiteral(".qvd")), doseDataFileBytes(d));
}

// The typical data of a nuclide with a second aerosol group, "Oxides (S)" (fA 0.001, e(50)
// 2e-9 at every size), between the first group and the gas.
inline void writeTwoGroupFile(const QString& folder, ChemicalElement element, const char* mass)
{
    DoseData d;
    fillTypicalData(d, StoredNuclideId{element, mass});
    auto group = std::make_unique<AerosolGroup>(&d);
    group->m_aerosolName = "Oxides (S)";
    group->m_fA = 0.001f;
    for (int s = 0; s < AMADCount; ++s)
        group->m_aerosolDataArr[static_cast<std::size_t>(s)]
            = makeMaterial(&d, IntakeRoute::Inhalation, MaterialForm::Aerosol, "", 0.001f, 2e-9f);
    d.m_aerosolData.push_back(std::move(group));
    writeBytes(QDir(folder).filePath(d.nuclideNameText() + QStringLiteral(".qvd")), doseDataFileBytes(d));
}

} // namespace kav
