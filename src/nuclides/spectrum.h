#pragma once

#include <QByteArray>

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <vector>

namespace kav {

// Radiation type of a spectrum line, 1 to 14 (names and short codes in nuclidenames.h).
using RadiationType = std::uint8_t;
constexpr RadiationType AlphaRadiation = 8;
constexpr RadiationType AlphaRecoilRadiation = 9;
constexpr RadiationType FissionFragmentRadiation = 10;
constexpr RadiationType NeutronRadiation = 11;

// Beta particles, conversion and Auger electrons, delayed betas.
constexpr bool isBetaGroupRadiation(int type)
{
    return (type >= 4 && type <= 7) || type == 14;
}
// Gamma and X-rays, annihilation photons, prompt and delayed gammas.
constexpr bool isPhotonGroupRadiation(int type)
{
    return (type >= 1 && type <= 3) || type == 12 || type == 13;
}

// A set of radiation types, bit t for type t.
class RadiationTypes {
public:
    constexpr RadiationTypes() = default;
    constexpr RadiationTypes(std::initializer_list<int> types)
    {
        for (int t : types)
            insert(t);
    }
    constexpr bool contains(int type) const { return type >= 1 && type <= 14 && (m_bits >> type) & 1u; }
    constexpr void insert(int type)
    {
        if (type >= 1 && type <= 14)
            m_bits = static_cast<std::uint16_t>(m_bits | (1u << type));
    }
    constexpr void erase(int type)
    {
        if (type >= 1 && type <= 14)
            m_bits = static_cast<std::uint16_t>(m_bits & ~(1u << type));
    }
    constexpr bool empty() const { return m_bits == 0; }
    friend constexpr bool operator==(RadiationTypes a, RadiationTypes b) { return a.m_bits == b.m_bits; }

private:
    std::uint16_t m_bits = 0;
};
constexpr RadiationTypes BetaGroup{4, 5, 6, 7, 14};
constexpr RadiationTypes PhotonGroup{1, 2, 3, 12, 13};

// The groups of radiation types whose single lines the filters bound: alpha particles, the beta
// group and the photon group.
enum class LineGroup { Alpha, Beta, Photon };
constexpr int LineGroupCount = 3;
RadiationTypes radiationsOf(LineGroup group);
// The group a radiation type belongs to; none for alpha recoils, fission fragments, neutrons and
// types outside 1..14.
std::optional<LineGroup> lineGroupOf(RadiationType type);

// One discrete line: its type, energy in MeV, and the energy it carries per decay in MeV.
struct SpectrumLine {
    RadiationType radiation = 0;
    float energy = 0;
    float yield = 0;
};
struct AugerLine {
    float energy = 0;
    float yield = 0;
};
using SpectrumLines = std::vector<SpectrumLine>;
using BetaSpectrum = std::vector<float>;
using AugerSpectrum = std::vector<AugerLine>;
using NeutronSpectrum = std::vector<float>;

// Bytes of one record in the spectra files: little-endian, without padding.
constexpr int SpectrumLineRecordSize = 9;
constexpr int BetaRecordSize = 4;
constexpr int AugerRecordSize = 8;
constexpr int NeutronRecordSize = 4;

// A line the summary and the filters can use: a type from 1 to 14, a finite energy and yield,
// neither negative.
bool isSoundSpectrumLine(const SpectrumLine& line);

// The lines of a run of whole records, the unsound ones left out.
SpectrumLines decodeSpectrumRecords(const char* bytes, qsizetype count);
BetaSpectrum decodeFloatRecords(const char* bytes, qsizetype count);
AugerSpectrum decodeAugerRecords(const char* bytes, qsizetype count);
void appendSpectrumRecord(QByteArray& out, const SpectrumLine& line);
void appendFloatRecord(QByteArray& out, float value);

// One nuclide's spectrum in sums: totals of the energy emitted per decay by type and by group,
// the shares of alpha (weighted 20), beta and photon energy in the dose constant, and average
// energies. The fission fields stay 0.
struct SpectrumSummary {
    float total = 0;
    float betaTotal = 0;
    float gammaTotal = 0;
    float ffnTotal = 0;
    float alphaFraction = 0;
    float betaFraction = 0;
    float gammaFraction = 0;
    float ffnFraction = 0;
    float doseConstant = 0;
    float betaAverageEnergy = 0;
    float gammaAverageEnergy = 0;
    float ffnAverageEnergy = 0;
    std::array<float, 14> averageEnergy{}; // radiation type t at t - 1
    std::array<float, 14> radiationTotal{}; // radiation type t at t - 1

    float radTotalOf(RadiationType type) const { return radiationTotal[static_cast<std::size_t>(type - 1)]; }
    float averageEnergyOf(RadiationType type) const { return averageEnergy[static_cast<std::size_t>(type - 1)]; }
};

// The energy and the energy per decay of every line of one group, for every nuclide of an index in
// its order, to ask whether a nuclide has a line within bounds without reading its lines again.
class GroupLines {
public:
    void reserve(std::size_t lines, int nuclides);
    // Adds a line to the nuclide being filled; endNuclide() closes it and starts the next.
    void addLine(float energy, float yield);
    void endNuclide();

    // Whether the nuclide at an index has a line whose energy (or energy per decay, MeV) lies
    // within [min, max].
    bool anyEnergyWithin(std::size_t nuclide, double min, double max) const;
    bool anyYieldWithin(std::size_t nuclide, double min, double max) const;

private:
    static bool anyWithin(const std::vector<float>& values, std::size_t first, std::size_t end, double min, double max);
    std::size_t firstOf(std::size_t nuclide) const { return nuclide == 0 ? 0 : m_ends[nuclide - 1]; }

    std::vector<float> m_energies;
    std::vector<float> m_yields;
    std::vector<std::size_t> m_ends; // where each nuclide's lines end
};

// The summary of one nuclide's lines. A nuclide whose lines carry no alpha, beta or photon
// energy keeps its fractions at 0.
SpectrumSummary summarizeSpectrum(const SpectrumLines& lines);
// Raises each field of max that the maxima keep to the value in r.
void takeSpectrumMaxima(SpectrumSummary& max, const SpectrumSummary& r);

} // namespace kav
