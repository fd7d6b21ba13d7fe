#include "chooser/spectrumfilter.h"

#include "chooser/spectrumlines.h"
#include "nuclides/spectrafiles.h"

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

RadiationTypes radiationsOf(LineGroup group)
{
    switch (group) {
    case LineGroup::Alpha: return {AlphaRadiation};
    case LineGroup::Beta: return BetaGroup;
    case LineGroup::Photon: return PhotonGroup;
    }
    return {};
}

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

std::vector<LineQuery> SpectrumFilter::lineCriteria() const
{
    std::vector<LineQuery> criteria;
    for (const LineGroup g : {LineGroup::Alpha, LineGroup::Beta, LineGroup::Photon}) {
        for (const bool energy : {true, false}) {
            const SpectrumCriterion option = energy ? energyOptionOf(g) : yieldOptionOf(g);
            if (!m_options.contains(option))
                continue;
            LineQuery query;
            query.types = radiationsOf(g);
            (energy ? query.energy : query.yield)
                = LineBounds{m_bounds[ordinal(option)].min, m_bounds[ordinal(option)].max};
            criteria.push_back(query);
        }
    }
    return criteria;
}

bool SpectrumFilter::linesPass(const Nuclide& node, std::vector<LineQuery> due) const
{
    if (due.empty())
        return true;
    SpectrumLines lines;
    if (!m_spectra.readLines(&node, lines))
        return false;
    for (const SpectrumLine& line : lines) {
        std::erase_if(due, [&line](const LineQuery& query) { return lineMeets(line, query); });
        if (due.empty())
            return true;
    }
    return false;
}

void SpectrumFilter::apply()
{
    const NuclideIndex& index = m_spectra.index();
    const std::vector<SpectrumSummary>& summaries = m_spectra.summary().nuclides;
    // Without a summary nothing can be said: the list stays as it was.
    if (summaries.size() != static_cast<std::size_t>(index.count()))
        return;
    clearList();
    if (m_options.empty())
        return;
    const std::vector<LineQuery> queries = lineCriteria();
    for (int i = 0; i < index.count(); ++i) {
        const Nuclide& node = *index.items(i);
        const SpectrumSummary& summary = summaries[static_cast<std::size_t>(i)];
        bool passes = true;
        for (int o = 0; o <= static_cast<int>(SpectrumCriterion::FissionShare) && passes; ++o) {
            const auto option = static_cast<SpectrumCriterion>(o);
            if (m_options.contains(option))
                passes = within(summaryValue(option, node, summary), m_bounds[ordinal(option)].min,
                                m_bounds[ordinal(option)].max);
        }
        if (passes && linesPass(node, queries))
            addNode(&node);
    }
}

} // namespace kav
