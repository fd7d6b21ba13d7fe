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
    return static_cast<float>(kLn2 / value * TimeUnitsPerDayA(units));
}

} // namespace

// Mass number

void MassNumberFilter::SetMinEnabled(bool value)
{
    if (value == FMinEnabled)
        return;
    FMinEnabled = value;
    Change();
}

void MassNumberFilter::SetMaxEnabled(bool value)
{
    if (value == FMaxEnabled)
        return;
    FMaxEnabled = value;
    Change();
}

void MassNumberFilter::SetMinValue(int value)
{
    const auto clamped = static_cast<std::uint16_t>(std::clamp<int>(value, Lowest, Highest));
    if (clamped == FMinValue)
        return;
    FMinValue = clamped;
    if (FMinEnabled)
        Change();
}

void MassNumberFilter::SetMaxValue(int value)
{
    const auto clamped = static_cast<std::uint16_t>(std::clamp<int>(value, Lowest, Highest));
    if (clamped == FMaxValue)
        return;
    FMaxValue = clamped;
    Change();
}

bool MassNumberFilter::Active() const
{
    return (FMinEnabled || FMaxEnabled) && !(FMinEnabled && FMaxEnabled && FMaxValue < FMinValue);
}

void MassNumberFilter::Change()
{
    if (FMinEnabled || FMaxEnabled)
        Recompute();
    ListFilter::Change();
}

void MassNumberFilter::Recompute()
{
    ClearList();
    if (!FIndex || (FMinEnabled && FMaxEnabled && FMaxValue < FMinValue))
        return;
    for (int i = 0; i < FIndex->Count(); ++i) {
        const Nuclide* node = FIndex->Items(i);
        if ((!FMinEnabled || node->AMassInt >= FMinValue) && (!FMaxEnabled || node->AMassInt <= FMaxValue))
            AddNode(node);
    }
}

void MassNumberFilter::Assign(const MassNumberFilter& source)
{
    FMinEnabled = source.FMinEnabled;
    FMaxEnabled = source.FMaxEnabled;
    FMinValue = source.FMinValue;
    FMaxValue = source.FMaxValue;
    ListFilter::Assign(source);
}

// Numbers of ancestors and daughters

void RelativesCountFilter::SetCountSet(const RelativesCountSet& value)
{
    const auto counts = RelativesCountSet::fromRaw(value.raw() & 0x1F);
    if (counts == FCountSet)
        return;
    FCountSet = counts;
    if (Enabled())
        Change();
}

void RelativesCountFilter::Assign(const RelativesCountFilter& source)
{
    FCountSet = source.FCountSet;
    SwitchedFilter::Assign(source);
}

void RelativesCountFilter::Apply()
{
    ClearList();
    if (!FIndex)
        return;
    for (std::size_t c = 0; c < 5; ++c)
        if (FCountSet.contains(static_cast<RelativesCount>(c)))
            AddList(CountLists()[c], CountElements()[c]);
}

// Decay modes

void DecayModeFilter::SetOperation(DecayModeMatch value)
{
    if (value == FOperation)
        return;
    FOperation = value;
    if (Enabled())
        Change();
}

void DecayModeFilter::SetAndSet(const DecayModesAllOf& value)
{
    const auto modes = DecayModesAllOf::fromRaw(value.raw() & 0x1F); // alpha to SF
    if (modes == FAndSet)
        return;
    FAndSet = modes;
    if (Enabled() && FOperation == foAnd)
        Change();
}

void DecayModeFilter::SetOrSet(const DecayModesAnyOf& value)
{
    const auto modes = DecayModesAnyOf::fromRaw(value.raw() & 0x1FF); // alpha to "IT only"
    if (modes == FOrSet)
        return;
    FOrSet = modes;
    if (Enabled() && FOperation == foOr)
        Change();
}

bool DecayModeFilter::Active() const
{
    return Enabled() && (FOperation == foOr ? !FOrSet.empty() : !FAndSet.empty());
}

void DecayModeFilter::Assign(const DecayModeFilter& source)
{
    FOperation = source.FOperation;
    FAndSet = source.FAndSet;
    FOrSet = source.FOrSet;
    SwitchedFilter::Assign(source);
}

void DecayModeFilter::Apply()
{
    ClearList();
    if (!FIndex)
        return;
    const auto& lists = FIndex->DecayFilterLists();
    if (FOperation == foOr) {
        for (int mode = dfxAlpha; mode <= dfxITOnly; ++mode)
            if (FOrSet.contains(static_cast<DecayFilterKind>(mode)))
                AddList(lists[static_cast<std::size_t>(mode)],
                        FIndex->DecayFilterElements()[static_cast<std::size_t>(mode)]);
        return;
    }
    if (FAndSet.empty())
        return;
    const DecayFilterKind first = FAndSet.lowest();
    for (const NuclideList::Entry& e : lists[first].Items())
        AddNode(e.node);
    for (int mode = first + 1; mode <= dfxSF; ++mode)
        if (FAndSet.contains(static_cast<DecayFilterKind>(mode)))
            KeepOnly(lists[static_cast<std::size_t>(mode)]);
}

// Half-life

HalfLifeFilter::HalfLifeFilter(const NuclideIndex* index)
    : FIndex(index)
{
    if (FIndex && FIndex->Count() > 0) {
        const HalfLifeExtreme& shortest = FIndex->ShortestHalfLife();
        const HalfLifeExtreme& longest = FIndex->LongestHalfLife();
        FMin = {false, shortest.HalfLife, shortest.HalfLifeUnit, shortest.Lr};
        FMax = {false, longest.HalfLife, longest.HalfLifeUnit, longest.Lr};
        return;
    }
    FMin = {false, kShortestWithoutIndex, tuMkSec, lambdaOf(kShortestWithoutIndex, tuMkSec)};
    FMax = {false, kLongestWithoutIndex, tuYear, lambdaOf(kLongestWithoutIndex, tuYear)};
}

void HalfLifeFilter::ValueAndUnitOfDays(double days, float& value, TimeUnit& unit)
{
    if (days > 1) {
        const double years = days * TimeUnitsPerDayA(tuYear);
        unit = years > 1 ? tuYear : tuDay;
        value = static_cast<float>(unit == tuYear ? years : days);
        return;
    }
    for (TimeUnit u : {tuHour, tuMin, tuSec, tuMSec}) {
        if (days * TimeUnitsPerDayA(u) >= 1) {
            unit = u;
            value = static_cast<float>(days * TimeUnitsPerDayA(u));
            return;
        }
    }
    unit = tuMkSec;
    value = static_cast<float>(days * TimeUnitsPerDayA(tuMkSec));
}

void HalfLifeFilter::SetValue(End& end, float value)
{
    if (value == end.Value)
        return;
    end.Value = value;
    end.Lambda = lambdaOf(value, end.Units);
    if (end.Enabled)
        Change();
}

void HalfLifeFilter::SetUnits(End& end, TimeUnit value)
{
    if (value == end.Units || value > tuMkSec)
        return;
    // The same time in the new unit; the decay constant stays.
    end.Value = static_cast<float>(end.Value * TimeUnitsPerDayA(value) / TimeUnitsPerDayA(end.Units));
    end.Units = value;
    if (end.Enabled)
        Change();
}

void HalfLifeFilter::SetLambda(End& end, float value)
{
    if (value == end.Lambda)
        return;
    end.Lambda = value;
    ValueAndUnitOfDays(kLn2 / value, end.Value, end.Units);
    if (end.Enabled)
        Change();
}

void HalfLifeFilter::SetMinEnabled(bool value)
{
    if (value == FMin.Enabled)
        return;
    FMin.Enabled = value;
    Change();
}

void HalfLifeFilter::SetMaxEnabled(bool value)
{
    if (value == FMax.Enabled)
        return;
    FMax.Enabled = value;
    Change();
}

void HalfLifeFilter::SetMinValue(float value)
{
    SetValue(FMin, value);
}

void HalfLifeFilter::SetMaxValue(float value)
{
    SetValue(FMax, value);
}

void HalfLifeFilter::SetMinUnits(TimeUnit value)
{
    SetUnits(FMin, value);
}

void HalfLifeFilter::SetMaxUnits(TimeUnit value)
{
    SetUnits(FMax, value);
}

void HalfLifeFilter::SetMinLambda(float value)
{
    SetLambda(FMin, value);
}

void HalfLifeFilter::SetMaxLambda(float value)
{
    SetLambda(FMax, value);
}

void HalfLifeFilter::SetAutoMinMaxValues()
{
    if (!FIndex || FIndex->Count() == 0)
        return;
    const HalfLifeExtreme& shortest = FIndex->ShortestHalfLife();
    const HalfLifeExtreme& longest = FIndex->LongestHalfLife();
    FMin.Value = shortest.HalfLife;
    FMin.Units = shortest.HalfLifeUnit;
    FMin.Lambda = shortest.Lr;
    FMax.Value = longest.HalfLife;
    FMax.Units = longest.HalfLifeUnit;
    FMax.Lambda = longest.Lr;
    if (FMin.Enabled || FMax.Enabled)
        Change();
}

bool HalfLifeFilter::Active() const
{
    return (FMin.Enabled || FMax.Enabled) && !(FMin.Enabled && FMax.Enabled && FMax.Lambda > FMin.Lambda);
}

void HalfLifeFilter::Change()
{
    if (FMin.Enabled || FMax.Enabled)
        Recompute();
    ListFilter::Change();
}

void HalfLifeFilter::Recompute()
{
    ClearList();
    if (!FIndex || (FMin.Enabled && FMax.Enabled && FMax.Lambda > FMin.Lambda))
        return;
    // A minimum half-life is a maximum decay constant.
    for (int i = 0; i < FIndex->Count(); ++i) {
        const Nuclide* node = FIndex->Items(i);
        if ((!FMin.Enabled || node->Lr <= FMin.Lambda) && (!FMax.Enabled || node->Lr >= FMax.Lambda))
            AddNode(node);
    }
}

void HalfLifeFilter::Assign(const HalfLifeFilter& source)
{
    FMin = source.FMin;
    FMax = source.FMax;
    ListFilter::Assign(source);
}

// The combination

AdvancedFilter::AdvancedFilter(const NuclideIndex* index, SpectraFiles& spectra)
    : FAMass(index)
    , FAncestors(index)
    , FDaughters(index)
    , FDecay(index)
    , FHalfLifeTime(index)
    , FSpectrum(spectra)
{
    for (ListFilter* sub :
         std::initializer_list<ListFilter*>{&FAMass, &FAncestors, &FDaughters, &FDecay, &FHalfLifeTime, &FSpectrum})
        sub->OnChange = [this](ListFilter*) { SubFilterChanged(); };
}

void AdvancedFilter::SubFilterChanged()
{
    if (Enabled() && !FAssigning)
        Change();
}

void AdvancedFilter::Apply()
{
    ClearList();
    FIgnored = true;
    const std::pair<bool, const ListFilter*> criteria[] = {
        {FAMass.Active(), &FAMass}, {FAncestors.Active(), &FAncestors},       {FDaughters.Active(), &FDaughters},
        {FDecay.Active(), &FDecay}, {FHalfLifeTime.Active(), &FHalfLifeTime}, {FSpectrum.Active(), &FSpectrum},
    };
    for (const auto& [active, sub] : criteria) {
        if (!active)
            continue;
        if (FIgnored) {
            FNuclideList = sub->Nuclides();
            FElementsOfNuclideFilter = sub->ElementsOfNuclideFilter();
            FIgnored = false;
        } else {
            KeepOnly(sub->Nuclides());
        }
    }
}

void AdvancedFilter::Assign(const AdvancedFilter& source)
{
    // The criteria's own notices are not passed on; the one change at the end combines them.
    FAssigning = true;
    FAMass.Assign(source.FAMass);
    FAncestors.Assign(source.FAncestors);
    FDaughters.Assign(source.FDaughters);
    FDecay.Assign(source.FDecay);
    FHalfLifeTime.Assign(source.FHalfLifeTime);
    FSpectrum.Assign(source.FSpectrum);
    FAssigning = false;
    FFormLastPage = source.FFormLastPage;
    FFormIsMoreWidth = source.FFormIsMoreWidth;
    SwitchedFilter::Assign(source);
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

QStringList ActiveCriteria(const AdvancedFilter& filter, UiLanguage language)
{
    QStringList lines;
    const MassNumberFilter& mass = filter.AMass();
    if (mass.Active())
        lines << QStringLiteral("mass number ")
                + range(mass.MinEnabled(), QString::number(mass.MinValue()), mass.MaxEnabled(),
                        QString::number(mass.MaxValue()));
    if (filter.Ancestors().Active())
        lines << QStringLiteral("ancestors: ") + counts(filter.Ancestors().CountSet());
    if (filter.Daughters().Active())
        lines << QStringLiteral("daughters: ") + counts(filter.Daughters().CountSet());
    const DecayModeFilter& decay = filter.Decay();
    if (decay.Active()) {
        static const char* const modes[]
            = {"alpha", "beta-", "beta+", "IT", "SF", "alpha only", "beta- only", "beta+ only", "IT only"};
        QStringList chosen;
        for (int m = dfxAlpha; m <= dfxITOnly; ++m) {
            const auto mode = static_cast<DecayFilterKind>(m);
            if (decay.Operation() == foOr ? decay.OrSet().contains(mode) : decay.AndSet().contains(mode))
                chosen << QLatin1String(modes[m]);
        }
        lines << (decay.Operation() == foOr ? QStringLiteral("decay by any of: ") : QStringLiteral("decay by all of: "))
                + chosen.join(QStringLiteral(", "));
    }
    const HalfLifeFilter& h = filter.HalfLifeTime();
    if (h.Active())
        lines << QStringLiteral("half-life ")
                + range(h.MinEnabled(), number(h.MinValue()) + u' ' + HalfLifeUnitLabel(h.MinUnits(), language),
                        h.MaxEnabled(), number(h.MaxValue()) + u' ' + HalfLifeUnitLabel(h.MaxUnits(), language));
    const SpectrumFilter& s = filter.Spectrum();
    if (s.Active()) {
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
            if (!s.Options().contains(option))
                continue;
            const double scale = IsFractionOption(option) ? 100 : 1;
            lines << QLatin1String(names[o]) + u' ' + number(s.Min(option) * scale) + QStringLiteral(" to ")
                    + number(s.Max(option) * scale)
                    + (IsFractionOption(option) ? QStringLiteral(" %") : QStringLiteral(" MeV"));
        }
    }
    return lines;
}

} // namespace kav
