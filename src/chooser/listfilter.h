#pragma once

#include "nuclides/nuclideindex.h"

#include <functional>

namespace kav {

// A filter that holds a list of nuclides (sorted, without duplicates, each with its node) and
// the set of their elements.
class ListFilter {
public:
    using ChangeHandler = std::function<void(ListFilter* sender)>;

    ListFilter();
    virtual ~ListFilter() = default;

    const NuclideList& nuclides() const { return m_nuclideList; }
    const ElementSet& elementsOfNuclideFilter() const { return m_elementsOfNuclideFilter; }
    ChangeHandler onChange;

    // Raises OnChange; derived filters recompute first.
    virtual void change();
    void assign(const ListFilter& source);

protected:
    void clearList();
    void addNode(const Nuclide* node);
    void addList(const NuclideList& list, const ElementSet& elements);
    // Keeps the entries that another list holds too; the element set follows them.
    void keepOnly(const NuclideList& other);

    NuclideList m_nuclideList{true};
    ElementSet m_elementsOfNuclideFilter;
};

// A filter on one property of the nuclides that is switched on and off; while it is off its list
// is left as it was.
class SwitchedFilter : public ListFilter {
public:
    bool enabled() const { return m_enabled; }
    void setEnabled(bool value);
    // Recomputes the list when enabled, then raises OnChange.
    void change() override;
    void assign(const SwitchedFilter& source);

protected:
    virtual void apply() = 0;

private:
    bool m_enabled = false;
};

} // namespace kav
