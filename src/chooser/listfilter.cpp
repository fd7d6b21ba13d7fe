#include "chooser/listfilter.h"

namespace kav {

ListFilter::ListFilter() = default;

void ListFilter::Change()
{
    if (OnChange)
        OnChange(this);
}

void ListFilter::Assign(const ListFilter& source)
{
    FNuclideList = source.FNuclideList;
    FElementsOfNuclideFilter = source.FElementsOfNuclideFilter;
    Change();
}

void ListFilter::ClearList()
{
    FNuclideList.Clear();
    FElementsOfNuclideFilter.clear();
}

void ListFilter::AddNode(const Nuclide* node)
{
    FNuclideList.Add(node->Name.toString(), node);
    FElementsOfNuclideFilter.insert(node->Element);
}

void ListFilter::AddList(const NuclideList& list, const ElementSet& elements)
{
    for (const NuclideList::Entry& e : list.Items())
        FNuclideList.Add(e.name, e.node);
    for (int e = 0; e < ElementCount; ++e)
        if (elements.contains(static_cast<ChemicalElement>(e)))
            FElementsOfNuclideFilter.insert(static_cast<ChemicalElement>(e));
}

void ListFilter::KeepOnly(const NuclideList& other)
{
    NuclideList kept(true);
    FElementsOfNuclideFilter.clear();
    for (const NuclideList::Entry& e : FNuclideList.Items())
        if (other.IndexOf(e.name) >= 0) {
            kept.Add(e.name, e.node);
            if (e.node)
                FElementsOfNuclideFilter.insert(e.node->Element);
        }
    FNuclideList = std::move(kept);
}

void SwitchedFilter::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Change();
}

void SwitchedFilter::Change()
{
    if (FEnabled)
        Apply();
    ListFilter::Change();
}

void SwitchedFilter::Assign(const SwitchedFilter& source)
{
    FEnabled = source.FEnabled;
    ListFilter::Assign(source);
}

} // namespace kav
