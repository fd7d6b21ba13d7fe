// The Radionuclides table with 100 nuclides of the full-size set (the first 100 of the index
// with a half-life of at least 10 minutes, about 1 MB each). Measured: adding them all through
// the dialog's OK, against reading the same files alone; and refilling the table after a change
// of the dose unit, against formatting as many numbers alone. And starting the viewer on a kept
// list of 20,000 rows of the sample nuclides, against starting it on a list of one row, with the
// memory the rows take. And typing one intake in a list of 1,000 rows with intakes (the doses,
// shares and total anew), against refilling the same list without intakes.
#include "app/mainwindow.h"
#include "app/mixtureview.h"
#include "base/messageboxes.h"
#include "base/savefile.h"
#include "chooser/ui/addnuclidesdialog.h"
#include "chooser/ui/nuclidechooser.h"
#include "controls/datagrid.h"
#include "data/applicationcontext.h"
#include "data/dosedata.h"
#include "data/mixture.h"
#include "data/mixturedoses.h"
#include "data/mixturefile.h"
#include "nuclides/nuclideindex.h"
#include "qvdgen/samplegenerator.h"
#include "units/units.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr int kNuclides = 100;

struct Fixture {
    QTemporaryDir dir;
    kav::StderrMessageBoxes messages;
    kav::ApplicationContext context{dir.filePath(QStringLiteral("viewer")), messages};
    std::vector<const kav::Nuclide*> nuclides;
    std::unique_ptr<kav::NuclideChooser> source;
    std::unique_ptr<kav::DoseDataCache> cache;
    std::unique_ptr<kav::Mixture> list;
    std::unique_ptr<kav::MixtureView> view;
    // The view's buttons the benchmarks press, found by their names.
    QToolButton* addButton = nullptr;
    QToolButton* clearButton = nullptr;

    Fixture()
    {
        kav::NuclideIndex& index = context.index();
        if (index.loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        const float tenMinutesLr = static_cast<float>(std::log(2.0) / (10.0 / 1440.0));
        for (int i = 0; i < index.count() && static_cast<int>(nuclides.size()) < kNuclides; ++i)
            if (index.items(i)->decayConstant <= tenMinutesLr)
                nuclides.push_back(index.items(i));
        const kav::SampleFolderResult written
            = kav::writeSampleFolder(dir.path(), index, nuclides, kav::SampleSize::FullSize);
        if (!written.error.isEmpty() || written.written < kNuclides) {
            std::fprintf(stderr, "writing the data files: %s (%d written)\n", qUtf8Printable(written.error),
                         written.written);
            std::abort();
        }
        context.settings().setDataFolderPath(dir.path());
        context.fillDataLists();

        source = std::make_unique<kav::NuclideChooser>(index, context.spectra(), messages);
        source->selection().filter().setUseNuclideFilter(true);
        source->selection().filter().setNuclideList(context.dataNuclideList());
        cache = std::make_unique<kav::DoseDataCache>(context.settings());
        list = std::make_unique<kav::Mixture>(index, context.dataNuclideList(), *cache);
        QString error;
        // The first nuclide on offer.
        if (!list->restore({{context.dataNuclideList().strings(0), kav::IntakeRoute::Ingestion, 0, -1, {}}}, error))
            std::abort();
        view = std::make_unique<kav::MixtureView>(context);
        view->setMixture(list.get());
        view->setAddSource(source.get());
        view->fillMixtureGrid();
        view->resize(1000, 600);
        view->show();
        // The dialog's "<<" then OK, as a user adds everything on offer.
        view->execModal = [](QDialog& dialog) {
            auto& add = static_cast<kav::AddNuclidesDialog&>(dialog);
            add.findChild<QPushButton*>(QStringLiteral("addAllButton"))->click();
            add.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
            return add.result();
        };
        addButton = view->findChild<QToolButton*>(QStringLiteral("addButton"));
        clearButton = view->findChild<QToolButton*>(QStringLiteral("clearButton"));
        if (!addButton || !clearButton)
            std::abort();
    }
};

// Made on first use and released with the application, before the widgets' toolkit goes.
Fixture& mixture()
{
    static Fixture* m = [] {
        auto* made = new Fixture;
        qAddPostRoutine([] { delete m; });
        return made;
    }();
    return *m;
}

void BM_ReadTheHundredFilesBaseline(benchmark::State& state)
{
    Fixture& m = mixture();
    for (auto _ : state)
        for (const kav::Nuclide* node : m.nuclides) {
            kav::DoseData data;
            if (m.context.settings().dataFolder().load(*node, data))
                std::abort();
            benchmark::DoNotOptimize(data.isLoaded());
        }
}
BENCHMARK(BM_ReadTheHundredFilesBaseline)->Unit(benchmark::kMillisecond);

void BM_AddTheHundredThroughTheDialog(benchmark::State& state)
{
    Fixture& m = mixture();
    for (auto _ : state) {
        m.addButton->click();
        state.PauseTiming();
        if (m.list->count() != kNuclides + 1)
            std::abort();
        m.clearButton->click();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddTheHundredThroughTheDialog)->Unit(benchmark::kMillisecond);

void BM_FormatAsManyNumbersBaseline(benchmark::State& state)
{
    for (auto _ : state)
        for (int i = 0; i <= kNuclides; ++i)
            benchmark::DoNotOptimize(kav::formatScientific(1.234e-9 * i, 2));
}
BENCHMARK(BM_FormatAsManyNumbersBaseline)->Unit(benchmark::kMicrosecond);

void BM_RefillOnADoseUnitChange(benchmark::State& state)
{
    Fixture& m = mixture();
    if (m.list->count() == 1)
        m.addButton->click();
    kav::ProgramSettings& preference = m.context.settings();
    bool milli = false;
    for (auto _ : state) {
        milli = !milli;
        preference.setMixtureDoseUnit(milli ? kav::DoseUnit::mSv : kav::DoseUnit::Sv); // the view hears and refills
    }
    state.counters["rows"] = m.list->count();
}
BENCHMARK(BM_RefillOnADoseUnitChange)->Unit(benchmark::kMicrosecond);

// A viewer's folder with the sample data and a kept list of the given number of rows, going
// round the sample nuclides, the routes, the first two materials and the sizes.
struct KeptListViewer {
    QTemporaryDir dir;
    kav::StderrMessageBoxes messages;

    explicit KeptListViewer(int rows)
    {
        kav::NuclideIndex index;
        if (index.loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        std::vector<const kav::Nuclide*> nuclides;
        for (const QString& name : kav::sampleNuclides())
            nuclides.push_back(index.findNuclide(name));
        const QString data = dir.filePath(QStringLiteral("QVData"));
        if (!kav::writeSampleFolder(data, index, nuclides, kav::SampleSize::Sample).error.isEmpty())
            std::abort();
        std::vector<kav::KeptMixtureRow> kept;
        for (int i = 0; i < rows; ++i)
            kept.push_back({nuclides[static_cast<std::size_t>(i) % nuclides.size()]->nameText(),
                            static_cast<kav::IntakeRoute>(i % 3),
                            (i / 3) % 2,
                            i % kav::AMADCount,
                            {}});
        kav::ApplicationContext context(executable(), messages);
        if (!kav::saveFileAtomically(dir.filePath(QStringLiteral("kav-data-viewer.ini")),
                                     "[General]\nInitialized=1\n[Directories]\nQVD=" + data.toUtf8() + "\n")
            || !kav::saveFileAtomically(context.settings().mixtureFileName(), kav::mixtureFileBytes(kept)))
            std::abort();
    }
    QString executable() const { return dir.filePath(QStringLiteral("kav-data-viewer")); }
};

// The main window made on a kept list, as at start-up; the memory it holds then, above what the
// program held before, is the counter "heap MB".
void startWithKeptList(benchmark::State& state, int rows)
{
    KeptListViewer viewer(rows);
    double heap = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks;
        auto context = std::make_unique<kav::ApplicationContext>(viewer.executable(), viewer.messages);
        auto form = std::make_unique<kav::MainWindow>(*context);
        state.PauseTiming();
        if (form->startupFailed() || form->mixtureRows()->count() != rows)
            std::abort();
        heap = static_cast<double>(mallinfo2().uordblks - before) / 1e6;
        form.reset();
        context.reset();
        state.ResumeTiming();
    }
    state.counters["heap MB"] = heap;
}

void BM_StartWithOneKeptRowBaseline(benchmark::State& state)
{
    startWithKeptList(state, 1);
}
BENCHMARK(BM_StartWithOneKeptRowBaseline)->Unit(benchmark::kMillisecond);

void BM_StartWith20000KeptRows(benchmark::State& state)
{
    startWithKeptList(state, 20000);
}
BENCHMARK(BM_StartWith20000KeptRows)->Unit(benchmark::kMillisecond);

// A list of 1,000 rows of the sample nuclides on the page, with an intake in every row or none.
struct ThousandRows {
    KeptListViewer viewer{1};
    kav::ApplicationContext context{viewer.executable(), viewer.messages};
    kav::DoseDataCache cache{context.settings()};
    kav::Mixture list{context.index(), context.dataNuclideList(), cache};
    kav::MixtureView view{context};
    kav::DataGrid* table = nullptr;

    explicit ThousandRows(bool intakes)
    {
        if (context.index().loadFromFile(QStringLiteral(KAV_INDEX_FILE)).failed())
            std::abort();
        context.fillDataLists();
        std::vector<kav::KeptMixtureRow> kept;
        const QStringList names = kav::sampleNuclides();
        for (int i = 0; i < 1000; ++i) {
            kept.push_back({names[i % names.size()], static_cast<kav::IntakeRoute>(i % 3), 0, -1, {}});
            if (intakes)
                kept.back().intakeBq = 100.0 + i;
        }
        QString error;
        if (!list.restore(kept, error))
            std::abort();
        view.setMixture(&list);
        view.resize(1000, 600);
        view.show();
        view.fillMixtureGrid();
        table = dynamic_cast<kav::DataGrid*>(view.findChild<QWidget*>(QStringLiteral("mixtureTable")));
        if (!table || table->rowCount() != 1001 || (intakes && kav::computeMixtureDoses(list).countedRows < 900))
            std::abort();
    }
};

void BM_RefillAThousandRowsWithoutIntakesBaseline(benchmark::State& state)
{
    ThousandRows page(false);
    for (auto _ : state)
        page.view.fillMixtureGrid();
}
BENCHMARK(BM_RefillAThousandRowsWithoutIntakesBaseline)->Unit(benchmark::kMicrosecond);

void BM_TypeOneIntakeOfAThousandRows(benchmark::State& state)
{
    ThousandRows page(true);
    // The intake of the middle row as its number field reports it.
    constexpr int kIntakeColumn = 6;
    bool larger = false;
    for (auto _ : state) {
        larger = !larger;
        page.table->onSetEditText(page.table, kIntakeColumn, 500,
                                  larger ? QStringLiteral("2500") : QStringLiteral("25"));
    }
}
BENCHMARK(BM_TypeOneIntakeOfAThousandRows)->Unit(benchmark::kMicrosecond);

} // namespace
