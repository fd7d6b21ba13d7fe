#include "data/mixturelist.h"

namespace kav {

TVESKRNList::TVESKRNList(const TQzProgramPreference* preference)
    : FPreference(preference)
{
    FRNList.push_back(std::make_unique<TVESKRNDosesData>(FPreference));
}

TVESKRNDosesData* TVESKRNList::Add(const TBasicRNX& rn)
{
    FRNList.push_back(std::make_unique<TVESKRNDosesData>(FPreference));
    TVESKRNDosesData* entry = FRNList.back().get();
    entry->AssignRNuclide(rn);
    return entry;
}

void TVESKRNList::CreateExample()
{
    if (FRNList.size() != 1) {
        FRNList.clear();
        FRNList.push_back(std::make_unique<TVESKRNDosesData>(FPreference));
    }
    FRNList.front()->AssignRNuclide(_Co, "60");
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
