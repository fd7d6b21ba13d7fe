#pragma once

#include "data/vocabulary.h"
#include "nuclides/nuclide.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kav {

// Raised for every rejected dose data file; the message begins "DataFileException: ".
class DamagedDataFile : public std::runtime_error {
public:
    explicit DamagedDataFile(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// Producers of made-up data put this in the bytes that readers skip; such data must never be
// mistaken for reference values.
inline const QByteArray SyntheticSampleMarker = "SYNTHETIC SAMPLE";

// Particle sizes (µm) of the eleven materials of an aerosol group, and their labels.
constexpr int AMADCount = 11;
constexpr std::array<double, AMADCount> AMADValues{0.001, 0.003, 0.01, 0.03, 0.1, 0.3, 1, 3, 5, 10, 20};
constexpr int DefaultAMADIndex = 8;
// "0.001" ... "20", with the decimal separator in force.
QStringList amadLabels();
bool amadIndexFromText(const QString& text, int& index);

// Organ doses hT(50), Sv per Bq: 30 for men, then 30 for women.
using OrganDoses = std::array<float, 2 * TargetOrganCount>;
inline float& doseAt(OrganDoses& a, Sex sex, TargetOrgan organ)
{
    return a[ordinal(sex) * TargetOrganCount + ordinal(organ)];
}
inline float doseAt(const OrganDoses& a, Sex sex, TargetOrgan organ)
{
    return a[ordinal(sex) * TargetOrganCount + ordinal(organ)];
}

// One compartment's content per unit intake at the points of the bioassay time grid.
using CompartmentContent = std::vector<float>;
constexpr int BioassayTimeCount = 275;

// The bioassay functions of one tabulated nuclide.
struct BioassayFunctions {
    StoredNuclideId m_nuclideId;
    CompartmentSet m_organPresentSet;
    std::array<CompartmentContent, CompartmentCount> m_activityData;
};

class DoseData;

// One material: its texts, fA, dose coefficients and bioassay records.
class MaterialData {
public:
    MaterialData(const DoseData* owner, IntakeRoute path, MaterialForm material);

    QString description() const;
    QString shortDescription() const;
    QString fractionAbsorbedText() const;
    int positionOf(const StoredNuclideId& nuclide) const;

    const DoseData* m_doseData;
    QByteArray m_name;
    QByteArray m_modelName;
    float m_fA = 0;
    OrganDoses m_dose{};
    float m_effDose = 0;
    std::vector<BioassayFunctions> m_activity;
    MaterialForm m_material;
    IntakeRoute m_intakePath;
};

// One aerosol group: a name (often with the absorption type in brackets), fA and one material
// per particle size.
class AerosolGroup {
public:
    explicit AerosolGroup(const DoseData* owner);

    QString description() const;
    QString shortDescription() const;
    QString fractionAbsorbedText() const;

    QByteArray m_aerosolName;
    QByteArray m_modelName;
    std::array<std::unique_ptr<MaterialData>, AMADCount> m_aerosolDataArr;
    const DoseData* m_doseData;
    float m_fA = 0;
};

// The dose data of one nuclide, as its data file holds them (DoseDataFolder reads one).
class DoseData {
public:
    DoseData() = default;
    virtual ~DoseData();
    DoseData(const DoseData&) = delete;
    DoseData& operator=(const DoseData&) = delete;

    const StoredNuclideId& nuclideId() const { return m_nuclideId; }
    bool isLoaded() const { return m_nuclideId.element != ChemicalElement::None; }
    // "Co-60".
    QString nuclideNameText() const;
    // Whether the loaded file carries the mark of synthetic sample data.
    bool isSyntheticSample() const { return m_reserved.startsWith(SyntheticSampleMarker); }

    int aerosolDataCount() const { return static_cast<int>(m_aerosolData.size()); }
    int ingestDataCount() const { return static_cast<int>(m_ingestData.size()); }
    int inhalationDataCount() const { return static_cast<int>(m_aerosolData.size() + m_gasData.size()); }
    bool isAerosol(int index) const { return index >= 0 && index < aerosolDataCount(); }

    bool getCompoundsList(IntakeRoute path, QStringList& list) const;
    bool getCompoundDescription(IntakeRoute path, int compoundIndex, QString& description, QString& fA) const;
    bool getDoses(IntakeRoute path, int compoundIndex, int amadIndex, OrganDoses& dose, float& effDose) const;
    bool getEffDose(IntakeRoute path, int compoundIndex, int amadIndex, float& dose) const;
    // The material a route, material index and particle-size index select, or null.
    const MaterialData* selectCompound(IntakeRoute path, int compoundIndex, int amadIndex) const;

    // Holds no nuclide and nothing of one.
    void clear();

    StoredNuclideId m_nuclideId;
    std::vector<std::unique_ptr<AerosolGroup>> m_aerosolData;
    std::vector<std::unique_ptr<MaterialData>> m_gasData;
    std::vector<std::unique_ptr<MaterialData>> m_ingestData;
    std::vector<std::unique_ptr<MaterialData>> m_injectData;
    // What the file carried in the bytes that readers skip (a producer's mark).
    QByteArray m_reserved;
};

// The data-file name of a nuclide: "Co-60".
QString doseDataFileName(const StoredNuclideId& nuclide);

} // namespace kav
