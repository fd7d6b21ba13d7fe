#include "chooser/spectrumfilter.h"

#include "nuclides/spectrafiles.h"

#include <algorithm>
#include <cmath>

namespace kav {

namespace {

const char* const kBoundNames[SpectrumCriterionCount][2] = {
    {"TotalMin", "TotalMax"},           {"AlphaTotalMin", "AlphaTotalMax"},
    {"BetaTotalMin", "BetaTotalMax"},   {"GammaTotalMin", "GammaTotalMax"},
    {"SFTotalMin", "SFTotalMax"},       {"AlphaFracMin", "AlphaFracMax"},
    {"BetaFracMin", "BetaFracMax"},     {"GammaFracMin", "GammaFracMax"},
    {"SFFracMin", "SFFracMax"},         {"AlphaMinEnergy", "AlphaMaxEnergy"},
    {"BetaMinEnergy", "BetaMaxEnergy"}, {"GammaMinEnergy", "GammaMaxEnergy"},
    {"AlphaMinYield", "AlphaMaxYield"}, {"BetaMinYield", "BetaMaxYield"},
    {"GammaMinYield", "GammaMaxYield"},
};

bool within(float value, float lo, float hi)
{
    return !(value < lo) && !(value > hi);
}

} // namespace

SpectrumCriterion energyOptionOf(LineGroup group)
{
    constexpr SpectrumCriterion options[]
        = {SpectrumCriterion::AlphaLineEnergy, SpectrumCriterion::BetaLineEnergy, SpectrumCriterion::GammaLineEnergy};
    return options[static_cast<int>(group)];
}

SpectrumCriterion yieldOptionOf(LineGroup group)
{
    constexpr SpectrumCriterion options[]
        = {SpectrumCriterion::AlphaLineYield, SpectrumCriterion::BetaLineYield, SpectrumCriterion::GammaLineYield};
    return options[static_cast<int>(group)];
}

const char* spectrumBoundName(SpectrumCriterion option, bool maximum)
{
    return kBoundNames[ordinal(option)][maximum ? 1 : 0];
}

void SpectrumFilter::setOptions(const SpectrumCriteria& value)
{
    const auto known = SpectrumCriteria::fromRaw(value.raw() & ((1u << SpectrumCriterionCount) - 1));
    if (known == m_options)
        return;
    m_options = known;
    if (enabled())
        change();
}

void SpectrumFilter::setMin(SpectrumCriterion option, float value)
{
    if (!(value > 0)) // negative, and not a number
        value = 0;
    if (isFractionOption(option) && value > 1)
        value = 1;
    Bounds& b = m_bounds[ordinal(option)];
    if (value == b.min)
        return;
    b.min = value;
    if (b.min > b.max)
        b.max = b.min;
    boundChanged(option);
}

void SpectrumFilter::setMax(SpectrumCriterion option, float value)
{
    if (!(value > 0))
        value = 0;
    if (isFractionOption(option) && value > 1)
        value = 1;
    Bounds& b = m_bounds[ordinal(option)];
    if (value == b.max)
        return;
    b.max = value;
    if (b.max < b.min)
        b.min = b.max;
    boundChanged(option);
}

void SpectrumFilter::boundChanged(SpectrumCriterion option)
{
    if (enabled() && m_options.contains(option))
        change();
}

void SpectrumFilter::assign(const SpectrumFilter& source)
{
    m_options = source.m_options;
    m_bounds = source.m_bounds;
    SwitchedFilter::assign(source);
}

float SpectrumFilter::summaryValue(SpectrumCriterion option, const Nuclide& node, const SpectrumSummary& summary)
{
    switch (option) {
    case SpectrumCriterion::Total: return summary.total;
    case SpectrumCriterion::AlphaTotal: return summary.radTotalOf(AlphaRadiation);
    case SpectrumCriterion::BetaTotal: return summary.betaTotal;
    case SpectrumCriterion::GammaTotal: return summary.gammaTotal;
    case SpectrumCriterion::FissionTotal:
        return summary.radTotalOf(FissionFragmentRadiation) + summary.radTotalOf(NeutronRadiation);
    case SpectrumCriterion::AlphaShare: return summary.alphaFraction;
    case SpectrumCriterion::BetaShare: return summary.betaFraction;
    case SpectrumCriterion::GammaShare: return summary.gammaFraction;
    case SpectrumCriterion::FissionShare: return node.spontaneousFissionFraction();
    default: return 0;
    }
}

std::vector<SpectrumFilter::LineCriterion> SpectrumFilter::lineCriteria() const
{
    std::vector<LineCriterion> criteria;
    for (const LineGroup g : {LineGroup::Alpha, LineGroup::Beta, LineGroup::Photon})
        for (const bool energy : {true, false}) {
            const SpectrumCriterion option = energy ? energyOptionOf(g) : yieldOptionOf(g);
            if (m_options.contains(option))
                criteria.push_back({g, energy, m_bounds[ordinal(option)].min, m_bounds[ordinal(option)].max});
        }
    return criteria;
}

bool SpectrumFilter::linesPass(const SpectraSummary& summary, std::size_t nuclide,
                               const std::vector<LineCriterion>& criteria)
{
    return std::all_of(criteria.begin(), criteria.end(), [&](const LineCriterion& c) {
        const GroupLines& lines = summary.groupLines[static_cast<std::size_t>(c.group)];
        return c.energy ? lines.anyEnergyWithin(nuclide, c.min, c.max) : lines.anyYieldWithin(nuclide, c.min, c.max);
    });
}

void SpectrumFilter::apply()
{
    const NuclideIndex& index = m_spectra.index();
    const SpectraSummary& summary = m_spectra.summary();
    const std::vector<SpectrumSummary>& summaries = summary.nuclides;
    // Without a summary nothing can be said: the list stays as it was.
    if (summaries.size() != static_cast<std::size_t>(index.count()))
        return;
    clearList();
    if (m_options.empty())
        return;
    const std::vector<LineCriterion> criteria = lineCriteria();
    for (int i = 0; i < index.count(); ++i) {
        const Nuclide& node = *index.items(i);
        const SpectrumSummary& nuclideSummary = summaries[static_cast<std::size_t>(i)];
        bool passes = true;
        for (int o = 0; o <= static_cast<int>(SpectrumCriterion::FissionShare) && passes; ++o) {
            const auto option = static_cast<SpectrumCriterion>(o);
            if (m_options.contains(option))
                passes = within(summaryValue(option, node, nuclideSummary), m_bounds[ordinal(option)].min,
                                m_bounds[ordinal(option)].max);
        }
        if (passes && linesPass(summary, static_cast<std::size_t>(i), criteria))
            addNode(&node);
    }
}

} // namespace kav
