#include "chooser/rnxsimplefilter.h"

namespace kav {

TQzRNXSimpleFilter::TQzRNXSimpleFilter() = default;

void TQzRNXSimpleFilter::Change()
{
    if (OnChange)
        OnChange(this);
}

void TQzRNXSimpleFilter::Assign(const TQzRNXSimpleFilter& source)
{
    FRNXList = source.FRNXList;
    FElementByRNXFilterSet = source.FElementByRNXFilterSet;
    Change();
}

void TQzRNXSimpleFilter::ClearList()
{
    FRNXList.Clear();
    FElementByRNXFilterSet.clear();
}

void TQzRNXSimpleFilter::AddNode(const Nuclide* node)
{
    FRNXList.Add(node->Name.toString(), node);
    FElementByRNXFilterSet.insert(node->Element);
}

void TQzRNXSimpleFilter::AddList(const NuclideList& list, const ElementSet& elements)
{
    for (const NuclideList::Entry& e : list.Items())
        FRNXList.Add(e.name, e.node);
    for (int e = 0; e < ElementCount; ++e)
        if (elements.contains(static_cast<ChemicalElement>(e)))
            FElementByRNXFilterSet.insert(static_cast<ChemicalElement>(e));
}

void TQzRNXSimpleFilter::KeepOnly(const NuclideList& other)
{
    NuclideList kept(true);
    FElementByRNXFilterSet.clear();
    for (const NuclideList::Entry& e : FRNXList.Items())
        if (other.IndexOf(e.name) >= 0) {
            kept.Add(e.name, e.node);
            if (e.node)
                FElementByRNXFilterSet.insert(e.node->Element);
        }
    FRNXList = std::move(kept);
}

void TQzRNXSimpleAdvFilter::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Change();
}

void TQzRNXSimpleAdvFilter::Change()
{
    if (FEnabled)
        Apply();
    TQzRNXSimpleFilter::Change();
}

void TQzRNXSimpleAdvFilter::Assign(const TQzRNXSimpleAdvFilter& source)
{
    FEnabled = source.FEnabled;
    TQzRNXSimpleFilter::Assign(source);
}

} // namespace kav
