// The radionuclide index at start-up and in use. Baseline of the same run: copying the index
// bytes, which any load has to read.
#include "nuclides/nuclideindex.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace {

QByteArray indexBytes()
{
    QFile file(QStringLiteral(KAV_INDEX_FILE));
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

void BM_CopyIndexBytesBaseline(benchmark::State& state)
{
    const QByteArray bytes = indexBytes();
    for (auto _ : state) {
        QByteArray copy(bytes.constData(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_CopyIndexBytesBaseline)->Unit(benchmark::kMicrosecond);

void BM_LoadIndexWithDerivedLists(benchmark::State& state)
{
    const QByteArray bytes = indexBytes();
    kav::NuclideIndex index;
    for (auto _ : state)
        index.loadFromBytes(bytes);
    state.counters["nodes"] = index.count();
}
BENCHMARK(BM_LoadIndexWithDerivedLists)->Unit(benchmark::kMicrosecond);

void BM_LoadIndexCheckedWhole(benchmark::State& state)
{
    const QByteArray bytes = indexBytes();
    kav::NuclideIndex index;
    for (auto _ : state)
        benchmark::DoNotOptimize(index.loadValidated(bytes));
    state.counters["nodes"] = index.count();
}
BENCHMARK(BM_LoadIndexCheckedWhole)->Unit(benchmark::kMicrosecond);

void BM_FindNuclideByName(benchmark::State& state)
{
    kav::NuclideIndex index;
    index.loadFromBytes(indexBytes());
    const QString names[] = {QStringLiteral("Co-60"), QStringLiteral("Tc-99m"), QStringLiteral("U-238"),
                             QStringLiteral("Cs-137"), QStringLiteral("Zr-97")};
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(index.findNuclide(names[i++ % 5]));
}
BENCHMARK(BM_FindNuclideByName);

void BM_DaughtersListOfEveryNuclide(benchmark::State& state)
{
    kav::NuclideIndex index;
    index.loadFromBytes(indexBytes());
    kav::NuclideList list;
    for (auto _ : state)
        for (int i = 0; i < index.count(); ++i)
            index.items(i)->getDaughtersList(list);
}
BENCHMARK(BM_DaughtersListOfEveryNuclide)->Unit(benchmark::kMicrosecond);

} // namespace
