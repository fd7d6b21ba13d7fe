#include "chooser/rnxadvancedfilter.h"

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

void TQzRNXAMassFilter::SetMinEnabled(bool value)
{
    if (value == FMinEnabled)
        return;
    FMinEnabled = value;
    Change();
}

void TQzRNXAMassFilter::SetMaxEnabled(bool value)
{
    if (value == FMaxEnabled)
        return;
    FMaxEnabled = value;
    Change();
}

void TQzRNXAMassFilter::SetMinValue(int value)
{
    const auto clamped = static_cast<std::uint16_t>(std::clamp<int>(value, Lowest, Highest));
    if (clamped == FMinValue)
        return;
    FMinValue = clamped;
    if (FMinEnabled)
        Change();
}

void TQzRNXAMassFilter::SetMaxValue(int value)
{
    const auto clamped = static_cast<std::uint16_t>(std::clamp<int>(value, Lowest, Highest));
    if (clamped == FMaxValue)
        return;
    FMaxValue = clamped;
    Change();
}

bool TQzRNXAMassFilter::Active() const
{
    return (FMinEnabled || FMaxEnabled) && !(FMinEnabled && FMaxEnabled && FMaxValue < FMinValue);
}

void TQzRNXAMassFilter::Change()
{
    if (FMinEnabled || FMaxEnabled)
        Recompute();
    TQzRNXSimpleFilter::Change();
}

void TQzRNXAMassFilter::Recompute()
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

void TQzRNXAMassFilter::Assign(const TQzRNXAMassFilter& source)
{
    FMinEnabled = source.FMinEnabled;
    FMaxEnabled = source.FMaxEnabled;
    FMinValue = source.FMinValue;
    FMaxValue = source.FMaxValue;
    TQzRNXSimpleFilter::Assign(source);
}

// Numbers of ancestors and daughters

void TQzRNXChainCountFilter::SetCountSet(const TQzRNXAncestorsCountSet& value)
{
    const auto counts = TQzRNXAncestorsCountSet::fromRaw(value.raw() & 0x1F);
    if (counts == FCountSet)
        return;
    FCountSet = counts;
    if (Enabled())
        Change();
}

void TQzRNXChainCountFilter::Assign(const TQzRNXChainCountFilter& source)
{
    FCountSet = source.FCountSet;
    TQzRNXSimpleAdvFilter::Assign(source);
}

void TQzRNXChainCountFilter::Apply()
{
    ClearList();
    if (!FIndex)
        return;
    for (std::size_t c = 0; c < 5; ++c)
        if (FCountSet.contains(static_cast<TQzRNXAncestorsCount>(c)))
            AddList(CountLists()[c], CountElements()[c]);
}

// Decay modes

void TQzRNXDecayFilter::SetOperation(TQzRNXFilterOperation value)
{
    if (value == FOperation)
        return;
    FOperation = value;
    if (Enabled())
        Change();
}

void TQzRNXDecayFilter::SetAndSet(const TQzRNXAndDecayFilterSet& value)
{
    const auto modes = TQzRNXAndDecayFilterSet::fromRaw(value.raw() & 0x1F); // alpha to SF
    if (modes == FAndSet)
        return;
    FAndSet = modes;
    if (Enabled() && FOperation == foAnd)
        Change();
}

void TQzRNXDecayFilter::SetOrSet(const TQzRNXOrDecayFilterSet& value)
{
    const auto modes = TQzRNXOrDecayFilterSet::fromRaw(value.raw() & 0x1FF); // alpha to "IT only"
    if (modes == FOrSet)
        return;
    FOrSet = modes;
    if (Enabled() && FOperation == foOr)
        Change();
}

bool TQzRNXDecayFilter::Active() const
{
    return Enabled() && (FOperation == foOr ? !FOrSet.empty() : !FAndSet.empty());
}

void TQzRNXDecayFilter::Assign(const TQzRNXDecayFilter& source)
{
    FOperation = source.FOperation;
    FAndSet = source.FAndSet;
    FOrSet = source.FOrSet;
    TQzRNXSimpleAdvFilter::Assign(source);
}

void TQzRNXDecayFilter::Apply()
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

TQzRNXHalfLifeTimeFilter::TQzRNXHalfLifeTimeFilter(const NuclideIndex* index)
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

void TQzRNXHalfLifeTimeFilter::ValueAndUnitOfDays(double days, float& value, TimeUnit& unit)
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

void TQzRNXHalfLifeTimeFilter::SetValue(End& end, float value)
{
    if (value == end.Value)
        return;
    end.Value = value;
    end.Lambda = lambdaOf(value, end.Units);
    if (end.Enabled)
        Change();
}

void TQzRNXHalfLifeTimeFilter::SetUnits(End& end, TimeUnit value)
{
    if (value == end.Units || value > tuMkSec)
        return;
    // The same time in the new unit; the decay constant stays.
    end.Value = static_cast<float>(end.Value * TimeUnitsPerDayA(value) / TimeUnitsPerDayA(end.Units));
    end.Units = value;
    if (end.Enabled)
        Change();
}

void TQzRNXHalfLifeTimeFilter::SetLambda(End& end, float value)
{
    if (value == end.Lambda)
        return;
    end.Lambda = value;
    ValueAndUnitOfDays(kLn2 / value, end.Value, end.Units);
    if (end.Enabled)
        Change();
}

void TQzRNXHalfLifeTimeFilter::SetMinEnabled(bool value)
{
    if (value == FMin.Enabled)
        return;
    FMin.Enabled = value;
    Change();
}

void TQzRNXHalfLifeTimeFilter::SetMaxEnabled(bool value)
{
    if (value == FMax.Enabled)
        return;
    FMax.Enabled = value;
    Change();
}

void TQzRNXHalfLifeTimeFilter::SetMinValue(float value)
{
    SetValue(FMin, value);
}

void TQzRNXHalfLifeTimeFilter::SetMaxValue(float value)
{
    SetValue(FMax, value);
}

void TQzRNXHalfLifeTimeFilter::SetMinUnits(TimeUnit value)
{
    SetUnits(FMin, value);
}

void TQzRNXHalfLifeTimeFilter::SetMaxUnits(TimeUnit value)
{
    SetUnits(FMax, value);
}

void TQzRNXHalfLifeTimeFilter::SetMinLambda(float value)
{
    SetLambda(FMin, value);
}

void TQzRNXHalfLifeTimeFilter::SetMaxLambda(float value)
{
    SetLambda(FMax, value);
}

void TQzRNXHalfLifeTimeFilter::SetAutoMinMaxValues()
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

bool TQzRNXHalfLifeTimeFilter::Active() const
{
    return (FMin.Enabled || FMax.Enabled) && !(FMin.Enabled && FMax.Enabled && FMax.Lambda > FMin.Lambda);
}

void TQzRNXHalfLifeTimeFilter::Change()
{
    if (FMin.Enabled || FMax.Enabled)
        Recompute();
    TQzRNXSimpleFilter::Change();
}

void TQzRNXHalfLifeTimeFilter::Recompute()
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

void TQzRNXHalfLifeTimeFilter::Assign(const TQzRNXHalfLifeTimeFilter& source)
{
    FMin = source.FMin;
    FMax = source.FMax;
    TQzRNXSimpleFilter::Assign(source);
}

// The combination

TQzRNXAdvancedFilter::TQzRNXAdvancedFilter(const NuclideIndex* index, SpectraFiles& spectra)
    : FAMass(index)
    , FAncestors(index)
    , FDaughters(index)
    , FDecay(index)
    , FHalfLifeTime(index)
    , FSpectrum(spectra)
{
    for (TQzRNXSimpleFilter* sub : std::initializer_list<TQzRNXSimpleFilter*>{&FAMass, &FAncestors, &FDaughters,
                                                                              &FDecay, &FHalfLifeTime, &FSpectrum})
        sub->OnChange = [this](TQzRNXSimpleFilter*) { SubFilterChanged(); };
}

void TQzRNXAdvancedFilter::SubFilterChanged()
{
    if (Enabled() && !FAssigning)
        Change();
}

void TQzRNXAdvancedFilter::Apply()
{
    ClearList();
    FIgnored = true;
    const std::pair<bool, const TQzRNXSimpleFilter*> criteria[] = {
        {FAMass.Active(), &FAMass}, {FAncestors.Active(), &FAncestors},       {FDaughters.Active(), &FDaughters},
        {FDecay.Active(), &FDecay}, {FHalfLifeTime.Active(), &FHalfLifeTime}, {FSpectrum.Active(), &FSpectrum},
    };
    for (const auto& [active, sub] : criteria) {
        if (!active)
            continue;
        if (FIgnored) {
            FRNXList = sub->RNXList();
            FElementByRNXFilterSet = sub->ElementByRNXFilterSet();
            FIgnored = false;
        } else {
            KeepOnly(sub->RNXList());
        }
    }
}

void TQzRNXAdvancedFilter::Assign(const TQzRNXAdvancedFilter& source)
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
    TQzRNXSimpleAdvFilter::Assign(source);
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

QString counts(const TQzRNXAncestorsCountSet& set)
{
    QStringList listed;
    for (int c = 0; c < 5; ++c)
        if (set.contains(static_cast<TQzRNXAncestorsCount>(c)))
            listed << QString::number(c);
    return listed.join(QStringLiteral(", "));
}

} // namespace

QStringList ActiveCriteria(const TQzRNXAdvancedFilter& filter, UiLanguage language)
{
    QStringList lines;
    const TQzRNXAMassFilter& mass = filter.AMass();
    if (mass.Active())
        lines << QStringLiteral("mass number ")
                + range(mass.MinEnabled(), QString::number(mass.MinValue()), mass.MaxEnabled(),
                        QString::number(mass.MaxValue()));
    if (filter.Ancestors().Active())
        lines << QStringLiteral("ancestors: ") + counts(filter.Ancestors().CountSet());
    if (filter.Daughters().Active())
        lines << QStringLiteral("daughters: ") + counts(filter.Daughters().CountSet());
    const TQzRNXDecayFilter& decay = filter.Decay();
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
    const TQzRNXHalfLifeTimeFilter& h = filter.HalfLifeTime();
    if (h.Active())
        lines << QStringLiteral("half-life ")
                + range(h.MinEnabled(), number(h.MinValue()) + u' ' + HalfLifeUnitLabel(h.MinUnits(), language),
                        h.MaxEnabled(), number(h.MaxValue()) + u' ' + HalfLifeUnitLabel(h.MaxUnits(), language));
    const TQzRNXSpectrumFilter& s = filter.Spectrum();
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
        for (int o = 0; o < RNXSpectrumOptionCount; ++o) {
            const auto option = static_cast<TQzRNXSpectrumOption>(o);
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
