#include "data/bioassaydata.h"

namespace kav {

namespace {

struct MeasuredRule {
    StoredNuclideId intake;
    StoredNuclideId measured;
    bool excretaToo; // also urine and faeces
};

const MeasuredRule kMeasuredNuclides[] = {
    {{ChemicalElement::Ru, "106"}, {ChemicalElement::Rh, "106"}, true},
    {{ChemicalElement::Cs, "137"}, {ChemicalElement::Ba, "137m"}, true},
    {{ChemicalElement::Ra, "228"}, {ChemicalElement::Ac, "228"}, false},
    {{ChemicalElement::Th, "228"}, {ChemicalElement::Pb, "212"}, false},
    {{ChemicalElement::Th, "232"}, {ChemicalElement::Ac, "228"}, false},
    {{ChemicalElement::U, "238"}, {ChemicalElement::Th, "234"}, false},
};

} // namespace

const std::array<float, BioassayTimeCount>& bioassayTimes()
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

StoredNuclideId measuredNuclide(const StoredNuclideId& intake, Compartment organ)
{
    const bool excreta = organ == Compartment::DailyUrine || organ == Compartment::DailyFaeces;
    for (const MeasuredRule& rule : kMeasuredNuclides)
        if (rule.intake == intake && (rule.excretaToo || !excreta))
            return rule.measured;
    return intake;
}

void BioassayData::measuredNuclideFiles(QStringList& list) const
{
    list.clear();
    if (!isLoaded())
        return;
    const MaterialData* reference = nullptr;
    if (!m_ingestData.empty())
        reference = m_ingestData.front().get();
    else if (!m_aerosolData.empty())
        reference = m_aerosolData.front()->m_aerosolDataArr[0].get();
    else if (!m_gasData.empty())
        reference = m_gasData.front().get();
    if (!reference)
        return;
    for (const BioassayFunctions& a : reference->m_activity)
        list << doseDataFileName(a.m_nuclideId);
}

bool BioassayData::bioassayFunctionsOf(IntakeRoute path, int compoundIndex, int amadIndex,
                                       MaterialBioassay& activity) const
{
    if (path != IntakeRoute::Inhalation)
        amadIndex = 0;
    const MaterialData* m = selectCompound(path, compoundIndex, amadIndex);
    if (!m || m->m_activity.empty() || !(m->m_activity.front().m_nuclideId == m_nuclideId))
        return false;
    // Emptied in place: a caller that asks again with the same one copies into the storage the
    // series already have.
    for (CompartmentContent& series : activity.m_activityData)
        series.clear();
    activity.m_organPresentSet = m->m_activity.front().m_organPresentSet;
    for (int organ = 0; organ < CompartmentCount; ++organ)
        activity.m_measuredNuclides[static_cast<std::size_t>(organ)]
            = measuredNuclide(m_nuclideId, static_cast<Compartment>(organ));
    std::size_t current = 0;
    for (int organ = 0; organ < CompartmentCount; ++organ) {
        const auto o = static_cast<Compartment>(organ);
        if (!activity.m_organPresentSet.contains(o))
            continue;
        const StoredNuclideId& wanted = activity.m_measuredNuclides[static_cast<std::size_t>(organ)];
        if (!(m->m_activity[current].m_nuclideId == wanted)) {
            const int found = m->positionOf(wanted);
            if (found < 0)
                return false;
            current = static_cast<std::size_t>(found);
        }
        activity.m_activityData[static_cast<std::size_t>(organ)]
            = m->m_activity[current].m_activityData[static_cast<std::size_t>(organ)];
    }
    return true;
}

int BioassayData::maxActivityCount(const MaterialBioassay& activity)
{
    std::size_t most = 0;
    for (int organ = 0; organ < CompartmentCount; ++organ)
        if (activity.m_organPresentSet.contains(static_cast<Compartment>(organ)))
            most = std::max(most, activity.m_activityData[static_cast<std::size_t>(organ)].size());
    return static_cast<int>(most);
}

} // namespace kav
