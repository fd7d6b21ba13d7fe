#pragma once

#include "data/dosedata.h"

#include <memory>
#include <vector>

namespace kav {

// The nuclides of the mixture view, one loaded dose data object per row, read from the data
// folder of the preferences given.
class TVESKRNList {
public:
    explicit TVESKRNList(const TQzProgramPreference* preference);

    int Count() const { return static_cast<int>(FRNList.size()); }
    // Appends an entry and loads the nuclide into it; a failed load raises, the entry stays.
    TVESKRNDosesData* Add(const TBasicRNX& rn);
    // One entry holding Co-60; a failure to read it is raised.
    void CreateExample();
    TVESKRNDosesData* GetRNDosesData(int index) const;
    void Exchange(int index1, int index2);
    void Remove(int index);

private:
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    const TQzProgramPreference* FPreference;
    std::vector<std::unique_ptr<TVESKRNDosesData>> FRNList;
};

} // namespace kav
