// Recomputing the bioassay table for the largest full-size data file, for each displayed-data
// choice: the numbers alone, and with the grid refilled; refilling the chart's series and drawing
// it; the chart as an enhanced metafile. Baseline of the same run: formatting as many numbers
// alone, the cells' and the times'. The intake assessment's fit of 1,000 measurements, a fifth
// below their limits, set against the table's own computation of the same run; the assessment
// page's refresh after one edit of a table of 50 measurements, set against the bioassay page's
// refresh on a choice of displayed data.
#include "app/bioassaychart.h"
#include "app/bioassayview.h"
#include "app/intakeassessmentview.h"
#include "base/messageboxes.h"
#include "controls/chart.h"
#include "controls/chartpicture.h"
#include "controls/datagrid.h"
#include "data/applicationcontext.h"
#include "data/bioassaydata.h"
#include "data/bioassaytable.h"
#include "data/dosedatafile.h"
#include "data/intakeassessment.h"
#include "nuclides/nuclideindex.h"
#include "qvdgen/samplegenerator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <random>

#include <benchmark/benchmark.h>

namespace {

struct Bioassay {
    QTemporaryDir dir;
    kav::StderrMessageBoxes messages;
    kav::ApplicationContext context{dir.filePath(QStringLiteral("viewer")), messages};
    kav::BioassayData data;
    std::unique_ptr<kav::BioassayView> view;
    // The view's parts the benchmarks work, found by their names.
    kav::DataGrid* table = nullptr;
    QButtonGroup* displayedData = nullptr;
    kav::BioassayChart* chart = nullptr;

    Bioassay()
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
        view = std::make_unique<kav::BioassayView>(context);
        view->setBioassayData(&data);
        view->resize(1000, 650);
        view->show(); // laid out as on the screen
        view->showData();
        table = dynamic_cast<kav::DataGrid*>(view->findChild<QWidget*>(QStringLiteral("bioassayTable")));
        displayedData = view->findChild<QButtonGroup*>(QStringLiteral("displayedData"));
        chart = dynamic_cast<kav::BioassayChart*>(view->findChild<QWidget*>(QStringLiteral("bioassayChart")));
        if (!view->table().hasData || !table || !displayedData || !chart)
            std::abort();
    }
};

// Made on first use and released with the application, before the widgets' toolkit goes.
Bioassay& bioassay()
{
    static Bioassay* b = [] {
        auto* made = new Bioassay;
        qAddPostRoutine([] { delete b; });
        return made;
    }();
    return *b;
}

int cellCount()
{
    int cells = 0;
    for (const kav::BioassayColumn& c : bioassay().view->table().columns)
        cells += static_cast<int>(c.cells.size());
    return cells;
}

void BM_FormatAsManyNumbersBaseline(benchmark::State& state)
{
    // Every number the table shows: a cell's two digits, and the time of each row in the table's
    // unit.
    const int cells = cellCount();
    const kav::BioassayTable& table = bioassay().view->table();
    const kav::TimeUnit timeUnit = bioassay().view->currentRequest().units.time;
    const auto rows = static_cast<int>(table.times.size());
    for (auto _ : state) {
        for (int i = 0; i < cells; ++i)
            benchmark::DoNotOptimize(kav::formatScientific(1.234e-9 * i, 2));
        for (int i = 0; i < rows; ++i)
            benchmark::DoNotOptimize(kav::bioassayTimeText(0.0417 * (i + 1), timeUnit));
    }
    state.counters["cells"] = cells;
    state.counters["rows"] = rows;
}
BENCHMARK(BM_FormatAsManyNumbersBaseline)->Unit(benchmark::kMicrosecond);

void BM_ComputeTable(benchmark::State& state)
{
    Bioassay& b = bioassay();
    kav::BioassayRequest request = b.view->currentRequest();
    request.view = static_cast<kav::BioassayQuantity>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(kav::computeBioassayTable(b.data, request));
}
BENCHMARK(BM_ComputeTable)->DenseRange(0, kav::BioassayQuantityCount - 1)->Unit(benchmark::kMicrosecond);

// Measurements scattered about an intake of 1000 Bq at times over the first thousand days, every
// fifth below its limit.
std::vector<kav::Measurement> scatteredMeasurements(const kav::MaterialBioassay& functions, std::size_t count)
{
    std::vector<kav::Compartment> present;
    for (int c = 0; c < kav::CompartmentCount; ++c)
        if (functions.m_organPresentSet.contains(static_cast<kav::Compartment>(c)))
            present.push_back(static_cast<kav::Compartment>(c));
    std::mt19937 random(17);
    std::uniform_real_distribution<double> days(0.5, 1000);
    std::normal_distribution<double> scatter(0, 1);
    std::vector<kav::Measurement> measurements;
    while (measurements.size() < count) {
        kav::Measurement m;
        m.compartment = present[measurements.size() % present.size()];
        m.days = days(random);
        m.scatteringFactor = kav::defaultScatteringFactor(m.compartment);
        const kav::ContentAtTime content
            = kav::contentPerIntakeAt(functions.m_activityData[kav::ordinal(m.compartment)], m.days);
        if (!content.refusal.isEmpty())
            continue;
        m.value = 1000 * content.perIntake * std::exp(std::log(m.scatteringFactor) * scatter(random));
        m.belowLimit = measurements.size() % 5 == 0;
        measurements.push_back(m);
    }
    return measurements;
}

kav::MaterialBioassay shownFunctions()
{
    Bioassay& b = bioassay();
    const kav::BioassayRequest request = b.view->currentRequest();
    kav::MaterialBioassay functions;
    if (!b.data.bioassayFunctionsOf(request.path, request.material, request.amadIndex, functions))
        std::abort();
    return functions;
}

void BM_FitThousandMeasurements(benchmark::State& state)
{
    const kav::MaterialBioassay functions = shownFunctions();
    const std::vector<kav::Measurement> measurements = scatteredMeasurements(functions, 1000);
    for (auto _ : state)
        benchmark::DoNotOptimize(kav::assessIntake(functions, 1e-8, measurements));
    state.counters["measurements"] = static_cast<double>(measurements.size());
}
BENCHMARK(BM_FitThousandMeasurements)->Unit(benchmark::kMicrosecond);

void BM_AssessmentRefreshAfterOneEdit(benchmark::State& state)
{
    Bioassay& b = bioassay();
    kav::IntakeAssessmentView page(b.context);
    page.setBioassayData(&b.data);
    page.resize(1000, 650);
    page.show();
    page.showData();
    std::vector<kav::DatedMeasurement> rows;
    for (const kav::Measurement& m : scatteredMeasurements(shownFunctions(), 50))
        rows.push_back({m, {}});
    page.setMeasurements({}, rows);
    auto* table = dynamic_cast<kav::DataGrid*>(page.findChild<QWidget*>(QStringLiteral("measurementsTable")));
    if (!table || !page.assessment().hasResult())
        std::abort();
    // A value typed in the table's middle row, as its editor reports it: the assessment, every
    // row's prediction, the results and the chart anew.
    constexpr int kValueColumn = 3;
    bool larger = false;
    for (auto _ : state) {
        larger = !larger;
        table->onSetEditText(table, kValueColumn, 25, larger ? QStringLiteral("123") : QStringLiteral("12"));
    }
    state.counters["rows"] = static_cast<double>(page.measurements().size());
}
BENCHMARK(BM_AssessmentRefreshAfterOneEdit)->Unit(benchmark::kMicrosecond);

void BM_ChooseDisplayedDataAndRefill(benchmark::State& state)
{
    Bioassay& b = bioassay();
    int choice = 1;
    for (auto _ : state) {
        // Every choice in turn, as clicks on the three buttons make them; every cell written anew.
        b.table->setRowCount(2);
        b.displayedData->button(choice)->setChecked(true);
        choice = (choice + 1) % kav::BioassayQuantityCount;
    }
    state.counters["rows"] = b.table->rowCount() - 1;
}
BENCHMARK(BM_ChooseDisplayedDataAndRefill)->Unit(benchmark::kMicrosecond);

void BM_RefillSeriesAndRedraw(benchmark::State& state)
{
    Bioassay& b = bioassay();
    kav::BioassayChart& chart = *b.chart;
    QImage image(chart.chartControl().size(), QImage::Format_RGB32);
    for (auto _ : state) {
        chart.showTable(b.view->table(), QStringLiteral("Committed Effective Dose per Predicted Content, Sv/Bq"));
        QPainter painter(&image);
        chart.chartControl().paint(painter, image.rect());
    }
    int points = 0;
    for (int s = 0; s < chart.chartControl().seriesCount(); ++s)
        points += static_cast<int>(chart.chartControl().seriesAt(s).points.size());
    state.counters["points"] = points;
}
BENCHMARK(BM_RefillSeriesAndRedraw)->Unit(benchmark::kMicrosecond);

void BM_ChartAsEnhancedMetafile(benchmark::State& state)
{
    Bioassay& b = bioassay();
    for (auto _ : state)
        benchmark::DoNotOptimize(kav::chartPictureBytes(b.chart->chartControl(), kav::ChartPictureFormat::Emf));
}
BENCHMARK(BM_ChartAsEnhancedMetafile)->Unit(benchmark::kMillisecond);

} // namespace
