#pragma once

#include "nuclides/nuclideindex.h"

#include <functional>

namespace kav {

// A filter that holds a list of nuclides (sorted, without duplicates, each with its node) and
// the set of their elements.
class TQzRNXSimpleFilter {
public:
    using ChangeHandler = std::function<void(TQzRNXSimpleFilter* sender)>;

    TQzRNXSimpleFilter();
    virtual ~TQzRNXSimpleFilter() = default;

    const NuclideList& RNXList() const { return FRNXList; }
    const ElementSet& ElementByRNXFilterSet() const { return FElementByRNXFilterSet; }
    ChangeHandler OnChange;

    // Raises OnChange; derived filters recompute first.
    virtual void Change();
    void Assign(const TQzRNXSimpleFilter& source);

protected:
    void ClearList();
    void AddNode(const Nuclide* node);
    void AddList(const NuclideList& list, const ElementSet& elements);
    // Keeps the entries that another list holds too; the element set follows them.
    void KeepOnly(const NuclideList& other);

    NuclideList FRNXList{true};
    ElementSet FElementByRNXFilterSet;
};

// A filter on one property of the nuclides that is switched on and off; while it is off its list
// is left as it was.
class TQzRNXSimpleAdvFilter : public TQzRNXSimpleFilter {
public:
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // Recomputes the list when enabled, then raises OnChange.
    void Change() override;
    void Assign(const TQzRNXSimpleAdvFilter& source);

protected:
    virtual void Apply() = 0;

private:
    bool FEnabled = false;
};

} // namespace kav
