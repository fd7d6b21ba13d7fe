// The decay calculation on the shipped index: the uranium series at 1,000 times from a second to
// 1E9 years in one call (as the chart asks), and a source of every radioactive nuclide of the
// index at one time (the chains made and the activities worked out). Baseline of the same run:
// loading the index.
#include "nuclides/decaycalculation.h"
#include "nuclides/nuclideindex.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

namespace {

const kav::NuclideIndex& shippedIndex()
{
    static const kav::NuclideIndex* index = [] {
        auto* made = new kav::NuclideIndex;
        if (made->loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        return made;
    }();
    return *index;
}

void BM_LoadTheIndexBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        kav::NuclideIndex index;
        if (index.loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        benchmark::DoNotOptimize(index.count());
    }
}
BENCHMARK(BM_LoadTheIndexBaseline)->Unit(benchmark::kMillisecond);

void BM_UraniumSeriesAtAThousandTimes(benchmark::State& state)
{
    const kav::DecayCalculation decay({{shippedIndex().findNuclide(u"U-238"), 1.0}});
    std::vector<double> times;
    for (int i = 0; i < 1000; ++i)
        times.push_back(std::pow(10.0, -5 + 16.6 * i / 999)); // 1 second to 1E9 years, in days
    for (auto _ : state)
        benchmark::DoNotOptimize(decay.activitiesAt(times));
    state.counters["members"] = static_cast<double>(decay.members().size());
}
BENCHMARK(BM_UraniumSeriesAtAThousandTimes)->Unit(benchmark::kMillisecond);

void BM_EveryNuclideAtOneTime(benchmark::State& state)
{
    const kav::NuclideIndex& index = shippedIndex();
    std::vector<kav::DecaySource> all;
    for (int i = 0; i < index.count(); ++i)
        if (kav::decayConstantPerDay(*index.items(i)) > 0)
            all.push_back({index.items(i), 1.0});
    for (auto _ : state) {
        const kav::DecayCalculation decay(all);
        benchmark::DoNotOptimize(decay.activitiesAt(365.25));
    }
    state.counters["sources"] = static_cast<double>(all.size());
}
BENCHMARK(BM_EveryNuclideAtOneTime)->Unit(benchmark::kMillisecond);

} // namespace
