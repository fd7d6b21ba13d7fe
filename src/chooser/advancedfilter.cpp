#include "chooser/advancedfilter.h"

#include "nuclides/nuclidenames.h"

#include <algorithm>
#include <cmath>

namespace kav {

namespace {

constexpr double kLn2 = 0.69314718055994530942;

// The half-life ends when there is no index to take them from.
constexpr float kLongestWithoutIndex = 9.3e15f; // years
constexpr float kShortestWithoutIndex = 0.305f; // microseconds

float lambdaOf(float value, TimeUnit units)
{
    return static_cast<float>(kLn2 / value * timeUnitsPerDayA(units));
}

} // namespace

// Mass number

void MassNumberFilter::setMinEnabled(bool value)
{
    if (value == m_minEnabled)
        return;
    m_minEnabled = value;
    change();
}

void MassNumberFilter::setMaxEnabled(bool value)
{
    if (value == m_maxEnabled)
        return;
    m_maxEnabled = value;
    change();
}

void MassNumberFilter::setMinValue(int value)
{
    const auto clamped = static_cast<std::uint16_t>(std::clamp<int>(value, Lowest, Highest));
    if (clamped == m_minValue)
        return;
    m_minValue = clamped;
    if (m_minEnabled)
        change();
}

void MassNumberFilter::setMaxValue(int value)
{
    const auto clamped = static_cast<std::uint16_t>(std::clamp<int>(value, Lowest, Highest));
    if (clamped == m_maxValue)
        return;
    m_maxValue = clamped;
    change();
}

bool MassNumberFilter::active() const
{
    return (m_minEnabled || m_maxEnabled) && !(m_minEnabled && m_maxEnabled && m_maxValue < m_minValue);
}

void MassNumberFilter::change()
{
    if (m_minEnabled || m_maxEnabled)
        recompute();
    ListFilter::change();
}

void MassNumberFilter::recompute()
{
    clearList();
    if (!m_index || (m_minEnabled && m_maxEnabled && m_maxValue < m_minValue))
        return;
    for (int i = 0; i < m_index->count(); ++i) {
        const Nuclide* node = m_index->items(i);
        if ((!m_minEnabled || node->massNumber >= m_minValue) && (!m_maxEnabled || node->massNumber <= m_maxValue))
            addNode(node);
    }
}

void MassNumberFilter::assign(const MassNumberFilter& source)
{
    m_minEnabled = source.m_minEnabled;
    m_maxEnabled = source.m_maxEnabled;
    m_minValue = source.m_minValue;
    m_maxValue = source.m_maxValue;
    ListFilter::assign(source);
}

// Numbers of ancestors and daughters

void RelativesCountFilter::setCountSet(const RelativesCountSet& value)
{
    const auto counts = RelativesCountSet::fromRaw(value.raw() & 0x1F);
    if (counts == m_countSet)
        return;
    m_countSet = counts;
    if (enabled())
        change();
}

void RelativesCountFilter::assign(const RelativesCountFilter& source)
{
    m_countSet = source.m_countSet;
    SwitchedFilter::assign(source);
}

void RelativesCountFilter::apply()
{
    clearList();
    if (!m_index)
        return;
    for (std::size_t c = 0; c < 5; ++c)
        if (m_countSet.contains(static_cast<RelativesCount>(c)))
            addList(countLists()[c], countElements()[c]);
}

// Decay modes

void DecayModeFilter::setOperation(DecayModeMatch value)
{
    if (value == m_operation)
        return;
    m_operation = value;
    if (enabled())
        change();
}

void DecayModeFilter::setAndSet(const DecayModesAllOf& value)
{
    const auto modes = DecayModesAllOf::fromRaw(value.raw() & 0x1F); // alpha to SF
    if (modes == m_andSet)
        return;
    m_andSet = modes;
    if (enabled() && m_operation == DecayModeMatch::All)
        change();
}

void DecayModeFilter::setOrSet(const DecayModesAnyOf& value)
{
    const auto modes = DecayModesAnyOf::fromRaw(value.raw() & 0x1FF); // alpha to "IT only"
    if (modes == m_orSet)
        return;
    m_orSet = modes;
    if (enabled() && m_operation == DecayModeMatch::Any)
        change();
}

bool DecayModeFilter::active() const
{
    return enabled() && (m_operation == DecayModeMatch::Any ? !m_orSet.empty() : !m_andSet.empty());
}

void DecayModeFilter::assign(const DecayModeFilter& source)
{
    m_operation = source.m_operation;
    m_andSet = source.m_andSet;
    m_orSet = source.m_orSet;
    SwitchedFilter::assign(source);
}

void DecayModeFilter::apply()
{
    clearList();
    if (!m_index)
        return;
    const auto& lists = m_index->decayFilterLists();
    if (m_operation == DecayModeMatch::Any) {
        for (int mode = 0; mode <= static_cast<int>(DecayFilterKind::IsomericTransitionOnly); ++mode)
            if (m_orSet.contains(static_cast<DecayFilterKind>(mode)))
                addList(lists[static_cast<std::size_t>(mode)],
                        m_index->decayFilterElements()[static_cast<std::size_t>(mode)]);
        return;
    }
    if (m_andSet.empty())
        return;
    const DecayFilterKind first = m_andSet.lowest();
    for (const NuclideList::Entry& e : lists[ordinal(first)].items())
        addNode(e.node);
    for (int mode = static_cast<int>(first) + 1; mode <= static_cast<int>(DecayFilterKind::SpontaneousFission); ++mode)
        if (m_andSet.contains(static_cast<DecayFilterKind>(mode)))
            keepOnly(lists[static_cast<std::size_t>(mode)]);
}

// Half-life

HalfLifeFilter::HalfLifeFilter(const NuclideIndex* index)
    : m_index(index)
{
    if (m_index && m_index->count() > 0) {
        const HalfLifeExtreme& shortest = m_index->shortestHalfLife();
        const HalfLifeExtreme& longest = m_index->longestHalfLife();
        m_min = {false, shortest.halfLife, shortest.halfLifeUnit, shortest.decayConstant};
        m_max = {false, longest.halfLife, longest.halfLifeUnit, longest.decayConstant};
        return;
    }
    m_min
        = {false, kShortestWithoutIndex, TimeUnit::Microsecond, lambdaOf(kShortestWithoutIndex, TimeUnit::Microsecond)};
    m_max = {false, kLongestWithoutIndex, TimeUnit::Year, lambdaOf(kLongestWithoutIndex, TimeUnit::Year)};
}

void HalfLifeFilter::valueAndUnitOfDays(double days, float& value, TimeUnit& unit)
{
    if (days > 1) {
        const double years = days * timeUnitsPerDayA(TimeUnit::Year);
        unit = years > 1 ? TimeUnit::Year : TimeUnit::Day;
        value = static_cast<float>(unit == TimeUnit::Year ? years : days);
        return;
    }
    for (TimeUnit u : {TimeUnit::Hour, TimeUnit::Minute, TimeUnit::Second, TimeUnit::Millisecond}) {
        if (days * timeUnitsPerDayA(u) >= 1) {
            unit = u;
            value = static_cast<float>(days * timeUnitsPerDayA(u));
            return;
        }
    }
    unit = TimeUnit::Microsecond;
    value = static_cast<float>(days * timeUnitsPerDayA(TimeUnit::Microsecond));
}

void HalfLifeFilter::setValue(End& end, float value)
{
    if (value == end.value)
        return;
    end.value = value;
    end.lambda = lambdaOf(value, end.units);
    if (end.enabled)
        change();
}

void HalfLifeFilter::setUnits(End& end, TimeUnit value)
{
    if (value == end.units || value > TimeUnit::Microsecond)
        return;
    // The same time in the new unit; the decay constant stays.
    end.value = static_cast<float>(end.value * timeUnitsPerDayA(value) / timeUnitsPerDayA(end.units));
    end.units = value;
    if (end.enabled)
        change();
}

void HalfLifeFilter::setLambda(End& end, float value)
{
    if (value == end.lambda)
        return;
    end.lambda = value;
    valueAndUnitOfDays(kLn2 / value, end.value, end.units);
    if (end.enabled)
        change();
}

void HalfLifeFilter::setMinEnabled(bool value)
{
    if (value == m_min.enabled)
        return;
    m_min.enabled = value;
    change();
}

void HalfLifeFilter::setMaxEnabled(bool value)
{
    if (value == m_max.enabled)
        return;
    m_max.enabled = value;
    change();
}

void HalfLifeFilter::setMinValue(float value)
{
    setValue(m_min, value);
}

void HalfLifeFilter::setMaxValue(float value)
{
    setValue(m_max, value);
}

void HalfLifeFilter::setMinUnits(TimeUnit value)
{
    setUnits(m_min, value);
}

void HalfLifeFilter::setMaxUnits(TimeUnit value)
{
    setUnits(m_max, value);
}

void HalfLifeFilter::setMinLambda(float value)
{
    setLambda(m_min, value);
}

void HalfLifeFilter::setMaxLambda(float value)
{
    setLambda(m_max, value);
}

void HalfLifeFilter::setAutoMinMaxValues()
{
    if (!m_index || m_index->count() == 0)
        return;
    const HalfLifeExtreme& shortest = m_index->shortestHalfLife();
    const HalfLifeExtreme& longest = m_index->longestHalfLife();
    m_min.value = shortest.halfLife;
    m_min.units = shortest.halfLifeUnit;
    m_min.lambda = shortest.decayConstant;
    m_max.value = longest.halfLife;
    m_max.units = longest.halfLifeUnit;
    m_max.lambda = longest.decayConstant;
    if (m_min.enabled || m_max.enabled)
        change();
}

bool HalfLifeFilter::active() const
{
    return (m_min.enabled || m_max.enabled) && !(m_min.enabled && m_max.enabled && m_max.lambda > m_min.lambda);
}

void HalfLifeFilter::change()
{
    if (m_min.enabled || m_max.enabled)
        recompute();
    ListFilter::change();
}

void HalfLifeFilter::recompute()
{
    clearList();
    if (!m_index || (m_min.enabled && m_max.enabled && m_max.lambda > m_min.lambda))
        return;
    // A minimum half-life is a maximum decay constant.
    for (int i = 0; i < m_index->count(); ++i) {
        const Nuclide* node = m_index->items(i);
        if ((!m_min.enabled || node->decayConstant <= m_min.lambda)
            && (!m_max.enabled || node->decayConstant >= m_max.lambda))
            addNode(node);
    }
}

void HalfLifeFilter::assign(const HalfLifeFilter& source)
{
    m_min = source.m_min;
    m_max = source.m_max;
    ListFilter::assign(source);
}

// The combination

AdvancedFilter::AdvancedFilter(const NuclideIndex* index, SpectraFiles& spectra)
    : m_aMass(index)
    , m_ancestors(index)
    , m_daughters(index)
    , m_decay(index)
    , m_halfLifeTime(index)
    , m_spectrum(spectra)
{
    for (ListFilter* sub : std::initializer_list<ListFilter*>{&m_aMass, &m_ancestors, &m_daughters, &m_decay,
                                                              &m_halfLifeTime, &m_spectrum})
        sub->onChange = [this](ListFilter*) { subFilterChanged(); };
}

void AdvancedFilter::subFilterChanged()
{
    if (enabled() && !m_assigning)
        change();
}

void AdvancedFilter::apply()
{
    clearList();
    m_ignored = true;
    const std::pair<bool, const ListFilter*> criteria[] = {
        {m_aMass.active(), &m_aMass}, {m_ancestors.active(), &m_ancestors},       {m_daughters.active(), &m_daughters},
        {m_decay.active(), &m_decay}, {m_halfLifeTime.active(), &m_halfLifeTime}, {m_spectrum.active(), &m_spectrum},
    };
    for (const auto& [active, sub] : criteria) {
        if (!active)
            continue;
        if (m_ignored) {
            m_nuclideList = sub->nuclides();
            m_elementsOfNuclideFilter = sub->elementsOfNuclideFilter();
            m_ignored = false;
        } else {
            keepOnly(sub->nuclides());
        }
    }
}

void AdvancedFilter::assign(const AdvancedFilter& source)
{
    // The criteria's own notices are not passed on; the one change at the end combines them.
    m_assigning = true;
    m_aMass.assign(source.m_aMass);
    m_ancestors.assign(source.m_ancestors);
    m_daughters.assign(source.m_daughters);
    m_decay.assign(source.m_decay);
    m_halfLifeTime.assign(source.m_halfLifeTime);
    m_spectrum.assign(source.m_spectrum);
    m_assigning = false;
    m_formLastPage = source.m_formLastPage;
    m_formIsMoreWidth = source.m_formIsMoreWidth;
    SwitchedFilter::assign(source);
}

// The criteria in words

namespace {

QString number(double value)
{
    return QString::number(value, 'g', 4);
}

QString range(bool hasMin, const QString& min, bool hasMax, const QString& max)
{
    if (hasMin && hasMax)
        return min + QStringLiteral(" to ") + max;
    return hasMin ? QStringLiteral("from ") + min : QStringLiteral("up to ") + max;
}

QString counts(const RelativesCountSet& set)
{
    QStringList listed;
    for (int c = 0; c < 5; ++c)
        if (set.contains(static_cast<RelativesCount>(c)))
            listed << QString::number(c);
    return listed.join(QStringLiteral(", "));
}

} // namespace

QStringList activeCriteria(const AdvancedFilter& filter, UiLanguage language)
{
    QStringList lines;
    const MassNumberFilter& mass = filter.aMass();
    if (mass.active())
        lines << QStringLiteral("mass number ")
                + range(mass.minEnabled(), QString::number(mass.minValue()), mass.maxEnabled(),
                        QString::number(mass.maxValue()));
    if (filter.ancestors().active())
        lines << QStringLiteral("ancestors: ") + counts(filter.ancestors().countSet());
    if (filter.daughters().active())
        lines << QStringLiteral("daughters: ") + counts(filter.daughters().countSet());
    const DecayModeFilter& decay = filter.decay();
    if (decay.active()) {
        static const char* const modes[]
            = {"alpha", "beta-", "beta+", "IT", "SF", "alpha only", "beta- only", "beta+ only", "IT only"};
        QStringList chosen;
        for (int m = 0; m <= static_cast<int>(DecayFilterKind::IsomericTransitionOnly); ++m) {
            const auto mode = static_cast<DecayFilterKind>(m);
            if (decay.operation() == DecayModeMatch::Any ? decay.orSet().contains(mode) : decay.andSet().contains(mode))
                chosen << QLatin1String(modes[m]);
        }
        lines << (decay.operation() == DecayModeMatch::Any ? QStringLiteral("decay by any of: ")
                                                           : QStringLiteral("decay by all of: "))
                + chosen.join(QStringLiteral(", "));
    }
    const HalfLifeFilter& h = filter.halfLifeTime();
    if (h.active())
        lines << QStringLiteral("half-life ")
                + range(h.minEnabled(), number(h.minValue()) + u' ' + halfLifeUnitLabel(h.minUnits(), language),
                        h.maxEnabled(), number(h.maxValue()) + u' ' + halfLifeUnitLabel(h.maxUnits(), language));
    const SpectrumFilter& s = filter.spectrum();
    if (s.active()) {
        static const char* const names[] = {"energy per decay",
                                            "alpha energy per decay",
                                            "beta energy per decay",
                                            "photon energy per decay",
                                            "fission energy per decay",
                                            "alpha share",
                                            "beta share",
                                            "photon share",
                                            "fission share of decays",
                                            "alpha line energy",
                                            "beta line energy",
                                            "photon line energy",
                                            "alpha line energy per decay",
                                            "beta line energy per decay",
                                            "photon line energy per decay"};
        for (int o = 0; o < SpectrumCriterionCount; ++o) {
            const auto option = static_cast<SpectrumCriterion>(o);
            if (!s.options().contains(option))
                continue;
            const double scale = isFractionOption(option) ? 100 : 1;
            lines << QLatin1String(names[o]) + u' ' + number(s.min(option) * scale) + QStringLiteral(" to ")
                    + number(s.max(option) * scale)
                    + (isFractionOption(option) ? QStringLiteral(" %") : QStringLiteral(" MeV"));
        }
    }
    return lines;
}

} // namespace kav
