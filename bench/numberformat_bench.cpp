// Every table cell goes through the picture printer: a full Materials table is some 10,000
// cells. QString::number stands beside it as the baseline of the same run.
#include "base/numberformat.h"
#include "units/units.h"

#include <QLocale>
#include <benchmark/benchmark.h>

namespace {

void BM_QStringNumberBaseline(benchmark::State& state)
{
    double x = 1.234e-9;
    for (auto _ : state) {
        benchmark::DoNotOptimize(QString::number(x, 'E', 1));
        x *= 1.0001;
    }
}
BENCHMARK(BM_QStringNumberBaseline);

void BM_FormatScientific2(benchmark::State& state)
{
    QLocale::setDefault(QLocale::c());
    double x = 1.234e-9;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kav::formatScientific(x, 2));
        x *= 1.0001;
    }
}
BENCHMARK(BM_FormatScientific2);

void BM_FormatSignificant3(benchmark::State& state)
{
    QLocale::setDefault(QLocale::c());
    double x = 1.234e-3;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kav::formatSignificant(x, 3));
        x = x > 1e4 ? 1.234e-3 : x * 1.01;
    }
}
BENCHMARK(BM_FormatSignificant3);

} // namespace
