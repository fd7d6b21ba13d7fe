#pragma once

#include "data/dosedata.h"

#include <memory>
#include <vector>

namespace kav {

// The nuclides of the mixture view, one loaded dose data object per row.
class TVESKRNList {
public:
    TVESKRNList();

    int Count() const { return static_cast<int>(FRNList.size()); }
    // Appends an entry and loads the nuclide into it; a failed load raises, the entry stays.
    TVESKRNDosesData* Add(const TBasicRNX& rn);
    // One entry holding Co-60. Any failure marks the start-up as failed and is raised again.
    void CreateExample();
    TVESKRNDosesData* GetRNDosesData(int index) const;
    void Exchange(int index1, int index2);
    void Remove(int index);

private:
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    std::vector<std::unique_ptr<TVESKRNDosesData>> FRNList;
};

} // namespace kav
