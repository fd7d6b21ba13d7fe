// Reading one full-size dose data file. Baseline of the same run: reading the file's bytes
// and computing their Adler-32, which every load has to do anyway.
#include "data/dosedata.h"
#include "data/dosedatafile.h"
#include "data/programsettings.h"
#include "nuclides/nuclideindex.h"
#include "qvdgen/samplegenerator.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A full-size file of a nuclide with a long chain, written once for all benchmarks.
struct FullSizeFile {
    QTemporaryDir dir;
    kav::ProgramSettings preference{dir.filePath(QStringLiteral("viewer"))};
    QString path;
    kav::StoredNuclideId nuclide;
    qint64 size = 0;

    FullSizeFile()
    {
        kav::NuclideIndex index;
        if (index.loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        kav::DoseData data;
        kav::generateSampleData(index, *index.findNuclide(u"U-238"), kav::SampleSize::FullSize, data);
        nuclide = data.nuclideId();
        path = dir.filePath(QStringLiteral("U-238.qvd"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            std::abort();
        size = out.write(kav::doseDataFileBytes(data, kav::SyntheticSampleMarker));
        preference.setDataFolderPath(dir.path());
    }
};

FullSizeFile& file()
{
    static FullSizeFile f;
    return f;
}

void BM_ReadBytesAndAdler32Baseline(benchmark::State& state)
{
    for (auto _ : state) {
        QFile f(file().path);
        if (!f.open(QIODevice::ReadOnly))
            std::abort();
        const QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(kav::doseDataChecksum(bytes));
    }
    state.SetBytesProcessed(state.iterations() * file().size);
}
BENCHMARK(BM_ReadBytesAndAdler32Baseline)->Unit(benchmark::kMicrosecond);

void BM_LoadFullSizeFile(benchmark::State& state)
{
    for (auto _ : state) {
        kav::DoseData data;
        if (file().preference.dataFolder().load(file().nuclide, data))
            std::abort();
        benchmark::DoNotOptimize(data.inhalationDataCount());
    }
    state.SetBytesProcessed(state.iterations() * file().size);
    state.counters["file_bytes"] = static_cast<double>(file().size);
}
BENCHMARK(BM_LoadFullSizeFile)->Unit(benchmark::kMicrosecond);

} // namespace
