#pragma once

#include "base/enumset.h"
#include "chooser/listfilter.h"
#include "nuclides/spectrafiles.h"

#include <array>
#include <optional>
#include <vector>

namespace kav {

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

// The criteria on the lines of each group: the energy of a line and the energy it carries per
// decay.
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
    // A line criterion asked for: some line of the group must have its energy (or its energy per
    // decay) within the bounds, each criterion on a line of its own or the same.
    struct LineCriterion {
        LineGroup group;
        bool energy;
        double min;
        double max;
    };
    void boundChanged(SpectrumCriterion option);
    std::vector<LineCriterion> lineCriteria() const;
    // Whether the nuclide at an index of the index meets every line criterion.
    static bool linesPass(const SpectraSummary& summary, std::size_t nuclide,
                          const std::vector<LineCriterion>& criteria);

    SpectraFiles& m_spectra;
    SpectrumCriteria m_options;
    std::array<Bounds, SpectrumCriterionCount> m_bounds{};
};

} // namespace kav
