// Reading one full-size dose data file. Baseline of the same run: reading the file's bytes
// and computing their Adler-32, which every load has to do anyway.
#include "data/datamodule.h"
#include "data/dosedata.h"
#include "nuclides/rnxindex.h"
#include "qvdgen/samplegenerator.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <zlib.h>

namespace {

// A full-size file of a nuclide with a long chain, written once for all benchmarks.
struct FullSizeFile {
    QTemporaryDir dir;
    QString path;
    kav::TRNXRec nuclide;
    qint64 size = 0;

    FullSizeFile()
    {
        QFile index(QStringLiteral(KAV_INDEX_FILE));
        if (!index.open(QIODevice::ReadOnly))
            std::abort();
        kav::RNXIndex->LoadFromBytes(index.readAll());
        const kav::TRNXnode* node = kav::RNXIndex->FindRNX(u"U-238");
        kav::TVESKRNDosesData data;
        kav::GenerateSampleData(*node, kav::SampleSize::FullSize, data);
        nuclide = data.RNuclide();
        path = dir.filePath(QStringLiteral("U-238.qvd"));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            std::abort();
        size = out.write(data.ToFileBytes(kav::SyntheticSampleMarker));
        kav::ProgramPreference = std::make_unique<kav::TQzProgramPreference>(dir.filePath(QStringLiteral("viewer")));
        kav::ProgramPreference->SetQVDDir(dir.path());
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
        benchmark::DoNotOptimize(adler32(adler32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.constData()) + 4,
                                         static_cast<uInt>(bytes.size() - 4)));
    }
    state.SetBytesProcessed(state.iterations() * file().size);
}
BENCHMARK(BM_ReadBytesAndAdler32Baseline)->Unit(benchmark::kMicrosecond);

void BM_LoadFullSizeFile(benchmark::State& state)
{
    for (auto _ : state) {
        kav::TVESKRNDosesData data;
        data.SetRNuclide(file().nuclide);
        benchmark::DoNotOptimize(data.InhalationDataCount());
    }
    state.SetBytesProcessed(state.iterations() * file().size);
    state.counters["file_bytes"] = static_cast<double>(file().size);
}
BENCHMARK(BM_LoadFullSizeFile)->Unit(benchmark::kMicrosecond);

} // namespace
