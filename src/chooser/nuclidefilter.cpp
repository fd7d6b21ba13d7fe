#include "chooser/nuclidefilter.h"

namespace kav {

namespace {

ElementSet intersect(const ElementSet& a, const ElementSet& b)
{
    ElementSet r;
    for (int e = 0; e < ElementCount; ++e)
        if (a.contains(static_cast<ChemicalElement>(e)) && b.contains(static_cast<ChemicalElement>(e)))
            r.insert(static_cast<ChemicalElement>(e));
    return r;
}

} // namespace

QStringList ListFileLines(const QByteArray& text)
{
    QStringList lines;
    for (QByteArray line : text.split('\n')) {
        line.replace(' ', QByteArray()).replace('\t', QByteArray()).replace('\r', QByteArray());
        if (!line.isEmpty())
            lines << QString::fromLocal8Bit(line);
    }
    return lines;
}

NuclideFilter::NuclideFilter(const NuclideIndex& index, SpectraFiles& spectra)
    : FIndex(index)
    , FAdvanced(&index, spectra)
{
    FAdvanced.OnChange = [this](ListFilter*) {
        if (!FAssigning)
            Change();
    };
    FElementSet = FIndex.Elements();
    std::vector<NuclideList::Entry> all;
    all.reserve(static_cast<std::size_t>(FIndex.Count()));
    for (int i = 0; i < FIndex.Count(); ++i)
        all.push_back({FIndex.Items(i)->Name.toString(), FIndex.Items(i)});
    FNuclideList.Assign(std::move(all));
    FElementsOfNuclideFilter = FElementSet;
    Recompute();
}

void NuclideFilter::Recompute()
{
    FMixSet = FIndex.Elements();
    if (FUseElementFilter)
        FMixSet = intersect(FMixSet, FElementSet);
    if (FUseNuclideFilter)
        FMixSet = intersect(FMixSet, FElementsOfNuclideFilter);
    RebuildFullCollections();
}

void NuclideFilter::RebuildFullCollections()
{
    FFullNuclideList.Clear();
    if (!FAdvanced.Enabled() || FAdvanced.Ignored()) {
        FFullElementSet = FMixSet;
        for (const NuclideList::Entry& e : FNuclideList.Items())
            if (e.node && FFullElementSet.contains(e.node->Element))
                FFullNuclideList.Add(e.name, e.node);
    } else {
        // The elements of the nuclides offered, not of every nuclide the criteria pass: an
        // element whose passing nuclides are all left out by the other filters is not offered.
        FFullElementSet.clear();
        for (const NuclideList::Entry& e : FNuclideList.Items())
            if (e.node && FMixSet.contains(e.node->Element) && FAdvanced.Nuclides().IndexOf(e.name) >= 0) {
                FFullNuclideList.Add(e.name, e.node);
                FFullElementSet.insert(e.node->Element);
            }
    }
}

void NuclideFilter::Change()
{
    RebuildFullCollections();
    ListFilter::Change();
}

void NuclideFilter::SetElementSet(const ElementSet& value)
{
    if (value == FElementSet)
        return;
    FElementSet = value;
    Recompute();
    Change();
}

void NuclideFilter::SetUseElementFilter(bool value)
{
    if (value == FUseElementFilter)
        return;
    FUseElementFilter = value;
    Recompute();
    Change();
}

void NuclideFilter::SetUseNuclideFilter(bool value)
{
    if (value == FUseNuclideFilter)
        return;
    FUseNuclideFilter = value;
    Recompute();
    Change();
}

void NuclideFilter::SetUseStable(bool value)
{
    if (value == FUseStable)
        return;
    FUseStable = value;
    Change();
}

void NuclideFilter::Resolve()
{
    NuclideList resolved(true);
    for (const NuclideList::Entry& e : FNuclideList.Items())
        if (const Nuclide* node = FIndex.FindNuclide(QStringView(e.name).left(7)))
            resolved.Add(node->Name.toString(), node);
    FNuclideList = std::move(resolved);
}

void NuclideFilter::SetNuclideList(const QStringList& names)
{
    NuclideList list;
    for (const QString& name : names)
        list.Add(name);
    SetNuclideList(list);
}

void NuclideFilter::SetNuclideList(const NuclideList& list)
{
    FNuclideList = NuclideList(true);
    for (const NuclideList::Entry& e : list.Items())
        FNuclideList.Add(e.name, e.node);
    Resolve();
    FElementsOfNuclideFilter.clear();
    for (const NuclideList::Entry& e : FNuclideList.Items())
        FElementsOfNuclideFilter.insert(e.node->Element);
    Recompute();
    Change();
}

void NuclideFilter::Assign(const NuclideFilter& source)
{
    FAssigning = true;
    FAdvanced.Assign(source.FAdvanced);
    FAssigning = false;
    SaveElementSet = source.SaveElementSet;
    SaveNuclideList = source.SaveNuclideList;
    FUseElementFilter = source.FUseElementFilter;
    FUseNuclideFilter = source.FUseNuclideFilter;
    FUseStable = source.FUseStable;
    FElementSet = source.FElementSet;
    FMixSet = source.FMixSet;
    FFullNuclideList = source.FFullNuclideList;
    FFullElementSet = source.FFullElementSet;
    FNuclideList = source.FNuclideList;
    FElementsOfNuclideFilter = source.FElementsOfNuclideFilter;
    Change();
}

std::array<std::int32_t, 4> EncodeElementSet(const ElementSet& set)
{
    std::array<std::uint32_t, 4> bits{};
    for (int e = 0; e < 100; ++e)
        if (set.contains(static_cast<ChemicalElement>(e)))
            bits[static_cast<std::size_t>(e / 32)] |= 1u << (e % 32);
    return {static_cast<std::int32_t>(bits[0]), static_cast<std::int32_t>(bits[1]), static_cast<std::int32_t>(bits[2]),
            static_cast<std::int32_t>(bits[3])};
}

ElementSet DecodeElementSet(const std::array<std::int32_t, 4>& stored)
{
    ElementSet set;
    for (int e = 0; e < 100; ++e)
        if (static_cast<std::uint32_t>(stored[static_cast<std::size_t>(e / 32)]) >> (e % 32) & 1u)
            set.insert(static_cast<ChemicalElement>(e));
    return set;
}

std::array<std::int32_t, 4> NuclideFilter::StoredElementSet() const
{
    return EncodeElementSet(FElementSet);
}

void NuclideFilter::ReadStoredElementSet(const std::array<std::int32_t, 4>& stored)
{
    FElementSet = DecodeElementSet(stored);
    Recompute();
}

bool NuclideFilter::ElementSetStored() const
{
    return SaveElementSet == svAlways || (SaveElementSet == svOnlyIfUse && FUseElementFilter);
}

bool NuclideFilter::NuclideListStored() const
{
    return FUseNuclideFilter && SaveNuclideList != svNever;
}

bool NuclideFilter::LoadElementList(const QByteArray& text)
{
    ElementSet found;
    for (const QString& line : ListFileLines(text)) {
        const ChemicalElement e = ElementBySymbol(line);
        if (e != NoElement)
            found.insert(e);
    }
    if (found.empty())
        return false;
    FElementSet = found;
    FUseElementFilter = true;
    Recompute();
    Change();
    return true;
}

bool NuclideFilter::LoadNuclideList(const QByteArray& text)
{
    const QStringList lines = ListFileLines(text);
    if (lines.isEmpty())
        return false;
    FUseNuclideFilter = true;
    SetNuclideList(lines);
    return true;
}

} // namespace kav
