// The spectra the program carries: the summary of every nuclide, and the spectrum filter run
// again after one bound changed. Baseline of the same run: reading the embedded lines file,
// which the summary has to read.
#include "chooser/advancedfilter.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

void loadEmbedded(kav::NuclideIndex& index)
{
    if (index.loadIndexFrom(QString(), true).status != kav::IndexLoadResult::Loaded)
        std::abort();
}

void BM_ReadSpectraResourceBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        QFile file(QStringLiteral(":/Spectra"));
        if (!file.open(QIODevice::ReadOnly))
            std::abort();
        const QByteArray bytes = file.readAll();
        benchmark::DoNotOptimize(bytes.constData());
    }
}
BENCHMARK(BM_ReadSpectraResourceBaseline)->Unit(benchmark::kMillisecond);

void BM_BuildSpectrumSummary(benchmark::State& state)
{
    kav::NuclideIndex index;
    loadEmbedded(index);
    std::size_t nuclides = 0;
    for (auto _ : state) {
        kav::SpectraFiles spectra(index); // a summary is made once per spectra object
        nuclides = spectra.summary().nuclides.size();
    }
    state.counters["nuclides"] = static_cast<double>(nuclides);
}
BENCHMARK(BM_BuildSpectrumSummary)->Unit(benchmark::kMillisecond);

// One bound of a criterion moved back and forth; the filter recomputes its list each time.
void reapply(benchmark::State& state, kav::SpectrumCriterion option, float a, float b, float max)
{
    kav::NuclideIndex index;
    loadEmbedded(index);
    kav::SpectraFiles spectra(index);
    kav::SpectrumFilter filter(spectra);
    filter.setOptions({option});
    filter.setMax(option, max);
    filter.setMin(option, a);
    filter.setEnabled(true);
    bool flip = false;
    for (auto _ : state) {
        filter.setMin(option, (flip = !flip) ? b : a);
        benchmark::DoNotOptimize(filter.nuclides().count());
    }
    state.counters["passing"] = filter.nuclides().count();
}

void BM_ReapplySummaryCriterion(benchmark::State& state)
{
    reapply(state, kav::SpectrumCriterion::GammaShare, 0.5f, 0.6f, 1);
}
BENCHMARK(BM_ReapplySummaryCriterion)->Unit(benchmark::kMillisecond);

void BM_ReapplyLineCriterion(benchmark::State& state)
{
    reapply(state, kav::SpectrumCriterion::GammaLineEnergy, 0.6f, 0.65f, 0.7f);
}
BENCHMARK(BM_ReapplyLineCriterion)->Unit(benchmark::kMillisecond);

} // namespace
