// Switching the radon view's table with the organ doses shown: the file read again and the grid
// refilled. Baseline of the same run: reading the table's block from the file's text alone.
#include "app/radontables.h"
#include "app/radonview.h"
#include "base/messageboxes.h"
#include "data/radonfile.h"
#include "qvdgen/samplegenerator.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Radon {
    QTemporaryDir dir;
    kav::StderrMessageBoxes messages;
    kav::RadonView view{messages};
    QByteArray text = kav::generateRadonData();

    Radon()
    {
        QFile file(dir.filePath(kav::RadonDataFileName));
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            std::abort();
        file.close();
        view.setDataFolder(dir.path());
        view.resize(1000, 600);
        view.show();
        view.findChild<QAction*>(QStringLiteral("equivalentDosesAction"))->setChecked(true);
        if (!view.radonData() || !view.radonData()->dataLoaded())
            std::abort();
    }
};

// Made on first use and released with the application, before the widgets' toolkit goes.
Radon& radon()
{
    static Radon* r = [] {
        auto* made = new Radon;
        qAddPostRoutine([] { delete r; });
        return made;
    }();
    return *r;
}

void BM_ReadBlockBaseline(benchmark::State& state)
{
    const QByteArray& text = radon().text;
    int type = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(kav::readRadonBlock(text, static_cast<kav::RadonTable>(type)));
        type = (type + 1) % kav::RadonDataTypeCount;
    }
}
BENCHMARK(BM_ReadBlockBaseline)->Unit(benchmark::kMicrosecond);

void BM_SwitchTableWithOrganDoses(benchmark::State& state)
{
    Radon& r = radon();
    QButtonGroup* displayedData = r.view.findChild<QButtonGroup*>(QStringLiteral("displayedData"));
    int type = 1;
    for (auto _ : state) {
        displayedData->button(type)->setChecked(true);
        type = (type + 1) % kav::RadonDataTypeCount;
    }
}
BENCHMARK(BM_SwitchTableWithOrganDoses)->Unit(benchmark::kMicrosecond);

} // namespace
