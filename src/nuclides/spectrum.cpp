#include "nuclides/spectrum.h"

#include <QtEndian>

#include <algorithm>
#include <bit>
#include <cmath>

namespace kav {

namespace {

float floatAt(const char* bytes)
{
    return std::bit_cast<float>(qFromLittleEndian<quint32>(bytes));
}

void appendFloat(QByteArray& out, float value)
{
    char bytes[4];
    qToLittleEndian<quint32>(std::bit_cast<quint32>(value), bytes);
    out.append(bytes, 4);
}

// Alpha energy weighs twenty times as much in the dose constant.
constexpr double kAlphaWeight = 20;

} // namespace

RadiationTypes radiationsOf(LineGroup group)
{
    switch (group) {
    case LineGroup::Alpha: return {AlphaRadiation};
    case LineGroup::Beta: return BetaGroup;
    case LineGroup::Photon: return PhotonGroup;
    }
    return {};
}

std::optional<LineGroup> lineGroupOf(RadiationType type)
{
    static const std::array<std::optional<LineGroup>, 15> groups = [] {
        std::array<std::optional<LineGroup>, 15> table{};
        for (const LineGroup group : {LineGroup::Alpha, LineGroup::Beta, LineGroup::Photon})
            for (int t = 1; t <= 14; ++t)
                if (radiationsOf(group).contains(t))
                    table[static_cast<std::size_t>(t)] = group;
        return table;
    }();
    return type < groups.size() ? groups[type] : std::nullopt;
}

void GroupLines::reserve(std::size_t lines, int nuclides)
{
    m_energies.reserve(lines);
    m_yields.reserve(lines);
    m_ends.reserve(static_cast<std::size_t>(std::max(nuclides, 0)));
}

void GroupLines::addLine(float energy, float yield)
{
    m_energies.push_back(energy);
    m_yields.push_back(yield);
}

void GroupLines::endNuclide()
{
    m_ends.push_back(m_energies.size());
}

bool GroupLines::anyWithin(const std::vector<float>& values, std::size_t first, std::size_t end, double min, double max)
{
    for (std::size_t i = first; i < end; ++i) {
        const double value = values[i];
        if (value >= min && value <= max)
            return true;
    }
    return false;
}

bool GroupLines::anyEnergyWithin(std::size_t nuclide, double min, double max) const
{
    return nuclide < m_ends.size() && anyWithin(m_energies, firstOf(nuclide), m_ends[nuclide], min, max);
}

bool GroupLines::anyYieldWithin(std::size_t nuclide, double min, double max) const
{
    return nuclide < m_ends.size() && anyWithin(m_yields, firstOf(nuclide), m_ends[nuclide], min, max);
}

bool isSoundSpectrumLine(const SpectrumLine& line)
{
    return line.radiation >= 1 && line.radiation <= 14 && std::isfinite(line.energy) && std::isfinite(line.yield)
        && line.energy >= 0 && line.yield >= 0;
}

SpectrumLines decodeSpectrumRecords(const char* bytes, qsizetype count)
{
    SpectrumLines lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i, bytes += SpectrumLineRecordSize) {
        const SpectrumLine line{static_cast<RadiationType>(bytes[0]), floatAt(bytes + 1), floatAt(bytes + 5)};
        if (isSoundSpectrumLine(line))
            lines.push_back(line);
    }
    return lines;
}

BetaSpectrum decodeFloatRecords(const char* bytes, qsizetype count)
{
    BetaSpectrum values(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        values[static_cast<std::size_t>(i)] = floatAt(bytes + 4 * i);
    return values;
}

AugerSpectrum decodeAugerRecords(const char* bytes, qsizetype count)
{
    AugerSpectrum lines(static_cast<std::size_t>(count));
    for (qsizetype i = 0; i < count; ++i)
        lines[static_cast<std::size_t>(i)] = {floatAt(bytes + 8 * i), floatAt(bytes + 8 * i + 4)};
    return lines;
}

void appendSpectrumRecord(QByteArray& out, const SpectrumLine& line)
{
    out.append(static_cast<char>(line.radiation));
    appendFloat(out, line.energy);
    appendFloat(out, line.yield);
}

void appendFloatRecord(QByteArray& out, float value)
{
    appendFloat(out, value);
}

SpectrumSummary summarizeSpectrum(const SpectrumLines& lines)
{
    std::array<double, 15> total{}; // by type, 1 to 14
    std::array<double, 15> quanta{}; // yield over energy: emissions per decay
    for (const SpectrumLine& line : lines) {
        if (!isSoundSpectrumLine(line) || line.yield <= 0)
            continue;
        total[line.radiation] += line.yield;
        if (line.energy > 0)
            quanta[line.radiation] += static_cast<double>(line.yield) / line.energy;
    }
    SpectrumSummary r;
    double betaTotal = 0, betaQuanta = 0, gammaTotal = 0, gammaQuanta = 0;
    for (int t = 1; t <= 14; ++t) {
        r.radiationTotal[static_cast<std::size_t>(t - 1)] = static_cast<float>(total[static_cast<std::size_t>(t)]);
        if (quanta[static_cast<std::size_t>(t)] > 0)
            r.averageEnergy[static_cast<std::size_t>(t - 1)]
                = static_cast<float>(total[static_cast<std::size_t>(t)] / quanta[static_cast<std::size_t>(t)]);
        if (isBetaGroupRadiation(t)) {
            betaTotal += total[static_cast<std::size_t>(t)];
            betaQuanta += quanta[static_cast<std::size_t>(t)];
        } else if (isPhotonGroupRadiation(t)) {
            gammaTotal += total[static_cast<std::size_t>(t)];
            gammaQuanta += quanta[static_cast<std::size_t>(t)];
        }
    }
    r.betaTotal = static_cast<float>(betaTotal);
    r.gammaTotal = static_cast<float>(gammaTotal);
    if (betaQuanta > 0)
        r.betaAverageEnergy = static_cast<float>(betaTotal / betaQuanta);
    if (gammaQuanta > 0)
        r.gammaAverageEnergy = static_cast<float>(gammaTotal / gammaQuanta);
    const double alpha = total[AlphaRadiation];
    const double doseConst = kAlphaWeight * alpha + betaTotal + gammaTotal;
    r.total = static_cast<float>(alpha + betaTotal + gammaTotal);
    r.doseConstant = static_cast<float>(doseConst);
    if (doseConst > 0) {
        r.alphaFraction = static_cast<float>(kAlphaWeight * alpha / doseConst);
        r.betaFraction = static_cast<float>(betaTotal / doseConst);
        r.gammaFraction = static_cast<float>(gammaTotal / doseConst);
    }
    return r;
}

void takeSpectrumMaxima(SpectrumSummary& max, const SpectrumSummary& r)
{
    for (auto field : {&SpectrumSummary::total, &SpectrumSummary::betaTotal, &SpectrumSummary::gammaTotal,
                       &SpectrumSummary::alphaFraction, &SpectrumSummary::betaFraction, &SpectrumSummary::gammaFraction,
                       &SpectrumSummary::betaAverageEnergy, &SpectrumSummary::gammaAverageEnergy})
        max.*field = std::max(max.*field, r.*field);
    for (std::size_t t = 0; t < 14; ++t) {
        max.radiationTotal[t] = std::max(max.radiationTotal[t], r.radiationTotal[t]);
        max.averageEnergy[t] = std::max(max.averageEnergy[t], r.averageEnergy[t]);
    }
}

} // namespace kav
