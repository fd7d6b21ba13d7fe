#include "chooser/listfilter.h"

namespace kav {

ListFilter::ListFilter() = default;

void ListFilter::change()
{
    if (onChange)
        onChange(this);
}

void ListFilter::assign(const ListFilter& source)
{
    m_nuclideList = source.m_nuclideList;
    m_elementsOfNuclideFilter = source.m_elementsOfNuclideFilter;
    change();
}

void ListFilter::clearList()
{
    m_nuclideList.clear();
    m_elementsOfNuclideFilter.clear();
}

void ListFilter::addNode(const Nuclide* node)
{
    m_nuclideList.add(node->name.toString(), node);
    m_elementsOfNuclideFilter.insert(node->element);
}

void ListFilter::addList(const NuclideList& list, const ElementSet& elements)
{
    for (const NuclideList::Entry& e : list.items())
        m_nuclideList.add(e.name, e.node);
    for (std::size_t e = 0; e < ElementCount; ++e)
        if (elements.contains(static_cast<ChemicalElement>(e)))
            m_elementsOfNuclideFilter.insert(static_cast<ChemicalElement>(e));
}

void ListFilter::keepOnly(const NuclideList& other)
{
    NuclideList kept(true);
    m_elementsOfNuclideFilter.clear();
    for (const NuclideList::Entry& e : m_nuclideList.items())
        if (other.indexOf(e.name) >= 0) {
            kept.add(e.name, e.node);
            if (e.node)
                m_elementsOfNuclideFilter.insert(e.node->element);
        }
    m_nuclideList = std::move(kept);
}

void SwitchedFilter::setEnabled(bool value)
{
    if (value == m_enabled)
        return;
    m_enabled = value;
    change();
}

void SwitchedFilter::change()
{
    if (m_enabled)
        apply();
    ListFilter::change();
}

void SwitchedFilter::assign(const SwitchedFilter& source)
{
    m_enabled = source.m_enabled;
    ListFilter::assign(source);
}

} // namespace kav
