#include "data/bioassaydata.h"

namespace kav {

namespace {

struct MeasuredRule {
    StoredNuclideId intake;
    StoredNuclideId measured;
    bool excretaToo; // also urine and faeces
};

const MeasuredRule kMeasuredNuclides[] = {
    {{_Ru, "106"}, {_Rh, "106"}, true},  {{_Cs, "137"}, {_Ba, "137m"}, true}, {{_Ra, "228"}, {_Ac, "228"}, false},
    {{_Th, "228"}, {_Pb, "212"}, false}, {{_Th, "232"}, {_Ac, "228"}, false}, {{_U, "238"}, {_Th, "234"}, false},
};

} // namespace

const std::array<float, BioassayTimeCount>& BioassayTimes()
{
    static const std::array<float, BioassayTimeCount> times = [] {
        std::array<float, BioassayTimeCount> t{};
        std::size_t i = 0;
        auto run = [&](double from, double to, double step) {
            for (double v = from; v <= to + step / 2; v += step)
                t[i++] = static_cast<float>(v);
        };
        t[i++] = 0;
        run(1.0 / 24, 3.0 / 24, 1.0 / 24);
        run(0.25, 2, 0.125);
        run(2.25, 5, 0.25);
        run(5.5, 10, 0.5);
        run(11, 100, 1);
        run(110, 360, 10);
        run(365, 370, 5);
        run(380, 1090, 10);
        run(1095, 1100, 5);
        run(1200, 3600, 100);
        t[i++] = 3650;
        t[i++] = 4000;
        run(5000, 18000, 1000);
        t[i++] = 18250;
        return t;
    }();
    return times;
}

StoredNuclideId MeasuredNuclide(const StoredNuclideId& intake, Compartment organ)
{
    const bool excreta = organ == soDailyUrine || organ == soDailyFaeces;
    for (const MeasuredRule& rule : kMeasuredNuclides)
        if (rule.intake == intake && (rule.excretaToo || !excreta))
            return rule.measured;
    return intake;
}

void BioassayData::GetDRNList(QStringList& list) const
{
    list.clear();
    if (!IsLoaded())
        return;
    const MaterialData* reference = nullptr;
    if (!FIngestData.empty())
        reference = FIngestData.front().get();
    else if (!FAerosolData.empty())
        reference = FAerosolData.front()->FAerosolDataArr[0].get();
    else if (!FGasData.empty())
        reference = FGasData.front().get();
    if (!reference)
        return;
    for (const BioassayFunctions& a : reference->FActivity)
        list << DoseDataFileName(a.FNuclideId);
}

bool BioassayData::GetActivitiesNew(IntakeRoute path, int compoundIndex, int amadIndex,
                                    MaterialBioassay& activity) const
{
    if (path != ipInhalation)
        amadIndex = 0;
    const MaterialData* m = SelectCompound(path, compoundIndex, amadIndex);
    if (!m || m->FActivity.empty() || !(m->FActivity.front().FNuclideId == FNuclideId))
        return false;
    activity = {};
    activity.FOrganPresentSet = m->FActivity.front().FOrganPresentSet;
    for (int organ = 0; organ < CompartmentCount; ++organ)
        activity.FMeasuredNuclides[static_cast<std::size_t>(organ)]
            = MeasuredNuclide(FNuclideId, static_cast<Compartment>(organ));
    std::size_t current = 0;
    for (int organ = 0; organ < CompartmentCount; ++organ) {
        const auto o = static_cast<Compartment>(organ);
        if (!activity.FOrganPresentSet.contains(o))
            continue;
        const StoredNuclideId& wanted = activity.FMeasuredNuclides[static_cast<std::size_t>(organ)];
        if (!(m->FActivity[current].FNuclideId == wanted)) {
            const int found = m->FindRNIndex(wanted);
            if (found < 0)
                return false;
            current = static_cast<std::size_t>(found);
        }
        activity.FActivityData[static_cast<std::size_t>(organ)]
            = m->FActivity[current].FActivityData[static_cast<std::size_t>(organ)];
    }
    return true;
}

int BioassayData::MaxActivityCount(const MaterialBioassay& activity)
{
    std::size_t most = 0;
    for (int organ = 0; organ < CompartmentCount; ++organ)
        if (activity.FOrganPresentSet.contains(static_cast<Compartment>(organ)))
            most = std::max(most, activity.FActivityData[static_cast<std::size_t>(organ)].size());
    return static_cast<int>(most);
}

} // namespace kav
