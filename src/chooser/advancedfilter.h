#pragma once

#include "base/enumset.h"
#include "chooser/listfilter.h"
#include "chooser/spectrumfilter.h"

#include <QStringList>

#include <cstdint>

namespace kav {

// The nuclides whose mass number lies within the enabled ends of a range of 3 to 257.
class MassNumberFilter : public ListFilter {
public:
    static constexpr std::uint16_t Lowest = 3;
    static constexpr std::uint16_t Highest = 257;

    explicit MassNumberFilter(const NuclideIndex* index)
        : m_index(index)
    {
    }

    bool minEnabled() const { return m_minEnabled; }
    void setMinEnabled(bool value);
    bool maxEnabled() const { return m_maxEnabled; }
    void setMaxEnabled(bool value);
    std::uint16_t minValue() const { return m_minValue; }
    void setMinValue(int value);
    std::uint16_t maxValue() const { return m_maxValue; }
    void setMaxValue(int value);

    // Whether it narrows the advanced filter: an end is enabled and the range is not inverted.
    bool active() const;
    void change() override;
    void assign(const MassNumberFilter& source);

private:
    void recompute();

    const NuclideIndex* m_index;
    bool m_minEnabled = false;
    bool m_maxEnabled = false;
    std::uint16_t m_minValue = Lowest;
    std::uint16_t m_maxValue = Highest;
};

// A number of ancestors or of daughters, 0 to 4, and sets of such numbers (all five at first).
enum RelativesCount : std::uint8_t {};
using RelativesCount = RelativesCount;
using RelativesCountSet = EnumSet<RelativesCount, 8>;
using RelativesCountSet = RelativesCountSet;

// The nuclides with one of a set of numbers of relatives, from the index's lists by that number.
class RelativesCountFilter : public SwitchedFilter {
public:
    const RelativesCountSet& countSet() const { return m_countSet; }
    void setCountSet(const RelativesCountSet& value);
    bool active() const { return enabled() && !m_countSet.empty(); }
    void assign(const RelativesCountFilter& source);

protected:
    explicit RelativesCountFilter(const NuclideIndex* index)
        : m_index(index)
    {
    }
    virtual const std::array<NuclideList, 5>& countLists() const = 0;
    virtual const std::array<ElementSet, 5>& countElements() const = 0;
    void apply() override;

    const NuclideIndex* m_index;

private:
    RelativesCountSet m_countSet = RelativesCountSet::fromRaw(0x1F);
};

class AncestorsFilter : public RelativesCountFilter {
public:
    explicit AncestorsFilter(const NuclideIndex* index)
        : RelativesCountFilter(index)
    {
    }

protected:
    const std::array<NuclideList, 5>& countLists() const override { return m_index->ancestorCountLists(); }
    const std::array<ElementSet, 5>& countElements() const override { return m_index->ancestorCountElements(); }
};

class DaughtersFilter : public RelativesCountFilter {
public:
    explicit DaughtersFilter(const NuclideIndex* index)
        : RelativesCountFilter(index)
    {
    }

protected:
    const std::array<NuclideList, 5>& countLists() const override { return m_index->daughterCountLists(); }
    const std::array<ElementSet, 5>& countElements() const override { return m_index->daughterCountElements(); }
};

enum class DecayModeMatch : std::uint8_t { Any, All };
// Decay modes that must all hold (alpha to spontaneous fission), and modes of which one must
// (alpha to "isomeric transition only").
using DecayModesAllOf = EnumSet<DecayFilterKind, 8>;
using DecayModesAnyOf = EnumSet<DecayFilterKind, 16>;

// The nuclides by their decay modes: any of a set, or all of a set.
class DecayModeFilter : public SwitchedFilter {
public:
    explicit DecayModeFilter(const NuclideIndex* index)
        : m_index(index)
    {
    }

    DecayModeMatch operation() const { return m_operation; }
    void setOperation(DecayModeMatch value);
    const DecayModesAllOf& andSet() const { return m_andSet; }
    void setAndSet(const DecayModesAllOf& value);
    const DecayModesAnyOf& orSet() const { return m_orSet; }
    void setOrSet(const DecayModesAnyOf& value);

    bool active() const;
    void assign(const DecayModeFilter& source);

protected:
    void apply() override;

private:
    const NuclideIndex* m_index;
    DecayModeMatch m_operation = DecayModeMatch::Any;
    DecayModesAllOf m_andSet;
    DecayModesAnyOf m_orSet = DecayModesAnyOf::fromRaw(0x1FF);
};

// The nuclides whose half-life lies within the enabled ends of a range. Each end is a value in a
// unit and, kept with it, the decay constant in reciprocal days that the list is computed by.
class HalfLifeFilter : public ListFilter {
public:
    // The ends start at the shortest and the longest half-life of the index.
    explicit HalfLifeFilter(const NuclideIndex* index);

    bool minEnabled() const { return m_min.enabled; }
    void setMinEnabled(bool value);
    bool maxEnabled() const { return m_max.enabled; }
    void setMaxEnabled(bool value);
    float minValue() const { return m_min.value; }
    void setMinValue(float value);
    float maxValue() const { return m_max.value; }
    void setMaxValue(float value);
    TimeUnit minUnits() const { return m_min.units; }
    void setMinUnits(TimeUnit value);
    TimeUnit maxUnits() const { return m_max.units; }
    void setMaxUnits(TimeUnit value);
    float minLambda() const { return m_min.lambda; }
    void setMinLambda(float value);
    float maxLambda() const { return m_max.lambda; }
    void setMaxLambda(float value);
    // Both ends to the shortest and the longest half-life of the index.
    void setAutoMinMaxValues();

    bool active() const;
    void change() override;
    void assign(const HalfLifeFilter& source);

    // A half-life in days as a value in the unit that reads best: years above a year, days
    // above a day, otherwise the largest of hours to milliseconds that gives at least 1, else
    // microseconds.
    static void valueAndUnitOfDays(double days, float& value, TimeUnit& unit);

private:
    struct End {
        bool enabled = false;
        float value = 0;
        TimeUnit units = TimeUnit::Year;
        float lambda = 0;
    };
    void setValue(End& end, float value);
    void setUnits(End& end, TimeUnit value);
    void setLambda(End& end, float value);
    void recompute();

    const NuclideIndex* m_index;
    End m_min;
    End m_max;
};

// The property filter of a chooser panel: the nuclides that pass every active one of its six
// criteria. With none active it is ignored and the panel offers what its other filters allow.
class AdvancedFilter : public SwitchedFilter {
public:
    AdvancedFilter(const NuclideIndex* index, SpectraFiles& spectra);

    MassNumberFilter& aMass() { return m_aMass; }
    AncestorsFilter& ancestors() { return m_ancestors; }
    DaughtersFilter& daughters() { return m_daughters; }
    DecayModeFilter& decay() { return m_decay; }
    HalfLifeFilter& halfLifeTime() { return m_halfLifeTime; }
    SpectrumFilter& spectrum() { return m_spectrum; }
    const MassNumberFilter& aMass() const { return m_aMass; }
    const AncestorsFilter& ancestors() const { return m_ancestors; }
    const DaughtersFilter& daughters() const { return m_daughters; }
    const DecayModeFilter& decay() const { return m_decay; }
    const HalfLifeFilter& halfLifeTime() const { return m_halfLifeTime; }
    const SpectrumFilter& spectrum() const { return m_spectrum; }

    // True until a computation finds an active criterion.
    bool ignored() const { return m_ignored; }
    // The page and the width of the dialog that edits the filter when it was last closed.
    std::int32_t formLastPage() const { return m_formLastPage; }
    void setFormLastPage(std::int32_t value) { m_formLastPage = value; }
    bool formIsMoreWidth() const { return m_formIsMoreWidth; }
    void setFormIsMoreWidth(bool value) { m_formIsMoreWidth = value; }

    void assign(const AdvancedFilter& source);

protected:
    void apply() override;

private:
    void subFilterChanged();

    MassNumberFilter m_aMass;
    AncestorsFilter m_ancestors;
    DaughtersFilter m_daughters;
    DecayModeFilter m_decay;
    HalfLifeFilter m_halfLifeTime;
    SpectrumFilter m_spectrum;
    bool m_ignored = true;
    bool m_assigning = false;
    std::int32_t m_formLastPage = 0;
    bool m_formIsMoreWidth = false;
};

// The active criteria of an advanced filter in words, one a line: "mass number 220 to 230",
// "decay by any of: alpha only", "half-life 1 d to 1 y", "gamma line energy 0.6 to 0.7 MeV".
QStringList activeCriteria(const AdvancedFilter& filter, UiLanguage language = UiLanguage::English);

} // namespace kav
