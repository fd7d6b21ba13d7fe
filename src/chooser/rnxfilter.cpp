#include "chooser/rnxfilter.h"

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

TQzRNXFilter::TQzRNXFilter(const NuclideIndex& index, SpectraFiles& spectra)
    : FIndex(index)
    , FAdvanced(&index, spectra)
{
    FAdvanced.OnChange = [this](TQzRNXSimpleFilter*) {
        if (!FAssigning)
            Change();
    };
    FElementSet = FIndex.Elements();
    std::vector<NuclideList::Entry> all;
    all.reserve(static_cast<std::size_t>(FIndex.Count()));
    for (int i = 0; i < FIndex.Count(); ++i)
        all.push_back({FIndex.Items(i)->Name.toString(), FIndex.Items(i)});
    FRNXList.Assign(std::move(all));
    FElementByRNXFilterSet = FElementSet;
    Recompute();
}

void TQzRNXFilter::Recompute()
{
    FMixSet = FIndex.Elements();
    if (FUseElementFilter)
        FMixSet = intersect(FMixSet, FElementSet);
    if (FUseRNXFilter)
        FMixSet = intersect(FMixSet, FElementByRNXFilterSet);
    RebuildFullCollections();
}

void TQzRNXFilter::RebuildFullCollections()
{
    FFullRNXList.Clear();
    if (!FAdvanced.Enabled() || FAdvanced.Ignored()) {
        FFullElementSet = FMixSet;
        for (const NuclideList::Entry& e : FRNXList.Items())
            if (e.node && FFullElementSet.contains(e.node->Element))
                FFullRNXList.Add(e.name, e.node);
    } else {
        // The elements of the nuclides offered, not of every nuclide the criteria pass: an
        // element whose passing nuclides are all left out by the other filters is not offered.
        FFullElementSet.clear();
        for (const NuclideList::Entry& e : FRNXList.Items())
            if (e.node && FMixSet.contains(e.node->Element) && FAdvanced.RNXList().IndexOf(e.name) >= 0) {
                FFullRNXList.Add(e.name, e.node);
                FFullElementSet.insert(e.node->Element);
            }
    }
}

void TQzRNXFilter::Change()
{
    RebuildFullCollections();
    TQzRNXSimpleFilter::Change();
}

void TQzRNXFilter::SetElementSet(const ElementSet& value)
{
    if (value == FElementSet)
        return;
    FElementSet = value;
    Recompute();
    Change();
}

void TQzRNXFilter::SetUseElementFilter(bool value)
{
    if (value == FUseElementFilter)
        return;
    FUseElementFilter = value;
    Recompute();
    Change();
}

void TQzRNXFilter::SetUseRNXFilter(bool value)
{
    if (value == FUseRNXFilter)
        return;
    FUseRNXFilter = value;
    Recompute();
    Change();
}

void TQzRNXFilter::SetUseStable(bool value)
{
    if (value == FUseStable)
        return;
    FUseStable = value;
    Change();
}

void TQzRNXFilter::Resolve()
{
    NuclideList resolved(true);
    for (const NuclideList::Entry& e : FRNXList.Items())
        if (const Nuclide* node = FIndex.FindNuclide(QStringView(e.name).left(7)))
            resolved.Add(node->Name.toString(), node);
    FRNXList = std::move(resolved);
}

void TQzRNXFilter::SetRNXList(const QStringList& names)
{
    NuclideList list;
    for (const QString& name : names)
        list.Add(name);
    SetRNXList(list);
}

void TQzRNXFilter::SetRNXList(const NuclideList& list)
{
    FRNXList = NuclideList(true);
    for (const NuclideList::Entry& e : list.Items())
        FRNXList.Add(e.name, e.node);
    Resolve();
    FElementByRNXFilterSet.clear();
    for (const NuclideList::Entry& e : FRNXList.Items())
        FElementByRNXFilterSet.insert(e.node->Element);
    Recompute();
    Change();
}

void TQzRNXFilter::Assign(const TQzRNXFilter& source)
{
    FAssigning = true;
    FAdvanced.Assign(source.FAdvanced);
    FAssigning = false;
    SaveElementSet = source.SaveElementSet;
    SaveRNXList = source.SaveRNXList;
    FUseElementFilter = source.FUseElementFilter;
    FUseRNXFilter = source.FUseRNXFilter;
    FUseStable = source.FUseStable;
    FElementSet = source.FElementSet;
    FMixSet = source.FMixSet;
    FFullRNXList = source.FFullRNXList;
    FFullElementSet = source.FFullElementSet;
    FRNXList = source.FRNXList;
    FElementByRNXFilterSet = source.FElementByRNXFilterSet;
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

std::array<std::int32_t, 4> TQzRNXFilter::StoredElementSet() const
{
    return EncodeElementSet(FElementSet);
}

void TQzRNXFilter::ReadStoredElementSet(const std::array<std::int32_t, 4>& stored)
{
    FElementSet = DecodeElementSet(stored);
    Recompute();
}

bool TQzRNXFilter::ElementSetStored() const
{
    return SaveElementSet == svAlways || (SaveElementSet == svOnlyIfUse && FUseElementFilter);
}

bool TQzRNXFilter::RNXListStored() const
{
    return FUseRNXFilter && SaveRNXList != svNever;
}

bool TQzRNXFilter::LoadElementList(const QByteArray& text)
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

bool TQzRNXFilter::LoadRNXList(const QByteArray& text)
{
    const QStringList lines = ListFileLines(text);
    if (lines.isEmpty())
        return false;
    FUseRNXFilter = true;
    SetRNXList(lines);
    return true;
}

} // namespace kav
