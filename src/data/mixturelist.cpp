#include "data/mixturelist.h"

#include "data/datamodule.h"

namespace kav {

TVESKRNList::TVESKRNList()
{
    FRNList.push_back(std::make_unique<TVESKRNDosesData>());
}

TVESKRNDosesData* TVESKRNList::Add(const TBasicRNX& rn)
{
    FRNList.push_back(std::make_unique<TVESKRNDosesData>());
    TVESKRNDosesData* entry = FRNList.back().get();
    entry->AssignRNuclide(rn);
    return entry;
}

void TVESKRNList::CreateExample()
{
    try {
        if (FRNList.size() != 1) {
            FRNList.clear();
            FRNList.push_back(std::make_unique<TVESKRNDosesData>());
        }
        FRNList.front()->AssignRNuclide(_Co, "60");
    } catch (...) {
        StartupFailed = true;
        throw;
    }
}

TVESKRNDosesData* TVESKRNList::GetRNDosesData(int index) const
{
    return Valid(index) ? FRNList[static_cast<std::size_t>(index)].get() : nullptr;
}

void TVESKRNList::Exchange(int index1, int index2)
{
    if (Valid(index1) && Valid(index2))
        std::swap(FRNList[static_cast<std::size_t>(index1)], FRNList[static_cast<std::size_t>(index2)]);
}

void TVESKRNList::Remove(int index)
{
    if (Valid(index))
        FRNList.erase(FRNList.begin() + index);
}

} // namespace kav
