#pragma once

#include "base/enumset.h"
#include "chooser/listfilter.h"
#include "nuclides/spectrafiles.h"

#include <array>
#include <optional>
#include <vector>

namespace kav {

struct LineQuery;

// The criteria of the spectrum filter: nine on a nuclide's spectrum summary (energies per decay
// and their shares in the dose constant), six on its single lines (energy and energy per decay
// of an alpha, beta-group or photon-group line).
enum class SpectrumCriterion : std::uint8_t {
    Total,
    AlphaTotal,
    BetaTotal,
    GammaTotal,
    FissionTotal,
    AlphaShare,
    BetaShare,
    GammaShare,
    FissionShare,
    AlphaLineEnergy,
    BetaLineEnergy,
    GammaLineEnergy,
    AlphaLineYield,
    BetaLineYield,
    GammaLineYield
};
constexpr int SpectrumCriterionCount = 15;
using SpectrumCriteria = EnumSet<SpectrumCriterion, 16>;

// The groups of radiation types whose lines the spectrum criteria bound, and the criteria of
// each: the energy of a line and the energy it carries per decay.
enum class LineGroup { Alpha, Beta, Photon };
RadiationTypes radiationsOf(LineGroup group);
SpectrumCriterion energyOptionOf(LineGroup group);
SpectrumCriterion yieldOptionOf(LineGroup group);

// Whether an option's bounds are shares, which cannot pass 1.
constexpr bool isFractionOption(SpectrumCriterion option)
{
    return option >= SpectrumCriterion::AlphaShare && option <= SpectrumCriterion::FissionShare;
}
// The stored names of an option's two bounds: "TotalMin", "AlphaMinEnergy", ...
const char* spectrumBoundName(SpectrumCriterion option, bool maximum);

// The nuclides whose spectrum meets every chosen criterion, each an inclusive range. The
// spontaneous-fission criteria test the energy carried per decay by fission fragments and
// neutrons (from the summary) and the fraction of decays that are spontaneous fissions (from
// the index).
class SpectrumFilter : public SwitchedFilter {
public:
    explicit SpectrumFilter(SpectraFiles& spectra)
        : m_spectra(spectra)
    {
    }

    // Where the lines and their summary are read from.
    const SpectraFiles& spectra() const { return m_spectra; }

    const SpectrumCriteria& options() const { return m_options; }
    void setOptions(const SpectrumCriteria& value);
    float min(SpectrumCriterion option) const { return m_bounds[ordinal(option)].min; }
    float max(SpectrumCriterion option) const { return m_bounds[ordinal(option)].max; }
    // A negative value is taken as 0 and a share above 1 as 1; a minimum above the maximum
    // raises the maximum with it, a maximum below the minimum lowers the minimum.
    void setMin(SpectrumCriterion option, float value);
    void setMax(SpectrumCriterion option, float value);

    bool active() const { return enabled() && !m_options.empty(); }
    void assign(const SpectrumFilter& source);

    // The value a summary criterion tests for a nuclide; 0 for the line criteria.
    static float summaryValue(SpectrumCriterion option, const Nuclide& node, const SpectrumSummary& summary);

protected:
    void apply() override;

private:
    struct Bounds {
        float min = 0;
        float max = 0;
    };
    void boundChanged(SpectrumCriterion option);
    // The line criteria asked for, a query for each: each must be met by some line of its group
    // (not necessarily the same line).
    std::vector<LineQuery> lineCriteria() const;
    bool linesPass(const Nuclide& node, std::vector<LineQuery> due) const;

    SpectraFiles& m_spectra;
    SpectrumCriteria m_options;
    std::array<Bounds, SpectrumCriterionCount> m_bounds{};
};

} // namespace kav
