// Exporting every dose coefficient of 100 nuclides of the full-size set (the first 100 of the
// index with a half-life of at least 10 minutes, about 1 MB each), one file per element.
// Baseline of the same run: reading the same files alone.
#include "data/applicationcontext.h"
#include "data/dosedata.h"
#include "data/doseexport.h"
#include "data/programsettings.h"
#include "nuclides/nuclideindex.h"
#include "qvdgen/samplegenerator.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

struct FullSizeSet {
    QTemporaryDir dir;
    QTemporaryDir out;
    kav::NuclideIndex index;
    kav::ProgramSettings preference{dir.filePath(QStringLiteral("viewer"))};
    kav::NuclideList nuclides;

    FullSizeSet()
    {
        if (index.loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        std::vector<const kav::Nuclide*> chosen;
        const float tenMinutesLr = static_cast<float>(std::log(2.0) / (10.0 / 1440.0));
        for (int i = 0; i < index.count() && chosen.size() < 100; ++i)
            if (index.items(i)->decayConstant <= tenMinutesLr)
                chosen.push_back(index.items(i));
        if (!kav::writeSampleFolder(dir.path(), index, chosen, kav::SampleSize::FullSize).error.isEmpty())
            std::abort();
        preference.setDataFolderPath(dir.path());
        preference.dataFolder().listNuclides(index, nuclides);
    }
};

FullSizeSet& set()
{
    static FullSizeSet s;
    return s;
}

void BM_ReadTheFilesBaseline(benchmark::State& state)
{
    FullSizeSet& s = set();
    for (auto _ : state)
        for (const auto& entry : s.nuclides.items()) {
            kav::DoseData data;
            if (s.preference.dataFolder().load(*entry.node, data))
                std::abort();
            benchmark::DoNotOptimize(data.isLoaded());
        }
    state.counters["nuclides"] = s.nuclides.count();
}
BENCHMARK(BM_ReadTheFilesBaseline)->Unit(benchmark::kMillisecond);

void BM_ExportTheFiles(benchmark::State& state)
{
    FullSizeSet& s = set();
    const QStringList elements = kav::dataElementsOf(s.nuclides);
    for (auto _ : state) {
        const kav::DoseExportResult r = kav::exportDoses(s.preference.dataFolder(), s.nuclides, elements, s.out.path());
        if (!r.error.isEmpty())
            std::abort();
    }
    state.counters["files"] = static_cast<double>(elements.size());
}
BENCHMARK(BM_ExportTheFiles)->Unit(benchmark::kMillisecond);

} // namespace
