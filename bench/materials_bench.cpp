// Refilling the Materials table for the largest full-size data file with every material, every
// particle size and the organ doses shown. Baseline of the same run: formatting as many numbers
// alone.
#include "app/materialsview.h"
#include "base/messageboxes.h"
#include "controls/datagrid.h"
#include "data/applicationcontext.h"
#include "data/dosedata.h"
#include "data/dosedatafile.h"
#include "nuclides/nuclideindex.h"
#include "qvdgen/samplegenerator.h"
#include "units/units.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Loaded {
    QTemporaryDir dir;
    kav::StderrMessageBoxes messages;
    kav::ApplicationContext context{dir.filePath(QStringLiteral("viewer")), messages};
    kav::DoseData data;
    std::unique_ptr<kav::MaterialsView> view;
    kav::DataGrid* table = nullptr; // the view's table, found by its name
    Loaded()
    {
        kav::NuclideIndex& index = context.index();
        if (index.loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        kav::DoseData generated;
        kav::generateSampleData(index, *index.findNuclide(u"Th-228"), kav::SampleSize::FullSize, generated);
        QFile out(dir.filePath(QStringLiteral("Th-228.qvd")));
        if (!out.open(QIODevice::WriteOnly))
            std::abort();
        out.write(kav::doseDataFileBytes(generated, kav::SyntheticSampleMarker));
        out.close();
        context.settings().setDataFolderPath(dir.path());
        if (context.settings().dataFolder().load(generated.nuclideId(), data))
            std::abort();
        view = std::make_unique<kav::MaterialsView>(context);
        view->setMaterialsData(&data);
        view->resize(1008, 600);
        view->fillMaterialLists();
        for (QCheckBox* b : view->findChildren<QCheckBox*>(QStringLiteral("sizeBox")))
            b->setChecked(true);
        view->findChild<QCheckBox*>(QStringLiteral("injectionBox"))->setChecked(true);
        view->findChild<QAction*>(QStringLiteral("equivalentDosesAction"))->setChecked(true);
        table = dynamic_cast<kav::DataGrid*>(view->findChild<QWidget*>(QStringLiteral("materialsTable")));
        if (!table)
            std::abort();
    }
};

// Made on first use and released with the application, before the widgets' toolkit goes.
Loaded& loaded()
{
    static Loaded* l = [] {
        auto* made = new Loaded;
        qAddPostRoutine([] { delete l; });
        return made;
    }();
    return *l;
}

void BM_FormatAsManyNumbersBaseline(benchmark::State& state)
{
    loaded().view->fillMaterialsGrid();
    const int cells = loaded().table->rowCount() * 30;
    for (auto _ : state)
        for (int i = 0; i < cells; ++i)
            benchmark::DoNotOptimize(kav::formatScientific(1.234e-9 * i, 2));
    state.counters["cells"] = cells;
}
BENCHMARK(BM_FormatAsManyNumbersBaseline)->Unit(benchmark::kMicrosecond);

void BM_RefillMaterialsTable(benchmark::State& state)
{
    kav::MaterialsView& view = *loaded().view;
    kav::DataGrid& table = *loaded().table;
    for (auto _ : state) {
        table.setRowCount(3); // every cell written anew
        view.fillMaterialsGrid();
    }
    state.counters["rows"] = table.rowCount();
}
BENCHMARK(BM_RefillMaterialsTable)->Unit(benchmark::kMicrosecond);

void BM_RefillAndPaintMaterialsTable(benchmark::State& state)
{
    kav::MaterialsView& view = *loaded().view;
    kav::DataGrid& table = *loaded().table;
    QImage image(table.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        table.setRowCount(3);
        view.fillMaterialsGrid();
        table.render(&image);
    }
}
BENCHMARK(BM_RefillAndPaintMaterialsTable)->Unit(benchmark::kMicrosecond);

} // namespace
